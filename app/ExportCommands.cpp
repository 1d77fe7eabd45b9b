#include "app/ExportCommands.h"

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "app/LogCommands.h"
#include "monitor/LogSave.h"
#include "review/PcapngWriter.h"
#include "review/SignalCsv.h"
#include "signals/SignalDisplayOrder.h"
#include "signals/SignalMonitorModel.h"
#include "signals/SignalSelection.h"

namespace orvane::app {
namespace {

constexpr std::string_view kPcapngFilter = "pcapng File(*.pcapng)|*.pcapng|All(*.*)|*.*||";

bool WritePcapng(const AppContext& context, const std::string& path,
                 const std::vector<monitor::MonitorRecord>& records) {
  return monitor::WriteFileWith(path, [&](std::FILE* file) {
    review::PcapngWriter writer(file, CurrentLogFormat(context), false);
    writer.Begin(context.state.Recording);
    writer.Write(records);
    writer.Finish();
  });
}

bool ExportPcapng(const AppContext& context, std::string_view title,
                  const std::vector<monitor::MonitorRecord>& records) {
  return SaveThroughDialog(
      context,
      {.save = true,
       .initialName = "default.pcapng",
       .defaultExtension = "pcapng",
       .filter = kPcapngFilter,
       .title = title},
      [&](const std::string& path) { return WritePcapng(context, path, records); });
}

// The names of the signals the signal select window has chosen.
std::vector<std::string> SelectedSignalNames(const AppContext& context,
                                             const signals::LinDescription& description) {
  const signals::SignalSelection selection = SelectionOf(context.configuration.Settings);
  std::vector<std::string> names;
  for (const signals::SignalRow row :
       signals::BuildSignalRows(description, signals::SortOrder::kById, selection)) {
    const signals::FrameEntry& entry = description.frames[row.frame].entries[row.entry];
    names.push_back(description.signals[entry.signal].name);
  }
  return names;
}

}  // namespace

bool ExportMonitorPcapng(const AppContext& context) {
  return ExportPcapng(context, "Export Monitor Data as pcapng",
                      monitor::RingRecordsInOrder(context.monitor.MonitorBuffer));
}

bool ExportCapturePcapng(const AppContext& context) {
  return ExportPcapng(context, "Export Capture as pcapng", views::KeptRawRecords(context.capture));
}

bool ExportSignalsCsv(const AppContext& context) {
  const signals::LinDescription* description = context.description.Description();
  if (description == nullptr) return false;
  const std::vector<std::string> names = SelectedSignalNames(context, *description);
  return SaveThroughDialog(context,
                           {.save = true,
                            .initialName = "signals.csv",
                            .defaultExtension = "csv",
                            .filter = "CSV File(*.csv)|*.csv|All(*.*)|*.*||",
                            .title = "Export Signals as CSV"},
                           [&](const std::string& path) {
                             std::ofstream out(path, std::ios::binary);
                             review::WriteSignalCsv(
                                 out, *description, names,
                                 monitor::RingRecordsInOrder(context.monitor.MonitorBuffer));
                             out.close();
                             return !out.fail();
                           });
}

}  // namespace orvane::app
