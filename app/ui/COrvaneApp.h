// The application object: start-up in order (single instance, language,
// program folder, the link library, the configuration and saved state, the
// main frame, the analyzer with its firmware check under the splash, the
// LIN revision and the settings download, the first windows), the life of
// every application-wide part, and the shutdown after the main frame has
// closed (configuration and saved state written, monitor stopped, link
// closed).
//
// Threads: the user-interface thread.
#pragma once

#include <QStringList>
#include <memory>
#include <optional>

#include "analyzer/AnalyzerIdentity.h"
#include "analyzer/LinkApi.h"
#include "analyzer/RegisterMap.h"
#include "app/AppContext.h"
#include "app/AppState.h"
#include "app/Configuration.h"
#include "app/LoadedDescription.h"
#include "app/RunControl.h"
#include "app/ui/AppEnvironment.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CSplashWnd.h"
#include "app/ui/GuiMessageSink.h"
#include "app/ui/SavedState.h"
#include "app/ui/ShellView.h"
#include "app/ui/SingleInstance.h"
#include "monitor/MonitorState.h"
#include "simulation/MasterRun.h"
#include "simulation/SlaveSimulation.h"
#include "views/Capture.h"

namespace orvane::ui {

// Exit statuses of the program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitStartFailed = 1;

inline constexpr char kInitializationErrorText[] =
    "An error occurred during initialization.    \nApplication cannot be started.    ";

class COrvaneApp {
 public:
  explicit COrvaneApp(AppEnvironment environment = {});
  ~COrvaneApp();
  COrvaneApp(const COrvaneApp&) = delete;
  COrvaneApp& operator=(const COrvaneApp&) = delete;

  // Runs start-up with the program's arguments (without the program name):
  // an optional configuration file (or a log or capture to review) and
  // --nosplash. Returns the exit status
  // when the program must end now (a second instance, a failed start),
  // nothing when it runs.
  std::optional<int> Start(const QStringList& arguments);
  // Start, then the event loop until the main frame has closed; the exit
  // status.
  int Run(const QStringList& arguments);

  // What tests look at.
  CMainFrame* mainFrame() { return frame_.get(); }
  app::AppState& state() { return state_; }
  app::Configuration& configuration() { return *configuration_; }
  monitor::MonitorState& monitorState() { return *monitor_; }
  app::RunControl* runControl() { return run_.get(); }
  const analyzer::RegisterMap& analyzerMap() const { return *map_; }
  CSplashWnd* splash() { return splash_.get(); }
  // Set when start-up failed after the main frame existed.
  bool StartFailed() const { return startFailed_; }

 private:
  bool BindLink();
  void RestoreSavedState(const QString& commandLineFile);
  void CreateMainFrame();
  bool OpenTheAnalyzer();
  void PostInitialize();
  void FailStart();
  void OnMainFrameClosing();

  AppEnvironment environment_;
  app::AppState state_;
  std::unique_ptr<app::Configuration> configuration_;
  std::unique_ptr<monitor::MonitorState> monitor_;
  app::LoadedDescription description_;
  std::unique_ptr<views::CaptureBuffer> capture_;
  std::unique_ptr<simulation::MasterRunState> master_;
  simulation::SlaveRunState slave_;
  analyzer::AnalyzerIdentity identity_;
  analyzer::LinkBinding binding_;
  std::optional<analyzer::RegisterMap> map_;
  bool analyzerOpened_ = false;
  // A log or capture named on the command line, opened once started.
  std::string reviewPath_;

  GuiMessageSink messages_;
  WindowRegistry registry_;
  WindowPlacements placements_;
  SingleInstance instance_;
  std::unique_ptr<CMainFrame> frame_;
  std::optional<app::AppContext> context_;
  std::unique_ptr<app::RunControl> run_;
  std::optional<ShellServices> services_;
  std::unique_ptr<CSplashWnd> splash_;
  bool startFailed_ = false;
};

}  // namespace orvane::ui
