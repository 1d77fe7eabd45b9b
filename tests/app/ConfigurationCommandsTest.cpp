// Load, save, save as and the write at exit, with their dialogs, messages
// and effects on ConfigPath, the titles and the analyzer.
#include "app/ConfigurationCommands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "analyzer/RegisterMap.h"
#include "app/ConfigurationFile.h"
#include "app/ConfigurationLayout.h"
#include "app/ExitCommands.h"
#include "tests/app/ConfigurationTestSupport.h"
#include "tests/app/RunControlTestSupport.h"

namespace orvane::app {
namespace {

namespace fs = std::filesystem;
using testing::AppRig;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kTitle[] = "main title Q427-VXL View Ver.3.11 - [";
constexpr char kCfgDialog[] = " (cfg) Configuration File(*.cfg)|*.cfg|All(*.*)|*.*||";

// Where a file stores the enable byte of master schedule `schedule`.
constexpr std::size_t ScheduleEnableOffset(std::size_t schedule) {
  return 6241 + schedule * sizeof(simulation::MasterSchedule);
}

class ConfigurationCommandsTest : public ::testing::Test {
 protected:
  std::string PathIn(const std::string& name) const { return (rig_.folder / name).string(); }
  // A configuration file whose schedule S2 is enabled and whose logging is on.
  std::string StoredFile() {
    auto stored = std::make_unique<Configuration>();
    SetDefaults(*stored, rig_.folder.path().string());
    stored->Schedules[1].enable = 1;
    stored->Options.LoggingEnabled = 1;
    const std::string path = PathIn("stored.cfg");
    EXPECT_TRUE(WriteConfiguration(path, *stored).ok);
    return path;
  }

  AppRig rig_;
  testing::FakeDescriptionLoader descriptions_;
};

TEST_F(ConfigurationCommandsTest, LoadTakesTheFileAndSendsItsSettingsToTheAnalyzer) {
  const std::string path = StoredFile();
  rig_.state.WindowOpen[Window::kMasterMonitor] = true;
  rig_.windows.chosenFile = path;
  LoadConfiguration(rig_.context(), descriptions_);

  EXPECT_EQ(rig_.state.ConfigPath, path);
  EXPECT_EQ(rig_.configuration->Schedules[1].enable, 1);
  EXPECT_EQ(rig_.configuration->Options.LoggingEnabled, 0u);  // every load switches it off
  EXPECT_THAT(rig_.windows.events,
              ElementsAre(std::string("open dialog *.cfg") + kCfgDialog, "signal windows",
                          "refresh monitor=0 status=1 master=2 slave=0", kTitle + path + "]"));
  EXPECT_EQ(rig_.tap.WritesTo(analyzer::reg::kFrameTiming).size(), 2u);  // the rig's and the load's
  EXPECT_EQ(rig_.tap.WritesTo(analyzer::reg::kLengthTable).size(), 2u);
  EXPECT_THAT(rig_.sink.Texts(), IsEmpty());

  // The next dialog offers the current file.
  rig_.windows.chosenFile.reset();
  LoadConfiguration(rig_.context(), descriptions_);
  EXPECT_EQ(rig_.windows.events.back(), "open dialog " + path + kCfgDialog);
}

TEST_F(ConfigurationCommandsTest, UnreadableFileShows108AndChangesNothing) {
  rig_.state.ConfigPath = PathIn("current.cfg");
  const std::string bad = PathIn("short.cfg");
  testing::WriteBytes(bad, std::vector<std::uint8_t>(100, 0));
  for (const std::string& path : {PathIn("missing.cfg"), bad}) {
    EXPECT_FALSE(LoadConfigurationFrom(rig_.context(), descriptions_, path));
  }
  EXPECT_THAT(rig_.sink.Texts(),
              ElementsAre("Configuration file read error.", "Configuration file read error."));
  EXPECT_EQ(rig_.state.ConfigPath, PathIn("current.cfg"));
  EXPECT_THAT(rig_.windows.events, IsEmpty());
}

TEST_F(ConfigurationCommandsTest, LoadWhoseSettingsCannotBeSentShows102ButAdoptsTheFile) {
  const std::string path = StoredFile();
  rig_.tap.FailMemoryWrite(analyzer::reg::kLengthTable);
  EXPECT_TRUE(LoadConfigurationFrom(rig_.context(), descriptions_, path));
  EXPECT_THAT(rig_.sink.Texts(), ElementsAre("Option Setting Error."));
  EXPECT_EQ(rig_.state.ConfigPath, path);
  EXPECT_EQ(rig_.configuration->Schedules[1].enable, 1);
}

TEST_F(ConfigurationCommandsTest, SaveWithoutAPathContinuesAsSaveAs) {
  rig_.windows.chosenFile = PathIn("new.cfg");
  EXPECT_TRUE(SaveConfiguration(rig_.context()));
  EXPECT_THAT(rig_.windows.events, ElementsAre(std::string("save dialog *.cfg") + kCfgDialog,
                                               kTitle + PathIn("new.cfg") + "]"));
  EXPECT_EQ(rig_.state.ConfigPath, PathIn("new.cfg"));
  EXPECT_EQ(fs::file_size(PathIn("new.cfg")), kCurrentFileSize);
  EXPECT_THAT(rig_.sink.Texts(), IsEmpty());

  // With a path, Save writes there without asking.
  rig_.windows.events.clear();
  rig_.configuration->Schedules[5].enable = 1;
  EXPECT_TRUE(SaveConfiguration(rig_.context()));
  EXPECT_THAT(rig_.windows.events, IsEmpty());
  EXPECT_EQ(testing::ReadBytes(PathIn("new.cfg")).at(ScheduleEnableOffset(5)), 1);
}

TEST_F(ConfigurationCommandsTest, SaveToAnUnwritablePathAsksForAnotherName) {
  rig_.state.ConfigPath = PathIn("gone/old.cfg");
  rig_.windows.chosenFile.reset();
  EXPECT_FALSE(SaveConfiguration(rig_.context()));
  const testing::Box box = rig_.sink.Boxes().at(0);
  EXPECT_EQ(box.caption, "Error");
  EXPECT_EQ(box.text, "Please select a project file name.");
  EXPECT_EQ(box.icon, monitor::MessageIcon::kExclamation);
  EXPECT_THAT(rig_.windows.events,
              ElementsAre("save dialog " + PathIn("gone/old.cfg") + kCfgDialog));
}

TEST_F(ConfigurationCommandsTest, FailedSaveAsShows109AndKeepsTheCurrentFile) {
  rig_.state.ConfigPath = PathIn("current.cfg");
  rig_.windows.chosenFile = PathIn("gone/new.cfg");
  EXPECT_FALSE(SaveConfigurationAs(rig_.context()));
  EXPECT_THAT(rig_.sink.Texts(), ElementsAre("Error[109]"));
  EXPECT_EQ(rig_.state.ConfigPath, PathIn("current.cfg"));
  EXPECT_THAT(rig_.windows.events,
              ElementsAre("save dialog " + PathIn("current.cfg") + kCfgDialog));
}

TEST_F(ConfigurationCommandsTest, ExitWritesDefaultCfgInTheProgramFolderWhenNoFileIsCurrent) {
  rig_.configuration->Schedules[2].enable = 1;
  const ExitWriteResult result = ShutDownMainFrame(rig_.context(), descriptions_);
  EXPECT_TRUE(result.write.ok) << result.write.error;
  EXPECT_EQ(result.configPath, PathIn("default.cfg"));
  EXPECT_EQ(rig_.state.ConfigPath, PathIn("default.cfg"));
  EXPECT_EQ(testing::ReadBytes(PathIn("default.cfg")).at(ScheduleEnableOffset(2)), 1);
  EXPECT_EQ(descriptions_.releases, 1);

  // A current file is written in place.
  rig_.state.ConfigPath = PathIn("mine.cfg");
  EXPECT_EQ(ShutDownMainFrame(rig_.context(), descriptions_).configPath, PathIn("mine.cfg"));
  EXPECT_EQ(fs::file_size(PathIn("mine.cfg")), kCurrentFileSize);
}

TEST_F(ConfigurationCommandsTest, ExitWritesToTheUserDataFolderWhenTheProgramFolderIsUnusable) {
  rig_.state.ProgramFolder = rig_.folder / "not-there";
  const std::string dataHome = PathIn("data");
  const char* previous = std::getenv("XDG_DATA_HOME");
  const std::string saved = previous ? previous : "";
  ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
  const ExitWriteResult result = WriteConfigurationAtExit(rig_.context());
  previous ? ::setenv("XDG_DATA_HOME", saved.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");

  EXPECT_TRUE(result.write.ok) << result.write.error;
  EXPECT_EQ(result.configPath, dataHome + "/orvane/default.cfg");
  EXPECT_EQ(fs::file_size(result.configPath), kCurrentFileSize);
}

}  // namespace
}  // namespace orvane::app
