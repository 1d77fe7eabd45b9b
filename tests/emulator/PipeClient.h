// A minimal host for tests: builds command packets, exchanges them over the
// virtual analyzer's pipes and splits monitor blocks into header and records.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "emulator/CommandPacket.h"
#include "emulator/UnitRecord.h"
#include "emulator/VirtualAnalyzer.h"

namespace orvane::emulator::testing {

struct MonitorBlock {
  UnitBlockHeader header;
  std::vector<UnitRecord> records;
  std::size_t size = 0;  // bytes the read delivered
};

// Records of the blocks in order.
std::vector<UnitRecord> RecordsOf(const std::vector<MonitorBlock>& blocks);

class PipeClient {
 public:
  explicit PipeClient(VirtualAnalyzer& unit) : unit_(unit) {}

  // Writes the packet and reads one reply block; nothing when none comes.
  std::optional<std::vector<std::uint8_t>> Exchange(std::span<const std::uint8_t> packet);

  bool TargetGo();
  bool MonitorStart();
  bool MonitorStop();
  bool MemoryWrite(std::uint16_t address, std::span<const std::uint8_t> bytes);
  bool MemoryWriteByte(std::uint16_t address, std::uint8_t value);
  bool FlashWrite(std::uint32_t address, std::span<const std::uint8_t> bytes);
  bool FlashErase(std::uint32_t address);
  // The data of a well-formed read reply, or nothing.
  std::optional<std::vector<std::uint8_t>> MemoryRead(std::uint16_t address, std::uint16_t length);
  std::optional<std::vector<std::uint8_t>> MemoryReadEx(std::uint32_t address,
                                                        std::uint16_t length);
  std::optional<std::uint8_t> ReadByte(std::uint16_t address);

  std::optional<MonitorBlock> ReadBlock();
  // Reads blocks until the clock has advanced by `duration`.
  std::vector<MonitorBlock> ReadBlocksFor(Micros duration);
  // TargetGo and MonitorStart; false when either fails.
  bool StartMonitoring();

  static std::vector<std::uint8_t> Packet(CommandCode code, std::vector<std::uint8_t> parameters);

 private:
  bool Acknowledged(std::span<const std::uint8_t> packet);
  std::optional<std::vector<std::uint8_t>> Read(CommandCode code, std::uint32_t address,
                                                int address_bytes, std::uint16_t length);

  VirtualAnalyzer& unit_;
};

}  // namespace orvane::emulator::testing
