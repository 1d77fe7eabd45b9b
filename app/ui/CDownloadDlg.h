// The firmware update dialog "Download": a text line, a progress bar, OK and
// Cancel. Every rule of the conversation lives in
// analyzer::FirmwareUpdateController; the dialog shows its text and
// progress, forwards OK, Cancel and its 200 ms timer, and closes the way
// the controller says. Escape and the title bar's close button act as
// Cancel, so a running download is cancelled, never left behind.
//
// Threads: the user-interface thread; the download runs on its own worker.
#pragma once

#include <QDialog>
#include <QTimer>

#include "analyzer/FirmwareUpdateController.h"

class QDialogButtonBox;
class QLabel;
class QProgressBar;

namespace orvane::ui {

class CDownloadDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit CDownloadDlg(analyzer::FirmwareUpdateController& controller, QWidget* parent = nullptr);

  // How the dialog closed: kOk when accepted, else kCancel.
  analyzer::FirmwareUpdateResult Result() const;

  // Cancel, Escape and closing the window.
  void reject() override;
  // The 200 ms timer's work: follows the download's progress.
  void OnTimer();

 private:
  void OnOk();
  void Close(analyzer::FirmwareUpdateResult result);
  void ShowState();

  analyzer::FirmwareUpdateController& controller_;
  QLabel* text_;
  QProgressBar* progress_;
  QDialogButtonBox* buttons_;
  QTimer timer_;
};

}  // namespace orvane::ui
