#include "simulation/ui/CSlavMonitFrame.h"

#include "app/WindowCommands.h"
#include "simulation/ui/CSlavMonitFView.h"

namespace orvane::ui {

CSlavMonitFrame::CSlavMonitFrame(const ShellServices& services)
    : QMdiSubWindow(nullptr, Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      view_(new CSlavMonitFView(services)) {
  const std::string_view caption = app::WindowBaseName(app::Window::kSlaveMonitor);
  setWindowTitle(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
  setWidget(view_);
}

}  // namespace orvane::ui
