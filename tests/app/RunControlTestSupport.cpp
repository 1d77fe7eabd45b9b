#include "tests/app/RunControlTestSupport.h"

#include <cstring>
#include <thread>

#include "settings/FixedText.h"
#include "tests/support/StaticLinkApi.h"

namespace orvane::app::testing {

using std::chrono::milliseconds;

monitor::MessageAnswer AppSink::Show(const monitor::MessageBoxRequest& request) {
  const std::lock_guard lock(mutex_);
  boxes_.push_back(
      {std::string(request.caption), std::string(request.text), request.icon, request.buttons});
  return request.buttons == monitor::MessageButtons::kOkCancel ? answer.load()
                                                               : monitor::MessageAnswer::kOk;
}

std::vector<Box> AppSink::Boxes() const {
  const std::lock_guard lock(mutex_);
  return boxes_;
}

std::vector<std::string> AppSink::Texts() const {
  std::vector<std::string> texts;
  for (const Box& box : Boxes()) texts.push_back(box.text);
  return texts;
}

std::string WindowName(Window window) {
  switch (window) {
    case Window::kMonitor:
      return "Monitor";
    case Window::kStatus:
      return "Status";
    case Window::kMasterMonitor:
      return "MasterMonitor";
    case Window::kSlaveMonitor:
      return "SlaveMonitor";
    case Window::kSignalSelect:
      return "SignalSelect";
    case Window::kSignalMonitor:
      return "SignalMonitor";
    case Window::kEachId:
      return "EachId";
    case Window::kCapture:
      return "Capture";
    case Window::kFind:
      return "Find";
    case Window::kSignalPlot:
      return "SignalPlot";
    case Window::kBusStatistics:
      return "BusStatistics";
  }
  return "?";
}

bool RecordingWindows::OpenWindow(Window window) {
  events.push_back("open " + WindowName(window));
  state_.WindowOpen[window] = true;
  return true;
}

void RecordingWindows::CloseWindow(Window window) {
  events.push_back("close " + WindowName(window));
  state_.WindowOpen[window] = false;
}

void RecordingWindows::SetMainTitle(std::string_view title) {
  events.push_back("main title " + std::string(title));
}

void RecordingWindows::SetWindowTitle(Window window, std::string_view title) {
  events.push_back("title " + WindowName(window) + ": " + std::string(title));
}

void RecordingWindows::BringToFront(std::string_view title) {
  events.push_back("front " + std::string(title));
}

void RecordingWindows::RefreshAllViews() {
  ViewUpdateCodes& codes = state_.ViewUpdateCode;
  events.push_back("refresh monitor=" + std::to_string(codes.Monitor) + " status=" +
                   std::to_string(codes.Status) + " master=" + std::to_string(codes.Master) +
                   " slave=" + std::to_string(codes.Slave));
  codes = {};
}

void RecordingWindows::NotifyFindWindow(bool monitoring) {
  events.push_back(monitoring ? "find: started" : "find: stopped");
}

void RecordingWindows::SetSaveCaptureEnabled(bool enabled) {
  events.push_back(enabled ? "save capture on" : "save capture off");
}

void RecordingWindows::ClearSavedPlacement(Window window) {
  events.push_back("clear placement " + WindowName(window));
}

std::optional<std::string> RecordingWindows::ChooseFile(const FileDialogRequest& request) {
  fileDialogs.push_back({request.save, std::string(request.initialName),
                         std::string(request.defaultExtension), std::string(request.filter),
                         std::string(request.title)});
  const std::string title =
      request.title.empty() ? std::string() : " \"" + std::string(request.title) + "\"";
  events.push_back(std::string(request.save ? "save dialog " : "open dialog ") +
                   std::string(request.initialName) + " (" + std::string(request.defaultExtension) +
                   ") " + std::string(request.filter) + title);
  return chosenFile;
}

bool RecordingWindows::OpenWithShell(const std::filesystem::path& document) {
  events.push_back("shell open " + document.string());
  return shellOpens;
}

AppRig::AppRig(emulator::AnalyzerProfile profile)
    : link(std::move(profile)),
      tap(orvane::testing::StaticLinkApi()),
      configuration(std::make_unique<Configuration>()),
      monitor(std::make_unique<monitor::MonitorState>()) {
  state.ProgramFolder = folder.path();
  SetDefaults(*configuration, folder.path().string());
  UseLink(tap.api());
  const analyzer::LinkApi& api = tap.api();
  EXPECT_EQ(api.InitUSB(), 1);
  EXPECT_EQ(api.TargetGo(), 1);
  EXPECT_TRUE(map_->WriteFrameParameters(configuration->Options, configuration->Settings.Options));
  EXPECT_TRUE(map_->WriteLengthTable(configuration->Settings.Identifiers));
  EXPECT_TRUE(map_->WriteLinRevision(configuration->Settings.LinRevision));
}

AppRig::~AppRig() {
  run_.reset();
}

void AppRig::UseLink(const analyzer::LinkApi& link) {
  run_.reset();
  linkApi_ = link;
  map_ = std::make_unique<analyzer::RegisterMap>(linkApi_,
                                                 analyzer::test::SleepOn(this->link.clock()));
  context_ = std::make_unique<AppContext>(AppContext{state, *configuration, *monitor, *map_, master,
                                                     slave, sink, windows, description, capture});
  run_ = std::make_unique<RunControl>(*context_, milliseconds(1));
}

void AppRig::Pass(milliseconds duration) {
  const milliseconds end = link.Elapsed() + duration;
  while (link.Elapsed() < end) {
    link.clock().Advance(milliseconds(10));
    run_->OnIdle(link.Elapsed());
    if (link.Elapsed() >= nextRunTimer_) {
      run_->OnRunTimer();
      nextRunTimer_ = link.Elapsed() + kRunTimerPeriod;
    }
  }
}

void AppRig::Follow(milliseconds duration) {
  const milliseconds end = link.Elapsed() + duration;
  while (link.Elapsed() < end) {
    std::this_thread::sleep_for(milliseconds(1));
    run_->OnIdle(link.Elapsed());
    if (link.Elapsed() >= nextRunTimer_) {
      run_->OnRunTimer();
      nextRunTimer_ = link.Elapsed() + kRunTimerPeriod;
    }
  }
}

int AppRig::DrainStop() {
  for (int calls = 1; calls <= 50; ++calls) {
    std::this_thread::sleep_for(milliseconds(3));
    run_->OnRunTimer();
    if (!run_->StopRequested()) return calls;
  }
  return -1;
}

bool AppRig::WaitUntil(const std::function<bool()>& condition) {
  for (int i = 0; i < 10000; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(milliseconds(1));
  }
  return condition();
}

ServedBlocks::ServedBlocks(AppRig& rig) {
  rig.tap.ServeMonitorBlocks([this](std::uint8_t* header, std::uint8_t* records, std::uint32_t) {
    if (failing.load()) return 0;
    const int count = this->records.load();
    monitor::MonitorBlockHeader blockHeader{};
    blockHeader.recordCount = static_cast<std::uint8_t>(count);
    std::memcpy(header, &blockHeader, sizeof blockHeader);
    monitor::MonitorRecord frame{};
    frame.node = monitor::kNodeMaster;
    frame.kind = monitor::kKindEnd;
    frame.ident = 0x10;
    for (int i = 0; i < count; ++i) std::memcpy(records + i * sizeof frame, &frame, sizeof frame);
    served.fetch_add(1);
    return 1;
  });
}

void ServedBlocks::WaitForMore() const {
  const int target = served.load() + 3;
  EXPECT_TRUE(AppRig::WaitUntil([&] { return served.load() >= target; }));
}

}  // namespace orvane::app::testing
