// The Signal Plot window: its series from a filled ViewBuffer as the core
// decodes them, the cursor's readout, zoom and pan, the live tick that reads
// only new records, PNG and SVG export, and its View menu command.
#include <QFile>
#include <QImage>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "app/CommandRules.h"
#include "app/ui/CMainFrame.h"
#include "monitor/MonitorRecord.h"
#include "signals/ui/SignalPlotView.h"
#include "signals/ui/SignalPlotWindow.h"
#include "tests/ui/support/ProgramHarness.h"
#include "tests/ui/support/ShellContextRig.h"

namespace orvane::ui {
namespace {

const std::string kDemoDescription = ORVANE_SOURCE_DIR "/emulator/demo-network.ldf";
constexpr std::uint8_t kDoorLeft = 0x11;
constexpr std::uint8_t kClimate = 0x23;
constexpr int kPairs = 50;

monitor::MonitorRecord Frame(std::int32_t time, std::uint8_t identifier, std::uint8_t d0,
                             std::uint8_t d1) {
  monitor::MonitorRecord record{};
  record.time = time;
  record.kind = monitor::kKindEnd;
  record.ident = identifier;
  record.data[0] = d0;
  record.data[1] = d1;
  return record;
}

// Door frame n: window position raw 5n (0.4 % each), lock state n % 4 in
// bits 9-10. Climate frame n, 10 ms later: cabin raw 100 + n, outside 80.
monitor::MonitorRecord DoorFrame(int n) {
  return Frame(1000 + 20 * n, kDoorLeft, static_cast<std::uint8_t>(5 * n),
               static_cast<std::uint8_t>((n % 4) << 1));
}
monitor::MonitorRecord ClimateFrame(int n) {
  return Frame(1010 + 20 * n, kClimate, static_cast<std::uint8_t>(100 + n), 80);
}

void Append(monitor::MonitorRing& ring, const std::vector<monitor::MonitorRecord>& records) {
  monitor::RingSnapshot at = ring.Snapshot();
  for (const monitor::MonitorRecord& record : records) {
    ring.MutableRecords()[at.writeIndex] = record;
    at.writeIndex = (at.writeIndex + 1) % ring.Capacity();
  }
  ring.Publish(at.writeIndex, at.wrapped);
}

// The frame and entry of signal `name`, selected.
void Select(const signals::LinDescription& description, settings::SettingsRecord& settings,
            std::string_view name) {
  signals::SignalSelection selection = SelectionOf(settings);
  for (std::size_t frame = 0; frame < description.frames.size(); ++frame) {
    const auto& entries = description.frames[frame].entries;
    for (std::size_t entry = 0; entry < entries.size(); ++entry) {
      if (description.signals[entries[entry].signal].name != name) continue;
      selection.SelectFrame(static_cast<unsigned>(frame), true);
      selection.SelectEntry(static_cast<unsigned>(frame), static_cast<unsigned>(entry), true);
    }
  }
}

int PixelsOf(const QImage& image, QColor colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour ? 1 : 0;
  }
  return count;
}

}  // namespace

class SignalPlotTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void plotsTheBufferFollowsTheCursorAndExports();
  void viewMenuOpensThePlotOnceADescriptionIsLoaded();
};

void SignalPlotTest::plotsTheBufferFollowsTheCursorAndExports() {
  testing::ShellContextRig rig;
  QVERIFY(rig.description.Reload(kDemoDescription));
  const signals::LinDescription& description = *rig.description.Description();
  settings::SettingsRecord& settings = rig.configuration->Settings;
  for (const char* name : {"DlWindowPosition", "DlLockState", "ClCabinTemp", "ClOutsideTemp"}) {
    Select(description, settings, name);
  }
  std::vector<monitor::MonitorRecord> records;
  for (int n = 0; n < kPairs; ++n) {
    records.push_back(DoorFrame(n));
    records.push_back(ClimateFrame(n));
  }
  // Neither a frame with an error nor a header without response is a value.
  monitor::MonitorRecord broken = Frame(1003, kDoorLeft, 0xFA, 0);
  broken.error = monitor::kErrorChecksum;
  monitor::MonitorRecord header = Frame(1004, kDoorLeft, 0xFA, 0);
  header.kind = monitor::kKindRequest;
  records.insert(records.begin() + 1, {broken, header});
  Append(rig.monitor->ViewBuffer, records);

  SignalPlotView view(rig.context);
  view.resize(820, 520);
  view.show();
  // The rig loads no configuration: the description path is empty.
  QCOMPARE(view.windowTitle(),
           QStringLiteral("Signal Plot Window - (Each Mode : Order of ID) - []"));
  const auto& series = view.series()->series();
  QCOMPARE(series.size(), std::size_t{4});
  for (const auto& one : series) QCOMPARE(one.size(), std::size_t{kPairs});
  QCOMPARE(series[0].name, std::string("DlWindowPosition"));
  QCOMPARE(series[0].values[7], static_cast<float>(35 * 0.4));
  QCOMPARE(series[2].values[7], static_cast<float>(107 * 0.5 - 40));
  // Stopped: the whole buffer.
  QCOMPARE(view.range().begin, std::int64_t{1000});
  QCOMPARE(view.range().end, std::int64_t{1010 + 20 * (kPairs - 1) + 1});

  view.SetCursor(1205);
  QCOMPARE(view.Readout(0), QStringLiteral("DlWindowPosition: 20 (%) @ 1.200 s"));
  QCOMPARE(view.Readout(1), QStringLiteral("DlLockState: moving @ 1.200 s"));
  QCOMPARE(view.Readout(2), QStringLiteral("ClCabinTemp: 14.5 (degC) @ 1.190 s"));
  view.SetCursor(999);
  QCOMPARE(view.Readout(3), QStringLiteral("ClOutsideTemp: -"));

  // A click pins the cursor where it was; the mouse moving on leaves it.
  const QPoint click(400, 200);
  QTest::mouseClick(&view, Qt::LeftButton, {}, click);
  const std::int64_t pinned = view.TimeAt(click.x());
  QCOMPARE(view.cursor(), std::optional<std::int64_t>(pinned));
  QVERIFY(pinned > 1000 && pinned < 1991);
  QTest::mouseMove(&view, QPoint(600, 200));
  QCOMPARE(view.cursor(), std::optional<std::int64_t>(pinned));

  // Zoom in around the cursor, pan, back to the start and the end.
  QTest::keyClick(&view, Qt::Key_Plus);
  QCOMPARE(view.range().end - view.range().begin, std::int64_t{793});  // 991 * 0.8
  QVERIFY(view.range().begin <= pinned && pinned < view.range().end);
  const std::int64_t begin = view.range().begin;
  QTest::keyClick(&view, Qt::Key_Right);
  QCOMPARE(view.range().begin, begin + 79);
  QTest::keyClick(&view, Qt::Key_Home);
  QCOMPARE(view.range().begin, std::int64_t{1000});
  QTest::keyClick(&view, Qt::Key_End);
  QCOMPARE(view.range().end, std::int64_t{1991});
  QTest::keyClick(&view, Qt::Key_Minus);
  QCOMPARE(view.range().end - view.range().begin, std::int64_t{991});

  // Exports of the view as drawn: the PNG has the curves' colours, the SVG
  // their paths and the legend.
  QTemporaryDir folder;
  const std::string png = folder.filePath(QStringLiteral("plot.png")).toStdString();
  const std::string svg = folder.filePath(QStringLiteral("plot.svg")).toStdString();
  QVERIFY(view.ExportPng(png));
  const QImage image(QString::fromStdString(png));
  QCOMPARE(image.size(), QSize(820, 520));
  for (std::size_t n = 0; n < 4; ++n) {
    // More than the 10 x 10 legend swatch: the curve is drawn.
    QVERIFY2(PixelsOf(image, SignalPlotPainter::ColourOf(n)) > 300, qPrintable(QString::number(n)));
  }
  rig.windows.chosenFile = svg;
  view.ChooseAndExportSvg();
  QCOMPARE(rig.windows.fileDialogs.size(), std::size_t{1});
  QFile file(QString::fromStdString(svg));
  QVERIFY(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  QVERIFY(text.startsWith("<?xml"));
  QVERIFY(text.contains("<path") || text.contains("<polyline"));
  QVERIFY(text.contains("DlWindowPosition"));
  QVERIFY(!view.ExportPng(folder.filePath(QStringLiteral("missing/plot.png")).toStdString()));

  // Live: the range follows the newest time with its span; a tick decodes
  // the new records only.
  rig.state.AcquisitionRunning = 1;
  Append(rig.monitor->ViewBuffer, {DoorFrame(kPairs), DoorFrame(kPairs + 1)});
  view.OnRefreshTimer();
  QCOMPARE(series[0].size(), std::size_t{kPairs + 2});
  QCOMPARE(series[2].size(), std::size_t{kPairs});
  QVERIFY(view.following());
  QCOMPARE(view.range().end, std::int64_t{1000 + 20 * (kPairs + 1) + 1});
  QCOMPARE(view.range().end - view.range().begin, std::int64_t{991});
  QTest::keyClick(&view, Qt::Key_Left);
  QVERIFY(!view.following());
  QTest::keyClick(&view, Qt::Key_End);
  QVERIFY(view.following());

  // A new run empties the ring: the series start again.
  rig.monitor->ViewBuffer.Reset();
  Append(rig.monitor->ViewBuffer, {DoorFrame(0)});
  view.OnRefreshTimer();
  QCOMPARE(series[0].size(), std::size_t{1});
  QCOMPARE(series[2].size(), std::size_t{0});
}

void SignalPlotTest::viewMenuOpensThePlotOnceADescriptionIsLoaded() {
  orvane::testing::ProgramHarness harness;
  QVERIFY(!harness.Start().has_value());
  CMainFrame& frame = harness.frame();
  app::AppState& state = harness.app().state();
  QAction* action = frame.ActionOf(app::MainCommand::kSignalPlotWindow);
  QVERIFY(action != nullptr);
  QCOMPARE(action->text(), QStringLiteral("Signal &Plot Window..."));
  frame.Execute(app::MainCommand::kSignalPlotWindow);
  QVERIFY(!state.WindowOpen[app::Window::kSignalPlot]);

  harness.chosenFile = kDemoDescription;
  frame.Execute(app::MainCommand::kLoadLinDescription);
  frame.Execute(app::MainCommand::kSignalPlotWindow);
  QVERIFY(state.WindowOpen[app::Window::kSignalPlot]);
  auto* window = qobject_cast<SignalPlotWindow*>(
      harness.SubWindowTitled(QStringLiteral("Signal Plot Window - (Each Mode : Order of ID)")));
  QVERIFY(window != nullptr);
  QVERIFY(window->view().series()->series().empty());
  frame.Execute(app::MainCommand::kSignalPlotWindow);
  QVERIFY(orvane::testing::ProgramHarness::WaitFor(
      [&] { return !state.WindowOpen[app::Window::kSignalPlot]; }, 2000));
  state.ShutdownState = app::kShutdownForced;
  frame.close();
}

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::SignalPlotTest)
#include "SignalPlotTest.moc"
