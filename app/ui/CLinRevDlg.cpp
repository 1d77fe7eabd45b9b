#include "app/ui/CLinRevDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace orvane::ui {

CLinRevDlg::CLinRevDlg(std::uint32_t current, QWidget* owner)
    : QDialog(owner), list_(new QComboBox(this)) {
  setWindowTitle(QStringLiteral("LIN Revision Select Window"));
  list_->addItems({QStringLiteral(" 1.3"), QStringLiteral(" 2.0")});
  list_->setCurrentIndex(current == 1 ? 1 : 0);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("LIN Revision"), this));
  layout->addWidget(list_);
  layout->addWidget(buttons);
}

std::uint32_t CLinRevDlg::Revision() const {
  return static_cast<std::uint32_t>(list_->currentIndex());
}

std::optional<std::uint32_t> CLinRevDlg::Ask(QWidget* owner, std::uint32_t current) {
  CLinRevDlg dialog(current, owner);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Revision();
}

}  // namespace orvane::ui
