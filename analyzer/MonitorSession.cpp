#include "analyzer/MonitorSession.h"

#include <utility>

#include "monitor/MessageCatalogue.h"

namespace orvane::analyzer {
namespace {

constexpr std::int32_t kMonitorExecutionErrorMessage = 104;

}  // namespace

MonitorSession::MonitorSession(const LinkApi& link, monitor::MonitorState& state,
                               Acquisition& acquisition, monitor::MessageSink& messages)
    : link_(link), state_(state), acquisition_(acquisition), messages_(messages) {}

bool MonitorSession::Start(AcquisitionSettings settings) {
  monitor::ClearMonitorFlags(state_);
  if (link_.MonitorStart() != 1) {
    monitor::ShowErrorMessage(messages_, kMonitorExecutionErrorMessage);
    return false;
  }
  acquisition_.Start(std::move(settings));
  return true;
}

void MonitorSession::RequestStop() {
  stopRequested_ = true;
  link_.MonitorStop();
  stopWaitMs_ = 0;
}

bool MonitorSession::OnStopTick() {
  if (!stopRequested_) return false;
  if (state_.latestBlockHeader.Load().recordCount != 0 && stopWaitMs_ <= kStopWaitLimitMs) {
    stopWaitMs_ += static_cast<std::uint32_t>(kStopTickPeriod.count());
    return false;
  }
  stopRequested_ = false;
  acquisition_.SignalStop();
  return true;
}

}  // namespace orvane::analyzer
