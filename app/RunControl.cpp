#include "app/RunControl.h"

#include <chrono>
#include <utility>

#include "settings/FixedText.h"
#include "settings/LogFileName.h"
#include "app/ReviewCommands.h"
#include "monitor/MessageCatalogue.h"
#include "simulation/SlotNames.h"

namespace orvane::app {

namespace {

bool CanForceShutdown(const AppContext& context) {
  return context.state.ShutdownState == kShutdownNone && context.messages.CanShow();
}

// A fatal error: no further message or question, the box, then the exit.
void ForceShutdown(const AppContext& context, std::string_view text) {
  context.state.ShutdownState = kShutdownForced;
  monitor::ShowErrorBox(context.messages, text, monitor::MessageIcon::kStop);
  context.windows.PostExitCommand();
}

void TellRunViews(const AppContext& context, ViewUpdate code) {
  ViewUpdateCodes& codes = context.state.ViewUpdateCode;
  codes.Monitor = code;
  codes.Status = code;
  codes.Slave = code;
  context.windows.RefreshAllViews();
}

// The live log's name for this run.
void FormRunLogPath(const AppContext& context) {
  const settings::OptionSettingsExt& options = context.configuration.Settings.Options;
  std::string& logPath = context.state.LogPath;
  logPath = settings::FormLogFileName(logPath, options.LogNumbering != 0,
                                      settings::FieldText(options.LogNumber));
}

void AdvanceLogNumber(const AppContext& context) {
  const Configuration& configuration = context.configuration;
  settings::OptionSettingsExt& options = context.configuration.Settings.Options;
  if (configuration.Options.LoggingEnabled == 0 || options.LogNumbering == 0) return;
  settings::CopyToField(settings::AdvanceLogNumber(settings::FieldText(options.LogNumber)),
                        options.LogNumber);
}

}  // namespace

RunControl::RunControl(const AppContext& context, std::chrono::milliseconds acquisitionPollInterval)
    : context_(context),
      acquisitionPollInterval_(acquisitionPollInterval),
      acquisition_(context.analyzer.link(), context.monitor, context.messages),
      session_(context.analyzer.link(), context.monitor, acquisition_, context.messages) {}

RunControl::~RunControl() = default;

bool RunControl::Start() {
  AppState& state = context_.state;
  if (!state.MonitorStopped) return false;

  const bool ok = PrepareSimulation();
  if (ok) {
    FormRunLogPath(context_);
    state.MonitorStopped = 0;
    context_.windows.ResetCaptureAndFind();
    if (state.WindowOpen[Window::kFind]) context_.windows.NotifyFindWindow(true);
    TellRunViews(context_, kUpdateMonitoringStarted);
    // The previous run's thread, told to stop, ends within one poll and may
    // still read its node order until then.
    acquisition_.Join();
    EndReview(context_);
    state.Recording = state.Analyzer;
    state.Recording.startUnixMilliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::system_clock::now().time_since_epoch())
            .count();
    runNodeOrder_ = context_.description.NodeOrder();
    analyzer::AcquisitionSettings settings = MakeAcquisitionSettings(context_);
    settings.stopPollInterval = acquisitionPollInterval_;
    if (session_.Start(std::move(settings))) {
      state.AcquisitionRunning = 1;
      ArmTick(state.SimulationMode != kModeNone);
    } else {
      // The views were told of a start that did not happen.
      state.MonitorStopped = 1;
      TellRunViews(context_, kUpdateMonitoringStopped);
    }
  }
  context_.windows.UpdateDialogBar();
  state.SortOrder = context_.configuration.Settings.Options.SortOrder;
  return state.Monitoring();
}

bool RunControl::PrepareSimulation() {
  bool ok = true;
  const std::int32_t mode = context_.state.SimulationMode;
  if (mode == kModeMaster) {
    simulation::MasterSimulation master = MasterSimulationOf(context_);
    ok = simulation::StartMasterRun(master);
  } else if (mode == kModeSlave) {
    simulation::SlaveSimulation slave = SlaveSimulationOf(context_);
    ok = simulation::StartSlaveRun(slave);
  }
  if (mode != kModeNone) context_.master.PatternEndReached = false;
  return ok;
}

void RunControl::Stop() {
  const AppState& state = context_.state;
  if (!state.Monitoring() || session_.StopRequested()) return;
  session_.RequestStop();
  ArmTick(false);
  AdvanceLogNumber(context_);
  if (state.WindowOpen[Window::kFind]) context_.windows.NotifyFindWindow(false);
}

void RunControl::OnRunTimer() {
  if (session_.StopRequested()) {
    if (session_.OnStopTick()) EndRun();
    return;
  }
  if (context_.monitor.AcquisitionFailed.load() && !acquisition_.Running()) OnAcquisitionFailed();
}

void RunControl::OnAcquisitionFailed() {
  context_.monitor.AcquisitionFailed.store(false);
  EndRun();
  if (acquisition_.LastErrorCode() == analyzer::kAcquisitionLogFailed) {
    // The analyzer is fine and still monitoring: stop it, keep the program.
    context_.analyzer.link().MonitorStop();
    return;
  }
  if (CanForceShutdown(context_)) ForceShutdown(context_, kUsbCommunicationErrorText);
}

// Back to stopped once the acquisition thread has been told to end or has
// ended by itself.
void RunControl::EndRun() {
  AppState& state = context_.state;
  ArmTick(false);
  state.MonitorStopped = 1;
  state.AcquisitionRunning = 0;
  TellRunViews(context_, kUpdateMonitoringStopped);
  context_.windows.UpdateDialogBar();
}

void RunControl::ArmTick(bool armed) {
  tickArmed_ = armed;
  lastTick_.reset();
}

bool RunControl::OnIdle(std::chrono::milliseconds now) {
  if (!tickArmed_) return false;
  if (!lastTick_) {
    lastTick_ = now;
  } else if (now - *lastTick_ >= kSimulationTickPeriod) {
    lastTick_ = now;
    OnSimulationTick();
  }
  return tickArmed_;
}

void RunControl::OnSimulationTick() {
  AppState& state = context_.state;
  if (!state.Monitoring() || state.SimTickArmed != 1) return;
  state.SimTickArmed = 0;
  if (state.SimulationMode == kModeMaster) {
    simulation::MasterSimulation master = MasterSimulationOf(context_);
    if (simulation::MasterTick(master) == simulation::TickResult::kDownloadFailed) {
      Stop();
      monitor::ShowErrorMessage(context_.messages, simulation::kRunningDownloadFailedMessage);
    }
  } else if (state.SimulationMode == kModeSlave) {
    simulation::SlaveSimulation slave = SlaveSimulationOf(context_);
    simulation::SlaveTick(slave);
  }
  state.SimTickArmed = 1;
}

bool RunControl::OnKeyDown(std::int32_t key) {
  const AppState& state = context_.state;
  if (!state.Monitoring()) return false;
  if (state.SimulationMode == kModeMaster) {
    simulation::MasterSimulation master = MasterSimulationOf(context_);
    simulation::MasterKey(master, key);
  } else if (state.SimulationMode == kModeSlave) {
    simulation::SlaveSimulation slave = SlaveSimulationOf(context_);
    simulation::SlaveKey(slave, key);
  } else {
    return false;
  }
  return key == simulation::kKeyF10;
}

std::int32_t RunControl::OnDeviceChange() {
  AppState& state = context_.state;
  const std::int32_t present = context_.analyzer.link().CheckUSB();
  if (present != 0 || state.DeviceLost) return present;
  state.DeviceLost = 1;
  if (state.Monitoring()) {
    session_.RequestStop();
    ArmTick(false);
  }
  if (CanForceShutdown(context_)) ForceShutdown(context_, kUsbDisconnectedText);
  return present;
}

bool RunControl::SelectSchedule(std::size_t schedule, simulation::Reselect reselect) {
  simulation::MasterSimulation master = MasterSimulationOf(context_);
  return simulation::SelectSchedule(master, schedule, context_.state.Monitoring(), reselect);
}

}  // namespace orvane::app
