// A master schedule entered by hand and run: the whole program in process
// on the real-time virtual analyzer; the schedule is typed into the master
// setup's grid through its editors, accepted with a change to Master
// Simulation mode, and monitored for a second. The monitor buffer must hold
// the three frames over and over, in slot order, with the entered data.
#include <QCheckBox>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <array>
#include <vector>

#include "app/RunControl.h"
#include "simulation/ui/CMSimSetDlg.h"
#include "tests/ui/support/ProgramHarness.h"
#include "tests/ui/support/SlotGridDriver.h"

using orvane::app::MainCommand;
using orvane::simulation::DataColumn;
using orvane::testing::ProgramHarness;
using orvane::ui::CMSetListCtrl;
using orvane::ui::CMSimSetDlg;
namespace grid = orvane::ui::testing;
namespace sim = orvane::simulation;

namespace {

// A complete frame of the monitor buffer.
struct Frame {
  int identifier;
  bool tx;
  std::array<std::uint8_t, 8> data;
};

std::vector<Frame> CompleteFrames(const orvane::monitor::MonitorState& state) {
  std::vector<Frame> frames;
  const orvane::monitor::RingSnapshot snapshot = state.MonitorBuffer.Snapshot();
  const auto records = state.MonitorBuffer.Records();
  for (std::uint32_t position = 0; position < snapshot.Count(); ++position) {
    const orvane::monitor::MonitorRecord& record = records[snapshot.IndexOf(position)];
    if (record.kind != orvane::monitor::kKindEnd || record.error != orvane::monitor::kErrorNone) {
      continue;
    }
    Frame frame{record.Identifier(), record.IsTx(), {}};
    std::copy(std::begin(record.data), std::end(record.data), frame.data.begin());
    frames.push_back(frame);
  }
  return frames;
}

// Slot 0: Tx 10 with two bytes, slot 1: Rx 23 (a slave of the demo network
// answers it), slot 2: Tx 32 with eight bytes; 20 ms before each; all
// enabled, the schedule enabled, repeated and switched on.
void EnterSchedule(CMSimSetDlg& dialog) {
  CMSetListCtrl& list = *dialog.findChild<CMSetListCtrl*>("scheduleList");
  for (int row = 0; row < 3; ++row) QVERIFY(grid::TypeInCell(list, row, sim::kColumnDelay, "20"));
  QVERIFY(grid::ChooseInCell(list, 0, sim::kColumnCommand, "Tx"));
  QVERIFY(grid::TypeInCell(list, 0, sim::kColumnIdentifier, "10"));
  QVERIFY(grid::TypeInCell(list, 0, sim::kColumnData0, "a1"));
  QVERIFY(grid::TypeInCell(list, 0, DataColumn(1), "b2"));
  QVERIFY(grid::ChooseInCell(list, 1, sim::kColumnCommand, "Rx"));
  QVERIFY(grid::TypeInCell(list, 1, sim::kColumnIdentifier, "23"));
  QVERIFY(grid::TypeInCell(list, 2, sim::kColumnIdentifier, "32"));
  QVERIFY(grid::TypeInCell(list, 2, sim::kColumnData0, "c3"));
  QVERIFY(grid::TypeInCell(list, 2, DataColumn(7), "d4"));
  for (int row = 0; row < 3; ++row) grid::ClickCell(list, row, sim::kColumnEnable);
  QCOMPARE(grid::CellText(list, 2, DataColumn(3)), QString("00"));
  QCOMPARE(grid::CellText(list, 1, sim::kColumnData0), QString());
  for (const char* box : {"enable", "repeat", "scheduleSwitch"}) {
    QTest::mouseClick(dialog.findChild<QCheckBox*>(box), Qt::LeftButton);
  }
  QTest::mouseClick(dialog.findChild<QPushButton*>("ok"), Qt::LeftButton);
}

}  // namespace

class MasterScheduleRunTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void enteredScheduleRunsInSlotOrderWithItsData();
};

void MasterScheduleRunTest::enteredScheduleRunsInSlotOrderWithItsData() {
  ProgramHarness harness;
  QVERIFY(!harness.Start().has_value());
  harness.boxes.clear();
  auto& frame = harness.frame();
  QAction* setup = frame.ActionOf(MainCommand::kMasterSetup);
  QVERIFY(setup != nullptr && setup->isEnabled());

  bool entered = false;
  grid::WhenModal<CMSimSetDlg>([&entered](CMSimSetDlg& dialog) {
    EnterSchedule(dialog);
    entered = dialog.result() == QDialog::Accepted;
  });
  setup->trigger();
  QVERIFY(entered);
  QCOMPARE(harness.boxes.size(), std::size_t{1});
  QCOMPARE(harness.boxes[0].caption, std::string("Simulation Mode"));
  QCOMPARE(harness.boxes[0].text, std::string("Do you want to change to Master Simulation Mode?"));
  QCOMPARE(harness.app().state().SimulationMode, std::int32_t{orvane::app::kModeMaster});
  QCOMPARE(harness.app().configuration().MasterRun.ScheduleModeOn, 1);

  frame.Execute(MainCommand::kStart);
  QVERIFY(harness.app().state().Monitoring());
  QTest::qWait(1000);
  frame.Execute(MainCommand::kStop);
  QVERIFY(
      ProgramHarness::WaitFor([&] { return !harness.app().runControl()->StopRequested(); }, 4000));
  QCOMPARE(harness.boxes.size(), std::size_t{1});

  std::vector<Frame> frames = CompleteFrames(harness.app().monitorState());
  // A frame of the demo network's own master may still have been on the
  // bus when monitoring started; the schedule's frames follow it.
  const auto first = std::ranges::find(frames, 0x10, &Frame::identifier);
  QVERIFY(first - frames.begin() <= 1);
  frames.erase(frames.begin(), first);
  QVERIFY2(frames.size() >= 9, qPrintable(QString::number(frames.size())));
  constexpr std::array<int, 3> kOrder = {0x10, 0x23, 0x32};
  for (std::size_t i = 0; i < frames.size(); ++i) {
    const Frame& seen = frames[i];
    QCOMPARE(seen.identifier, kOrder[i % 3]);
    switch (seen.identifier) {
      case 0x10:
        QVERIFY(seen.tx);
        QCOMPARE(seen.data[0], std::uint8_t{0xA1});
        QCOMPARE(seen.data[1], std::uint8_t{0xB2});
        break;
      case 0x23:
        QVERIFY(!seen.tx);
        break;
      default:
        QVERIFY(seen.tx);
        QCOMPARE(seen.data, (std::array<std::uint8_t, 8>{0xC3, 0, 0, 0, 0, 0, 0, 0xD4}));
    }
  }
  harness.app().state().ShutdownState = orvane::app::kShutdownForced;
  frame.close();
}

QTEST_MAIN(MasterScheduleRunTest)
#include "MasterScheduleRunTest.moc"
