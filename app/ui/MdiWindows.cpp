#include "app/ui/MdiWindows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/WindowCommands.h"
#include "app/ui/QtText.h"

namespace orvane::ui {
MdiWindows::MdiWindows(QMdiArea& area, const WindowRegistry& registry, app::AppState& state,
                       WindowPlacements& placements, FrameHooks hooks)
    : area_(area),
      registry_(registry),
      state_(state),
      placements_(placements),
      hooks_(std::move(hooks)) {}

QWidget* MdiWindows::WindowOf(app::Window window) const {
  for (const Open& open : open_) {
    if (open.window == window && open.frame) return open.frame;
  }
  return nullptr;
}

bool MdiWindows::OpenWindow(app::Window window) {
  if (QWidget* frame = WindowOf(window)) {
    frame->raise();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(frame)) area_.setActiveSubWindow(sub);
    return true;
  }
  const WindowFamily* family = registry_.Find(window);
  if (family == nullptr || services_ == nullptr) return false;
  QWidget* frame = family->create(*services_);
  if (frame == nullptr) return false;
  auto* sub = qobject_cast<QMdiSubWindow*>(frame);
  ShellView* view = dynamic_cast<ShellView*>(sub != nullptr ? sub->widget() : frame);
  frame->setAttribute(Qt::WA_DeleteOnClose);
  if (sub != nullptr) {
    area_.addSubWindow(sub);
    ApplyPlacement(window, *sub);
  } else {
    frame->setParent(area_.window(), Qt::Tool);
  }
  frame->installEventFilter(this);
  connect(frame, &QObject::destroyed, this, [this](QObject* gone) { Forget(gone); });
  open_.push_back(Open{window, frame, view});
  state_.WindowOpen[window] = true;
  frame->show();
  return true;
}

void MdiWindows::CloseWindow(app::Window window) {
  while (QWidget* frame = WindowOf(window)) {
    frame->close();
    // A window that refuses to close, or closes later, is not waited for.
    if (WindowOf(window) == frame) {
      Forget(frame);
      frame->deleteLater();
    }
  }
}

void MdiWindows::CloseAll() {
  for (std::size_t i = 0; i < app::kWindowCount; ++i) CloseWindow(static_cast<app::Window>(i));
}

bool MdiWindows::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Close) {
    for (const Open& open : open_) {
      if (open.frame == watched) TakePlacement(open.window, *open.frame);
    }
  }
  return QObject::eventFilter(watched, event);
}

void MdiWindows::Forget(QObject* frame) {
  for (auto it = open_.begin(); it != open_.end(); ++it) {
    if (it->frame == frame || it->frame.isNull()) {
      state_.WindowOpen[it->window] = false;
      open_.erase(it);
      return;
    }
  }
}

void MdiWindows::ApplyPlacement(app::Window window, QWidget& frame) {
  const auto rectangle = app::DefaultRectangleOf(window, state_.LanguageCode);
  if (!rectangle) return;  // opens at the area's own default place
  app::WindowPlacement& record = placements_.of(window);
  if (record.Empty()) {
    const QSize form = frame.sizeHint();
    record = app::DefaultPlacement(*rectangle, form.width(), form.height());
  }
  frame.setGeometry(record.left, record.top, record.right - record.left,
                    record.bottom - record.top);
}

void MdiWindows::TakePlacement(app::Window window, QWidget& frame) {
  if (app::PlacementName(window).empty()) return;
  // A window closed minimised or maximised reopens normal at its last
  // normal rectangle.
  if (frame.isMinimized() || frame.isMaximized()) frame.showNormal();
  const QRect normal = frame.geometry();
  placements_.of(window) =
      app::NormalPlacement(normal.left(), normal.top(), normal.width(), normal.height());
}

void MdiWindows::SetMainTitle(std::string_view title) {
  area_.window()->setWindowTitle(QtText(title));
}

void MdiWindows::SetWindowTitle(app::Window window, std::string_view title) {
  if (QWidget* frame = WindowOf(window)) frame->setWindowTitle(QtText(title));
}

void MdiWindows::BringToFront(std::string_view title) {
  for (QMdiSubWindow* sub : area_.subWindowList(QMdiArea::ActivationHistoryOrder)) {
    if (sub->windowTitle().startsWith(QtText(title))) {
      sub->showNormal();
      area_.setActiveSubWindow(sub);
      return;
    }
  }
}

void MdiWindows::ForEachView(const std::function<void(ShellView&)>& action) {
  // A view may open or close windows while it acts: work on a copy.
  const std::vector<Open> open = open_;
  for (const Open& window : open) {
    if (window.frame && window.view != nullptr) action(*window.view);
  }
}

void MdiWindows::RefreshAllViews() {
  // Every view sees the codes as they were set; they are cleared first so
  // that a view may set a new one and refresh again.
  const app::ViewUpdateCodes codes = state_.ViewUpdateCode;
  state_.ViewUpdateCode = {};
  ForEachView([&](ShellView& view) { view.OnViewUpdate(codes); });
}

void MdiWindows::RefreshSignalWindows() {
  ForEachView([](ShellView& view) { view.OnSignalWindowsRefresh(); });
}

void MdiWindows::PublishEachMode() {
  ForEachView([](ShellView& view) { view.OnEachModePublished(); });
}

void MdiWindows::ResetCaptureAndFind() {
  for (const WindowFamily& family : registry_.families()) {
    if (family.onRunStarting) family.onRunStarting();
  }
  ForEachView([](ShellView& view) { view.OnResetCaptureAndFind(); });
}

void MdiWindows::NotifyFindWindow(bool monitoring) {
  ForEachView([&](ShellView& view) { view.OnMonitoringChanged(monitoring); });
}

void MdiWindows::UpdateDialogBar() {
  if (hooks_.updateDialogBar) hooks_.updateDialogBar();
}

void MdiWindows::SetSaveCaptureEnabled(bool enabled) {
  if (hooks_.setSaveCaptureEnabled) hooks_.setSaveCaptureEnabled(enabled);
}

void MdiWindows::ClearSavedPlacements() {
  placements_.main = {};
  placements_.children = {};
}

void MdiWindows::ClearSavedPlacement(app::Window window) {
  placements_.of(window) = {};
}

void MdiWindows::PostExitCommand() {
  if (hooks_.postExit) hooks_.postExit();
}

void MdiWindows::SetWaitCursor(bool on) {
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

std::optional<std::string> MdiWindows::ChooseFile(const app::FileDialogRequest& request) {
  return hooks_.chooseFile ? hooks_.chooseFile(request) : std::nullopt;
}

bool MdiWindows::OpenWithShell(const std::filesystem::path& document) {
  return hooks_.openWithShell && hooks_.openWithShell(document);
}

}  // namespace orvane::ui
