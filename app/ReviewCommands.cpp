#include "app/ReviewCommands.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "app/WindowTitles.h"
#include "monitor/MonitorUpdate.h"
#include "review/ReadProblems.h"

namespace orvane::app {
namespace {

// One more slot than records: a ring filled exactly to its end would read
// as empty to the view builder.
std::uint32_t RingCapacityFor(std::size_t records) {
  return static_cast<std::uint32_t>(std::max<std::size_t>(records + 1, monitor::MonitorCapacity));
}

void ResizeRings(monitor::MonitorState& monitor, std::uint32_t capacity) {
  monitor.MonitorBuffer.Resize(capacity);
  monitor.ViewBuffer.Resize(capacity);
}

// The records go through the acquisition thread's steps in one block.
void FillMonitorData(const AppContext& context, const review::ReviewRecords& review) {
  monitor::MonitorState& monitor = context.monitor;
  ResizeRings(monitor, RingCapacityFor(review.records.size()));
  monitor::ResetMonitorData(monitor);
  monitor::ClearMonitorFlags(monitor);
  const analyzer::AcquisitionSettings settings = MakeAcquisitionSettings(context);
  monitor::AppendBlock(monitor, review.records, monitor::MonitorBlockHeader{});
  monitor::UpdateViewBuffer(monitor, settings.mask);
  monitor::UpdateIdTables(monitor, 0, settings.sortOrder, settings.nodeOrder);
}

}  // namespace

bool IsReviewFileName(std::string_view path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::ranges::transform(extension, extension.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".log" || extension == ".pcapng" || extension == ".pcap";
}

std::optional<std::string> ChooseReviewFile(const AppContext& context) {
  return context.windows.ChooseFile(
      {.save = false,
       .initialName = "",
       .defaultExtension = "log",
       .filter = "Log File(*.log)|*.log|Capture File(*.pcapng;*.pcap)|*.pcapng;*.pcap|"
                 "All(*.*)|*.*||",
       .title = "Open Monitor Log"});
}

bool ShowReview(const AppContext& context, review::ReviewReadResult result, std::string_view path) {
  if (result.cancelled) return false;
  if (!result.error.empty()) {
    monitor::ShowErrorBox(context.messages, result.error);
    return false;
  }
  const review::ReviewRecords& review = result.review;
  FillMonitorData(context, review);
  context.windows.ResetCaptureAndFind();
  context.state.ReviewFile = std::filesystem::path(path).filename().string();
  context.state.ReviewLogFormat = review.format;
  context.state.Recording = review.source;
  if (!context.state.WindowOpen[Window::kMonitor]) context.windows.OpenWindow(Window::kMonitor);
  RetitleMonitorWindow(context);
  // The monitor views take the new records as after a run.
  context.state.ViewUpdateCode.Monitor = kUpdateMonitoringStopped;
  context.windows.RefreshAllViews();
  context.windows.RefreshSignalWindows();
  const std::string problems = review::DescribeReadProblems(review.problems, review.positionUnit);
  if (!problems.empty()) monitor::ShowWarningBox(context.messages, problems);
  return true;
}

void SelectReviewRecord(const AppContext& context, std::uint32_t viewIndex) {
  if (context.state.ReviewFile.empty()) return;
  const analyzer::AcquisitionSettings settings = MakeAcquisitionSettings(context);
  monitor::RebuildIdTablesUpTo(context.monitor, viewIndex, settings.sortOrder, settings.nodeOrder);
  context.windows.RefreshSignalWindows();
  context.state.ViewUpdateCode.Monitor = kUpdateTablesChanged;
  context.windows.RefreshAllViews();
}

void EndReview(const AppContext& context) {
  if (context.state.ReviewFile.empty()) return;
  context.state.ReviewFile.clear();
  context.state.ReviewLogFormat.reset();
  ResizeRings(context.monitor, monitor::MonitorCapacity);
  RetitleMonitorWindow(context);
}

}  // namespace orvane::app
