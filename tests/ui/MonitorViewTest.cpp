// The Monitor window's view over a ViewBuffer of its own: the tail display
// while monitoring runs, the browse display after the stop, the relative
// time marker's double click, and the colours on screen.
#include <QImage>
#include <QScrollBar>
#include <QtTest>
#include <memory>

#include "tests/ui/support/MonitorTestRecords.h"
#include "tests/ui/support/ShellContextRig.h"
#include "views/ui/CChildFrame.h"
#include "views/ui/CMonitSView.h"
#include "views/ui/MonitorWindows.h"

namespace orvane::ui {
namespace {

using monitor::MonitorCapacity;
using testing::FillRing;
using testing::NumberedRecord;
using testing::ShellContextRig;

// Records 0 to kWrappedCount − 1: the ring wrapped once, write index 250.
constexpr std::uint32_t kWrappedCount = MonitorCapacity + 250;

// The Time cell's text for a time.
std::string TimeText(std::int32_t time) {
  monitor::TextBuffer<24> text;
  return std::string(views::FormatTimeCell(time, std::nullopt, text));
}

// The cell drawn last at `column` of a row.
views::RowCell Shown(const views::RowCells& row, int column) {
  views::RowCell found{};
  for (const views::RowCell& cell : row.cells()) {
    if (cell.column == column) found = cell;
  }
  return found;
}

std::string TextAt(const views::RowCells& row, int column) {
  return std::string(row.Text(Shown(row, column)));
}

bool HasPixel(const QImage& image, const QRect& area, const QColor& colour) {
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (image.pixelColor(x, y) == colour) return true;
    }
  }
  return false;
}

}  // namespace

class MonitorViewTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ShellContextRig> rig_;
  views::RelativeTimeMarker stored_;
  std::unique_ptr<CMonitSView> view_;

  CMonitSView& OpenView() {
    view_ = std::make_unique<CMonitSView>(rig_->services, MonitorWindowKind::kMonitor, stored_);
    view_->resize(640, 320);
    view_->show();
    if (!QTest::qWaitForWindowExposed(view_.get())) qWarning("view not exposed");
    return *view_;
  }

  void Deliver(std::int32_t code) {
    app::ViewUpdateCodes codes;
    codes.Monitor = code;
    view_->OnViewUpdate(codes);
  }

  void StartMonitoring() {
    rig_->state.MonitorStopped = 0;
    Deliver(app::kUpdateMonitoringStarted);
    rig_->state.AcquisitionRunning = 1;
  }

  void StopMonitoring() {
    rig_->state.MonitorStopped = 1;
    rig_->state.AcquisitionRunning = 0;
    Deliver(app::kUpdateMonitoringStopped);
  }

  QImage Screen() {
    view_->viewport()->repaint();
    return view_->viewport()->grab().toImage();
  }

  int RowY(int row) const { return row * view_->grid().rowHeight(); }

  QRect CellRect(int row, int column) const {
    const views::GridColumns& columns = view_->grid().columns();
    const int width = columns.width(column) * columns.charWidth();
    return QRect(columns.x(column), RowY(row), width, view_->grid().rowHeight());
  }

 private Q_SLOTS:
  void init() {
    rig_ = std::make_unique<ShellContextRig>();
    stored_ = {};
  }

  void cleanup() { view_.reset(); }

  void tailShowsTheNewestRecordInTheLowestRow() {
    CMonitSView& view = OpenView();
    StartMonitoring();
    QVERIFY(view.recordRowsPerPage() > 5);
    // An empty buffer: only the header.
    Screen();
    QCOMPARE(view.BottomRow(), 0);

    FillRing(rig_->monitor->ViewBuffer, kWrappedCount);
    Screen();
    QCOMPARE(view.BottomRow(), view.recordRowsPerPage());
    QCOMPARE(view.RecordIndexAt(view.BottomRow()), std::optional<std::uint32_t>(249));
    QCOMPARE(TextAt(view.CellsAt(view.BottomRow()), 0), TimeText(kWrappedCount - 1));
    QCOMPARE(view.RecordIndexAt(view.BottomRow() - 1), std::optional<std::uint32_t>(248));
    // The timer repaints while acquisition runs.
    QTRY_VERIFY_WITH_TIMEOUT(view.viewport()->cursor().shape() == Qt::BusyCursor, 1000);
  }

  void tailOfAWrappedBufferWithWriteIndexZero() {
    CMonitSView& view = OpenView();
    StartMonitoring();
    FillRing(rig_->monitor->ViewBuffer, MonitorCapacity);
    Screen();
    QCOMPARE(view.RecordIndexAt(view.BottomRow()),
             std::optional<std::uint32_t>(MonitorCapacity - 1));
  }

  void tailWithFewerRecordsThanRows() {
    CMonitSView& view = OpenView();
    StartMonitoring();
    FillRing(rig_->monitor->ViewBuffer, 3);
    const QImage screen = Screen();
    QCOMPARE(view.BottomRow(), 3);
    QCOMPARE(view.RecordIndexAt(3), std::optional<std::uint32_t>(2));
    // The rows below stay white.
    QCOMPARE(screen.pixelColor(5, RowY(5) + 3), QColor(Qt::white));
  }

  void aStartEmptiesTheTailDisplay() {
    CMonitSView& view = OpenView();
    StartMonitoring();
    FillRing(rig_->monitor->ViewBuffer, 500);
    Screen();
    // The next run: the view hears of the start before the acquisition
    // thread has emptied the ring, and paints the old records once.
    StartMonitoring();
    Screen();
    monitor::ResetMonitorData(*rig_->monitor);
    FillRing(rig_->monitor->ViewBuffer, 2);
    const QImage screen = Screen();
    QCOMPARE(view.BottomRow(), 2);
    QVERIFY(HasPixel(screen, CellRect(2, 2), QColor(255, 0, 0)));
    for (int row = 3; row <= view.recordRowsPerPage(); ++row) {
      QVERIFY(!HasPixel(screen, CellRect(row, 2), QColor(255, 0, 0)));
      QVERIFY(!HasPixel(screen, CellRect(row, 2), QColor(0, 0, 255)));
    }
  }

  void browseReachesTheOldestAndTheNewestRecord() {
    CMonitSView& view = OpenView();
    StartMonitoring();
    FillRing(rig_->monitor->ViewBuffer, kWrappedCount);
    Screen();
    StopMonitoring();
    QCOMPARE(view.scrollPosition(), 0);
    const int rowHeight = view.grid().rowHeight();
    QCOMPARE(view.scrollMaximum(),
             static_cast<int>(MonitorCapacity) * rowHeight - view.recordRowsPerPage() * rowHeight);

    // The top: the oldest record, which lies at the write index.
    Screen();
    QCOMPARE(view.RecordIndexAt(1), std::optional<std::uint32_t>(250));
    QCOMPARE(TextAt(view.CellsAt(1), 0), TimeText(kWrappedCount - MonitorCapacity));

    // The end: the newest record in the last row.
    view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    Screen();
    QCOMPARE(view.RecordIndexAt(view.BottomRow()), std::optional<std::uint32_t>(249));
    QCOMPARE(view.BottomRow(), view.recordRowsPerPage());
    QCOMPARE(TextAt(view.CellsAt(view.BottomRow()), 0), TimeText(kWrappedCount - 1));

    // A page up moves by the rows of a page.
    view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(view.RecordIndexAt(view.BottomRow()),
             std::optional<std::uint32_t>(249 - view.recordRowsPerPage()));

    // And back to the start.
    view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(view.RecordIndexAt(1), std::optional<std::uint32_t>(250));
  }

  void doubleClickSetsAndClearsTheMarker() {
    CMonitSView& view = OpenView();
    FillRing(rig_->monitor->ViewBuffer, 500);
    StopMonitoring();
    view.verticalScrollBar()->setValue(100 * view.grid().rowHeight());
    Screen();
    const int rowHeight = view.grid().rowHeight();
    const QPoint row3(4, RowY(3) + rowHeight / 2);

    // The header row does nothing.
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, QPoint(4, rowHeight / 2));
    QVERIFY(!view.marker().on);
    // Nor a click outside the Time column.
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {},
                       QPoint(view.grid().columns().x(2) + 2, row3.y()));
    QVERIFY(!view.marker().on);

    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, row3);
    QVERIFY(view.marker().on);
    QCOMPARE(view.marker().index, 103);
    QCOMPARE(view.marker().time, 102);
    QCOMPARE(TextAt(view.CellsAt(3), 0), TimeText(0));
    QCOMPARE(Shown(view.CellsAt(3), 0).background, views::CellBackground::kMarker);
    QCOMPARE(TextAt(view.CellsAt(4), 0), TimeText(1));
    QCOMPARE(TextAt(view.CellsAt(1), 0), TimeText(-2));
    const QImage screen = Screen();
    QVERIFY(HasPixel(screen, CellRect(3, 0), QColor(255, 255, 0)));
    QVERIFY(!HasPixel(screen, CellRect(4, 0), QColor(255, 255, 0)));

    // The marked row again: cleared.
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, row3);
    QVERIFY(!view.marker().on);
    QCOMPARE(view.marker().index, -1);
    QCOMPARE(TextAt(view.CellsAt(3), 0), TimeText(102));
  }

  void doubleClickWhileMonitoringDoesNothing() {
    CMonitSView& view = OpenView();
    StartMonitoring();
    FillRing(rig_->monitor->ViewBuffer, 500);
    Screen();
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {},
                       QPoint(4, RowY(2) + view.grid().rowHeight() / 2));
    QVERIFY(!view.marker().on);
  }

  void markerOutlivesTheWindowUntilTheNextStart() {
    OpenView();
    FillRing(rig_->monitor->ViewBuffer, 500);
    StopMonitoring();
    QTest::mouseDClick(view_->viewport(), Qt::LeftButton, {},
                       QPoint(4, RowY(2) + view_->grid().rowHeight() / 2));
    QVERIFY(view_->marker().on);
    view_.reset();
    QVERIFY(stored_.on);
    QCOMPARE(stored_.index, 2);

    CMonitSView& again = OpenView();
    QVERIFY(again.marker().on);
    QCOMPARE(Shown(again.CellsAt(2), 0).background, views::CellBackground::kMarker);
    StartMonitoring();
    QVERIFY(!again.marker().on);
    QVERIFY(!stored_.on);
  }

  void rxTextIsRedTxBlueAndAnErrorRed() {
    OpenView();
    FillRing(rig_->monitor->ViewBuffer, 500);
    StopMonitoring();
    const QImage screen = Screen();
    // Record 0 (row 1) is sent, record 1 (row 2) received, record 3 (row 4)
    // an Error.
    QVERIFY(HasPixel(screen, CellRect(2, 2), QColor(255, 0, 0)));
    QVERIFY(!HasPixel(screen, CellRect(2, 2), QColor(0, 0, 255)));
    QVERIFY(HasPixel(screen, CellRect(1, 2), QColor(0, 0, 255)));
    const QRect command = CellRect(4, 3);
    QCOMPARE(screen.pixelColor(command.right() - 1, command.center().y()), QColor(255, 0, 0));
    QCOMPARE(screen.pixelColor(CellRect(2, 3).right() - 1, command.center().y() - RowY(2)),
             QColor(Qt::white));
    // The header's grey.
    QCOMPARE(screen.pixelColor(CellRect(0, 0).left() + 3, 2), QColor(200, 200, 200));
  }

  void sizeChangeAsksAllViewsToRebuild() {
    CMonitSView& view = OpenView();
    rig_->windows.events.clear();
    view.resize(640, 420);
    QTRY_VERIFY(!rig_->windows.events.empty());
    QCOMPARE(rig_->windows.events.front(),
             std::string("refresh monitor=8 status=0 master=0 slave=0"));
    QCOMPARE(view.recordRowsPerPage(),
             views::RecordRowsPerPage(view.viewport()->height(), view.grid().rowHeight()));
  }

  void registeredFamilyMakesAMonitorWindow() {
    WindowRegistry registry;
    RegisterMonitorWindows(registry);
    const WindowFamily* family = registry.Find(app::Window::kMonitor);
    QVERIFY(family != nullptr);
    std::unique_ptr<QWidget> frame(family->create(rig_->services));
    auto* child = qobject_cast<CChildFrame*>(frame.get());
    QVERIFY(child != nullptr);
    QCOMPARE(child->windowTitle(), QString("Monitor Window"));
    QVERIFY(!(child->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(child->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(dynamic_cast<ShellView*>(child->widget()) != nullptr);
  }

  void aStartForgetsTheMarkerOfAClosedWindow() {
    WindowRegistry registry;
    RegisterMonitorWindows(registry);
    const WindowFamily* family = registry.Find(app::Window::kMonitor);
    FillRing(rig_->monitor->ViewBuffer, 500);
    const auto open = [&] {
      auto* frame = qobject_cast<CChildFrame*>(family->create(rig_->services));
      frame->resize(640, 320);
      frame->show();
      if (!QTest::qWaitForWindowExposed(frame)) qWarning("frame not exposed");
      return std::unique_ptr<CChildFrame>(frame);
    };
    auto frame = open();
    auto* view = static_cast<CMonitSView*>(frame->widget());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                       QPoint(4, 2 * view->grid().rowHeight() + view->grid().rowHeight() / 2));
    QVERIFY(view->marker().on);
    frame.reset();
    QVERIFY(static_cast<CMonitSView*>(open()->widget())->marker().on);

    family->onRunStarting();  // a start while the window is closed
    QVERIFY(!static_cast<CMonitSView*>(open()->widget())->marker().on);
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::MonitorViewTest)
#include "MonitorViewTest.moc"
