// The "Master Simulation Setup" dialog driven through its widgets: opening
// on the current schedule, refused rows that keep it open, Cancel through
// the main frame's command restoring the model byte for byte, the
// clipboard buttons and accelerators between the two lists, renaming
// schedules, the key and pattern choices, and the extended frame files.
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <fstream>
#include <memory>

#include "app/AppState.h"
#include "pattern/ui/CPatSelectDlg.h"
#include "settings/FixedText.h"
#include "simulation/SimRecords.h"
#include "simulation/ui/CKeysetDlg.h"
#include "simulation/ui/CMSimSetDlg.h"
#include "simulation/ui/CRenameDlg.h"
#include "simulation/ui/CSchListBox.h"
#include "simulation/ui/CSndFileDlg.h"
#include "simulation/ui/MasterSetup.h"
#include "tests/ui/support/MasterSetupModel.h"
#include "tests/ui/support/ShellContextRig.h"
#include "tests/ui/support/SlotGridDriver.h"

namespace orvane::ui {

using simulation::GridColumn;
using testing::CellText;
using testing::ClickCell;
using testing::MasterModelBytes;
using testing::ScheduleNameOf;

class MasterSetupTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<testing::ShellContextRig> rig_;
  std::unique_ptr<CMSimSetDlg> dialog_;
  QTemporaryDir files_;

  app::Configuration& configuration() { return *rig_->configuration; }
  simulation::MasterSchedule& Schedule(std::size_t index) {
    return configuration().Schedules[index];
  }
  std::string WriteFile(const QString& name, std::string_view text) {
    const std::string path = files_.filePath(name).toStdString();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  void Open() {
    dialog_ = std::make_unique<CMSimSetDlg>(rig_->services);
    dialog_->open();
    QVERIFY(QTest::qWaitForWindowActive(dialog_.get()));
  }
  template <typename T>
  T& Get(const char* name) const {
    T* child = dialog_->findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no child %s", name);
    return *child;
  }
  CMSetListCtrl& ScheduleList() const { return Get<CMSetListCtrl>("scheduleList"); }
  CMSetListCtrl& InterruptList() const { return Get<CMSetListCtrl>("interruptList"); }
  CSchListBox& Schedules() const { return Get<CSchListBox>("schedules"); }
  void Press(const char* button) {
    QPushButton& target = Get<QPushButton>(button);
    QVERIFY2(target.isEnabled(), button);
    QTest::mouseClick(&target, Qt::LeftButton);
  }
  void PickSchedule(int index) {
    CSchListBox& list = Schedules();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(index)).center());
  }
  // The boxes shown so far, as "caption: text", and forgets them.
  QStringList TakeBoxes() {
    QStringList boxes;
    for (const testing::RecordedBox& box : rig_->sink.Boxes()) {
      boxes << QString::fromStdString(box.caption + ": " + box.text);
    }
    rig_->sink.Clear();
    return boxes;
  }

 private Q_SLOTS:
  void init() {
    rig_ = std::make_unique<testing::ShellContextRig>();
    QVERIFY(rig_->opened);
    rig_->state.ProgramFolder = files_.path().toStdString();
  }
  void cleanup() {
    dialog_.reset();
    rig_.reset();
  }

  void opensOnTheCurrentScheduleWithTheEditingButtonsWaiting() {
    configuration().MasterRun = {.CurrentSchedule = 4, .ScheduleModeOn = 1, .InterruptModeOn = 0};
    Schedule(4).enable = 1;
    Schedule(4).slots[2].delay = 77;
    settings::CopyToField("VeryLongName123", configuration().ScheduleNames[6].data(), 16);
    Open();
    QCOMPARE(dialog_->windowTitle(), QString("Master Simulation Setup"));
    QCOMPARE(Schedules().currentRow(), 4);
    QCOMPARE(Schedules().count(), 16);
    QCOMPARE(Schedules().item(6)->toolTip(), QString("VeryLongName123"));
    QVERIFY(Schedules().item(6)->text().endsWith("..."));
    QCOMPARE(Schedules().item(0)->text(), QString("S1"));
    QVERIFY(Get<QCheckBox>("scheduleSwitch").isChecked());
    QVERIFY(!Get<QCheckBox>("interruptSwitch").isChecked());
    QVERIFY(Get<QCheckBox>("enable").isChecked());
    QVERIFY(!Get<QCheckBox>("repeat").isChecked());
    QCOMPARE(CellText(ScheduleList(), 2, simulation::kColumnDelay), QString("77"));
    QCOMPARE(InterruptList().model()->columnCount(), 16);
    QCOMPARE(CellText(InterruptList(), 0, simulation::kColumnTrigger), QString("F1"));

    const char* editing[] = {"cut", "copy", "overwritePaste", "insertPaste", "delete", "key",
                             "pattern"};
    for (const char* name : editing) QVERIFY2(!Get<QPushButton>(name).isEnabled(), name);
    QVERIFY(Get<QPushButton>("extend").isEnabled());
    ClickCell(ScheduleList(), 1, simulation::kColumnNumber);
    for (const char* name : {"cut", "copy", "delete", "key", "pattern"}) {
      QVERIFY2(Get<QPushButton>(name).isEnabled(), name);
    }
    QVERIFY(!Get<QPushButton>("overwritePaste").isEnabled());
    Press("copy");
    QVERIFY(Get<QPushButton>("overwritePaste").isEnabled());
    QVERIFY(Get<QPushButton>("insertPaste").isEnabled());

    // -1 in a file reads as schedule 0.
    dialog_.reset();
    configuration().MasterRun.CurrentSchedule = -1;
    Open();
    QCOMPARE(Schedules().currentRow(), 0);
    QCOMPARE(dialog_->editedSchedule(), std::size_t{0});
  }

  void refusedRowsKeepTheDialogOpenWithTheRowSelected() {
    simulation::SimSlot timed = simulation::DefaultMasterSlot();
    timed.pattern = 1;
    timed.trigger = simulation::kTriggerTimer;
    timed.triggerValue = 49;
    settings::CopyToField(WriteFile("timed.ptn", "Tx,10,01,02\n"), timed.patternPath);
    Schedule(0).slots[6] = timed;
    Open();
    ClickCell(ScheduleList(), 0, simulation::kColumnNumber);
    Press("ok");
    QCOMPARE(TakeBoxes(), QStringList{"Error: Interval time should be more than 50[ms]."});
    QVERIFY(dialog_->isVisible());
    QCOMPARE(dialog_->result(), int(QDialog::Rejected));
    QCOMPARE(ScheduleList().FocusedRow(), 6);
    QVERIFY(ScheduleList().selectionModel()->isRowSelected(6, {}));
    QVERIFY(ScheduleList().hasFocus());

    // The "IDEN" cell takes any two hexadecimal digits; OK refuses 40-ff.
    ClickCell(ScheduleList(), 6, simulation::kColumnPattern);  // "Pat" off: the interval is free
    QVERIFY(testing::TypeInCell(ScheduleList(), 3, simulation::kColumnDelay, "5"));
    QVERIFY(testing::ChooseInCell(ScheduleList(), 3, simulation::kColumnCommand, "Tx"));
    QVERIFY(testing::TypeInCell(ScheduleList(), 3, simulation::kColumnIdentifier, "40"));
    QCOMPARE(CellText(ScheduleList(), 3, simulation::kColumnIdentifier), QString("40"));
    QVERIFY(TakeBoxes().isEmpty());
    Press("ok");
    QCOMPARE(TakeBoxes(), QStringList{"Error: Enter proper ID value.(00h-3Fh)"});
    QVERIFY(dialog_->isVisible());
    QCOMPARE(ScheduleList().FocusedRow(), 3);
    QCOMPARE(Schedule(0).slots[3].delay, 1);  // nothing stored

    QVERIFY(testing::TypeInCell(ScheduleList(), 3, simulation::kColumnIdentifier, "3f"));
    Press("ok");
    QVERIFY(TakeBoxes().isEmpty());
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    QCOMPARE(Schedule(0).slots[3].command, std::uint8_t{simulation::kCommandExtendedTx});
    QCOMPARE(Schedule(0).slots[3].delay, 5);
  }

  void changingTheScheduleChecksAndStoresTheEditedOne() {
    Open();
    QVERIFY(testing::TypeInCell(ScheduleList(), 0, simulation::kColumnIdentifier, "7a"));
    QTest::mouseClick(&Get<QCheckBox>("repeat"), Qt::LeftButton);
    PickSchedule(3);
    QCOMPARE(TakeBoxes(), QStringList{"Error: Enter proper ID value.(00h-3Fh)"});
    QCOMPARE(Schedules().currentRow(), 0);
    QCOMPARE(dialog_->editedSchedule(), std::size_t{0});
    QCOMPARE(ScheduleList().FocusedRow(), 0);

    QVERIFY(testing::TypeInCell(ScheduleList(), 0, simulation::kColumnIdentifier, "2a"));
    PickSchedule(3);
    QVERIFY(TakeBoxes().isEmpty());
    QCOMPARE(dialog_->editedSchedule(), std::size_t{3});
    QCOMPARE(Schedule(0).slots[0].identifier, std::uint8_t{0x2A});
    QCOMPARE(Schedule(0).repeat, std::uint8_t{1});
    QVERIFY(!Get<QCheckBox>("repeat").isChecked());
    QCOMPARE(CellText(ScheduleList(), 0, simulation::kColumnIdentifier), QString("10"));
    PickSchedule(0);
    QCOMPARE(CellText(ScheduleList(), 0, simulation::kColumnIdentifier), QString("2a"));
    QVERIFY(Get<QCheckBox>("repeat").isChecked());
  }

  void cancelThroughTheCommandRestoresTheModelByteForByte() {
    const std::string ext = WriteFile("frame.ext", "\x01\x02");
    Schedule(1).slots[4].identifier = 0x3E;
    Schedule(1).slots[4].command = simulation::kCommandExtendedTx;
    rig_->windows.chosenFile = ext;
    const std::vector<char> before = MasterModelBytes(configuration());
    WindowRegistry registry;
    RegisterMasterSetup(registry);
    const CommandHandler* command = registry.FindCommand(app::MainCommand::kMasterSetup);
    QVERIFY(command != nullptr);

    bool edited = false;
    testing::WhenModal<CMSimSetDlg>([&](CMSimSetDlg& dialog) {
      auto& schedule = *dialog.findChild<CMSetListCtrl*>("scheduleList");
      auto& schedules = *dialog.findChild<CSchListBox*>("schedules");
      QVERIFY(testing::TypeInCell(schedule, 0, simulation::kColumnDelay, "345"));
      ClickCell(schedule, 0, simulation::kColumnEnable);
      testing::WhenModal<CRenameDlg>([](CRenameDlg& rename) {
        auto* name = rename.findChild<QLineEdit*>("name");
        name->selectAll();
        QTest::keyClicks(name, "Door");
        rename.accept();
      });
      QVERIFY(schedules.RenameSchedule(2));
      QTest::mouseClick(schedules.viewport(), Qt::LeftButton, {},
                        schedules.visualItemRect(schedules.item(1)).center());
      QCOMPARE(Schedule(0).slots[0].delay, 345);  // stored by the change of schedule
      testing::WhenModal<CSndFileDlg>([](CSndFileDlg& files) {
        auto* list = files.findChild<QTreeWidget*>("files");
        list->setCurrentItem(list->topLevelItem(0));
        QTest::mouseClick(files.findChild<QPushButton*>("selectFile"), Qt::LeftButton);
        QTest::mouseClick(files.findChild<QPushButton*>("close"), Qt::LeftButton);
      });
      QTest::mouseClick(dialog.findChild<QPushButton*>("extend"), Qt::LeftButton);
      QCOMPARE(ScheduleNameOf(configuration().ScheduleNames, 2), QString("Door"));
      QCOMPARE(QString::fromStdString(std::string(
                   settings::FieldText(configuration().ExtendedFiles[0].path))),
               QString::fromStdString(ext));
      QTest::mouseClick(dialog.findChild<QPushButton*>("cancel"), Qt::LeftButton);
      edited = true;
    });
    (*command)(rig_->services);
    QVERIFY(edited);
    QVERIFY(MasterModelBytes(configuration()) == before);
    QVERIFY(TakeBoxes().isEmpty());
  }

  void okThroughTheCommandOffersMasterMode() {
    WindowRegistry registry;
    RegisterMasterSetup(registry);
    testing::WhenModal<CMSimSetDlg>([](CMSimSetDlg& dialog) {
      QTest::mouseClick(dialog.findChild<QCheckBox*>("scheduleSwitch"), Qt::LeftButton);
      auto& schedules = *dialog.findChild<CSchListBox*>("schedules");
      QTest::mouseClick(schedules.viewport(), Qt::LeftButton, {},
                        schedules.visualItemRect(schedules.item(5)).center());
      QTest::mouseClick(dialog.findChild<QPushButton*>("ok"), Qt::LeftButton);
    });
    (*registry.FindCommand(app::MainCommand::kMasterSetup))(rig_->services);
    QCOMPARE(configuration().MasterRun.CurrentSchedule, 5);
    QCOMPARE(configuration().MasterRun.ScheduleModeOn, 1);
    const std::vector<testing::RecordedBox> boxes = rig_->sink.Boxes();
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(boxes[0].caption), QString("Simulation Mode"));
    QCOMPARE(QString::fromStdString(boxes[0].text),
             QString("Do you want to change to Master Simulation Mode?"));
    QCOMPARE(rig_->state.SimulationMode, std::int32_t{app::kModeMaster});
  }

  void clipboardMovesRowsBetweenTheLists() {
    for (std::uint8_t slot = 0; slot < 3; ++slot) {
      Schedule(0).slots[slot].identifier = static_cast<std::uint8_t>(0x11 + slot);
      Schedule(0).slots[slot].delay = 10 * (slot + 1);
    }
    settings::CopyToField("/p/one.ptn", Schedule(0).slots[1].patternPath);
    Open();
    CMSetListCtrl& schedule = ScheduleList();
    CMSetListCtrl& interrupt = InterruptList();

    QTest::keyClick(dialog_.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(TakeBoxes(), QStringList{"Error: No selection made for execution."});

    ClickCell(schedule, 1, simulation::kColumnNumber);
    Press("copy");
    ClickCell(interrupt, 0, simulation::kColumnNumber);
    QTest::keyClick(interrupt.viewport(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(CellText(interrupt, 0, simulation::kColumnIdentifier), QString("12"));
    QCOMPARE(CellText(interrupt, 0, simulation::kColumnFile), QString("one.ptn"));

    // Ctrl+X cuts row 0: the rows below move up with their pattern paths.
    ClickCell(schedule, 0, simulation::kColumnNumber);
    QTest::keyClick(schedule.viewport(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(CellText(schedule, 0, simulation::kColumnIdentifier), QString("12"));
    QCOMPARE(QString::fromLatin1(settings::FieldText(schedule.StoredSlot(0).patternPath).data()),
             QString("/p/one.ptn"));
    QCOMPARE(CellText(schedule, 31, simulation::kColumnNumber), QString("31"));
    QCOMPARE(CellText(schedule, 31, simulation::kColumnCommand), QString());

    // Alt+S inserts the cut row before row 1.
    ClickCell(schedule, 1, simulation::kColumnNumber);
    QTest::keyClick(schedule.viewport(), Qt::Key_S, Qt::AltModifier);
    QCOMPARE(CellText(schedule, 1, simulation::kColumnIdentifier), QString("11"));
    QCOMPARE(CellText(schedule, 2, simulation::kColumnIdentifier), QString("13"));
    QCOMPARE(CellText(schedule, 2, simulation::kColumnNumber), QString("2"));

    // The interrupt row copied (Alt+C) is disabled with delay 1 in a list.
    ClickCell(interrupt, 0, simulation::kColumnNumber);
    QTest::keyClick(interrupt.viewport(), Qt::Key_C, Qt::AltModifier);
    ClickCell(schedule, 5, simulation::kColumnNumber);
    Press("overwritePaste");
    QCOMPARE(CellText(schedule, 5, simulation::kColumnIdentifier), QString("12"));
    QCOMPARE(CellText(schedule, 5, simulation::kColumnDelay), QString("1"));
    QCOMPARE(CellText(schedule, 5, simulation::kColumnEnable), QString("UNCHECKED"));

    // Ctrl+Z cuts too; Delete on the interrupt row clears it.
    ClickCell(schedule, 2, simulation::kColumnNumber);
    QTest::keyClick(schedule.viewport(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(CellText(schedule, 2, simulation::kColumnIdentifier), QString("10"));
    QCOMPARE(CellText(schedule, 4, simulation::kColumnIdentifier), QString("12"));
    ClickCell(interrupt, 0, simulation::kColumnNumber);
    Press("delete");
    QCOMPARE(CellText(interrupt, 0, simulation::kColumnIdentifier), QString());
    // After an action the target is forgotten until the next click.
    Press("delete");
    QCOMPARE(TakeBoxes(), QStringList{"Error: No selection made for execution."});

    Press("ok");
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    QCOMPARE(Schedule(0).slots[0].identifier, std::uint8_t{0x12});
    QCOMPARE(QString::fromLatin1(settings::FieldText(Schedule(0).slots[0].patternPath).data()),
             QString("/p/one.ptn"));
    QCOMPARE(Schedule(0).slots[1].identifier, std::uint8_t{0x11});
    QCOMPARE(Schedule(0).slots[4].identifier, std::uint8_t{0x12});
    QCOMPARE(Schedule(0).slots[31].command, std::uint8_t{simulation::kCommandNone});
    QCOMPARE(configuration().InterruptSlot.command, std::uint8_t{simulation::kCommandNone});
  }

  void renameFollowsTheNameRules() {
    Open();
    CSchListBox& list = Schedules();
    QStringList seen;
    const auto rename = [&](std::vector<QString> attempts) {
      testing::WhenModal<CRenameDlg>([&seen, attempts = std::move(attempts), this](CRenameDlg& dialog) {
        auto* name = dialog.findChild<QLineEdit*>("name");
        QCOMPARE(dialog.windowTitle(), QString("Rename Schedule"));
        QCOMPARE(name->maxLength(), 15);
        for (const QString& attempt : attempts) {
          name->selectAll();
          if (attempt.isEmpty()) {
            QTest::keyClick(name, Qt::Key_Delete);
          } else {
            QTest::keyClicks(name, attempt);
          }
          dialog.accept();
          seen << TakeBoxes();
          if (dialog.isVisible()) seen << "kept " + name->text() + " " + name->selectedText();
        }
        if (dialog.isVisible()) dialog.reject();
      });
    };
    rename({"", "S5", "a-b", "S3"});
    QVERIFY(list.RenameSchedule(2));
    QCOMPARE(seen, (QStringList{"Error: Please enter a schedule name.", "kept S3 S3",
                                "Error: There is a schedule of the same name.", "kept S5 S5",
                                "Error: Please enter ASCII characters.(0-9,A-Z)", "kept a-b a-b"}));

    // Through the context menu of the item under the pointer.
    seen.clear();
    rename({"Headlights2024x"});
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [poll] {
      if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        poll->stop();
        poll->deleteLater();
        QCOMPARE(menu->actions().value(0)->text(), QString("&Rename Schedule"));
        menu->setActiveAction(menu->actions().value(0));
        QTest::keyClick(menu, Qt::Key_Return);
      }
    });
    poll->start(10);
    const QPoint at = list.visualItemRect(list.item(7)).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, list.viewport()->mapToGlobal(at));
    QApplication::sendEvent(list.viewport(), &click);
    QVERIFY(seen.isEmpty());
    QCOMPARE(list.currentRow(), 7);
    QCOMPARE(dialog_->editedSchedule(), std::size_t{7});
    QCOMPARE(ScheduleNameOf(configuration().ScheduleNames, 7), QString("Headlights2024x"));
    QCOMPARE(list.item(7)->toolTip(), QString("Headlights2024x"));
    QVERIFY(list.item(7)->text().endsWith("..."));
    QVERIFY(list.fontMetrics().horizontalAdvance(list.item(7)->text()) <= CSchListBox::kNameWidth);
  }

  void keyDialogTakesEveryKeyButEnter() {
    CKeysetDlg keys;
    keys.open();
    QVERIFY(QTest::qWaitForWindowActive(&keys));
    QCOMPARE(keys.windowTitle(), QString("Key Select"));
    auto* field = keys.findChild<QLineEdit*>("key");
    QVERIFY(field->isReadOnly());
    const std::vector<std::tuple<Qt::Key, QString, std::optional<std::int32_t>>> presses = {
        {Qt::Key_Q, "Q", 0x51},         {Qt::Key_7, "7", 0x37},
        {Qt::Key_F10, "F10", 0x79},     {Qt::Key_Left, "can't regist", std::nullopt},
        {Qt::Key_Escape, "can't regist", std::nullopt}, {Qt::Key_Space, "SPACE", 0x20},
    };
    QPushButton* cancel = nullptr;
    for (QPushButton* button : keys.findChildren<QPushButton*>()) {
      if (button->text() == "Cancel") cancel = button;
    }
    QVERIFY(cancel != nullptr);
    for (const auto& [key, shown, code] : presses) {
      QTest::keyClick(field, key);
      QCOMPARE(field->text(), shown);
      QCOMPARE(keys.key(), code);
      QVERIFY(keys.isVisible());  // Escape does not close it
    }
    // Space on a focused button is a key too, not a press of the button.
    cancel->setFocus();
    QTest::keyClick(cancel, Qt::Key_B);
    QTest::keyClick(cancel, Qt::Key_Space);
    QVERIFY(keys.isVisible());
    QCOMPARE(field->text(), QString("SPACE"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(keys.result(), int(QDialog::Accepted));
    QCOMPARE(keys.key(), std::optional<std::int32_t>(0x20));

    // "Key" writes the name into the list clicked last.
    Open();
    ClickCell(ScheduleList(), 4, simulation::kColumnNumber);
    testing::WhenModal<CKeysetDlg>([](CKeysetDlg& dialog) {
      auto* field = dialog.findChild<QLineEdit*>("key");
      QTest::keyClick(field, Qt::Key_F5);
      QTest::keyClick(field, Qt::Key_Enter);
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
    });
    Press("key");
    QCOMPARE(CellText(ScheduleList(), 4, simulation::kColumnTrigger), QString("F5"));
    ClickCell(InterruptList(), 0, simulation::kColumnNumber);
    testing::WhenModal<CKeysetDlg>([](CKeysetDlg& dialog) {
      auto* field = dialog.findChild<QLineEdit*>("key");
      QTest::keyClick(field, Qt::Key_Z);
      QTest::keyClick(field, Qt::Key_Return);
    });
    Press("key");
    QCOMPARE(CellText(InterruptList(), 0, simulation::kColumnTrigger), QString("Z"));
  }

  void patternChoicePreviewsTheFileWithItsMessages() {
    const std::string good = WriteFile("lamp.ptn", "Tx,10,01\nTx,21,0a,0b,0c,0d\n");
    const std::string none = WriteFile("none.ptn", "Tx,10,01\n");
    // Chosen, it passes the select check, but its identifier cannot be
    // sent; with no data defined for identifier 0 its partial row suits.
    const std::string broken = WriteFile("broken.ptn", "Tx,40\n");
    configuration().Settings.Identifiers.dataLength[0] = 0;
    Open();
    CMSetListCtrl& schedule = ScheduleList();
    const auto choose = [this](const std::string& path) {
      testing::WhenModal<CPatSelectDlg>([path](CPatSelectDlg& dialog) {
        dialog.findChild<QLineEdit*>("path")->setText(QString::fromStdString(path));
        dialog.accept();
      });
      Press("pattern");
    };
    ClickCell(schedule, 2, simulation::kColumnPattern);
    choose(good);
    QVERIFY(TakeBoxes().isEmpty());
    QCOMPARE(CellText(schedule, 2, simulation::kColumnFile), QString("lamp.ptn"));
    QCOMPARE(QString::fromStdString(std::string(settings::FieldText(schedule.StoredSlot(2).patternPath))),
             QString::fromStdString(good));
    QCOMPARE(CellText(schedule, 2, simulation::kColumnIdentifier), QString("21"));
    QCOMPARE(CellText(schedule, 2, simulation::DataColumn(3)), QString("0d"));

    ClickCell(schedule, 4, simulation::kColumnNumber);
    choose(none);
    QCOMPARE(TakeBoxes(),
             QStringList{"Warning: No proper data found for the slot in this pattern file."});
    QCOMPARE(schedule.FocusedRow(), 4);

    ClickCell(schedule, 5, simulation::kColumnPattern);
    choose(broken);
    QCOMPARE(TakeBoxes(), QStringList{QString::fromStdString(
                              "Error: Pattern file format error.That slot will be disabled.\n(" +
                              broken + ")")});
    QCOMPARE(CellText(schedule, 5, simulation::kColumnPattern), QString("UNCHECKED"));
  }

  void extendedFilesShowAsDashesAndFiveAreRefused() {
    for (std::size_t slot = 0; slot < 5; ++slot) {
      Schedule(0).slots[slot].identifier = 0x3F;
      Schedule(0).slots[slot].command = simulation::kCommandExtendedTx;
    }
    const std::string ext = WriteFile("data.ext", "0123456789");
    rig_->windows.chosenFile = ext;
    Open();
    bool refused = false;
    testing::WhenModal<CSndFileDlg>([&](CSndFileDlg& files) {
      auto* list = files.findChild<QTreeWidget*>("files");
      QCOMPARE(files.windowTitle(), QString("Send File"));
      QCOMPARE(list->topLevelItemCount(), 5);
      QCOMPARE(list->headerItem()->text(0), QString("Sch/Int"));
      QCOMPARE(list->columnWidth(3), 313);
      QCOMPARE(list->topLevelItem(4)->text(2), QString("4"));
      auto* select = files.findChild<QPushButton*>("selectFile");
      QTest::mouseClick(select, Qt::LeftButton);
      QCOMPARE(TakeBoxes(), QStringList{"Error: No selection made for execution."});
      for (int row = 0; row < 5; ++row) {
        list->setCurrentItem(list->topLevelItem(row));
        QTest::mouseClick(select, Qt::LeftButton);
      }
      QCOMPARE(list->topLevelItem(4)->text(3), QString::fromStdString(ext));
      QTest::mouseClick(files.findChild<QPushButton*>("close"), Qt::LeftButton);
      QCOMPARE(TakeBoxes(), QStringList{"Error: More than 4 extended files cannot be set.\n"
                                        "You should clear some selected files."});
      refused = files.isVisible();
      list->setCurrentItem(list->topLevelItem(2));
      QTest::mouseClick(files.findChild<QPushButton*>("clear"), Qt::LeftButton);
      QTest::mouseClick(files.findChild<QPushButton*>("close"), Qt::LeftButton);
    });
    Press("extend");
    QVERIFY(refused);
    QCOMPARE(rig_->windows.fileDialogs.back().initialName,
             (files_.filePath("default.ext")).toStdString());
    QCOMPARE(rig_->windows.fileDialogs.back().filter,
             std::string("Extended Frame File(*.ext)|*.ext|All(*.*)|*.*||"));
    QCOMPARE(configuration().ExtendedFiles[2].slotIndex, std::uint8_t{3});
    QCOMPARE(CellText(ScheduleList(), 3, simulation::kColumnData0), QString("-"));
    QCOMPARE(CellText(ScheduleList(), 2, simulation::DataColumn(7)), QString("00"));
    Press("ok");
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    QCOMPARE(configuration().ExtendedFiles[0].length, std::uint16_t{10});
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::MasterSetupTest)
#include "MasterSetupTest.moc"
