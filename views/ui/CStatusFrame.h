// The Status window's MDI child frame: caption "Status Window", a sizing
// border, minimise and close buttons but no maximise button, sized to fit
// its form (CStatusFView) when it enters its MDI area (its title bar counts
// only there).
//
// Threads: the user-interface thread only.
#pragma once

#include <QMdiSubWindow>

#include "app/ui/ShellView.h"

namespace orvane::ui {

class CStatusFView;

class CStatusFrame final : public QMdiSubWindow {
  Q_OBJECT

 public:
  explicit CStatusFrame(const ShellServices& services);

  CStatusFView& view() const { return *view_; }

 protected:
  bool event(QEvent* event) override;

 private:
  CStatusFView* view_;
};

}  // namespace orvane::ui
