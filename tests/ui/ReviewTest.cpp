// A saved log opened for review in the program: the unreadable line is
// named in one warning, the Monitor window shows the file's records under
// its name, Find lands on a frame and the signal monitor shows that frame's
// signal values, a capture takes the file's newest records, and the next
// Start puts the monitor data back to a run's.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <vector>

#include "app/LoadedDescription.h"
#include "app/ui/CMainFrame.h"
#include "monitor/LogWriter.h"
#include "monitor/MonitorState.h"
#include "signals/SignalSelection.h"
#include "signals/ui/SignalSources.h"
#include "signals/ui/cls_psig_mon.h"
#include "signals/ui/cls_psig_mvw.h"
#include "tests/monitor/RecordBuilders.h"
#include "tests/ui/support/ProgramHarness.h"
#include "views/ui/CFindDlg.h"
#include "views/ui/CMonitSView.h"

namespace orvane::ui {
namespace {

using app::MainCommand;
using monitor::MonitorRecord;
using orvane::testing::ProgramHarness;

const std::string kDemoDescription = ORVANE_SOURCE_DIR "/emulator/demo-network.ldf";
constexpr std::uint8_t kDoorLeftStatus = 0x11;  // DlWindowPosition is data byte 0
constexpr int kFramePairs = 300;                // 600 records: more than a capture keeps
constexpr int kDamagedLine = 5;                 // the header is line 1

// DoorLeftStatus frames n at times 10 n with window position n % 250, each
// followed by a frame of 0x12.
std::vector<MonitorRecord> DoorRecords() {
  std::vector<MonitorRecord> records;
  for (int pair = 0; pair < kFramePairs; ++pair) {
    MonitorRecord door = monitor::test::Frame(10 * pair, kDoorLeftStatus);
    door.data[0] = static_cast<std::uint8_t>(pair % 250);
    records.push_back(door);
    records.push_back(monitor::test::Frame(10 * pair + 5, 0x12));
  }
  return records;
}

// The live log of the records with one line replaced by something unreadable.
void WriteDamagedLog(const std::filesystem::path& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  monitor::WriteLogHeader(file);
  monitor::LogFormat format;
  format.dataLengths[kDoorLeftStatus] = 2;
  format.dataLengths[0x12] = 2;
  monitor::LogSequenceWriter writer{format};
  const std::vector<MonitorRecord> records = DoorRecords();
  for (std::size_t index = 0; index < records.size(); ++index) {
    if (static_cast<int>(index) + 2 == kDamagedLine) {
      std::fputs(" 00:00:00.020     ,S,Rx,Nonsense\r\n", file);
      continue;
    }
    writer.Write(file, records[index]);
  }
  std::fclose(file);
}

}  // namespace

class ReviewTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ProgramHarness> harness_;

  CMainFrame& Frame() { return harness_->frame(); }
  app::AppState& State() { return harness_->app().state(); }
  monitor::MonitorState& Monitor() { return harness_->app().monitorState(); }

  CMonitSView* ViewTitled(const QString& prefix) {
    QMdiSubWindow* sub = harness_->SubWindowTitled(prefix);
    return sub != nullptr ? static_cast<CMonitSView*>(sub->widget()) : nullptr;
  }

  // The signal monitor's "Value" of `name`; empty when it has no such row.
  QString SignalValue(const QString& name) {
    auto* window = qobject_cast<cls_psig_mon*>(
        harness_->SubWindowTitled(QStringLiteral("Signal Monitor Window")));
    if (window == nullptr) return {};
    const QTreeWidget& list = window->view();
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
      if (list.topLevelItem(row)->text(0) == name) return list.topLevelItem(row)->text(1);
    }
    return {};
  }

  // Loads the demo description and shows DoorLeftStatus's signals.
  void ShowDoorSignals() {
    harness_->chosenFile = kDemoDescription;
    Frame().Execute(MainCommand::kLoadLinDescription);
    app::LoadedDescription demo;
    QVERIFY(demo.Reload(kDemoDescription));
    const auto& frames = demo.Description()->frames;
    const auto door = std::ranges::find(frames, kDoorLeftStatus, &signals::Frame::identifier);
    QVERIFY(door != frames.end());
    const auto doorFrame = static_cast<unsigned>(door - frames.begin());
    signals::SignalSelection selection = SelectionOf(harness_->app().configuration().Settings);
    selection.SelectFrame(doorFrame, true);
    selection.SelectEntry(doorFrame, 0, true);  // DlWindowPosition
    Frame().Execute(MainCommand::kSignalMonitorWindow);
  }

 private Q_SLOTS:
  void init() {
    harness_ = std::make_unique<ProgramHarness>();
    QVERIFY(!harness_->Start().has_value());
  }

  void cleanup() {
    State().ShutdownState = app::kShutdownForced;
    Frame().close();
    harness_.reset();
  }

  void openFindCaptureAndSignals() {
    const std::filesystem::path log = harness_->programFolder() / "door.log";
    WriteDamagedLog(log);
    QVERIFY(Frame().ActionOf(MainCommand::kOpenMonitorLog)->isEnabled());
    QCOMPARE(Frame().ActionOf(MainCommand::kOpenMonitorLog)->text(),
             QStringLiteral("Open Monitor Log..."));

    harness_->boxes.clear();
    harness_->chosenFile = log.string();
    Frame().Execute(MainCommand::kOpenMonitorLog);
    QCOMPARE(harness_->boxes.size(), std::size_t{1});
    QCOMPARE(harness_->boxes[0].text, std::string("1 line could not be read and was left out: 5."));
    CMonitSView* monitorView = ViewTitled(QStringLiteral("Monitor Window - [door.log]"));
    QVERIFY(monitorView != nullptr);
    const std::uint32_t readRecords = 2 * kFramePairs - 1;
    QCOMPARE(Monitor().ViewBuffer.Snapshot().Count(), readRecords);
    // The browse display scrolls over all of them.
    QCOMPARE(monitorView->scrollMaximum(),
             static_cast<int>(readRecords) * monitorView->grid().rowHeight() -
                 monitorView->recordRowsPerPage() * monitorView->grid().rowHeight());

    // Find the second DoorLeftStatus frame: the signal monitor shows its
    // window position, not the file's last one.
    ShowDoorSignals();
    QCOMPARE(SignalValue(QStringLiteral("DlWindowPosition")),
             QString::number((kFramePairs - 1) % 250));
    Frame().Execute(MainCommand::kFindWindow);
    auto* find = qobject_cast<CFindDlg*>(Frame().windows().WindowOf(app::Window::kFind));
    QVERIFY(find != nullptr);
    find->kindGroup()->button(settings::kFindFrame)->click();
    find->identifierField()->clear();
    QTest::keyClicks(find->identifierField(), QStringLiteral("11"));
    find->findButton()->click();
    QCOMPARE(monitorView->foundIndex(), 0);
    find->nextButton()->click();
    QCOMPARE(monitorView->foundIndex(), 2);  // record 1 is a frame of 0x12
    QCOMPARE(SignalValue(QStringLiteral("DlWindowPosition")), QStringLiteral("1"));

    // A capture of the review keeps its newest 500 records: the oldest kept
    // is the 100th of the 599 read, the door frame at 0.500 s.
    QVERIFY(Frame().ActionOf(MainCommand::kCapture)->isEnabled());
    Frame().Execute(MainCommand::kCapture);
    CMonitSView* captureView = ViewTitled(QStringLiteral("Capture Window"));
    QVERIFY(captureView != nullptr);
    const views::RowCells oldest = captureView->CellsAt(1);
    QVERIFY(!oldest.cells().empty());
    QCOMPARE(QString::fromUtf8(oldest.Text(oldest.cells()[0])),
             QStringLiteral(" 00:00:00.500     "));

    // Start ends the review: the rings hold a run's records again.
    Frame().Execute(MainCommand::kStart);
    QVERIFY(State().ReviewFile.empty());
    QCOMPARE(Monitor().ViewBuffer.Capacity(), monitor::MonitorCapacity);
    QVERIFY(ViewTitled(QStringLiteral("Monitor Window - [Monitor Mode")) != nullptr);
    Frame().Execute(MainCommand::kStop);
  }

  void notALogChangesNothing() {
    const std::filesystem::path file = harness_->programFolder() / "notes.log";
    std::FILE* out = std::fopen(file.c_str(), "wb");
    std::fputs("shopping list\n", out);
    std::fclose(out);
    harness_->boxes.clear();
    harness_->chosenFile = file.string();
    Frame().Execute(MainCommand::kOpenMonitorLog);
    QCOMPARE(harness_->boxes.size(), std::size_t{1});
    QCOMPARE(harness_->boxes[0].caption, std::string("Error"));
    QVERIFY(State().ReviewFile.empty());
    QVERIFY(ViewTitled(QStringLiteral("Monitor Window - [Monitor Mode")) != nullptr);
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::ReviewTest)
#include "ReviewTest.moc"
