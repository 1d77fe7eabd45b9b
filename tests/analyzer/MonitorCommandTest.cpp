// orvane-cli monitor against the virtual analyzer behind liborlink.so: what
// it prints and the live log it writes. Also what every command shares:
// --help, --version and the answer to an unknown command.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/analyzer/ScratchFolder.h"
#include "tests/support/CliProcess.h"

namespace orvane::analyzer {
namespace {

using orvane::testing::CliRun;
using orvane::testing::Lines;
using orvane::testing::RunCli;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::Not;

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

// The demo bus runs at 9600 bit/s; the analyzer samples it at the rate it is
// given, so a rate of 19200 reads nothing but sync field errors. A bit rate
// names its code, and a leading zero does not make a code octal (013 is not 11).
TEST(MonitorCommand, BaudTakesACodeOrABitRate) {
  const CliRun matching = RunCli("monitor --seconds 1 --baud 9600 2>&1");
  EXPECT_EQ(matching.exitCode, 0);
  EXPECT_THAT(matching.out,
              MatchesRegex("(.|\n)*records [1-9][0-9]*, frames [1-9][0-9]*, errors 0\n"));

  for (const char* twiceTheBus : {"19200", "13", "013"}) {
    const CliRun run = RunCli(std::string("monitor --seconds 1 --baud ") + twiceTheBus + " 2>&1");
    EXPECT_EQ(run.exitCode, 0) << twiceTheBus;
    EXPECT_THAT(run.out, HasSubstr(",Rx,Error     ,Sync Field  ,\n")) << twiceTheBus;
    EXPECT_THAT(run.out, MatchesRegex("(.|\n)*, frames 0, errors [1-9][0-9]*\n")) << twiceTheBus;
  }
}

TEST(MonitorCommand, UnknownBitRateIsAUsageError) {
  for (const char* rate : {"14", "19201", "9600.0", "-1", "0x0d"}) {
    const CliRun run = RunCli(std::string("monitor --seconds 1 --baud ") + rate + " 2>&1");
    EXPECT_EQ(run.exitCode, 1) << rate;
    EXPECT_EQ(Lines(run.out, "\n").at(0), "orvane-cli monitor: --baud: '" + std::string(rate) +
                                              "' is neither a baud-rate code 0-13 nor a bit "
                                              "rate the analyzer supports");
    EXPECT_THAT(run.out, Not(HasSubstr("Analyzer "))) << rate;  // never opened
  }
}

TEST(MonitorCommand, UnwritableLogEndsWithAnError) {
  const CliRun run = RunCli("monitor --seconds 1 --log /nonexistent-folder/f.log 2>&1");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.out.find("Error: Monitor Data Read Error.(3)\n"), std::string::npos) << run.out;
}

// --help anywhere on a command's line prints its usage line first, on stdout,
// and does nothing else.
TEST(CommandLine, EveryCommandPrintsItsHelpOnStdout) {
  const std::string program = "usage: orvane-cli [--version] COMMAND [ARGS]";
  const std::pair<std::string, std::string> kHelp[] = {
      {"--help", program},
      {"-h", program},
      {"help", program},
      {"cfg --help", "usage: orvane-cli cfg new FILE | show FILE | check FILE"},
      {"cfg new --help", "usage: orvane-cli cfg new FILE"},
      {"cfg show x.cfg --help", "usage: orvane-cli cfg show FILE"},
      {"cfg check -h", "usage: orvane-cli cfg check FILE"},
      {"convert --help", "usage: orvane-cli convert IN OUT [--signals LDF] [--signal NAME]"},
      {"info --help", "usage: orvane-cli info"},
      {"ldf --help", "usage: orvane-cli ldf [--relaxed] FILE"},
      {"log2ptn --help", "usage: orvane-cli log2ptn LOG [--filter ID] [-o OUT]"},
      {"monitor --seconds 1 --help",
       "usage: orvane-cli monitor [--seconds N] [--log FILE] [--pcapng FILE] [--baud CODE|RATE] "
       "[--lin 1.3|2.0]"},
      {"ptn --help", "usage: orvane-cli ptn check FILE [--editor]"},
      {"ptn check --help", "usage: orvane-cli ptn check FILE [--editor]"},
      {"run --help",
       "usage: orvane-cli run --config FILE [--mode monitor|master|slave|baud] [--schedule N] "
       "[--seconds N] [--log FILE] [--lin 1.3|2.0]"},
      {"stats --help", "usage: orvane-cli stats FILE [--csv] [--baud RATE]"},
  };
  for (const auto& [arguments, usage] : kHelp) {
    const CliRun run = RunCli(arguments + " 2>/dev/null");
    EXPECT_EQ(run.exitCode, 0) << arguments;
    EXPECT_EQ(Lines(run.out, "\n").at(0), usage) << arguments;
    EXPECT_THAT(run.out, Not(HasSubstr("Analyzer "))) << arguments;
  }
  // The program's help lists every command with its arguments.
  const std::string help = RunCli("--help").out;
  for (const char* command :
       {"\n  cfg new FILE | show FILE | check FILE\n",
        "\n  convert IN OUT [--signals LDF] [--signal NAME]\n", "\n  info  ",
        "\n  ldf [--relaxed] FILE  ", "\n  log2ptn LOG [--filter ID] [-o OUT]\n",
        "\n  monitor [--seconds N]", "\n  ptn check FILE [--editor]  ", "\n  run --config FILE ",
        "\n  stats FILE [--csv] [--baud RATE]\n"}) {
    EXPECT_THAT(help, HasSubstr(command));
  }
}

TEST(CommandLine, VersionIsTheProjectVersion) {
  const CliRun run = RunCli("--version 2>&1");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "orvane-cli " ORVANE_VERSION "\n");
}

TEST(CommandLine, UnknownCommandOrNoCommandIsAUsageError) {
  CliRun run = RunCli("bogus 2>&1");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(Lines(run.out, "\n").at(0), "orvane-cli: unknown command 'bogus'");
  EXPECT_EQ(Lines(run.out, "\n").at(1), "usage: orvane-cli [--version] COMMAND [ARGS]");

  run = RunCli("2>&1");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_THAT(run.out, HasSubstr("\nusage: orvane-cli [--version] COMMAND [ARGS]\n"));
  EXPECT_EQ(RunCli("2>/dev/null").out, "");  // the usage goes to stderr

  run = RunCli("cfg load x.cfg 2>&1");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(Lines(run.out, "\n").at(0), "orvane-cli cfg: unknown command 'load'");
}

}  // namespace
}  // namespace orvane::analyzer
