// orvane-cli cfg check and cfg show on the LIN description a configuration
// file refers to: whether it loads, read-only.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "app/ConfigurationFile.h"
#include "settings/FixedText.h"
#include "tests/analyzer/ScratchFolder.h"
#include "tests/app/RelaxedOnlyLdf.h"
#include "tests/support/CliProcess.h"

namespace orvane::app {
namespace {

using analyzer::test::ReadFile;
using analyzer::test::ScratchFolder;
using orvane::testing::CliRun;
using orvane::testing::RunCli;
using ::testing::HasSubstr;

const std::string kDemoLdf = ORVANE_SOURCE_DIR "/emulator/demo-network.ldf";
constexpr char kDemoLoads[] = " loads (6 frames, 26 signals)\n";

class CfgCommandTest : public ::testing::Test {
 protected:
  // Writes a configuration that refers to the description at `description`
  // (none when empty) and returns its path.
  std::string ConfigurationReferringTo(const std::string& description) {
    auto configuration = std::make_unique<Configuration>();
    SetDefaults(*configuration, folder_.path().string());
    settings::CopyToField(description, configuration->Settings.DescriptionPath);
    configuration->Settings.DescriptionReference = description.empty() ? 0 : 1;
    configuration->Settings.Options.SortOrder = settings::kOrderOfNode;
    const std::string path = (folder_ / "bus.cfg").string();
    EXPECT_TRUE(WriteConfiguration(path, *configuration).ok);
    return path;
  }

  ScratchFolder folder_;
};

TEST_F(CfgCommandTest, CheckReportsADescriptionThatLoadsAndLeavesTheFileAsItIs) {
  const std::string path = ConfigurationReferringTo(kDemoLdf);
  const std::string before = ReadFile(path);
  const CliRun run = RunCli("cfg check " + path);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out,
            path + " loads (current, 153337 bytes)\nLIN description: " + kDemoLdf + kDemoLoads);
  EXPECT_EQ(ReadFile(path), before);
}

TEST_F(CfgCommandTest, CheckReportsADescriptionThatDoesNotLoad) {
  const std::string missing = (folder_ / "missing.ldf").string();
  const std::string path = ConfigurationReferringTo(missing);
  const std::string before = ReadFile(path);
  CliRun run = RunCli("cfg check " + path);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_THAT(run.out,
              HasSubstr("\nLIN description: " + missing + " does not load: no such file\n"));
  EXPECT_EQ(ReadFile(path), before);

  const std::string broken = (folder_ / "broken.ldf").string();
  std::ofstream(broken) << "Nodes {}\n";
  run = RunCli("cfg check " + ConfigurationReferringTo(broken));
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_THAT(run.out, HasSubstr("\nLIN description: " + broken +
                                 " does not load: The selected file is not in the LIN description "
                                 "file format.\n"));

  run = RunCli("cfg check " + ConfigurationReferringTo(""));
  EXPECT_THAT(run.out, HasSubstr("\nLIN description: none\n"));
}

TEST_F(CfgCommandTest, CheckReportsADescriptionThatLoadsOnlyWithRelaxedRules) {
  const std::string relaxedOnly = (folder_ / "keepalive.ldf").string();
  std::ofstream(relaxedOnly) << testing::kRelaxedOnlyLdf;
  const CliRun run = RunCli("cfg check " + ConfigurationReferringTo(relaxedOnly));
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_THAT(run.out, HasSubstr("\nLIN description: " + relaxedOnly +
                                 " loads with relaxed rules (1 frames, 1 signals)\n"));
}

TEST_F(CfgCommandTest, ShowReportsWhetherTheDescriptionLoads) {
  const CliRun run = RunCli("cfg show " + ConfigurationReferringTo(kDemoLdf));
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_THAT(run.out, HasSubstr("\nLIN description:   " + kDemoLdf + kDemoLoads));
}

}  // namespace
}  // namespace orvane::app
