#include "analyzer/OpenAnalyzer.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace orvane::analyzer {
namespace {

constexpr std::uint8_t kErased = 0xFF;

// The text before the first erased byte.
std::string_view TextBeforeErased(std::span<const std::uint8_t> bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), kErased);
  return std::string_view(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<std::size_t>(end - bytes.begin()));
}

bool ReadFlash(const RegisterMap& map, std::uint32_t address, std::span<std::uint8_t> bytes) {
  return map.link().MemoryReadEx(address, static_cast<std::uint32_t>(bytes.size()), bytes.data()) ==
         1;
}

void StoreSerialNumber(std::span<const std::uint8_t, kSerialNumberSize> bytes,
                       AnalyzerIdentity& identity) {
  const std::string_view serial = TextBeforeErased(bytes);
  std::memcpy(identity.serialNumber, serial.data(), serial.size());
  identity.serialNumber[serial.size()] = '\0';
}

}  // namespace

bool FirmwareVersionMatches(std::span<const std::uint8_t, kVersionAreaSize> installedVersion,
                            std::span<const std::uint8_t, kImageHeaderSize> imageHeader,
                            std::string_view requiredVersion) {
  const std::string_view installed = TextBeforeErased(installedVersion);
  if (installed.empty()) return false;
  const std::string_view installedPrefix = installed.substr(0, installed.size() - 1);
  if (installedPrefix != requiredVersion.substr(0, installedPrefix.size())) return false;
  const std::string_view image =
      TextBeforeErased(imageHeader.subspan<kImageVersionOffset, kVersionAreaSize>());
  return image == requiredVersion.substr(0, image.size());
}

bool OpenAnalyzer(const RegisterMap& map, AnalyzerIdentity& identity,
                  const SimulationSwitches& switches, OpenAnalyzerUi& ui) {
  const LinkApi& link = map.link();
  if (link.InitUSB() != 1) return false;

  std::array<std::uint8_t, kSerialNumberSize> serial;
  std::array<std::uint8_t, kVersionAreaSize> installedVersion;
  std::array<std::uint8_t, kImageHeaderSize> imageHeader;
  if (!ReadFlash(map, reg::kSerialNumber, serial)) return false;
  StoreSerialNumber(serial, identity);
  if (!ReadFlash(map, reg::kVersionArea, installedVersion) ||
      !ReadFlash(map, reg::kImageArea, imageHeader)) {
    return false;
  }

  bool updateDeclined = false;
  if (!FirmwareVersionMatches(installedVersion, imageHeader, identity.firmwareVersion)) {
    updateDeclined = ui.firmwareUpdate.RunFirmwareUpdate(identity) == FirmwareUpdateResult::kCancel;
    if (updateDeclined && ui.messages.CanShow()) {
      monitor::ShowErrorBox(ui.messages, kFirmwareUpdateDeclinedText, monitor::MessageIcon::kStop);
      ui.forceShutdown();
    }
  }

  if (link.TargetGo() != 1 || link.MonitorStop() != 1 || updateDeclined) return false;
  return map.SetAnalyzerMode(kAnalyzerModeNone) && map.SelectBank(1) &&
         map.WriteBankState(2, kBankFree) && map.WriteScheduleSwitch(switches.scheduleModeOn) &&
         map.WriteInterruptSwitch(switches.interruptModeOn);
}

}  // namespace orvane::analyzer
