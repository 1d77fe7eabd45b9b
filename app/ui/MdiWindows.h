// The main frame's windows: the core's WindowRequests over the MDI area and
// the registered window families. Opens and closes windows of any family
// alike, applies and takes back their placement records, finds them by
// caption, and hands "refresh all views" and the other notices to every
// open view.
//
// Threads: the user-interface thread only.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>
#include <vector>

#include "app/WindowRequests.h"
#include "app/ui/SavedState.h"
#include "app/ui/ShellView.h"

class QMdiArea;
class QWidget;

namespace orvane::ui {

// What only the main frame itself can do.
struct FrameHooks {
  std::function<void()> updateDialogBar;
  std::function<void(bool)> setSaveCaptureEnabled;
  std::function<void()> postExit;
  // Runs a file dialog; the program's uses QFileDialog.
  std::function<std::optional<std::string>(const app::FileDialogRequest&)> chooseFile;
  // Opens a document with the desktop's viewer.
  std::function<bool(const std::filesystem::path&)> openWithShell;
};

class MdiWindows final : public QObject, public app::WindowRequests {
 public:
  MdiWindows(QMdiArea& area, const WindowRegistry& registry, app::AppState& state,
             WindowPlacements& placements, FrameHooks hooks);

  // The services the windows are made with; set once the context exists.
  void SetServices(const ShellServices* services) { services_ = services; }

  bool OpenWindow(app::Window window) override;
  void CloseWindow(app::Window window) override;
  void SetMainTitle(std::string_view title) override;
  void SetWindowTitle(app::Window window, std::string_view title) override;
  void BringToFront(std::string_view title) override;
  void RefreshAllViews() override;
  void RefreshSignalWindows() override;
  void PublishEachMode() override;
  void ResetCaptureAndFind() override;
  void NotifyFindWindow(bool monitoring) override;
  void UpdateDialogBar() override;
  void SetSaveCaptureEnabled(bool enabled) override;
  void ClearSavedPlacements() override;
  void ClearSavedPlacement(app::Window window) override;
  void PostExitCommand() override;
  void SetWaitCursor(bool on) override;
  std::optional<std::string> ChooseFile(const app::FileDialogRequest& request) override;
  bool OpenWithShell(const std::filesystem::path& document) override;

  // The open window of a family (its frame), or null.
  QWidget* WindowOf(app::Window window) const;
  // Closes every window (at exit), storing their placements.
  void CloseAll();

 private:
  struct Open {
    app::Window window;
    QPointer<QWidget> frame;
    ShellView* view;
  };

  bool eventFilter(QObject* watched, QEvent* event) override;
  void ApplyPlacement(app::Window window, QWidget& frame);
  void TakePlacement(app::Window window, QWidget& frame);
  void Forget(QObject* frame);
  void ForEachView(const std::function<void(ShellView&)>& action);

  QMdiArea& area_;
  const WindowRegistry& registry_;
  app::AppState& state_;
  WindowPlacements& placements_;
  FrameHooks hooks_;
  const ShellServices* services_ = nullptr;
  std::vector<Open> open_;
};

}  // namespace orvane::ui
