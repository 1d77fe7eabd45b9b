#include "emulator/BusEvent.h"

#include <array>

namespace orvane::emulator {
namespace {

constexpr std::array<std::uint8_t, 8> kGoToSleepData = {0x00, 0xFF, 0xFF, 0xFF,
                                                        0xFF, 0xFF, 0xFF, 0xFF};

}  // namespace

std::int64_t FrameOnBus::HeaderEnd() const {
  return start + BitsToMicros(break_bits + kBreakDelimiterBits + 2 * kByteBits, baud);
}

std::int64_t FrameOnBus::End() const {
  if (response.empty()) return HeaderEnd();
  const double bytes = static_cast<double>(response.size());
  const double bits = response_space_bits + bytes * kByteBits + (bytes - 1) * byte_space_bits;
  return HeaderEnd() + BitsToMicros(bits, baud);
}

std::int64_t EventEnd(const BusEvent& event) {
  return std::visit([](const auto& e) { return e.End(); }, event);
}

bool OccupiesBus(const BusEvent& event) { return !std::holds_alternative<IoEdge>(event); }

bool IsGoToSleep(const FrameOnBus& frame) {
  return (frame.protected_id & 0x3F) == kGoToSleepId && frame.response.size() > 1 &&
         frame.response.front() == 0x00;
}

FrameOnBus GoToSleepFrame(std::int64_t start, std::uint32_t baud) {
  FrameOnBus frame;
  frame.start = start;
  frame.baud = baud;
  frame.protected_id = ProtectedId(kGoToSleepId);
  frame.publisher = BusNode::kMaster;
  frame.response = WithChecksum(ChecksumModel::kClassic, frame.protected_id, kGoToSleepData);
  return frame;
}

}  // namespace orvane::emulator
