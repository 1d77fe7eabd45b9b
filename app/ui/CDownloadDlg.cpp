#include "app/ui/CDownloadDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane::ui {

CDownloadDlg::CDownloadDlg(analyzer::FirmwareUpdateController& controller, QWidget* parent)
    : QDialog(parent),
      controller_(controller),
      text_(new QLabel),
      progress_(new QProgressBar),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel)) {
  setWindowTitle(QStringLiteral("Download"));
  text_->setWordWrap(true);
  text_->setMinimumWidth(text_->fontMetrics().averageCharWidth() * 48);
  progress_->setRange(0, analyzer::kProgressRange);
  progress_->setTextVisible(false);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(progress_);
  layout->addWidget(buttons_);
  connect(buttons_->button(QDialogButtonBox::Ok), &QPushButton::clicked, this, &CDownloadDlg::OnOk);
  connect(buttons_->button(QDialogButtonBox::Cancel), &QPushButton::clicked, this,
          &CDownloadDlg::reject);
  ShowState();

  connect(&timer_, &QTimer::timeout, this, &CDownloadDlg::OnTimer);
  timer_.start(analyzer::kFirmwareUpdateTimerPeriod);
}

analyzer::FirmwareUpdateResult CDownloadDlg::Result() const {
  return result() == QDialog::Accepted ? analyzer::FirmwareUpdateResult::kOk
                                       : analyzer::FirmwareUpdateResult::kCancel;
}

void CDownloadDlg::reject() {
  if (const auto result = controller_.OnCancel()) {
    Close(*result);
  } else {
    ShowState();
  }
}

void CDownloadDlg::OnTimer() {
  controller_.OnTimer();
  ShowState();
}

void CDownloadDlg::OnOk() {
  if (const auto result = controller_.OnOk()) {
    Close(*result);
  } else {
    ShowState();
  }
}

void CDownloadDlg::Close(analyzer::FirmwareUpdateResult result) {
  timer_.stop();
  done(result == analyzer::FirmwareUpdateResult::kOk ? QDialog::Accepted : QDialog::Rejected);
}

void CDownloadDlg::ShowState() {
  text_->setText(QString::fromStdString(controller_.Text()));
  progress_->setValue(controller_.ProgressValue());
  // OK does nothing while the download runs.
  buttons_->button(QDialogButtonBox::Ok)->setEnabled(!controller_.Started());
}

}  // namespace orvane::ui
