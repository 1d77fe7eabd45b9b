// The desktop program as a user meets it, in process on a virtual analyzer
// that runs in real time: start-up, saved state, the single instance,
// monitoring into the Monitor window, the identifier definition reaching
// the analyzer, losing the analyzer, and exit.
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QtTest>
#include <cstdio>
#include <fstream>
#include <map>

#include "analyzer/RegisterMap.h"
#include "app/ConfigurationFile.h"
#include "app/ExitCommands.h"
#include "app/RunControl.h"
#include "app/Startup.h"
#include "monitor/LogWriter.h"
#include "signals/ui/CIdDefineDlg.h"
#include "tests/ui/support/ProgramHarness.h"
#include "views/ui/CMonitSView.h"

using orvane::app::MainCommand;
using orvane::app::Window;
using orvane::testing::ProgramHarness;

namespace {

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (start <= line.size()) {
    const std::size_t end = line.find(',', start);
    fields.push_back(Trimmed(std::string_view(line).substr(
        start, end == std::string::npos ? std::string::npos : end - start)));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return fields;
}

std::string LogLineOf(const orvane::monitor::MonitorRecord& record,
                      const orvane::monitor::LogFormat& format) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* memory = open_memstream(&buffer, &size);
  orvane::monitor::WriteLogRecord(memory, record, format);
  std::fclose(memory);
  std::string line(buffer, size);
  std::free(buffer);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

orvane::app::Configuration ConfigurationWithBaud(std::uint8_t code) {
  orvane::app::Configuration configuration{};
  orvane::app::SetDefaults(configuration, "/tmp");
  configuration.Options.BaudRateCode = code;
  return configuration;
}

}  // namespace

class ProgramTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void startWithoutSavedStateUsesDefaultsAndOpensTheFirstWindows();
  void configurationOnTheCommandLineWinsOverTheLastPath();
  void secondStartRaisesTheFirstAndEnds();
  void monitoringShowsTheNewestRecordAsItsLogLine();
  void identifierDefinitionReachesTheAnalyzer();
  void unplugWhileMonitoringEndsTheProgramWithOneMessage();
  void exitAsksThenWritesConfigurationAndSavedState();
  void analyzerThatCannotBeOpenedEndsTheStart();
  void placementsFollowTheWindowsAndStandardLayoutRestoresThem();
};

void ProgramTest::startWithoutSavedStateUsesDefaultsAndOpensTheFirstWindows() {
  ProgramHarness harness;
  QVERIFY(!harness.Start().has_value());

  QCOMPARE(harness.boxes.size(), std::size_t{1});
  QCOMPARE(harness.boxes[0].caption, std::string("Error"));
  QCOMPARE(harness.boxes[0].text, std::string(orvane::app::kConfigurationLoadErrorText));
  QVERIFY(harness.app().state().ConfigPath.empty());
  QCOMPARE(harness.app().configuration().Options.BaudRateCode, std::uint8_t{11});
  QCOMPARE(harness.frame().windowTitle(), QStringLiteral("Q427-VXL View Ver.3.11"));

  QMdiSubWindow* monitor = harness.SubWindowTitled(QStringLiteral("Monitor Window"));
  QVERIFY(monitor != nullptr);
  QCOMPARE(monitor->windowTitle(), QStringLiteral("Monitor Window - [Monitor Mode]"));
  QCOMPARE(monitor->geometry(), QRect(0, 0, 635, 305));
  QMdiSubWindow* status = harness.SubWindowTitled(QStringLiteral("Status Window"));
  QVERIFY(status != nullptr);
  QCOMPARE(status->geometry().topLeft(), QPoint(638, 0));
  QVERIFY(harness.app().state().WindowOpen[Window::kMonitor]);
  QVERIFY(harness.app().state().WindowOpen[Window::kStatus]);
  QCOMPARE(harness.frame().area().activeSubWindow(), monitor);

  // Stopped: Start is offered, Stop is not; every window and setup dialog
  // is offered (the Capture window and the special frame setup registered
  // by their folders).
  QVERIFY(harness.frame().ButtonOf(MainCommand::kStartButton)->isEnabled());
  QVERIFY(!harness.frame().ButtonOf(MainCommand::kStopButton)->isEnabled());
  QVERIFY(harness.frame().ActionOf(MainCommand::kMonitorWindow)->isChecked());
  QVERIFY(harness.frame().ActionOf(MainCommand::kOptionSetup)->isEnabled());
  QVERIFY(!harness.frame().ActionOf(MainCommand::kOptionSetup)->isCheckable());
  QVERIFY(harness.frame().ActionOf(MainCommand::kCaptureWindow)->isEnabled());
  QVERIFY(harness.frame().ActionOf(MainCommand::kFrameHighlightSetup)->isEnabled());
  harness.app().state().ShutdownState = orvane::app::kShutdownForced;
  harness.frame().close();
}

void ProgramTest::configurationOnTheCommandLineWinsOverTheLastPath() {
  ProgramHarness harness;
  const std::string last = (harness.programFolder() / "last.cfg").string();
  const std::string named = (harness.programFolder() / "named.cfg").string();
  QVERIFY(orvane::app::WriteConfiguration(last, ConfigurationWithBaud(3)).ok);
  QVERIFY(orvane::app::WriteConfiguration(named, ConfigurationWithBaud(13)).ok);
  QSettings("Corvanta", "VXL View").setValue("Info/LastPath", QString::fromStdString(last));

  QVERIFY(!harness.Start({QString::fromStdString(named)}).has_value());
  QVERIFY(harness.boxes.empty());
  QCOMPARE(harness.app().state().ConfigPath, named);
  QCOMPARE(harness.app().configuration().Options.BaudRateCode, std::uint8_t{13});
  QCOMPARE(harness.frame().windowTitle(),
           QString::fromStdString("Q427-VXL View Ver.3.11 - [" + named + "]"));
  // A start that read a file leaves both pattern modes 0.
  QCOMPARE(harness.app().configuration().Options.ShortPatternMode, 0u);
  harness.app().state().ShutdownState = orvane::app::kShutdownForced;
  harness.frame().close();
}

void ProgramTest::secondStartRaisesTheFirstAndEnds() {
  ProgramHarness first;
  QVERIFY(!first.Start().has_value());
  first.frame().showMinimized();
  QVERIFY(ProgramHarness::WaitFor([&] { return first.frame().isMinimized(); }, 2000));

  ProgramHarness second;
  second.instanceName = first.instanceName;
  QCOMPARE(second.Start(), std::optional<int>(orvane::ui::kExitOk));
  QVERIFY(second.app().mainFrame() == nullptr);
  QVERIFY(ProgramHarness::WaitFor([&] { return !first.frame().isMinimized(); }, 3000));
  first.app().state().ShutdownState = orvane::app::kShutdownForced;
  first.frame().close();
}

void ProgramTest::monitoringShowsTheNewestRecordAsItsLogLine() {
  ProgramHarness harness;
  QVERIFY(!harness.Start().has_value());
  auto& frame = harness.frame();
  frame.Execute(MainCommand::kStart);
  QVERIFY(harness.app().state().Monitoring());
  QVERIFY(frame.ButtonOf(MainCommand::kStopButton)->isEnabled());
  QTest::qWait(2000);
  frame.Execute(MainCommand::kStop);
  QVERIFY(
      ProgramHarness::WaitFor([&] { return !harness.app().runControl()->StopRequested(); }, 4000));
  QVERIFY(harness.app().state().MonitorStopped == 1);

  auto* view = qobject_cast<orvane::ui::CMonitSView*>(
      harness.SubWindowTitled(QStringLiteral("Monitor Window"))->widget());
  QVERIFY(view != nullptr);
  const auto snapshot = harness.app().monitorState().ViewBuffer.Snapshot();
  QVERIFY(snapshot.Count() > 50);
  // After the stop the browse display starts at the oldest record; scroll
  // to the end so that the newest is in the lowest row.
  view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
  QTest::qWait(50);
  const int row = view->BottomRow();
  QVERIFY(row > 0);
  const auto index = view->RecordIndexAt(row);
  QVERIFY(index.has_value());
  QCOMPARE(*index, (snapshot.writeIndex + orvane::monitor::MonitorCapacity - 1) %
                       orvane::monitor::MonitorCapacity);

  const auto& record = harness.app().monitorState().ViewBuffer.Records()[*index];
  const auto& configuration = harness.app().configuration();
  const std::vector<std::string> log = Fields(
      LogLineOf(record, orvane::app::MakeLogFormat(configuration.Settings.Identifiers,
                                                   configuration.Settings.Options, "IDEN", "HEX")));
  // The text each column ends up with (a later cell covers an earlier one).
  const orvane::views::RowCells cells = view->CellsAt(row);
  std::map<int, std::string> shown;
  for (const auto& cell : cells.cells()) shown[cell.column] = Trimmed(cells.Text(cell));
  // Log fields: time, M/S, Tx/Rx, command, error, identifier, D0-D7, sum;
  // grid columns: time, M/S, Dir, command, error, sync, identifier, DL,
  // D0-D7, sum.
  QCOMPARE(log.size(), std::size_t{15});
  for (int field = 0; field < 4; ++field) QCOMPARE(shown[field], log[field]);
  QCOMPARE(shown[6], log[5]);
  for (int byte = 0; byte < 8; ++byte) QCOMPARE(shown[8 + byte], log[6 + byte]);
  QCOMPARE(shown[16], log[14]);
  harness.app().state().ShutdownState = orvane::app::kShutdownForced;
  frame.close();
}

void ProgramTest::identifierDefinitionReachesTheAnalyzer() {
  ProgramHarness harness;
  QVERIFY(!harness.Start().has_value());
  bool edited = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<orvane::ui::CIdDefineDlg*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    auto* length = dialog->findChild<QLineEdit*>(QStringLiteral("dl05"));
    if (length == nullptr) return;
    length->setFocus();
    length->selectAll();
    QTest::keyClicks(length, QStringLiteral("7"));
    dialog->accept();
    edited = true;
  });
  harness.frame().Execute(MainCommand::kIdentifierDefinition);
  QVERIFY(edited);
  QCOMPARE(harness.app().configuration().Settings.Identifiers.dataLength[0x05], std::uint8_t{7});

  std::array<std::uint8_t, 64> table{};
  QVERIFY(harness.app().analyzerMap().Read(orvane::analyzer::reg::kLengthTable, table));
  QCOMPARE(table[0x05] & 0x0F, 7);
  QCOMPARE(table[0x25] & 0x0F, 4);
  harness.app().state().ShutdownState = orvane::app::kShutdownForced;
  harness.frame().close();
}

void ProgramTest::unplugWhileMonitoringEndsTheProgramWithOneMessage() {
  ProgramHarness harness;
  QVERIFY(!harness.Start().has_value());
  harness.boxes.clear();
  harness.frame().Execute(MainCommand::kStart);
  QTest::qWait(300);
  // Through the program's own menu, as a user tries it.
  QAction* unplug = nullptr;
  for (QAction* menu : harness.frame().menuBar()->actions()) {
    if (menu->text() != QStringLiteral("V&irtual Analyzer")) continue;
    for (QAction* action : menu->menu()->actions()) {
      if (action->text() == QStringLiteral("&Unplug the Analyzer")) unplug = action;
    }
  }
  QVERIFY(unplug != nullptr);
  unplug->trigger();
  QVERIFY(ProgramHarness::WaitFor([&] { return harness.Ended(); }, 5000));
  QCOMPARE(harness.boxes.size(), std::size_t{1});
  QCOMPARE(harness.boxes[0].caption, std::string("Error"));
  QCOMPARE(harness.boxes[0].text, std::string(orvane::app::kUsbDisconnectedText));
  QCOMPARE(harness.boxes[0].icon, orvane::monitor::MessageIcon::kStop);
}

void ProgramTest::exitAsksThenWritesConfigurationAndSavedState() {
  ProgramHarness harness;
  QVERIFY(!harness.Start().has_value());
  harness.boxes.clear();

  harness.answers.push_back(orvane::monitor::MessageAnswer::kCancel);
  harness.frame().Execute(MainCommand::kExit);
  QTest::qWait(50);
  QVERIFY(!harness.Ended());
  QCOMPARE(harness.boxes.size(), std::size_t{1});
  QCOMPARE(harness.boxes[0].caption, std::string("Exit"));
  QCOMPARE(harness.boxes[0].text, std::string(orvane::app::kExitQuestion));
  QCOMPARE(harness.app().state().ShutdownState.load(), std::uint8_t{orvane::app::kShutdownNone});

  harness.frame().Execute(MainCommand::kExit);
  QVERIFY(ProgramHarness::WaitFor([&] { return harness.Ended(); }, 2000));
  QCOMPARE(harness.boxes.size(), std::size_t{2});
  const auto written = harness.programFolder() / "default.cfg";
  QVERIFY(std::filesystem::exists(written));
  QCOMPARE(std::filesystem::file_size(written), std::uintmax_t{153337});
  QSettings saved("Corvanta", "VXL View");
  QCOMPARE(saved.value("Info/LastPath").toString().toStdString(), written.string());
  QCOMPARE(saved.value("Info/WP_M").toByteArray().size(), 44);
  QCOMPARE(saved.value("Info/WP").toByteArray().size(), 44);

  // Forced, the close asks nothing.
  ProgramHarness forced;
  QVERIFY(!forced.Start().has_value());
  forced.boxes.clear();
  forced.app().state().ShutdownState = orvane::app::kShutdownForced;
  forced.frame().close();
  QVERIFY(forced.Ended());
  QVERIFY(forced.boxes.empty());
}

void ProgramTest::analyzerThatCannotBeOpenedEndsTheStart() {
  ProgramHarness harness;
  harness.analyzer().Unplug();
  QCOMPARE(harness.Start(), std::optional<int>(orvane::ui::kExitStartFailed));
  QCOMPARE(harness.boxes.size(), std::size_t{2});  // the configuration message first
  QCOMPARE(harness.boxes[1].caption, std::string("Error"));
  QCOMPARE(harness.boxes[1].text, std::string(orvane::ui::kInitializationErrorText));
  QCOMPARE(harness.boxes[1].icon, orvane::monitor::MessageIcon::kStop);
  QCOMPARE(harness.app().state().ShutdownState.load(), std::uint8_t{orvane::app::kShutdownForced});
}

void ProgramTest::placementsFollowTheWindowsAndStandardLayoutRestoresThem() {
  ProgramHarness harness;
  QVERIFY(!harness.Start().has_value());
  auto& frame = harness.frame();
  QMdiSubWindow* monitor = harness.SubWindowTitled(QStringLiteral("Monitor Window"));
  monitor->setGeometry(100, 120, 500, 260);

  // Closed while maximised, it reopens normal at its last normal rectangle.
  monitor->showMaximized();
  frame.Execute(MainCommand::kMonitorWindow);
  QVERIFY(ProgramHarness::WaitFor(
      [&] { return !harness.app().state().WindowOpen[Window::kMonitor]; }, 2000));
  frame.Execute(MainCommand::kMonitorWindow);
  monitor = harness.SubWindowTitled(QStringLiteral("Monitor Window"));
  QVERIFY(monitor != nullptr);
  QVERIFY(!monitor->isMaximized());
  QCOMPARE(monitor->geometry(), QRect(100, 120, 500, 260));

  // Standard layout: open windows go back to their defaults, closed ones
  // stay closed.
  frame.Execute(MainCommand::kStatusWindow);
  QVERIFY(ProgramHarness::WaitFor(
      [&] { return !harness.app().state().WindowOpen[Window::kStatus]; }, 2000));
  frame.Execute(MainCommand::kStandardLayout);
  QVERIFY(ProgramHarness::WaitFor(
      [&] {
        QMdiSubWindow* reopened = harness.SubWindowTitled(QStringLiteral("Monitor Window"));
        return reopened != nullptr && reopened->geometry() == QRect(0, 0, 635, 305);
      },
      2000));
  QVERIFY(!harness.app().state().WindowOpen[Window::kStatus]);
  QVERIFY(harness.SubWindowTitled(QStringLiteral("Status Window")) == nullptr);
  harness.app().state().ShutdownState = orvane::app::kShutdownForced;
  frame.close();
}

QTEST_MAIN(ProgramTest)
#include "ProgramTest.moc"
