#include "app/ConfigurationCommands.h"

#include <optional>

#include "app/ConfigurationFile.h"
#include "app/DataFolder.h"
#include "app/WindowTitles.h"
#include "monitor/MessageCatalogue.h"
#include "simulation/MasterCompile.h"

namespace orvane::app {

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kOptionSettingErrorMessage = 102;
constexpr std::int32_t kReadErrorMessage = 108;
constexpr std::int32_t kWriteErrorMessage = 109;

std::optional<std::string> ChooseFile(const AppContext& context, bool save) {
  const std::string& current = context.state.ConfigPath;
  return context.windows.ChooseFile(
      {.save = save,
       .initialName = current.empty() ? std::string_view("*.cfg") : current,
       .defaultExtension = "cfg",
       .filter = "Configuration File(*.cfg)|*.cfg|All(*.*)|*.*||"});
}

void Adopt(const AppContext& context, const std::string& path) {
  context.state.ConfigPath = path;
  RetitleMainFrame(context);
}

void DownloadLoadedSettings(const AppContext& context) {
  Configuration& configuration = context.configuration;
  AppState& state = context.state;
  if (!context.analyzer.WriteFrameParameters(configuration.Options,
                                             configuration.Settings.Options) ||
      !context.analyzer.WriteLengthTable(configuration.Settings.Identifiers)) {
    monitor::ShowErrorMessage(context.messages, kOptionSettingErrorMessage);
    return;
  }
  state.ViewUpdateCode.Status = kUpdateSettings;
  if (state.WindowOpen[Window::kMasterMonitor]) state.ViewUpdateCode.Master = kUpdateMasterSetup;
  context.windows.RefreshSignalWindows();
  context.windows.RefreshAllViews();
}

}  // namespace

void LoadConfiguration(const AppContext& context, LinDescriptionLoader& descriptions) {
  if (const std::optional<std::string> path = ChooseFile(context, false)) {
    LoadConfigurationFrom(context, descriptions, *path);
  }
}

bool LoadConfigurationFrom(const AppContext& context, LinDescriptionLoader& descriptions,
                           const std::string& path) {
  Configuration& configuration = context.configuration;
  const ReadResult read =
      ReadConfiguration(path, true, configuration, descriptions, context.messages);
  if (read.status == ReadStatus::Failed) {
    monitor::ShowErrorMessage(context.messages, kReadErrorMessage);
    return false;
  }
  if (read.status == ReadStatus::Cancelled) return false;

  DownloadLoadedSettings(context);
  simulation::CompileAll(configuration.Schedules, configuration.InterruptSlot, context.master,
                         context.messages);
  Adopt(context, path);
  // Every load switches logging off.
  RetitleMonitorWindow(context);
  return true;
}

bool SaveConfiguration(const AppContext& context) {
  const std::string& current = context.state.ConfigPath;
  if (!current.empty()) {
    if (WriteConfiguration(current, context.configuration).ok) return true;
    monitor::ShowErrorBox(context.messages, kSelectProjectFileText);
  }
  return SaveConfigurationAs(context);
}

bool SaveConfigurationAs(const AppContext& context) {
  const std::optional<std::string> path = ChooseFile(context, true);
  if (!path) return false;
  if (!WriteConfiguration(*path, context.configuration).ok) {
    monitor::ShowErrorMessage(context.messages, kWriteErrorMessage);
    return false;
  }
  Adopt(context, *path);
  return true;
}

ExitWriteResult WriteConfigurationAtExit(const AppContext& context) {
  AppState& state = context.state;
  if (state.ConfigPath.empty()) {
    state.ConfigPath =
        (WritableFolder(state.ProgramFolder) / kDefaultConfigurationFileName).string();
  }
  return {state.ConfigPath, WriteConfiguration(state.ConfigPath, context.configuration)};
}

}  // namespace orvane::app
