#include "app/Configuration.h"

namespace orvane::app {

void SetDefaults(Configuration& configuration, std::string_view programFolder) {
  configuration.Settings = settings::DefaultSettingsRecord(programFolder);
  configuration.Options = settings::DefaultOptionSettings();
  configuration.SlaveMasterId = 0;
  configuration.SlaveResponses.fill(simulation::DefaultSlaveResponse());
  configuration.Schedules.fill(simulation::DefaultMasterSchedule());
  configuration.InterruptSlot = simulation::DefaultInterruptSlot();
  configuration.ExtendedFiles = {};
  configuration.MasterRun = {};
  configuration.ScheduleNames = simulation::DefaultScheduleNames();
}

}  // namespace orvane::app
