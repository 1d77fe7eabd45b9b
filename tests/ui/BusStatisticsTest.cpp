// The Bus Statistics window in the program: opened from the View menu on a
// reviewed log it shows the file's rows; a Start resets it and it follows
// the run on its 200 ms timer, and after the Stop every frame of the run
// is counted once.
#include <QAction>
#include <QMdiSubWindow>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/ui/CMainFrame.h"
#include "monitor/LogWriter.h"
#include "monitor/MonitorState.h"
#include "tests/monitor/RecordBuilders.h"
#include "tests/ui/support/ProgramHarness.h"
#include "views/ui/CBusStatView.h"
#include "views/ui/LoadPlot.h"
#include "views/ui/StatisticsTableModel.h"

namespace orvane::ui {
namespace {

using app::MainCommand;
using monitor::MonitorRecord;
using orvane::testing::ProgramHarness;

// Identifier 0x10 at 0, 40, 100 and 140 ms, a checksum error of 0x10 and
// a parity error between.
void WriteLog(const std::filesystem::path& path) {
  std::vector<MonitorRecord> records{monitor::test::Frame(0, 0x10),
                                     monitor::test::Frame(40, 0x10),
                                     monitor::test::Frame(70, 0x10, monitor::kKindError),
                                     monitor::test::Frame(80, 0x00, monitor::kKindError),
                                     monitor::test::Frame(100, 0x10),
                                     monitor::test::Frame(140, 0x10)};
  records[2].error = monitor::kErrorChecksum;
  records[3].error = monitor::kErrorParity;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  monitor::WriteLogHeader(file);
  monitor::LogFormat format;
  format.dataLengths[0x10] = 2;
  monitor::LogSequenceWriter(format).Write(file, records);
  std::fclose(file);
}

QStringList Row(const StatisticsTableModel& model, int row) {
  QStringList cells;
  for (int column = 0; column < model.columnCount(); ++column) {
    cells << model.data(model.index(row, column)).toString();
  }
  return cells;
}

int RowOf(const StatisticsTableModel& model, const QString& identifier) {
  for (int row = 0; row < model.rowCount(); ++row) {
    if (model.data(model.index(row, 0)).toString() == identifier) return row;
  }
  return -1;
}

}  // namespace

class BusStatisticsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ProgramHarness> harness_;

  CMainFrame& Frame() { return harness_->frame(); }

  CBusStatView* View() {
    QMdiSubWindow* sub = harness_->SubWindowTitled(QStringLiteral("Bus Statistics Window"));
    return sub != nullptr ? qobject_cast<CBusStatView*>(sub->widget()) : nullptr;
  }

 private Q_SLOTS:
  void init() {
    harness_ = std::make_unique<ProgramHarness>();
    QVERIFY(!harness_->Start().has_value());
  }

  void cleanup() {
    harness_->app().state().ShutdownState = app::kShutdownForced;
    Frame().close();
    harness_.reset();
  }

  void showsAReviewedLogThenFollowsARun() {
    const std::filesystem::path log = harness_->programFolder() / "stats.log";
    WriteLog(log);
    harness_->chosenFile = log.string();
    Frame().Execute(MainCommand::kOpenMonitorLog);

    QAction* action = Frame().ActionOf(MainCommand::kBusStatisticsWindow);
    QVERIFY(action != nullptr);
    QCOMPARE(action->text(), QStringLiteral("&Bus Statistics Window..."));
    QVERIFY(action->isEnabled());
    Frame().Execute(MainCommand::kBusStatisticsWindow);
    CBusStatView* view = View();
    QVERIFY(view != nullptr);
    QVERIFY(action->isChecked());

    const StatisticsTableModel& model = view->model();
    QCOMPARE(model.headerData(6, Qt::Horizontal).toString(), QStringLiteral("Jitter SD [ms]"));
    QCOMPARE(model.rowCount(), 2);
    // Periods 40, 60, 40 over a span of 140 ms.
    QCOMPARE(Row(model, 0),
             QStringList({"0x10", "4", "28.57", "40", "46.667", "60", "9.428",
                          "0",    "1", "0",     "0",  "0",      "0",  "0",
                          "0",    "0", "0",     "0",  "0",      "0",  "00:00:00.140"}));
    QCOMPARE(Row(model, 1)[0], QStringLiteral("-"));
    QCOMPARE(Row(model, 1)[7], QStringLiteral("1"));  // Parity
    QCOMPARE(view->statusText(),
             QStringLiteral("6 records counted. Bus load: mean 3.3 %, peak 3.3 % over 0.140 s at "
                            "9600 bit/s."));

    // A start forgets the file; the run's frames come in on the timer.
    Frame().Execute(MainCommand::kStart);
    QVERIFY(harness_->app().state().Monitoring());
    QCOMPARE(RowOf(model, QStringLiteral("0x10")), -1);
    QVERIFY(
        ProgramHarness::WaitFor([&] { return RowOf(model, QStringLiteral("0x05")) >= 0; }, 8000));
    QVERIFY(ProgramHarness::WaitFor(
        [&] { return model.data(model.index(RowOf(model, "0x05"), 1)).toInt() >= 30; }, 8000));
    Frame().Execute(MainCommand::kStop);
    QVERIFY(
        ProgramHarness::WaitFor([&] { return harness_->app().state().MonitorStopped == 1; }, 4000));

    // Every complete frame of the run, once: as many as the last-frame
    // table counted.
    const monitor::MonitorState& monitor = harness_->app().monitorState();
    const int row = RowOf(model, QStringLiteral("0x05"));
    QCOMPARE(model.data(model.index(row, 1)).toString(),
             QString::number(monitor.LastFrameTable.counters[0x05].load()));
    QVERIFY(!view->statusText().contains(QStringLiteral("overwritten")));
    // The demo network sends 6 frames of 64 to 124 nominal bits every 80 ms:
    // 63 % of 9600 bit/s; a whole second holds 12 or 13 cycles, 60.5 % or more.
    double peak = 0;
    for (const auto& [second, percent] : view->plot().load()) peak = std::max(peak, percent);
    QVERIFY2(peak >= 60.5 && peak <= 65.6, qPrintable(QString::number(peak)));

    Frame().Execute(MainCommand::kBusStatisticsWindow);
    QVERIFY(View() == nullptr);
    QVERIFY(!action->isChecked());
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::BusStatisticsTest)
#include "BusStatisticsTest.moc"
