// Everything a configuration file holds: the settings record, the option
// values, the slave responses, the 16 master schedules with their names,
// the interrupt slot and the extended frame file table.
//
// The application owns one instance; tests make their own. Plain data of
// the user-interface thread (see the headers of the records for readers on
// other threads).
//
// A value-initialised Configuration is all zeros, the program's state before
// start-up reads a file. The pattern modes are not stored in files, so they
// stay 0 after a start-up that read a file and are 1 once SetDefaults ran.
#pragma once

#include <cstdint>
#include <string_view>

#include "settings/OptionSettings.h"
#include "settings/SettingsRecord.h"
#include "simulation/SimRecords.h"

namespace orvane::app {

struct Configuration {
  settings::SettingsRecord Settings{};
  settings::OptionSettings Options{};
  std::int32_t SlaveMasterId = 0;  // the bus master's identifier in slave simulation
  simulation::SlaveResponses SlaveResponses{};
  simulation::MasterSchedules Schedules{};
  simulation::SimSlot InterruptSlot{};
  simulation::ExtendedFileTable ExtendedFiles{};
  simulation::MasterRunSettings MasterRun{};
  simulation::ScheduleNames ScheduleNames{};
};

// Sets every item of the configuration to its default; the LIN
// description path becomes `programFolder`.
void SetDefaults(Configuration& configuration, std::string_view programFolder);

}  // namespace orvane::app
