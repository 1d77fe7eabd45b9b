#include "app/ui/GuiMessageSink.h"
#include "app/ui/QtText.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

namespace orvane::ui {
namespace {

QMessageBox::Icon IconOf(monitor::MessageIcon icon) {
  switch (icon) {
    case monitor::MessageIcon::kStop:
      return QMessageBox::Critical;
    case monitor::MessageIcon::kExclamation:
      return QMessageBox::Warning;
    case monitor::MessageIcon::kQuestion:
      return QMessageBox::Question;
    case monitor::MessageIcon::kInformation:
      return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

monitor::MessageAnswer ShowMessageBox(const monitor::MessageBoxRequest& request) {
  QWidget* owner = QApplication::activeWindow();
  QMessageBox box(IconOf(request.icon), QtText(request.caption), QtText(request.text),
                  QMessageBox::NoButton, owner);
  if (request.buttons == monitor::MessageButtons::kOk) {
    box.setStandardButtons(QMessageBox::Ok);
  } else {
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box.setDefaultButton(request.cancelIsDefault ? QMessageBox::Cancel : QMessageBox::Ok);
  }
  if (!request.detail.empty()) box.setDetailedText(QtText(request.detail));
  const QAbstractButton* extra =
      request.extraButton.empty()
          ? nullptr
          : box.addButton(QtText(request.extraButton), QMessageBox::AcceptRole);
  const int pressed = box.exec();
  if (extra != nullptr && box.clickedButton() == extra) return monitor::MessageAnswer::kExtra;
  return pressed == QMessageBox::Ok ? monitor::MessageAnswer::kOk : monitor::MessageAnswer::kCancel;
}

GuiMessageSink::GuiMessageSink(const app::AppState& state, MessagePresenter presenter)
    : state_(state), presenter_(std::move(presenter)) {}

bool GuiMessageSink::CanShow() const {
  return !mainWindow_.isNull() && state_.ShutdownState == app::kShutdownNone;
}

monitor::MessageAnswer GuiMessageSink::Show(const monitor::MessageBoxRequest& request) {
  if (QThread::currentThread() == thread()) return presenter_(request);
  // The calling worker waits until the box is closed, so the request's
  // texts stay valid while the user-interface thread shows them.
  monitor::MessageAnswer answer = monitor::MessageAnswer::kCancel;
  QMetaObject::invokeMethod(
      this,
      [&] {
        if (beforeWorkerMessage_) beforeWorkerMessage_();
        if (CanShow()) answer = presenter_(request);
      },
      Qt::BlockingQueuedConnection);
  return answer;
}

}  // namespace orvane::ui
