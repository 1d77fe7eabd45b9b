#include "app/ui/COrvaneApp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <cstdio>

#include "analyzer/OpenAnalyzer.h"
#include "analyzer/Sleep.h"
#include "app/ExitCommands.h"
#include "app/ReviewCommands.h"
#include "app/Startup.h"
#include "app/WindowCommands.h"
#include "app/WindowTitles.h"
#include "app/ui/Artwork.h"
#include "app/ui/CLinRevDlg.h"
#include "app/ui/DialogFirmwareUpdatePrompt.h"
#include "app/ui/FileDialogs.h"
#include "app/ui/ProgramWindows.h"
#include "app/ui/VirtualAnalyzerMenu.h"
#include "simulation/MasterCompile.h"

namespace orvane::ui {
namespace {

QString LanguageCodeOfSystem() {
  return QLocale::system().language() == QLocale::Japanese ? QStringLiteral("JPN")
                                                           : QStringLiteral("ENG");
}

// The traffic grids' font: the system's fixed-width font, or a CJK
// monospace font for Japanese when one is installed, 11 pixels high like
// the grid font the column widths were made for, so that a default-sized
// Monitor window shows every column.
QFont GridFont(const std::string& languageCode) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  if (languageCode == "JPN" &&
      QFontDatabase::families().contains(QStringLiteral("Noto Sans Mono CJK JP"))) {
    font = QFont(QStringLiteral("Noto Sans Mono CJK JP"));
  }
  font.setPixelSize(11);
  return font;
}

// Where the main frame starts without a stored placement: the small-screen
// sizes, otherwise room for the Monitor and Status windows side by side.
QRect DefaultMainGeometry() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int height = screen != nullptr ? screen->geometry().height() : 0;
  if (height == 480) return QRect(0, 0, 640, 480);
  if (height == 600) return QRect(0, 0, 768, 537);
  return QRect(40, 40, 1000, 720);
}

}  // namespace

COrvaneApp::COrvaneApp(AppEnvironment environment)
    : environment_(std::move(environment)),
      configuration_(std::make_unique<app::Configuration>()),
      monitor_(std::make_unique<monitor::MonitorState>()),
      capture_(std::make_unique<views::CaptureBuffer>()),
      master_(std::make_unique<simulation::MasterRunState>()),
      messages_(state_, environment_.presentMessage),
      instance_(environment_.instanceName) {}

COrvaneApp::~COrvaneApp() {
  splash_.reset();
  run_.reset();  // ends a running acquisition thread
  frame_.reset();
  if (analyzerOpened_) {
    binding_.api->MonitorStop();
    binding_.api->CloseUSB();
  }
}

int COrvaneApp::Run(const QStringList& arguments) {
  if (const std::optional<int> ended = Start(arguments)) return *ended;
  QApplication::exec();
  return startFailed_ ? kExitStartFailed : kExitOk;
}

std::optional<int> COrvaneApp::Start(const QStringList& arguments) {
  QCommandLineParser parser;
  const QCommandLineOption noSplash(QStringLiteral("nosplash"),
                                    QStringLiteral("Start without the splash window."));
  parser.addOption(noSplash);
  parser.addPositionalArgument(QStringLiteral("file"),
                               QStringLiteral("Configuration file, or a log or capture to review."));
  parser.parse(QStringList{QStringLiteral("orvane")} + arguments);
  const bool splashWanted = !parser.isSet(noSplash);

  if (!instance_.Acquire()) return kExitOk;  // the running one was raised

  state_.LanguageCode = LanguageCodeOfSystem().toStdString();
  state_.ProgramFolder =
      environment_.programFolder.empty() ? analyzer::ProgramFolder() : environment_.programFolder;
  state_.IdentifierFieldMode = "IDEN";
  state_.DataRadix = "HEX";
  if (!BindLink()) return kExitStartFailed;
  const QStringList positional = parser.positionalArguments();
  const QString file = positional.isEmpty() ? QString() : positional.first();
  const bool review = app::IsReviewFileName(file.toStdString());
  if (review) reviewPath_ = file.toStdString();
  RestoreSavedState(review ? QString() : file);
  CreateMainFrame();
  state_.ViewUpdateCode = {};
  monitor_->AcquisitionFailed = false;
  app::RetitleMainFrame(*context_);

  if (splashWanted) {
    splash_ = std::make_unique<CSplashWnd>(identity_, QString::fromStdString(state_.LanguageCode));
    splash_->show();
    QCoreApplication::processEvents();  // painted before the analyzer is opened
  }
  if (!OpenTheAnalyzer()) {
    if (state_.ShutdownState != app::kShutdownForced) {
      state_.ShutdownState = app::kShutdownForced;
      monitor::ShowErrorBox(messages_, kInitializationErrorText, monitor::MessageIcon::kStop);
    }
    startFailed_ = true;
    return kExitStartFailed;
  }
  if (splash_ && splash_->Showing()) {
    splash_->update();  // now with the analyzer's versions and serial number
    splash_->OnHidden([this] { PostInitialize(); });
  } else {
    PostInitialize();
  }
  return startFailed_ ? std::optional<int>(kExitStartFailed) : std::nullopt;
}

bool COrvaneApp::BindLink() {
  binding_ = environment_.bindLink(state_.ProgramFolder);
  if (binding_.api) {
    map_.emplace(*binding_.api, analyzer::RealSleep());
    return true;
  }
  // Without a main window the reason goes to the terminal as well.
  std::fprintf(stderr, "orvane: %s\n", binding_.error.c_str());
  monitor::ShowErrorBox(messages_, std::string(kInitializationErrorText) + "\n" + binding_.error,
                        monitor::MessageIcon::kStop);
  return false;
}

void COrvaneApp::RestoreSavedState(const QString& commandLineFile) {
  std::string candidate = commandLineFile.toStdString();
  if (candidate.empty()) candidate = ReadStoredString("LastPath").value_or("");
  app::RestoreConfiguration(candidate, state_, *configuration_, description_, messages_);
  placements_ = ReadPlacements();
  state_.LogPath = ReadStoredString("LogPath").value_or("");
  simulation::CompileAll(configuration_->Schedules, configuration_->InterruptSlot, *master_,
                         messages_);
  simulation::CompileSlaveTable(configuration_->SlaveResponses, slave_, messages_);
  state_.MonitorStopped = 1;
  for (const app::Window window : {app::Window::kSignalSelect, app::Window::kSignalMonitor,
                                   app::Window::kEachId, app::Window::kCapture}) {
    state_.WindowOpen[window] = false;
  }
}

void COrvaneApp::CreateMainFrame() {
  RegisterProgramWindows(registry_);
  FrameHooks hooks;
  hooks.chooseFile = environment_.chooseFile;
  if (!hooks.chooseFile) {
    hooks.chooseFile = [](const app::FileDialogRequest& request) {
      return RunFileDialog(QApplication::activeWindow(), request);
    };
  }
  hooks.openWithShell = OpenWithDesktop;
  frame_ = std::make_unique<CMainFrame>(registry_, state_, placements_, std::move(hooks));
  frame_->setWindowIcon(ProgramIcon());
  if (placements_.mainValid && !placements_.main.Empty()) {
    const app::WindowPlacement& main = placements_.main;
    frame_->setGeometry(main.left, main.top, main.right - main.left, main.bottom - main.top);
  } else {
    frame_->setGeometry(DefaultMainGeometry());
  }
  messages_.SetMainWindow(frame_.get());
  context_.emplace(app::AppContext{state_, *configuration_, *monitor_, *map_, *master_, slave_,
                                   messages_, frame_->windows(), description_, *capture_});
  run_ = std::make_unique<app::RunControl>(*context_);
  messages_.BeforeWorkerMessage([this] {
    if (state_.Monitoring()) run_->OnDeviceChange();
  });
  services_.emplace(
      ShellServices{*context_, *run_, identity_, GridFont(state_.LanguageCode), frame_.get()});
  frame_->Attach(*context_, *run_, *services_);
  frame_->onClosing = [this] { OnMainFrameClosing(); };
  instance_.OnSecondStart([frame = frame_.get()] {
    if (frame->isMinimized()) frame->showNormal();
    frame->raise();
    frame->activateWindow();
  });
  frame_->show();
}

bool COrvaneApp::OpenTheAnalyzer() {
  DialogFirmwareUpdatePrompt firmwareUpdate(*map_, messages_, state_.ProgramFolder, frame_.get());
  analyzer::OpenAnalyzerUi ui{firmwareUpdate, messages_,
                              [this] { state_.ShutdownState = app::kShutdownForced; }};
  const simulation::MasterRunSettings& run = configuration_->MasterRun;
  const bool opened = analyzer::OpenAnalyzer(
      *map_, identity_,
      analyzer::SimulationSwitches{static_cast<std::uint32_t>(run.ScheduleModeOn),
                                   static_cast<std::uint32_t>(run.InterruptModeOn)},
      ui);
  // A connection is made even when a later step failed; it is closed at exit.
  analyzerOpened_ = true;
  state_.Analyzer = {identity_.firmwareName, identity_.serialNumber, identity_.firmwareVersion, {}};
  if (opened) AddVirtualAnalyzerMenu(*frame_, binding_.virtualControl);
  return opened;
}

void COrvaneApp::PostInitialize() {
  if (frame_ && state_.ShutdownState == app::kShutdownNone) {
    const std::uint32_t current = configuration_->Settings.LinRevision;
    const auto chosen = environment_.chooseLinRevision
                            ? environment_.chooseLinRevision(frame_.get(), current)
                            : CLinRevDlg::Ask(frame_.get(), current);
    if (chosen) configuration_->Settings.LinRevision = *chosen;
  }
  app::ApplyLinRevision(*configuration_);
  const settings::SettingsRecord& settings = configuration_->Settings;
  if (!app::DownloadSettings(*map_, configuration_->Options, settings.Options,
                             settings.Identifiers, settings.LinRevision)) {
    FailStart();
    return;
  }
  frame_->windows().PublishEachMode();
  context_->windows.OpenWindow(app::Window::kMonitor);
  context_->windows.OpenWindow(app::Window::kStatus);
  app::BringWindowToFront(*context_, app::Window::kMonitor);
  if (!reviewPath_.empty()) frame_->OpenReview(reviewPath_);
  app::RetitleMonitorWindow(*context_);
  frame_->UpdateCommandStates();
}

void COrvaneApp::FailStart() {
  startFailed_ = true;
  if (state_.ShutdownState != app::kShutdownNone) return;
  monitor::ShowErrorBox(messages_, kInitializationErrorText, monitor::MessageIcon::kStop);
  state_.ShutdownState = app::kShutdownForced;
  context_->windows.PostExitCommand();
}

void COrvaneApp::OnMainFrameClosing() {
  frame_->windows().CloseAll();
  const app::ExitWriteResult written = app::ShutDownMainFrame(*context_, description_);
  if (!written.write.ok) {
    std::fprintf(stderr, "orvane: the configuration was not written to %s: %s\n",
                 written.configPath.c_str(), written.write.error.c_str());
  } else if (std::filesystem::path(written.configPath).parent_path() != state_.ProgramFolder) {
    std::fprintf(stderr, "orvane: configuration written to %s\n", written.configPath.c_str());
  }
  WriteStoredString("LastPath", written.configPath);
  const QRect normal = frame_->normalGeometry();
  placements_.main =
      app::NormalPlacement(normal.left(), normal.top(), normal.width(), normal.height());
  WritePlacements(placements_);
  WriteStoredString("LogPath", state_.LogPath);
}

}  // namespace orvane::ui
