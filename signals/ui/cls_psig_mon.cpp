#include "signals/ui/cls_psig_mon.h"

#include "signals/ui/SignalSources.h"
#include "signals/ui/cls_psig_mvw.h"

namespace orvane::ui {

cls_psig_mon::cls_psig_mon(const ShellServices& services)
    : view_(new cls_psig_mvw(SignalSourcesOf(services.context))) {
  CarryView(*this, view_);
}

}  // namespace orvane::ui
