#include "simulation/ui/CSSimSetDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <optional>

#include "app/AppContext.h"
#include "monitor/MessageCatalogue.h"
#include "pattern/ui/CPatSelectDlg.h"
#include "settings/FixedText.h"
#include "simulation/SlaveSetupRows.h"
#include "simulation/SlotNames.h"
#include "simulation/ui/CKeysetDlg.h"
#include "simulation/ui/CMSetListCtrl.h"

namespace orvane::ui {

namespace {

using simulation::ClipboardAction;
using simulation::GridColumn;

constexpr std::int32_t kNoSelectionMessage = 201;
constexpr std::string_view kTooLongCell = "too long";

constexpr std::array<const char*, 7> kButtonTitles = {
    "Cut", "Copy", "Overwrite Paste", "Insert Paste", "Delete", "Key", "Pattern"};
constexpr std::array<const char*, 7> kButtonNames = {
    "cut", "copy", "overwritePaste", "insertPaste", "delete", "key", "pattern"};

}  // namespace

CSSimSetDlg::CSSimSetDlg(const ShellServices& services, QWidget* parent)
    : QDialog(parent), services_(services) {
  setWindowTitle(QStringLiteral("Slave Simulation"));
  BuildForm();
  AddAccelerators();
  ShowResponses();
}

void CSSimSetDlg::BuildForm() {
  const app::AppContext& context = services_.context;
  list_ = new CMSetListCtrl(simulation::GridMode::kSlave, kRowCount,
                            context.configuration.Settings.Identifiers, context.messages,
                            &clipboard_, this);
  list_->setObjectName(QStringLiteral("slaveList"));
  int width = 2 * list_->frameWidth();
  for (int section = 0; section < list_->model()->columnCount(); ++section)
    width += list_->columnWidth(section);
  list_->setMinimumSize(width, list_->horizontalHeader()->sizeHint().height() +
                                   static_cast<int>(kRowCount) * list_->rowHeight(0) +
                                   2 * list_->frameWidth());

  auto* editing = new QHBoxLayout;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    auto* button = new QPushButton(QString::fromLatin1(kButtonTitles[i]));
    button->setObjectName(QString::fromLatin1(kButtonNames[i]));
    button->setAutoDefault(false);
    button->setEnabled(false);
    editing->addWidget(button);
    buttons_[i] = button;
  }
  editing->addStretch(1);

  masterId_ = new QLineEdit;
  masterId_->setObjectName(QStringLiteral("masterId"));
  masterId_->setMaxLength(2);
  masterId_->setFixedWidth(masterId_->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
  auto* answers = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(new QLabel(QStringLiteral("Master ID")));
  bottom->addWidget(masterId_);
  bottom->addStretch(1);
  bottom->addWidget(answers);

  auto* form = new QVBoxLayout(this);
  form->addWidget(list_, 1);
  form->addLayout(editing);
  form->addLayout(bottom);

  const std::array<std::pair<Button, ClipboardAction>, 5> clipboardButtons = {{
      {kCut, ClipboardAction::kCut},
      {kCopy, ClipboardAction::kCopy},
      {kOverwritePaste, ClipboardAction::kOverwritePaste},
      {kInsertPaste, ClipboardAction::kInsertPaste},
      {kDelete, ClipboardAction::kDelete},
  }};
  for (const auto& [button, action] : clipboardButtons) {
    connect(buttons_[button], &QPushButton::clicked, this,
            [this, action = action] { RunClipboard(action); });
  }
  connect(buttons_[kKey], &QPushButton::clicked, this, &CSSimSetDlg::OnKey);
  connect(buttons_[kPattern], &QPushButton::clicked, this, &CSSimSetDlg::OnPattern);
  connect(answers, &QDialogButtonBox::accepted, this, &CSSimSetDlg::accept);
  connect(answers, &QDialogButtonBox::rejected, this, &CSSimSetDlg::reject);
  connect(list_, &CMSetListCtrl::changed, this, &CSSimSetDlg::OnListChanged);
  connect(list_, &CMSetListCtrl::cellEdited, this, &CSSimSetDlg::OnCellEdited);
}

void CSSimSetDlg::AddAccelerators() {
  const std::array<std::pair<Qt::Key, ClipboardAction>, 4> keys = {{
      {Qt::Key_C, ClipboardAction::kCopy},
      {Qt::Key_X, ClipboardAction::kCut},
      {Qt::Key_V, ClipboardAction::kOverwritePaste},
      {Qt::Key_S, ClipboardAction::kInsertPaste},
  }};
  for (const auto& [key, action] : keys) {
    for (const Qt::Modifier modifier : {Qt::CTRL, Qt::ALT}) {
      auto* shortcut = new QShortcut(QKeySequence(modifier | key), this);
      connect(shortcut, &QShortcut::activated, this,
              [this, action = action] { RunClipboard(action); });
    }
  }
}

void CSSimSetDlg::ShowResponses() {
  const app::Configuration& configuration = services_.context.configuration;
  for (std::size_t row = 0; row < kRowCount; ++row)
    list_->ShowSlot(static_cast<int>(row), configuration.SlaveResponses[row]);
  masterId_->setText(QString::fromStdString(simulation::MasterIdText(configuration.SlaveMasterId)));
  clipboard_.Reset();
}

void CSSimSetDlg::OnListChanged() {
  if (!buttonsEnabled_) {
    buttonsEnabled_ = true;
    for (const Button button : {kCut, kCopy, kDelete, kKey, kPattern})
      buttons_[button]->setEnabled(true);
  }
  for (int row = 0; row < static_cast<int>(kRowCount); ++row) {
    if (simulation::IsChecked(list_->RowCells(row)[simulation::kColumnPattern])) Preview(row);
  }
}

void CSSimSetDlg::OnCellEdited(int row, GridColumn column) {
  if (column == simulation::kColumnIdentifier &&
      simulation::IsChecked(list_->RowCells(row)[simulation::kColumnPattern]) &&
      list_->StoredSlot(row).patternPath[0] != '\0') {
    PreviewWithWarning(row);
  }
}

bool CSSimSetDlg::Preview(int row) {
  const simulation::SimSlot& stored = list_->StoredSlot(row);
  if (stored.patternPath[0] == '\0') return false;
  const app::Configuration& configuration = services_.context.configuration;
  simulation::SlotRow cells = list_->RowCells(row);
  if (!simulation::PreviewSlavePattern(
          cells, stored, {configuration.Options, configuration.Settings.Identifiers})) {
    return false;
  }
  if (cells != list_->RowCells(row)) list_->SetRowCells(row, cells);
  return true;
}

void CSSimSetDlg::PreviewWithWarning(int row) {
  if (Preview(row)) return;
  monitor::ShowWarningBox(services_.context.messages, simulation::kNoPatternDataText);
  SelectAndFocus(row);
}

void CSSimSetDlg::RunClipboard(ClipboardAction action) {
  const app::AppContext& context = services_.context;
  RunGridClipboardAction(clipboard_, action, context.configuration.Settings.Identifiers,
                         context.messages);
  const bool pastable = clipboard_.copied.has_value();
  buttons_[kOverwritePaste]->setEnabled(pastable);
  buttons_[kInsertPaste]->setEnabled(pastable);
}

int CSSimSetDlg::FocusedRowOrComplain() {
  const int row = list_->FocusedRow();
  if (row < 0) monitor::ShowErrorMessage(services_.context.messages, kNoSelectionMessage);
  return row;
}

void CSSimSetDlg::OnKey() {
  const int row = FocusedRowOrComplain();
  if (row < 0) return;
  CKeysetDlg keys(this);
  if (keys.exec() != QDialog::Accepted) return;
  const std::optional<std::int32_t> key = keys.key();
  if (!key) return;
  const std::string name = simulation::KeyName(*key);
  if (!name.empty())
    list_->Rows().SetCell(static_cast<std::size_t>(row), simulation::kColumnTrigger, name);
}

void CSSimSetDlg::OnPattern() {
  const int row = FocusedRowOrComplain();
  if (row < 0) return;
  const app::AppContext& context = services_.context;
  simulation::SimSlot stored = list_->StoredSlot(row);
  CPatSelectDlg dialog(std::string(settings::FieldText(stored.patternPath)), CPatSelectDlg::kSelect,
                       context.messages, services_.gridFont, context.state.ProgramFolder, this);
  dialog.SetFileDialogs(context.windows);
  if (dialog.exec() != QDialog::Accepted) return;

  const std::string path = dialog.chosenPath();
  const bool fits = path.size() < simulation::kPatternPathSize;
  // A path that does not fit is not kept: the row must not go on with the
  // file it named before.
  settings::CopyToField(fits ? path : std::string(), stored.patternPath);
  list_->SetStoredSlot(row, stored);
  list_->Rows().SetCell(
      static_cast<std::size_t>(row), simulation::kColumnFile,
      fits ? std::string(simulation::FileCellText(path)) : std::string(kTooLongCell));
  if (fits && !path.empty()) PreviewWithWarning(row);
}

void CSSimSetDlg::SelectAndFocus(int row) {
  list_->SelectRow(row);
  list_->setFocus();
}

void CSSimSetDlg::accept() {
  const app::AppContext& context = services_.context;
  app::Configuration& configuration = context.configuration;
  const std::optional<simulation::SlaveSetupFailure> failure =
      simulation::StoreSlaveSetup(list_->Rows(), masterId_->text().toStdString(),
                                  configuration.SlaveResponses, configuration.SlaveMasterId);
  if (!failure) {
    QDialog::accept();
    return;
  }
  const int row = static_cast<int>(failure->row);
  list_->SelectRow(row);
  if (failure->text.empty()) {
    monitor::ShowErrorMessage(context.messages, simulation::kSlaveIdentifierUsedMessage);
  } else {
    monitor::ShowErrorBox(context.messages, failure->text);
  }
  list_->setFocus();
}

}  // namespace orvane::ui
