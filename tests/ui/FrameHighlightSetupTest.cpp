// The "Special Frame Setup" dialog driven through its widgets: the tabs and
// the page, the identifier and bit entries with their messages, the bit
// fields that follow the identifier's data length, the I/O event choice by
// the channel names, the exact condition bytes OK stores and Cancel keeps;
// the main frame's command; and the colours the conditions give the rows
// of the Monitor window.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>
#include <cstring>
#include <map>
#include <memory>

#include "app/ui/ShellView.h"
#include "settings/FixedText.h"
#include "tests/ui/support/MonitorTestRecords.h"
#include "tests/ui/support/ShellContextRig.h"
#include "views/FrameHighlightEdit.h"
#include "views/ui/CMonitSView.h"
#include "views/ui/CFrameHighlightDlg.h"
#include "views/ui/FrameHighlightSetup.h"

namespace orvane::ui {
namespace {

using settings::FrameHighlightCondition;
using settings::FrameHighlightConditions;

constexpr const char* kIdentifierMessage =
    "Please input a correct value in the range of 00H - 3FH.";
constexpr const char* kBitMessage = "Please input a correct value *, 0 or 1     ";

const QColor kRed(255, 0, 0);
const QColor kBlue(100, 100, 250);
const QColor kWhite(255, 255, 255);

FrameHighlightConditions Stored(const settings::SettingsRecord& settings) {
  FrameHighlightConditions conditions;
  std::memcpy(conditions.data(), settings.FrameHighlights, sizeof conditions);
  return conditions;
}

bool SameBytes(const FrameHighlightConditions& a, const FrameHighlightConditions& b) {
  return std::memcmp(a.data(), b.data(), sizeof a) == 0;
}

// The colour covering most of `cell`: its background, whatever its text.
QColor BackgroundOf(const QImage& image, const QRect& cell) {
  const QRect area = cell.intersected(image.rect());
  std::map<QRgb, int> counts;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) ++counts[image.pixel(x, y)];
  }
  QRgb most = 0;
  int mostCount = -1;
  for (const auto& [rgb, count] : counts) {
    if (count > mostCount) {
      most = rgb;
      mostCount = count;
    }
  }
  return QColor(most);
}

}  // namespace

class FrameHighlightSetupTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<testing::ShellContextRig> rig_;
  std::unique_ptr<CFrameHighlightDlg> dialog_;

  settings::SettingsRecord& Settings() { return rig_->configuration->Settings; }

  void Open() {
    settings::SettingsRecord& settings = Settings();
    dialog_ = std::make_unique<CFrameHighlightDlg>(settings.FrameHighlights,
                                                 views::IoEventNames(settings.Options),
                                                 settings.Identifiers, rig_->sink);
    dialog_->open();
    QVERIFY(QTest::qWaitForWindowActive(dialog_.get()));
  }

  template <typename T>
  static T* Get(const QObject* root, const QString& name) {
    T* child = root->findChild<T*>(name);
    if (child == nullptr) qFatal("no child %s", qPrintable(name));
    return child;
  }
  // The page of condition 1-4.
  QWidget* Page(int condition) const {
    return Get<QWidget>(dialog_.get(), QString("page%1").arg(condition));
  }
  QLineEdit* IdField(int condition) const { return Get<QLineEdit>(Page(condition), "id"); }
  QLineEdit* Bit(int condition, int byte, int bit) const {
    return Get<QLineEdit>(Page(condition), QString("bit%1%2").arg(byte).arg(bit));
  }
  QPushButton* BitButton(int condition, int byte, int bit) const {
    return Get<QPushButton>(Page(condition), QString("cycle%1%2").arg(byte).arg(bit));
  }

  void ClickTab(int condition) {
    QTabBar* bar = Get<QTabWidget>(dialog_.get(), "tabs")->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(condition - 1).center());
    QCOMPARE(bar->currentIndex(), condition - 1);
  }
  // Radio buttons and check boxes on their indicator.
  static void Click(QAbstractButton* button) {
    const bool indicator = qobject_cast<QPushButton*>(button) == nullptr;
    QTest::mouseClick(button, Qt::LeftButton, {},
                      indicator ? QPoint(7, button->height() / 2) : button->rect().center());
  }
  void Click(int condition, const char* name) {
    Click(Get<QAbstractButton>(Page(condition), name));
  }
  static void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
  }
  // Types into the identifier field and leaves it, which checks the entry.
  void EnterIdentifier(int condition, const QString& text) {
    QLineEdit* field = IdField(condition);
    Type(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
  }
  // Chooses an I/O event from the list with the keyboard, as a user would.
  void ChooseIoEvent(int condition, int index) {
    auto* list = Get<QComboBox>(Page(condition), "ioEvent");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < index; ++i) QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentIndex(), index);
  }
  bool BitsEnabled(int condition, int byte) const {
    bool enabled = true;
    for (int bit = 0; bit < 8; ++bit) {
      enabled = enabled && Bit(condition, byte, bit)->isEnabled() &&
                BitButton(condition, byte, bit)->isEnabled();
    }
    return enabled;
  }
  std::vector<std::string> BoxTexts() const { return rig_->sink.Texts(); }

 private Q_SLOTS:
  void init() {
    rig_ = std::make_unique<testing::ShellContextRig>();
    settings::CopyToField("DOOR_DN", Settings().Options.IoChannels[1].fallingName);
  }
  void cleanup() { dialog_.reset(); }

  // ---- The dialog and its pages ----

  void showsFourConditionTabs() {
    Open();
    QCOMPARE(dialog_->windowTitle(), QString("Special Frame Setup"));
    auto* tabs = Get<QTabWidget>(dialog_.get(), "tabs");
    QCOMPARE(tabs->count(), 4);
    QCOMPARE(tabs->tabText(0), QString("FrmCH1(Red)"));
    QCOMPARE(tabs->tabText(1), QString("FrmCH2(Blue)"));
    QCOMPARE(tabs->tabText(2), QString("FrmCH3(Green)"));
    QCOMPARE(tabs->tabText(3), QString("FrmCH4(Purpe)"));
    QCOMPARE(Get<QPushButton>(dialog_.get(), "ok")->text(), QString("OK"));
    QCOMPARE(Get<QPushButton>(dialog_.get(), "cancel")->text(), QString("Cancel"));

    QWidget* page = Page(1);
    QCOMPARE(Get<QCheckBox>(page, "enable")->text(), QString("Enable"));
    QVERIFY(!Get<QCheckBox>(page, "enable")->isChecked());
    QCOMPARE(Get<QGroupBox>(page, "frameSetting")->title(), QString("Frame Setting"));
    QStringList labels;
    for (const QLabel* label : page->findChildren<QLabel*>()) labels << label->text();
    for (const char* text : {"ID", "(Hex)", "Data0", "Data7"})
      QVERIFY2(labels.contains(text), text);
    QCOMPARE(IdField(1)->text(), QString("00"));
    QCOMPARE(IdField(1)->maxLength(), 2);
    QCOMPARE(Bit(1, 3, 5)->text(), QString("*"));
    QCOMPARE(Bit(1, 3, 5)->maxLength(), 1);
    // Bit 7 on the left, each button above its field.
    QCOMPARE(BitButton(1, 0, 7)->text(), QString("b7"));
    QCOMPARE(BitButton(1, 0, 0)->text(), QString("b0"));
    QVERIFY(Bit(1, 0, 7)->x() < Bit(1, 0, 6)->x());
    QVERIFY(Bit(1, 0, 1)->x() < Bit(1, 0, 0)->x());
    QVERIFY(BitButton(1, 0, 7)->y() < Bit(1, 0, 7)->y());
    QVERIFY(Bit(1, 0, 7)->y() < BitButton(1, 1, 7)->y());

    // A frame condition by default; the I/O events are named as the option
    // settings name the channels' edges.
    QVERIFY(Get<QRadioButton>(page, "frameKind")->isChecked());
    auto* events = Get<QComboBox>(page, "ioEvent");
    QVERIFY(!events->isEnabled());
    QStringList names;
    for (int i = 0; i < events->count(); ++i) names << events->itemText(i);
    QCOMPARE(names, QStringList({"IO1_UP", "IO1_DN", "IO2_UP", "DOOR_DN", "IO3_UP", "IO3_DN"}));
  }

  void bitFieldsFollowTheIdentifiersDataLength() {
    Open();
    // Identifier 00: two data bytes.
    QVERIFY(BitsEnabled(1, 0));
    QVERIFY(BitsEnabled(1, 1));
    for (int byte = 2; byte < 8; ++byte) QVERIFY(!BitsEnabled(1, byte));
    EnterIdentifier(1, "3a");  // eight bytes
    for (int byte = 0; byte < 8; ++byte) QVERIFY(BitsEnabled(1, byte));
    EnterIdentifier(1, "25");  // four bytes
    QVERIFY(BitsEnabled(1, 3));
    QVERIFY(!BitsEnabled(1, 4));
    // One digit is taken as well and shown with two.
    EnterIdentifier(1, "b");
    QCOMPARE(IdField(1)->text(), QString("0b"));
    QCOMPARE(dialog_->Edited()[0].identifier, std::uint8_t{0x0B});
    QVERIFY(!BitsEnabled(1, 2));
    QVERIFY(BoxTexts().empty());

    // An identifier defined with no data: no bit can be edited.
    dialog_.reset();
    Settings().Identifiers.dataLength[0x11] = 0;
    Settings().FrameHighlights[1].identifier = 0x11;
    Open();
    ClickTab(2);
    QVERIFY(!BitsEnabled(2, 0));
  }

  void wrongIdentifierBringsThePreviousBack() {
    Open();
    EnterIdentifier(1, "12");
    QCOMPARE(dialog_->Edited()[0].identifier, std::uint8_t{0x12});
    for (const char* wrong : {"40", "g"}) {
      rig_->sink.Clear();
      EnterIdentifier(1, wrong);
      const std::vector<testing::RecordedBox> boxes = rig_->sink.Boxes();
      QCOMPARE(boxes.size(), std::size_t{1});
      QCOMPARE(QString::fromStdString(boxes[0].caption), QString("Error"));
      QCOMPARE(QString::fromStdString(boxes[0].text), QString(kIdentifierMessage));
      QVERIFY(boxes[0].icon == monitor::MessageIcon::kExclamation);
      QCOMPARE(IdField(1)->text(), QString("12"));
      QCOMPARE(dialog_->Edited()[0].identifier, std::uint8_t{0x12});
    }
    // An empty field is wrong too.
    rig_->sink.Clear();
    EnterIdentifier(1, "");
    QCOMPARE(BoxTexts(), std::vector<std::string>{kIdentifierMessage});
    QCOMPARE(IdField(1)->text(), QString("12"));
    QVERIFY(dialog_->isVisible());
  }

  void bitFieldsTakeStarZeroOrOne() {
    Open();
    Type(Bit(1, 1, 6), "1");
    Type(Bit(1, 0, 0), "0");
    QCOMPARE(dialog_->Edited()[0].bitPatterns[8 + 6], '1');
    QCOMPARE(dialog_->Edited()[0].bitPatterns[0], '0');
    QVERIFY(BoxTexts().empty());
    for (const char* wrong : {"2", "x", "U"}) {
      rig_->sink.Clear();
      Type(Bit(1, 1, 6), wrong);
      const std::vector<testing::RecordedBox> boxes = rig_->sink.Boxes();
      QCOMPARE(boxes.size(), std::size_t{1});
      QCOMPARE(QString::fromStdString(boxes[0].caption), QString("Error"));
      QCOMPARE(QString::fromStdString(boxes[0].text), QString(kBitMessage));
      QCOMPARE(Bit(1, 1, 6)->text(), QString("1"));
      QCOMPARE(dialog_->Edited()[0].bitPatterns[8 + 6], '1');
    }
    Type(Bit(1, 1, 6), "*");
    QCOMPARE(dialog_->Edited()[0].bitPatterns[8 + 6], '*');

    // The button cycles "*" → "0" → "1" → "*".
    QPushButton* button = BitButton(1, 1, 2);
    for (const char* expected : {"0", "1", "*", "0"}) {
      Click(button);
      QCOMPARE(Bit(1, 1, 2)->text(), QString(expected));
      QCOMPARE(dialog_->Edited()[0].bitPatterns[8 + 2], expected[0]);
    }
  }

  void ioEventConditionNamesTheChosenEvent() {
    Open();
    ClickTab(3);
    Click(3, "ioKind");
    QVERIFY(Get<QComboBox>(Page(3), "ioEvent")->isEnabled());
    QVERIFY(!Get<QGroupBox>(Page(3), "frameSetting")->isEnabled());
    // The list shows event 0, and so does the condition.
    QCOMPARE(dialog_->Edited()[2].kind, std::uint32_t{settings::kIoEventCondition});
    QCOMPARE(settings::FieldText(dialog_->Edited()[2].ioEventName), std::string_view("IO1_UP"));
    ChooseIoEvent(3, 3);
    QCOMPARE(dialog_->Edited()[2].ioEventNumber, 3u);
    QCOMPARE(settings::FieldText(dialog_->Edited()[2].ioEventName), std::string_view("DOOR_DN"));
    // Back to a frame condition: the event stays as chosen.
    Click(3, "frameKind");
    QVERIFY(Get<QGroupBox>(Page(3), "frameSetting")->isEnabled());
    QVERIFY(!Get<QComboBox>(Page(3), "ioEvent")->isEnabled());
    QCOMPARE(dialog_->Edited()[2].kind, std::uint32_t{settings::kFrameCondition});
    QCOMPARE(dialog_->Edited()[2].ioEventNumber, 3u);
  }

  // ---- OK and Cancel ----

  void okStoresExactlyTheEditedConditions() {
    FrameHighlightConditions expected = Stored(Settings());
    Open();
    Click(1, "enable");
    EnterIdentifier(1, "12");
    Type(Bit(1, 0, 0), "1");
    Click(BitButton(1, 0, 7));  // "0"
    ClickTab(3);
    Click(3, "enable");
    Click(3, "ioKind");
    ChooseIoEvent(3, 3);
    ClickTab(4);
    EnterIdentifier(4, "3F");
    Click(Get<QPushButton>(dialog_.get(), "ok"));
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));

    expected[0].enabled = 1;
    expected[0].identifier = 0x12;
    expected[0].bitPatterns[0] = '1';
    expected[0].bitPatterns[7] = '0';
    expected[2].enabled = 1;
    expected[2].kind = settings::kIoEventCondition;
    expected[2].ioEventNumber = 3;
    std::memcpy(expected[2].ioEventName, "DOOR_DN\0\0\0\0\0", 12);
    expected[3].identifier = 0x3F;
    QVERIFY(SameBytes(Stored(Settings()), expected));
    QVERIFY(BoxTexts().empty());
  }

  void okWithoutEditsKeepsEveryByte() {
    // Values a configuration file may hold that the dialog never writes.
    FrameHighlightCondition& odd = Settings().FrameHighlights[1];
    std::memcpy(odd.ioEventName, "stale name!!", 12);
    odd.ioEventNumber = 9;
    odd.identifier = 0x7F;
    odd.bitPatterns[3] = 'U';
    odd.reserved[1] = 0x5A;
    Settings().FrameHighlights[3].kind = 7;
    const FrameHighlightConditions before = Stored(Settings());
    Open();
    ClickTab(2);
    QCOMPARE(IdField(2)->text(), QString("7f"));
    QVERIFY(!BitsEnabled(2, 0));
    ClickTab(4);
    QVERIFY(!Get<QRadioButton>(Page(4), "frameKind")->isChecked());
    QVERIFY(!Get<QRadioButton>(Page(4), "ioKind")->isChecked());
    Click(Get<QPushButton>(dialog_.get(), "ok"));
    QVERIFY(SameBytes(Stored(Settings()), before));
  }

  void cancelLeavesTheConditionsByteIdentical() {
    Settings().FrameHighlights[0].enabled = 1;
    Settings().FrameHighlights[0].identifier = 0x21;
    Settings().FrameHighlights[2].reserved[2] = 0x11;
    const FrameHighlightConditions before = Stored(Settings());
    Open();
    Click(1, "enable");
    EnterIdentifier(1, "05");
    Click(BitButton(1, 1, 1));
    ClickTab(2);
    Click(2, "ioKind");
    ChooseIoEvent(2, 4);
    ClickTab(3);
    Type(Bit(3, 0, 3), "0");
    Click(Get<QPushButton>(dialog_.get(), "cancel"));
    QCOMPARE(dialog_->result(), int(QDialog::Rejected));
    QVERIFY(SameBytes(Stored(Settings()), before));
  }

  void tabsShowTheCopy() {
    Open();
    EnterIdentifier(1, "2c");
    Click(BitButton(1, 2, 4));
    ClickTab(2);
    QCOMPARE(IdField(2)->text(), QString("00"));
    ClickTab(1);
    QCOMPARE(IdField(1)->text(), QString("2c"));
    QCOMPARE(Bit(1, 2, 4)->text(), QString("0"));
  }

  // ---- The main frame's command ----

  void commandRunsTheDialogAndTellsTheMonitorViews() {
    WindowRegistry registry;
    RegisterFrameHighlightSetup(registry);
    const CommandHandler* command = registry.FindCommand(app::MainCommand::kFrameHighlightSetup);
    QVERIFY(command != nullptr);
    for (const bool accept : {false, true}) {
      rig_->windows.events.clear();
      bool driven = false;
      QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CFrameHighlightDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        auto* events = dialog->findChild<QWidget*>("page1")->findChild<QComboBox*>("ioEvent");
        driven = events->count() == 6 && events->itemText(3) == "DOOR_DN";
        Click(dialog->findChild<QWidget*>("page1")->findChild<QCheckBox*>("enable"));
        if (accept) {
          dialog->accept();
        } else {
          dialog->reject();
        }
      });
      (*command)(rig_->services);
      QVERIFY(driven);
      QCOMPARE(Settings().FrameHighlights[0].enabled, accept ? 1u : 0u);
      const std::vector<std::string> expected =
          accept ? std::vector<std::string>{"refresh monitor=1 status=0 master=0 slave=0"}
                 : std::vector<std::string>{};
      QCOMPARE(rig_->windows.events, expected);
    }
  }

  // ---- The colours in the Monitor window ----

  void conditionsColourTheMatchingRowsOfTheMonitorWindow() {
    views::RelativeTimeMarker marker;
    CMonitSView view(rig_->services, MonitorWindowKind::kMonitor, marker);
    view.resize(800, 320);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    // Red: every End frame of 05. Blue: frames of 06 whose data byte 0 has
    // bit 6 set. Green: 05 as well, but red comes first. Purple (disabled): 07.
    FrameHighlightCondition* conditions = Settings().FrameHighlights;
    for (const std::uint8_t identifier : {0x05, 0x06, 0x05, 0x07}) {
      FrameHighlightCondition& condition = *conditions++;
      condition.enabled = identifier == 0x07 ? 0 : 1;
      condition.identifier = identifier;
    }
    Settings().FrameHighlights[1].bitPatterns[6] = '1';

    // The view takes the conditions when monitoring starts.
    const auto deliver = [&view](std::int32_t code) {
      app::ViewUpdateCodes codes;
      codes.Monitor = code;
      view.OnViewUpdate(codes);
    };
    rig_->state.MonitorStopped = 0;
    deliver(app::kUpdateMonitoringStarted);
    rig_->state.AcquisitionRunning = 1;

    const views::RowColumns columns = views::RowColumnsOf(view.grid().columns().layout());
    const auto cell = [&view](int row, int column) {
      const views::GridColumns& grid = view.grid().columns();
      return QRect(grid.x(column), row * view.grid().rowHeight(),
                   grid.width(column) * grid.charWidth(), view.grid().rowHeight());
    };
    const auto screen = [&view] {
      view.viewport()->repaint();
      return view.viewport()->grab().toImage();
    };

    // Running: records 0-5, the newest (05) in row 6.
    testing::FillRing(rig_->monitor->ViewBuffer, 6);
    QImage shown = screen();
    QCOMPARE(BackgroundOf(shown, cell(6, columns.data0)), kRed);
    QCOMPARE(BackgroundOf(shown, cell(6, columns.sum)), kRed);
    QCOMPARE(BackgroundOf(shown, cell(5, columns.data0)), kWhite);

    // Stopped, browsing 500 records.
    testing::FillRing(rig_->monitor->ViewBuffer, 500);
    rig_->state.MonitorStopped = 1;
    rig_->state.AcquisitionRunning = 0;
    deliver(app::kUpdateMonitoringStopped);
    shown = screen();
    // Row r holds record r − 1: 04 white, 05 red from the Sync cell on (the
    // cells before stay white), 06 with bit 6 of 0x06 clear white, 07 white.
    QCOMPARE(BackgroundOf(shown, cell(5, columns.data0)), kWhite);
    QCOMPARE(BackgroundOf(shown, cell(6, columns.time)), kWhite);
    QCOMPARE(BackgroundOf(shown, cell(6, columns.error)), kWhite);
    QCOMPARE(BackgroundOf(shown, cell(6, columns.sync)), kRed);
    QCOMPARE(BackgroundOf(shown, cell(6, columns.data0 + 1)), kRed);
    QCOMPARE(BackgroundOf(shown, cell(7, columns.data0)), kWhite);
    QCOMPARE(BackgroundOf(shown, cell(8, columns.data0)), kWhite);

    // From record 64 on: 69 (05) red, 70 (06, data 0x46) blue, 71 (07) white.
    view.verticalScrollBar()->setValue(64 * view.grid().rowHeight());
    shown = screen();
    QCOMPARE(BackgroundOf(shown, cell(6, columns.data0)), kRed);
    QCOMPARE(BackgroundOf(shown, cell(7, columns.data0)), kBlue);
    QCOMPARE(BackgroundOf(shown, cell(7, columns.sum)), kBlue);
    QCOMPARE(BackgroundOf(shown, cell(8, columns.data0)), kWhite);

    // Record 325 is an Error record of 05: not marked.
    view.verticalScrollBar()->setValue(320 * view.grid().rowHeight());
    shown = screen();
    QCOMPARE(BackgroundOf(shown, cell(6, columns.data0)), kWhite);
    QCOMPARE(BackgroundOf(shown, cell(6, columns.command)), kRed);  // the Error cell itself
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::FrameHighlightSetupTest)
#include "FrameHighlightSetupTest.moc"
