#include "app/ui/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <array>

#include "app/ConfigurationCommands.h"
#include "app/DescriptionCommands.h"
#include "app/ExitCommands.h"
#include "app/ExportCommands.h"
#include "app/LogCommands.h"
#include "app/ModeCommands.h"
#include "app/ReviewCommands.h"
#include "app/RunControl.h"
#include "app/WindowCommands.h"
#include "app/ui/CommandTable.h"
#include "app/ui/DescriptionReportDialog.h"
#include "app/ui/KeyCodes.h"
#include "app/ui/QtText.h"
#include "app/ui/ReviewOpen.h"
#include "signals/LdfReport.h"

namespace orvane::ui {
namespace {

using app::MainCommand;
using app::Window;

constexpr int kIdleTimerMs = 10;
constexpr int kPresenceCheckMs = 1000;

struct WindowCommand {
  MainCommand toggle;
  MainCommand front;
  Window window;
};

constexpr std::array kWindowCommands = {
    WindowCommand{MainCommand::kMonitorWindow, MainCommand::kFrontMonitor, Window::kMonitor},
    WindowCommand{MainCommand::kMasterMonitorWindow, MainCommand::kFrontMasterMonitor,
                  Window::kMasterMonitor},
    WindowCommand{MainCommand::kSlaveMonitorWindow, MainCommand::kFrontSlaveMonitor,
                  Window::kSlaveMonitor},
    WindowCommand{MainCommand::kStatusWindow, MainCommand::kFrontStatus, Window::kStatus},
    WindowCommand{MainCommand::kSignalSelectWindow, MainCommand::kFrontSignalSelect,
                  Window::kSignalSelect},
    WindowCommand{MainCommand::kSignalMonitorWindow, MainCommand::kFrontSignalMonitor,
                  Window::kSignalMonitor},
    WindowCommand{MainCommand::kCaptureWindow, MainCommand::kFrontCapture, Window::kCapture},
    WindowCommand{MainCommand::kEachIdWindow, MainCommand::kFrontEachId, Window::kEachId},
};

}  // namespace

CMainFrame::CMainFrame(const WindowRegistry& registry, app::AppState& state,
                       WindowPlacements& placements, FrameHooks hooks)
    : registry_(registry), state_(state), area_(new QMdiArea(this)) {
  hooks.updateDialogBar = [this] { UpdateCommandStates(); };
  hooks.setSaveCaptureEnabled = [this](bool enabled) {
    saveCaptureEnabled_ = enabled;
    UpdateCommandStates();
  };
  hooks.postExit = [this] {
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
  };
  windows_ = std::make_unique<MdiWindows>(*area_, registry, state, placements, std::move(hooks));
  setCentralWidget(area_);
  setAcceptDrops(true);
  BuildMenus();
  BuildDialogBar();
  BuildStatusBar();
}

CMainFrame::~CMainFrame() {
  qApp->removeEventFilter(this);
}

void CMainFrame::Attach(const app::AppContext& context, app::RunControl& run,
                        const ShellServices& services) {
  context_ = &context;
  run_ = &run;
  services_ = &services;
  windows_->SetServices(&services);
  BuildHandlers();
  UpdateCommandStates();
  qApp->installEventFilter(this);

  clock_.start();
  connect(&runTimer_, &QTimer::timeout, this, &CMainFrame::OnRunTimer);
  runTimer_.start(static_cast<int>(app::kRunTimerPeriod.count()));
  connect(&idleTimer_, &QTimer::timeout, this, [this] {
    // Stops itself once the run control has disarmed the tick.
    if (!run_->OnIdle(std::chrono::milliseconds(clock_.elapsed()))) idleTimer_.stop();
  });
  idleTimer_.setInterval(kIdleTimerMs);
  connect(&presenceTimer_, &QTimer::timeout, this, [this] {
    run_->OnDeviceChange();
    UpdateCommandStates();
  });
  presenceTimer_.start(kPresenceCheckMs);
}

void CMainFrame::BuildMenus() {
  std::map<MenuName, QMenu*> menus;
  const auto addMenu = [&](const MenuTitle& title) {
    QMenu* parent = title.submenuOfConfiguration ? menus.at(MenuName::kConfiguration) : nullptr;
    if (parent != nullptr) parent->addSeparator();
    QMenu* menu = parent != nullptr ? parent->addMenu(QtText(title.title))
                                    : menuBar()->addMenu(QtText(title.title));
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    menus[title.menu] = menu;
  };
  // Sub-menus take their place among their parent's entries when their
  // first entry comes.
  for (const MenuTitle& title : MenuTitles()) {
    if (!title.submenuOfConfiguration) addMenu(title);
  }
  for (const MenuEntry& entry : MenuEntries()) {
    if (!menus.contains(entry.menu)) {
      for (const MenuTitle& title : MenuTitles()) {
        if (title.menu == entry.menu) addMenu(title);
      }
    }
    QMenu* menu = menus.at(entry.menu);
    if (entry.separatorBefore) menu->addSeparator();
    QAction* action = menu->addAction(QtText(entry.text));
    if (!entry.shortcut.empty()) action->setShortcut(QKeySequence(QtText(entry.shortcut)));
    // Only the modes and the windows carry check marks.
    action->setCheckable(entry.menu == MenuName::kMode || entry.menu == MenuName::kView);
    const MainCommand command = entry.command;
    connect(action, &QAction::triggered, this, [this, command] { Execute(command); });
    actions_[command] = action;
  }
  // The each-mode commands have no menu entry of their own: the Monitor
  // window's context menu and the View menu's "Each Mode" group carry them.
  QMenu* eachMode = menus.at(MenuName::kView)->addMenu(QStringLiteral("Each &Mode"));
  connect(eachMode, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
  for (const MenuEntry& entry : EachModeEntries()) {
    QAction* action = eachMode->addAction(QtText(entry.text));
    action->setCheckable(true);
    const MainCommand command = entry.command;
    connect(action, &QAction::triggered, this, [this, command] { Execute(command); });
    actions_[command] = action;
  }
}

void CMainFrame::BuildDialogBar() {
  QToolBar* bar = addToolBar(QStringLiteral("Dialog Bar"));
  bar->setMovable(false);
  bar->setObjectName(QStringLiteral("DialogBar"));
  for (const DialogBarButton& button : DialogBarButtons()) {
    auto* push = new QPushButton(QtText(button.text), bar);
    push->setFocusPolicy(Qt::NoFocus);
    const MainCommand command = button.command;
    connect(push, &QPushButton::clicked, this, [this, command] { Execute(command); });
    bar->addWidget(push);
    buttons_[command] = push;
  }
}

void CMainFrame::BuildStatusBar() {
  statusBar()->showMessage(QStringLiteral("Ready"));
  for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
    auto* label = new QLabel(QString::fromLatin1(indicator), statusBar());
    label->setEnabled(false);
    statusBar()->addPermanentWidget(label);
  }
}

void CMainFrame::BuildHandlers() {
  const app::AppContext& context = *context_;
  app::RunControl& run = *run_;
  const auto add = [this](MainCommand command, std::function<void()> handler) {
    handlers_[command] = std::move(handler);
  };
  add(MainCommand::kLoadConfiguration,
      [&context] { app::LoadConfiguration(context, context.description); });
  add(MainCommand::kSaveConfigurationAs, [&context] { app::SaveConfigurationAs(context); });
  add(MainCommand::kSaveConfiguration, [&context] { app::SaveConfiguration(context); });
  add(MainCommand::kLoadLinDescription, [&context] { app::LoadLinDescriptionFile(context); });
  add(MainCommand::kSaveMonitorLog, [&context] { app::SaveMonitorLog(context); });
  add(MainCommand::kCopyMonitorLog, [&context] {
    if (const auto text = app::CopyMonitorLog(context)) {
      QApplication::clipboard()->setText(QString::fromStdString(*text));
    }
  });
  add(MainCommand::kSaveCaptureLog, [&context] { app::SaveCaptureLog(context); });
  add(MainCommand::kOpenMonitorLog, [this, &context] {
    if (const auto path = app::ChooseReviewFile(context)) OpenReview(*path);
  });
  add(MainCommand::kExportMonitorPcapng, [&context] { app::ExportMonitorPcapng(context); });
  add(MainCommand::kExportCapturePcapng, [&context] { app::ExportCapturePcapng(context); });
  add(MainCommand::kExportSignalsCsv, [&context] { app::ExportSignalsCsv(context); });
  add(MainCommand::kDescriptionReport, [this, &context] {
    if (const signals::LinDescription* description = context.description.Description()) {
      DescriptionReportDialog(signals::DescriptionReport(*description), this).exec();
    }
  });
  add(MainCommand::kExit, [&context] { app::RequestExit(context); });
  add(MainCommand::kStart, [&run] { run.Start(); });
  add(MainCommand::kStartButton, [&run] { run.Start(); });
  add(MainCommand::kStop, [&run] { run.Stop(); });
  add(MainCommand::kStopButton, [&run] { run.Stop(); });
  add(MainCommand::kCapture, [&context] { app::TakeCapture(context); });
  add(MainCommand::kModeNone, [&context] { app::ChangeMode(context, app::kModeNone); });
  add(MainCommand::kModeMaster, [&context] { app::ChangeMode(context, app::kModeMaster); });
  add(MainCommand::kModeSlave, [&context] { app::ChangeMode(context, app::kModeSlave); });
  add(MainCommand::kModeBaudrate, [&context] { app::ChangeToBaudrateMeasurement(context); });
  for (const WindowCommand& entry : kWindowCommands) {
    const Window window = entry.window;
    add(entry.toggle, [&context, window] { app::ToggleWindow(context, window); });
    add(entry.front, [&context, window] { app::BringWindowToFront(context, window); });
    windowOfCommand_[entry.toggle] = window;
    windowOfCommand_[entry.front] = window;
  }
  add(MainCommand::kFindWindow, [&context] { app::ShowFindWindow(context); });
  windowOfCommand_[MainCommand::kFindWindow] = Window::kFind;
  add(MainCommand::kSignalPlotWindow,
      [&context] { app::ToggleWindow(context, Window::kSignalPlot); });
  windowOfCommand_[MainCommand::kSignalPlotWindow] = Window::kSignalPlot;
  windowOfCommand_[MainCommand::kCapture] = Window::kCapture;
  add(MainCommand::kStandardLayout, [&context] { app::ApplyStandardLayout(context); });
  add(MainCommand::kManual, [&context] { app::OpenManual(context); });
  add(MainCommand::kToggleEachMode, [&context] { app::ToggleEachMode(context); });
  add(MainCommand::kEachModeOrderOfId, [&context] { app::SelectEachModeOrder(context, 0); });
  add(MainCommand::kEachModeOrderOfNode, [&context] { app::SelectEachModeOrder(context, 1); });
}

bool CMainFrame::OpenReview(const std::string& path) {
  if (context_ == nullptr ||
      !app::CommandStateOf(MainCommand::kOpenMonitorLog, state_, context_->configuration).enabled) {
    return false;
  }
  const bool shown = OpenReviewFile(this, *context_, path);
  UpdateCommandStates();
  return shown;
}

QAction* CMainFrame::ActionOf(MainCommand command) const {
  const auto it = actions_.find(command);
  return it == actions_.end() ? nullptr : it->second;
}

QPushButton* CMainFrame::ButtonOf(MainCommand command) const {
  const auto it = buttons_.find(command);
  return it == buttons_.end() ? nullptr : it->second;
}

void CMainFrame::Execute(MainCommand command) {
  if (context_ == nullptr) return;
  if (!app::CommandStateOf(command, state_, context_->configuration).enabled) return;
  if (const auto it = handlers_.find(command); it != handlers_.end()) {
    it->second();
  } else if (const CommandHandler* handler = registry_.FindCommand(command)) {
    (*handler)(*services_);
  }
  UpdateCommandStates();
}

void CMainFrame::UpdateCommandStates() {
  if (context_ == nullptr) return;
  // The simulation tick's timer runs only while the run control has armed
  // it (a simulation run is monitored).
  if (run_->SimulationTickArmed() && !idleTimer_.isActive()) idleTimer_.start();
  // A command that nothing in this program carries out, or whose window
  // no family makes, is shown but never offered.
  const auto handled = [this](MainCommand command) {
    if (const auto window = windowOfCommand_.find(command); window != windowOfCommand_.end()) {
      return registry_.Find(window->second) != nullptr;
    }
    return handlers_.contains(command) || registry_.FindCommand(command) != nullptr;
  };
  for (const auto& [command, action] : actions_) {
    const app::CommandState rule = app::CommandStateOf(command, state_, context_->configuration);
    action->setEnabled(rule.enabled && handled(command));
    action->setChecked(rule.checked);
  }
  for (const auto& [command, button] : buttons_) {
    bool enabled = app::CommandStateOf(command, state_, context_->configuration).enabled;
    if (command == MainCommand::kSaveCaptureLog) enabled = enabled && saveCaptureEnabled_;
    button->setEnabled(enabled && handled(command));
  }
}

void CMainFrame::OnRunTimer() {
  run_->OnRunTimer();
  UpdateCommandStates();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (run_ != nullptr && (event->type() == QEvent::KeyPress) && watched->isWidgetType()) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!key->isAutoRepeat()) {
      if (const auto code = VirtualKeyOf(key->key()); code && run_->OnKeyDown(*code)) return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (context_ != nullptr && !app::ConfirmClose(*context_)) {
    event->ignore();
    return;
  }
  runTimer_.stop();
  idleTimer_.stop();
  presenceTimer_.stop();
  if (onClosing) onClosing();
  event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  // A dropped log or capture is opened for review, a dropped configuration
  // file loaded as Load would, while stopped.
  for (const QUrl& url : event->mimeData()->urls()) {
    if (!url.isLocalFile() || context_ == nullptr || !state_.MonitorStopped) continue;
    const std::string path = url.toLocalFile().toStdString();
    event->acceptProposedAction();
    if (app::IsReviewFileName(path)) {
      OpenReview(path);
      return;
    }
    app::LoadConfigurationFrom(*context_, context_->description, path);
    UpdateCommandStates();
    return;
  }
}

}  // namespace orvane::ui
