#include "simulation/ui/CKeysetDlg.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/KeyCodes.h"
#include "simulation/SlotNames.h"

namespace orvane::ui {

namespace {

const QString kUnsupportedKeyText = QStringLiteral("can't regist");

bool IsEnter(int qtKey) { return qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter; }

}  // namespace

CKeysetDlg::CKeysetDlg(QWidget* parent) : QDialog(parent), field_(new QLineEdit) {
  setWindowTitle(QStringLiteral("Key Select"));
  field_->setObjectName(QStringLiteral("key"));
  field_->setReadOnly(true);
  field_->setAlignment(Qt::AlignCenter);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Please enter any key.")));
  layout->addWidget(new QLabel(QStringLiteral("(0-9,A-Z,F1-F12,SPACE)")));
  layout->addWidget(field_);
  layout->addWidget(buttons);

  // Every key reaches the dialog whichever child has the focus.
  installEventFilter(this);
  field_->installEventFilter(this);
  for (QPushButton* button : buttons->findChildren<QPushButton*>()) button->installEventFilter(this);
  field_->setFocus();
}

bool CKeysetDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) {
    return QDialog::eventFilter(watched, event);
  }
  const auto* key = static_cast<QKeyEvent*>(event);
  if (event->type() == QEvent::KeyPress) {
    // Enter is OK whichever button has the focus.
    if (IsEnter(key->key())) {
      accept();
    } else {
      Take(key->key());
    }
  }
  event->accept();
  return true;
}

void CKeysetDlg::Take(int qtKey) {
  key_ = VirtualKeyOf(qtKey);
  const std::string name = key_ ? simulation::KeyName(*key_) : std::string();
  field_->setText(name.empty() ? kUnsupportedKeyText : QString::fromStdString(name));
}

}  // namespace orvane::ui
