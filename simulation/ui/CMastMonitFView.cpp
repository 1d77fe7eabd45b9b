#include "simulation/ui/CMastMonitFView.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppContext.h"
#include "app/RunControl.h"
#include "monitor/MessageCatalogue.h"
#include "monitor/MessageSink.h"
#include "settings/FixedText.h"
#include "simulation/MasterRun.h"
#include "simulation/SimMonitorCells.h"
#include "simulation/SlotRowRead.h"
#include "simulation/SlotValidation.h"
#include "simulation/ui/CMSetListCtrl.h"
#include "simulation/ui/ScheduleNameText.h"
#include "app/ui/QtText.h"

namespace orvane::ui {
namespace {

using simulation::GridColumn;
using simulation::GridMode;

constexpr std::int32_t kScheduleSwitchFailedMessage = 403;
constexpr std::int32_t kInterruptSwitchFailedMessage = 404;

// Flat fills (a border of its own keeps the style from shading the colour).
const QString kCurrentButtonStyle = QStringLiteral(
    "QPushButton { background-color: rgb(100,255,100); border: 1px solid gray; padding: 3px; }"
    "QPushButton:disabled { color: gray; }");
const QString kOtherButtonStyle = QStringLiteral(
    "QPushButton { background-color: rgb(196,196,196); border: 1px solid gray; padding: 3px; }"
    "QPushButton:disabled { color: gray; }");

QLabel* Field(const char* name) {
  auto* field = new QLabel;
  field->setObjectName(QString::fromLatin1(name));
  field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000000000 / 0000000000")));
  return field;
}

bool IsFrameColumn(GridColumn column) {
  return column == simulation::kColumnCommand || column == simulation::kColumnIdentifier ||
         simulation::IsDataColumn(column);
}

// The row's "Command", "IDEN" and data cells from a frame.
void ShowFrame(simulation::SlotRow& row, const simulation::FrameCells& frame) {
  row[simulation::kColumnCommand] = frame.command;
  row[simulation::kColumnIdentifier] = frame.identifier;
  for (std::size_t i = 0; i < simulation::kSlotDataSize; ++i)
    row[simulation::DataColumn(i)] = frame.data[i];
}

}  // namespace

CMastMonitFView::CMastMonitFView(const ShellServices& services, QWidget* parent)
    : QWidget(parent), services_(services) {
  BuildForm();
  ShowModel();
  connect(&followTimer_, &QTimer::timeout, this, &CMastMonitFView::OnFollowTimer);
  followTimer_.start(kFollowPeriod);
}

void CMastMonitFView::BuildForm() {
  const app::AppContext& context = services_.context;
  const settings::IdentifierDefinition& identifiers = context.configuration.Settings.Identifiers;

  auto* form = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  scheduleSwitch_ = new QCheckBox(QStringLiteral("Schedule"));
  scheduleSwitch_->setObjectName(QStringLiteral("scheduleSwitch"));
  interruptSwitch_ = new QCheckBox(QStringLiteral("Interrupt"));
  interruptSwitch_->setObjectName(QStringLiteral("interruptSwitch"));
  successRequest_ = Field("successRequest");
  count_ = Field("count");
  auto* close = new QPushButton(QStringLiteral("Close"));
  close->setObjectName(QStringLiteral("close"));
  top->addWidget(scheduleSwitch_);
  top->addWidget(interruptSwitch_);
  top->addSpacing(16);
  top->addWidget(new QLabel(QStringLiteral("Success/Request")));
  top->addWidget(successRequest_);
  top->addWidget(new QLabel(QStringLiteral("Count")));
  top->addWidget(count_);
  top->addStretch(1);
  top->addWidget(close);
  form->addLayout(top);

  auto* buttons = new QGridLayout;
  buttons->setSpacing(2);
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    auto* button = new QPushButton;
    button->setObjectName(QStringLiteral("S%1").arg(i + 1));
    button->setFixedWidth(kButtonNameWidth + 12);
    buttons->addWidget(button, static_cast<int>(i / 8), static_cast<int>(i % 8));
    connect(button, &QPushButton::clicked, this, [this, i] { OnScheduleButton(i); });
    buttons_[i] = button;
  }
  form->addLayout(buttons);

  scheduleList_ = new CMSetListCtrl(GridMode::kMonitorSchedule, 0, identifiers, context.messages,
                                    nullptr, this);
  scheduleList_->setObjectName(QStringLiteral("scheduleList"));
  interruptList_ = new CMSetListCtrl(GridMode::kMonitorInterrupt, 1, identifiers,
                                     context.messages, nullptr, this);
  interruptList_->setObjectName(QStringLiteral("interruptList"));
  interruptList_->setFixedHeight(interruptList_->horizontalHeader()->height() +
                                 interruptList_->rowHeight(0) + 2 * interruptList_->frameWidth());
  form->addWidget(scheduleList_, 1);
  form->addWidget(new QLabel(QStringLiteral("Interrupt")));
  form->addWidget(interruptList_);

  scheduleList_->SetDoubleClickHandler(
      [this](int row, GridColumn column) { return OnScheduleDoubleClick(row, column); });
  interruptList_->SetDoubleClickHandler(
      [this](int row, GridColumn column) { return OnInterruptDoubleClick(row, column); });
  connect(scheduleList_, &CMSetListCtrl::cellEdited, this,
          [this](int row, GridColumn) { StoreScheduleRow(row); });
  connect(interruptList_, &CMSetListCtrl::cellEdited, this,
          [this](int, GridColumn column) {
            (void)column;
            StoreInterruptRow();
          });
  connect(scheduleSwitch_, &QCheckBox::toggled, this, &CMastMonitFView::OnScheduleSwitch);
  connect(interruptSwitch_, &QCheckBox::toggled, this, &CMastMonitFView::OnInterruptSwitch);
  connect(close, &QPushButton::clicked, this,
          [this] { services_.context.windows.CloseWindow(app::Window::kMasterMonitor); });
  resize(900, 420);
}

void CMastMonitFView::OnViewUpdate(const app::ViewUpdateCodes& codes) {
  if (codes.Master == app::kUpdateMasterSetup) ShowModel();
}

void CMastMonitFView::ShowModel() {
  const app::Configuration& configuration = services_.context.configuration;
  const simulation::MasterRunSettings& run = configuration.MasterRun;
  {
    const QSignalBlocker blockSchedule(scheduleSwitch_);
    const QSignalBlocker blockInterrupt(interruptSwitch_);
    scheduleSwitch_->setChecked(run.ScheduleModeOn == 1);
    interruptSwitch_->setChecked(run.InterruptModeOn == 1);
  }
  successRequest_->setText(QStringLiteral("0 / 0"));
  count_->setText(QStringLiteral("0"));

  const std::size_t current = simulation::CurrentScheduleIndex(run);
  std::optional<std::size_t> shown;
  if (configuration.Schedules[current].enable == 1) {
    shown = current;
  } else {
    for (std::size_t i = 0; i < simulation::kScheduleCount && !shown; ++i)
      if (configuration.Schedules[i].enable == 1) shown = i;
  }
  SelectSchedule(shown, simulation::Reselect::kYes);

  ShowInterrupt();
  interruptSwitch_->setEnabled(configuration.InterruptSlot.triggerValue != 0);

  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const std::string_view name = settings::FieldText(configuration.ScheduleNames[i].data(),
                                                      configuration.ScheduleNames[i].size());
    buttons_[i]->setText(ShortScheduleName(name, kButtonNameWidth, QFontMetrics(buttons_[i]->font())));
    buttons_[i]->setToolTip(QtText(name));
    buttons_[i]->setEnabled(configuration.Schedules[i].enable == 1);
  }
}

void CMastMonitFView::OnScheduleButton(std::size_t index) {
  if (shownSchedule_ == index) return;
  SelectSchedule(index, simulation::Reselect::kNo);
}

void CMastMonitFView::SelectSchedule(std::optional<std::size_t> schedule,
                                     simulation::Reselect reselect) {
  shownSchedule_ = schedule;
  if (!schedule) {
    services_.context.configuration.MasterRun.CurrentSchedule = 0;
    shownSlots_.clear();
    scheduleList_->Rows().Resize(0);
    PaintButtons();
    return;
  }
  services_.run.SelectSchedule(*schedule, reselect);
  PaintButtons();
  ShowSchedule(*schedule);
}

void CMastMonitFView::PaintButtons() {
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    buttons_[i]->setStyleSheet(shownSchedule_ == i ? kCurrentButtonStyle : kOtherButtonStyle);
}

void CMastMonitFView::ShowSchedule(std::size_t schedule) {
  const app::Configuration& configuration = services_.context.configuration;
  const simulation::MasterSchedule& shown = configuration.Schedules[schedule];
  shownSlots_.clear();
  for (std::size_t slot = 0; slot < simulation::kSlotsPerSchedule; ++slot)
    if (shown.slots[slot].enable == 1) shownSlots_.push_back(slot);

  simulation::SlotGridRows& rows = scheduleList_->Rows();
  rows.Resize(shownSlots_.size());
  const settings::IdentifierDefinition& identifiers = configuration.Settings.Identifiers;
  for (std::size_t row = 0; row < shownSlots_.size(); ++row) {
    const std::size_t slot = shownSlots_[row];
    rows.ShowSlot(row, shown.slots[slot], identifiers);
    for (std::size_t i = 0; i < simulation::kExtendedFilesInUse; ++i) {
      const simulation::ExtendedFileBinding& binding = configuration.ExtendedFiles[i];
      if (binding.path[0] != '\0' && binding.owner == simulation::kOwnerScheduleSlot &&
          binding.scheduleIndex == schedule && binding.slotIndex == slot) {
        for (std::size_t d = 0; d < simulation::kSlotDataSize; ++d)
          rows.SetCell(row, simulation::DataColumn(d), std::string(simulation::kExtendedDataCell));
      }
    }
  }
}

void CMastMonitFView::ShowInterrupt() {
  const app::Configuration& configuration = services_.context.configuration;
  simulation::SlotGridRows& rows = interruptList_->Rows();
  rows.ShowSlot(0, configuration.InterruptSlot, configuration.Settings.Identifiers);
  for (std::size_t i = 0; i < simulation::kExtendedFilesInUse; ++i) {
    const simulation::ExtendedFileBinding& binding = configuration.ExtendedFiles[i];
    if (binding.path[0] != '\0' && binding.owner == simulation::kOwnerInterruptSlot) {
      for (std::size_t d = 0; d < simulation::kSlotDataSize; ++d)
        rows.SetCell(0, simulation::DataColumn(d), std::string(simulation::kExtendedDataCell));
    }
  }
}

void CMastMonitFView::OnScheduleSwitch(bool on) {
  const app::AppContext& context = services_.context;
  std::int32_t& mode = context.configuration.MasterRun.ScheduleModeOn;
  if ((mode == 1) == on) return;
  mode = on ? 1 : 0;
  if (!context.analyzer.WriteScheduleSwitch(static_cast<std::uint32_t>(mode)))
    monitor::ShowErrorMessage(context.messages, kScheduleSwitchFailedMessage);
}

void CMastMonitFView::OnInterruptSwitch(bool on) {
  const app::AppContext& context = services_.context;
  std::int32_t& mode = context.configuration.MasterRun.InterruptModeOn;
  if ((mode == 1) == on) return;
  mode = on ? 1 : 0;
  context.configuration.InterruptSlot.enable = on ? 1 : 0;
  if (!context.analyzer.WriteInterruptSwitch(static_cast<std::uint32_t>(mode)))
    monitor::ShowErrorMessage(context.messages, kInterruptSwitchFailedMessage);
}

void CMastMonitFView::OnFollowTimer() {
  if (!services_.context.state.Monitoring()) return;
  const simulation::MasterCounterTexts counters =
      simulation::CounterTextsOf(services_.context.monitor.latestBlockHeader.Load());
  successRequest_->setText(QtText(counters.successRequest));
  count_->setText(QtText(counters.count));
  FollowScheduleRows();
  FollowInterruptRow();
}

void CMastMonitFView::FollowScheduleRows() {
  const app::AppContext& context = services_.context;
  const app::Configuration& configuration = context.configuration;
  const std::size_t current = simulation::CurrentScheduleIndex(configuration.MasterRun);
  const simulation::MasterSchedule& schedule = configuration.Schedules[current];
  const simulation::PatternRun& run = context.master.patterns[current];
  const simulation::ScheduleTable& table = context.master.tables[current];
  const simulation::PatternRules rules = app::MasterSimulationOf(context).rules;

  simulation::SlotGridRows& rows = scheduleList_->Rows();
  for (std::size_t row = 0; row < shownSlots_.size() && row < rows.size(); ++row) {
    const std::size_t slot = shownSlots_[row];
    if (schedule.slots[slot].pattern != 1) continue;
    std::optional<simulation::SimEntry> entry;
    for (const simulation::TimerCursor& cursor : run.timers)
      if (cursor.slot == slot) entry = table[slot];
    for (const simulation::KeyCursor& cursor : run.keys) {
      if (cursor.slot == slot && slot < run.rows.size()) {
        entry = simulation::PreviewNextRow(table[slot], cursor, schedule.slots[slot].repeatPattern == 1,
                                           run.rows[slot], rules, context.master.PatternEndReached);
      }
    }
    if (!entry) continue;
    simulation::SlotRow cells = rows.cells(row);
    ShowFrame(cells, simulation::EntryFrameCells(*entry, configuration.Settings.Identifiers));
    if (cells != rows.cells(row)) rows.SetCells(row, cells);
  }
}

void CMastMonitFView::FollowInterruptRow() {
  const app::AppContext& context = services_.context;
  const simulation::SimSlot& slot = context.configuration.InterruptSlot;
  const simulation::PatternRun& run = context.master.interruptPattern;
  if (slot.pattern != 1 || run.keys.empty() || run.rows.empty()) return;
  // The row at the cursor, as the next key press would send it; an ended
  // pattern shows its last row again.
  const simulation::SimEntry entry = simulation::PreviewNextRow(
      context.master.interruptEntry, run.keys.front(), slot.repeatPattern == 1, run.rows.front(),
      app::MasterSimulationOf(context).rules, false);
  simulation::SlotGridRows& rows = interruptList_->Rows();
  simulation::SlotRow cells = rows.cells(0);
  ShowFrame(cells,
            simulation::EntryFrameCells(entry, context.configuration.Settings.Identifiers));
  if (cells != rows.cells(0)) rows.SetCells(0, cells);
}

bool CMastMonitFView::OnScheduleDoubleClick(int row, int column) {
  const auto cell = static_cast<GridColumn>(column);
  if (row < 0 || static_cast<std::size_t>(row) >= shownSlots_.size()) return true;
  if (services_.context.state.Monitoring() && IsFrameColumn(cell)) {
    EditRunningFrame(row);
    return true;
  }
  // The built-in editor for the frame cells and the error; nothing else.
  return !(IsFrameColumn(cell) || cell == simulation::kColumnError);
}

bool CMastMonitFView::OnInterruptDoubleClick(int row, int column) {
  (void)row;
  const auto cell = static_cast<GridColumn>(column);
  return !(IsFrameColumn(cell) || cell == simulation::kColumnError);
}

void CMastMonitFView::EditRunningFrame(int row) {
  const simulation::SlotRow& cells = scheduleList_->Rows().cells(static_cast<std::size_t>(row));
  QStringList fields;
  for (GridColumn column = simulation::kColumnCommand; column <= simulation::kColumnData7;
       column = static_cast<GridColumn>(column + 1)) {
    if (!cells[column].empty()) fields << QtText(cells[column]);
  }
  const QRect first = scheduleList_->visualRect(
      scheduleList_->model()->index(row, scheduleList_->SectionOf(simulation::kColumnCommand)));
  const QRect last = scheduleList_->visualRect(
      scheduleList_->model()->index(row, scheduleList_->SectionOf(simulation::kColumnData7)));

  auto* editor = new QLineEdit(fields.join(QLatin1Char(',')), scheduleList_->viewport());
  editor->setObjectName(QStringLiteral("frameEditor"));
  editor->setGeometry(first.united(last));
  editor->selectAll();
  editor->show();
  editor->setFocus();
  const std::size_t slot = shownSlots_[static_cast<std::size_t>(row)];
  connect(editor, &QLineEdit::editingFinished, this, [this, editor, row, slot] {
    if (!editor->isVisible()) return;
    editor->hide();
    editor->deleteLater();
    const app::AppContext& context = services_.context;
    app::Configuration& configuration = context.configuration;
    const std::size_t current = simulation::CurrentScheduleIndex(configuration.MasterRun);
    simulation::SimSlot& edited = configuration.Schedules[current].slots[slot];
    simulation::SimEntry& entry = context.master.tables[current][slot];
    const std::optional<bool> changed = simulation::ApplyRunningFrameEdit(
        editor->text().toStdString(), edited, entry, configuration.Settings.Identifiers);
    if (changed.value_or(false)) {
      scheduleList_->Rows().ShowSlot(static_cast<std::size_t>(row), edited,
                                     configuration.Settings.Identifiers);
      context.master.tableChanged = true;
    }
  });
}

void CMastMonitFView::StoreScheduleRow(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= shownSlots_.size()) return;
  const app::AppContext& context = services_.context;
  app::Configuration& configuration = context.configuration;
  const settings::IdentifierDefinition& identifiers = configuration.Settings.Identifiers;
  const std::size_t current = simulation::CurrentScheduleIndex(configuration.MasterRun);
  const std::size_t slot = shownSlots_[static_cast<std::size_t>(row)];
  simulation::SimSlot& stored = configuration.Schedules[current].slots[slot];
  simulation::SlotGridRows& rows = scheduleList_->Rows();

  std::optional<simulation::SimSlot> read =
      simulation::ReadMasterRow(rows.cells(static_cast<std::size_t>(row)), stored, identifiers);
  if (read && read->identifier > 0x3F) {
    monitor::ShowErrorBox(context.messages, simulation::kIdentifierRangeText);
    read.reset();
  }
  if (read) {
    read->enable = 1;
    stored = *read;
    simulation::SimEntry& entry = context.master.tables[current][slot];
    const simulation::SimEntry compiled = simulation::CompileSlot(stored);
    entry.kind = compiled.kind;
    entry.identifier = compiled.identifier;
    std::copy(std::begin(compiled.data), std::end(compiled.data), std::begin(entry.data));
    entry.enable |= simulation::kEntryChanged;
    if (context.state.Monitoring()) context.master.tableChanged = true;
  }
  rows.ShowSlot(static_cast<std::size_t>(row), stored, identifiers);
}

void CMastMonitFView::StoreInterruptRow() {
  const app::AppContext& context = services_.context;
  app::Configuration& configuration = context.configuration;
  const settings::IdentifierDefinition& identifiers = configuration.Settings.Identifiers;
  simulation::SlotGridRows& rows = interruptList_->Rows();

  std::optional<simulation::SimSlot> read =
      simulation::ReadInterruptRow(rows.cells(0), configuration.InterruptSlot, identifiers);
  if (read && read->identifier > 0x3F) {
    monitor::ShowErrorBox(context.messages, simulation::kIdentifierRangeText);
    read.reset();
  }
  if (read) {
    configuration.InterruptSlot = *read;
    simulation::SimEntry& entry = context.master.interruptEntry;
    const simulation::SimEntry compiled = simulation::CompileSlot(*read);
    entry.kind = compiled.kind;
    entry.identifier = compiled.identifier;
    std::copy(std::begin(compiled.data), std::end(compiled.data), std::begin(entry.data));
    entry.enable = simulation::kEntryChanged | simulation::kEntryEnabled;
  }
  ShowInterrupt();
}

}  // namespace orvane::ui
