#include "signals/ui/SignalWindows.h"

#include "signals/ui/SignalPlotWindow.h"
#include "signals/ui/cls_psig_frm.h"
#include "signals/ui/cls_psig_mon.h"

namespace orvane::ui {

void RegisterSignalWindows(WindowRegistry& registry) {
  registry.Register(WindowFamily{
      app::Window::kSignalSelect,
      [](const ShellServices& services) -> QWidget* { return new cls_psig_frm(services); }});
  registry.Register(WindowFamily{
      app::Window::kSignalMonitor,
      [](const ShellServices& services) -> QWidget* { return new cls_psig_mon(services); }});
  registry.Register(WindowFamily{
      app::Window::kSignalPlot,
      [](const ShellServices& services) -> QWidget* { return new SignalPlotWindow(services); }});
}

}  // namespace orvane::ui
