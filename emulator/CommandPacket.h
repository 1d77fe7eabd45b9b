// Command packets (host to unit, command pipe) and the unit's replies
// (reply pipe). Multi-byte packet fields are big-endian.
//
//   packet:       02, total length (2), code, parameters, 03
//   acknowledge:  55, code
//   read reply:   02, total length (2), echo of code + address + length, data
//
// Plain functions without shared state; any thread may call them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orvane::emulator {

inline constexpr std::size_t kMaxPacketSize = 512;
inline constexpr std::size_t kMaxReplySize = 512;
inline constexpr std::uint8_t kPacketStart = 0x02;
inline constexpr std::uint8_t kPacketEnd = 0x03;
inline constexpr std::uint8_t kAcknowledge = 0x55;

enum class CommandCode : std::uint8_t {
  kTargetGo = 1,
  kFlashWrite = 2,
  kMemoryWrite = 3,
  kMemoryRead = 4,
  kMonitorStart = 5,
  kMonitorStop = 6,
  kMemoryReadEx = 7,
  kFlashErase = 8,
};

// One well-formed command. The spans point into the parsed packet.
struct Command {
  CommandCode code = CommandCode::kTargetGo;
  std::uint32_t address = 0;          // 16 or 24 bits as the command carries it
  std::uint16_t length = 0;           // N of writes and reads
  std::span<const std::uint8_t> data;  // the N bytes of a write
  std::span<const std::uint8_t> echo;  // code, address and length, echoed by a read reply
};

// Nothing when the packet is malformed: wrong start or end byte, a total
// length that differs from the bytes given or from what the command needs,
// an unknown code, or a flash write whose sum does not match its data.
std::optional<Command> ParseCommandPacket(std::span<const std::uint8_t> packet);

std::vector<std::uint8_t> MakeAcknowledge(CommandCode code);

// Nothing when echo and data would not fit in one 512-byte reply block.
std::optional<std::vector<std::uint8_t>> MakeReadReply(const Command& request,
                                                       std::span<const std::uint8_t> data);

// Corrupts a reply as a disturbed transfer would: an acknowledge loses its
// 0x55, a read reply echoes a wrong length.
void GarbleReply(std::vector<std::uint8_t>& reply);

// Builds a command packet around the given code and parameters; the inverse
// of ParseCommandPacket, used by tools and tests that talk to the unit.
std::vector<std::uint8_t> MakeCommandPacket(CommandCode code,
                                            std::span<const std::uint8_t> parameters);

}  // namespace orvane::emulator
