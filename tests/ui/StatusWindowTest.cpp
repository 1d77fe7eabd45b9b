// The Status window: its frame, the form's texts after updates and timer
// ticks, the measured baud rate read from the virtual analyzer, and the
// colour of the mode status field.
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QtTest>
#include <array>

#include "tests/ui/support/ShellContextRig.h"
#include "views/ui/CStatusFView.h"
#include "views/ui/CStatusFrame.h"
#include "views/ui/StatusWindow.h"

namespace orvane::ui {
namespace {

monitor::MonitorBlockHeader Header(std::uint32_t packets, std::uint16_t loadTenths,
                                   std::uint8_t busStatus) {
  monitor::MonitorBlockHeader header{};
  header.packetCount = packets;
  header.busLoad = loadTenths;
  header.busStatus = busStatus;
  return header;
}

app::ViewUpdateCodes StatusCode(std::int32_t code) {
  app::ViewUpdateCodes codes;
  codes.Status = code;
  return codes;
}

}  // namespace

class StatusWindowTest : public QObject {
  Q_OBJECT

 private:
  QString Field(const CStatusFView& view, const char* name) {
    const auto* field = view.findChild<QLabel*>(QString::fromLatin1(name));
    return field != nullptr ? field->text() : QStringLiteral("<no field %1>").arg(name);
  }

  // The colour of the mode status field a few pixels inside its left edge,
  // clear of the frame line and of the centred text.
  QColor ModeColour(CStatusFView& view) {
    const auto* field = view.findChild<QLabel*>(QStringLiteral("modeStatus"));
    if (field == nullptr) return {};
    const QPoint inside = field->mapTo(&view, QPoint(4, field->height() / 2));
    return view.grab().toImage().pixelColor(inside);
  }

  // Monitoring as the run control leaves it after a successful start.
  void Start(testing::ShellContextRig& rig, CStatusFView& view) {
    rig.state.MonitorStopped = 0;
    rig.state.AcquisitionRunning = 1;
    view.OnViewUpdate(StatusCode(app::kUpdateMonitoringStarted));
  }
  void Stop(testing::ShellContextRig& rig, CStatusFView& view) {
    rig.state.MonitorStopped = 1;
    rig.state.AcquisitionRunning = 0;
    view.OnViewUpdate(StatusCode(app::kUpdateMonitoringStopped));
  }

 private Q_SLOTS:
  void formShowsTheFirstTextsInSixGroupBoxes() {
    testing::ShellContextRig rig;
    rig.configuration->Settings.LinRevision = 1;
    rig.configuration->Options.BaudRateCode = 13;
    CStatusFView view(rig.context);

    QStringList titles;
    for (const QGroupBox* box : view.findChildren<QGroupBox*>()) titles << box->title();
    QCOMPARE(titles, (QStringList{" LIN Revision ", " Mode Status ", " Bus Status ",
                                  " Total Packet Num ", " Bus Load ", " Baudrate "}));
    QCOMPARE(Field(view, "linRevision"), QStringLiteral("Rev. 2.0"));
    QCOMPARE(Field(view, "modeStatus"), QStringLiteral("Stop"));
    QCOMPARE(Field(view, "busStatus"), QStringLiteral("Measurement"));
    QCOMPARE(Field(view, "packetCount"), QStringLiteral("Packet Num"));
    QCOMPARE(Field(view, "busLoad"), QStringLiteral("Bus Load"));
    QCOMPARE(Field(view, "baudRate"), QStringLiteral("19200"));

    QStringList units;
    for (const QLabel* label : view.findChildren<QLabel*>()) {
      if (label->objectName().isEmpty()) units << label->text();
    }
    QCOMPARE(units, (QStringList{" [%/sec]", " [bps]"}));
  }

  void fieldsFollowTheRunAndRefreshOnceAfterTheStop() {
    testing::ShellContextRig rig;
    CStatusFView view(rig.context);
    rig.monitor->latestBlockHeader.Store(Header(40, 5, 0));
    view.OnRefreshTimer();  // stopped since the window opened: nothing to refresh
    QCOMPARE(Field(view, "packetCount"), QStringLiteral("Packet Num"));

    Start(rig, view);
    QCOMPARE(Field(view, "modeStatus"), QStringLiteral("Run"));
    rig.monitor->latestBlockHeader.Store(Header(1234, 1000, 3));
    view.OnRefreshTimer();
    QCOMPARE(Field(view, "packetCount"), QStringLiteral("1234"));
    QCOMPARE(Field(view, "busLoad"), QStringLiteral("100.0"));
    QCOMPARE(Field(view, "busStatus"), QStringLiteral("Error"));
    QCOMPARE(Field(view, "baudRate"), QStringLiteral("9600"));

    Stop(rig, view);
    QCOMPARE(Field(view, "modeStatus"), QStringLiteral("Stop"));
    rig.monitor->latestBlockHeader.Store(Header(1240, 12, 1));  // the drained block
    view.OnRefreshTimer();
    QCOMPARE(Field(view, "packetCount"), QStringLiteral("1240"));
    QCOMPARE(Field(view, "busLoad"), QStringLiteral("1.2"));
    QCOMPARE(Field(view, "busStatus"), QStringLiteral("Sleep"));

    rig.monitor->latestBlockHeader.Store(Header(0, 0, 0));
    view.OnRefreshTimer();
    view.OnRefreshTimer();
    QCOMPARE(Field(view, "packetCount"), QStringLiteral("1240"));
    QCOMPARE(Field(view, "busStatus"), QStringLiteral("Sleep"));
  }

  void updateCodesAreActedOnButNotReset() {
    testing::ShellContextRig rig;
    CStatusFView view(rig.context);
    rig.configuration->Options.BaudRateCode = 40;
    rig.state.ViewUpdateCode.Status = app::kUpdateSettings;
    view.OnViewUpdate(rig.state.ViewUpdateCode);
    QCOMPARE(Field(view, "baudRate"), QStringLiteral("ERROR"));
    QCOMPARE(rig.state.ViewUpdateCode.Status, app::kUpdateSettings);

    rig.configuration->Options.BaudRateCode = 0;
    view.OnViewUpdate(StatusCode(app::kUpdateMasterSetup));  // not the status window's
    QCOMPARE(Field(view, "baudRate"), QStringLiteral("ERROR"));
    app::ViewUpdateCodes others;
    others.Monitor = app::kUpdateSettings;
    view.OnViewUpdate(others);
    QCOMPARE(Field(view, "baudRate"), QStringLiteral("ERROR"));
  }

  void measurementModeShowsTheRateTheAnalyzerMeasured() {
    testing::ShellContextRig rig;
    QVERIFY(rig.opened);
    const std::array<std::uint8_t, 2> measured{0x00, 0x4B};  // 19200, low byte first
    QVERIFY(rig.map.Write(analyzer::reg::kMeasuredBaud, measured));
    rig.state.SimulationMode = app::kModeBaudrate;
    CStatusFView view(rig.context);

    Start(rig, view);
    view.OnRefreshTimer();
    QCOMPARE(Field(view, "packetCount"), QStringLiteral("---"));
    QCOMPARE(Field(view, "busLoad"), QStringLiteral("---"));
    QCOMPARE(Field(view, "busStatus"), QStringLiteral("Measurement"));
    QCOMPARE(Field(view, "baudRate"), QStringLiteral("19200"));

    view.OnViewUpdate(StatusCode(app::kUpdateSettings));  // keeps the measured rate
    QCOMPARE(Field(view, "baudRate"), QStringLiteral("19200"));

    rig.link.analyzer().Unplug();
    view.OnRefreshTimer();
    QCOMPARE(Field(view, "baudRate"), QStringLiteral("Error"));
    QVERIFY(rig.sink.Texts().empty());  // a failed read is only shown in the field
  }

  void theOneSecondTimerRefreshesByItself() {
    testing::ShellContextRig rig;
    CStatusFView view(rig.context);
    Start(rig, view);
    rig.monitor->latestBlockHeader.Store(Header(77, 250, 2));
    QTRY_COMPARE_WITH_TIMEOUT(Field(view, "packetCount"), QStringLiteral("77"), 3000);
    QCOMPARE(Field(view, "busLoad"), QStringLiteral("25.0"));
    QCOMPARE(Field(view, "busStatus"), QStringLiteral("Wakeup"));
  }

  void modeStatusIsRedWhileStoppedAndGreenWhileRunning() {
    testing::ShellContextRig rig;
    CStatusFView view(rig.context);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(ModeColour(view), QColor(255, 0, 0));
    Start(rig, view);
    QCOMPARE(ModeColour(view), QColor(0, 255, 0));
    Stop(rig, view);
    QCOMPARE(ModeColour(view), QColor(255, 0, 0));
  }

  void frameIsRegisteredCaptionedAndFitsItsForm() {
    testing::ShellContextRig rig;
    WindowRegistry registry;
    RegisterStatusWindow(registry);
    const WindowFamily* family = registry.Find(app::Window::kStatus);
    QVERIFY(family != nullptr);

    QMdiArea area;
    area.resize(1200, 900);
    area.show();
    auto* frame = qobject_cast<CStatusFrame*>(family->create(rig.services));
    QVERIFY(frame != nullptr);
    area.addSubWindow(frame);
    frame->show();

    QCOMPARE(frame->windowTitle(), QStringLiteral("Status Window"));
    QVERIFY(!frame->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(frame->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(frame->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QCOMPARE(frame->widget(), static_cast<QWidget*>(&frame->view()));
    QCOMPARE(frame->view().size(), frame->view().sizeHint());
    QCOMPARE(frame->size(), frame->sizeHint());

    delete frame;
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::StatusWindowTest)
#include "StatusWindowTest.moc"
