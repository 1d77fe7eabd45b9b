// Where the files the program writes on its own go: the program folder when
// it can be written, otherwise the user's data folder, for the default live
// log and the temporary copy of the monitor log (default.cfg: see
// ConfigurationCommandsTest).
#include "app/DataFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "analyzer/Acquisition.h"
#include "app/LogCommands.h"
#include "tests/analyzer/ScratchFolder.h"
#include "tests/app/RunControlTestSupport.h"

namespace orvane::app {
namespace {

namespace fs = std::filesystem;

// Sets or clears an environment variable for the life of the object.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* previous = std::getenv(name)) previous_ = previous;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedVariable() { previous_ ? ::setenv(name_, previous_->c_str(), 1) : ::unsetenv(name_); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> previous_;
};

class DataFolderTest : public ::testing::Test {
 protected:
  fs::path Missing() const { return folder_ / "not-there"; }

  analyzer::test::ScratchFolder folder_;
};

TEST_F(DataFolderTest, AWritableProgramFolderIsUsedAsItIs) {
  const ScopedVariable dataHome("XDG_DATA_HOME", (folder_ / "data").c_str());
  EXPECT_EQ(WritableFolder(folder_.path()), folder_.path());
  EXPECT_FALSE(fs::exists(folder_ / "data"));
}

TEST_F(DataFolderTest, AnUnusableProgramFolderGivesTheUserDataFolderCreated) {
  const ScopedVariable dataHome("XDG_DATA_HOME", (folder_ / "data").c_str());
  EXPECT_EQ(WritableFolder(Missing()), folder_ / "data" / "orvane");
  EXPECT_TRUE(fs::is_directory(folder_ / "data" / "orvane"));
  EXPECT_EQ(WritableFolder({}), folder_ / "data" / "orvane");
}

TEST_F(DataFolderTest, TheUserDataFolderFallsBackOnHomeAndOtherwiseIsEmpty) {
  const ScopedVariable emptyDataHome("XDG_DATA_HOME", "");
  const ScopedVariable home("HOME", folder_.path().c_str());
  EXPECT_EQ(UserDataFolder(), folder_ / ".local" / "share" / "orvane");
  EXPECT_TRUE(fs::is_directory(folder_ / ".local" / "share" / "orvane"));

  const ScopedVariable noHome("HOME", nullptr);
  EXPECT_EQ(UserDataFolder(), fs::path());
}

// The program's own writes, with the program folder installed read-only.
class ReadOnlyProgramFolderTest : public ::testing::Test {
 protected:
  ReadOnlyProgramFolderTest() { rig_.state.ProgramFolder = rig_.folder / "not-there"; }

  fs::path DataFolder() const { return rig_.folder / "data" / "orvane"; }

  testing::AppRig rig_;
  ScopedVariable dataHome_{"XDG_DATA_HOME", (rig_.folder / "data").c_str()};
};

TEST_F(ReadOnlyProgramFolderTest, TheDefaultLiveLogGoesToTheDataFolder) {
  rig_.state.LogPath.clear();
  const analyzer::AcquisitionSettings settings = MakeAcquisitionSettings(rig_.context());
  EXPECT_EQ(analyzer::LiveLogPath(settings), DataFolder() / "default.log");

  rig_.state.LogPath = (rig_.folder / "mine.log").string();
  EXPECT_EQ(analyzer::LiveLogPath(MakeAcquisitionSettings(rig_.context())),
            rig_.folder / "mine.log");
}

TEST_F(ReadOnlyProgramFolderTest, TheMonitorLogIsCopiedThroughTheDataFolder) {
  const std::optional<std::string> text = CopyMonitorLog(rig_.context());
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(*text, "");  // nothing monitored yet
  EXPECT_TRUE(fs::is_directory(DataFolder()));
  EXPECT_FALSE(fs::exists(DataFolder() / "log.$$$"));
}

}  // namespace
}  // namespace orvane::app
