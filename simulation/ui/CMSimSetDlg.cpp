#include "simulation/ui/CMSimSetDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <array>
#include <utility>

#include "monitor/MessageCatalogue.h"
#include "pattern/ui/CPatSelectDlg.h"
#include "settings/FixedText.h"
#include "simulation/MasterPatternPreview.h"
#include "simulation/MasterRun.h"
#include "simulation/ScheduleImport.h"
#include "simulation/SlotNames.h"
#include "simulation/ui/CKeysetDlg.h"
#include "simulation/ui/CMSetListCtrl.h"
#include "simulation/ui/CSchListBox.h"
#include "simulation/ui/CSndFileDlg.h"

namespace orvane::ui {

namespace {

using simulation::ClipboardAction;
using simulation::GridMode;

constexpr std::int32_t kNoSelectionMessage = 201;
constexpr std::string_view kPathTooLongCell = "too long";
constexpr std::string_view kImportCaption = "Import Schedules";
// Notes shown in the box's text; more go into its details.
constexpr std::size_t kNotesInText = 8;

const std::array<std::pair<Qt::Key, ClipboardAction>, 5> kAccelerators = {{
    {Qt::Key_C, ClipboardAction::kCopy},
    {Qt::Key_X, ClipboardAction::kCut},
    {Qt::Key_V, ClipboardAction::kOverwritePaste},
    {Qt::Key_S, ClipboardAction::kInsertPaste},
    {Qt::Key_Z, ClipboardAction::kCut},
}};

QCheckBox* Switch(const char* text, const char* name) {
  auto* box = new QCheckBox(QString::fromLatin1(text));
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

}  // namespace

CMSimSetDlg::CMSimSetDlg(const ShellServices& services, QWidget* parent)
    : QDialog(parent),
      services_(services),
      configuration_(services.context.configuration),
      messages_(services.context.messages),
      rules_{configuration_.Options, configuration_.Settings.Identifiers},
      edited_(simulation::CurrentScheduleIndex(configuration_.MasterRun)) {
  setWindowTitle(QStringLiteral("Master Simulation Setup"));
  BuildForm();
  BindAccelerators();

  scheduleSwitch_->setChecked(configuration_.MasterRun.ScheduleModeOn == 1);
  interruptSwitch_->setChecked(configuration_.MasterRun.InterruptModeOn == 1);
  {
    const QSignalBlocker quiet(schedules_);
    schedules_->setCurrentRow(static_cast<int>(edited_));
  }
  ShowEditedSchedule();
  ShowInterruptSlot();
  MarkExtendedRows();
  for (QPushButton* button :
       {cut_, copy_, overwritePaste_, insertPaste_, delete_, key_, pattern_}) {
    button->setEnabled(false);
  }
}

void CMSimSetDlg::BuildForm() {
  const app::AppContext& context = services_.context;
  const settings::IdentifierDefinition& identifiers = configuration_.Settings.Identifiers;

  schedules_ = new CSchListBox(configuration_.ScheduleNames, messages_);
  schedules_->setObjectName(QStringLiteral("schedules"));
  scheduleSwitch_ = Switch("Schedule", "scheduleSwitch");
  enable_ = Switch("Enable", "enable");
  repeat_ = Switch("Repeat", "repeat");
  interruptSwitch_ = Switch("Interrupt", "interruptSwitch");
  scheduleList_ = new CMSetListCtrl(GridMode::kSetupSchedule, simulation::kSlotsPerSchedule,
                                    identifiers, context.messages, &clipboard_);
  scheduleList_->setObjectName(QStringLiteral("scheduleList"));
  interruptList_ =
      new CMSetListCtrl(GridMode::kSetupInterrupt, 1, identifiers, context.messages, &clipboard_);
  interruptList_->setObjectName(QStringLiteral("interruptList"));
  interruptList_->setFixedHeight(interruptList_->horizontalHeader()->sizeHint().height() +
                                 interruptList_->rowHeight(0) + 2 * interruptList_->frameWidth() +
                                 interruptList_->horizontalScrollBar()->sizeHint().height());

  auto* left = new QVBoxLayout;
  left->addWidget(scheduleSwitch_);
  left->addWidget(schedules_, 1);

  auto* boxes = new QHBoxLayout;
  boxes->addWidget(enable_);
  boxes->addWidget(repeat_);
  boxes->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addLayout(boxes);
  right->addWidget(scheduleList_, 1);
  right->addWidget(interruptSwitch_);
  right->addWidget(interruptList_);

  auto* lists = new QHBoxLayout;
  lists->addLayout(left);
  lists->addLayout(right, 1);

  auto* buttons = new QHBoxLayout;
  cut_ = AddButton("Cut", "cut");
  copy_ = AddButton("Copy", "copy");
  overwritePaste_ = AddButton("Overwrite Paste", "overwritePaste");
  insertPaste_ = AddButton("Insert Paste", "insertPaste");
  delete_ = AddButton("Delete", "delete");
  key_ = AddButton("Key", "key");
  pattern_ = AddButton("Pattern", "pattern");
  QPushButton* extend = AddButton("Extend", "extend");
  QPushButton* importButton =
      AddButton("Import Schedules from LIN Description...", "importSchedules");
  importButton->setEnabled(context.description.Loaded());
  QPushButton* ok = AddButton("OK", "ok");
  QPushButton* cancel = AddButton("Cancel", "cancel");
  ok->setDefault(true);
  for (QPushButton* button : {cut_, copy_, overwritePaste_, insertPaste_, delete_, key_, pattern_,
                              extend, importButton}) {
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* form = new QVBoxLayout(this);
  form->addLayout(lists, 1);
  form->addLayout(buttons);

  connect(schedules_, &QListWidget::currentRowChanged, this, &CMSimSetDlg::OnScheduleSelected);
  connect(enable_, &QCheckBox::toggled, this, [this] { modified_ = true; });
  connect(repeat_, &QCheckBox::toggled, this, [this] { modified_ = true; });
  connect(scheduleList_, &CMSetListCtrl::changed, this, [this] { OnListChanged(*scheduleList_); });
  connect(interruptList_, &CMSetListCtrl::changed, this,
          [this] { OnListChanged(*interruptList_); });
  connect(cut_, &QPushButton::clicked, this, [this] { RunClipboard(ClipboardAction::kCut); });
  connect(copy_, &QPushButton::clicked, this, [this] { RunClipboard(ClipboardAction::kCopy); });
  connect(overwritePaste_, &QPushButton::clicked, this,
          [this] { RunClipboard(ClipboardAction::kOverwritePaste); });
  connect(insertPaste_, &QPushButton::clicked, this,
          [this] { RunClipboard(ClipboardAction::kInsertPaste); });
  connect(delete_, &QPushButton::clicked, this, [this] { RunClipboard(ClipboardAction::kDelete); });
  connect(key_, &QPushButton::clicked, this, &CMSimSetDlg::ChooseKey);
  connect(pattern_, &QPushButton::clicked, this, &CMSimSetDlg::ChoosePattern);
  connect(extend, &QPushButton::clicked, this, &CMSimSetDlg::EditExtendedFiles);
  connect(importButton, &QPushButton::clicked, this, &CMSimSetDlg::ImportSchedules);
  connect(ok, &QPushButton::clicked, this, &CMSimSetDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  resize(schedules_->width() + 760, 640);
}

QPushButton* CMSimSetDlg::AddButton(const char* text, const char* name) {
  auto* button = new QPushButton(QString::fromLatin1(text));
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

void CMSimSetDlg::BindAccelerators() {
  for (const auto& [key, action] : kAccelerators) {
    for (const Qt::Modifier modifier : {Qt::CTRL, Qt::ALT}) {
      auto* shortcut = new QShortcut(QKeySequence(modifier | key), this);
      connect(shortcut, &QShortcut::activated, this, [this, action] { RunClipboard(action); });
    }
  }
}

// ---- Showing the model ----

void CMSimSetDlg::ShowEditedSchedule() {
  const simulation::MasterSchedule& schedule = configuration_.Schedules.at(edited_);
  for (std::size_t slot = 0; slot < simulation::kSlotsPerSchedule; ++slot) {
    scheduleList_->ShowSlot(static_cast<int>(slot), schedule.slots[slot]);
  }
  const QSignalBlocker quietEnable(enable_);
  const QSignalBlocker quietRepeat(repeat_);
  enable_->setChecked(schedule.enable == 1);
  repeat_->setChecked(schedule.repeat == 1);
  PreviewPatternRows(*scheduleList_);
}

void CMSimSetDlg::ShowInterruptSlot() {
  interruptList_->ShowSlot(0, configuration_.InterruptSlot);
  PreviewPatternRows(*interruptList_);
}

void CMSimSetDlg::MarkExtendedRows() {
  simulation::MarkExtendedRows(configuration_.ExtendedFiles, edited_, scheduleList_->Rows(),
                               interruptList_->Rows(), configuration_.Settings.Identifiers);
}

void CMSimSetDlg::PreviewPatternRows(CMSetListCtrl& grid) {
  for (int row = 0; row < grid.model()->rowCount(); ++row) {
    if (simulation::IsChecked(grid.RowCells(row)[simulation::kColumnPattern])) {
      PreviewRow(grid, row, false);
    }
  }
}

void CMSimSetDlg::PreviewRow(CMSetListCtrl& grid, int row, bool chosen) {
  const std::string_view path = settings::FieldText(grid.StoredSlot(row).patternPath);
  if (path.empty() || grid.RowCells(row)[simulation::kColumnFile].empty()) return;
  simulation::SlotRow cells = grid.RowCells(row);
  switch (simulation::PreviewPatternRow(cells, path, rules_)) {
    case simulation::PreviewOutcome::kShown:
      grid.SetRowCells(row, cells);
      return;
    case simulation::PreviewOutcome::kFormatError:
      grid.SetRowCells(row, cells);
      monitor::ShowErrorBox(messages_, simulation::PatternFormatErrorText(path));
      return;
    case simulation::PreviewOutcome::kNoSuitableRow:
      if (!chosen) return;
      monitor::ShowWarningBox(messages_, simulation::kNoProperPatternDataText);
      grid.SelectRow(row);
      return;
  }
}

// ---- Reacting to the user ----

void CMSimSetDlg::OnScheduleSelected(int index) {
  if (index < 0 || static_cast<std::size_t>(index) == edited_) return;
  if (modified_) {
    const simulation::SetupRowsRead read = simulation::CheckSetupRows(
        scheduleList_->Rows(), interruptList_->Rows(), configuration_.Settings.Identifiers,
        interruptSwitch_->isChecked());
    if (read.problem) {
      {
        const QSignalBlocker quiet(schedules_);
        schedules_->setCurrentRow(static_cast<int>(edited_));
      }
      Refuse(*read.problem);
      return;
    }
    simulation::StoreSchedule(configuration_.Schedules.at(edited_), read.slots, Switches());
    modified_ = false;
  }
  edited_ = static_cast<std::size_t>(index);
  ShowEditedSchedule();
  MarkExtendedRows();
}

void CMSimSetDlg::OnListChanged(CMSetListCtrl& grid) {
  if (&grid == scheduleList_) modified_ = true;
  for (QPushButton* button : {cut_, copy_, delete_, key_, pattern_}) button->setEnabled(true);
  EnablePasteButtons();
  PreviewPatternRows(grid);
}

void CMSimSetDlg::EnablePasteButtons() {
  const bool copied = clipboard_.copied.has_value();
  overwritePaste_->setEnabled(copied);
  insertPaste_->setEnabled(copied);
}

void CMSimSetDlg::RunClipboard(ClipboardAction action) {
  simulation::SlotGridRows* target = clipboard_.lastClicked;
  if (RunGridClipboardAction(clipboard_, action, configuration_.Settings.Identifiers, messages_) !=
      simulation::ClipboardOutcome::kDone) {
    return;
  }
  EnablePasteButtons();
  if (action == ClipboardAction::kCopy) return;
  CMSetListCtrl& grid = target == &scheduleList_->Rows() ? *scheduleList_ : *interruptList_;
  if (&grid == scheduleList_) modified_ = true;
  PreviewPatternRows(grid);
}

std::optional<CMSimSetDlg::TargetRow> CMSimSetDlg::Target() {
  CMSetListCtrl* grid = nullptr;
  if (clipboard_.lastClicked == &scheduleList_->Rows()) grid = scheduleList_;
  if (clipboard_.lastClicked == &interruptList_->Rows()) grid = interruptList_;
  if (grid == nullptr || grid->FocusedRow() < 0) {
    monitor::ShowErrorMessage(messages_, kNoSelectionMessage);
    return std::nullopt;
  }
  return TargetRow{grid, grid->FocusedRow()};
}

void CMSimSetDlg::ChooseKey() {
  const std::optional<TargetRow> target = Target();
  if (!target) return;
  CKeysetDlg dialog(this);
  if (dialog.exec() != QDialog::Accepted || !dialog.key()) return;
  simulation::SlotRow cells = target->grid->RowCells(target->row);
  cells[simulation::kColumnTrigger] = simulation::KeyName(*dialog.key());
  target->grid->SetRowCells(target->row, cells);
  if (target->grid == scheduleList_) modified_ = true;
}

void CMSimSetDlg::ChoosePattern() {
  const std::optional<TargetRow> target = Target();
  if (!target) return;
  CMSetListCtrl& grid = *target->grid;
  simulation::SimSlot stored = grid.StoredSlot(target->row);
  CPatSelectDlg dialog(std::string(settings::FieldText(stored.patternPath)), CPatSelectDlg::kSelect,
                       messages_, services_.gridFont, services_.context.state.ProgramFolder, this);
  dialog.SetFileDialogs(services_.context.windows);
  if (dialog.exec() != QDialog::Accepted) return;

  const std::string path = dialog.chosenPath();
  const bool fits = path.size() < simulation::kPatternPathSize;
  // A path that does not fit leaves the slot without a file rather than
  // with the one it had, so that the row cannot pass with a file it does
  // not show.
  settings::CopyToField(fits ? path : std::string(), stored.patternPath);
  simulation::SlotRow cells = grid.RowCells(target->row);
  cells[simulation::kColumnFile] = fits ? simulation::FileCellText(path) : kPathTooLongCell;
  grid.SetStoredSlot(target->row, stored);
  grid.SetRowCells(target->row, cells);
  if (&grid == scheduleList_) modified_ = true;
  if (fits) PreviewRow(grid, target->row, true);
}

void CMSimSetDlg::EditExtendedFiles() {
  const simulation::SetupRowsRead read = simulation::ReadSetupRows(
      scheduleList_->Rows(), interruptList_->Rows(), configuration_.Settings.Identifiers);
  if (read.problem) {
    Refuse(*read.problem);
    return;
  }
  simulation::StoreSchedule(configuration_.Schedules.at(edited_), read.slots, Switches());
  configuration_.InterruptSlot = read.slots.interrupt;
  modified_ = false;

  const app::AppState& state = services_.context.state;
  CSndFileDlg dialog(configuration_.Schedules, configuration_.InterruptSlot,
                     configuration_.ExtendedFiles, state.LanguageCode, state.ProgramFolder,
                     services_.context.windows, messages_, this);
  dialog.exec();
  ShowEditedSchedule();
  ShowInterruptSlot();
  MarkExtendedRows();
}

void CMSimSetDlg::ImportSchedules() {
  const signals::LinDescription* description = services_.context.description.Description();
  if (description == nullptr) return;
  const simulation::ScheduleImport imported =
      simulation::ImportSchedules(*description, configuration_.Settings.Identifiers);
  simulation::ApplyScheduleImport(imported, configuration_.Schedules, configuration_.ScheduleNames,
                                  configuration_.ExtendedFiles);
  if (imported.imported > 0) {
    // The edited schedule's rows are now the imported ones; what was typed
    // into them before is gone with the schedules it belonged to.
    modified_ = false;
    schedules_->ShowNames();
    ShowEditedSchedule();
    MarkExtendedRows();
  }
  if (imported.notes.empty()) return;
  std::string list;
  for (const std::string& note : imported.notes) list += note + "\n";
  list.pop_back();
  // A long list goes into the details, so that the box stays on the screen.
  const bool inDetails = imported.notes.size() > kNotesInText;
  const std::string summary = std::to_string(imported.notes.size()) +
                              " notes on what the import changed or left out are in the details.";
  monitor::MessageBoxRequest notes;
  notes.caption = kImportCaption;
  notes.text = inDetails ? summary : list;
  notes.detail = inDetails ? std::string_view(list) : std::string_view();
  notes.icon = monitor::MessageIcon::kInformation;
  messages_.Show(notes);
}

void CMSimSetDlg::accept() {
  simulation::MasterSetupModel model{configuration_.Schedules, configuration_.InterruptSlot,
                                     configuration_.ExtendedFiles, configuration_.MasterRun};
  const simulation::AcceptResult result = simulation::AcceptMasterSetup(
      model, edited_, scheduleList_->Rows(), interruptList_->Rows(), Switches(),
      configuration_.Settings.Identifiers, services_.context.analyzer, messages_);
  switch (result.outcome) {
    case simulation::AcceptOutcome::kAccepted:
      QDialog::accept();
      return;
    case simulation::AcceptOutcome::kRowRefused:
      Refuse(*result.problem);
      return;
    case simulation::AcceptOutcome::kDownloadFailed:
      scheduleList_->setFocus();
      return;
  }
}

void CMSimSetDlg::Refuse(const simulation::RowProblem& problem) {
  CMSetListCtrl& grid =
      problem.list == simulation::SetupList::kSchedule ? *scheduleList_ : *interruptList_;
  grid.SelectRow(static_cast<int>(problem.row));
  grid.setFocus();
  simulation::ShowRowProblem(problem, messages_);
}

simulation::SetupSwitches CMSimSetDlg::Switches() const {
  return {.schedule = scheduleSwitch_->isChecked(),
          .enable = enable_->isChecked(),
          .repeat = repeat_->isChecked(),
          .interrupt = interruptSwitch_->isChecked()};
}

}  // namespace orvane::ui
