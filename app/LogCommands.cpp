#include "app/LogCommands.h"

#include "app/DataFolder.h"
#include "monitor/LogSave.h"
#include "monitor/MessageCatalogue.h"

namespace orvane::app {

namespace {

constexpr std::int32_t kLogFileErrorMessage = 105;

// The save dialog of a log file, then `write` with the current log format.
template <typename WriteLog>
bool SaveLogAs(const AppContext& context, std::string_view title, WriteLog write) {
  return SaveThroughDialog(
      context,
      {.save = true,
       .initialName = "default.log",
       .defaultExtension = "log",
       .filter = "Log File(*.log)|*.log|All(*.*)|*.*||",
       .title = title},
      [&](const std::string& path) { return write(path, CurrentLogFormat(context)); });
}

}  // namespace

bool SaveThroughDialog(const AppContext& context, const FileDialogRequest& request,
                       const std::function<bool(const std::string& path)>& write) {
  const std::optional<std::string> path = context.windows.ChooseFile(request);
  if (!path) return false;
  if (write(*path)) return true;
  monitor::ShowErrorMessage(context.messages, kLogFileErrorMessage);
  return false;
}

bool SaveMonitorLog(const AppContext& context) {
  return SaveLogAs(context, {}, [&](const std::string& path, const monitor::LogFormat& format) {
    return monitor::SaveLog(path, context.monitor.MonitorBuffer, format);
  });
}

bool SaveCaptureLog(const AppContext& context) {
  return SaveLogAs(context, kSaveCaptureDialogTitle,
                   [&](const std::string& path, const monitor::LogFormat& format) {
                     return monitor::SaveLog(path, views::KeptRawRecords(context.capture), format);
                   });
}

std::optional<std::string> CopyMonitorLog(const AppContext& context) {
  return monitor::CopyMonitorLogData(WritableFolder(context.state.ProgramFolder),
                                     context.monitor.MonitorBuffer, CurrentLogFormat(context));
}

}  // namespace orvane::app
