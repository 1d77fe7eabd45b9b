#include "signals/ui/cls_psig_frm.h"

#include "signals/ui/SignalSources.h"
#include "signals/ui/cls_psig_viw.h"

namespace orvane::ui {

cls_psig_frm::cls_psig_frm(const ShellServices& services)
    : view_(new cls_psig_viw(SignalSourcesOf(services.context))) {
  CarryView(*this, view_);
}

}  // namespace orvane::ui
