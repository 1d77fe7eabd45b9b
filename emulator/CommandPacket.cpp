#include "emulator/CommandPacket.h"

#include <numeric>

namespace orvane::emulator {
namespace {

constexpr std::size_t kFramingSize = 5;  // start, length (2), code, end

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes) {
  return std::accumulate(bytes.begin(), bytes.end(), std::uint32_t{0},
                         [](std::uint32_t value, std::uint8_t byte) { return value << 8 | byte; });
}

void AppendBigEndian16(std::vector<std::uint8_t>& out, std::size_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

// Address width and whether a 16-bit length N follows, per command code.
struct Layout {
  std::size_t address_bytes;
  bool has_length;
};

std::optional<Layout> LayoutOf(std::uint8_t code) {
  switch (static_cast<CommandCode>(code)) {
    case CommandCode::kTargetGo:
    case CommandCode::kMonitorStart:
    case CommandCode::kMonitorStop:
      return Layout{0, false};
    case CommandCode::kFlashWrite:
    case CommandCode::kMemoryReadEx:
      return Layout{3, true};
    case CommandCode::kMemoryWrite:
    case CommandCode::kMemoryRead:
      return Layout{2, true};
    case CommandCode::kFlashErase:
      return Layout{3, false};
  }
  return std::nullopt;
}

// Bytes between the fixed fields and the end byte: data, and the sum of a
// flash write.
std::size_t TrailingSize(CommandCode code, std::uint16_t length) {
  switch (code) {
    case CommandCode::kFlashWrite:
      return std::size_t{length} + 2;
    case CommandCode::kMemoryWrite:
      return length;
    default:
      return 0;
  }
}

}  // namespace

std::optional<Command> ParseCommandPacket(std::span<const std::uint8_t> packet) {
  if (packet.size() < kFramingSize || packet.size() > kMaxPacketSize) return std::nullopt;
  if (packet.front() != kPacketStart || packet.back() != kPacketEnd) return std::nullopt;
  if (BigEndian(packet.subspan(1, 2)) != packet.size()) return std::nullopt;
  const std::optional<Layout> layout = LayoutOf(packet[3]);
  if (!layout) return std::nullopt;

  const std::size_t fixed = 4 + layout->address_bytes + (layout->has_length ? 2 : 0);
  if (packet.size() < fixed + 1) return std::nullopt;
  Command command;
  command.code = static_cast<CommandCode>(packet[3]);
  command.address = BigEndian(packet.subspan(4, layout->address_bytes));
  if (layout->has_length) {
    command.length = static_cast<std::uint16_t>(BigEndian(packet.subspan(fixed - 2, 2)));
  }
  if (packet.size() != fixed + TrailingSize(command.code, command.length) + 1) return std::nullopt;

  command.echo = packet.subspan(3, fixed - 3);
  if (command.code == CommandCode::kMemoryWrite || command.code == CommandCode::kFlashWrite) {
    command.data = packet.subspan(fixed, command.length);
  }
  if (command.code == CommandCode::kFlashWrite) {
    const std::uint32_t sum = std::accumulate(command.data.begin(), command.data.end(), 0u) & 0xFFFF;
    if (BigEndian(packet.subspan(fixed + command.length, 2)) != sum) return std::nullopt;
  }
  return command;
}

std::vector<std::uint8_t> MakeAcknowledge(CommandCode code) {
  return {kAcknowledge, static_cast<std::uint8_t>(code)};
}

std::optional<std::vector<std::uint8_t>> MakeReadReply(const Command& request,
                                                       std::span<const std::uint8_t> data) {
  const std::size_t total = 3 + request.echo.size() + data.size();
  if (total > kMaxReplySize) return std::nullopt;
  std::vector<std::uint8_t> reply{kPacketStart};
  AppendBigEndian16(reply, total);
  reply.insert(reply.end(), request.echo.begin(), request.echo.end());
  reply.insert(reply.end(), data.begin(), data.end());
  return reply;
}

void GarbleReply(std::vector<std::uint8_t>& reply) {
  if (reply.empty()) return;
  if (reply.front() == kAcknowledge) {
    reply.front() = 0x00;
    return;
  }
  // The echo starts at offset 3 with the code; its last byte is the low
  // byte of the length.
  const std::size_t echo_size = reply.size() > 3 && reply[3] == static_cast<std::uint8_t>(CommandCode::kMemoryReadEx) ? 6 : 5;
  if (reply.size() >= 3 + echo_size) reply[2 + echo_size] ^= 0xFF;
}

std::vector<std::uint8_t> MakeCommandPacket(CommandCode code,
                                            std::span<const std::uint8_t> parameters) {
  std::vector<std::uint8_t> packet{kPacketStart};
  AppendBigEndian16(packet, parameters.size() + kFramingSize);
  packet.push_back(static_cast<std::uint8_t>(code));
  packet.insert(packet.end(), parameters.begin(), parameters.end());
  packet.push_back(kPacketEnd);
  return packet;
}

}  // namespace orvane::emulator
