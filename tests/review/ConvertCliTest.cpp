// orvane-cli convert: a monitor log to pcapng and back gives the same log;
// damaged and unsuitable files are reported.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "review/CaptureReader.h"
#include "tests/pattern/TempDir.h"
#include "tests/review/CaptureSamples.h"
#include "tests/support/CliProcess.h"

namespace orvane::review::test {
namespace {

using pattern::testing::TempDir;

using CliRun = testing::CliRunInFolder;

CliRun RunCli(const TempDir& dir, const std::string& arguments) {
  return testing::RunCliIn(dir.path(), arguments);
}

CliRun RunConvert(const TempDir& dir, const std::string& arguments) {
  return RunCli(dir, "convert " + arguments);
}

TEST(ConvertCommand, LogToPcapngAndBackGivesTheSameLog) {
  TempDir dir;
  const std::string log = WriteLog(VariedRecords());
  dir.Write("trace.log", log);

  const CliRun toCapture = RunConvert(dir, "trace.log trace.pcapng");
  EXPECT_EQ(toCapture.exitCode, 0) << toCapture.err;
  EXPECT_EQ(toCapture.out, "wrote 20 records to trace.pcapng\n");
  EXPECT_EQ(toCapture.err, "");
  const std::string capture = TempDir::Read(dir.path() / "trace.pcapng");
  const ReviewReadResult read = ParseCapture(
      std::span(reinterpret_cast<const std::uint8_t*>(capture.data()), capture.size()));
  EXPECT_EQ(read.review.records.size(), 20u);
  EXPECT_EQ(read.review.source.startUnixMilliseconds, std::nullopt);

  const CliRun toLog = RunConvert(dir, "trace.pcapng back.log");
  EXPECT_EQ(toLog.exitCode, 0) << toLog.err;
  EXPECT_EQ(toLog.out, "wrote 20 records to back.log\n");
  EXPECT_EQ(TempDir::Read(dir.path() / "back.log"), log);

  // Cut in the last packet block: the rest is converted, the cut counted.
  dir.Write("cut.pcapng", capture.substr(0, capture.size() - 8));
  const CliRun cut = RunConvert(dir, "cut.pcapng cut.log");
  EXPECT_EQ(cut.exitCode, 0);
  EXPECT_EQ(cut.err, "cut.pcapng: 1 block could not be read and was left out: 20.\n");
  const std::string cutLog = TempDir::Read(dir.path() / "cut.log");
  EXPECT_EQ(cutLog, log.substr(0, log.rfind(" 00:00:00.150")));
}

TEST(ConvertCommand, ReportsFilesItCannotReadOrWrite) {
  TempDir dir;
  dir.Write("trace.log", WriteLog(VariedRecords()));
  dir.Write("other.pcap", std::string("\xd4\xc3\xb2\xa1\x02\x00\x04\x00", 8) +
                              std::string(12, '\0') + std::string("\x01\x00\x00\x00", 4));

  const CliRun pcap = RunConvert(dir, "trace.log out.pcap");
  EXPECT_EQ(pcap.exitCode, 2);
  EXPECT_EQ(pcap.err, "orvane-cli convert: pcap is read only; name the output .pcapng\n");
  const CliRun otherType = RunConvert(dir, "other.pcap out.log");
  EXPECT_EQ(otherType.exitCode, 2);
  EXPECT_EQ(
      otherType.err,
      "orvane-cli convert: other.pcap: the capture holds link type 1, not LIN (212); there is "
      "nothing to read\n");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "out.log"));
  EXPECT_EQ(RunConvert(dir, "trace.log out.txt").err,
            "orvane-cli convert: the output must end in .log or .pcapng: out.txt\n");
  EXPECT_EQ(RunConvert(dir, "missing.log out.pcapng").exitCode, 2);
  EXPECT_EQ(RunConvert(dir, "trace.log").exitCode, 1);
}

std::int64_t WallMillisecondsNow() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// The live capture holds what the live log holds, with the analyzer's
// identity and the wall time monitoring started.
TEST(MonitorCommand, WritesALiveCaptureOfWhatItLogs) {
  TempDir dir;
  const std::int64_t before = WallMillisecondsNow();
  const CliRun run = RunCli(dir, "monitor --seconds 1 --log live.log --pcapng live.pcapng");
  const std::int64_t after = WallMillisecondsNow();
  ASSERT_EQ(run.exitCode, 0) << run.err;

  const ReviewReadResult read = ReadCaptureFile(dir.path() / "live.pcapng");
  EXPECT_EQ(read.error, "");
  EXPECT_TRUE(read.review.problems.empty());
  EXPECT_GT(read.review.records.size(), 10u);
  EXPECT_EQ(read.review.source.serialNumber, "VA000001");
  EXPECT_EQ(read.review.source.firmwareVersion, "Ver.3.11");
  EXPECT_EQ(read.review.source.analyzerName, "LIN Analyzer Firmware");
  ASSERT_TRUE(read.review.source.startUnixMilliseconds);
  EXPECT_GE(*read.review.source.startUnixMilliseconds, before);
  EXPECT_LE(*read.review.source.startUnixMilliseconds, after);

  EXPECT_EQ(RunConvert(dir, "live.pcapng back.log").exitCode, 0);
  EXPECT_EQ(TempDir::Read(dir.path() / "back.log"), TempDir::Read(dir.path() / "live.log"));
}

// --signals decodes the frames of the demo network's description: one row
// per signal of each frame received without error, selected with --signal.
TEST(ConvertCommand, SignalsOfEveryFrameAsCsv) {
  TempDir dir;
  // DoorLeftStatus (0x11): window position 0x32 (50 x 0.4 %), door open, then a
  // checksum error that gives no row, then the door closed.
  dir.Write("door.log",
            " 00:00:01.234     ,S,Rx,End       ,  -         ,11,32,01,  ,  ,  ,  ,  ,  ,9a\r\n"
            " 00:00:01.334     ,S,Rx,Error     ,CheckSum    ,11,32,00,  ,  ,  ,  ,  ,  ,00\r\n"
            " 00:00:01.434     ,S,Rx,End       ,  -         ,11,33,00,  ,  ,  ,  ,  ,  ,9b\r\n");
  const std::string ldf = ORVANE_SOURCE_DIR "/emulator/demo-network.ldf";

  const CliRun run =
      RunConvert(dir, "--signals '" + ldf +
                          "' --signal DlDoorOpen --signal DlWindowPosition door.log door.csv");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(TempDir::Read(dir.path() / "door.csv"),
            "Time,Frame,Signal,Raw,Value\r\n"
            "00:00:01.234,DoorLeftStatus,DlWindowPosition,50,20 (%)\r\n"
            "00:00:01.234,DoorLeftStatus,DlDoorOpen,1,on\r\n"
            "00:00:01.434,DoorLeftStatus,DlWindowPosition,51,20.4 (%)\r\n"
            "00:00:01.434,DoorLeftStatus,DlDoorOpen,0,off\r\n");

  const CliRun wrongOutput = RunConvert(dir, "--signals '" + ldf + "' door.log door.log2");
  EXPECT_EQ(wrongOutput.exitCode, 2);
  EXPECT_EQ(wrongOutput.err,
            "orvane-cli convert: with --signals the output must end in .csv: door.log2\n");
}

}  // namespace
}  // namespace orvane::review::test
