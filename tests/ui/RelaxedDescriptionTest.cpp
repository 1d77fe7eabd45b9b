// Loading a LIN description that only relaxed rules let pass, in the whole
// program: the stop box says where the strict load failed and offers the
// relaxed retry, the signal windows mark the relaxed description and the
// signal without subscribers, and the Description Report lists the rules.
#include <QApplication>
#include <QMdiSubWindow>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "app/CommandRules.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/DescriptionReportDialog.h"
#include "signals/ui/cls_psig_frm.h"
#include "signals/ui/cls_psig_viw.h"
#include "tests/ui/support/ProgramHarness.h"

using orvane::app::MainCommand;
using orvane::testing::ProgramHarness;
namespace ui = orvane::ui;

namespace {

// No Slaves line (line 14) and a signal without subscribers (line 19).
const std::string kRelaxedOnly =
    ORVANE_SOURCE_DIR "/../shared/ldf-corpus/ldfparser/no_signal_subscribers.ldf";

// Runs the Description Report command, reads the dialog it opens and
// closes it.
QString ReportOf(ui::CMainFrame& frame) {
  QString text;
  QTimer timer;
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, [&text] {
    if (auto* dialog =
            dynamic_cast<ui::DescriptionReportDialog*>(QApplication::activeModalWidget())) {
      text = dialog->ReportText();
      dialog->reject();
    }
  });
  timer.start(0);
  frame.Execute(MainCommand::kDescriptionReport);
  return text;
}

}  // namespace

class RelaxedDescriptionTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void aRelaxedRetryLoadsTheFileAndReportsWhatItLetPass() {
    ProgramHarness harness;
    QVERIFY(!harness.Start().has_value());
    auto& frame = harness.frame();

    // Declined (OK): nothing loads.
    harness.chosenFile = kRelaxedOnly;
    harness.boxes.clear();
    frame.Execute(MainCommand::kLoadLinDescription);
    QCOMPARE(harness.boxes.size(), std::size_t{1});
    QCOMPARE(harness.boxes[0].text,
             std::string("Failed to read a LIN description file.\n"
                         "An error occurred in Node definition (Participating nodes)."));
    QCOMPARE(harness.boxes[0].icon, orvane::monitor::MessageIcon::kStop);
    QCOMPARE(harness.boxes[0].detail, std::string("line 14: 1-63 slaves: no Slaves line"));
    QCOMPARE(harness.boxes[0].extraButton, std::string("Load with relaxed rules"));
    QCOMPARE(harness.app().configuration().Settings.DescriptionReference, 0u);
    QVERIFY(!frame.ActionOf(MainCommand::kDescriptionReport)->isEnabled());

    // "Load with relaxed rules": it loads, and the windows say so.
    harness.boxes.clear();
    harness.answers.push_back(orvane::monitor::MessageAnswer::kExtra);
    frame.Execute(MainCommand::kLoadLinDescription);
    QCOMPARE(harness.boxes.size(), std::size_t{1});
    QVERIFY(harness.app().configuration().Settings.DescriptionReference != 0);
    QVERIFY(frame.ActionOf(MainCommand::kDescriptionReport)->isEnabled());
    frame.Execute(MainCommand::kSignalSelectWindow);
    auto* select = qobject_cast<ui::cls_psig_frm*>(
        harness.SubWindowTitled(QStringLiteral("Signal Select Window")));
    QVERIFY(select != nullptr);
    QVERIFY(select->windowTitle().endsWith(" (relaxed)"));
    QTreeWidget& tree = select->view().tree();
    QCOMPARE(tree.topLevelItemCount(), 1);
    QCOMPARE(tree.topLevelItem(0)->text(0), QStringLiteral("DummyFrame"));
    QCOMPARE(tree.topLevelItem(0)->child(0)->text(0),
             QStringLiteral("DummySignal_0 (no subscribers)"));

    QCOMPARE(ReportOf(frame).trimmed(), QStringLiteral("line 14: 1-63 slaves: no Slaves line\n"
                                                       "line 19: 1-63 subscribers: DummySignal_0"));
  }
};

QTEST_MAIN(RelaxedDescriptionTest)
#include "RelaxedDescriptionTest.moc"
