#include "signals/SignalSelection.h"

namespace orvane::signals {

bool TestMaskBit(std::span<const std::uint8_t, kMaskBytes> mask, unsigned bit) {
  if (bit >= kMaskBits) return true;
  return (mask[bit / 8] >> (bit % 8) & 1) != 0;
}

void SetMaskBit(std::span<std::uint8_t, kMaskBytes> mask, unsigned bit, bool on) {
  if (bit >= kMaskBits) return;
  const auto value = static_cast<std::uint8_t>(1u << (bit % 8));
  if (on) {
    mask[bit / 8] |= value;
  } else {
    mask[bit / 8] &= static_cast<std::uint8_t>(~value);
  }
}

bool SignalSelection::FrameSelected(unsigned frame) const { return TestMaskBit(Mask(0), frame); }

void SignalSelection::SelectFrame(unsigned frame, bool on) { SetMaskBit(Mask(0), frame, on); }

bool SignalSelection::EntrySelected(unsigned frame, unsigned entry) const {
  if (frame >= kMaskedFrames) return true;
  return TestMaskBit(Mask(1 + frame), entry);
}

void SignalSelection::SelectEntry(unsigned frame, unsigned entry, bool on) {
  if (frame >= kMaskedFrames) return;
  SetMaskBit(Mask(1 + frame), entry, on);
}

}  // namespace orvane::signals
