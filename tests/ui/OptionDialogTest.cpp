// The "Option Setup" dialog driven through its widgets: what it shows from
// the settings, the frame-length labels, the entry checks of OK and of
// leaving a tab (with the exact boxes, and the offending field focused and
// selected), the immediate actions, and what OK and Cancel leave behind.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "analyzer/RegisterMap.h"
#include "app/AppContext.h"
#include "app/Configuration.h"
#include "app/ui/COptionDlg.h"
#include "settings/FixedText.h"
#include "settings/SettingsRecord.h"
#include "tests/ui/support/RecordingSink.h"
#include "tests/ui/support/ShellContextRig.h"

namespace orvane::ui {
namespace {

using monitor::MessageIcon;

constexpr const char* kSpaceMessage = "Enter proper space value (0-60).";
constexpr const char* kMaskMessage = "Please input ID value in the range of 00-3F.";
constexpr const char* kLogFileMessage =
    "This file path or file name is disable.     \nPlease input a correct file path or file name.  "
    "   ";
constexpr const char* kLogNumberMessage =
    "Please input a correct value  in the range of 000 - 999.     ";
constexpr const char* kTooLongWarning =
    "The output frame may have a frame length of more than the maximum length for a frame of LIN "
    "specifications.";
constexpr const char* kRefreshAfterOk = "refresh monitor=1 status=0 master=0 slave=0";

// The shell's test context with shortcuts to what the dialog edits.
struct OptionRig : testing::ShellContextRig {
  settings::OptionSettings& options() { return configuration->Options; }
  settings::OptionSettingsExt& ext() { return configuration->Settings.Options; }
};

}  // namespace

class OptionDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<OptionRig> rig_;
  std::unique_ptr<COptionDlg> dialog_;
  std::unique_ptr<QTemporaryDir> folder_;

  // Opens the dialog as the main frame would, modal, and waits until it
  // has the focus.
  void Open(bool descriptionLoaded = false, std::uint32_t linRevision = settings::kLin20) {
    dialog_ = std::make_unique<COptionDlg>(rig_->context, descriptionLoaded, linRevision);
    Show();
  }
  void Show() {
    dialog_->open();
    QVERIFY(QTest::qWaitForWindowActive(dialog_.get()));
  }

  template <typename T>
  T* Get(const char* name) const {
    T* child = dialog_->findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no child %s", name);
    return child;
  }
  QTabWidget* Tabs() const { return Get<QTabWidget>("tabs"); }
  QString CurrentTab() const { return Tabs()->tabText(Tabs()->currentIndex()); }
  QLineEdit* SpaceField(const char* name) const { return Get<QComboBox>(name)->lineEdit(); }

  // Clicks the tab titled `title` as a user would.
  void ClickTab(const QString& title) {
    QTabBar* bar = Tabs()->tabBar();
    for (int index = 0; index < bar->count(); ++index) {
      if (bar->tabText(index) != title) continue;
      QVERIFY(bar->rect().contains(bar->tabRect(index)));
      QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
      return;
    }
    QFAIL(qPrintable("no tab " + title));
  }
  // Clicks a button; radio buttons and check boxes on their indicator, as a
  // wide one does not take clicks beside its text.
  void Click(const char* name) {
    QAbstractButton* button = Get<QAbstractButton>(name);
    const bool indicator = qobject_cast<QRadioButton*>(button) != nullptr ||
                           qobject_cast<QCheckBox*>(button) != nullptr;
    QTest::mouseClick(button, Qt::LeftButton, {},
                      indicator ? QPoint(7, button->height() / 2) : button->rect().center());
  }
  void ClickOk() { Click("ok"); }
  // Replaces the text of a field by typing.
  static void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    if (text.isEmpty()) {
      QTest::keyClick(field, Qt::Key_Delete);
    } else {
      QTest::keyClicks(field, text);
    }
  }
  // Leaves a field with the Tab key, as a user moves on.
  static void Leave(QLineEdit* field) { QTest::keyClick(field, Qt::Key_Tab); }

  void ExpectOneBox(const char* caption, const char* text, MessageIcon icon) {
    const std::vector<testing::RecordedBox> boxes = rig_->sink.Boxes();
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(boxes[0].caption), QString(caption));
    QCOMPARE(QString::fromStdString(boxes[0].text), QString(text));
    QVERIFY(boxes[0].icon == icon);
  }
  void ExpectStillOpen() {
    QVERIFY(dialog_->isVisible());
    QCOMPARE(dialog_->result(), 0);
    QVERIFY(rig_->windows.events.empty());  // no refresh of the views
  }
  void ExpectAccepted() {
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    QVERIFY(!dialog_->isVisible());
  }
  // The field has the focus within the dialog and all its text is selected.
  void ExpectFocusedAndSelected(QLineEdit* field, const QString& text) {
    QWidget* focus = dialog_->focusWidget();
    QVERIFY(focus == field || focus == field->parentWidget());
    QCOMPARE(field->text(), text);
    QCOMPARE(field->selectedText(), text);
  }
  std::string Scratch(const char* name) const {
    return (folder_->path() + "/" + name).toStdString();
  }

 private Q_SLOTS:
  void init() {
    rig_ = std::make_unique<OptionRig>();
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
  }
  void cleanup() {
    dialog_.reset();
    rig_.reset();
    folder_.reset();
  }

  // ---- Layout and filling ----

  void lin20ShowsSevenTabs() {
    Open();
    QCOMPARE(dialog_->windowTitle(), QString("Option Setup"));
    const QStringList expected{"Baudrate", "Frame Parameter", "Logging",  "Mask",
                               "Pattern",  "Wakeup",          "Each Mode"};
    QStringList titles;
    for (int index = 0; index < Tabs()->count(); ++index) titles << Tabs()->tabText(index);
    QCOMPARE(titles, expected);
    const QStringList baudTexts{"500", "1K",   "5K",   "10K",  "15K",  "20K",   "25K",
                                "600", "1200", "2400", "4800", "9600", "14400", "19200"};
    for (int code = 0; code < baudTexts.size(); ++code) {
      QCOMPARE(Get<QRadioButton>(qPrintable(QString("baudRate%1").arg(code)))->text(),
               baudTexts[code]);
    }
    QComboBox* wakeup = Get<QComboBox>("wakeupMicros");
    QCOMPARE(wakeup->count(), 22);
    QCOMPARE(wakeup->itemText(0), QString("50"));
    QCOMPARE(wakeup->itemText(21), QString("10000"));
    QCOMPARE(Get<QComboBox>("spaceA")->count(), 61);
    QCOMPARE(Get<QComboBox>("dataLength")->currentText(), QString("2"));
  }

  void lin13HasNoWakeupTabAndEachModeIsSixth() {
    // The context's own revision (LIN 1.3 by default) and description flag.
    dialog_ = std::make_unique<COptionDlg>(rig_->context);
    Show();
    QCOMPARE(Tabs()->count(), 6);
    QCOMPARE(Tabs()->tabText(5), QString("Each Mode"));
    for (int index = 0; index < Tabs()->count(); ++index)
      QVERIFY(Tabs()->tabText(index) != "Wakeup");
    QVERIFY(dialog_->findChild<QComboBox*>("wakeupMicros") == nullptr);
  }

  void fillsFromTheSettings() {
    settings::OptionSettings& options = rig_->options();
    options.BaudRateCode = 5;
    options.LoggingEnabled = 1;
    options.FrameTiming.SpaceA = 3;
    options.FrameTiming.SpaceB = 4;
    options.FrameTiming.ByteSpace = 5;
    options.MaskEnabled = 1;
    options.MaskIds = {0x05, 0x3F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    options.ShortPatternMode = 0;
    options.LongPatternMode = 1;
    options.FillData = {0xAB, 0, 0, 0, 0, 0, 0, 0x01};
    rig_->ext().WakeupMicros = 4000;
    rig_->ext().LogNumbering = 1;
    settings::CopyToField("042", rig_->ext().LogNumber);
    rig_->state.LogPath = "/var/log/lin.log";
    Open();

    QVERIFY(Get<QRadioButton>("baudRate5")->isChecked());
    QVERIFY(Get<QRadioButton>("logEnable")->isChecked());
    QCOMPARE(Get<QLineEdit>("logName")->text(), QString("/var/log/lin.log"));
    QVERIFY(Get<QCheckBox>("logNumbering")->isChecked());
    QCOMPARE(Get<QLineEdit>("logNumber")->text(), QString("042"));
    QCOMPARE(Get<QLineEdit>("logNumber")->maxLength(), 3);
    QVERIFY(Get<QLineEdit>("logNumber")->isEnabled());
    QCOMPARE(SpaceField("spaceA")->text(), QString("3"));
    QCOMPARE(SpaceField("spaceB")->text(), QString("4"));
    QCOMPARE(SpaceField("byteSpace")->text(), QString("5"));
    QCOMPARE(Get<QLabel>("byteSpaceValue")->text(), QString("5"));
    QCOMPARE(Get<QLabel>("totalLength")->text(),
             QString("Total Length=81"));  // 44 + 3 + 4 + 2 x 15
    QCOMPARE(Get<QLabel>("maxLength")->text(), QString("Max Length=91"));
    QVERIFY(Get<QRadioButton>("maskEnable")->isChecked());
    QCOMPARE(Get<QLineEdit>("maskId0")->text(), QString("05"));
    QCOMPARE(Get<QLineEdit>("maskId1")->text(), QString("3f"));
    QCOMPARE(Get<QLineEdit>("maskId2")->text(), QString());
    QVERIFY(Get<QLineEdit>("maskId2")->isEnabled());
    QVERIFY(Get<QRadioButton>("shortIgnore")->isChecked());
    QVERIFY(Get<QRadioButton>("longSkip")->isChecked());
    QCOMPARE(Get<QLineEdit>("fill0")->text(), QString("ab"));
    QCOMPARE(Get<QLineEdit>("fill7")->text(), QString("01"));
    QVERIFY(!Get<QLineEdit>("fill0")->isEnabled());  // "Skip 1Pattern" for long data
    QCOMPARE(Get<QComboBox>("wakeupMicros")->currentText(), QString("4000"));
  }

  void disabledLoggingAndMaskDisableTheirFields() {
    Open();
    QVERIFY(Get<QRadioButton>("logDisable")->isChecked());
    for (const char* name : {"logName", "logBrowse", "logNumbering", "logNumber", "logClear"}) {
      QVERIFY2(!Get<QWidget>(name)->isEnabled(), name);
    }
    ClickTab("Logging");
    Click("logEnable");
    QVERIFY(Get<QLineEdit>("logName")->isEnabled());
    QVERIFY(Get<QCheckBox>("logNumbering")->isEnabled());
    QVERIFY(!Get<QLineEdit>("logNumber")->isEnabled());  // numbering is still off
    Click("logNumbering");
    QVERIFY(Get<QLineEdit>("logNumber")->isEnabled());
    QVERIFY(Get<QPushButton>("logClear")->isEnabled());

    QVERIFY(Get<QRadioButton>("maskDisable")->isChecked());
    QVERIFY(!Get<QLineEdit>("maskId0")->isEnabled());
  }

  void maskEntriesFollowTheIdentifierFieldMode() {
    rig_->options().MaskIds[0] = 0x1C;
    rig_->state.IdentifierFieldMode = "ID+DLC";
    rig_->state.DataRadix = "DEC";
    Open();
    QCOMPARE(Get<QLineEdit>("maskId0")->text(), QString("12"));  // low four bits, decimal
  }

  // ---- Frame parameters ----

  void frameLengthLabelsFollowTheLists() {
    Open();
    ClickTab("Frame Parameter");
    Get<QComboBox>("dataLength")->setCurrentIndex(8);
    for (const char* space : {"spaceA", "spaceB", "byteSpace"}) Type(SpaceField(space), "1");
    QCOMPARE(Get<QLabel>("totalLength")->text(), QString("Total Length=134"));
    QCOMPARE(Get<QLabel>("maxLength")->text(), QString("Max Length=175"));

    Get<QComboBox>("byteSpace")->setCurrentIndex(3);  // chosen from the list
    QCOMPARE(Get<QLabel>("byteSpaceValue")->text(), QString("3"));
    QCOMPARE(Get<QLabel>("totalLength")->text(), QString("Total Length=150"));

    Get<QComboBox>("dataLength")->setCurrentIndex(0);
    QCOMPARE(Get<QLabel>("totalLength")->text(), QString("Total Length=46"));
    QCOMPARE(Get<QLabel>("maxLength")->text(), QString("Max Length=63"));
  }

  void spaceOutOfRangeKeepsTheDialogOpen() {
    Open();
    ClickTab("Frame Parameter");
    Type(SpaceField("spaceB"), "61");
    ClickOk();
    ExpectOneBox("Error", kSpaceMessage, MessageIcon::kExclamation);
    ExpectStillOpen();
    QCOMPARE(CurrentTab(), QString("Frame Parameter"));
    ExpectFocusedAndSelected(SpaceField("spaceB"), "61");
    QCOMPARE(rig_->options().FrameTiming.SpaceB, std::uint8_t{1});

    Type(SpaceField("spaceB"), "60");
    ClickOk();
    ExpectAccepted();
    QCOMPARE(rig_->options().FrameTiming.SpaceB, std::uint8_t{60});
  }

  void leavingFrameParameterChecksTheSpaces() {
    Open();
    ClickTab("Frame Parameter");
    Type(SpaceField("spaceA"), "x");
    ClickTab("Logging");
    ExpectOneBox("Error", kSpaceMessage, MessageIcon::kExclamation);
    QCOMPARE(CurrentTab(), QString("Frame Parameter"));
    ExpectFocusedAndSelected(SpaceField("spaceA"), "x");

    Type(SpaceField("spaceA"), "7");
    ClickTab("Logging");
    QCOMPARE(CurrentTab(), QString("Logging"));
    QCOMPARE(rig_->sink.Boxes().size(), std::size_t{1});
  }

  void tooLongFrameOnlyWarns() {
    Open();
    ClickTab("Frame Parameter");
    for (const char* space : {"spaceA", "spaceB", "byteSpace"}) Type(SpaceField(space), "60");
    ClickOk();
    ExpectOneBox("Warning", kTooLongWarning, MessageIcon::kExclamation);
    ExpectAccepted();
    QCOMPARE(rig_->options().FrameTiming.SpaceA, std::uint8_t{60});
    QCOMPARE(rig_->options().FrameTiming.ByteSpace, std::uint8_t{60});
  }

  // ---- Mask and pattern ----

  void maskEntry40IsRejected() {
    Open();
    ClickTab("Mask");
    Click("maskEnable");
    Type(Get<QLineEdit>("maskId2"), "40");
    ClickOk();
    ExpectOneBox("Error", kMaskMessage, MessageIcon::kExclamation);
    ExpectStillOpen();
    QCOMPARE(CurrentTab(), QString("Mask"));
    ExpectFocusedAndSelected(Get<QLineEdit>("maskId2"), "40");
    QCOMPARE(rig_->options().MaskIds[2], settings::kEmptyMaskId);

    Type(Get<QLineEdit>("maskId2"), "3f");
    ClickOk();
    ExpectAccepted();
    QCOMPARE(rig_->options().MaskIds[2], std::uint8_t{0x3F});
    QCOMPARE(rig_->options().MaskIds[0], settings::kEmptyMaskId);
    QCOMPARE(rig_->options().MaskEnabled, 1u);
  }

  void emptyMaskEntryStoresFF() {
    rig_->options().MaskEnabled = 1;
    rig_->options().MaskIds[0] = 0x12;
    Open();
    ClickTab("Mask");
    QCOMPARE(Get<QLineEdit>("maskId0")->text(), QString("12"));
    Type(Get<QLineEdit>("maskId0"), "");
    ClickOk();
    ExpectAccepted();
    QCOMPARE(rig_->options().MaskIds[0], std::uint8_t{0xFF});
  }

  void maskAndPatternClicksTakeEffectAtOnce() {
    // Defaults: mask off, both pattern modes "Skip 1Pattern".
    Open();
    ClickTab("Mask");
    Click("maskEnable");
    QCOMPARE(rig_->options().MaskEnabled, 1u);
    QVERIFY(Get<QLineEdit>("maskId0")->isEnabled());
    ClickTab("Pattern");
    Click("shortIgnore");
    QCOMPARE(rig_->options().ShortPatternMode, 0u);
    QVERIFY(!Get<QLineEdit>("fill0")->isEnabled());
    Click("longFill");
    QCOMPARE(rig_->options().LongPatternMode, 0u);
    QVERIFY(Get<QLineEdit>("fill0")->isEnabled());

    Click("cancel");
    QCOMPARE(dialog_->result(), int(QDialog::Rejected));
    QCOMPARE(rig_->options().MaskEnabled, 1u);
    QCOMPARE(rig_->options().ShortPatternMode, 0u);
    QCOMPARE(rig_->options().LongPatternMode, 0u);
  }

  // ---- Wake-up and Each Mode ----

  void wakeupLengthIsClampedAndRounded_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("below the range") << "30"
                                     << "50";
    QTest::newRow("above the range") << "10030"
                                     << "10000";
    QTest::newRow("between multiples of 50") << "275"
                                             << "250";
  }
  void wakeupLengthIsClampedAndRounded() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Open();
    ClickTab("Wakeup");
    QLineEdit* field = Get<QComboBox>("wakeupMicros")->lineEdit();
    Type(field, typed);
    Leave(field);
    QCOMPARE(field->text(), shown);
    ClickOk();
    ExpectAccepted();
    QCOMPARE(rig_->ext().WakeupMicros, shown.toUInt());
  }

  void withoutDescriptionOrderOfNodeIsOff() {
    rig_->ext().SortOrder = settings::kOrderOfNode;
    Open(/*descriptionLoaded=*/false);
    QVERIFY(!Get<QRadioButton>("orderOfNode")->isEnabled());
    QVERIFY(Get<QRadioButton>("orderOfId")->isChecked());
    QCOMPARE(dialog_->EditedExt().SortOrder, std::uint8_t{settings::kOrderOfId});
    ClickOk();
    ExpectAccepted();
    QCOMPARE(rig_->ext().SortOrder, std::uint8_t{settings::kOrderOfId});
  }

  void withDescriptionOrderOfNodeIsStored() {
    Open(/*descriptionLoaded=*/true);
    ClickTab("Each Mode");
    QVERIFY(Get<QRadioButton>("orderOfNode")->isEnabled());
    Click("orderOfNode");
    ClickOk();
    ExpectAccepted();
    QCOMPARE(rig_->ext().SortOrder, std::uint8_t{settings::kOrderOfNode});
  }

  // ---- Logging ----

  void unusableLogPathIsRejected() {
    rig_->state.LogPath = Scratch("old.log");
    Open();
    ClickTab("Logging");
    Click("logEnable");
    const QString unusable = QString::fromStdString(Scratch("no/such/folder/run.log"));
    Type(Get<QLineEdit>("logName"), unusable);
    ClickOk();
    ExpectOneBox("Log File", kLogFileMessage, MessageIcon::kStop);
    ExpectStillOpen();
    QCOMPARE(rig_->state.LogPath, Scratch("old.log"));
    QCOMPARE(rig_->options().LoggingEnabled, 0u);
    QCOMPARE(CurrentTab(), QString("Logging"));
    ExpectFocusedAndSelected(Get<QLineEdit>("logName"), unusable);
  }

  void leavingLoggingChecksTheLogFile() {
    Open();
    ClickTab("Logging");
    Click("logEnable");
    Type(Get<QLineEdit>("logName"), QString::fromStdString(Scratch("missing/run.log")));
    ClickTab("Mask");
    ExpectOneBox("Log File", kLogFileMessage, MessageIcon::kStop);
    QCOMPARE(CurrentTab(), QString("Logging"));
    QCOMPARE(rig_->state.LogPath, std::string());

    // With logging disabled the name is not checked.
    Click("logDisable");
    ClickTab("Mask");
    QCOMPARE(CurrentTab(), QString("Mask"));
  }

  void usableLogPathIsTakenAndNoFileLeft() {
    Open();
    ClickTab("Logging");
    Click("logEnable");
    Click("logNumbering");
    Type(Get<QLineEdit>("logNumber"), "7");
    Leave(Get<QLineEdit>("logNumber"));
    QCOMPARE(Get<QLineEdit>("logNumber")->text(), QString("007"));
    const std::string typed = Scratch("run.log");
    Type(Get<QLineEdit>("logName"), QString::fromStdString(typed));
    ClickOk();
    ExpectAccepted();
    QVERIFY(rig_->sink.Boxes().empty());
    QCOMPARE(rig_->state.LogPath, typed);  // the name as typed, not the numbered one
    QCOMPARE(rig_->options().LoggingEnabled, 1u);
    QCOMPARE(rig_->ext().LogNumbering, 1u);
    QCOMPARE(std::string(settings::FieldText(rig_->ext().LogNumber)), std::string("007"));
    // The numbered candidate was tried and removed again.
    QVERIFY(!std::filesystem::exists(Scratch("run_007.log")));
    QVERIFY(!std::filesystem::exists(typed));
  }

  void existingLogFileIsKeptAsItWas() {
    const std::string existing = Scratch("keep.log");
    std::ofstream(existing) << "earlier run\n";
    Open();
    ClickTab("Logging");
    Click("logEnable");
    Type(Get<QLineEdit>("logName"), QString::fromStdString(existing));
    ClickOk();
    ExpectAccepted();
    std::ifstream file(existing);
    std::string line;
    std::getline(file, line);
    QCOMPARE(line, std::string("earlier run"));
  }

  void disabledLoggingTakesTheFormedName() {
    Open();
    ClickTab("Logging");
    Click("logEnable");
    Type(Get<QLineEdit>("logName"), QString::fromStdString(Scratch("abc")));
    Click("logNumbering");
    Type(Get<QLineEdit>("logNumber"), "5");
    Click("logDisable");
    ClickOk();
    ExpectAccepted();
    QCOMPARE(rig_->state.LogPath, Scratch("abc_005.log"));
    QCOMPARE(rig_->options().LoggingEnabled, 0u);
  }

  void logNumberMustBeDecimal() {
    Open();
    ClickTab("Logging");
    Click("logEnable");
    Click("logNumbering");
    QLineEdit* number = Get<QLineEdit>("logNumber");
    Type(number, "1x");
    Leave(number);
    ExpectOneBox("Log File", kLogNumberMessage, MessageIcon::kExclamation);
    QCOMPARE(number->text(), QString("000"));

    Type(number, "12");
    Leave(number);
    QCOMPARE(number->text(), QString("012"));
    QCOMPARE(std::string(settings::FieldText(dialog_->EditedExt().LogNumber)), std::string("012"));
    Click("logClear");
    QCOMPARE(number->text(), QString("000"));
    QCOMPARE(std::string(settings::FieldText(dialog_->EditedExt().LogNumber)), std::string("000"));
  }

  void browseOffersLogFiles() {
    Open();
    ClickTab("Logging");
    Click("logEnable");
    rig_->windows.chosenFile = Scratch("chosen.log");
    Click("logBrowse");
    QCOMPARE(Get<QLineEdit>("logName")->text(), QString::fromStdString(Scratch("chosen.log")));
    QCOMPARE(rig_->windows.fileDialogs.size(), std::size_t{1});
    const app::testing::RecordedFileDialog& request = rig_->windows.fileDialogs[0];
    QCOMPARE(request.initialName, std::string("*.log"));  // LogPath is empty
    QCOMPARE(request.defaultExtension, std::string("log"));
    QCOMPARE(request.filter, std::string("Log File(*.log)|*.log|All(*.*)|*.*||"));

    rig_->windows.chosenFile.reset();  // cancelled: the name stays
    Click("logBrowse");
    QCOMPARE(Get<QLineEdit>("logName")->text(), QString::fromStdString(Scratch("chosen.log")));
  }

  // ---- OK and Cancel ----

  void okStoresAndRefreshesTheViews() {
    Open();
    Click("baudRate13");
    ClickTab("Pattern");
    Click("longFill");
    Type(Get<QLineEdit>("fill3"), "7f");
    Type(Get<QLineEdit>("fill4"), "zz");  // not hexadecimal: the byte keeps its value
    ClickOk();
    ExpectAccepted();
    QVERIFY(rig_->sink.Boxes().empty());
    QCOMPARE(rig_->options().BaudRateCode, std::uint8_t{13});
    QCOMPARE(rig_->options().FillData[3], std::uint8_t{0x7F});
    QCOMPARE(rig_->options().FillData[4], std::uint8_t{0});
    QCOMPARE(rig_->options().LongPatternMode, 0u);
    QCOMPARE(rig_->windows.events, std::vector<std::string>{kRefreshAfterOk});
    QCOMPARE(std::memcmp(&rig_->ext(), &dialog_->EditedExt(), sizeof(settings::OptionSettingsExt)),
             0);
  }

  void cancelKeepsOptionSettingsExt() {
    const settings::OptionSettingsExt before = rig_->ext();
    Open(/*descriptionLoaded=*/true);
    ClickTab("Logging");
    Click("logEnable");
    Type(Get<QLineEdit>("logName"), QString::fromStdString(Scratch("run.log")));
    Click("logNumbering");
    Type(Get<QLineEdit>("logNumber"), "123");
    ClickTab("Wakeup");
    QLineEdit* wakeup = Get<QComboBox>("wakeupMicros")->lineEdit();
    Type(wakeup, "4000");
    Leave(wakeup);
    ClickTab("Each Mode");
    Click("orderOfNode");
    QCOMPARE(dialog_->EditedExt().WakeupMicros, 4000u);
    QCOMPARE(dialog_->EditedExt().LogNumbering, 1u);

    Click("cancel");
    QCOMPARE(dialog_->result(), int(QDialog::Rejected));
    QCOMPARE(std::memcmp(&rig_->ext(), &before, sizeof before), 0);
    QCOMPARE(rig_->state.LogPath, std::string());
    QCOMPARE(rig_->options().LoggingEnabled, 0u);
    QVERIFY(rig_->windows.events.empty());
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::OptionDialogTest)
#include "OptionDialogTest.moc"
