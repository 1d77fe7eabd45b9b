// The Find window in the program: "Find" and "Next" over a wrapped ring of
// 100,000 records land on the right records (I/O events, frame bits with
// rising, falling and changed edges, data bytes), continue across the end
// of the ring, end with "Search has been completed." and keep the last
// hit; the Monitor window scrolls to each hit and highlights it. Also the
// dialog's entries, and how its buttons follow "Find" and the run.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <memory>
#include <vector>

#include "app/ui/CMainFrame.h"
#include "tests/ui/support/MonitorTestRecords.h"
#include "tests/ui/support/ProgramHarness.h"
#include "views/FindConditionEdit.h"
#include "views/MonitorFind.h"
#include "views/ui/CFindDlg.h"
#include "views/ui/CMonitSView.h"

namespace orvane::ui {
namespace {

using app::MainCommand;
using monitor::MonitorCapacity;
using monitor::MonitorRecord;
using orvane::testing::ProgramHarness;

// Records 0 to kWrappedCount − 1: the ring wrapped once, write index 250,
// so the oldest record is at ring index 250 and the search runs 250 …
// 99999, then 0 … 249.
constexpr std::uint32_t kWrappedCount = MonitorCapacity + 250;
constexpr std::uint8_t kEdgeIdentifier = 0x2A;  // data length 4 by default

std::uint32_t PositionOf(std::uint32_t index) {
  return (index + MonitorCapacity - 250) % MonitorCapacity;
}

}  // namespace

class FindWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ProgramHarness> harness_;

  CMainFrame& Frame() { return harness_->frame(); }
  app::AppState& State() { return harness_->app().state(); }
  monitor::MonitorRing& Ring() { return harness_->app().monitorState().ViewBuffer; }

  CMonitSView* MonitorView() {
    QMdiSubWindow* sub = harness_->SubWindowTitled(QStringLiteral("Monitor Window"));
    return sub != nullptr ? static_cast<CMonitSView*>(sub->widget()) : nullptr;
  }

  CFindDlg* OpenFind() {
    Frame().Execute(MainCommand::kFindWindow);
    return qobject_cast<CFindDlg*>(Frame().windows().WindowOf(app::Window::kFind));
  }

  // The numbered records of a run that has stopped, changed by `adjust`;
  // the views hear of the stop as after a run.
  template <typename Adjust>
  void FillStoppedRing(Adjust adjust) {
    testing::FillRing(Ring(), kWrappedCount);
    adjust(Ring().MutableRecords());
    State().ViewUpdateCode.Monitor = app::kUpdateMonitoringStopped;
    Frame().windows().RefreshAllViews();
  }

  static void Type(QLineEdit* field, const QString& text) {
    field->clear();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
  }

  static void SelectKind(CFindDlg& find, int kind) { find.kindGroup()->button(kind)->click(); }

  // A frame of `identifier` compared bit by bit (mode 1) or byte by byte (0).
  static void CompareFrameData(CFindDlg& find, const QString& identifier, int mode) {
    SelectKind(find, settings::kFindFrame);
    Type(find.identifierField(), identifier);
    if (!find.dataCompareBox()->isChecked()) find.dataCompareBox()->click();
    find.modeGroup()->button(mode)->click();
  }

  std::size_t Boxes() const { return harness_->boxes.size(); }

  // "Find", then "Next" until the search is complete: the hits in order.
  // Each hit is highlighted in the Monitor window's top row, or, near the
  // end of the ring, in the row where the scroll range ends.
  std::vector<std::uint32_t> AllHits(CFindDlg& find) {
    std::vector<std::uint32_t> hits;
    CMonitSView* view = MonitorView();
    const std::size_t boxes = Boxes();
    find.findButton()->click();
    while (Boxes() == boxes && hits.size() < 10) {
      const auto hit = static_cast<std::uint32_t>(view->foundIndex());
      hits.push_back(hit);
      const int top = view->scrollPosition() / view->grid().rowHeight();
      const int row = static_cast<int>(PositionOf(hit)) - top + 1;
      if (view->RecordIndexAt(row) != std::optional<std::uint32_t>(hit)) return {};
      if (view->CellsAt(row).cells()[0].background != views::CellBackground::kHighlight) return {};
      find.nextButton()->click();
    }
    return hits;
  }

  void ExpectCompleted(const CMonitSView& view, std::int32_t lastHit) {
    QCOMPARE(harness_->boxes.back().caption, std::string("Find Window"));
    QCOMPARE(harness_->boxes.back().text, std::string("Search has been completed."));
    QCOMPARE(harness_->boxes.back().icon, monitor::MessageIcon::kInformation);
    QCOMPARE(view.foundIndex(), lastHit);
  }

 private Q_SLOTS:
  void init() {
    harness_ = std::make_unique<ProgramHarness>();
    QVERIFY(!harness_->Start().has_value());
    QVERIFY(MonitorView() != nullptr);
  }

  void cleanup() {
    State().ShutdownState = app::kShutdownForced;
    Frame().close();
    harness_.reset();
  }

  void ioEventsAcrossTheEndOfTheRing() {
    // Events of I/O channel 2 rising (kind 12, event 2) in search order at
    // ring indices 260, 99990, 5 and 245, the last one so near the newest
    // record that the Monitor window cannot scroll it to the top.
    FillStoppedRing([](auto records) {
      for (const std::uint32_t index : {99990u, 260u, 245u, 5u}) records[index].kind = 12;
      records[7].kind = 13;  // another event
    });
    CFindDlg* find = OpenFind();
    QVERIFY(find != nullptr);
    SelectKind(*find, settings::kFindIoEvent);
    QCOMPARE(find->ioEventField()->currentIndex(), 0);
    QTest::keyClick(find->ioEventField(), Qt::Key_Down);
    QTest::keyClick(find->ioEventField(), Qt::Key_Down);
    QCOMPARE(find->ioEventField()->currentText(), QStringLiteral("IO2_UP"));

    CMonitSView& view = *MonitorView();
    const int rowHeight = view.grid().rowHeight();
    find->findButton()->click();
    QCOMPARE(harness_->app().configuration().Settings.Find.kind, std::uint8_t{0});
    QCOMPARE(harness_->app().configuration().Settings.Find.ioEventNumber, 2u);
    QCOMPARE(view.foundIndex(), 260);
    QCOMPARE(view.scrollPosition(), 10 * rowHeight);
    QCOMPARE(view.RecordIndexAt(1), std::optional<std::uint32_t>(260));

    find->nextButton()->click();
    QCOMPARE(view.RecordIndexAt(1), std::optional<std::uint32_t>(99990));
    // Across the end of the ring.
    find->nextButton()->click();
    QCOMPARE(view.foundIndex(), 5);
    QCOMPARE(view.RecordIndexAt(1), std::optional<std::uint32_t>(5));
    QCOMPARE(view.scrollPosition(), static_cast<int>(PositionOf(5)) * rowHeight);
    find->nextButton()->click();
    QCOMPARE(view.foundIndex(), 245);
    QCOMPARE(view.scrollPosition(), view.scrollMaximum());
    const int row = view.recordRowsPerPage() - 4;  // 245 is the fifth newest record
    QCOMPARE(view.RecordIndexAt(row), std::optional<std::uint32_t>(245));
    QCOMPARE(view.CellsAt(row).cells()[0].background, views::CellBackground::kHighlight);
    QVERIFY(view.CellsAt(row + 1).cells()[0].background != views::CellBackground::kHighlight);

    // After the last hit: the search is complete and the hit stays.
    const std::size_t boxes = Boxes();
    find->nextButton()->click();
    QCOMPARE(Boxes(), boxes + 1);
    ExpectCompleted(view, 245);
    QVERIFY(find->nextButton()->isEnabled());
  }

  void frameBitEdgesAndDataBytes() {
    // Frames of 0x2A only where placed: D0 bit 0 goes 0, 1, 1, then 0 at
    // the end of the ring, 1 after it and 0 in a Sleep frame.
    FillStoppedRing([](auto records) {
      for (MonitorRecord& record : records) {
        if (record.Identifier() == kEdgeIdentifier) record.ident = kEdgeIdentifier + 1;
      }
      const auto place = [&](std::uint32_t index, std::uint8_t kind, std::uint8_t data0) {
        MonitorRecord& record = records[index];
        record.kind = kind;
        record.error = monitor::kErrorNone;
        record.ident = kEdgeIdentifier;
        record.data[0] = data0;
      };
      place(300, monitor::kKindEnd, 0x00);
      place(400, monitor::kKindEnd, 0x01);
      place(500, monitor::kKindEnd, 0x01);
      place(99990, monitor::kKindEnd, 0x00);
      place(10, monitor::kKindEnd, 0x01);
      place(20, monitor::kKindSleep, 0x00);
    });
    CFindDlg* find = OpenFind();
    QVERIFY(find != nullptr);
    CompareFrameData(*find, QStringLiteral("2a"), 1);

    // Rising: the first frame is never an edge.
    Type(find->bitField(0, 0), QStringLiteral("u"));
    QCOMPARE(find->bitField(0, 0)->text(), QStringLiteral("U"));
    QCOMPARE(AllHits(*find), (std::vector<std::uint32_t>{400, 10}));
    ExpectCompleted(*MonitorView(), 10);
    // Falling, with the bit button: U → D.
    find->bitButton(0, 0)->click();
    QCOMPARE(find->bitField(0, 0)->text(), QStringLiteral("D"));
    QCOMPARE(AllHits(*find), (std::vector<std::uint32_t>{99990, 20}));
    // Changed.
    find->bitButton(0, 0)->click();
    QCOMPARE(AllHits(*find), (std::vector<std::uint32_t>{400, 99990, 10, 20}));
    // A fixed bit that no frame has: nothing, and no hit highlighted.
    find->bitButton(0, 1)->click();
    find->bitButton(0, 1)->click();
    const std::size_t boxes = Boxes();
    find->findButton()->click();
    QCOMPARE(Boxes(), boxes + 1);
    ExpectCompleted(*MonitorView(), -1);

    // Byte by byte: D0 equal to 01.
    find->modeGroup()->button(0)->click();
    Type(find->byteField(0), QStringLiteral("1"));
    QCOMPARE(find->byteField(0)->text(), QStringLiteral("01"));
    QCOMPARE(AllHits(*find), (std::vector<std::uint32_t>{400, 500, 10}));
  }

  void fieldsAcceptOnlyTheirValues() {
    CFindDlg* find = OpenFind();
    QVERIFY(find != nullptr);
    const auto lastBox = [&] { return harness_->boxes.back(); };
    SelectKind(*find, settings::kFindFrame);
    QVERIFY(!find->ioEventField()->isEnabled());
    Type(find->identifierField(), QStringLiteral("40"));
    QCOMPARE(lastBox().caption, std::string("Find Window"));
    QCOMPARE(lastBox().text, std::string(views::kFindIdentifierRangeText));
    QCOMPARE(lastBox().icon, monitor::MessageIcon::kExclamation);
    QCOMPARE(find->identifierField()->text(), QStringLiteral("00"));
    Type(find->identifierField(), QStringLiteral("5"));
    QCOMPARE(find->identifierField()->text(), QStringLiteral("05"));
    QCOMPARE(find->edited().identifier, std::uint8_t{0x05});

    // Data fields: only with data compare, in its mode, for the two bytes
    // that identifier 05 defines.
    QVERIFY(!find->byteField(0)->isEnabled());
    find->dataCompareBox()->click();
    find->modeGroup()->button(0)->click();
    QVERIFY(find->byteField(1)->isEnabled());
    QVERIFY(!find->byteField(2)->isEnabled());
    QVERIFY(!find->bitField(0, 0)->isEnabled());
    Type(find->byteField(1), QStringLiteral("1G"));
    QCOMPARE(lastBox().text, std::string(views::kFindBytePatternRangeText));
    QCOMPARE(find->byteField(1)->text(), QStringLiteral("*"));
    Type(find->byteField(1), QStringLiteral("**"));
    QCOMPARE(std::string(find->edited().bytePatterns[1]), std::string("**"));
    Type(find->byteField(0), QStringLiteral("fF"));
    QCOMPARE(std::string(find->edited().bytePatterns[0]), std::string("ff"));

    find->modeGroup()->button(1)->click();
    QVERIFY(!find->byteField(0)->isEnabled());
    QVERIFY(find->bitField(1, 7)->isEnabled());
    QVERIFY(!find->bitField(2, 0)->isEnabled());
    Type(find->bitField(1, 7), QStringLiteral("x"));
    QCOMPARE(lastBox().text, std::string(views::kFindBitPatternRangeText));
    QCOMPARE(find->bitField(1, 7)->text(), QStringLiteral("*"));
    Type(find->bitField(1, 7), QStringLiteral("c"));
    QCOMPARE(find->edited().bitPatterns[1][7], 'C');
    // The button cycles * → 0 → 1 → U → D → C → *.
    QString cycle;
    for (int click = 0; click < 6; ++click) {
      find->bitButton(1, 6)->click();
      cycle += find->bitField(1, 6)->text();
    }
    QCOMPARE(cycle, QStringLiteral("01UDC*"));

    // An entry still in its field is checked before "Find".
    const std::size_t boxes = Boxes();
    find->bitField(1, 5)->clear();
    QTest::keyClicks(find->bitField(1, 5), QStringLiteral("7"));
    find->findButton()->click();
    QCOMPARE(Boxes(), boxes + 1);
    QCOMPARE(lastBox().text, std::string(views::kFindBitPatternRangeText));
    QVERIFY(!find->nextButton()->isEnabled());
  }

  void buttonsFollowFindTheControlsAndTheRun() {
    FillStoppedRing([](auto) {});
    CFindDlg* find = OpenFind();
    QVERIFY(find != nullptr);
    QVERIFY(find->findButton()->isEnabled());
    QVERIFY(!find->nextButton()->isEnabled());
    find->findButton()->click();  // error frames: record 3 is the first
    QCOMPARE(MonitorView()->foundIndex(), 255);
    QVERIFY(find->nextButton()->isEnabled());
    // Any other control disables "Next" until the next "Find".
    QVERIFY(find->detailed());
    find->layoutButton()->click();
    QVERIFY(!find->detailed());
    QCOMPARE(find->layoutButton()->text(), QStringLiteral("Detail"));
    QVERIFY(!find->nextButton()->isEnabled());
    find->findButton()->click();
    SelectKind(*find, settings::kFindFrame);
    QVERIFY(!find->nextButton()->isEnabled());
    find->findButton()->click();

    Frame().Execute(MainCommand::kStart);
    QVERIFY(State().Monitoring());
    QVERIFY(!find->findButton()->isEnabled());
    QVERIFY(!find->nextButton()->isEnabled());
    QTest::qWait(300);
    Frame().Execute(MainCommand::kStop);
    // The rings are written until the stop has completed.
    QVERIFY(!find->findButton()->isEnabled());
    QVERIFY(ProgramHarness::WaitFor([&] { return State().MonitorStopped == 1; }, 4000));
    QVERIFY(find->findButton()->isEnabled());
    QVERIFY(!find->nextButton()->isEnabled());

    // "Close" stores the edited condition.
    SelectKind(*find, settings::kFindIoEvent);
    QCOMPARE(harness_->app().configuration().Settings.Find.kind, std::uint8_t{2});
    find->closeButton()->click();
    QCOMPARE(harness_->app().configuration().Settings.Find.kind, std::uint8_t{0});
    QVERIFY(ProgramHarness::WaitFor([&] { return !State().WindowOpen[app::Window::kFind]; }, 1000));
    // Escape closes it too.
    find = OpenFind();
    QVERIFY(find != nullptr);
    QCOMPARE(find->edited().kind, std::uint8_t{0});
    QTest::keyClick(find, Qt::Key_Escape);
    QVERIFY(ProgramHarness::WaitFor([&] { return !State().WindowOpen[app::Window::kFind]; }, 1000));
  }

  void findOpensTheClosedMonitorWindow() {
    FillStoppedRing([](auto records) { records[1000].kind = 10; });
    Frame().Execute(MainCommand::kMonitorWindow);
    QVERIFY(MonitorView() == nullptr);
    CFindDlg* find = OpenFind();
    QVERIFY(find != nullptr);
    SelectKind(*find, settings::kFindIoEvent);
    find->findButton()->click();
    CMonitSView* view = MonitorView();
    QVERIFY(view != nullptr);
    QCOMPARE(view->foundIndex(), 1000);
    QCOMPARE(view->RecordIndexAt(1), std::optional<std::uint32_t>(1000));
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::FindWindowTest)
#include "FindWindowTest.moc"
