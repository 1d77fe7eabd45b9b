#include "views/ui/CStatusFrame.h"

#include <QEvent>

#include "app/WindowCommands.h"
#include "views/ui/CStatusFView.h"

namespace orvane::ui {

CStatusFrame::CStatusFrame(const ShellServices& services)
    : QMdiSubWindow(nullptr, Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      view_(new CStatusFView(services.context)) {
  const std::string_view caption = app::WindowBaseName(app::Window::kStatus);
  setWindowTitle(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
  setWidget(view_);
}

bool CStatusFrame::event(QEvent* event) {
  const bool handled = QMdiSubWindow::event(event);
  if (event->type() == QEvent::ParentChange && parentWidget() != nullptr) resize(sizeHint());
  return handled;
}

}  // namespace orvane::ui
