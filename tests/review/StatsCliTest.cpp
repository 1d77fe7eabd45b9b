// orvane-cli stats: the statistics of a log the log writer wrote, with
// errors of several kinds injected, as CSV and as a table; unreadable input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/pattern/TempDir.h"
#include "tests/review/CaptureSamples.h"
#include "tests/support/CliProcess.h"

namespace orvane::review::test {
namespace {

using emulator::ChecksumModel;
using pattern::testing::TempDir;

// Identifier 0x10 every 50 ms with one checksum error and a late frame,
// 0x23 with two No Res and an injected Short Msg, an extended frame, and a
// parity and a sync field error, which name no identifier.
std::vector<MonitorRecord> ErrorRecords() {
  std::vector<MonitorRecord> records{
      FrameRecord(0, 0x10, 2, ChecksumModel::kClassic),
      FrameRecord(50, 0x10, 2, ChecksumModel::kClassic),
      Record(60, monitor::kKindError, monitor::kErrorNoResponse, 0x23),
      Record(70, monitor::kKindError, monitor::kErrorParity, 0x00),
      FrameRecord(100, 0x10, 2, ChecksumModel::kClassic),
      FrameRecord(110, 0x23, 4, ChecksumModel::kClassic),
  };
  for (const MonitorRecord& record : ExtendedGroup(120, 0x3E, 40)) records.push_back(record);
  const std::vector<MonitorRecord> rest{
      FrameRecord(150, 0x10, 2, ChecksumModel::kClassic),
      Record(160, monitor::kKindError, monitor::kErrorNoResponse, 0x23),
      Record(170, monitor::kKindError, monitor::kErrorSyncField, 0x00, monitor::kNodeNeither),
      FrameRecord(200, 0x10, 2, ChecksumModel::kClassic, monitor::kKindError,
                  monitor::kErrorChecksum),
      FrameRecord(210, 0x23, 2, ChecksumModel::kClassic, monitor::kKindSimulationError,
                  monitor::kErrorShortMessage),
      FrameRecord(250, 0x10, 2, ChecksumModel::kClassic),
  };
  records.insert(records.end(), rest.begin(), rest.end());
  return records;
}

TEST(StatsCommand, CountsEachIdentifiersFramesPeriodsAndErrors) {
  TempDir dir;
  dir.Write("errors.log", WriteLog(ErrorRecords()));

  const testing::CliRunInFolder csv = testing::RunCliIn(dir.path(), "stats errors.log --csv");
  EXPECT_EQ(csv.exitCode, 0) << csv.err;
  EXPECT_EQ(csv.err, "");
  EXPECT_EQ(testing::Lines(csv.out, "\r\n"),
            (std::vector<std::string>{
                "ID,Frames,Rate [1/s],Period Min [ms],Period Mean [ms],Period Max [ms],"
                "Jitter SD [ms],Parity,CheckSum,Short Msg,Bit,No Res,Sync Break-L,Sync Field,"
                "Overrun,Framing,Buffer,Sync Break-S,Bus,Other,Last Seen",
                // Periods 50, 50, 50, 100: mean 62.5, standard deviation 21.651.
                "0x10,5,20.00,50,62.500,100,21.651,0,1,0,0,0,0,0,0,0,0,0,0,0,00:00:00.250",
                "0x23,1,4.00,,,,,0,0,1,0,2,0,0,0,0,0,0,0,0,00:00:00.210",
                "0x3E,1,4.00,,,,,0,0,0,0,0,0,0,0,0,0,0,0,0,00:00:00.120",
                "-,,,,,,,1,0,0,0,0,0,1,0,0,0,0,0,0,00:00:00.170",
            }));

  // The same records in a capture give the same statistics.
  const std::vector<std::uint8_t> capture = WriteCapture(ErrorRecords(), DefaultLengths(), {});
  dir.Write("errors.pcapng",
            std::string_view(reinterpret_cast<const char*>(capture.data()), capture.size()));
  const testing::CliRunInFolder fromCapture =
      testing::RunCliIn(dir.path(), "stats errors.pcapng --csv");
  EXPECT_EQ(fromCapture.exitCode, 0) << fromCapture.err;
  EXPECT_EQ(fromCapture.out, csv.out);

  const testing::CliRunInFolder table =
      testing::RunCliIn(dir.path(), "stats errors.log --baud 19200");
  EXPECT_EQ(table.exitCode, 0) << table.err;
  const std::vector<std::string> lines = testing::Lines(table.out, "\n");
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0].substr(0, 44), "ID    Frames  Rate [1/s]  Period Min [ms]  P");
  EXPECT_EQ(lines[1].substr(0, 44), "0x10       5       20.00               50   ");
  EXPECT_EQ(lines[4].substr(0, 8), "-       ");
  EXPECT_EQ(lines[5], "");
  // 5 frames of 64 bits, a checksum error of 64, a frame of 84, two headers
  // of 34 and an extended frame of 444: 980 bits in second 0.
  EXPECT_EQ(lines[6], "Bus load: mean 5.1 %, peak 5.1 % over 0.250 s at 19200 bit/s");
  // Every line as wide as the header line, the columns aligned.
  for (std::size_t line = 1; line <= 4; ++line) {
    EXPECT_EQ(lines[line].size(), lines[0].size()) << lines[line];
  }
}

TEST(StatsCommand, RefusesWhatItCannotRead) {
  TempDir dir;
  const testing::CliRunInFolder missing = testing::RunCliIn(dir.path(), "stats missing.log");
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err.rfind("orvane-cli stats: missing.log: ", 0), 0u) << missing.err;

  const testing::CliRunInFolder baud = testing::RunCliIn(dir.path(), "stats missing.log --baud 0");
  EXPECT_EQ(baud.exitCode, 1);

  // A damaged line is left out and said; the rest is counted.
  std::string log = WriteLog(ErrorRecords());
  log.insert(log.find(" 00:00:00.100"), "garbage line\r\n");
  dir.Write("damaged.log", log);
  const testing::CliRunInFolder damaged = testing::RunCliIn(dir.path(), "stats damaged.log --csv");
  EXPECT_EQ(damaged.exitCode, 0);
  EXPECT_NE(damaged.err.find("damaged.log: 1 line could not be read"), std::string::npos)
      << damaged.err;
  EXPECT_NE(damaged.out.find("\r\n0x10,5,20.00,50,62.500,100,21.651,"), std::string::npos);
}

}  // namespace
}  // namespace orvane::review::test
