#include "tests/ui/support/RecordingWindows.h"

namespace orvane::ui::testing {

namespace {

std::string WindowNumber(app::Window window) {
  return std::to_string(static_cast<int>(window));
}

}  // namespace

bool RecordingWindows::OpenWindow(app::Window window) {
  events.push_back("open " + WindowNumber(window));
  state_.WindowOpen[window] = true;
  return true;
}

void RecordingWindows::CloseWindow(app::Window window) {
  events.push_back("close " + WindowNumber(window));
  state_.WindowOpen[window] = false;
}

void RecordingWindows::SetMainTitle(std::string_view title) {
  events.push_back("main title " + std::string(title));
}

void RecordingWindows::SetWindowTitle(app::Window window, std::string_view title) {
  events.push_back("title " + WindowNumber(window) + " " + std::string(title));
}

void RecordingWindows::BringToFront(std::string_view title) {
  events.push_back("front " + std::string(title));
}

void RecordingWindows::RefreshAllViews() {
  app::ViewUpdateCodes& codes = state_.ViewUpdateCode;
  events.push_back("refresh monitor=" + std::to_string(codes.Monitor) + " status=" +
                   std::to_string(codes.Status) + " master=" + std::to_string(codes.Master) +
                   " slave=" + std::to_string(codes.Slave));
  codes = {};
}

void RecordingWindows::NotifyFindWindow(bool monitoring) {
  events.push_back(monitoring ? "find: started" : "find: stopped");
}

void RecordingWindows::SetSaveCaptureEnabled(bool enabled) {
  events.push_back(enabled ? "save capture on" : "save capture off");
}

void RecordingWindows::ClearSavedPlacement(app::Window window) {
  events.push_back("clear placement " + WindowNumber(window));
}

std::optional<std::string> RecordingWindows::ChooseFile(const app::FileDialogRequest& request) {
  fileDialogs.push_back({request.save, std::string(request.initialName),
                         std::string(request.defaultExtension), std::string(request.filter),
                         std::string(request.title)});
  events.push_back(request.save ? "save dialog" : "open dialog");
  return chosenFile;
}

bool RecordingWindows::OpenWithShell(const std::filesystem::path& document) {
  events.push_back("shell " + document.string());
  return shellOpens;
}

}  // namespace orvane::ui::testing
