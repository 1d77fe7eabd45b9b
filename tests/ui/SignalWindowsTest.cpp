// The Signal select and Signal monitor windows: in the whole program on the
// virtual analyzer's demo network (ticking boxes, the decoded values of the
// newest frames, the sort orders, a configuration round trip, the release of
// the description) and alone over a description released behind their back.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeWidget>
#include <QtTest>
#include <array>
#include <cstring>
#include <filesystem>

#include "app/AppState.h"
#include "app/CommandRules.h"
#include "app/LoadedDescription.h"
#include "app/ui/CMainFrame.h"
#include "monitor/MonitorRecord.h"
#include "signals/SignalMonitorModel.h"
#include "signals/ui/SignalSources.h"
#include "signals/ui/cls_psig_frm.h"
#include "signals/ui/cls_psig_mon.h"
#include "signals/ui/cls_psig_mvw.h"
#include "signals/ui/cls_psig_viw.h"
#include "tests/ui/support/ProgramHarness.h"
#include "tests/ui/support/ShellContextRig.h"

using orvane::app::MainCommand;
using orvane::app::Window;
using orvane::testing::ProgramHarness;
namespace signals = orvane::signals;
namespace ui = orvane::ui;

namespace {

const std::string kDemoDescription = ORVANE_SOURCE_DIR "/emulator/demo-network.ldf";

// Clicks the check box of `item` as a user would and lets the tree take
// the click.
void ClickBox(QTreeWidget& tree, QTreeWidgetItem* item) {
  QVERIFY(item != nullptr);
  tree.scrollToItem(item);
  QStyleOptionViewItem option;
  option.initFrom(&tree);
  option.rect = tree.visualItemRect(item);
  option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
  option.text = item->text(0);
  const QRect box =
      tree.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &tree);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, box.center());
  QCoreApplication::processEvents();
}

QTreeWidgetItem* FrameItem(QTreeWidget& tree, const QString& name) {
  const QList<QTreeWidgetItem*> found = tree.findItems(name, Qt::MatchExactly);
  return found.size() == 1 ? found.front() : nullptr;
}

QTreeWidgetItem* SignalItem(QTreeWidget& tree, const QString& frame, const QString& name) {
  QTreeWidgetItem* frameItem = FrameItem(tree, frame);
  if (frameItem == nullptr) return nullptr;
  frameItem->setExpanded(true);
  for (int child = 0; child < frameItem->childCount(); ++child) {
    if (frameItem->child(child)->text(0) == name) return frameItem->child(child);
  }
  return nullptr;
}

QStringList TopLevelTexts(const QTreeWidget& tree) {
  QStringList texts;
  for (int n = 0; n < tree.topLevelItemCount(); ++n) texts << tree.topLevelItem(n)->text(0);
  return texts;
}

QStringList ChildTexts(const QTreeWidgetItem& item) {
  QStringList texts;
  for (int n = 0; n < item.childCount(); ++n) texts << item.child(n)->text(0);
  return texts;
}

// The row of the signal `name` in the description: its frame and entry.
signals::SignalRow RowOf(const signals::LinDescription& description, const QString& name) {
  for (std::size_t frame = 0; frame < description.frames.size(); ++frame) {
    const auto& entries = description.frames[frame].entries;
    for (std::size_t entry = 0; entry < entries.size(); ++entry) {
      if (QString::fromStdString(description.signals[entries[entry].signal].name) == name) {
        return {static_cast<std::uint8_t>(frame), static_cast<std::uint8_t>(entry)};
      }
    }
  }
  return {0xFF, 0xFF};
}

// The newest complete frame of `identifier` in the monitor buffer and how
// many complete frames of it the buffer holds.
struct NewestFrame {
  std::array<std::uint8_t, signals::kDataBytes> data{};
  std::uint32_t count = 0;
};

NewestFrame NewestFrameOf(const orvane::monitor::MonitorState& monitor, int identifier) {
  NewestFrame newest;
  const auto snapshot = monitor.MonitorBuffer.Snapshot();
  const auto records = monitor.MonitorBuffer.Records();
  for (std::uint32_t position = 0; position < snapshot.Count(); ++position) {
    const auto& record = records[snapshot.IndexOf(position)];
    if (record.kind != orvane::monitor::kKindEnd || record.Identifier() != identifier) continue;
    std::copy(std::begin(record.data), std::end(record.data), newest.data.begin());
    ++newest.count;
  }
  return newest;
}

QStringList Column(const QTreeWidget& list, int column) {
  QStringList texts;
  for (int n = 0; n < list.topLevelItemCount(); ++n) texts << list.topLevelItem(n)->text(column);
  return texts;
}

// Each row of the list shows what the core makes of `frameOf(identifier)`.
template <class FrameSource>
void CompareRows(const QTreeWidget& list, const signals::LinDescription& description,
                 FrameSource frameOf) {
  for (int n = 0; n < list.topLevelItemCount(); ++n) {
    const QTreeWidgetItem* item = list.topLevelItem(n);
    const signals::SignalRow row = RowOf(description, item->text(0));
    QVERIFY(row.frame < description.frames.size());
    const NewestFrame frame = frameOf(description.frames[row.frame].identifier);
    const signals::SignalRowText expected =
        signals::FillSignalRow(description, row, frame.data, frame.count);
    QCOMPARE(item->text(1), QString::fromStdString(expected.value));
    QCOMPARE(item->text(2), QString::fromStdString(expected.encode));
    QCOMPARE(item->text(3), QString::number(frame.count));
  }
}

}  // namespace

class SignalWindowsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void ticksFollowTheClickRulesAndTheMonitorDecodesTheNewestFrames();
  void selectionSurvivesAConfigurationAndReleaseEmptiesThenClosesTheWindows();
  void windowsFollowADescriptionReleasedWithoutRefresh();
};

void SignalWindowsTest::ticksFollowTheClickRulesAndTheMonitorDecodesTheNewestFrames() {
  ProgramHarness harness;
  QVERIFY(!harness.Start().has_value());
  auto& frame = harness.frame();
  auto& state = harness.app().state();
  auto& settings = harness.app().configuration().Settings;
  orvane::app::LoadedDescription demo;
  QVERIFY(demo.Reload(kDemoDescription));
  const signals::LinDescription& description = *demo.Description();

  // Without a description neither window opens.
  frame.Execute(MainCommand::kSignalSelectWindow);
  frame.Execute(MainCommand::kSignalMonitorWindow);
  QVERIFY(!state.WindowOpen[Window::kSignalSelect] && !state.WindowOpen[Window::kSignalMonitor]);

  harness.boxes.clear();
  harness.chosenFile = kDemoDescription;
  frame.Execute(MainCommand::kLoadLinDescription);
  QVERIFY(harness.boxes.empty());
  frame.Execute(MainCommand::kSignalSelectWindow);
  frame.Execute(MainCommand::kSignalMonitorWindow);
  auto* select = qobject_cast<ui::cls_psig_frm*>(
      harness.SubWindowTitled(QStringLiteral("Signal Select Window")));
  auto* monitor = qobject_cast<ui::cls_psig_mon*>(
      harness.SubWindowTitled(QStringLiteral("Signal Monitor Window")));
  QVERIFY(select != nullptr && monitor != nullptr);
  const QString path = QString::fromStdString(kDemoDescription);
  QCOMPARE(select->windowTitle(),
           "Signal Select Window - (Each Mode : Order of ID) - [" + path + "]");
  QCOMPARE(monitor->windowTitle(),
           "Signal Monitor Window - (Each Mode : Order of ID) - [" + path + "]");

  QTreeWidget& tree = select->view().tree();
  ui::cls_psig_mvw& list = monitor->view();
  QCOMPARE(TopLevelTexts(tree),
           QStringList({"GwCommand", "DoorLeftStatus", "DoorRightStatus", "GwClimateRequest",
                        "ClimateStatus", "RainLightStatus"}));
  QCOMPARE(ChildTexts(*tree.topLevelItem(1)),
           QStringList({"DlWindowPosition", "DlDoorOpen", "DlLockState", "DlAliveCounter"}));
  QCOMPARE(tree.currentItem(), tree.topLevelItem(0));
  QCOMPARE(list.topLevelItemCount(), 0);

  // A frame's box selects all its signals; clicked again it clears them.
  QTreeWidgetItem* climate = FrameItem(tree, "ClimateStatus");
  ClickBox(tree, climate);
  QCOMPARE(climate->checkState(0), Qt::Checked);
  for (int n = 0; n < climate->childCount(); ++n)
    QCOMPARE(climate->child(n)->checkState(0), Qt::Checked);
  QCOMPARE(tree.currentItem(), climate);
  signals::SignalSelection selection = ui::SelectionOf(settings);
  const unsigned climateFrame = RowOf(description, "ClCabinTemp").frame;
  QVERIFY(selection.FrameSelected(climateFrame));
  for (unsigned entry = 0; entry < 5; ++entry)
    QVERIFY(selection.EntrySelected(climateFrame, entry));
  ClickBox(tree, climate);
  QCOMPARE(climate->checkState(0), Qt::Unchecked);
  QCOMPARE(climate->child(2)->checkState(0), Qt::Unchecked);
  QVERIFY(!selection.FrameSelected(climateFrame) && !selection.EntrySelected(climateFrame, 2));

  // One signal: the frame is partial; all of them: full.
  QTreeWidgetItem* doorLeft = FrameItem(tree, "DoorLeftStatus");
  ClickBox(tree, SignalItem(tree, "DoorLeftStatus", "DlLockState"));
  QCOMPARE(doorLeft->checkState(0), Qt::PartiallyChecked);
  QCOMPARE(tree.currentItem(), doorLeft->child(2));
  for (const char* name : {"DlWindowPosition", "DlDoorOpen", "DlAliveCounter"}) {
    ClickBox(tree, SignalItem(tree, "DoorLeftStatus", name));
  }
  QCOMPARE(doorLeft->checkState(0), Qt::Checked);
  // A partial frame's box selects the rest.
  QTreeWidgetItem* rain = FrameItem(tree, "RainLightStatus");
  ClickBox(tree, SignalItem(tree, "RainLightStatus", "RlLightLevel"));
  QCOMPARE(rain->checkState(0), Qt::PartiallyChecked);
  ClickBox(tree, rain);
  QCOMPARE(rain->checkState(0), Qt::Checked);
  QCOMPARE(tree.currentItem(), rain);
  ClickBox(tree, SignalItem(tree, "RainLightStatus", "RlTunnel"));
  QCOMPARE(rain->checkState(0), Qt::PartiallyChecked);
  ClickBox(tree, FrameItem(tree, "GwClimateRequest"));
  // The only ticked signal of a frame unticked again: the frame is empty.
  QTreeWidgetItem* gateway = FrameItem(tree, "GwCommand");
  ClickBox(tree, SignalItem(tree, "GwCommand", "GwMirrorFold"));
  ClickBox(tree, SignalItem(tree, "GwCommand", "GwMirrorFold"));
  QCOMPARE(gateway->checkState(0), Qt::Unchecked);
  QVERIFY(!selection.FrameSelected(RowOf(description, "GwMirrorFold").frame));

  // The list follows at its next tick: frames by identifier, signals in
  // entry order; nothing received yet, so initial values and count 0.
  const QStringList byId = {"DlWindowPosition", "DlDoorOpen",      "DlLockState",
                            "DlAliveCounter",   "GwTargetTemp",    "GwFanRequest",
                            "GwAcRequest",      "RlRainIntensity", "RlLightLevel",
                            "RlWiperRequest",   "RlAliveCounter",  "RlSolarLoad"};
  QTRY_COMPARE_WITH_TIMEOUT(Column(list, 0), byId, 1000);
  CompareRows(list, description, [](int) { return NewestFrame{}; });
  QCOMPARE(Column(list, 3), QStringList(byId.size(), "0"));

  // A signal unticked and another ticked between two ticks: same number of
  // rows, yet the list follows.
  const signals::SignalRow wiper = RowOf(description, "RlWiperRequest");
  const signals::SignalRow tunnel = RowOf(description, "RlTunnel");
  selection.SelectEntry(wiper.frame, wiper.entry, false);
  selection.SelectEntry(tunnel.frame, tunnel.entry, true);
  list.OnRefreshTimer();
  QCOMPARE(Column(list, 0)[9], QStringLiteral("RlTunnel"));
  selection.SelectEntry(tunnel.frame, tunnel.entry, false);
  selection.SelectEntry(wiper.frame, wiper.entry, true);
  list.OnRefreshTimer();
  QCOMPARE(Column(list, 0), byId);

  // Order of Node: the master's frames first, then each slave's.
  frame.Execute(MainCommand::kEachModeOrderOfNode);
  QCOMPARE(select->windowTitle(),
           "Signal Select Window - (Each Mode : Order of Node) - [" + path + "]");
  QCOMPARE(monitor->windowTitle(),
           "Signal Monitor Window - (Each Mode : Order of Node) - [" + path + "]");
  QCOMPARE(TopLevelTexts(tree),
           QStringList({"GwCommand", "GwClimateRequest", "DoorLeftStatus", "DoorRightStatus",
                        "ClimateStatus", "RainLightStatus"}));
  QCOMPARE(FrameItem(tree, "GwClimateRequest")->checkState(0), Qt::Checked);
  QCOMPARE(FrameItem(tree, "RainLightStatus")->checkState(0), Qt::PartiallyChecked);
  const QStringList byNode = byId.mid(4, 3) + byId.mid(0, 4) + byId.mid(7);
  QCOMPARE(Column(list, 0), byNode);

  // About a second of traffic, then stopped: once the window has refreshed
  // after the stop, every value is the newest frame's as the core decodes it.
  auto& monitorState = harness.app().monitorState();
  frame.Execute(MainCommand::kStart);
  QVERIFY(state.Monitoring());
  QTRY_VERIFY_WITH_TIMEOUT(list.topLevelItem(0)->text(3) != "0", 2000);
  QTest::qWait(800);
  frame.Execute(MainCommand::kStop);
  QVERIFY(ProgramHarness::WaitFor([&] { return state.AcquisitionRunning == 0; }, 4000));
  QTest::qWait(6 * ui::cls_psig_mvw::kRefreshPeriod.count());
  CompareRows(list, description,
              [&](int identifier) { return NewestFrameOf(monitorState, identifier); });
  for (const QString& count : Column(list, 3)) QVERIFY(count.toUInt() >= 5);
  QVERIFY(harness.boxes.empty());
  state.ShutdownState = orvane::app::kShutdownForced;
  frame.close();
}

void SignalWindowsTest::selectionSurvivesAConfigurationAndReleaseEmptiesThenClosesTheWindows() {
  ProgramHarness harness;
  QVERIFY(!harness.Start().has_value());
  harness.boxes.clear();
  auto& frame = harness.frame();
  auto& state = harness.app().state();
  auto& settings = harness.app().configuration().Settings;
  const std::string plain = (harness.programFolder() / "plain.cfg").string();
  const std::string withSignals = (harness.programFolder() / "signals.cfg").string();
  harness.chosenFile = plain;
  frame.Execute(MainCommand::kSaveConfigurationAs);

  harness.chosenFile = kDemoDescription;
  frame.Execute(MainCommand::kLoadLinDescription);
  frame.Execute(MainCommand::kSignalSelectWindow);
  frame.Execute(MainCommand::kSignalMonitorWindow);
  auto* select = qobject_cast<ui::cls_psig_frm*>(
      harness.SubWindowTitled(QStringLiteral("Signal Select Window")));
  auto* monitor = qobject_cast<ui::cls_psig_mon*>(
      harness.SubWindowTitled(QStringLiteral("Signal Monitor Window")));
  QVERIFY(select != nullptr && monitor != nullptr);
  QTreeWidget& tree = select->view().tree();
  ClickBox(tree, FrameItem(tree, "GwCommand"));
  ClickBox(tree, SignalItem(tree, "ClimateStatus", "ClOutsideTemp"));
  const orvane::settings::SignalSelection chosen = settings.Selection;
  harness.chosenFile = withSignals;
  frame.Execute(MainCommand::kSaveConfigurationAs);

  ClickBox(tree, FrameItem(tree, "GwCommand"));
  QVERIFY(std::memcmp(&chosen, &settings.Selection, sizeof chosen) != 0);
  harness.chosenFile = withSignals;
  frame.Execute(MainCommand::kLoadConfiguration);
  QVERIFY(std::memcmp(&chosen, &settings.Selection, sizeof chosen) == 0);
  QCOMPARE(FrameItem(tree, "GwCommand")->checkState(0), Qt::Checked);
  QCOMPARE(FrameItem(tree, "ClimateStatus")->checkState(0), Qt::PartiallyChecked);
  QCOMPARE(SignalItem(tree, "ClimateStatus", "ClOutsideTemp")->checkState(0), Qt::Checked);
  QCOMPARE(Column(monitor->view(), 0),
           QStringList({"GwLockRequest", "GwMirrorFold", "GwAliveCounter", "GwIllumination",
                        "ClOutsideTemp"}));

  // A configuration without a description releases it: the open windows
  // empty and can no longer be opened.
  harness.chosenFile = plain;
  frame.Execute(MainCommand::kLoadConfiguration);
  QCOMPARE(tree.topLevelItemCount(), 0);
  QCOMPARE(monitor->view().topLevelItemCount(), 0);
  QVERIFY(state.WindowOpen[Window::kSignalSelect] && state.WindowOpen[Window::kSignalMonitor]);
  QVERIFY(!frame.ActionOf(MainCommand::kSignalSelectWindow)->isEnabled());
  QVERIFY(!frame.ActionOf(MainCommand::kSignalMonitorWindow)->isEnabled());
  // A description load that ends without one closes them.
  harness.chosenFile.reset();
  frame.Execute(MainCommand::kLoadLinDescription);
  QVERIFY(ProgramHarness::WaitFor(
      [&] {
        return !state.WindowOpen[Window::kSignalSelect] &&
               !state.WindowOpen[Window::kSignalMonitor];
      },
      2000));
  QVERIFY(harness.SubWindowTitled(QStringLiteral("Signal")) == nullptr);
  QVERIFY(harness.boxes.empty());
  state.ShutdownState = orvane::app::kShutdownForced;
  frame.close();
}

void SignalWindowsTest::windowsFollowADescriptionReleasedWithoutRefresh() {
  ui::testing::ShellContextRig rig;
  QVERIFY(rig.description.Reload(kDemoDescription));
  const signals::LinDescription& description = *rig.description.Description();
  auto& settings = rig.configuration->Settings;
  signals::SignalSelection selection = ui::SelectionOf(settings);
  const signals::SignalRow light = RowOf(description, "RlLightLevel");
  selection.SelectFrame(light.frame, true);
  for (unsigned entry = 0; entry < description.frames[light.frame].entries.size(); ++entry) {
    selection.SelectEntry(light.frame, entry, true);
  }
  const ui::SignalSources sources = ui::SignalSourcesOf(rig.context);
  ui::cls_psig_viw select(sources);
  ui::cls_psig_mvw list(sources);
  list.resize(650, 320);
  list.show();
  QCOMPARE(list.topLevelItemCount(), 6);

  // While monitoring runs every tick shows the newest frame; after it has
  // stopped five more ticks do, and then the list stays as it is.
  auto& frames = rig.monitor->LastFrameTable;
  const std::uint8_t identifier = description.frames[light.frame].identifier;
  const auto store = [&](std::uint8_t level, std::uint32_t count) {
    NewestFrame frame{{0x05, level, 0x12, 0x02, 0x07, 0xC8, 0, 0}, count};
    orvane::monitor::MonitorRecord record = frames.records[identifier].Load();
    std::copy(frame.data.begin(), frame.data.end(), record.data);
    frames.records[identifier].Store(record);
    frames.counters[identifier] = count;
    return frame;
  };
  NewestFrame latest = store(0x34, 1);
  rig.state.AcquisitionRunning = 1;
  list.OnRefreshTimer();
  CompareRows(list, description, [&](int) { return latest; });
  rig.state.AcquisitionRunning = 0;
  latest = store(0xFF, 2);
  for (int tick = 0; tick < ui::cls_psig_mvw::kRefreshesAfterStop; ++tick) list.OnRefreshTimer();
  CompareRows(list, description, [&](int) { return latest; });
  const QStringList frozen = Column(list, 1);
  store(0x00, 3);
  list.OnRefreshTimer();
  QCOMPARE(Column(list, 1), frozen);
  QCOMPARE(Column(list, 3), QStringList(6, "2"));

  // Released without a refresh: the list empties at its next tick, and a
  // click that reaches the tree rebuilds it instead of changing anything.
  const orvane::settings::SignalSelection before = settings.Selection;
  rig.description.Release();
  list.OnRefreshTimer();
  QCOMPARE(list.topLevelItemCount(), 0);
  select.tree().topLevelItem(0)->setCheckState(0, Qt::Checked);
  QCoreApplication::processEvents();
  QCOMPARE(select.tree().topLevelItemCount(), 0);
  QVERIFY(std::memcmp(&before, &settings.Selection, sizeof before) == 0);
}

QTEST_MAIN(SignalWindowsTest)
#include "SignalWindowsTest.moc"
