// How a window of the program plugs into the main frame (CMainFrame).
//
// A window family (Monitor, Each ID, Capture, Status, the simulation and
// signal windows, Find) registers itself with the shell's WindowRegistry:
// which app::Window it is and how to make one. The shell opens, closes,
// places, titles and refreshes every family the same way; it has no branch
// per window.
//
// Threads: the user-interface thread only.
#pragma once

#include <QFont>
#include <functional>
#include <vector>

#include "analyzer/AnalyzerIdentity.h"
#include "app/AppContext.h"
#include "app/CommandRules.h"

class QWidget;

namespace orvane::app {
class RunControl;
}

namespace orvane::ui {

// What the shell offers its windows: the application's context (state,
// configuration, monitor data, analyzer, message boxes, window requests,
// LIN description, capture), the run control, the analyzer's identity, the
// shared display font of the traffic grids and the main window as the
// parent of dialogs.
struct ShellServices {
  const app::AppContext& context;
  app::RunControl& run;
  const analyzer::AnalyzerIdentity& identity;
  QFont gridFont;
  QWidget* mainWindow = nullptr;
};

// Implemented by the widget a family makes (for an MDI window: the widget
// inside its QMdiSubWindow). Each call has a default that ignores it.
class ShellView {
 public:
  virtual ~ShellView() = default;

  // "Refresh all views": `codes` are the ViewUpdateCode values as the main
  // frame set them before the refresh; the view acts on its family's code.
  // The shell resets all four codes once every view has seen them.
  virtual void OnViewUpdate(const app::ViewUpdateCodes& codes) { (void)codes; }
  // The monitor's each mode or its sort order changed.
  virtual void OnEachModePublished() {}
  // A run starts: capture and find markers and counters go back to none.
  virtual void OnResetCaptureAndFind() {}
  // The LIN description or the signal selection changed.
  virtual void OnSignalWindowsRefresh() {}
  // Monitoring started (true) or stopped (false); for the Find window.
  virtual void OnMonitoringChanged(bool monitoring) { (void)monitoring; }
};

// A family of windows. `create` makes one window: a QMdiSubWindow (the
// frame with its view as widget) that the shell adds to its MDI area, or any
// other widget, which the shell shows as a modeless tool window of the main
// window. The frame's widget, or the widget itself, implements ShellView.
// The window's caption must begin with app::WindowBaseName(window). The
// shell sets the family's AppState::WindowOpen flag when the window opens
// and clears it when the window is destroyed, applies the placement record
// when it opens and takes it back when it closes (frames only).
struct WindowFamily {
  app::Window window;
  std::function<QWidget*(const ShellServices& services)> create;
  // Optional: what the family keeps across its windows' lives and a start
  // of monitoring resets, also while none of its windows is open.
  std::function<void()> onRunStarting = {};
};

// A main frame command that a folder's windows carry out, such as a setup
// dialog of its own (the shell routes the command when it is available).
using CommandHandler = std::function<void(const ShellServices& services)>;

// The families and commands the program knows, filled once at start-up by
// each folder's registration function (RegisterMonitorWindows, ...).
class WindowRegistry {
 public:
  void Register(WindowFamily family);
  const WindowFamily* Find(app::Window window) const;
  const std::vector<WindowFamily>& families() const { return families_; }

  void RegisterCommand(app::MainCommand command, CommandHandler handler);
  // The registered handler, or null.
  const CommandHandler* FindCommand(app::MainCommand command) const;

 private:
  std::vector<WindowFamily> families_;
  std::vector<std::pair<app::MainCommand, CommandHandler>> commands_;
};

}  // namespace orvane::ui
