// orvane-cli monitor against the virtual analyzer behind liborlink.so: what
// it prints and the live log it writes.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/analyzer/ScratchFolder.h"
#include "tests/support/CliProcess.h"

namespace orvane::analyzer {
namespace {

using orvane::testing::CliRun;
using orvane::testing::Lines;
using orvane::testing::RunCli;

// A log line: the time, then an event with its frame part, or an I/O event.
const std::regex kLogLine(
    R"(^ -?\d{2,}:\d{2}:\d{2}\.\d{3}     ,)"
    R"(((([MS-],[RT]x,(End|Req|Sleep|Wakeup|Error|Sim Err|B-Sleep|M-Break|  -) *,[ -~]{12},)"
    R"(([0-9a-f]{2},(([0-9a-f]{2}|  )(,([0-9a-f]{2}|  )){7},[0-9a-f]{2})?)?)|)"
    R"(([MS-],[RT]x,Extend    ,[ -~]{12},[0-9a-f]{2},[0-9a-f]{2}(,[0-9a-f]{2})*))|)"
    R"( ,  ,IO\d_(UP|DN))$)");

TEST(MonitorCommand, PrintsTheDemoTrafficAndWritesTheSameLinesToTheLog) {
  test::ScratchFolder folder;
  const CliRun run = RunCli("monitor --seconds 2 --log " + (folder / "f.log").string());
  ASSERT_EQ(run.exitCode, 0);

  const std::vector<std::string> printed = Lines(run.out, "\n");
  ASSERT_GE(printed.size(), 50u);  // the demo network sends dozens of frames a second
  int frames = 0;
  for (const std::string& line : printed) {
    EXPECT_TRUE(std::regex_match(line, kLogLine)) << '"' << line << '"';
    frames += line.find(",End       ,") != std::string::npos;
  }
  EXPECT_GE(frames, 50);

  const std::vector<std::string> logged = Lines(test::ReadFile(folder / "f.log"), "\r\n");
  ASSERT_FALSE(logged.empty());
  EXPECT_EQ(logged[0], "TIME,M/S,Tx/Rx,Command,\tError,IDEN,D0,D1,D2,D3,D4,D5,D6,D7,Sum");
  EXPECT_EQ(std::vector<std::string>(logged.begin() + 1, logged.end()), printed);
}

TEST(MonitorCommand, RejectsBadOptionsWithUsage) {
  for (const char* arguments : {"--seconds 0", "--baud 14", "--lin 2.1", "--log", "--speed 1"}) {
    EXPECT_EQ(RunCli(std::string("monitor ") + arguments + " 2>/dev/null").exitCode, 1)
        << arguments;
  }
}

TEST(MonitorCommand, UnwritableLogEndsWithAnError) {
  const CliRun run = RunCli("monitor --seconds 1 --log /nonexistent-folder/f.log 2>&1");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.out.find("Error: Monitor Data Read Error.(3)\n"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace orvane::analyzer
