// The Each ID and Capture windows: one row per slot seen in identifier and
// in node order, while monitoring runs and after the stop; a capture that
// holds the 500 records before the command, stays as it is while
// monitoring goes on, and saves as exactly their log lines; and both
// windows in the program.
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "app/LogCommands.h"
#include "app/ui/CMainFrame.h"
#include "tests/ui/support/LogText.h"
#include "tests/ui/support/MonitorTestRecords.h"
#include "tests/ui/support/ProgramHarness.h"
#include "tests/ui/support/ShellContextRig.h"
#include "views/ui/CMonitSView.h"
#include "views/ui/MonitorWindows.h"

namespace orvane::ui {
namespace {

using app::MainCommand;
using monitor::MonitorCapacity;
using monitor::MonitorRecord;
using testing::FillRing;
using testing::LogTextOf;
using testing::NumberedRecord;
using orvane::testing::ProgramHarness;
using testing::ShellContextRig;

constexpr int kIdentifierColumn = 6;
constexpr int kCommandColumn = 3;
// The capture's ring: wrapped once, write index 250, so that the 500
// records before it run across the end of the ring.
constexpr std::uint32_t kWrappedCount = MonitorCapacity + 250;

const std::string kDemoNetwork = std::string(ORVANE_SOURCE_DIR) + "/emulator/demo-network.ldf";

MonitorRecord Event(std::uint8_t kind, std::uint8_t ident, std::int32_t time) {
  MonitorRecord record{};
  record.time = time;
  record.node = monitor::kNodeMaster;
  record.kind = kind;
  record.ident = ident;
  record.error = kind == monitor::kKindError ? monitor::kErrorChecksum : monitor::kErrorNone;
  return record;
}

MonitorRecord Frame(std::uint8_t ident, std::int32_t time) {
  return Event(monitor::kKindEnd, ident, time);
}

// Frames of the demo network's identifiers out of order, 0x05 twice, an
// error, an I/O event of channel 2 and a wake-up.
std::vector<MonitorRecord> EachIdTraffic() {
  return {Frame(0x31, 1),
          Frame(0x05, 2),
          Event(monitor::kKindError, 0x23, 3),
          Frame(0x23, 4),
          Event(12, 0x00, 5),
          Frame(0x11, 6),
          Frame(0x3C, 7),
          Event(monitor::kKindWakeup, 0x17, 8),
          Frame(0x20, 9),
          Frame(0x12, 10),
          Frame(0x05, 11)};
}

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// The text the cell drawn last at `column` of a row shows, without blanks.
std::string TextAt(const views::RowCells& row, int column) {
  std::string text;
  for (const views::RowCell& cell : row.cells()) {
    if (cell.column == column) text = Trimmed(row.Text(cell));
  }
  return text;
}

std::string TimeText(std::int32_t time) {
  monitor::TextBuffer<24> text;
  return Trimmed(views::FormatTimeCell(time, std::nullopt, text));
}

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

class EachIdCaptureTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ShellContextRig> rig_;
  views::RelativeTimeMarker stored_;

  std::unique_ptr<CMonitSView> Show(std::unique_ptr<CMonitSView> view) {
    view->resize(640, 320);
    view->show();
    if (!QTest::qWaitForWindowExposed(view.get())) qWarning("view not exposed");
    return view;
  }

  std::unique_ptr<CMonitSView> OpenEachId() {
    return Show(std::make_unique<CMonitSView>(rig_->services));
  }

  std::unique_ptr<CMonitSView> OpenCapture() {
    return Show(std::make_unique<CMonitSView>(rig_->services, MonitorWindowKind::kCapture, stored_));
  }

  static void Deliver(CMonitSView& view, std::int32_t code) {
    app::ViewUpdateCodes codes;
    codes.Monitor = code;
    view.OnViewUpdate(codes);
  }

  // What the acquisition thread does with records: into the ViewBuffer,
  // then into the per-identifier tables in the given order.
  void Acquire(const std::vector<MonitorRecord>& records, int sortOrder,
               const monitor::IdentifierSlotMap* nodeOrder) {
    monitor::MonitorRing& ring = rig_->monitor->ViewBuffer;
    const std::uint32_t first = ring.Snapshot().writeIndex;
    std::copy(records.begin(), records.end(), ring.MutableRecords().begin() + first);
    ring.Publish(first + static_cast<std::uint32_t>(records.size()), false);
    monitor::UpdateIdTables(*rig_->monitor, first, sortOrder, nodeOrder);
  }

  static std::vector<std::string> Identifiers(const CMonitSView& view) {
    std::vector<std::string> shown;
    for (int row = 1; row <= view.BottomRow(); ++row) {
      shown.push_back(TextAt(view.CellsAt(row), kIdentifierColumn));
    }
    return shown;
  }

  static std::vector<std::uint32_t> Slots(const CMonitSView& view) {
    std::vector<std::uint32_t> slots;
    for (int row = 1; row <= view.BottomRow(); ++row) slots.push_back(*view.RecordIndexAt(row));
    return slots;
  }

  std::vector<MonitorRecord> NumberedRecords(std::uint32_t first, std::uint32_t count) {
    std::vector<MonitorRecord> records;
    for (std::uint32_t n = first; n < first + count; ++n) records.push_back(NumberedRecord(n));
    return records;
  }

  monitor::LogFormat CurrentLogFormat() const {
    const app::Configuration& configuration = *rig_->configuration;
    return app::MakeLogFormat(configuration.Settings.Identifiers, configuration.Settings.Options,
                              rig_->state.IdentifierFieldMode, rig_->state.DataRadix);
  }

 private Q_SLOTS:
  void init() {
    rig_ = std::make_unique<ShellContextRig>();
    stored_ = {};
  }

  void eachIdShowsOneRowPerSlotInIdentifierOrder() {
    Acquire(EachIdTraffic(), settings::kOrderOfId, nullptr);
    auto view = OpenEachId();
    // Identifiers in order, then wake-up, the I/O event (kind 12: slot 67)
    // and the error (a checksum error, which shows its identifier) in the
    // last row.
    QCOMPARE(Slots(*view), (std::vector<std::uint32_t>{0x05, 0x11, 0x12, 0x20, 0x23, 0x31, 0x3C,
                                                        64, 67, 71}));
    QCOMPARE(Identifiers(*view), (std::vector<std::string>{"05", "11", "12", "20", "23", "31", "3c",
                                                           "", "", "23"}));
    // The latest record of an identifier.
    QCOMPARE(TextAt(view->CellsAt(1), 0), TimeText(11));
    QCOMPARE(TextAt(view->CellsAt(8), kCommandColumn), std::string("Wakeup"));
    QCOMPARE(TextAt(view->CellsAt(9), kCommandColumn), std::string("IO2_UP"));
    QCOMPARE(TextAt(view->CellsAt(10), kCommandColumn), std::string("Error"));
    QCOMPARE(TextAt(view->CellsAt(10), 0), TimeText(3));
  }

  void eachIdShowsTheNodeOrderOfTheLoadedDescription() {
    QVERIFY(rig_->description.Reload(kDemoNetwork));
    Acquire(EachIdTraffic(), settings::kOrderOfNode, rig_->description.NodeOrder().get());
    auto view = OpenEachId();
    // The gateway's frames 05 and 20, then the slaves' in the file's order;
    // 3c has no frame of the network and comes after them.
    QCOMPARE(Identifiers(*view), (std::vector<std::string>{"05", "20", "11", "12", "23", "31", "3c",
                                                           "", "", "23"}));
    QCOMPARE(TextAt(view->CellsAt(1), 0), TimeText(11));
    QCOMPARE(*view->RecordIndexAt(10), std::uint32_t{71});
  }

  void eachIdScrollsByRowsAndFollowsTheRun() {
    auto view = OpenEachId();
    const int rowHeight = view->grid().rowHeight();
    view->resize(640, 5 * rowHeight + (view->height() - view->viewport()->height()));
    QTRY_COMPARE(view->recordRowsPerPage(), 4);
    QCOMPARE(view->BottomRow(), 0);

    rig_->state.MonitorStopped = 0;
    Deliver(*view, app::kUpdateMonitoringStarted);
    rig_->state.AcquisitionRunning = 1;
    // While running the range holds all 72 slots.
    QCOMPARE(view->scrollMaximum(), (72 - 4) * rowHeight);
    Acquire(EachIdTraffic(), settings::kOrderOfId, nullptr);
    QCOMPARE(view->BottomRow(), 4);
    // It scrolls by whole rows: part of a row scrolls nothing more.
    view->verticalScrollBar()->setValue(2 * rowHeight + rowHeight / 2);
    QCOMPARE(view->RecordIndexAt(1), std::optional<std::uint32_t>(0x12));
    // A new identifier shows in its place while the run goes on.
    Acquire({Frame(0x10, 12)}, settings::kOrderOfId, nullptr);
    QCOMPARE(view->RecordIndexAt(1), std::optional<std::uint32_t>(0x11));

    rig_->state.MonitorStopped = 1;
    rig_->state.AcquisitionRunning = 0;
    Deliver(*view, app::kUpdateMonitoringStopped);
    QCOMPARE(view->scrollPosition(), 0);
    QCOMPARE(view->scrollMaximum(), (11 - 4) * rowHeight);
    view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(view->RecordIndexAt(4), std::optional<std::uint32_t>(71));
  }

  void captureHoldsTheRecordsBeforeTheCommandWhileMonitoringGoesOn() {
    rig_->state.MonitorStopped = 0;
    rig_->state.AcquisitionRunning = 1;
    FillRing(rig_->monitor->MonitorBuffer, kWrappedCount);
    auto view = OpenCapture();
    QCOMPARE(view->BottomRow(), 0);
    Deliver(*view, app::kUpdateCaptureTaken);

    const int rowHeight = view->grid().rowHeight();
    const auto expected = NumberedRecords(kWrappedCount - 500, 500);
    QCOMPARE(rig_->capture.keptCount, 500u);
    QCOMPARE(view->scrollMaximum(), (500 - view->recordRowsPerPage()) * rowHeight);
    QCOMPARE(view->RecordIndexAt(1), std::optional<std::uint32_t>(0));
    QCOMPARE(TextAt(view->CellsAt(1), 0), TimeText(expected.front().time));

    // Monitoring goes on and overwrites the ring: the capture stays.
    FillRing(rig_->monitor->MonitorBuffer, kWrappedCount + 700);
    QCOMPARE(TextAt(view->CellsAt(1), 0), TimeText(expected.front().time));
    view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(view->RecordIndexAt(view->BottomRow()), std::optional<std::uint32_t>(499));
    QCOMPARE(TextAt(view->CellsAt(view->BottomRow()), 0), TimeText(expected.back().time));
    // A Capture window behaves as stopped: its marker works while running.
    view->verticalScrollBar()->setValue(0);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                       QPoint(4, 2 * rowHeight + rowHeight / 2));
    QCOMPARE(view->marker().index, 2);
    QCOMPARE(view->marker().time, expected[1].time);

    // "Save Capture Log Data as..." writes exactly their log lines.
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("capture.log")).toStdString();
    rig_->windows.chosenFile = path;
    QVERIFY(app::SaveCaptureLog(rig_->context));
    QCOMPARE(rig_->windows.fileDialogs.back().title, std::string(app::kSaveCaptureDialogTitle));
    QCOMPARE(FileText(path), LogTextOf(expected, CurrentLogFormat()));

    // The stop leaves the capture and its marker as they are.
    rig_->state.MonitorStopped = 1;
    Deliver(*view, app::kUpdateMonitoringStopped);
    QCOMPARE(TextAt(view->CellsAt(1), 0), TimeText(expected[0].time - expected[1].time));
    QCOMPARE(TextAt(view->CellsAt(2), 0), TimeText(0));
  }

  void captureOfFewRecordsAndItsDiscardAtTheNextStart() {
    FillRing(rig_->monitor->MonitorBuffer, 120);
    WindowRegistry registry;
    RegisterMonitorWindows(registry);
    const WindowFamily* family = registry.Find(app::Window::kCapture);
    QVERIFY(family != nullptr);
    std::unique_ptr<QWidget> frame(family->create(rig_->services));
    QCOMPARE(frame->windowTitle(), QStringLiteral("Capture Window"));
    auto* view = static_cast<CMonitSView*>(static_cast<QMdiSubWindow*>(frame.get())->widget());
    frame->resize(640, 320);
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));

    // Fewer records than a capture holds: all of them.
    Deliver(*view, app::kUpdateCaptureTaken);
    QCOMPARE(rig_->capture.keptCount, 120u);
    QCOMPARE(TextAt(view->CellsAt(1), 0), TimeText(0));

    // A start discards it in the open window.
    Deliver(*view, app::kUpdateMonitoringStarted);
    QVERIFY(!rig_->capture.valid);
    QCOMPARE(view->BottomRow(), 0);

    // And also while no Capture window is open.
    Deliver(*view, app::kUpdateCaptureTaken);
    QVERIFY(rig_->capture.valid);
    frame.reset();
    family->onRunStarting();
    QVERIFY(!rig_->capture.valid);
    QCOMPARE(rig_->capture.keptCount, 0u);
  }

  void eachIdAndCaptureInTheProgram() {
    ProgramHarness harness;
    QVERIFY(!harness.Start().has_value());
    CMainFrame& frame = harness.frame();
    COrvaneApp& program = harness.app();
    harness.chosenFile = kDemoNetwork;
    frame.Execute(MainCommand::kLoadLinDescription);
    frame.Execute(MainCommand::kEachModeOrderOfNode);
    QCOMPARE(program.configuration().Settings.Options.SortOrder, std::uint8_t{1});
    frame.Execute(MainCommand::kEachIdWindow);
    QMdiSubWindow* eachId = harness.SubWindowTitled(QStringLiteral("Each ID Window"));
    QVERIFY(eachId != nullptr);
    QCOMPARE(eachId->windowTitle(), QStringLiteral("Each ID Window - (Order of Node)"));

    frame.Execute(MainCommand::kStart);
    QVERIFY(program.state().Monitoring());
    const monitor::MonitorRing& raw = program.monitorState().MonitorBuffer;
    QVERIFY(ProgramHarness::WaitFor([&] { return raw.Snapshot().Count() > 150; }, 8000));
    const monitor::RingSnapshot before = raw.Snapshot();
    frame.Execute(MainCommand::kCapture);
    const monitor::RingSnapshot after = raw.Snapshot();
    QMdiSubWindow* capture = harness.SubWindowTitled(QStringLiteral("Capture Window"));
    QVERIFY(capture != nullptr);
    QVERIFY(frame.ButtonOf(MainCommand::kSaveCaptureLog)->isEnabled());

    QTemporaryDir folder;
    const std::string whileRunning = folder.filePath(QStringLiteral("running.log")).toStdString();
    harness.chosenFile = whileRunning;
    frame.Execute(MainCommand::kSaveCaptureLog);
    QTest::qWait(500);
    frame.Execute(MainCommand::kStop);
    QVERIFY(ProgramHarness::WaitFor([&] { return program.state().MonitorStopped == 1; },
                                             4000));
    const std::string afterStop = folder.filePath(QStringLiteral("stopped.log")).toStdString();
    harness.chosenFile = afterStop;
    frame.Execute(MainCommand::kSaveCaptureLog);

    // The capture holds the records before the command, all of them while
    // there are fewer than 500: it ends somewhere between the write index
    // just before the command and just after it.
    QVERIFY(!after.wrapped);
    const std::string saved = FileText(whileRunning);
    QCOMPARE(FileText(afterStop), saved);
    const auto& configuration = program.configuration();
    const monitor::LogFormat format = app::MakeLogFormat(
        configuration.Settings.Identifiers, configuration.Settings.Options, "IDEN", "HEX");
    std::optional<std::uint32_t> end;
    for (std::uint32_t candidate = before.writeIndex; candidate <= after.writeIndex; ++candidate) {
      const std::uint32_t first = candidate > 500 ? candidate - 500 : 0;
      if (LogTextOf(raw.Records().subspan(first, candidate - first), format) == saved) {
        end = candidate;
      }
    }
    QVERIFY(end.has_value());
    auto* captureView = static_cast<CMonitSView*>(capture->widget());
    QCOMPARE(TextAt(captureView->CellsAt(1), 0), TimeText(raw.Records()[0].time));

    // The Each ID window lists the demo network's frames in node order.
    auto* eachIdView = static_cast<CMonitSView*>(eachId->widget());
    const std::vector<std::string> identifiers = Identifiers(*eachIdView);
    QVERIFY(identifiers.size() >= 6);
    QCOMPARE(std::vector<std::string>(identifiers.begin(), identifiers.begin() + 6),
             (std::vector<std::string>{"05", "20", "11", "12", "23", "31"}));
    program.state().ShutdownState = app::kShutdownForced;
    frame.close();
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::EachIdCaptureTest)
#include "EachIdCaptureTest.moc"
