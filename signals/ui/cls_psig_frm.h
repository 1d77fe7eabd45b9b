// The Signal select window's MDI child frame; its widget is the form
// cls_psig_viw, whose caption it carries ("Signal Select Window - (Each
// Mode : Order of ID) - [<description path>]"). The shell keeps the
// window's open flag and placement (by default at the left and top given
// for the language, sized to fit the form).
//
// Threads: the user-interface thread only.
#pragma once

#include <QMdiSubWindow>

#include "app/ui/ShellView.h"

namespace orvane::ui {

class cls_psig_viw;

class cls_psig_frm final : public QMdiSubWindow {
  Q_OBJECT

 public:
  explicit cls_psig_frm(const ShellServices& services);

  cls_psig_viw& view() const { return *view_; }

 private:
  cls_psig_viw* view_;
};

}  // namespace orvane::ui
