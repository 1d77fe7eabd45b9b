// The slave simulation setup driven through its widgets: OK refusing a row
// (master ID, extended frame, repeated identifier) with the row selected
// and the dialog open, the master ID field, Cancel through the main
// frame's command undoing a refused OK, the editing buttons and
// accelerators, and the pattern preview of the change notification.
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <span>

#include "app/ModeCommands.h"
#include "monitor/MessageCatalogue.h"
#include "settings/FixedText.h"
#include "simulation/ui/CKeysetDlg.h"
#include "simulation/ui/CMSetListCtrl.h"
#include "simulation/ui/CSSimSetDlg.h"
#include "tests/ui/support/ShellContextRig.h"

namespace orvane::ui {

using simulation::GridColumn;

class SlaveSetupTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<testing::ShellContextRig> rig_;

  simulation::SimSlot& Response(std::size_t index) {
    return rig_->configuration->SlaveResponses[index];
  }
  void SetResponse(std::size_t index, std::uint8_t identifier, bool enabled) {
    simulation::SimSlot& response = Response(index);
    response.identifier = identifier;
    response.enable = enabled ? 1 : 0;
  }
  std::unique_ptr<CSSimSetDlg> Open() {
    auto dialog = std::make_unique<CSSimSetDlg>(rig_->services);
    dialog->open();
    dialog->activateWindow();
    if (!QTest::qWaitForWindowActive(dialog.get())) qFatal("the setup did not show");
    return dialog;
  }
  static void SetMasterId(CSSimSetDlg& dialog, const QString& text) {
    dialog.masterIdField().selectAll();
    QTest::keyClicks(&dialog.masterIdField(), text);
  }
  static QPoint Center(CMSetListCtrl& list, int row, GridColumn column) {
    return list.visualRect(list.model()->index(row, list.SectionOf(column))).center();
  }
  static void Click(CMSetListCtrl& list, int row, GridColumn column) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, Center(list, row, column));
  }
  static void Type(CMSetListCtrl& list, int row, GridColumn column, const QString& text) {
    Click(list, row, column);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, Center(list, row, column));
    auto* editor = qobject_cast<QLineEdit*>(
        list.indexWidget(list.model()->index(row, list.SectionOf(column))));
    QVERIFY2(editor != nullptr, "no line editor");
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
  }
  static QPushButton* Button(CSSimSetDlg& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
  }
  void ExpectRefusal(CSSimSetDlg& dialog, int row, const std::string& text) {
    dialog.accept();
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.list().FocusedRow(), row);
    QVERIFY(dialog.list().selectionModel()->isRowSelected(row, {}));
    const std::vector<testing::RecordedBox> boxes = rig_->sink.Boxes();
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].caption, std::string("Error"));
    QCOMPARE(boxes[0].text, text);
    QCOMPARE(boxes[0].icon, monitor::MessageIcon::kExclamation);
    rig_->sink.Clear();
  }

 private Q_SLOTS:
  void init() { rig_ = std::make_unique<testing::ShellContextRig>(); }
  void cleanup() { rig_.reset(); }

  void responseOnTheMasterIdIsRefused() {
    SetResponse(4, 0x0A, true);
    const auto dialog = Open();
    SetMasterId(*dialog, "0a");
    ExpectRefusal(*dialog, 4, "0ah is master ID. Please select another one.");
    QCOMPARE(rig_->configuration->SlaveMasterId, 0x0A);
  }

  void disabledExtendedFrameIsRefused() {
    SetResponse(9, 0x3E, false);
    const auto dialog = Open();
    ExpectRefusal(*dialog, 9, "Extend frame can't be registed.");
  }

  void repeatedIdentifierSelectsTheLaterRowAndStillStoresTheRows() {
    SetResponse(2, 0x11, true);
    SetResponse(7, 0x11, true);
    const auto dialog = Open();
    Type(dialog->list(), 5, simulation::kColumnData0, "ab");
    ExpectRefusal(*dialog, 7, monitor::MessageText(301));
    QCOMPARE(monitor::MessageText(301),
             std::string("Entered ID has already been used for slave ID."));
    QCOMPARE(Response(5).data[0], std::uint8_t{0xAB});
  }

  void masterIdThatIsNotHexadecimalIsKept() {
    rig_->configuration->SlaveMasterId = 0x05;
    SetResponse(0, 0x11, true);
    const auto dialog = Open();
    QCOMPARE(dialog->masterIdField().text(), QString("05"));
    SetMasterId(*dialog, "zz");
    dialog->accept();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(rig_->configuration->SlaveMasterId, 0x05);
    QVERIFY(rig_->sink.Boxes().empty());
  }

  void cancelAfterARefusedOkRestoresTheResponses() {
    SetResponse(1, 0x20, true);
    Response(1).data[3] = 0x44;
    SetResponse(6, 0x3F, false);
    rig_->configuration->SlaveMasterId = 0x01;
    const std::vector<std::uint8_t> before(
        reinterpret_cast<const std::uint8_t*>(rig_->configuration->SlaveResponses.data()),
        reinterpret_cast<const std::uint8_t*>(rig_->configuration->SlaveResponses.data()) +
            sizeof(simulation::SlaveResponses));

    bool refused = false;
    app::RunSlaveSimulationSetup(rig_->context, [&] {
      const auto dialog = Open();
      Type(dialog->list(), 1, simulation::DataColumn(3), "99");
      Click(dialog->list(), 3, simulation::kColumnOneTime);
      SetMasterId(*dialog, "3a");
      dialog->accept();
      refused = dialog->isVisible() && Response(1).data[3] == 0x99 &&
                rig_->configuration->SlaveMasterId == 0x3A;
      dialog->reject();
      return dialog->result() == QDialog::Accepted;
    });
    QVERIFY(refused);
    const std::vector<std::uint8_t> after(
        reinterpret_cast<const std::uint8_t*>(rig_->configuration->SlaveResponses.data()),
        reinterpret_cast<const std::uint8_t*>(rig_->configuration->SlaveResponses.data()) +
            sizeof(simulation::SlaveResponses));
    QVERIFY(after == before);
    QCOMPARE(rig_->configuration->SlaveMasterId, 0x01);
    QCOMPARE(rig_->state.ViewUpdateCode.Slave, int(app::kUpdateNone));
  }

  void editingButtonsFollowTheFirstClickAndTheClipboard() {
    SetResponse(0, 0x12, true);
    const auto dialog = Open();
    for (const char* name :
         {"cut", "copy", "overwritePaste", "insertPaste", "delete", "key", "pattern"})
      QVERIFY2(!Button(*dialog, name)->isEnabled(), name);

    Click(dialog->list(), 0, simulation::kColumnIdentifier);
    QVERIFY(Button(*dialog, "copy")->isEnabled());
    QVERIFY(Button(*dialog, "pattern")->isEnabled());
    QVERIFY(!Button(*dialog, "overwritePaste")->isEnabled());

    // Ctrl+C copies the focused row, Alt+V pastes it over row 3 once that
    // is clicked.
    QTest::keySequence(dialog.get(), QKeySequence(Qt::CTRL | Qt::Key_C));
    QVERIFY(Button(*dialog, "overwritePaste")->isEnabled());
    QVERIFY(Button(*dialog, "insertPaste")->isEnabled());
    Click(dialog->list(), 3, simulation::kColumnIdentifier);
    QTest::keySequence(dialog.get(), QKeySequence(Qt::ALT | Qt::Key_V));
    QCOMPARE(dialog->list().RowCells(3)[simulation::kColumnIdentifier], std::string("12"));
    QCOMPARE(dialog->list().RowCells(3)[simulation::kColumnEnable], std::string("CHECKED"));

    // The target is forgotten after each action: a second paste needs a click.
    QTest::keySequence(dialog.get(), QKeySequence(Qt::CTRL | Qt::Key_V));
    QCOMPARE(rig_->sink.Texts(), std::vector<std::string>{monitor::MessageText(201)});
  }

  void keyGoesIntoTheFocusedRow() {
    const auto dialog = Open();
    Click(dialog->list(), 5, simulation::kColumnIdentifier);
    QTimer::singleShot(0, [] {
      auto* keys = qobject_cast<CKeysetDlg*>(QApplication::activeModalWidget());
      if (keys == nullptr) return;
      QTest::keyClick(keys, Qt::Key_F5);
      QTest::keyClick(keys, Qt::Key_Return);
    });
    QTest::mouseClick(Button(*dialog, "key"), Qt::LeftButton);
    QCOMPARE(dialog->list().RowCells(5)[simulation::kColumnTrigger], std::string("F5"));
    dialog->accept();
    QCOMPARE(Response(5).trigger, std::uint8_t{simulation::kTriggerKey});
    QCOMPARE(Response(5).triggerValue, 0x74);
  }

  void changeNotificationPreviewsPatternRows() {
    QTemporaryDir folder;
    const QString file = folder.filePath("walk.ptn");
    {
      QFile out(file);
      QVERIFY(out.open(QIODevice::WriteOnly));
      out.write("Tx,11,01\nTx,12,aa,bb\nTx,11,c1,c2\n");
    }
    simulation::SimSlot& response = Response(2);
    SetResponse(2, 0x11, true);
    response.pattern = 1;
    response.trigger = simulation::kTriggerTimer;
    response.triggerValue = 100;
    settings::CopyToField(file.toStdString(), response.patternPath);
    const auto dialog = Open();
    QCOMPARE(dialog->list().RowCells(2)[simulation::kColumnData0], std::string("00"));

    // Any click is a change: the row shows the first suitable line for 0x11
    // (the one-byte line does not suit its two bytes).
    Click(dialog->list(), 9, simulation::kColumnNumber);
    QCOMPARE(dialog->list().RowCells(2)[simulation::kColumnData0], std::string("c1"));
    QCOMPARE(dialog->list().RowCells(2)[simulation::DataColumn(1)], std::string("c2"));
    QCOMPARE(dialog->list().RowCells(2)[simulation::DataColumn(2)], std::string(""));

    // A new identifier without a line of its own warns once.
    Type(dialog->list(), 2, simulation::kColumnIdentifier, "13");
    QCOMPARE(rig_->sink.Boxes().size(), std::size_t{1});
    QCOMPARE(rig_->sink.Boxes()[0].caption, std::string("Warning"));
    QCOMPARE(rig_->sink.Boxes()[0].text,
             std::string("No proper data found for the slot in this pattern file."));
    Type(dialog->list(), 2, simulation::kColumnIdentifier, "12");
    QCOMPARE(dialog->list().RowCells(2)[simulation::kColumnData0], std::string("aa"));
    QCOMPARE(rig_->sink.Boxes().size(), std::size_t{1});
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::SlaveSetupTest)
#include "SlaveSetupTest.moc"
