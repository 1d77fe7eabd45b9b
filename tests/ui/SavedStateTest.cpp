// The window placements kept between runs: every child window's record,
// the later windows' included, is written at exit and read at start, and a
// store written before those windows existed still reads.
#include <QByteArray>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "app/CommandRules.h"
#include "app/ui/SavedState.h"
#include "tests/ui/support/ProgramHarness.h"

using orvane::app::Window;
using orvane::app::WindowPlacement;
using orvane::testing::ProgramHarness;

namespace {

QByteArray Bytes(const WindowPlacement& placement) {
  const auto bytes = orvane::app::PlacementBytes(placement);
  return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
}

// A distinct rectangle for each window.
WindowPlacement PlacementFor(Window window) {
  const int n = static_cast<int>(window);
  return orvane::app::NormalPlacement(10 + n, 20 + 2 * n, 300 + n, 200 + n);
}

}  // namespace

class SavedStateTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init();
  void everyChildPlacementRoundTripsUnderItsName();
  void storeWithoutTheLaterWindowsStillReads();
  void busStatisticsPlacementIsSavedAtExitAndRestoredAtStart();

 private:
  std::unique_ptr<QTemporaryDir> store_;
};

void SavedStateTest::init() {
  store_ = std::make_unique<QTemporaryDir>();
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store_->path());
}

void SavedStateTest::everyChildPlacementRoundTripsUnderItsName() {
  orvane::ui::WindowPlacements written;
  written.main = orvane::app::NormalPlacement(5, 6, 800, 600);
  for (std::size_t i = 0; i < orvane::app::kWindowCount; ++i) {
    const auto window = static_cast<Window>(i);
    if (!orvane::app::PlacementName(window).empty()) written.of(window) = PlacementFor(window);
  }
  orvane::ui::WritePlacements(written);

  QSettings settings(orvane::ui::kSettingsOrganisation, orvane::ui::kSettingsApplication);
  QCOMPARE(settings.value("Info/WP_BST").toByteArray(),
           Bytes(PlacementFor(Window::kBusStatistics)));
  QCOMPARE(settings.value("Info/WP_PLT").toByteArray(), Bytes(PlacementFor(Window::kSignalPlot)));
  QCOMPARE(settings.value("Info/WP_CAP").toByteArray(), Bytes(PlacementFor(Window::kCapture)));

  const orvane::ui::WindowPlacements read = orvane::ui::ReadPlacements();
  QVERIFY(read.mainValid);
  QVERIFY(read.main == written.main);
  for (std::size_t i = 0; i < orvane::app::kWindowCount; ++i) {
    const auto window = static_cast<Window>(i);
    QVERIFY2(read.of(window) == written.of(window), orvane::app::PlacementName(window).data());
  }
  QVERIFY2(read.of(Window::kFind).Empty(), "the Find window keeps no record");
}

void SavedStateTest::storeWithoutTheLaterWindowsStillReads() {
  QSettings settings(orvane::ui::kSettingsOrganisation, orvane::ui::kSettingsApplication);
  settings.setValue("Info/WP_M", Bytes(PlacementFor(Window::kMonitor)));
  settings.setValue("Info/WP_ECH", Bytes(PlacementFor(Window::kEachId)));
  settings.setValue("Info/WP_BST", QByteArray(43, '\x01'));  // damaged: not 44 bytes
  settings.sync();

  const orvane::ui::WindowPlacements read = orvane::ui::ReadPlacements();
  QVERIFY(!read.mainValid);
  QVERIFY(read.of(Window::kMonitor) == PlacementFor(Window::kMonitor));
  QVERIFY(read.of(Window::kEachId) == PlacementFor(Window::kEachId));
  QVERIFY(read.of(Window::kBusStatistics).Empty());
  QVERIFY(read.of(Window::kSignalPlot).Empty());
}

void SavedStateTest::busStatisticsPlacementIsSavedAtExitAndRestoredAtStart() {
  const QRect moved(70, 80, 640, 300);
  ProgramHarness first;
  QVERIFY(!first.Start().has_value());
  first.frame().Execute(orvane::app::MainCommand::kBusStatisticsWindow);
  QMdiSubWindow* window = first.SubWindowTitled(QStringLiteral("Bus Statistics Window"));
  QVERIFY(window != nullptr);
  window->setGeometry(moved);
  first.app().state().ShutdownState = orvane::app::kShutdownForced;
  first.frame().close();
  QVERIFY(first.Ended());

  ProgramHarness second;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, first.settingsFolder());
  QVERIFY(!second.Start().has_value());
  second.frame().Execute(orvane::app::MainCommand::kBusStatisticsWindow);
  window = second.SubWindowTitled(QStringLiteral("Bus Statistics Window"));
  QVERIFY(window != nullptr);
  QCOMPARE(window->geometry(), moved);
  second.app().state().ShutdownState = orvane::app::kShutdownForced;
  second.frame().close();
}

QTEST_MAIN(SavedStateTest)
#include "SavedStateTest.moc"
