// The master simulation monitor's MDI child frame: caption "Master
// Simulation Monitor Window", a sizing border, minimise and close buttons;
// its widget is the form CMastMonitFView. The shell keeps the window's open
// flag and placement.
//
// Threads: the user-interface thread only.
#pragma once

#include <QMdiSubWindow>

#include "app/ui/ShellView.h"

namespace orvane::ui {

class CMastMonitFView;

class CMastMonitFrame final : public QMdiSubWindow {
  Q_OBJECT

 public:
  explicit CMastMonitFrame(const ShellServices& services);

  CMastMonitFView& view() const { return *view_; }

 private:
  CMastMonitFView* view_;
};

// Registers the master simulation monitor window with the shell.
void RegisterMasterMonitorWindow(WindowRegistry& registry);

}  // namespace orvane::ui
