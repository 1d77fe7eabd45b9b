// The Signal Plot window's MDI child frame; its widget is SignalPlotView,
// whose caption it carries ("Signal Plot Window - (Each Mode : Order of ID)
// - [<description path>]"). The shell keeps the window's open flag and
// placement (by default 40, 40, 760, 500).
//
// Threads: the user-interface thread only.
#pragma once

#include <QMdiSubWindow>

#include "app/ui/ShellView.h"

namespace orvane::ui {

class SignalPlotView;

class SignalPlotWindow final : public QMdiSubWindow {
  Q_OBJECT

 public:
  explicit SignalPlotWindow(const ShellServices& services);

  SignalPlotView& view() const { return *view_; }

 private:
  SignalPlotView* view_;
};

}  // namespace orvane::ui
