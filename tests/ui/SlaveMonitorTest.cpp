// The slave simulation monitor window in the whole program, on the
// real-time virtual analyzer: after the slave setup's OK has switched to
// Slave Simulation, the program stands in for the demo network's door-left
// slave (identifier 0x11, which the network's master polls; the analyzer's
// answer silences the demo slave), a data edit made while the run goes on
// reaches the bus, the checksum cells, and "Wakeup" following the run. The
// window's edits while stopped and while running are checked on their own
// in the application's context.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QtTest>
#include <array>
#include <cstdlib>

#include "app/CommandRules.h"
#include "app/ModeCommands.h"
#include "simulation/SimMonitorCells.h"
#include "simulation/SlotGrid.h"
#include "simulation/ui/CSMonitListCtrl.h"
#include "simulation/ui/CSSimSetDlg.h"
#include "simulation/ui/CSlavMonitFView.h"
#include "tests/ui/support/ProgramHarness.h"
#include "tests/ui/support/ShellContextRig.h"

using orvane::app::MainCommand;
using orvane::testing::ProgramHarness;

namespace orvane::ui {

namespace {

constexpr std::uint8_t kDoorLeftStatus = 0x11;  // polled by the demo master, two data bytes

simulation::SimSlot Response(std::uint8_t identifier, std::uint8_t d0, std::uint8_t d1) {
  simulation::SimSlot response = simulation::DefaultSlaveResponse();
  response.enable = 1;
  response.identifier = identifier;
  response.data[0] = d0;
  response.data[1] = d1;
  return response;
}

// The latest complete frame on the bus with `identifier` carries `d0`, `d1`.
bool BusCarries(ProgramHarness& harness, std::uint8_t identifier, std::uint8_t d0,
                std::uint8_t d1) {
  const monitor::LastFrameSlots& frames = harness.app().monitorState().LastFrameTable;
  if (frames.counters[identifier].load() == 0) return false;
  const monitor::MonitorRecord record = frames.records[identifier].Load();
  return record.data[0] == d0 && record.data[1] == d1;
}

std::string Cell(CSlavMonitFView& view, int row, unsigned column) {
  return view.list().RowCells(row)[column];
}

void DoubleClick(CSMonitListCtrl& list, int row, unsigned column) {
  const QPoint center = list.visualItemRect(list.item(row, static_cast<int>(column))).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, center);
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, center);
}

template <typename Editor>
Editor* OpenEditor(CSMonitListCtrl& list) {
  return list.viewport()->findChild<Editor*>(QStringLiteral("cellEditor"));
}

// Picks `item` in the drop-down that a double click on "Error" opened.
void ChooseError(CSMonitListCtrl& list, int row, const QString& item) {
  DoubleClick(list, row, simulation::kSlaveColumnError);
  auto* combo = OpenEditor<QComboBox>(list);
  QVERIFY(combo != nullptr);
  QTRY_VERIFY(combo->view()->isVisible());
  const int target = combo->findText(item);
  QVERIFY(target >= 0);
  const int at = combo->view()->currentIndex().row();
  for (int step = 0; step < std::abs(target - at); ++step)
    QTest::keyClick(combo->view(), target > at ? Qt::Key_Down : Qt::Key_Up);
  QTest::keyClick(combo->view(), Qt::Key_Return);
  QTRY_VERIFY(OpenEditor<QComboBox>(list) == nullptr);
}

}  // namespace

class SlaveMonitorTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void dataEditedWhileRunningReachesTheBus();
  void editsGoIntoTheResponseAndItsEntry();
};

void SlaveMonitorTest::dataEditedWhileRunningReachesTheBus() {
  ProgramHarness harness;
  QVERIFY(!harness.Start().has_value());
  app::Configuration& configuration = harness.app().configuration();
  configuration.SlaveResponses[0] = Response(kDoorLeftStatus, 0x12, 0x34);
  configuration.SlaveResponses[1] = Response(0x10, 0x12, 0x34);
  configuration.SlaveResponses[2].error = 2;  // no identifier: no frame cells

  CMainFrame& frame = harness.frame();
  // The setup's OK offers Slave Simulation, which opens the window.
  bool accepted = false;
  QTimer::singleShot(0, [&accepted] {
    auto* setup = qobject_cast<CSSimSetDlg*>(QApplication::activeModalWidget());
    if (setup == nullptr) return;
    setup->accept();
    accepted = setup->result() == QDialog::Accepted;
  });
  frame.Execute(MainCommand::kSlaveSetup);
  QVERIFY(accepted);
  QCOMPARE(harness.boxes.back().text, std::string(app::kChangeToSlaveQuestion));
  QCOMPARE(harness.app().state().SimulationMode, std::int32_t{app::kModeSlave});
  QMdiSubWindow* window = harness.SubWindowTitled(QStringLiteral("Slave Simulation Monitor Window"));
  QVERIFY(window != nullptr);
  auto* view = qobject_cast<CSlavMonitFView*>(window->widget());
  QVERIFY(view != nullptr);
  auto* wakeup = view->findChild<QPushButton*>(QStringLiteral("wakeup"));
  QVERIFY(!wakeup->isEnabled());
  QCOMPARE(Cell(*view, 1, simulation::kSlaveColumnSum), std::string("b9"));
  QCOMPARE(Cell(*view, 2, simulation::kSlaveColumnError), std::string("CheckSum"));
  QCOMPARE(Cell(*view, 2, simulation::kSlaveColumnIdentifier), std::string());
  QCOMPARE(Cell(*view, 2, simulation::kSlaveColumnSum), std::string());

  frame.Execute(MainCommand::kStart);
  QVERIFY(harness.app().state().Monitoring());
  QVERIFY(wakeup->isEnabled());
  QVERIFY(ProgramHarness::WaitFor([&] { return BusCarries(harness, kDoorLeftStatus, 0x12, 0x34); },
                                  3000));

  // Double click, type, Enter: one editor across D0-D7.
  CSMonitListCtrl& list = view->list();
  const QPoint d1 = list.visualItemRect(list.item(0, simulation::kSlaveColumnData0 + 1)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, d1);
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, d1);
  auto* editor = list.viewport()->findChild<QLineEdit*>(QStringLiteral("cellEditor"));
  QVERIFY(editor != nullptr);
  QCOMPARE(editor->text(), QStringLiteral("12,34"));
  QCOMPARE(editor->maxLength(), 23);
  QTest::keyClicks(editor, QStringLiteral("56,a7"));
  QTest::keyClick(editor, Qt::Key_Return);

  const std::array<std::uint8_t, 8> edited{0x56, 0xA7};
  QCOMPARE(Cell(*view, 0, simulation::kSlaveColumnData0), std::string("56"));
  QCOMPARE(Cell(*view, 0, simulation::kSlaveColumnSum),
           simulation::HexCell(simulation::ResponseChecksum(edited, 2)));
  QCOMPARE(configuration.SlaveResponses[0].data[1], std::uint8_t{0xA7});
  // One refresh and a tick at most, then the next poll of the master.
  QVERIFY(ProgramHarness::WaitFor([&] { return BusCarries(harness, kDoorLeftStatus, 0x56, 0xA7); },
                                  2000));

  // "Wakeup" has the analyzer send a wake-up on the bus.
  const std::size_t boxes = harness.boxes.size();
  QVERIFY(!harness.app().monitorState().EachIdTable.seen[monitor::kWakeupSlot].load());
  QTest::mouseClick(wakeup, Qt::LeftButton);
  QVERIFY(ProgramHarness::WaitFor(
      [&] { return harness.app().monitorState().EachIdTable.seen[monitor::kWakeupSlot].load(); },
      2000));
  QCOMPARE(harness.boxes.size(), boxes);

  frame.Execute(MainCommand::kStop);
  QVERIFY(ProgramHarness::WaitFor([&] { return !harness.app().state().Monitoring(); }, 4000));
  QVERIFY(
      ProgramHarness::WaitFor([&] { return !harness.app().runControl()->StopRequested(); }, 4000));
  QVERIFY(!wakeup->isEnabled());
  harness.app().state().ShutdownState = app::kShutdownForced;
  frame.close();
}

void SlaveMonitorTest::editsGoIntoTheResponseAndItsEntry() {
  testing::ShellContextRig rig;
  app::Configuration& configuration = *rig.configuration;
  configuration.SlaveResponses[0] = Response(0x10, 0x12, 0x34);
  simulation::SimSlot& pattern = configuration.SlaveResponses[3];
  pattern = Response(0x21, 1, 2);
  pattern.pattern = 1;
  CSlavMonitFView view(rig.services);
  view.show();
  QVERIFY(QTest::qWaitForWindowActive(&view));
  CSMonitListCtrl& list = view.list();

  // Stopped: one data byte, checked as hexadecimal before it is taken.
  DoubleClick(list, 0, simulation::kSlaveColumnData0 + 1);
  auto* editor = OpenEditor<QLineEdit>(list);
  QVERIFY(editor != nullptr);
  QCOMPARE(editor->text(), QStringLiteral("34"));
  QTest::keyClicks(editor, QStringLiteral("zz"));
  QTest::keyClick(editor, Qt::Key_Return);
  QCOMPARE(rig.sink.Texts(),
           std::vector<std::string>{"Please input correct value by the hexadecimal digit."});
  QCOMPARE(OpenEditor<QLineEdit>(list), editor);
  editor->selectAll();
  QTest::keyClicks(editor, QStringLiteral("ff"));
  QTest::keyClick(editor, Qt::Key_Return);
  QCOMPARE(configuration.SlaveResponses[0].data[1], std::uint8_t{0xFF});
  const simulation::SimEntry& entry = rig.slave.table[0];
  QCOMPARE(entry.enable, std::uint8_t{1});
  QCOMPARE(entry.kind, std::uint8_t{simulation::kKindTx});
  QCOMPARE(entry.identifier, std::uint8_t{0x10});
  QCOMPARE(entry.data[1], std::uint8_t{0xFF});
  QCOMPARE(Cell(view, 0, simulation::kSlaveColumnSum), std::string("ed"));  // 0x111 folded

  ChooseError(list, 0, QStringLiteral("ShortMsg"));
  QCOMPARE(configuration.SlaveResponses[0].error, std::uint8_t{3});
  QCOMPARE(Cell(view, 0, simulation::kSlaveColumnError), std::string("ShortMsg"));

  // While a slave run is in progress the error goes into the entry's kind,
  // and the timer shows the frame in force of pattern responses.
  rig.state.MonitorStopped = 0;
  rig.state.SimulationMode = app::kModeSlave;
  ChooseError(list, 0, QStringLiteral("CheckSum"));
  QCOMPARE(rig.slave.table[0].kind, std::uint8_t{0x72});
  ChooseError(list, 0, QStringLiteral("(None)"));
  QCOMPARE(rig.slave.table[0].kind, std::uint8_t{simulation::kKindTx});
  QCOMPARE(Cell(view, 0, simulation::kSlaveColumnError), std::string());
  rig.slave.table[3] = simulation::CompileSlot(pattern);
  rig.slave.table[3].data[0] = 0xC0;
  view.OnFollowTimer();
  QCOMPARE(Cell(view, 3, simulation::kSlaveColumnData0), std::string("c0"));
  QCOMPARE(Cell(view, 3, simulation::kSlaveColumnData0 + 1), std::string("02"));
  QCOMPARE(Cell(view, 3, simulation::kSlaveColumnData0 + 4), std::string());

  // The setup changed: the table takes the responses again.
  rig.state.MonitorStopped = 1;
  configuration.SlaveMasterId = 0x3C;
  configuration.SlaveResponses[5] = Response(0x2A, 7, 7);
  view.OnViewUpdate({.Slave = app::kUpdateSlaveSetup});
  QCOMPARE(view.findChild<QLineEdit*>(QStringLiteral("masterId"))->text(), QStringLiteral("3c"));
  QCOMPARE(rig.slave.table[5].identifier, std::uint8_t{0x2A});
  QCOMPARE(rig.slave.table[3].data[0], std::uint8_t{1});
  QCOMPARE(Cell(view, 5, simulation::kSlaveColumnIdentifier), std::string("2a"));
  QVERIFY(list.RowEnabled(5));
  QVERIFY(!list.RowEnabled(6));
}

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::SlaveMonitorTest)
#include "SlaveMonitorTest.moc"
