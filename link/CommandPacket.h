// Command packets of the analyzer protocol and the checks on its answers.
//
// A packet is 0x02, the total length (16 bits), the command code, the
// parameters and 0x03; every multi-byte field is big-endian. Packets and
// replies travel in 512-byte buffers, which bounds the data length N of
// each command. Pure functions: any thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace orlink {

inline constexpr std::size_t kPacketCapacity = 512;

enum class CommandCode : std::uint8_t {
  kTargetGo = 1,
  kFrashWrite = 2,
  kMemoryWrite = 3,
  kMemoryRead = 4,
  kMonitorStart = 5,
  kMonitorStop = 6,
  kMemoryReadEx = 7,
  kFrashErase = 8,
};

// Largest data length N of each command that fits a 512-byte buffer.
inline constexpr std::uint32_t kMaxFrashWriteLength = 500;
inline constexpr std::uint32_t kMaxMemoryWriteLength = 503;
inline constexpr std::uint32_t kMaxMemoryReadLength = 504;
inline constexpr std::uint32_t kMaxMemoryReadExLength = 503;

class CommandPacket {
 public:
  // Frames the command code and its parameters.
  CommandPacket(CommandCode code, std::span<const std::uint8_t> parameters);

  std::span<const std::uint8_t> bytes() const { return std::span(bytes_).first(size_); }

 private:
  std::array<std::uint8_t, kPacketCapacity> bytes_{};
  std::size_t size_ = 0;
};

// TargetGo, MonitorStart and MonitorStop: no parameters.
CommandPacket BuildBareCommand(CommandCode code);
// 24-bit address, 16-bit length, the data and their 16-bit sum; nothing
// when the data exceed kMaxFrashWriteLength.
std::optional<CommandPacket> BuildFrashWrite(std::uint32_t address,
                                             std::span<const std::uint8_t> data);
// 16-bit address, 16-bit length and the data; nothing above kMaxMemoryWriteLength.
std::optional<CommandPacket> BuildMemoryWrite(std::uint32_t address,
                                              std::span<const std::uint8_t> data);
// 16-bit address and 16-bit length; nothing above kMaxMemoryReadLength.
std::optional<CommandPacket> BuildMemoryRead(std::uint32_t address, std::uint32_t length);
// 24-bit address and 16-bit length; nothing above kMaxMemoryReadExLength.
std::optional<CommandPacket> BuildMemoryReadEx(std::uint32_t address, std::uint32_t length);
CommandPacket BuildFrashErase(std::uint32_t address);

// Sum of the bytes, each unsigned, modulo 65536.
std::uint16_t DataSum(std::span<const std::uint8_t> data);

// An acknowledge is any reply block whose first byte is 0x55.
bool IsAcknowledge(std::span<const std::uint8_t> reply);

// The `length` data bytes of a read reply that answers `request` (a
// MemoryRead or MemoryReadEx packet): byte 0 is 0x02 and bytes 3 on echo the
// request's command code, address and length. Nothing when the block does
// not match or did not deliver all the data.
std::optional<std::span<const std::uint8_t>> MatchReadReply(const CommandPacket& request,
                                                            std::span<const std::uint8_t> reply,
                                                            std::uint32_t length);

}  // namespace orlink
