#include "app/WindowTitles.h"

#include "analyzer/AnalyzerIdentity.h"
#include "settings/OptionSettings.h"

namespace orvane::app {

std::string MainFrameTitle(std::string_view configPath) {
  std::string title = std::string("Q427-VXL View ") + analyzer::kRequiredFirmwareVersion;
  if (!configPath.empty()) title.append(" - [").append(configPath).append("]");
  return title;
}

std::string MonitorWindowTitle(bool eachMode, std::uint8_t sortOrder, std::int32_t simulationMode,
                               bool loggingEnabled) {
  std::string title = "Monitor Window ";
  if (!eachMode) {
    title += "- [";
  } else if (sortOrder == settings::kOrderOfNode) {
    title += "(Each Mode : Order of Node) - [";
  } else {
    title += "(Each Mode : Order of ID) - [";
  }
  switch (simulationMode) {
    case kModeNone:
      title += "Monitor Mode";
      break;
    case kModeMaster:
      title += "Master Simulation Mode";
      break;
    case kModeSlave:
      title += "Slave Simulation Mode";
      break;
    default:
      break;
  }
  title += loggingEnabled ? " / Logging Enable]" : "]";
  return title;
}

std::string ReviewWindowTitle(std::string_view fileName) {
  return "Monitor Window - [" + std::string(fileName) + "]";
}

std::string EachIdWindowTitle(std::uint8_t sortOrder) {
  return sortOrder == settings::kOrderOfNode ? "Each ID Window - (Order of Node)"
                                             : "Each ID Window - (Order of ID)";
}

void RetitleMainFrame(const AppContext& context) {
  context.windows.SetMainTitle(MainFrameTitle(context.state.ConfigPath));
}

void RetitleMonitorWindow(const AppContext& context) {
  if (!context.state.WindowOpen[Window::kMonitor]) return;
  const Configuration& configuration = context.configuration;
  const settings::OptionSettingsExt& options = configuration.Settings.Options;
  if (!context.state.ReviewFile.empty()) {
    context.windows.SetWindowTitle(Window::kMonitor, ReviewWindowTitle(context.state.ReviewFile));
    return;
  }
  context.windows.SetWindowTitle(
      Window::kMonitor,
      MonitorWindowTitle(options.EachMode != 0, options.SortOrder, context.state.SimulationMode,
                         configuration.Options.LoggingEnabled != 0));
}

}  // namespace orvane::app
