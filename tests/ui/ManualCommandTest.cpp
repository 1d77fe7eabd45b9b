// Help > Manual in the running program: which file it asks the desktop to
// open (the English manual, the Japanese one only on a Japanese system that
// has it), and the error box when the manual is missing.
#include <QAction>
#include <QDesktopServices>
#include <QUrl>
#include <QtTest>
#include <fstream>

#include "app/AppState.h"
#include "app/WindowCommands.h"
#include "app/ui/CMainFrame.h"
#include "tests/ui/support/ProgramHarness.h"

using orvane::app::MainCommand;
using orvane::testing::ProgramHarness;

// Stands in for the desktop: records the file URLs the program opens.
class DesktopRecorder : public QObject {
  Q_OBJECT

 public:
  DesktopRecorder() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
  ~DesktopRecorder() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

  QList<QUrl> opened;

 public Q_SLOTS:
  void open(const QUrl& url) { opened.append(url); }
};

class ManualCommandTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void englishManualOpensFromTheProgramFolder();
  void japaneseSystemOpensTheJapaneseManualWhenThere();
  void japaneseSystemWithoutItOpensTheEnglishManual();
  void missingManualShowsTheErrorBox();
};

namespace {

void Touch(const std::filesystem::path& path) {
  std::ofstream(path) << "<!DOCTYPE html><title>manual</title>\n";
}

QUrl UrlOf(const std::filesystem::path& path) {
  return QUrl::fromLocalFile(QString::fromStdString(path.string()));
}

// Starts the program with the manual files named, in `language`, and
// chooses Help > Manual.
void StartAndChooseManual(ProgramHarness& harness, const std::string& language,
                          std::initializer_list<const char*> files) {
  QVERIFY(!harness.Start().has_value());
  for (const char* file : files) Touch(harness.programFolder() / file);
  harness.app().state().LanguageCode = language;
  QAction* manual = harness.frame().ActionOf(MainCommand::kManual);
  QVERIFY(manual != nullptr);
  QVERIFY(manual->isEnabled());
  harness.boxes.clear();  // the start-up's own message
  manual->trigger();
}

void EndProgram(ProgramHarness& harness) {
  harness.app().state().ShutdownState = orvane::app::kShutdownForced;
  harness.frame().close();
}

}  // namespace

void ManualCommandTest::englishManualOpensFromTheProgramFolder() {
  ProgramHarness harness;
  DesktopRecorder desktop;
  StartAndChooseManual(harness, "ENG", {"vxlmane.html", "vxlmanj.html"});
  QCOMPARE(desktop.opened, QList<QUrl>{UrlOf(harness.programFolder() / "vxlmane.html")});
  QVERIFY(harness.boxes.empty());
  EndProgram(harness);
}

void ManualCommandTest::japaneseSystemOpensTheJapaneseManualWhenThere() {
  ProgramHarness harness;
  DesktopRecorder desktop;
  StartAndChooseManual(harness, "JPN", {"vxlmane.html", "vxlmanj.html"});
  QCOMPARE(desktop.opened, QList<QUrl>{UrlOf(harness.programFolder() / "vxlmanj.html")});
  QVERIFY(harness.boxes.empty());
  EndProgram(harness);
}

void ManualCommandTest::japaneseSystemWithoutItOpensTheEnglishManual() {
  ProgramHarness harness;
  DesktopRecorder desktop;
  StartAndChooseManual(harness, "JPN", {"vxlmane.html"});
  QCOMPARE(desktop.opened, QList<QUrl>{UrlOf(harness.programFolder() / "vxlmane.html")});
  QVERIFY(harness.boxes.empty());
  EndProgram(harness);
}

void ManualCommandTest::missingManualShowsTheErrorBox() {
  ProgramHarness harness;
  DesktopRecorder desktop;
  StartAndChooseManual(harness, "JPN", {"vxlmanj.pdf", "vxlmane.pdf"});
  QVERIFY(desktop.opened.isEmpty());
  QCOMPARE(harness.boxes.size(), std::size_t{1});
  QCOMPARE(harness.boxes[0].caption, std::string("Error"));
  QCOMPARE(harness.boxes[0].text, std::string("Users Manual Open Error"));
  QCOMPARE(harness.boxes[0].icon, orvane::monitor::MessageIcon::kExclamation);
  EndProgram(harness);
}

QTEST_MAIN(ManualCommandTest)
#include "ManualCommandTest.moc"
