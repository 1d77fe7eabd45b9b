#include "app/ExitCommands.h"

#include "monitor/MessageCatalogue.h"

namespace orvane::app {

namespace {

constexpr std::int32_t kExitWhileMonitoringMessage = 103;

}  // namespace

void RequestExit(const AppContext& context) {
  if (context.state.ShutdownState != kShutdownNone) return;
  context.state.ShutdownState = kShutdownRequested;
  context.windows.PostExitCommand();
}

bool ConfirmClose(const AppContext& context) {
  AppState& state = context.state;
  if (state.ShutdownState == kShutdownForced) return true;
  if (state.Monitoring()) {
    state.ShutdownState = kShutdownNone;
    monitor::ShowErrorMessage(context.messages, kExitWhileMonitoringMessage);
    return false;
  }
  if (monitor::AskOkCancel(context.messages, kExitCaption, kExitQuestion) !=
      monitor::MessageAnswer::kOk) {
    state.ShutdownState = kShutdownNone;
    return false;
  }
  return true;
}

ExitWriteResult ShutDownMainFrame(const AppContext& context, LinDescriptionLoader& descriptions) {
  ExitWriteResult result = WriteConfigurationAtExit(context);
  simulation::Release(context.master);
  simulation::Release(context.slave);
  descriptions.Release();
  return result;
}

}  // namespace orvane::app
