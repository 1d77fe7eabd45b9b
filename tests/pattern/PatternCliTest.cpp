// orvane-cli ptn check and orvane-cli log2ptn on small files written here.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/pattern/TempDir.h"
#include "tests/support/CliProcess.h"

namespace orvane::pattern {
namespace {

using testing::TempDir;
using ::testing::StartsWith;

using CliRun = orvane::testing::CliRunInFolder;

CliRun RunCli(const TempDir& dir, const std::string& arguments) {
  return orvane::testing::RunCliIn(dir.path(), arguments);
}

TEST(PtnCheckCommand, AcceptsAndRejectsWithTheMessageAndLine) {
  TempDir dir;
  dir.Write("good.ptn", "Tx,3c,01,02\r\nSleep\r\n");
  dir.Write("bad.ptn", "Tx,3c\nRx,10\nTX,3c\n");
  dir.Write("empty.ptn", "");

  const CliRun good = RunCli(dir, "ptn check good.ptn");
  EXPECT_EQ(good.exitCode, 0);
  EXPECT_EQ(good.out, "good.ptn: accepted\n");

  const CliRun editor = RunCli(dir, "ptn check good.ptn --editor");
  EXPECT_EQ(editor.exitCode, 2);
  EXPECT_EQ(editor.err, "good.ptn: Pattern File Format Error.(line:2)\nline 2: Sleep\n");
  // Options go anywhere on the line.
  const CliRun editorFirst = RunCli(dir, "ptn check --editor good.ptn");
  EXPECT_EQ(editorFirst.exitCode, editor.exitCode);
  EXPECT_EQ(editorFirst.out, editor.out);
  EXPECT_EQ(editorFirst.err, editor.err);

  const CliRun bad = RunCli(dir, "ptn check bad.ptn");
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_EQ(bad.err, "bad.ptn: Pattern File Format Error.(line:3)\nline 3: TX,3c\n");

  EXPECT_EQ(RunCli(dir, "ptn check empty.ptn").err, "empty.ptn: Pattern File has no data.\n");
  const CliRun missing = RunCli(dir, "ptn check missing.ptn");
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_EQ(missing.err, "missing.ptn: Pattern File Open Error.\n");

  EXPECT_EQ(RunCli(dir, "ptn good.ptn").exitCode, 1);
  const CliRun strict = RunCli(dir, "ptn check good.ptn --strict");
  EXPECT_EQ(strict.exitCode, 1);
  EXPECT_EQ(strict.out, "");
  EXPECT_THAT(strict.err, StartsWith("orvane-cli ptn check: unexpected argument: --strict\n"
                                     "usage: orvane-cli ptn check FILE [--editor]\n"));
  // A file whose name is an option's is given after "--".
  EXPECT_EQ(RunCli(dir, "ptn check -- --editor").err, "--editor: Pattern File Open Error.\n");
}

TEST(Log2PtnCommand, WritesTheDefaultOutputAndHonoursTheFilter) {
  TempDir dir;
  const std::string end12 =
      " 00:00:01.234     ,M,Tx,End       ,  -         ,12,01,02,03,  ,  ,  ,  ,  ,5a\r\n";
  const std::string end3c =
      " 00:00:01.250     ,S,Rx,End       ,  -         ,3c,00,ff,ff,ff,ff,ff,ff,ff,01\r\n";
  const std::string request =
      " 00:00:01.260     ,M,Tx,Req       ,  -         ,12,01,02,03,  ,  ,  ,  ,  ,5a\r\n";
  dir.Write("trace.log", "TIME,M/S,Tx/Rx,Command,\tError,IDEN,D0,D1,D2,D3,D4,D5,D6,D7,Sum\r\n" +
                             end12 + request + end3c);

  const CliRun all = RunCli(dir, "log2ptn trace.log");
  EXPECT_EQ(all.exitCode, 0) << all.err;
  EXPECT_EQ(all.out, "wrote 2 pattern lines to trace_out.ptn\n");
  EXPECT_EQ(TempDir::Read(dir.path() / "trace_out.ptn"),
            "Tx,12,01,02,03\r\nRx,3c,00,ff,ff,ff,ff,ff,ff,ff\r\n");
  EXPECT_EQ(RunCli(dir, "ptn check trace_out.ptn --editor").exitCode, 0);

  const CliRun filtered = RunCli(dir, "log2ptn trace.log --filter 3C -o only3c.ptn");
  EXPECT_EQ(filtered.out, "wrote 1 pattern lines to only3c.ptn\n");
  EXPECT_EQ(TempDir::Read(dir.path() / "only3c.ptn"), "Rx,3c,00,ff,ff,ff,ff,ff,ff,ff\r\n");
  const CliRun optionsFirst = RunCli(dir, "log2ptn -o first.ptn --filter 3C trace.log");
  EXPECT_EQ(optionsFirst.out, "wrote 1 pattern lines to first.ptn\n");
  EXPECT_EQ(TempDir::Read(dir.path() / "first.ptn"), TempDir::Read(dir.path() / "only3c.ptn"));

  const CliRun badFilter = RunCli(dir, "log2ptn trace.log --filter 40");
  EXPECT_EQ(badFilter.exitCode, 1);
  EXPECT_THAT(badFilter.err,
              StartsWith("orvane-cli log2ptn: --filter: the filter identifier must be 00-3F\n"));
  EXPECT_EQ(RunCli(dir, "log2ptn").exitCode, 1);
}

TEST(Log2PtnCommand, EmptyOrMissingLogIsAnOpenError) {
  TempDir dir;
  dir.Write("empty.log", "TIME,M/S,Tx/Rx,Command,\tError,IDEN,D0,D1,D2,D3,D4,D5,D6,D7,Sum\r\n");
  const CliRun empty = RunCli(dir, "log2ptn empty.log");
  EXPECT_EQ(empty.exitCode, 2);
  EXPECT_EQ(empty.err, "Log File Open Error.\n");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "empty_out.ptn"));
  EXPECT_EQ(RunCli(dir, "log2ptn missing.log").err, "Log File Open Error.\n");
}

}  // namespace
}  // namespace orvane::pattern
