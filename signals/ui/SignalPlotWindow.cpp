#include "signals/ui/SignalPlotWindow.h"

#include "signals/ui/SignalPlotView.h"
#include "signals/ui/SignalSources.h"

namespace orvane::ui {

SignalPlotWindow::SignalPlotWindow(const ShellServices& services)
    : view_(new SignalPlotView(services.context)) {
  CarryView(*this, view_);
}

}  // namespace orvane::ui
