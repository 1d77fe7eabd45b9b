// The Signal monitor window's MDI child frame; its widget is the list
// cls_psig_mvw, whose caption it carries ("Signal Monitor Window - (Each
// Mode : Order of ID) - [<description path>]"). The shell keeps the
// window's open flag and placement (by default 25, 30, 650, 350).
//
// Threads: the user-interface thread only.
#pragma once

#include <QMdiSubWindow>

#include "app/ui/ShellView.h"

namespace orvane::ui {

class cls_psig_mvw;

class cls_psig_mon final : public QMdiSubWindow {
  Q_OBJECT

 public:
  explicit cls_psig_mon(const ShellServices& services);

  cls_psig_mvw& view() const { return *view_; }

 private:
  cls_psig_mvw* view_;
};

}  // namespace orvane::ui
