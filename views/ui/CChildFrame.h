// The MDI child frame of the Monitor, Each ID and Capture windows: caption "Monitor Window", "Each
// ID Window" or "Capture Window" by kind; caption, system menu, sizing border and minimise box, no
// maximise box. Its widget is the window's CMonitSView. The shell keeps the window's open flag and
// placement.
//
// Threads: the user-interface thread only.
#pragma once

#include <QMdiSubWindow>

#include "views/ui/MonitorWindowKind.h"

namespace orvane::ui {

class CChildFrame final : public QMdiSubWindow {
  Q_OBJECT

 public:
  // Takes `view` as its widget.
  CChildFrame(MonitorWindowKind kind, QWidget* view, QWidget* parent = nullptr);

  MonitorWindowKind kind() const { return kind_; }

 private:
  MonitorWindowKind kind_;
};

}  // namespace orvane::ui
