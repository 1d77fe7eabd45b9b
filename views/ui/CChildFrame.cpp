#include "views/ui/CChildFrame.h"

#include "app/WindowCommands.h"

namespace orvane::ui {

CChildFrame::CChildFrame(MonitorWindowKind kind, QWidget* view, QWidget* parent)
    : QMdiSubWindow(parent, Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      kind_(kind) {
  const std::string_view caption = app::WindowBaseName(WindowOfKind(kind));
  setWindowTitle(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
  setAttribute(Qt::WA_DeleteOnClose);
  setWidget(view);
}

}  // namespace orvane::ui
