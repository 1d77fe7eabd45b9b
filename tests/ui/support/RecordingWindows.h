// Window requests for GUI tests: every request becomes one line of text in
// `events` (for example "refresh monitor=1 status=0 master=0 slave=0", with
// the view update codes as they were at the refresh, which then resets them
// as the views do), file dialogs are recorded and answered with
// `chosenFile`, and opening a window only sets its open flag.
//
// Threads: the user-interface thread only, like the requests themselves.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/WindowRequests.h"

namespace orvane::ui::testing {

// A file dialog request as it was made (the request's views copied).
struct RecordedFileDialog {
  bool save = false;
  std::string initialName;
  std::string defaultExtension;
  std::string filter;
  std::string title;
};

class RecordingWindows final : public app::WindowRequests {
 public:
  explicit RecordingWindows(app::AppState& state) : state_(state) {}

  bool OpenWindow(app::Window window) override;
  void CloseWindow(app::Window window) override;
  void SetMainTitle(std::string_view title) override;
  void SetWindowTitle(app::Window window, std::string_view title) override;
  void BringToFront(std::string_view title) override;
  void RefreshAllViews() override;
  void RefreshSignalWindows() override { events.push_back("signal windows"); }
  void PublishEachMode() override { events.push_back("publish each mode"); }
  void ResetCaptureAndFind() override { events.push_back("reset capture and find"); }
  void NotifyFindWindow(bool monitoring) override;
  void UpdateDialogBar() override { events.push_back("dialog bar"); }
  void SetSaveCaptureEnabled(bool enabled) override;
  void ClearSavedPlacements() override { events.push_back("clear placements"); }
  void ClearSavedPlacement(app::Window window) override;
  void PostExitCommand() override { events.push_back("exit"); }
  void SetWaitCursor(bool on) override { events.push_back(on ? "wait cursor" : "normal cursor"); }
  std::optional<std::string> ChooseFile(const app::FileDialogRequest& request) override;
  bool OpenWithShell(const std::filesystem::path& document) override;

  std::vector<std::string> events;
  std::vector<RecordedFileDialog> fileDialogs;
  // What the next file dialog answers; nothing = Cancel.
  std::optional<std::string> chosenFile;
  bool shellOpens = true;

 private:
  app::AppState& state_;
};

}  // namespace orvane::ui::testing
