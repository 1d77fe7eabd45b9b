// The master simulation monitor window in the whole program on the virtual
// analyzer: what it shows of the model, switching schedules while the
// simulation runs (the bus follows), the counters, and a frame edited while
// running reaching the bus.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QtTest>
#include <set>

#include "app/AppState.h"
#include "app/CommandRules.h"
#include "app/ui/CMainFrame.h"
#include "settings/FixedText.h"
#include "simulation/SimRecords.h"
#include "simulation/SlotGrid.h"
#include "simulation/ui/CMSetListCtrl.h"
#include "simulation/ui/CMastMonitFView.h"
#include "tests/ui/support/ProgramHarness.h"

using orvane::app::MainCommand;
using orvane::testing::ProgramHarness;
namespace simulation = orvane::simulation;

namespace {

simulation::SimSlot TxSlot(std::uint8_t identifier, std::uint8_t d0, std::int32_t delay) {
  simulation::SimSlot slot = simulation::DefaultMasterSlot();
  slot.enable = 1;
  slot.identifier = identifier;
  slot.data[0] = d0;
  slot.delay = delay;
  return slot;
}

// The ring position records are written at; the test runs far too short
// for the ring to wrap.
std::uint32_t Written(const orvane::monitor::MonitorState& monitor) {
  const auto snapshot = monitor.ViewBuffer.Snapshot();
  return snapshot.wrapped ? orvane::monitor::MonitorCapacity : snapshot.writeIndex;
}

// Identifiers of the complete frames recorded from ring position `from` on.
std::multiset<int> IdentifiersSince(const orvane::monitor::MonitorState& monitor,
                                    std::uint32_t from) {
  std::multiset<int> identifiers;
  const auto records = monitor.ViewBuffer.Records();
  for (std::uint32_t n = from; n < Written(monitor); ++n) {
    if (records[n].BaseKind() == orvane::monitor::kKindEnd) identifiers.insert(records[n].Identifier());
  }
  return identifiers;
}

}  // namespace

class MasterMonitorTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void switchingSchedulesWhileRunningMovesTheBus();
};

void MasterMonitorTest::switchingSchedulesWhileRunningMovesTheBus() {
  ProgramHarness harness;
  QVERIFY(!harness.Start().has_value());
  harness.boxes.clear();  // the first start's defaults message
  auto& configuration = harness.app().configuration();
  auto& schedules = configuration.Schedules;
  schedules[0].enable = 1;
  schedules[0].repeat = 1;
  schedules[0].slots[0] = TxSlot(0x0A, 0x11, 10);
  schedules[0].slots[3] = TxSlot(0x0B, 0x22, 10);
  schedules[1].enable = 1;
  schedules[1].repeat = 1;
  schedules[1].slots[5] = TxSlot(0x1B, 0x33, 10);
  std::snprintf(configuration.ScheduleNames[1].data(), 16, "%s", "Body");
  configuration.MasterRun.ScheduleModeOn = 1;

  harness.frame().Execute(MainCommand::kModeMaster);
  QMdiSubWindow* window =
      harness.SubWindowTitled(QStringLiteral("Master Simulation Monitor Window"));
  QVERIFY(window != nullptr);
  auto* view = qobject_cast<orvane::ui::CMastMonitFView*>(window->widget());
  QVERIFY(view != nullptr);
  auto* list = view->findChild<orvane::ui::CMSetListCtrl*>(QStringLiteral("scheduleList"));
  QVERIFY(list != nullptr);

  // The enabled slots only, numbered by row; the buttons of the enabled
  // schedules only, the current one green.
  QCOMPARE(list->Rows().size(), std::size_t{2});
  QCOMPARE(list->RowCells(0)[simulation::kColumnNumber], std::string("0"));
  QCOMPARE(list->RowCells(1)[simulation::kColumnNumber], std::string("1"));
  QCOMPARE(list->RowCells(1)[simulation::kColumnIdentifier], std::string("0b"));
  auto* s1 = view->findChild<QPushButton*>(QStringLiteral("S1"));
  auto* s2 = view->findChild<QPushButton*>(QStringLiteral("S2"));
  auto* s3 = view->findChild<QPushButton*>(QStringLiteral("S3"));
  QVERIFY(s1->isEnabled() && s2->isEnabled() && !s3->isEnabled());
  QCOMPARE(s2->text(), QStringLiteral("Body"));
  const QImage buttons = s1->grab().toImage();
  const QPoint inside(4, buttons.height() / 2);
  QCOMPARE(QColor(buttons.pixel(inside)), QColor(100, 255, 100));
  QCOMPARE(QColor(s2->grab().toImage().pixel(inside)), QColor(196, 196, 196));
  // An interrupt slot without a key cannot be switched on.
  configuration.InterruptSlot.triggerValue = 0;
  harness.app().state().ViewUpdateCode.Master = orvane::app::kUpdateMasterSetup;
  view->OnViewUpdate(harness.app().state().ViewUpdateCode);
  QVERIFY(!view->findChild<QCheckBox*>(QStringLiteral("interruptSwitch"))->isEnabled());
  // The interrupt slot fires on the key K.
  configuration.InterruptSlot = TxSlot(0x2A, 0x66, 1);
  configuration.InterruptSlot.trigger = simulation::kTriggerKey;
  configuration.InterruptSlot.triggerValue = 'K';
  configuration.MasterRun.InterruptModeOn = 1;
  view->OnViewUpdate(harness.app().state().ViewUpdateCode);
  QVERIFY(view->findChild<QCheckBox*>(QStringLiteral("interruptSwitch"))->isChecked());

  auto& monitor = harness.app().monitorState();
  harness.frame().Execute(MainCommand::kStart);
  QVERIFY(harness.app().state().Monitoring());
  QVERIFY(ProgramHarness::WaitFor(
      [&] { return IdentifiersSince(monitor, 0).count(0x0A) >= 5; }, 3000));
  QVERIFY(ProgramHarness::WaitFor(
      [&] { return view->findChild<QLabel*>(QStringLiteral("count"))->text() != "0"; }, 3000));

  // The interrupt key, pressed anywhere in the program, sends the interrupt
  // slot once.
  const std::uint32_t beforeKey = Written(monitor);
  QTest::keyClick(&harness.frame(), Qt::Key_K);
  QVERIFY(ProgramHarness::WaitFor(
      [&] { return IdentifiersSince(monitor, beforeKey).count(0x2A) == 1; }, 2000));

  // Pressing the current schedule's button changes nothing; S2 switches.
  QTest::mouseClick(s1, Qt::LeftButton);
  QCOMPARE(configuration.MasterRun.CurrentSchedule, 0);
  QTest::mouseClick(s2, Qt::LeftButton);
  QCOMPARE(configuration.MasterRun.CurrentSchedule, 1);
  QCOMPARE(list->Rows().size(), std::size_t{1});
  QCOMPARE(list->RowCells(0)[simulation::kColumnIdentifier], std::string("1b"));
  QVERIFY(harness.boxes.empty());

  // Once the analyzer has taken the new table only its frames are sent.
  QTest::qWait(300);
  const std::uint32_t after = Written(monitor);
  QTest::qWait(500);
  const std::multiset<int> seen = IdentifiersSince(monitor, after);
  QVERIFY(seen.count(0x1B) >= 5);
  QCOMPARE(seen.count(0x0A) + seen.count(0x0B), std::size_t{0});

  // A frame typed over the running row goes to the bus at the next tick.
  list->SelectRow(0);
  const QRect cell = list->visualRect(
      list->model()->index(0, list->SectionOf(simulation::kColumnCommand)));
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
  auto* editor = list->viewport()->findChild<QLineEdit*>(QStringLiteral("frameEditor"));
  QVERIFY(editor != nullptr);
  QCOMPARE(editor->text(), QStringLiteral("Tx,1b,33,00"));
  editor->selectAll();
  QTest::keyClicks(editor, QStringLiteral("Tx,1c,44,55"));
  QTest::keyClick(editor, Qt::Key_Return);
  QCOMPARE(schedules[1].slots[5].identifier, std::uint8_t{0x1C});
  QCOMPARE(list->RowCells(0)[simulation::kColumnData0], std::string("44"));
  const std::uint32_t edited = Written(monitor);
  QVERIFY(ProgramHarness::WaitFor(
      [&] { return IdentifiersSince(monitor, edited).count(0x1C) >= 2; }, 2000));

  harness.frame().Execute(MainCommand::kStop);
  QVERIFY(ProgramHarness::WaitFor(
      [&] { return !harness.app().runControl()->StopRequested(); }, 4000));
  harness.app().state().ShutdownState = orvane::app::kShutdownForced;
  harness.frame().close();
}

QTEST_MAIN(MasterMonitorTest)
#include "MasterMonitorTest.moc"
