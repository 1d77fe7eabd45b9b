// The LIN bus the virtual analyzer is attached to: the demo network's
// master and slaves, and the unit's I/O lines, as the profile arranges them
// (checksum model, deliberate events, bus baud rate).
//
// Not thread-safe; the owner serialises access.
#pragma once

#include <cstdint>
#include <optional>

#include "emulator/AnalyzerProfile.h"
#include "emulator/DemoSlaves.h"
#include "emulator/DisturbancePlan.h"
#include "emulator/ExternalMaster.h"
#include "emulator/IoLines.h"
#include "emulator/LinBus.h"

namespace orvane::emulator {

// Half periods of the I/O lines' toggling in the profiles with events.
inline constexpr std::array<std::int64_t, 3> kIoHalfPeriods = {2'500'000, 4'100'000, 6'700'000};
// Time from a go-to-sleep command to the slaves' wake-up pulse.
inline constexpr std::int64_t kSleepMicros = 1'500'000;

class DemoBus {
 public:
  explicit DemoBus(const AnalyzerProfile& profile);
  DemoBus(const DemoBus&) = delete;
  DemoBus& operator=(const DemoBus&) = delete;

  LinBus& bus() { return bus_; }

  // The external master falls silent while the analyzer unit is the bus
  // master, and goes on with its schedule (no earlier than `now`) once the
  // unit no longer is.
  void SetUnitIsMaster(bool unit_is_master, std::int64_t now) {
    master_.SetSilenced(unit_is_master, now);
  }

 private:
  DisturbancePlan plan_;
  ExternalMaster master_;
  DemoSlaves slaves_;
  std::optional<IoLines> io_lines_;
  LinBus bus_;
};

}  // namespace orvane::emulator
