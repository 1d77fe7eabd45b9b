#include "emulator/DemoBus.h"

namespace orvane::emulator {
namespace {

bool HasEvents(const AnalyzerProfile& profile) { return profile.traffic != BusTraffic::kClean; }

ChecksumModel ChecksumOf(const AnalyzerProfile& profile) {
  return profile.traffic == BusTraffic::kLin20 ? ChecksumModel::kEnhanced : ChecksumModel::kClassic;
}

}  // namespace

DemoBus::DemoBus(const AnalyzerProfile& profile)
    : plan_(profile.seed, HasEvents(profile), HasEvents(profile)),
      master_(TheDemoNetwork(), ChecksumOf(profile), plan_, profile.back_to_back),
      slaves_(TheDemoNetwork(), ChecksumOf(profile),
              HasEvents(profile) ? std::optional<std::int64_t>(kSleepMicros) : std::nullopt),
      bus_(profile.bus_baud) {
  bus_.AddInitiator(master_);
  bus_.AddInitiator(slaves_);
  bus_.AddResponder(slaves_);
  bus_.AddObserver(master_);
  bus_.AddObserver(slaves_);
  if (HasEvents(profile)) {
    io_lines_.emplace(kIoHalfPeriods);
    bus_.AddInitiator(*io_lines_);
  }
}

}  // namespace orvane::emulator
