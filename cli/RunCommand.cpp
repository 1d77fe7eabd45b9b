// orvane-cli run: a headless run of the program's run control.
//
// Binds liborlink.so from the program's folder, reads a configuration file
// and the LIN description it refers to (as at start-up, without questions;
// with Order of Node the Each ID table then sorts by node), opens the
// analyzer, downloads the settings, selects the mode and the master
// schedule, and starts as the program's Start does. While it runs, the loop
// drives the 50 ms simulation tick, the 200 ms run timer and a presence check
// every second, prints every monitored record as its log line and, in
// baud-rate measurement, the measured baud rate once a second. Ctrl+C (or
// --seconds) stops with the drain. A start that fails exits with status 2
// after its message.
//
// stdout carries the log lines (LF line ends) and the "Baudrate" lines;
// messages and the summary go to stderr.
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "analyzer/LinkApi.h"
#include "analyzer/RegisterMap.h"
#include "app/AppContext.h"
#include "app/ConfigurationFile.h"
#include "app/LoadedDescription.h"
#include "app/ModeCommands.h"
#include "app/RunControl.h"
#include "app/Startup.h"
#include "cli/AnalyzerTerminal.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "views/Capture.h"

namespace orvane::cli {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr milliseconds kLoopPeriod{10};
constexpr milliseconds kPresenceCheckPeriod{1000};

struct Options {
  std::string configPath;
  std::int32_t mode = app::kModeNone;
  std::int32_t schedule = 0;
  std::optional<int> seconds;
  std::string logPath;
  std::uint32_t linRevision = settings::kLin13;
};

void AddOptions(CLI::App& run, Options& options) {
  run.add_option("--config", options.configPath, "the configuration file to run")
      ->required()
      ->check(NotEmpty())
      ->type_name("FILE");
  AddChoiceOption<std::int32_t>(
      run, "--mode", options.mode,
      {{"monitor", app::kModeNone},
       {"master", app::kModeMaster},
       {"slave", app::kModeSlave},
       {"baud", app::kModeBaudrate}},
      "monitor only (default), master or slave simulation, or baud-rate measurement");
  run.add_option_function<int>(
         "--schedule", [&options](const int& number) { options.schedule = number - 1; },
         "the master schedule to run, 1-" + std::to_string(simulation::kScheduleCount) +
             " (default 1)")
      ->transform(NumberFrom(1, static_cast<long>(simulation::kScheduleCount)))
      ->type_name("N");
  AddSecondsOption(run, options.seconds);
  run.add_option("--log", options.logPath,
                 "write the live log to FILE (named by the log numbering rule)")
      ->check(NotEmpty())
      ->type_name("FILE");
  AddLinOption(run, options.linRevision);
}

int Fail(std::string_view message) { return cli::Fail("run", message); }

// No windows: their flags follow the requests, and a posted exit ends the run.
class HeadlessWindows final : public app::WindowRequests {
 public:
  explicit HeadlessWindows(app::AppState& state) : state_(state) {}

  bool OpenWindow(app::Window window) override { return state_.WindowOpen[window] = true; }
  void CloseWindow(app::Window window) override { state_.WindowOpen[window] = false; }
  void SetMainTitle(std::string_view) override {}
  void SetWindowTitle(app::Window, std::string_view) override {}
  void BringToFront(std::string_view) override {}
  void RefreshAllViews() override { state_.ViewUpdateCode = {}; }
  void RefreshSignalWindows() override {}
  void PublishEachMode() override {}
  void ResetCaptureAndFind() override {}
  void NotifyFindWindow(bool) override {}
  void UpdateDialogBar() override {}
  void SetSaveCaptureEnabled(bool) override {}
  void PostExitCommand() override { exitRequested = true; }
  void SetWaitCursor(bool) override {}
  void ClearSavedPlacements() override {}
  void ClearSavedPlacement(app::Window) override {}
  std::optional<std::string> ChooseFile(const app::FileDialogRequest&) override {
    return std::nullopt;
  }
  bool OpenWithShell(const std::filesystem::path&) override { return false; }

  bool exitRequested = false;

 private:
  app::AppState& state_;
};

// Reads the configuration as start-up does, with the LIN description it
// refers to, and prepares it for the revision the analyzer gets: LIN 1.3
// knows no enhanced checksums and no break select.
bool ReadRunConfiguration(const Options& options, app::Configuration& configuration,
                          app::LoadedDescription& descriptions, monitor::MessageSink& messages) {
  const app::ReadResult read = app::ReadStartupConfiguration(
      options.configPath, configuration, descriptions, messages, analyzer::ProgramFolder());
  if (read.status != app::ReadStatus::Loaded) {
    Fail("cannot read the configuration " + options.configPath +
         (read.error.empty() ? "" : ": " + read.error));
    return false;
  }
  configuration.Settings.LinRevision = options.linRevision;
  app::ApplyLinRevision(configuration);
  configuration.MasterRun.CurrentSchedule = options.schedule;
  configuration.Options.LoggingEnabled = options.logPath.empty() ? 0 : 1;
  return true;
}

bool SelectMode(const app::AppContext& context, std::int32_t mode) {
  return mode == app::kModeBaudrate ? app::ChangeToBaudrateMeasurement(context)
                                    : app::ChangeMode(context, mode);
}

void PrintMeasuredBaud(const analyzer::RegisterMap& map) {
  std::uint16_t baud = 0;
  if (map.ReadMeasuredBaud(baud)) {
    std::printf("Baudrate %u [bps]\n", static_cast<unsigned>(baud));
  } else {
    std::puts("Baudrate Error");
  }
  std::fflush(stdout);
}

// Runs from Start until Ctrl+C, the time limit, an exit the run control
// asked for, or a run that ended by itself; then stops with the drain.
// Returns whether the run went without failure.
bool Run(app::AppContext& context, app::RunControl& run, const HeadlessWindows& windows,
         const Options& options) {
  const app::AppState& state = context.state;
  RecordPrinter printer(context.monitor.MonitorBuffer,
                        app::MakeAcquisitionSettings(context).logFormat);
  const steady_clock::time_point start = steady_clock::now();
  const steady_clock::time_point deadline = options.seconds
                                                ? start + std::chrono::seconds(*options.seconds)
                                                : steady_clock::time_point::max();
  milliseconds nextRunTimer = app::kRunTimerPeriod;
  milliseconds nextPresenceCheck = kPresenceCheckPeriod;
  const auto elapsed = [&] {
    return std::chrono::duration_cast<milliseconds>(steady_clock::now() - start);
  };
  const auto serviceTimers = [&] {
    run.OnIdle(elapsed());
    if (elapsed() >= nextRunTimer) {
      run.OnRunTimer();
      nextRunTimer += app::kRunTimerPeriod;
    }
    printer.PrintNew();
  };

  while (!Interrupted() && steady_clock::now() < deadline && !windows.exitRequested &&
         state.Monitoring() && !run.StopRequested()) {
    std::this_thread::sleep_for(kLoopPeriod);
    serviceTimers();
    if (elapsed() >= nextPresenceCheck) {
      nextPresenceCheck += kPresenceCheckPeriod;
      run.OnDeviceChange();
      if (state.SimulationMode == app::kModeBaudrate) PrintMeasuredBaud(context.analyzer);
    }
  }
  // A stop the run control made itself, a forced exit or a failed
  // acquisition: the run did not go as asked.
  const bool endedByItself = windows.exitRequested || !state.Monitoring() || run.StopRequested();
  run.Stop();
  while (run.StopRequested() || run.acquisition().Running()) {
    std::this_thread::sleep_for(kLoopPeriod);
    serviceTimers();
  }
  run.OnRunTimer();  // takes in a failure of the acquisition thread
  printer.PrintNew();
  printer.summary.Print();
  return !endedByItself && run.acquisition().LastErrorCode() == 0;
}

int RunRun(const Options& options) {
  TerminalAnalyzer connection;
  if (const auto exitCode = BeginAnalyzerCommand("run", connection)) return *exitCode;

  app::AppState state;
  state.ProgramFolder = analyzer::ProgramFolder();
  state.ConfigPath = options.configPath;
  state.LogPath = options.logPath;
  TerminalMessages messages([&state] { return state.ShutdownState == app::kShutdownNone; });
  const auto configuration = std::make_unique<app::Configuration>();
  app::LoadedDescription description;
  if (!ReadRunConfiguration(options, *configuration, description, messages)) return 2;

  if (!connection.Open(messages)) return Fail(kCannotOpenAnalyzerText);
  const analyzer::RegisterMap& map = connection.map();
  const auto monitorState = std::make_unique<monitor::MonitorState>();
  const auto master = std::make_unique<simulation::MasterRunState>();
  simulation::SlaveRunState slave;
  HeadlessWindows windows(state);
  const auto capture = std::make_unique<views::CaptureBuffer>();
  app::AppContext context{state, *configuration, *monitorState, map,         *master,
                          slave, messages,       windows,       description, *capture};

  bool ok = DownloadSettings(map, configuration->Options, configuration->Settings.Options,
                             configuration->Settings.Identifiers, options.linRevision, messages) &&
            SelectMode(context, options.mode);
  if (ok) {
    app::RunControl run(context);
    ok = run.Start() && Run(context, run, windows, options);
  }
  // A simulation does not outlive the command on the bus.
  if (state.SimulationMode != app::kModeNone) map.SetAnalyzerMode(analyzer::kAnalyzerModeNone);
  return ok ? 0 : 2;
}

}  // namespace

void AddRun(CommandLine& commandLine) {
  CLI::App& run = commandLine.AddCommand(commandLine.root(), "run",
                                         "run a configuration as the program's Start does");
  const auto options = std::make_shared<Options>();
  AddOptions(run, *options);
  commandLine.RunsWhenChosen(run, [options] { return RunRun(*options); });
}

}  // namespace orvane::cli
