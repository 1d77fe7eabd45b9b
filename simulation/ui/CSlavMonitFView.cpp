#include "simulation/ui/CSlavMonitFView.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppContext.h"
#include "monitor/MessageCatalogue.h"
#include "monitor/MessageSink.h"
#include "pattern/HexScan.h"
#include "simulation/SlaveMonitorCells.h"
#include "simulation/SlaveSetupRows.h"
#include "simulation/SlotGridEdit.h"
#include "simulation/ui/CSMonitListCtrl.h"
#include "app/ui/QtText.h"

namespace orvane::ui {

namespace {

constexpr std::int32_t kWakeupFailedMessage = 407;
constexpr int kByteEditorLength = 2;

std::size_t DataIndex(unsigned column) {
  return column - simulation::kSlaveColumnData0;
}

}  // namespace

CSlavMonitFView::CSlavMonitFView(const ShellServices& services, QWidget* parent)
    : QWidget(parent), services_(services) {
  BuildForm();
  masterId_->setText(QString::fromStdString(
      simulation::MasterIdText(services_.context.configuration.SlaveMasterId)));
  ShowAll();
  wakeup_->setEnabled(SlaveRunInProgress());
  connect(&followTimer_, &QTimer::timeout, this, &CSlavMonitFView::OnFollowTimer);
  followTimer_.start(kFollowPeriod);
}

void CSlavMonitFView::BuildForm() {
  masterId_ = new QLineEdit;
  masterId_->setObjectName(QStringLiteral("masterId"));
  masterId_->setReadOnly(true);
  masterId_->setFixedWidth(masterId_->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
  wakeup_ = new QPushButton(QStringLiteral("Wakeup"));
  wakeup_->setObjectName(QStringLiteral("wakeup"));
  auto* close = new QPushButton(QStringLiteral("Close"));
  close->setObjectName(QStringLiteral("close"));

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("Master ID")));
  top->addWidget(masterId_);
  top->addStretch(1);
  top->addWidget(wakeup_);
  top->addWidget(close);

  list_ = new CSMonitListCtrl;
  list_->setObjectName(QStringLiteral("slaveMonitorList"));
  int width = list_->verticalHeader()->sizeHint().width() + 2 * list_->frameWidth();
  for (int column = 0; column < list_->columnCount(); ++column) width += list_->columnWidth(column);
  list_->setMinimumSize(width, list_->horizontalHeader()->sizeHint().height() +
                                   CSMonitListCtrl::kRowCount * list_->rowHeight(0) +
                                   2 * list_->frameWidth());

  auto* form = new QVBoxLayout(this);
  form->addLayout(top);
  form->addWidget(list_, 1);

  connect(wakeup_, &QPushButton::clicked, this, &CSlavMonitFView::OnWakeup);
  connect(close, &QPushButton::clicked, this,
          [this] { services_.context.windows.CloseWindow(app::Window::kSlaveMonitor); });
  connect(list_, &CSMonitListCtrl::cellActivated, this, &CSlavMonitFView::OnCellActivated);
}

bool CSlavMonitFView::SlaveRunInProgress() const {
  const app::AppState& state = services_.context.state;
  return state.Monitoring() && state.SimulationMode == app::kModeSlave;
}

void CSlavMonitFView::ShowResponse(std::size_t index) {
  const app::AppContext& context = services_.context;
  const simulation::SimSlot& response = context.configuration.SlaveResponses[index];
  const settings::IdentifierDefinition& identifiers = context.configuration.Settings.Identifiers;
  simulation::SlaveMonitorRow cells = simulation::SlaveMonitorCells(response, identifiers);
  if (SlaveRunInProgress() && response.enable == 1 && response.pattern == 1)
    simulation::ShowEntryData(cells, context.slave.table[index], identifiers);
  list_->ShowRow(static_cast<int>(index), cells, response.enable == 1);
}

void CSlavMonitFView::ShowAll() {
  for (std::size_t index = 0; index < simulation::kSlaveResponseCount; ++index) ShowResponse(index);
}

void CSlavMonitFView::OnViewUpdate(const app::ViewUpdateCodes& codes) {
  switch (codes.Slave) {
    case app::kUpdateSlaveSetup:
      OnSetupChanged();
      break;
    case app::kUpdateMonitoringStarted:
      wakeup_->setEnabled(SlaveRunInProgress());
      break;
    case app::kUpdateMonitoringStopped:
      wakeup_->setEnabled(false);
      break;
    default:
      break;
  }
}

void CSlavMonitFView::OnSetupChanged() {
  const app::AppContext& context = services_.context;
  masterId_->setText(
      QString::fromStdString(simulation::MasterIdText(context.configuration.SlaveMasterId)));
  for (std::size_t index = 0; index < simulation::kSlaveResponseCount; ++index) {
    simulation::CopyResponseFrame(context.configuration.SlaveResponses[index],
                                  context.slave.table[index]);
  }
  ShowAll();
}

void CSlavMonitFView::OnFollowTimer() {
  if (!SlaveRunInProgress()) return;
  const app::Configuration& configuration = services_.context.configuration;
  for (std::size_t index = 0; index < simulation::kSlaveResponseCount; ++index) {
    const simulation::SimSlot& response = configuration.SlaveResponses[index];
    if (response.enable == 1 && response.pattern == 1) ShowResponse(index);
  }
}

void CSlavMonitFView::OnWakeup() {
  if (!SlaveRunInProgress()) return;
  const app::AppContext& context = services_.context;
  if (!context.analyzer.SendWakeup())
    monitor::ShowErrorMessage(context.messages, kWakeupFailedMessage);
}

void CSlavMonitFView::OnCellActivated(int row, unsigned column) {
  if (column == simulation::kSlaveColumnError) {
    EditError(row);
  } else if (simulation::IsSlaveDataColumn(column) &&
             !list_->RowCells(row)[simulation::kSlaveColumnIdentifier].empty()) {
    if (SlaveRunInProgress()) {
      EditRunningData(row);
    } else if (!list_->RowCells(row)[column].empty()) {
      EditStoppedData(row, column);
    }
  }
}

void CSlavMonitFView::EditError(int row) {
  QStringList items;
  for (std::string_view choice :
       simulation::DropDownChoices(simulation::GridMode::kSlave, {}, simulation::kColumnError)) {
    items << QtText(choice);
  }
  const QString current = QtText(list_->RowCells(row)[simulation::kSlaveColumnError]);
  list_->OpenDropDown(row, simulation::kSlaveColumnError, items, current,
                      [this, row](const QString& name) { return StoreError(row, name); });
}

void CSlavMonitFView::EditStoppedData(int row, unsigned column) {
  list_->OpenLineEditor(
      row, column, column, QtText(list_->RowCells(row)[column]), kByteEditorLength,
      [this, row, column](const QString& text) { return StoreStoppedByte(row, column, text); });
}

void CSlavMonitFView::EditRunningData(int row) {
  list_->OpenLineEditor(row, simulation::kSlaveColumnData0, simulation::kSlaveColumnData7,
                        QtText(simulation::RunningDataText(list_->RowCells(row))),
                        static_cast<int>(simulation::kRunningDataTextLimit),
                        [this, row](const QString& text) { return StoreRunningBytes(row, text); });
}

bool CSlavMonitFView::StoreError(int row, const QString& name) {
  const std::optional<std::uint8_t> error = simulation::SlaveErrorCode(name.toStdString());
  if (!error) return true;
  const app::AppContext& context = services_.context;
  const auto index = static_cast<std::size_t>(row);
  simulation::SimSlot& response = context.configuration.SlaveResponses[index];
  if (SlaveRunInProgress()) {
    simulation::StoreRunningError(response, context.slave.table[index], *error);
  } else {
    response.error = *error;
  }
  ShowResponse(index);
  return true;
}

bool CSlavMonitFView::StoreStoppedByte(int row, unsigned column, const QString& text) {
  const app::AppContext& context = services_.context;
  const simulation::EditCheck check =
      simulation::CheckEditedText(simulation::DataColumn(DataIndex(column)), text.toStdString());
  if (!check.error.empty()) {
    monitor::ShowErrorBox(context.messages, check.error);
    return false;
  }
  const std::optional<std::uint32_t> value = pattern::ScanHex(check.text);
  if (!value) return true;  // emptied: the byte stays
  const auto index = static_cast<std::size_t>(row);
  if (simulation::StoreStoppedData(context.configuration.SlaveResponses[index],
                                   context.slave.table[index], DataIndex(column),
                                   static_cast<std::uint8_t>(*value))) {
    ShowResponse(index);
  }
  return true;
}

bool CSlavMonitFView::StoreRunningBytes(int row, const QString& text) {
  const app::AppContext& context = services_.context;
  const auto index = static_cast<std::size_t>(row);
  if (simulation::StoreRunningData(text.toStdString(), context.configuration.SlaveResponses[index],
                                   context.slave.table[index])
          .value_or(false)) {
    ShowResponse(index);
  }
  return true;
}

}  // namespace orvane::ui
