// The editing grid of the simulation windows driven with the mouse and the
// keyboard: a schedule entered through the in-place editors and read back,
// refused entries that keep their editor open, "Ena" on a row without a
// delay, check cells, the clipboard between a schedule list and an
// interrupt row, pattern rows, and the monitor modes that do not edit.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

#include "settings/FixedText.h"
#include "settings/IdentifierDefinition.h"
#include "simulation/SlotRowRead.h"
#include "simulation/ui/CMSetListCtrl.h"
#include "tests/ui/support/RecordingSink.h"

namespace orvane::ui {

using simulation::GridColumn;
using simulation::GridMode;

class SimulationGridTest : public QObject {
  Q_OBJECT

 private:
  settings::IdentifierDefinition identifiers_{};
  testing::RecordingSink sink_;
  simulation::GridClipboard clipboard_;
  std::unique_ptr<QWidget> window_;
  CMSetListCtrl* schedule_ = nullptr;
  CMSetListCtrl* interrupt_ = nullptr;

  void Open(GridMode scheduleMode, GridMode interruptMode, std::size_t rows = 32) {
    window_ = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window_.get());
    schedule_ = new CMSetListCtrl(scheduleMode, rows, identifiers_, sink_, &clipboard_);
    interrupt_ = new CMSetListCtrl(interruptMode, 1, identifiers_, sink_, &clipboard_);
    layout->addWidget(schedule_);
    layout->addWidget(interrupt_);
    window_->resize(1000, 600);
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }
  void OpenSetup() { Open(GridMode::kSetupSchedule, GridMode::kSetupInterrupt); }

  static QPoint Center(CMSetListCtrl* grid, int row, GridColumn column) {
    return grid->visualRect(grid->model()->index(row, grid->SectionOf(column))).center();
  }
  static void Click(CMSetListCtrl* grid, int row, GridColumn column) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, Center(grid, row, column));
  }
  // A double click: the first click selects the row.
  static void DoubleClick(CMSetListCtrl* grid, int row, GridColumn column) {
    Click(grid, row, column);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, Center(grid, row, column));
  }
  static QWidget* Editor(CMSetListCtrl* grid, int row, GridColumn column) {
    return grid->indexWidget(grid->model()->index(row, grid->SectionOf(column)));
  }
  static QLineEdit* LineEditor(CMSetListCtrl* grid, int row, GridColumn column) {
    return qobject_cast<QLineEdit*>(Editor(grid, row, column));
  }
  // Double click, type, Enter.
  static void Type(CMSetListCtrl* grid, int row, GridColumn column, const QString& text) {
    DoubleClick(grid, row, column);
    QLineEdit* editor = LineEditor(grid, row, column);
    QVERIFY2(editor != nullptr, "no line editor");
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
  }
  // Double click, pick the item in the list that opens, Enter.
  static void Choose(CMSetListCtrl* grid, int row, GridColumn column, const QString& item) {
    DoubleClick(grid, row, column);
    auto* combo = qobject_cast<QComboBox*>(Editor(grid, row, column));
    QVERIFY2(combo != nullptr, "no drop-down");
    QTRY_VERIFY(combo->view()->isVisible());
    const int target = combo->findText(item);
    QVERIFY2(target >= 0, qPrintable(item));
    for (int at = combo->view()->currentIndex().row(); at < target; ++at) {
      QTest::keyClick(combo->view(), Qt::Key_Down);
    }
    QTest::keyClick(combo->view(), Qt::Key_Return);
    QTRY_VERIFY(Editor(grid, row, column) == nullptr);
  }
  static QString Cell(CMSetListCtrl* grid, int row, GridColumn column) {
    return QString::fromStdString(grid->RowCells(row)[column]);
  }
  simulation::SimSlot ReadBack(int row) {
    const std::optional<simulation::SimSlot> slot = simulation::ReadMasterRow(
        schedule_->RowCells(row), schedule_->StoredSlot(row), identifiers_);
    if (!slot) qFatal("row %d cannot be read", row);
    return *slot;
  }
  static QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  }
  void ExpectOneBox(std::string_view caption, std::string_view text) {
    const std::vector<testing::RecordedBox> boxes = sink_.Boxes();
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(boxes[0].caption), ToQString(caption));
    QCOMPARE(QString::fromStdString(boxes[0].text), ToQString(text));
    sink_.Clear();
  }

 private Q_SLOTS:
  void init() {
    settings::SetIdentifierDefaults(identifiers_);
    sink_.Clear();
    clipboard_.Reset();
  }
  void cleanup() { window_.reset(); }

  void columnsOfTheMode() {
    OpenSetup();
    QCOMPARE(schedule_->model()->columnCount(), 19);
    QCOMPARE(interrupt_->model()->columnCount(), 16);
    QCOMPARE(schedule_->model()->headerData(3, Qt::Horizontal).toString(), QString("Command"));
    QCOMPARE(interrupt_->model()->headerData(14, Qt::Horizontal).toString(), QString("Key"));
    QCOMPARE(schedule_->columnWidth(schedule_->SectionOf(simulation::kColumnCommand)), 58);
    QCOMPARE(schedule_->columnWidth(schedule_->SectionOf(simulation::kColumnData7)), 26);
    QCOMPARE(schedule_->model()->rowCount(), 32);
    QCOMPARE(Cell(schedule_, 31, simulation::kColumnNumber), QString("31"));
    QCOMPARE(Cell(schedule_, 31, simulation::kColumnRepeat), QString("UNCHECKED"));
  }

  void scheduleEnteredThroughTheEditorsReadsBack() {
    OpenSetup();
    QSignalSpy changed(schedule_, &CMSetListCtrl::changed);

    Type(schedule_, 0, simulation::kColumnDelay, "10");
    Choose(schedule_, 0, simulation::kColumnCommand, "Tx");
    QCOMPARE(Cell(schedule_, 0, simulation::kColumnIdentifier), QString("10"));
    Type(schedule_, 0, simulation::kColumnIdentifier, "20");
    QCOMPARE(Cell(schedule_, 0, simulation::DataColumn(3)), QString("00"));
    Type(schedule_, 0, simulation::kColumnData0, "5");
    QCOMPARE(Cell(schedule_, 0, simulation::kColumnData0), QString("05"));
    Type(schedule_, 0, simulation::DataColumn(3), "FF");
    Type(schedule_, 0, simulation::kColumnTrigger, "250");
    QCOMPARE(Cell(schedule_, 0, simulation::kColumnTrigger), QString("250[ms]"));
    Click(schedule_, 0, simulation::kColumnEnable);

    Type(schedule_, 1, simulation::kColumnDelay, "20");
    Choose(schedule_, 1, simulation::kColumnCommand, "Rx");
    Type(schedule_, 1, simulation::kColumnIdentifier, "3f");
    Choose(schedule_, 1, simulation::kColumnError, "(None)");
    Type(schedule_, 1, simulation::kColumnTrigger, "F12");
    Click(schedule_, 1, simulation::kColumnEnable);

    Type(schedule_, 2, simulation::kColumnDelay, "30");
    Choose(schedule_, 2, simulation::kColumnCommand, "Sleep");
    QCOMPARE(Cell(schedule_, 2, simulation::kColumnIdentifier), QString("3c"));
    Type(schedule_, 2, simulation::DataColumn(1), "ab");
    Click(schedule_, 2, simulation::kColumnOneTime);
    QVERIFY(sink_.Boxes().empty());
    QVERIFY(changed.count() >= 20);

    const simulation::SimSlot tx = ReadBack(0);
    QCOMPARE(tx.enable, std::uint8_t{1});
    QCOMPARE(tx.delay, 10);
    QCOMPARE(tx.command, std::uint8_t{simulation::kCommandTx});
    QCOMPARE(tx.identifier, std::uint8_t{0x20});
    QCOMPARE(tx.data[0], std::uint8_t{0x05});
    QCOMPARE(tx.data[3], std::uint8_t{0xFF});
    QCOMPARE(tx.trigger, std::uint8_t{simulation::kTriggerTimer});
    QCOMPARE(tx.triggerValue, 250);

    const simulation::SimSlot rx = ReadBack(1);
    QCOMPARE(rx.enable, std::uint8_t{1});
    QCOMPARE(rx.delay, 20);
    QCOMPARE(rx.command, std::uint8_t{simulation::kCommandExtendedRx});
    QCOMPARE(rx.identifier, std::uint8_t{0x3F});
    QCOMPARE(rx.error, std::uint8_t{0});
    QCOMPARE(rx.trigger, std::uint8_t{simulation::kTriggerKey});
    QCOMPARE(rx.triggerValue, 0x7B);

    const simulation::SimSlot sleep = ReadBack(2);
    QCOMPARE(sleep.enable, std::uint8_t{0});
    QCOMPARE(sleep.delay, 30);
    QCOMPARE(sleep.command, std::uint8_t{simulation::kCommandSleep});
    QCOMPARE(sleep.identifier, std::uint8_t{0x3C});
    QCOMPARE(sleep.data[0], std::uint8_t{0});
    QCOMPARE(sleep.data[1], std::uint8_t{0xAB});
    QCOMPARE(sleep.oneTime, std::uint8_t{1});
    QCOMPARE(sleep.trigger, std::uint8_t{simulation::kTriggerNone});
  }

  void refusedEntryKeepsItsEditorOpen() {
    OpenSetup();
    DoubleClick(schedule_, 0, simulation::kColumnDelay);
    QLineEdit* delay = LineEditor(schedule_, 0, simulation::kColumnDelay);
    QVERIFY(delay != nullptr);
    QTest::keyClicks(delay, "0");
    QTest::keyClick(delay, Qt::Key_Return);
    ExpectOneBox("Error", "Please input delay value in the range of 1-65535.");
    QCOMPARE(LineEditor(schedule_, 0, simulation::kColumnDelay), delay);
    QCOMPARE(delay->text(), QString("0"));
    QCOMPARE(delay->selectedText(), QString("0"));
    // Leaving the editor for another row runs the same check once.
    Click(schedule_, 4, simulation::kColumnNumber);
    ExpectOneBox("Error", "Please input delay value in the range of 1-65535.");
    QCOMPARE(LineEditor(schedule_, 0, simulation::kColumnDelay), delay);
    QCOMPARE(schedule_->FocusedRow(), 0);
    QTest::keyClick(delay, Qt::Key_Escape);
    QTRY_VERIFY(Editor(schedule_, 0, simulation::kColumnDelay) == nullptr);
    QCOMPARE(Cell(schedule_, 0, simulation::kColumnDelay), QString(""));

    DoubleClick(schedule_, 0, simulation::kColumnIdentifier);
    QLineEdit* identifier = LineEditor(schedule_, 0, simulation::kColumnIdentifier);
    QTest::keyClicks(identifier, "zz");
    QTest::keyClick(identifier, Qt::Key_Return);
    ExpectOneBox("Error", "Please input correct value by the hexadecimal digit.");
    QCOMPARE(identifier->selectedText(), QString("zz"));
    QTest::keyClicks(identifier, "7");  // replaces the selected text
    QTest::keyClick(identifier, Qt::Key_Return);
    QVERIFY(sink_.Boxes().empty());
    QCOMPARE(Cell(schedule_, 0, simulation::kColumnIdentifier), QString("07"));

    DoubleClick(schedule_, 0, simulation::kColumnTrigger);
    QLineEdit* trigger = LineEditor(schedule_, 0, simulation::kColumnTrigger);
    QTest::keyClicks(trigger, "49");
    QTest::keyClick(trigger, Qt::Key_Return);
    ExpectOneBox("Error", "Please input interval value[50-10000], or character of a key.");
    QTest::keyClicks(trigger, "SPACE");
    QTest::keyClick(trigger, Qt::Key_Return);
    QCOMPARE(Cell(schedule_, 0, simulation::kColumnTrigger), QString("SPACE"));

    DoubleClick(schedule_, 0, simulation::kColumnData0);
    QLineEdit* data = LineEditor(schedule_, 0, simulation::kColumnData0);
    QTest::keyClicks(data, "123");
    QTest::keyClick(data, Qt::Key_Return);
    ExpectOneBox("Error", "You can't input more than 2 characters.");
  }

  void enaWithoutDelayUnticksWithItsMessage() {
    OpenSetup();
    Choose(schedule_, 5, simulation::kColumnCommand, "Tx");
    Click(schedule_, 5, simulation::kColumnEnable);
    QCOMPARE(Cell(schedule_, 5, simulation::kColumnEnable), QString("UNCHECKED"));
    QVERIFY(sink_.Boxes().at(0).icon == monitor::MessageIcon::kExclamation);
    ExpectOneBox("Parameter Error",
                 "Please input Command, or Delay value in the range of 1-65535.");
    Type(schedule_, 5, simulation::kColumnDelay, "1");
    Click(schedule_, 5, simulation::kColumnEnable);
    QCOMPARE(Cell(schedule_, 5, simulation::kColumnEnable), QString("CHECKED"));
    QVERIFY(sink_.Boxes().empty());
  }

  void slaveEnaWithoutIdentifierUnticksSilently() {
    Open(GridMode::kSlave, GridMode::kSetupInterrupt, 16);
    QCOMPARE(schedule_->model()->columnCount(), 17);
    Click(schedule_, 3, simulation::kColumnEnable);
    QCOMPARE(Cell(schedule_, 3, simulation::kColumnEnable), QString("UNCHECKED"));
    QVERIFY(sink_.Boxes().empty());
    Choose(schedule_, 3, simulation::kColumnError, "ShortMsg");
    Type(schedule_, 3, simulation::kColumnIdentifier, "2a");
    Click(schedule_, 3, simulation::kColumnEnable);
    QCOMPARE(Cell(schedule_, 3, simulation::kColumnEnable), QString("CHECKED"));
    const simulation::SimSlot response =
        simulation::ReadSlaveRow(schedule_->RowCells(3), schedule_->StoredSlot(3));
    QCOMPARE(response.identifier, std::uint8_t{0x2A});
    QCOMPARE(response.error, std::uint8_t{3});
  }

  void checkCellsToggleOnASingleClickInAnyRow() {
    OpenSetup();
    schedule_->SelectRow(0);
    QSignalSpy changed(schedule_, &CMSetListCtrl::changed);
    Click(schedule_, 9, simulation::kColumnOneTime);
    QCOMPARE(Cell(schedule_, 9, simulation::kColumnOneTime), QString("CHECKED"));
    Click(schedule_, 9, simulation::kColumnOneTime);
    QCOMPARE(Cell(schedule_, 9, simulation::kColumnOneTime), QString("UNCHECKED"));
    Click(interrupt_, 0, simulation::kColumnPattern);
    QCOMPARE(Cell(interrupt_, 0, simulation::kColumnPattern), QString("CHECKED"));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(clipboard_.lastClicked, &interrupt_->Rows());
  }

  void clipboardCarriesRowsBetweenScheduleAndInterrupt() {
    OpenSetup();
    simulation::SimSlot slot = simulation::DefaultMasterSlot();
    slot.enable = 1;
    slot.delay = 15;
    slot.identifier = 0x21;
    slot.data[0] = 0x99;
    slot.pattern = 1;
    settings::CopyToField("C:\\ptn\\lamp.ptn", slot.patternPath);
    schedule_->ShowSlot(2, slot);
    simulation::SimSlot interruptSlot = simulation::DefaultInterruptSlot();
    interruptSlot.enable = 1;
    interrupt_->ShowSlot(0, interruptSlot);

    QCOMPARE(
        RunGridClipboardAction(clipboard_, simulation::ClipboardAction::kCopy, identifiers_, sink_),
        simulation::ClipboardOutcome::kNoSelection);
    ExpectOneBox("Error", "No selection made for execution.");

    Click(schedule_, 2, simulation::kColumnNumber);
    QCOMPARE(
        RunGridClipboardAction(clipboard_, simulation::ClipboardAction::kCopy, identifiers_, sink_),
        simulation::ClipboardOutcome::kDone);
    Click(interrupt_, 0, simulation::kColumnIdentifier);
    RunGridClipboardAction(clipboard_, simulation::ClipboardAction::kOverwritePaste, identifiers_,
                           sink_);
    QCOMPARE(Cell(interrupt_, 0, simulation::kColumnIdentifier), QString("21"));
    QCOMPARE(Cell(interrupt_, 0, simulation::kColumnData0), QString("99"));
    QCOMPARE(Cell(interrupt_, 0, simulation::kColumnFile), QString("lamp.ptn"));
    QCOMPARE(ToQString(settings::FieldText(interrupt_->StoredSlot(0).patternPath)),
             QString("C:\\ptn\\lamp.ptn"));

    Click(interrupt_, 0, simulation::kColumnCommand);
    RunGridClipboardAction(clipboard_, simulation::ClipboardAction::kCut, identifiers_, sink_);
    QCOMPARE(Cell(interrupt_, 0, simulation::kColumnIdentifier), QString(""));
    QCOMPARE(Cell(interrupt_, 0, simulation::kColumnPattern), QString("UNCHECKED"));

    Click(schedule_, 0, simulation::kColumnNumber);
    RunGridClipboardAction(clipboard_, simulation::ClipboardAction::kInsertPaste, identifiers_,
                           sink_);
    QCOMPARE(Cell(schedule_, 0, simulation::kColumnEnable), QString("UNCHECKED"));
    QCOMPARE(Cell(schedule_, 0, simulation::kColumnDelay), QString("1"));
    QCOMPARE(Cell(schedule_, 0, simulation::kColumnIdentifier), QString("21"));
    QCOMPARE(Cell(schedule_, 3, simulation::kColumnDelay), QString("15"));  // moved down
    QCOMPARE(Cell(schedule_, 3, simulation::kColumnNumber), QString("3"));
    QVERIFY(sink_.Boxes().empty());
  }

  void patternRowRefusesFrameEdits() {
    OpenSetup();
    simulation::SimSlot slot = simulation::DefaultMasterSlot();
    slot.pattern = 1;
    settings::CopyToField("/data/door.ptn", slot.patternPath);
    schedule_->ShowSlot(1, slot);
    DoubleClick(schedule_, 1, simulation::kColumnIdentifier);
    QVERIFY(Editor(schedule_, 1, simulation::kColumnIdentifier) == nullptr);
    ExpectOneBox("Error", "Frame setting can not be changed, if pattern is defined.");
    Type(schedule_, 1, simulation::kColumnDelay, "500");
    QCOMPARE(Cell(schedule_, 1, simulation::kColumnDelay), QString("500"));
    QVERIFY(sink_.Boxes().empty());
  }

  void monitorModesDoNotEditOnTheirOwn() {
    Open(GridMode::kMonitorSchedule, GridMode::kMonitorInterrupt, 3);
    QCOMPARE(schedule_->model()->columnCount(), 18);
    QCOMPARE(schedule_->columnWidth(schedule_->SectionOf(simulation::kColumnCommand)), 63);
    simulation::SimSlot slot = simulation::DefaultMasterSlot();
    slot.enable = 1;
    schedule_->ShowSlot(0, slot);
    interrupt_->ShowSlot(0, simulation::DefaultInterruptSlot());
    QSignalSpy changed(schedule_, &CMSetListCtrl::changed);

    DoubleClick(schedule_, 0, simulation::kColumnDelay);
    DoubleClick(interrupt_, 0, simulation::kColumnIdentifier);
    QVERIFY(Editor(schedule_, 0, simulation::kColumnDelay) == nullptr);
    QVERIFY(Editor(interrupt_, 0, simulation::kColumnIdentifier) == nullptr);
    Click(schedule_, 0, simulation::kColumnOneTime);
    QCOMPARE(Cell(schedule_, 0, simulation::kColumnOneTime), QString("UNCHECKED"));
    QCOMPARE(changed.count(), 0);
    QVERIFY(clipboard_.lastClicked == nullptr);

    std::vector<std::pair<int, GridColumn>> taken;
    schedule_->SetDoubleClickHandler([&taken](int row, GridColumn column) {
      taken.emplace_back(row, column);
      return column != simulation::kColumnIdentifier;  // leaves "IDEN" to the grid
    });
    DoubleClick(schedule_, 0, simulation::kColumnDelay);
    QVERIFY(Editor(schedule_, 0, simulation::kColumnDelay) == nullptr);
    DoubleClick(schedule_, 0, simulation::kColumnIdentifier);
    QCOMPARE(taken.size(), std::size_t{2});
    QVERIFY(taken[0] == std::make_pair(0, simulation::kColumnDelay));
    QLineEdit* identifier = LineEditor(schedule_, 0, simulation::kColumnIdentifier);
    QVERIFY(identifier != nullptr);
    QTest::keyClicks(identifier, "2f");
    schedule_->Rows().SetCell(1, simulation::kColumnDelay, "99");  // the owner follows its run
    QCOMPARE(identifier->text(), QString("2f"));
    QTest::keyClick(identifier, Qt::Key_Return);
    QCOMPARE(Cell(schedule_, 0, simulation::kColumnIdentifier), QString("2f"));
    QCOMPARE(Cell(schedule_, 0, simulation::DataColumn(3)), QString("00"));
    QCOMPARE(changed.count(), 1);
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::SimulationGridTest)
#include "SimulationGridTest.moc"
