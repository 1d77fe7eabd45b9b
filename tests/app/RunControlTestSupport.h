// The main frame's surroundings for the run control tests: a message sink
// that shows boxes only while no shutdown is under way (as the GUI's does), a
// recorder of window requests that keeps the window-open flags as windows
// would, and a rig of the whole application state around the virtual
// analyzer on a virtual clock.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "analyzer/LinkApi.h"
#include "analyzer/RegisterMap.h"
#include "app/AppContext.h"
#include "app/AppState.h"
#include "app/Configuration.h"
#include "app/RunControl.h"
#include "app/WindowRequests.h"
#include "tests/analyzer/LinkTap.h"
#include "tests/analyzer/ScratchFolder.h"
#include "tests/support/VirtualLinkRig.h"

namespace orvane::app::testing {

// A box as it was shown.
struct Box {
  std::string caption;
  std::string text;
  monitor::MessageIcon icon;
  monitor::MessageButtons buttons;
};

// Shows boxes while no shutdown is under way; records them; answers
// questions with `answer`. Usable from the acquisition thread.
class AppSink final : public monitor::MessageSink {
 public:
  explicit AppSink(const AppState& state) : state_(state) {}

  bool CanShow() const override { return state_.ShutdownState == kShutdownNone; }
  monitor::MessageAnswer Show(const monitor::MessageBoxRequest& request) override;
  std::vector<Box> Boxes() const;
  std::vector<std::string> Texts() const;

  std::atomic<monitor::MessageAnswer> answer = monitor::MessageAnswer::kOk;

 private:
  const AppState& state_;
  mutable std::mutex mutex_;
  std::vector<Box> boxes_;
};

std::string WindowName(Window window);

// A file dialog request as it was made.
struct RecordedFileDialog {
  bool save = false;
  std::string initialName;
  std::string defaultExtension;
  std::string filter;
  std::string title;
};

// Records every request as one line of text, e.g. "open Status",
// "refresh monitor=5 status=5 master=0 slave=5"; a refresh resets the codes
// as the views do. Opening and closing set and clear the open flags.
class RecordingWindows final : public WindowRequests {
 public:
  explicit RecordingWindows(AppState& state) : state_(state) {}

  bool OpenWindow(Window window) override;
  void CloseWindow(Window window) override;
  void SetMainTitle(std::string_view title) override;
  void SetWindowTitle(Window window, std::string_view title) override;
  void BringToFront(std::string_view title) override;
  void RefreshAllViews() override;
  void RefreshSignalWindows() override { events.push_back("signal windows"); }
  void PublishEachMode() override { events.push_back("publish each mode"); }
  void ResetCaptureAndFind() override { events.push_back("reset capture and find"); }
  void NotifyFindWindow(bool monitoring) override;
  void UpdateDialogBar() override { events.push_back("dialog bar"); }
  void SetSaveCaptureEnabled(bool enabled) override;
  void PostExitCommand() override { events.push_back("exit"); }
  void SetWaitCursor(bool on) override { events.push_back(on ? "wait cursor" : "normal cursor"); }
  void ClearSavedPlacements() override { events.push_back("clear placements"); }
  void ClearSavedPlacement(Window window) override;
  std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
  bool OpenWithShell(const std::filesystem::path& document) override;

  std::vector<std::string> events;
  std::vector<RecordedFileDialog> fileDialogs;
  // What the next file dialog answers; nothing = Cancel.
  std::optional<std::string> chosenFile;
  bool shellOpens = true;

 private:
  AppState& state_;
};

// The application around the virtual analyzer: the analyzer is opened and
// has the default settings, the configuration holds the defaults, and the
// program folder is a scratch folder. Every link command passes a LinkTap.
class AppRig {
 public:
  explicit AppRig(emulator::AnalyzerProfile profile = {});
  ~AppRig();

  AppContext& context() { return *context_; }
  RunControl& run() { return *run_; }
  // Replaces the link the context's register map and run control use.
  void UseLink(const analyzer::LinkApi& link);

  // Advances virtual time by `duration` in 10 ms steps, passing each step to
  // the run control's idle processing and calling its 200 ms timer on time.
  void Pass(std::chrono::milliseconds duration);
  // The same while the acquisition thread reads the virtual analyzer and so
  // moves virtual time itself: follows the clock (really waiting 1 ms
  // between looks) until `duration` has passed.
  void Follow(std::chrono::milliseconds duration);
  // Calls the 200 ms timer until the stop completes; the number of calls,
  // or -1 when it has not completed after 50 calls. Blocks of the
  // acquisition thread are read meanwhile (a short real wait per call).
  int DrainStop();
  // Waits (really, up to 10 s) until the condition holds.
  static bool WaitUntil(const std::function<bool()>& condition);

  orvane::testing::VirtualLinkRig link;
  analyzer::test::LinkTap tap;
  analyzer::test::ScratchFolder folder;
  AppState state;
  std::unique_ptr<Configuration> configuration;
  std::unique_ptr<monitor::MonitorState> monitor;
  simulation::MasterRunState master;
  simulation::SlaveRunState slave;
  AppSink sink{state};
  RecordingWindows windows{state};
  LoadedDescription description;
  views::CaptureBuffer capture;

 private:
  analyzer::LinkApi linkApi_;
  std::unique_ptr<analyzer::RegisterMap> map_;
  std::unique_ptr<AppContext> context_;
  std::unique_ptr<RunControl> run_;
  std::chrono::milliseconds nextRunTimer_{0};
};

// Blocks served to the acquisition thread instead of the analyzer's (so
// that the thread does not move virtual time): each announces `records`
// frames of identifier 0x10 from the master; once `failing` is set, reads fail. Set up
// before the run starts.
class ServedBlocks {
 public:
  explicit ServedBlocks(AppRig& rig);
  // Waits until the acquisition thread has read a few more blocks.
  void WaitForMore() const;

  std::atomic<int> records{0};
  std::atomic<bool> failing{false};
  std::atomic<int> served{0};
};

}  // namespace orvane::app::testing
