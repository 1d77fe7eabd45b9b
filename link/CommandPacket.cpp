#include "link/CommandPacket.h"

#include <algorithm>
#include <numeric>

#include "link/Bytes.h"

namespace orlink {
namespace {

constexpr std::uint8_t kStartOfPacket = 0x02;
constexpr std::uint8_t kEndOfPacket = 0x03;
constexpr std::uint8_t kAcknowledge = 0x55;
// Start byte, length field, command code, end byte.
constexpr std::size_t kFramingSize = 5;
constexpr std::size_t kEchoOffset = 3;

// Parameters assembled field by field, big-endian.
class Parameters {
 public:
  Parameters& Field(std::uint32_t value, std::size_t width) {
    PutBigEndian(std::span(bytes_).subspan(size_, width), value);
    size_ += width;
    return *this;
  }
  Parameters& Data(std::span<const std::uint8_t> data) {
    std::ranges::copy(data, bytes_.begin() + static_cast<std::ptrdiff_t>(size_));
    size_ += data.size();
    return *this;
  }
  std::span<const std::uint8_t> bytes() const { return std::span(bytes_).first(size_); }

 private:
  std::array<std::uint8_t, kPacketCapacity - kFramingSize> bytes_{};
  std::size_t size_ = 0;
};

}  // namespace

CommandPacket::CommandPacket(CommandCode code, std::span<const std::uint8_t> parameters)
    : size_(parameters.size() + kFramingSize) {
  const std::span packet(bytes_);
  packet[0] = kStartOfPacket;
  PutBigEndian(packet.subspan(1, 2), static_cast<std::uint32_t>(size_));
  packet[3] = static_cast<std::uint8_t>(code);
  std::ranges::copy(parameters, packet.begin() + 4);
  packet[size_ - 1] = kEndOfPacket;
}

CommandPacket BuildBareCommand(CommandCode code) { return CommandPacket(code, {}); }

std::optional<CommandPacket> BuildFrashWrite(std::uint32_t address,
                                             std::span<const std::uint8_t> data) {
  if (data.size() > kMaxFrashWriteLength) return std::nullopt;
  Parameters parameters;
  parameters.Field(address, 3)
      .Field(static_cast<std::uint32_t>(data.size()), 2)
      .Data(data)
      .Field(DataSum(data), 2);
  return CommandPacket(CommandCode::kFrashWrite, parameters.bytes());
}

std::optional<CommandPacket> BuildMemoryWrite(std::uint32_t address,
                                              std::span<const std::uint8_t> data) {
  if (data.size() > kMaxMemoryWriteLength) return std::nullopt;
  Parameters parameters;
  parameters.Field(address, 2).Field(static_cast<std::uint32_t>(data.size()), 2).Data(data);
  return CommandPacket(CommandCode::kMemoryWrite, parameters.bytes());
}

std::optional<CommandPacket> BuildMemoryRead(std::uint32_t address, std::uint32_t length) {
  if (length > kMaxMemoryReadLength) return std::nullopt;
  Parameters parameters;
  parameters.Field(address, 2).Field(length, 2);
  return CommandPacket(CommandCode::kMemoryRead, parameters.bytes());
}

std::optional<CommandPacket> BuildMemoryReadEx(std::uint32_t address, std::uint32_t length) {
  if (length > kMaxMemoryReadExLength) return std::nullopt;
  Parameters parameters;
  parameters.Field(address, 3).Field(length, 2);
  return CommandPacket(CommandCode::kMemoryReadEx, parameters.bytes());
}

CommandPacket BuildFrashErase(std::uint32_t address) {
  Parameters parameters;
  parameters.Field(address, 3);
  return CommandPacket(CommandCode::kFrashErase, parameters.bytes());
}

std::uint16_t DataSum(std::span<const std::uint8_t> data) {
  return static_cast<std::uint16_t>(std::accumulate(data.begin(), data.end(), 0u));
}

bool IsAcknowledge(std::span<const std::uint8_t> reply) {
  return !reply.empty() && reply.front() == kAcknowledge;
}

std::optional<std::span<const std::uint8_t>> MatchReadReply(const CommandPacket& request,
                                                            std::span<const std::uint8_t> reply,
                                                            std::uint32_t length) {
  const std::span<const std::uint8_t> packet = request.bytes();
  // The echo runs from the command code to the end of the length field.
  const std::span<const std::uint8_t> echo =
      packet.subspan(kEchoOffset, packet.size() - kEchoOffset - 1);
  const std::size_t data_offset = kEchoOffset + echo.size();
  if (reply.size() < data_offset + length || reply[0] != kStartOfPacket ||
      !std::ranges::equal(reply.subspan(kEchoOffset, echo.size()), echo)) {
    return std::nullopt;
  }
  return reply.subspan(data_offset, length);
}

}  // namespace orlink
