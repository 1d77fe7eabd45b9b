// The loaded LIN description: the Load LIN Description File command, the
// reload when a configuration is read, the node order the acquisition takes
// for the Each ID table, and its release at exit.
#include "app/DescriptionCommands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/ConfigurationCommands.h"
#include "app/ConfigurationFile.h"
#include "app/ExitCommands.h"
#include "settings/FixedText.h"
#include "tests/app/RelaxedOnlyLdf.h"
#include "tests/app/RunControlTestSupport.h"

namespace orvane::app {
namespace {

using testing::AppRig;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::ServedBlocks;

const std::string kDemoLdf = ORVANE_SOURCE_DIR "/emulator/demo-network.ldf";
constexpr char kLdfDialogTail[] =
    " (ldf) LIN description file (*.ldf)|*.ldf|| \"Select LIN description file ...\"";
// The demo network's frames in node order: the master's 0x05 and 0x20, then
// 0x11, 0x12, 0x23, 0x31; identifiers without a frame follow from slot 6 on.
constexpr int kDemoSlotOf0x05 = 0;
constexpr int kDemoSlotOf0x11 = 2;
constexpr int kDemoSlotOf0x10 = 21;

bool SelectionIsClear(const settings::SignalSelection& selection) {
  static const settings::SignalSelection kClear{};
  return std::memcmp(&selection, &kClear, sizeof kClear) == 0;
}

class DescriptionCommandsTest : public ::testing::Test {
 protected:
  settings::SettingsRecord& record() { return rig_.configuration->Settings; }
  std::string StoredPath() { return std::string(settings::FieldText(record().DescriptionPath)); }
  std::string PathIn(const std::string& name) const { return (rig_.folder / name).string(); }
  void SelectSomeSignals() {
    record().Selection.frameMask[0] = 0x5;
    record().Selection.signalMasks[2][0] = 0x3;
  }
  // A description whose slave carries the master's name.
  std::string BrokenLdf() {
    const std::string path = PathIn("broken.ldf");
    std::ofstream(path) << "LIN_description_file;\nNodes {\n  Master: Gw, 10 ms, 0.1 ms;\n"
                           "  Slaves: Gw;\n}\n";
    return path;
  }
  std::string RelaxedOnlyLdf() {
    const std::string path = PathIn("keepalive.ldf");
    std::ofstream(path) << testing::kRelaxedOnlyLdf;
    return path;
  }
  bool LoadDemo() {
    rig_.windows.chosenFile = kDemoLdf;
    return LoadLinDescriptionFile(rig_.context());
  }
  // A configuration file that refers to the description at `path` and sorts
  // the Each ID window by node, with some signals selected.
  std::string ConfigurationReferringTo(const std::string& path) {
    auto stored = std::make_unique<Configuration>();
    SetDefaults(*stored, rig_.folder.path().string());
    settings::CopyToField(path, stored->Settings.DescriptionPath);
    stored->Settings.DescriptionReference = 1;
    stored->Settings.Options.EachMode = 1;
    stored->Settings.Options.SortOrder = settings::kOrderOfNode;
    stored->Settings.Selection.frameMask[1] = 0x80;
    const std::string file = PathIn("refers.cfg");
    EXPECT_TRUE(WriteConfiguration(file, *stored).ok);
    return file;
  }

  AppRig rig_;
};

TEST_F(DescriptionCommandsTest, LoadedFileTakesPathAndReferenceAndClearsTheSelection) {
  SelectSomeSignals();
  ASSERT_TRUE(LoadDemo());

  EXPECT_THAT(rig_.windows.events,
              ElementsAre("open dialog " + rig_.folder.path().string() + kLdfDialogTail,
                          "wait cursor", "normal cursor", "signal windows"));
  EXPECT_THAT(rig_.sink.Texts(), IsEmpty());
  EXPECT_EQ(StoredPath(), kDemoLdf);
  EXPECT_EQ(record().DescriptionReference, 1u);
  EXPECT_TRUE(SelectionIsClear(record().Selection));
  ASSERT_NE(rig_.description.Description(), nullptr);
  EXPECT_EQ(rig_.description.Description()->frames.size(), 6u);
  EXPECT_EQ(rig_.description.NodeOrder()->SlotFor(0x11), kDemoSlotOf0x11);

  // The next dialog offers the loaded file.
  rig_.windows.chosenFile.reset();
  EXPECT_FALSE(LoadLinDescriptionFile(rig_.context()));
  EXPECT_EQ(rig_.windows.events.at(4), "open dialog " + kDemoLdf + kLdfDialogTail);
  EXPECT_TRUE(rig_.description.Loaded());
}

TEST_F(DescriptionCommandsTest, FileThatDoesNotLoadShowsItsMessageAndChangesNothing) {
  ASSERT_TRUE(LoadDemo());
  const signals::LinDescription* loaded = rig_.description.Description();
  SelectSomeSignals();
  rig_.windows.events.clear();

  for (const std::string& path : {BrokenLdf(), PathIn("missing.ldf")}) {
    rig_.windows.chosenFile = path;
    EXPECT_FALSE(LoadLinDescriptionFile(rig_.context()));
  }
  const std::vector<testing::Box> boxes = rig_.sink.Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption, "Q427-VXL View");
  EXPECT_EQ(boxes[0].icon, monitor::MessageIcon::kStop);
  EXPECT_EQ(boxes[0].text,
            "Failed to read a LIN description file.\n"
            "An error occurred in Node definition (Participating nodes).");
  EXPECT_EQ(boxes[1].caption, "Q427-VXL View");
  EXPECT_EQ(boxes[1].text, "Failed to read a LIN description file.");

  EXPECT_EQ(rig_.description.Description(), loaded);
  EXPECT_EQ(StoredPath(), kDemoLdf);
  EXPECT_EQ(record().DescriptionReference, 1u);
  EXPECT_EQ(record().Selection.frameMask[0], 0x5u);
  EXPECT_EQ(record().Selection.signalMasks[2][0], 0x3u);
  // The signal windows keep showing the description that is still loaded.
  EXPECT_EQ(rig_.windows.events.at(3), "signal windows");
  EXPECT_EQ(rig_.windows.events.back(), "signal windows");
}

TEST_F(DescriptionCommandsTest, WithoutADescriptionTheSignalWindowsClose) {
  rig_.state.WindowOpen[Window::kSignalSelect] = true;
  rig_.state.WindowOpen[Window::kSignalMonitor] = true;
  rig_.windows.chosenFile = BrokenLdf();
  EXPECT_FALSE(LoadLinDescriptionFile(rig_.context()));
  EXPECT_THAT(
      rig_.windows.events,
      ElementsAre("open dialog " + rig_.folder.path().string() + kLdfDialogTail, "wait cursor",
                  "normal cursor", "close SignalSelect", "close SignalMonitor"));
  EXPECT_FALSE(rig_.description.Loaded());
}

TEST_F(DescriptionCommandsTest, PathLongerThanTheSettingsRecordHoldsIsRefused) {
  SelectSomeSignals();
  rig_.state.WindowOpen[Window::kSignalSelect] = true;
  rig_.windows.chosenFile = PathIn(std::string(260, 'd') + ".ldf");

  EXPECT_FALSE(LoadLinDescriptionFile(rig_.context()));
  EXPECT_THAT(rig_.sink.Texts(), ElementsAre(std::string(kDescriptionPathTooLongText)));
  EXPECT_EQ(rig_.windows.events.at(1), "close SignalSelect");  // nothing was read
  EXPECT_FALSE(rig_.description.Loaded());
  EXPECT_EQ(StoredPath(), rig_.folder.path().string());
  EXPECT_EQ(record().Selection.frameMask[0], 0x5u);
}

TEST_F(DescriptionCommandsTest, ConfigurationLoadReloadsTheDescriptionItRefersTo) {
  ASSERT_TRUE(
      LoadConfigurationFrom(rig_.context(), rig_.description, ConfigurationReferringTo(kDemoLdf)));
  ASSERT_TRUE(rig_.description.Loaded());
  EXPECT_EQ(rig_.description.Description()->signals.size(), 26u);
  EXPECT_EQ(StoredPath(), kDemoLdf);
  EXPECT_EQ(record().DescriptionReference, 1u);
  EXPECT_EQ(record().Selection.frameMask[1], 0x80u);
  EXPECT_EQ(record().Options.SortOrder, settings::kOrderOfNode);
}

TEST_F(DescriptionCommandsTest, ConfigurationLoadDropsADescriptionThatIsGoneOrBroken) {
  ASSERT_TRUE(LoadDemo());
  ASSERT_TRUE(LoadConfigurationFrom(rig_.context(), rig_.description,
                                    ConfigurationReferringTo(PathIn("gone.ldf"))));
  EXPECT_FALSE(rig_.description.Loaded());
  EXPECT_EQ(StoredPath(), "");
  EXPECT_EQ(record().DescriptionReference, 0u);
  EXPECT_TRUE(SelectionIsClear(record().Selection));
  EXPECT_EQ(record().Options.SortOrder, settings::kOrderOfId);

  // A file that is there but does not parse keeps its path.
  ASSERT_TRUE(LoadDemo());
  const std::string broken = BrokenLdf();
  ASSERT_TRUE(
      LoadConfigurationFrom(rig_.context(), rig_.description, ConfigurationReferringTo(broken)));
  EXPECT_FALSE(rig_.description.Loaded());
  EXPECT_EQ(StoredPath(), broken);
  EXPECT_EQ(record().DescriptionReference, 0u);
  EXPECT_TRUE(SelectionIsClear(record().Selection));
  EXPECT_EQ(record().Options.SortOrder, settings::kOrderOfId);
  EXPECT_THAT(rig_.sink.Texts(), IsEmpty());  // the reload asks and reports nothing
}

TEST_F(DescriptionCommandsTest, ConfigurationLoadBringsARelaxedDescriptionBackRelaxed) {
  const std::string relaxedOnly = RelaxedOnlyLdf();
  ASSERT_TRUE(LoadConfigurationFrom(rig_.context(), rig_.description,
                                    ConfigurationReferringTo(relaxedOnly)));
  ASSERT_TRUE(rig_.description.Loaded());
  const signals::LinDescription& loaded = *rig_.description.Description();
  EXPECT_TRUE(loaded.loadedRelaxed);
  ASSERT_EQ(loaded.frames.size(), 1u);
  EXPECT_EQ(loaded.frames[0].identifier, 59);
  EXPECT_THAT(loaded.relaxations, ::testing::Not(IsEmpty()));
  EXPECT_EQ(StoredPath(), relaxedOnly);
  EXPECT_EQ(record().DescriptionReference, 1u);
  EXPECT_EQ(record().Selection.frameMask[1], 0x80u);
  EXPECT_THAT(rig_.sink.Texts(), IsEmpty());

  // A description the strict rules pass is loaded strictly.
  ASSERT_TRUE(
      LoadConfigurationFrom(rig_.context(), rig_.description, ConfigurationReferringTo(kDemoLdf)));
  ASSERT_TRUE(rig_.description.Loaded());
  EXPECT_FALSE(rig_.description.Description()->loadedRelaxed);
  EXPECT_THAT(rig_.description.Description()->relaxations, IsEmpty());
}

TEST_F(DescriptionCommandsTest, AcquisitionTakesTheNodeOrderOnlyForOrderOfNodeWithADescription) {
  record().Options.SortOrder = settings::kOrderOfNode;
  EXPECT_EQ(MakeAcquisitionSettings(rig_.context()).nodeOrder, nullptr);

  ASSERT_TRUE(LoadDemo());
  const analyzer::AcquisitionSettings byNode = MakeAcquisitionSettings(rig_.context());
  EXPECT_EQ(byNode.sortOrder, 1);
  ASSERT_NE(byNode.nodeOrder, nullptr);
  EXPECT_EQ(byNode.nodeOrder->SlotFor(0x05), kDemoSlotOf0x05);
  EXPECT_EQ(byNode.nodeOrder->SlotFor(0x11), kDemoSlotOf0x11);
  EXPECT_EQ(byNode.nodeOrder->SlotFor(0x10), kDemoSlotOf0x10);

  record().Options.SortOrder = settings::kOrderOfId;
  EXPECT_EQ(MakeAcquisitionSettings(rig_.context()).nodeOrder, nullptr);
}

TEST_F(DescriptionCommandsTest, RunKeepsTheEachIdTableInNodeOrderAlsoAfterARelease) {
  ASSERT_TRUE(LoadDemo());
  record().Options.SortOrder = settings::kOrderOfNode;
  ServedBlocks blocks(rig_);  // frames of identifier 0x10
  blocks.records = 2;
  ASSERT_TRUE(rig_.run().Start());
  blocks.WaitForMore();

  monitor::EachIdSlots& table = rig_.monitor->EachIdTable;
  EXPECT_TRUE(table.seen[kDemoSlotOf0x10].load());
  EXPECT_FALSE(table.seen[0x10].load());

  // A forced exit while the run still drains: the thread keeps the node
  // order it started with.
  const std::weak_ptr<const monitor::IdentifierSlotMap> runOrder = rig_.description.NodeOrder();
  ShutDownMainFrame(rig_.context(), rig_.description);
  EXPECT_FALSE(rig_.description.Loaded());
  EXPECT_FALSE(runOrder.expired());
  table.seen[kDemoSlotOf0x10].store(false);
  blocks.WaitForMore();
  EXPECT_TRUE(table.seen[kDemoSlotOf0x10].load());
  EXPECT_FALSE(table.seen[0x10].load());

  blocks.records = 0;
  rig_.run().Stop();
  EXPECT_GT(rig_.DrainStop(), 0);
  // Records are read once the thread has ended: views tolerate records
  // being overwritten while read, a test's exact comparison does not.
  ASSERT_TRUE(rig_.WaitUntil([this] { return !rig_.run().acquisition().Running(); }));
  EXPECT_EQ(table.records[kDemoSlotOf0x10].Load().ident, 0x10);
}

}  // namespace
}  // namespace orvane::app
