// Saving never leaves a damaged or half-written configuration file behind.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <unistd.h>

#include <csignal>

#include "app/ConfigurationFile.h"
#include "tests/app/ConfigurationTestSupport.h"

namespace orvane::app {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TemporaryFolder;
using testing::WriteBytes;

const std::vector<std::uint8_t> kPrevious{'o', 'l', 'd', '\n'};

Configuration Defaults() {
  Configuration configuration;
  SetDefaults(configuration, "/opt/orvane");
  return configuration;
}

std::vector<fs::path> FolderEntries(const fs::path& folder) {
  std::vector<fs::path> entries;
  for (const auto& entry : fs::directory_iterator(folder)) entries.push_back(entry.path().filename());
  return entries;
}

TEST(ConfigurationSave, ReplacesTheFileAndKeepsItsPermissions) {
  TemporaryFolder folder;
  const auto path = folder / "keep.cfg";
  WriteBytes(path, kPrevious);
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  const WriteResult result = WriteConfiguration(path, Defaults());

  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_TRUE(result.error.empty());
  EXPECT_EQ(fs::file_size(path), 153337u);
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<fs::path>{"keep.cfg"});
}

TEST(ConfigurationSave, WritesThroughASymbolicLink) {
  TemporaryFolder folder;
  const auto real = folder / "real.cfg";
  const auto link = folder / "link.cfg";
  WriteBytes(real, kPrevious);
  fs::create_symlink(real, link);

  ASSERT_TRUE(WriteConfiguration(link, Defaults()).ok);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::file_size(real), 153337u);
}

TEST(ConfigurationSave, AMissingFolderFailsWithoutCreatingAnything) {
  TemporaryFolder folder;
  const WriteResult result = WriteConfiguration(folder / "absent" / "a.cfg", Defaults());
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("absent"), std::string::npos) << result.error;
  EXPECT_TRUE(FolderEntries(folder.path()).empty());
}

TEST(ConfigurationSave, AFolderInTheWayFailsAndLeavesNoTemporaryFile) {
  TemporaryFolder folder;
  fs::create_directory(folder / "taken.cfg");
  EXPECT_FALSE(WriteConfiguration(folder / "taken.cfg", Defaults()).ok);
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<fs::path>{"taken.cfg"});
}

TEST(ConfigurationSave, AReadOnlyFolderFailsAndLeavesThePreviousFileIntact) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  TemporaryFolder folder;
  const auto path = folder / "locked.cfg";
  WriteBytes(path, kPrevious);
  fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);

  const WriteResult result = WriteConfiguration(path, Defaults());
  fs::permissions(folder.path(), fs::perms::owner_all);

  EXPECT_FALSE(result.ok);
  EXPECT_EQ(ReadBytes(path), kPrevious);
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<fs::path>{"locked.cfg"});
}

// A file size limit makes the write fail part-way, as a full disk does.
TEST(ConfigurationSave, AWriteThatFailsPartWayLeavesThePreviousFileIntact) {
  TemporaryFolder folder;
  const auto path = folder / "full.cfg";
  WriteBytes(path, kPrevious);

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const WriteResult result = WriteConfiguration(path, Defaults());
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("cannot write"), std::string::npos) << result.error;
  EXPECT_EQ(ReadBytes(path), kPrevious);
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<fs::path>{"full.cfg"});
}

}  // namespace
}  // namespace orvane::app
