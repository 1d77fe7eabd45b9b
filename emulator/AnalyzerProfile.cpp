#include "emulator/AnalyzerProfile.h"

namespace orvane::emulator {

std::optional<AnalyzerProfile> ProfileNamed(std::string_view name) {
  AnalyzerProfile profile;
  if (name == "default") return profile;
  if (name == "clean") {
    profile.traffic = BusTraffic::kClean;
  } else if (name == "lin20") {
    profile.traffic = BusTraffic::kLin20;
  } else if (name == "old-firmware") {
    profile.firmware = FirmwareState::kOlder;
  } else if (name == "erased-firmware") {
    profile.firmware = FirmwareState::kErased;
  } else {
    return std::nullopt;
  }
  return profile;
}

}  // namespace orvane::emulator
