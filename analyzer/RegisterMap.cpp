#include "analyzer/RegisterMap.h"

#include <algorithm>
#include <array>
#include <utility>

namespace orvane::analyzer {
namespace {

constexpr int kOneShotAttempts = 3;
constexpr std::chrono::milliseconds kOneShotRetryWait{50};

constexpr std::array<std::uint8_t, kSimEntrySize> kWakeupEntry{0x01, 0x00, 0x30, 0x00};

constexpr std::uint8_t LowByte(std::uint32_t value) {
  return static_cast<std::uint8_t>(value);
}

}  // namespace

RegisterMap::RegisterMap(const LinkApi& link, SleepFunction sleep)
    : link_(link), sleep_(std::move(sleep)) {}

bool RegisterMap::Write(std::uint32_t address, std::span<const std::uint8_t> bytes) const {
  return link_.MemoryWrite(address, static_cast<std::uint32_t>(bytes.size()), bytes.data()) == 1;
}

bool RegisterMap::WriteByte(std::uint32_t address, std::uint8_t value) const {
  return Write(address, std::span(&value, 1));
}

bool RegisterMap::Read(std::uint32_t address, std::span<std::uint8_t> destination) const {
  return link_.MemoryRead(address, static_cast<std::uint32_t>(destination.size()),
                          destination.data()) == 1;
}

bool RegisterMap::ReadByte(std::uint32_t address, std::uint8_t& value) const {
  return Read(address, std::span(&value, 1));
}

bool RegisterMap::SetAnalyzerMode(std::uint8_t mode) const {
  return WriteByte(reg::kMode, mode);
}

bool RegisterMap::WriteFrameParameters(settings::OptionSettings& options,
                                       const settings::OptionSettingsExt& extension) const {
  if (!settings::ApplyBaudRateTiming(options)) return false;
  const auto& timing = options.FrameTiming;
  const std::uint16_t wakeup = static_cast<std::uint16_t>(extension.WakeupMicros);
  const std::array<std::uint8_t, 2> wakeupBytes{LowByte(wakeup), LowByte(wakeup >> 8)};
  return Write(reg::kFrameTiming,
               std::span(reinterpret_cast<const std::uint8_t*>(&timing), sizeof timing)) &&
         WriteByte(reg::kBreakSelect, extension.BreakSelect) &&
         Write(reg::kWakeupMicros, wakeupBytes) &&
         WriteByte(reg::kIoEnable + 0, LowByte(extension.IoChannels[0].enabled)) &&
         WriteByte(reg::kIoEnable + 1, LowByte(extension.IoChannels[1].enabled)) &&
         WriteByte(reg::kIoEnable + 2, LowByte(extension.IoChannels[2].enabled));
}

bool RegisterMap::WriteLengthTable(const settings::IdentifierDefinition& definition) const {
  std::array<std::uint8_t, settings::kIdentifierCount> table;
  for (std::size_t id = 0; id < table.size(); ++id) {
    table[id] = definition.dataLength[id] & 0x7F;
    if (definition.classicChecksum[id] == 0) table[id] |= 0x80;
  }
  return Write(reg::kLengthTable, table);
}

bool RegisterMap::WriteLinRevision(std::uint32_t revision) const {
  return WriteByte(reg::kLinRevision, LowByte(revision));
}

bool RegisterMap::WriteScheduleSwitch(std::uint32_t scheduleModeOn) const {
  return WriteByte(reg::kScheduleSwitch, LowByte(scheduleModeOn));
}

bool RegisterMap::WriteInterruptSwitch(std::uint32_t interruptModeOn) const {
  return WriteByte(reg::kInterruptSwitch, LowByte(interruptModeOn));
}

bool RegisterMap::SelectBank(std::uint8_t value) const {
  return WriteByte(reg::kBankSelect, value);
}

bool RegisterMap::WriteBankState(int bank, std::uint8_t value) const {
  if (bank != 1 && bank != 2) return false;
  return WriteByte(reg::kBankState[bank - 1], value);
}

bool RegisterMap::SendOneShotEntry(std::span<const std::uint8_t, kSimEntrySize> entry) const {
  for (int attempt = 0; attempt < kOneShotAttempts; ++attempt) {
    std::uint8_t handshake = 0xFF;
    if (ReadByte(reg::kOneShotHandshake, handshake) && handshake == 0) {
      return Write(reg::kOneShotEntry, entry) && WriteByte(reg::kOneShotHandshake, 1);
    }
    Sleep(kOneShotRetryWait);
  }
  return false;
}

bool RegisterMap::SendWakeup() const {
  return SendOneShotEntry(kWakeupEntry);
}

bool RegisterMap::WriteExtendedData(int index,
                                    std::span<const std::uint8_t, kExtendedDataSize> data) const {
  if (index < 0 || index >= kExtendedFileCount) return false;
  return Write(reg::kExtendedData + 0x100 * static_cast<std::uint32_t>(index), data);
}

bool RegisterMap::ReadMeasuredBaud(std::uint16_t& bitsPerSecond) const {
  std::array<std::uint8_t, 2> bytes;
  if (!Read(reg::kMeasuredBaud, bytes)) return false;
  bitsPerSecond = static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
  return true;
}

bool RegisterMap::FlashWriteBlock(std::uint32_t address, std::span<const std::uint8_t> data) const {
  if (data.size() > kFlashBlockSize) return false;
  std::array<std::uint8_t, kFlashBlockSize> block;
  block.fill(0xFF);
  std::copy(data.begin(), data.end(), block.begin());
  return link_.FrashWrite(address, kFlashBlockSize, block.data()) == 1;
}

}  // namespace orvane::analyzer
