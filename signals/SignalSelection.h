// The application-wide signal selection: a 64-bit frame mask (bit f = frame
// f has a selected signal) followed by one 64-bit mask per frame (bit e =
// signal entry e of that frame is selected), 520 bytes in all, kept in the
// settings record. Bit b of a mask is bit b % 8 of its byte b / 8 (bits count
// from the least significant bit of the first 32-bit word, little-endian). A
// bit number of 64 or more reads as set and cannot be changed.
//
// The bytes belong to the settings record; the user-interface thread reads
// and writes them, nothing else does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace orvane::signals {

inline constexpr std::size_t kMaskBytes = 8;
inline constexpr unsigned kMaskBits = 64;
inline constexpr std::size_t kMaskedFrames = 64;
inline constexpr std::size_t kSelectionBytes = kMaskBytes * (1 + kMaskedFrames);  // 520

bool TestMaskBit(std::span<const std::uint8_t, kMaskBytes> mask, unsigned bit);
void SetMaskBit(std::span<std::uint8_t, kMaskBytes> mask, unsigned bit, bool on);

// A view of the 520 selection bytes; it does not own them.
class SignalSelection {
 public:
  explicit SignalSelection(std::span<std::uint8_t, kSelectionBytes> bytes) : bytes_(bytes) {}

  bool FrameSelected(unsigned frame) const;
  void SelectFrame(unsigned frame, bool on);
  // A frame of 64 or more has no mask: its entries read as set.
  bool EntrySelected(unsigned frame, unsigned entry) const;
  void SelectEntry(unsigned frame, unsigned entry, bool on);

 private:
  std::span<std::uint8_t, kMaskBytes> Mask(std::size_t index) const {
    return bytes_.subspan(index * kMaskBytes).first<kMaskBytes>();
  }

  std::span<std::uint8_t, kSelectionBytes> bytes_;
};

}  // namespace orvane::signals
