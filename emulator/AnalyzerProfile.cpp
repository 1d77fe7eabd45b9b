#include "emulator/AnalyzerProfile.h"

#include <algorithm>
#include <array>

namespace orvane::emulator {
namespace {

struct NamedProfile {
  std::string_view name;
  FirmwareState firmware;
  BusTraffic traffic;
};

constexpr std::array kProfiles{
    NamedProfile{"default", FirmwareState::kCurrent, BusTraffic::kDefault},
    NamedProfile{"clean", FirmwareState::kCurrent, BusTraffic::kClean},
    NamedProfile{"lin20", FirmwareState::kCurrent, BusTraffic::kLin20},
    NamedProfile{"old-firmware", FirmwareState::kOlder, BusTraffic::kDefault},
    NamedProfile{"erased-firmware", FirmwareState::kErased, BusTraffic::kDefault},
};

}  // namespace

std::optional<AnalyzerProfile> ProfileNamed(std::string_view name) {
  const auto found = std::ranges::find(kProfiles, name, &NamedProfile::name);
  if (found == kProfiles.end()) return std::nullopt;
  AnalyzerProfile profile;
  profile.firmware = found->firmware;
  profile.traffic = found->traffic;
  return profile;
}

std::string ProfileNames() {
  std::string names;
  for (const NamedProfile& profile : kProfiles) {
    if (!names.empty()) names += ", ";
    names += profile.name;
  }
  return names;
}

}  // namespace orvane::emulator
