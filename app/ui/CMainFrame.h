// The multi-document main window: menus and dialog bar built from the
// command table, the status bar, the MDI area with the registered window
// families, and the timers that drive the run control (timer 3 every
// 200 ms, the 50 ms simulation tick, the 1 s presence check of the
// analyzer). It dispatches every command to the core (RunControl and the
// command functions of app/) and holds no run logic of its own.
//
// Threads: the user-interface thread.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/AppContext.h"
#include "app/CommandRules.h"
#include "app/ui/MdiWindows.h"
#include "app/ui/SavedState.h"
#include "app/ui/ShellView.h"

class QAction;
class QMdiArea;
class QPushButton;

namespace orvane::app {
class RunControl;
}

namespace orvane::ui {

class CMainFrame final : public QMainWindow {
 public:
  CMainFrame(const WindowRegistry& registry, app::AppState& state, WindowPlacements& placements,
             FrameHooks hooks);
  ~CMainFrame() override;

  // The window requests the core's context is made with.
  MdiWindows& windows() { return *windows_; }
  QMdiArea& area() { return *area_; }

  // Connects the frame to the application once the context exists; the
  // timers start here.
  void Attach(const app::AppContext& context, app::RunControl& run, const ShellServices& services);

  // Runs a command when it is available now (menu, dialog bar, tests).
  void Execute(app::MainCommand command);
  // Availability and check marks of the menus and the dialog bar, again.
  void UpdateCommandStates();
  QAction* ActionOf(app::MainCommand command) const;
  // Reads a saved log or capture and shows it for review, while stopped.
  bool OpenReview(const std::string& path);
  QPushButton* ButtonOf(app::MainCommand command) const;

  // What the frame does as it goes: called once the close was accepted,
  // before any window is destroyed.
  std::function<void()> onClosing;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenus();
  void BuildDialogBar();
  void BuildStatusBar();
  void BuildHandlers();
  void OnRunTimer();

  const WindowRegistry& registry_;
  app::AppState& state_;
  QMdiArea* area_;
  std::unique_ptr<MdiWindows> windows_;
  const app::AppContext* context_ = nullptr;
  app::RunControl* run_ = nullptr;
  const ShellServices* services_ = nullptr;

  std::map<app::MainCommand, std::function<void()>> handlers_;
  std::map<app::MainCommand, app::Window> windowOfCommand_;  // commands that need a window family
  std::map<app::MainCommand, QAction*> actions_;
  std::map<app::MainCommand, QPushButton*> buttons_;
  bool saveCaptureEnabled_ = false;

  QTimer runTimer_;       // timer 3: 200 ms
  QTimer idleTimer_;      // drives the 50 ms simulation tick while it is armed
  QTimer presenceTimer_;  // CheckUSB every second
  QElapsedTimer clock_;
};

}  // namespace orvane::ui
