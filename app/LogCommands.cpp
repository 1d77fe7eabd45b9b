#include "app/LogCommands.h"

#include "monitor/LogSave.h"
#include "monitor/MessageCatalogue.h"

namespace orvane::app {

namespace {

constexpr std::int32_t kLogFileErrorMessage = 105;

monitor::LogFormat CurrentLogFormat(const AppContext& context) {
  const Configuration& configuration = context.configuration;
  return MakeLogFormat(configuration.Settings.Identifiers, configuration.Settings.Options,
                       context.state.IdentifierFieldMode, context.state.DataRadix);
}

}  // namespace

bool SaveMonitorLog(const AppContext& context) {
  const std::optional<std::string> path =
      context.windows.ChooseFile({.save = true,
                                  .initialName = "default.log",
                                  .defaultExtension = "log",
                                  .filter = "Log File(*.log)|*.log|All(*.*)|*.*||"});
  if (!path) return false;
  if (monitor::SaveLog(*path, context.monitor.MonitorBuffer, CurrentLogFormat(context)))
    return true;
  monitor::ShowErrorMessage(context.messages, kLogFileErrorMessage);
  return false;
}

std::optional<std::string> CopyMonitorLog(const AppContext& context) {
  return monitor::CopyMonitorLogData(context.state.ProgramFolder, context.monitor.MonitorBuffer,
                                     CurrentLogFormat(context));
}

}  // namespace orvane::app
