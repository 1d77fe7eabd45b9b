#include "emulator/UnitMemory.h"

#include <algorithm>
#include <string_view>

#include "emulator/BaudTiming.h"
#include "emulator/LinFrame.h"

namespace orvane::emulator {
namespace {

constexpr std::uint32_t kDefaultBaud = 9600;
constexpr std::uint16_t kDefaultWakeupMicros = 250;
constexpr std::string_view kFirmwareName = "LIN Analyzer Firmware";

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string_view VersionText(FirmwareState state) {
  return state == FirmwareState::kOlder ? kOlderFirmwareVersion : kCurrentFirmwareVersion;
}

}  // namespace

UnitMemory::UnitMemory(const AnalyzerProfile& profile) {
  const std::string_view serial = profile.serial_number;
  flash_.Program(kSerialNumberAddress, AsBytes(serial.substr(0, 32)));
  if (profile.firmware != FirmwareState::kErased) {
    const std::string_view version = VersionText(profile.firmware);
    flash_.Program(kVersionAreaAddress, AsBytes(version));
    flash_.Program(kImageAreaAddress, AsBytes(kFirmwareName));
    flash_.Program(kImageAreaAddress + kImageVersionOffset, AsBytes(version));
  }
  ResetRam();
}

void UnitMemory::ResetRam() {
  ram_.fill(0);
  const auto timing = TimingForBaud(kDefaultBaud);
  std::ranges::copy(*timing, ram_.begin() + kFrameTimingRegister);
  SetRamWord(kWakeupLengthRegister, kDefaultWakeupMicros);
  for (std::uint8_t id = 0; id < 64; ++id) {
    ram_[kLengthTableAddress + id] = static_cast<std::uint8_t>(DefaultDataLength(id));
  }
}

bool UnitMemory::WriteRam(std::uint32_t address, std::span<const std::uint8_t> bytes) {
  if (address >= kRamSize || bytes.size() > kRamSize - address) return false;
  std::ranges::copy(bytes, ram_.begin() + address);
  return true;
}

std::span<const std::uint8_t> UnitMemory::Ram(std::uint16_t address, std::size_t length) const {
  return std::span<const std::uint8_t>(ram_).subspan(address, length);
}

std::uint16_t UnitMemory::RamWord(std::uint16_t address) const {
  return static_cast<std::uint16_t>(ram_[address] | ram_[address + 1] << 8);
}

void UnitMemory::SetRamWord(std::uint16_t address, std::uint16_t value) {
  ram_[address] = static_cast<std::uint8_t>(value);
  ram_[address + 1] = static_cast<std::uint8_t>(value >> 8);
}

void UnitMemory::Read(std::uint32_t address, std::span<std::uint8_t> out) const {
  for (std::uint8_t& byte : out) {
    byte = address < kRamSize ? ram_[address] : flash_.Read(address);
    ++address;
  }
}

}  // namespace orvane::emulator
