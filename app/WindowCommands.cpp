#include "app/WindowCommands.h"

#include <array>
#include <system_error>

#include "app/WindowTitles.h"

namespace orvane::app {

namespace {

// The windows the standard layout reopens, in its order.
constexpr std::array kLayoutOrder{
    Window::kMonitor,      Window::kStatus,        Window::kMasterMonitor, Window::kSlaveMonitor,
    Window::kSignalSelect, Window::kSignalMonitor, Window::kCapture,       Window::kEachId,
    Window::kSignalPlot,   Window::kBusStatistics};

void RetitleEachIdWindow(const AppContext& context) {
  if (!context.state.WindowOpen[Window::kEachId]) return;
  context.windows.SetWindowTitle(
      Window::kEachId, EachIdWindowTitle(context.configuration.Settings.Options.SortOrder));
}

// Opens a window with the title or button that goes with it.
void OpenWindow(const AppContext& context, Window window) {
  context.windows.OpenWindow(window);
  if (window == Window::kMonitor) RetitleMonitorWindow(context);
  if (window == Window::kEachId) RetitleEachIdWindow(context);
}

bool Stopped(const AppContext& context) {
  return !context.state.Monitoring();
}

}  // namespace

std::string_view WindowBaseName(Window window) {
  switch (window) {
    case Window::kMonitor:
      return "Monitor Window";
    case Window::kStatus:
      return "Status Window";
    case Window::kMasterMonitor:
      return "Master Simulation Monitor Window";
    case Window::kSlaveMonitor:
      return "Slave Simulation Monitor Window";
    case Window::kSignalSelect:
      return "Signal Select Window";
    case Window::kSignalMonitor:
      return "Signal Monitor Window";
    case Window::kEachId:
      return "Each ID Window";
    case Window::kCapture:
      return "Capture Window";
    case Window::kFind:
      return "";
    case Window::kSignalPlot:
      return "Signal Plot Window";
    case Window::kBusStatistics:
      return "Bus Statistics Window";
  }
  return "";
}

void ToggleWindow(const AppContext& context, Window window) {
  if (context.state.WindowOpen[window]) {
    context.windows.CloseWindow(window);
  } else {
    OpenWindow(context, window);
  }
  if (window == Window::kCapture) {
    context.windows.SetSaveCaptureEnabled(context.state.WindowOpen[Window::kCapture]);
  }
}

void TakeCapture(const AppContext& context) {
  if (!context.state.WindowOpen[Window::kCapture]) context.windows.OpenWindow(Window::kCapture);
  context.state.ViewUpdateCode.Monitor = kUpdateCaptureTaken;
  context.windows.RefreshAllViews();
  context.windows.SetSaveCaptureEnabled(true);
  context.windows.BringToFront(WindowBaseName(Window::kCapture));
}

void ShowFindWindow(const AppContext& context) {
  context.windows.OpenWindow(Window::kFind);
}

void BringWindowToFront(const AppContext& context, Window window) {
  if (context.state.WindowOpen[window]) context.windows.BringToFront(WindowBaseName(window));
}

void ApplyStandardLayout(const AppContext& context) {
  context.windows.ClearSavedPlacements();
  for (const Window window : kLayoutOrder) {
    if (!context.state.WindowOpen[window]) continue;
    context.windows.CloseWindow(window);
    // Closing stored the placement again.
    context.windows.ClearSavedPlacement(window);
    OpenWindow(context, window);
  }
}

void ToggleEachMode(const AppContext& context) {
  if (!Stopped(context)) return;
  settings::OptionSettingsExt& options = context.configuration.Settings.Options;
  options.EachMode = options.EachMode != 0 ? 0 : 1;
  context.windows.PublishEachMode();
  RetitleMonitorWindow(context);
}

void SelectEachModeOrder(const AppContext& context, std::uint8_t sortOrder) {
  if (!Stopped(context)) return;
  settings::OptionSettingsExt& options = context.configuration.Settings.Options;
  if (options.EachMode == 0) {
    options.EachMode = 1;
  } else if (options.SortOrder == sortOrder) {
    options.EachMode = 0;
  }
  options.SortOrder = sortOrder;
  context.windows.PublishEachMode();
  RetitleMonitorWindow(context);
  RetitleEachIdWindow(context);
  context.windows.RefreshSignalWindows();
}

std::filesystem::path ManualPath(const AppState& state) {
  if (state.LanguageCode == "JPN") {
    std::filesystem::path japanese = state.ProgramFolder / "vxlmanj.html";
    std::error_code error;
    if (std::filesystem::is_regular_file(japanese, error)) return japanese;
  }
  return state.ProgramFolder / "vxlmane.html";
}

void OpenManual(const AppContext& context) {
  if (!context.windows.OpenWithShell(ManualPath(context.state))) {
    monitor::ShowErrorBox(context.messages, kManualOpenErrorText);
  }
}

}  // namespace orvane::app
