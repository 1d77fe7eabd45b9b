// "Import Schedules from LIN Description..." of the master setup: the
// button follows the loaded description, the import fills the schedule list
// and the edited schedule's rows and tells its notes in one box, survives a
// change of the edited schedule and OK, and Cancel through the main frame's
// command drops it.
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <memory>

#include "settings/FixedText.h"
#include "simulation/SimRecords.h"
#include "simulation/ui/CMSimSetDlg.h"
#include "simulation/ui/CSchListBox.h"
#include "simulation/ui/MasterSetup.h"
#include "tests/ui/support/MasterSetupModel.h"
#include "tests/ui/support/ShellContextRig.h"
#include "tests/ui/support/SlotGridDriver.h"

namespace orvane::ui {

using simulation::GridColumn;
using testing::CellText;
using testing::MasterModelBytes;
using testing::ScheduleNameOf;

namespace {

// Cmd (0x10, the master's) carries lamp = 9 at bit 3: D0 = 0x48.
constexpr std::string_view kDescription =
    "LIN_description_file;\n"
    "LIN_protocol_version = \"2.1\";\n"
    "LIN_language_version = \"2.1\";\n"
    "LIN_speed = 19.2 kbps;\n"
    "Nodes {\n"
    "  Master: M, 5 ms, 0.1 ms;\n"
    "  Slaves: S1;\n"
    "}\n"
    "Signals {\n"
    "  lamp: 4, 9, M, S1;\n"
    "  state: 8, 0, S1, M;\n"
    "}\n"
    "Frames {\n"
    "  Cmd: 0x10, M, 2 { lamp, 3; }\n"
    "  Stat: 0x21, S1, 2 { state, 0; }\n"
    "}\n"
    "Schedule_tables {\n"
    "  Normal_Schedule_Long { Cmd delay 10 ms; Stat delay 20 ms; AssignNAD { S1 } delay 5 ms; }\n"
    "  Second { Stat delay 15 ms; }\n"
    "}\n";

// Delay, command, identifier, D0 and D1 of a row, blank-separated.
QString RowText(const CMSetListCtrl& grid, int row) {
  QStringList cells;
  for (const GridColumn column :
       {simulation::kColumnEnable, simulation::kColumnDelay, simulation::kColumnCommand,
        simulation::kColumnIdentifier, simulation::DataColumn(0), simulation::DataColumn(1)}) {
    cells << CellText(grid, row, column);
  }
  return cells.join(' ');
}

}  // namespace

class ScheduleImportDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<testing::ShellContextRig> rig_;
  std::unique_ptr<CMSimSetDlg> dialog_;
  QTemporaryDir files_;

  app::Configuration& configuration() { return *rig_->configuration; }

  void LoadDescription(std::string_view text = kDescription) {
    const std::string path = files_.filePath("net.ldf").toStdString();
    std::ofstream(path, std::ios::binary) << text;
    QVERIFY(rig_->description.Reload(path));
  }
  template <typename T>
  static T& Get(QWidget& dialog, const char* name) {
    T* child = dialog.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no child %s", name);
    return *child;
  }
  static void Click(QWidget& dialog, const char* button) {
    QPushButton& target = Get<QPushButton>(dialog, button);
    QVERIFY2(target.isEnabled(), button);
    QTest::mouseClick(&target, Qt::LeftButton);
  }
  static void PickSchedule(QWidget& dialog, int index) {
    CSchListBox& list = Get<CSchListBox>(dialog, "schedules");
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(index)).center());
  }

  // The import shown in the dialog, and its one box of notes.
  void CheckImportShown(QWidget& dialog) {
    const CMSetListCtrl& rows = Get<CMSetListCtrl>(dialog, "scheduleList");
    CSchListBox& list = Get<CSchListBox>(dialog, "schedules");
    QCOMPARE(list.item(0)->toolTip(), QString("Normal_Schedule"));
    QCOMPARE(list.item(1)->toolTip(), QString("Second"));
    QCOMPARE(list.item(2)->toolTip(), QString("S3"));
    // Each slot's delay is the table delay of the entry before it.
    QCOMPARE(RowText(rows, 0), QString("CHECKED 20 Tx 10 48 00"));
    QCOMPARE(RowText(rows, 1), QString("CHECKED 10 Rx 21  "));
    QCOMPARE(RowText(rows, 2), QString("UNCHECKED 1 Tx 10 00 00"));
    const std::vector<testing::RecordedBox> boxes = rig_->sink.Boxes();
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(boxes[0].caption), QString("Import Schedules"));
    QVERIFY(boxes[0].icon == monitor::MessageIcon::kInformation);
    QCOMPARE(QString::fromStdString(boxes[0].text),
             QString("Table \"Normal_Schedule_Long\" is named \"Normal_Schedule\" (schedule names "
                     "have at most 15 characters)\n"
                     "Frame Stat (ID 21h) has 2 data bytes; the identifier definition gives 4, "
                     "which the simulation uses\n"
                     "Normal_Schedule_Long, slot 3 (AssignNAD { S1 }, 5 ms): a node configuration "
                     "command; not imported"));
    rig_->sink.Clear();
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

  void theButtonWaitsForADescription() {
    dialog_ = std::make_unique<CMSimSetDlg>(rig_->services);
    QVERIFY(!Get<QPushButton>(*dialog_, "importSchedules").isEnabled());
    dialog_.reset();
    LoadDescription();
    dialog_ = std::make_unique<CMSimSetDlg>(rig_->services);
    QVERIFY(Get<QPushButton>(*dialog_, "importSchedules").isEnabled());
  }

  void cancelThroughTheCommandDropsTheImport() {
    LoadDescription();
    settings::CopyToField("Door", configuration().ScheduleNames[0].data(),
                          simulation::kScheduleNameSize);
    configuration().Schedules[1].slots[0].delay = 345;
    const std::vector<char> before = MasterModelBytes(configuration());
    WindowRegistry registry;
    RegisterMasterSetup(registry);
    bool shown = false;
    testing::WhenModal<CMSimSetDlg>([&](CMSimSetDlg& dialog) {
      Click(dialog, "importSchedules");
      CheckImportShown(dialog);
      PickSchedule(dialog, 1);
      QCOMPARE(RowText(Get<CMSetListCtrl>(dialog, "scheduleList"), 0),
               QString("CHECKED 15 Rx 21  "));
      Click(dialog, "cancel");
      shown = true;
    });
    (*registry.FindCommand(app::MainCommand::kMasterSetup))(rig_->services);
    QVERIFY(shown);
    QVERIFY(MasterModelBytes(configuration()) == before);
  }

  void manyNotesGoIntoTheDetailsOfTheBox() {
    std::string commands;
    for (int n = 0; n < 9; ++n) commands += "AssignNAD { S1 } delay 5 ms; ";
    std::string text(kDescription);
    text.replace(text.find("AssignNAD { S1 } delay 5 ms; "), 29, commands);
    LoadDescription(text);
    dialog_ = std::make_unique<CMSimSetDlg>(rig_->services);
    Click(*dialog_, "importSchedules");
    const std::vector<testing::RecordedBox> boxes = rig_->sink.Boxes();
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(boxes[0].text),
             QString("11 notes on what the import changed or left out are in the details."));
    const QStringList details = QString::fromStdString(boxes[0].detail).split('\n');
    QCOMPARE(details.size(), 11);
    QCOMPARE(details.last(), QString("Normal_Schedule_Long, slot 11 (AssignNAD { S1 }, 5 ms): a "
                                     "node configuration command; not imported"));
  }

  void okStoresTheImportAfterAChangeOfSchedule() {
    LoadDescription();
    dialog_ = std::make_unique<CMSimSetDlg>(rig_->services);
    dialog_->open();
    QVERIFY(QTest::qWaitForWindowActive(dialog_.get()));
    Click(*dialog_, "importSchedules");
    CheckImportShown(*dialog_);
    PickSchedule(*dialog_, 1);
    QCOMPARE(dialog_->editedSchedule(), std::size_t{1});
    Click(*dialog_, "ok");
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    QVERIFY(rig_->sink.Boxes().empty());

    const simulation::MasterSchedule& first = configuration().Schedules[0];
    QCOMPARE(ScheduleNameOf(configuration().ScheduleNames, 0), QString("Normal_Schedule"));
    QCOMPARE(ScheduleNameOf(configuration().ScheduleNames, 1), QString("Second"));
    QCOMPARE(first.enable, std::uint8_t{1});
    QCOMPARE(first.slots[0].enable, std::uint8_t{1});
    QCOMPARE(first.slots[0].delay, 20);
    QCOMPARE(first.slots[0].identifier, std::uint8_t{0x10});
    QCOMPARE(first.slots[0].data[0], std::uint8_t{0x48});
    QCOMPARE(first.slots[1].command, std::uint8_t{simulation::kCommandRx});
    QCOMPARE(first.slots[1].identifier, std::uint8_t{0x21});
    QCOMPARE(first.slots[2].enable, std::uint8_t{0});
    const simulation::MasterSchedule& second = configuration().Schedules[1];
    QCOMPARE(second.slots[0].delay, 15);
    QCOMPARE(second.slots[0].identifier, std::uint8_t{0x21});
    QCOMPARE(configuration().MasterRun.CurrentSchedule, 1);
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::ScheduleImportDialogTest)
#include "ScheduleImportDialogTest.moc"
