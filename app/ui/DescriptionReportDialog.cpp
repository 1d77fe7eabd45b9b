#include "app/ui/DescriptionReportDialog.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/ui/QtText.h"

namespace orvane::ui {

DescriptionReportDialog::DescriptionReportDialog(const std::string& report, QWidget* parent)
    : QDialog(parent), text_(new QPlainTextEdit(this)) {
  setObjectName("DescriptionReportDialog");
  setWindowTitle("Description Report");
  text_->setObjectName("report");
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setPlainText(QtText(report));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(buttons);
  resize(640, 320);
}

QString DescriptionReportDialog::ReportText() const {
  return text_->toPlainText();
}

}  // namespace orvane::ui
