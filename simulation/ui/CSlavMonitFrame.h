// The slave simulation monitor's MDI child frame: caption "Slave
// Simulation Monitor Window", a sizing border, minimise and close buttons;
// its widget is the form CSlavMonitFView. The shell keeps the window's open
// flag and placement.
//
// Threads: the user-interface thread only.
#pragma once

#include <QMdiSubWindow>

#include "app/ui/ShellView.h"

namespace orvane::ui {

class CSlavMonitFView;

class CSlavMonitFrame final : public QMdiSubWindow {
  Q_OBJECT

 public:
  explicit CSlavMonitFrame(const ShellServices& services);

  CSlavMonitFView& view() const { return *view_; }

 private:
  CSlavMonitFView* view_;
};

}  // namespace orvane::ui
