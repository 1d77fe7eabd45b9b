// Message boxes of the program: the core's MessageSink shown as modal
// QMessageBoxes owned by the active window or the main window. Calls from
// other threads (the acquisition and firmware download workers) are
// marshalled to the user-interface thread, and the calling thread waits for
// the answer, as the core expects.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "app/AppState.h"
#include "monitor/MessageSink.h"

class QWidget;

namespace orvane::ui {

// Shows one box and returns the answer; the program's is ShowMessageBox,
// tests record and answer instead.
using MessagePresenter = std::function<monitor::MessageAnswer(const monitor::MessageBoxRequest&)>;

monitor::MessageAnswer ShowMessageBox(const monitor::MessageBoxRequest& request);

class GuiMessageSink final : public QObject, public monitor::MessageSink {
 public:
  // Lives on the user-interface thread. `state` gives the shutdown state.
  GuiMessageSink(const app::AppState& state, MessagePresenter presenter = ShowMessageBox);

  // Boxes are shown only while the main window exists and no shutdown is
  // under way.
  void SetMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }
  // Runs on the user-interface thread before a box that a worker thread
  // asked for: a failing worker is often the first to notice that the
  // analyzer is gone, and the program then says that instead.
  void BeforeWorkerMessage(std::function<void()> check) { beforeWorkerMessage_ = std::move(check); }

  bool CanShow() const override;
  monitor::MessageAnswer Show(const monitor::MessageBoxRequest& request) override;

 private:
  const app::AppState& state_;
  MessagePresenter presenter_;
  QPointer<QWidget> mainWindow_;
  std::function<void()> beforeWorkerMessage_;
};

}  // namespace orvane::ui
