#include "simulation/ui/CMastMonitFrame.h"

#include "app/WindowCommands.h"
#include "simulation/ui/CMastMonitFView.h"

namespace orvane::ui {

CMastMonitFrame::CMastMonitFrame(const ShellServices& services)
    : QMdiSubWindow(nullptr, Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      view_(new CMastMonitFView(services)) {
  const std::string_view caption = app::WindowBaseName(app::Window::kMasterMonitor);
  setWindowTitle(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
  setWidget(view_);
}

void RegisterMasterMonitorWindow(WindowRegistry& registry) {
  registry.Register(WindowFamily{
      app::Window::kMasterMonitor,
      [](const ShellServices& services) -> QWidget* { return new CMastMonitFrame(services); }});
}

}  // namespace orvane::ui
