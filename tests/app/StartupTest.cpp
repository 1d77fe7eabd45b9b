// The configuration a start begins with: a file that is read leaves the
// pattern modes at "Ignore over data" / "Set the following data"; a missing
// or unreadable one gives the start-up message and every default.
#include <gtest/gtest.h>

#include "app/Startup.h"
#include "tests/app/ConfigurationTestSupport.h"

namespace orvane::app {
namespace {

using testing::FakeDescriptionLoader;
using testing::RecordingSink;
using testing::TemporaryFolder;
using testing::WriteBytes;

class StartupConfiguration : public ::testing::Test {
 protected:
  StartupConfiguration() {
    state.ProgramFolder = "/opt/orvane";
    SetDefaults(stored, "/opt/orvane");
    stored.Options.BaudRateCode = 13;
  }

  TemporaryFolder folder;
  AppState state;
  Configuration stored;
  Configuration program{};
  FakeDescriptionLoader descriptions;
  RecordingSink messages;
};

TEST_F(StartupConfiguration, ReadFileBecomesCurrentWithBothPatternModesZero) {
  const auto path = folder / "bench.cfg";
  ASSERT_TRUE(WriteConfiguration(path, stored).ok);

  RestoreConfiguration(path, state, program, descriptions, messages);

  EXPECT_EQ(state.ConfigPath, path.string());
  EXPECT_EQ(program.Options.BaudRateCode, 13);
  EXPECT_EQ(program.Options.ShortPatternMode, 0u);
  EXPECT_EQ(program.Options.LongPatternMode, 0u);
  EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(StartupConfiguration, MissingOrDamagedFileGivesTheMessageAndDefaults) {
  const auto damaged = folder / "damaged.cfg";
  WriteBytes(damaged, {1, 2, 3});
  for (const std::filesystem::path& candidate :
       {std::filesystem::path(), folder / "missing.cfg", damaged}) {
    messages.boxes.clear();
    state.ConfigPath = "previous.cfg";
    program.Options.BaudRateCode = 3;

    RestoreConfiguration(candidate, state, program, descriptions, messages);

    EXPECT_TRUE(state.ConfigPath.empty()) << candidate;
    EXPECT_EQ(program.Options.BaudRateCode, 11) << candidate;
    EXPECT_EQ(program.Options.ShortPatternMode, 1u) << candidate;
    EXPECT_EQ(program.Options.LongPatternMode, 1u) << candidate;
    ASSERT_EQ(messages.boxes.size(), 1u) << candidate;
    EXPECT_EQ(messages.boxes[0].caption, "Error");
    EXPECT_EQ(messages.boxes[0].text,
              "Application setup default parameter due to    \n"
              "Configuration File Load Error.    ");
    EXPECT_EQ(messages.boxes[0].icon, monitor::MessageIcon::kExclamation);
  }
}

TEST_F(StartupConfiguration, Lin13TakesBackBreakSelectAndEnhancedChecksums) {
  program = stored;
  program.Settings.LinRevision = settings::kLin13;
  program.Settings.Options.BreakSelect = 1;
  program.Settings.Identifiers.classicChecksum[0x10] = 0;

  ApplyLinRevision(program);
  EXPECT_EQ(program.Settings.Options.BreakSelect, 0);
  EXPECT_EQ(program.Settings.Identifiers.classicChecksum[0x10], 1u);

  program.Settings.LinRevision = settings::kLin20;
  program.Settings.Options.BreakSelect = 1;
  program.Settings.Identifiers.classicChecksum[0x10] = 0;
  ApplyLinRevision(program);
  EXPECT_EQ(program.Settings.Options.BreakSelect, 1);
  EXPECT_EQ(program.Settings.Identifiers.classicChecksum[0x10], 0u);
}

}  // namespace
}  // namespace orvane::app
