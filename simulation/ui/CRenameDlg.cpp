#include "simulation/ui/CRenameDlg.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "settings/FixedText.h"
#include "simulation/SlotValidation.h"

namespace orvane::ui {

namespace {

constexpr int kMaxNameCharacters = static_cast<int>(simulation::kScheduleNameSize) - 1;

}  // namespace

CRenameDlg::CRenameDlg(const simulation::ScheduleNames& names, std::size_t index,
                       monitor::MessageSink& messages, QWidget* parent)
    : QDialog(parent), names_(names), index_(index), messages_(messages), edit_(new QLineEdit) {
  setWindowTitle(QStringLiteral("Rename Schedule"));
  const std::string_view name = settings::FieldText(names.at(index).data(), names[index].size());
  oldName_ = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  edit_->setObjectName(QStringLiteral("name"));
  edit_->setMaxLength(kMaxNameCharacters);
  edit_->setText(oldName_);
  edit_->selectAll();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &CRenameDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(edit_);
  layout->addWidget(buttons);
}

std::string CRenameDlg::name() const { return edit_->text().toStdString(); }

void CRenameDlg::accept() {
  const std::string refusal = simulation::CheckScheduleName(names_, name(), index_);
  if (refusal.empty()) {
    QDialog::accept();
    return;
  }
  if (edit_->text().isEmpty()) edit_->setText(oldName_);
  monitor::ShowErrorBox(messages_, refusal);
  edit_->setFocus();
  edit_->selectAll();
}

}  // namespace orvane::ui
