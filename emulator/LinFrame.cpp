#include "emulator/LinFrame.h"

#include <cmath>

namespace orvane::emulator {
namespace {

int Bit(std::uint8_t value, int index) { return (value >> index) & 1; }

std::uint8_t SumWithCarry(unsigned sum, std::span<const std::uint8_t> data) {
  for (std::uint8_t byte : data) {
    sum += byte;
    if (sum > 0xFF) sum -= 0xFF;
  }
  return static_cast<std::uint8_t>(~sum);
}

}  // namespace

std::uint8_t ProtectedId(std::uint8_t id) {
  id &= 0x3F;
  const int p0 = Bit(id, 0) ^ Bit(id, 1) ^ Bit(id, 2) ^ Bit(id, 4);
  const int p1 = 1 ^ Bit(id, 1) ^ Bit(id, 3) ^ Bit(id, 4) ^ Bit(id, 5);
  return static_cast<std::uint8_t>(id | p0 << 6 | p1 << 7);
}

bool HasValidParity(std::uint8_t protected_id) {
  return ProtectedId(protected_id & 0x3F) == protected_id;
}

std::uint8_t ClassicChecksum(std::span<const std::uint8_t> data) { return SumWithCarry(0, data); }

std::uint8_t EnhancedChecksum(std::uint8_t protected_id, std::span<const std::uint8_t> data) {
  return SumWithCarry(protected_id, data);
}

std::uint8_t FrameChecksum(ChecksumModel model, std::uint8_t protected_id,
                           std::span<const std::uint8_t> data) {
  const std::uint8_t id = protected_id & 0x3F;
  if (model == ChecksumModel::kClassic || id == kGoToSleepId || id == kSlaveResponseId) {
    return ClassicChecksum(data);
  }
  return EnhancedChecksum(protected_id, data);
}

std::vector<std::uint8_t> WithChecksum(ChecksumModel model, std::uint8_t protected_id,
                                       std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> bytes(data.begin(), data.end());
  bytes.push_back(FrameChecksum(model, protected_id, data));
  return bytes;
}

int DefaultDataLength(std::uint8_t id) {
  switch ((id >> 4) & 0x03) {
    case 2:
      return 4;
    case 3:
      return 8;
    default:
      return 2;
  }
}

std::int64_t BitsToMicros(double bits, std::uint32_t baud) {
  return std::llround(bits * 1e6 / baud);
}

}  // namespace orvane::emulator
