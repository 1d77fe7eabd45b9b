#include "tests/emulator/PipeClient.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace orvane::emulator::testing {
namespace {

void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

}  // namespace

std::vector<std::uint8_t> PipeClient::Packet(CommandCode code,
                                             std::vector<std::uint8_t> parameters) {
  return MakeCommandPacket(code, parameters);
}

std::optional<std::vector<std::uint8_t>> PipeClient::Exchange(
    std::span<const std::uint8_t> packet) {
  if (!unit_.WriteCommandPipe(packet)) return std::nullopt;
  std::vector<std::uint8_t> reply(512);
  std::size_t delivered = 0;
  if (!unit_.ReadReplyPipe(reply, delivered)) return std::nullopt;
  reply.resize(delivered);
  return reply;
}

bool PipeClient::Acknowledged(std::span<const std::uint8_t> packet) {
  const auto reply = Exchange(packet);
  return reply && !reply->empty() && reply->front() == kAcknowledge;
}

bool PipeClient::TargetGo() { return Acknowledged(Packet(CommandCode::kTargetGo, {})); }
bool PipeClient::MonitorStart() { return Acknowledged(Packet(CommandCode::kMonitorStart, {})); }
bool PipeClient::MonitorStop() { return Acknowledged(Packet(CommandCode::kMonitorStop, {})); }

bool PipeClient::MemoryWrite(std::uint16_t address, std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> parameters;
  AppendBigEndian(parameters, address, 2);
  AppendBigEndian(parameters, static_cast<std::uint32_t>(bytes.size()), 2);
  parameters.insert(parameters.end(), bytes.begin(), bytes.end());
  return Acknowledged(Packet(CommandCode::kMemoryWrite, parameters));
}

bool PipeClient::MemoryWriteByte(std::uint16_t address, std::uint8_t value) {
  return MemoryWrite(address, std::span(&value, 1));
}

bool PipeClient::FlashWrite(std::uint32_t address, std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> parameters;
  AppendBigEndian(parameters, address, 3);
  AppendBigEndian(parameters, static_cast<std::uint32_t>(bytes.size()), 2);
  parameters.insert(parameters.end(), bytes.begin(), bytes.end());
  AppendBigEndian(parameters, std::accumulate(bytes.begin(), bytes.end(), 0u) & 0xFFFF, 2);
  return Acknowledged(Packet(CommandCode::kFlashWrite, parameters));
}

bool PipeClient::FlashErase(std::uint32_t address) {
  std::vector<std::uint8_t> parameters;
  AppendBigEndian(parameters, address, 3);
  return Acknowledged(Packet(CommandCode::kFlashErase, parameters));
}

std::optional<std::vector<std::uint8_t>> PipeClient::Read(CommandCode code, std::uint32_t address,
                                                          int address_bytes,
                                                          std::uint16_t length) {
  std::vector<std::uint8_t> parameters;
  AppendBigEndian(parameters, address, address_bytes);
  AppendBigEndian(parameters, length, 2);
  const std::vector<std::uint8_t> packet = Packet(code, parameters);
  const auto reply = Exchange(packet);
  const std::size_t echo = 1 + parameters.size();
  if (!reply || reply->size() < 3 + echo + length || reply->front() != kPacketStart ||
      !std::equal(packet.begin() + 3, packet.begin() + 3 + static_cast<std::ptrdiff_t>(echo),
                  reply->begin() + 3)) {
    return std::nullopt;
  }
  return std::vector<std::uint8_t>(reply->begin() + 3 + static_cast<std::ptrdiff_t>(echo),
                                   reply->begin() + 3 + static_cast<std::ptrdiff_t>(echo) + length);
}

std::optional<std::vector<std::uint8_t>> PipeClient::MemoryRead(std::uint16_t address,
                                                                std::uint16_t length) {
  return Read(CommandCode::kMemoryRead, address, 2, length);
}

std::optional<std::vector<std::uint8_t>> PipeClient::MemoryReadEx(std::uint32_t address,
                                                                  std::uint16_t length) {
  return Read(CommandCode::kMemoryReadEx, address, 3, length);
}

std::optional<std::uint8_t> PipeClient::ReadByte(std::uint16_t address) {
  const auto data = MemoryRead(address, 1);
  if (!data) return std::nullopt;
  return data->front();
}

std::optional<MonitorBlock> PipeClient::ReadBlock() {
  std::vector<std::uint8_t> bytes(512);
  MonitorBlock block;
  if (!unit_.ReadMonitorPipe(bytes, block.size)) return std::nullopt;
  if (block.size < sizeof(UnitBlockHeader)) return std::nullopt;
  std::memcpy(&block.header, bytes.data(), sizeof block.header);
  const std::size_t whole = (block.size - sizeof block.header) / sizeof(UnitRecord);
  block.records.resize(std::min<std::size_t>(block.header.record_count, whole));
  if (!block.records.empty()) {
    std::memcpy(block.records.data(), bytes.data() + sizeof block.header,
                block.records.size() * sizeof(UnitRecord));
  }
  return block;
}

}  // namespace orvane::emulator::testing

namespace orvane::emulator::testing {

std::vector<MonitorBlock> PipeClient::ReadBlocksFor(Micros duration) {
  const std::int64_t end = unit_.clock().NowMicros() + duration.count();
  std::vector<MonitorBlock> blocks;
  while (unit_.clock().NowMicros() < end) {
    auto block = ReadBlock();
    if (!block) break;
    blocks.push_back(std::move(*block));
  }
  return blocks;
}

bool PipeClient::StartMonitoring() { return TargetGo() && MonitorStart(); }

std::vector<UnitRecord> RecordsOf(const std::vector<MonitorBlock>& blocks) {
  std::vector<UnitRecord> records;
  for (const MonitorBlock& block : blocks) {
    records.insert(records.end(), block.records.begin(), block.records.end());
  }
  return records;
}

}  // namespace orvane::emulator::testing
