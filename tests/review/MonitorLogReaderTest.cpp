#include "review/MonitorLogReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

#include "monitor/LogWriter.h"
#include "review/ReadProblems.h"
#include "tests/monitor/LogFile.h"
#include "tests/monitor/RecordBuilders.h"

namespace orvane::review {
namespace {

using monitor::LogFormat;
using monitor::MonitorRecord;
using monitor::test::ExtendedGroup;
using monitor::test::Frame;
using monitor::test::ScratchFile;

constexpr std::string_view kHeader =
    "TIME,M/S,Tx/Rx,Command,\tError,IDEN,D0,D1,D2,D3,D4,D5,D6,D7,Sum\r\n";

// The log of `records`, written in two calls split at `split` so that a group
// may be cut between them, as blocks cut it.
std::string WriteLog(const std::vector<MonitorRecord>& records, const LogFormat& format,
                     std::size_t split = 0) {
  ScratchFile file;
  monitor::WriteLogHeader(file.get());
  monitor::LogSequenceWriter writer(format);
  const std::span<const MonitorRecord> all(records);
  writer.Write(file.get(), all.first(std::min(split, all.size())));
  writer.Write(file.get(), all.subspan(std::min(split, all.size())));
  return file.Text();
}

bool SameRecords(const std::vector<MonitorRecord>& left, const std::vector<MonitorRecord>& right) {
  return std::ranges::equal(left, right, [](const MonitorRecord& a, const MonitorRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
  });
}

// Every kind (logged or not), every error code and a few unknown ones, every
// node, both directions, times from INT32_MIN to INT32_MAX, identifiers with
// parity bits, and extended frames of several sizes, kinds and errors.
std::vector<MonitorRecord> RecordsOfEveryKind(bool lengthCodeIdentifiers) {
  std::vector<MonitorRecord> records;
  if (lengthCodeIdentifiers) {
    // A frame without identifier first: its first data byte reads as an
    // identifier until the log shows its ID+DLC layout.
    records = ExtendedGroup(5, 0x3E, 9);
    records[0].kind = monitor::kKindWakeup;
  }
  const std::uint8_t kinds[] = {0,  1,  2,  3,  4,  5,  6,  7,    8,    9,
                                10, 11, 12, 13, 14, 15, 16, 0x14, 0x24, 255};
  const std::uint8_t errors[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 200};
  const std::uint8_t nodes[] = {monitor::kNodeMaster, monitor::kNodeSlave, monitor::kNodeNeither,
                                0};
  const std::int32_t times[] = {
      std::numeric_limits<std::int32_t>::min(), -90'000'001, -1, 0, 1234, 90'000'000,
      std::numeric_limits<std::int32_t>::max()};
  int serial = 0;
  for (const std::uint8_t kind : kinds) {
    for (const std::uint8_t error : errors) {
      for (const std::uint8_t node : nodes) {
        MonitorRecord record =
            Frame(times[serial % 7], static_cast<std::uint8_t>(serial * 37), kind);
        record.error = error;
        record.node = node;
        record.flags = serial % 2 ? MonitorRecord::kTxFlag : 0;
        for (std::uint8_t& byte : record.data)
          byte = static_cast<std::uint8_t>(serial + (&byte - record.data));
        record.checksum = static_cast<std::uint8_t>(~serial);
        records.push_back(record);
        ++serial;
      }
    }
  }
  struct Extended {
    std::uint8_t ident;
    int length;
    std::uint8_t kind;
    std::uint8_t error;
  };
  const Extended groups[] = {
      {0x3E, 0, 1, 0},  {0x1B, 3, 1, 2},   {0x2A, 7, 1, 4},  {0x3F, 8, 0, 0},   {0x10, 26, 1, 0},
      {0x3C, 30, 5, 9}, {0x05, 273, 1, 0}, {0x3E, 12, 4, 6}, {0x3E, 12, 4, 11}, {0x3D, 5, 5, 6},
      {0x01, 4, 3, 0},  {0x02, 0, 6, 1},   {0x03, 40, 8, 0}, {0x04, 4, 12, 7},  {0x21, 2, 15, 12},
  };
  for (const Extended& extended : groups) {
    std::vector<MonitorRecord> group = ExtendedGroup(-7, extended.ident, extended.length);
    group[0].kind = extended.kind;
    group[0].error = extended.error;
    group[0].node = monitor::kNodeSlave;
    records.insert(records.end(), group.begin(), group.end());
  }
  return records;
}

LogFormat FormatOf(bool lengthCodeIdentifiers, bool hexRadix) {
  LogFormat format;
  for (std::size_t id = 0; id < format.dataLengths.size(); ++id) {
    format.dataLengths[id] = static_cast<std::uint8_t>(id % 10);
  }
  format.identifierWithLengthCode = lengthCodeIdentifiers;
  format.hexRadix = hexRadix;
  format.ioEventNames[3] = "Door, open";
  return format;
}

TEST(MonitorLogReaderTest, EveryRecordWrittenReadAndWrittenAgainGivesTheSameBytes) {
  struct Layout {
    bool lengthCode;
    bool hex;
  };
  for (const Layout layout : {Layout{false, true}, Layout{true, true}, Layout{true, false}}) {
    SCOPED_TRACE(testing::Message() << "ID+DLC " << layout.lengthCode << " hex " << layout.hex);
    const std::vector<MonitorRecord> records = RecordsOfEveryKind(layout.lengthCode);
    const LogFormat format = FormatOf(layout.lengthCode, layout.hex);
    // Split inside the 273-byte frame.
    const std::string log = WriteLog(records, format, records.size() - 25);

    const ReviewReadResult read = ParseMonitorLog(log);
    ASSERT_EQ(read.error, "");
    EXPECT_FALSE(read.cancelled);
    EXPECT_EQ(DescribeReadProblems(read.review.problems, "line"), "");
    EXPECT_EQ(read.review.format.identifierWithLengthCode, layout.lengthCode);
    EXPECT_EQ(read.review.format.hexRadix, layout.hex || !layout.lengthCode);
    EXPECT_EQ(read.review.format.ioEventNames, format.ioEventNames);
    EXPECT_EQ(WriteLog(read.review.records, read.review.format), log);

    const ReviewReadResult again =
        ParseMonitorLog(WriteLog(read.review.records, read.review.format));
    EXPECT_TRUE(SameRecords(again.review.records, read.review.records));
  }
}

TEST(MonitorLogReaderTest, FieldsOfOrdinaryLinesAndTheValuesReadForWhatTheyDoNotShow) {
  const ReviewReadResult read = ParseMonitorLog(
      std::string(kHeader) +
      " -25:00:00.001     ,S,Tx,End       ,  -         ,12,01,02,  ,  ,  ,  ,  ,  ,5a\r\n"
      " 596:31:23.647     ,-,Rx,  -       ,Sync Break  ,\r\n"
      " 00:00:00.000     ,M,Rx,Error     ,Sync Break  ,\r\n"
      " 00:00:00.010     , ,  ,IO2_DN,\r\n");
  ASSERT_EQ(read.error, "");
  ASSERT_EQ(read.review.records.size(), 4u);
  const MonitorRecord& frame = read.review.records[0];
  EXPECT_EQ(frame.time, -90'000'001);
  EXPECT_EQ(frame.node, monitor::kNodeSlave);
  EXPECT_EQ(frame.flags, MonitorRecord::kTxFlag);
  EXPECT_EQ(frame.kind, monitor::kKindEnd);
  EXPECT_EQ(frame.ident, 0x12);
  EXPECT_EQ(frame.sync, 0x55);
  const std::uint8_t data[8] = {1, 2, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(frame.data, data, 8), 0);
  EXPECT_EQ(frame.checksum, 0x5A);
  EXPECT_EQ(read.review.format.dataLengths[0x12], 2);
  EXPECT_EQ(read.review.format.dataLengths[0x13], 0);

  EXPECT_EQ(read.review.records[1].time, std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(read.review.records[1].node, monitor::kNodeNeither);
  EXPECT_EQ(read.review.records[1].kind, 0x14);
  EXPECT_EQ(read.review.records[1].error, monitor::kErrorSyncBreakLong);
  EXPECT_EQ(read.review.records[2].kind, monitor::kKindError);
  EXPECT_EQ(read.review.records[3].kind, 13);
  EXPECT_EQ(read.review.records[3].node, monitor::kNodeNeither);
}

TEST(MonitorLogReaderTest, ExtendedLineBecomesItsGroup) {
  const ReviewReadResult read = ParseMonitorLog(
      " 00:00:02.000     ,M,Tx,Extend    ,  -         ,e,8,01,02,03,04,05,06,07,08,09,0a,0b,0c,"
      "0d,0e,0f,10,11,12,13,14,15,16,17,18,19,1a,1b,1c,1d,1e\n");
  ASSERT_EQ(read.error, "");
  ASSERT_EQ(read.review.records.size(), 3u);
  EXPECT_TRUE(read.review.format.identifierWithLengthCode);
  const std::vector<MonitorRecord> expected = [] {
    std::vector<MonitorRecord> group = ExtendedGroup(2000, 0x3E, 30);
    group[0].flags |= MonitorRecord::kTxFlag;
    group[0].sync = 0x55;
    return group;
  }();
  EXPECT_TRUE(SameRecords(read.review.records, expected));
}

TEST(MonitorLogReaderTest, DamagedLinesAreListedAndTheLinesAroundThemKept) {
  const std::string good =
      " 00:00:00.001     ,M,Rx,Req       ,  -         ,01,  ,  ,  ,  ,  ,  ,  ,  ,00\r\n";
  const std::string text =
      std::string(kHeader) + good +
      " 00:00:00.002     ,M,Rx,Req       ,  -         ,01,aa,  ,  ,  ,  ,  ,  ,  ,00\r\n" + good +
      " 00:0x:00.003     ,M,Rx,Req   \r\n" + "\r\n" +
      " 00:00:00.004     ,M,Rx,Error     ,Sync Break-L,\r\n" +
      " 00:00:00.005     ,M,Rx,Req       ,  -         ,41,\r\n" + good;
  const ReviewReadResult read = ParseMonitorLog(text);
  ASSERT_EQ(read.error, "");
  EXPECT_EQ(read.review.records.size(), 3u);
  ASSERT_EQ(read.review.problems.size(), 5u);
  EXPECT_EQ(read.review.problems[0].position, 3u);
  EXPECT_EQ(read.review.problems[0].reason,
            "it shows 1 data columns where earlier lines of identifier 01 show 0");
  EXPECT_EQ(read.review.problems[1].reason, "the time is not readable");
  EXPECT_EQ(read.review.problems[2].reason, "the line is empty");
  EXPECT_EQ(read.review.problems[3].reason, "the error does not fit the command");
  EXPECT_EQ(read.review.problems[4].reason, "the identifier is not readable");
  EXPECT_EQ(DescribeReadProblems(read.review.problems, "line"),
            "5 lines could not be read and were left out: 3, 5, 6, 7, 8.");
}

TEST(MonitorLogReaderTest, TextThatIsNotALogIsRefused) {
  const ReviewReadResult read =
      ParseMonitorLog("Hello\r\n 00:00:00.001     ,M,Rx,Wakeup    ,  -         ,\r\n");
  EXPECT_EQ(
      read.error,
      "The text is not a monitor log: its first line is neither the log's column header nor a "
      "log line.");
  EXPECT_TRUE(read.review.records.empty());

  const std::filesystem::path path = std::filesystem::path(testing::TempDir()) / "not-a-log.log";
  std::ofstream(path, std::ios::binary) << "TIME;M/S\n";
  EXPECT_EQ(ReadMonitorLog(path).error,
            "'" + path.string() +
                "' is not a monitor log: its first line is neither the log's column header nor a "
                "log line.");
  EXPECT_EQ(ReadMonitorLog(path.parent_path() / "missing.log").error,
            "Cannot read '" + (path.parent_path() / "missing.log").string() +
                "': No such file or directory.");
}

TEST(MonitorLogReaderTest, EmptyLogsAndSavedLogsWithoutHeader) {
  for (const std::string_view text :
       {std::string_view(""), kHeader, kHeader.substr(0, kHeader.size() - 2)}) {
    const ReviewReadResult read = ParseMonitorLog(text);
    EXPECT_EQ(read.error, "");
    EXPECT_TRUE(read.review.records.empty());
    EXPECT_TRUE(read.review.problems.empty());
  }
  const ReviewReadResult saved =
      ParseMonitorLog(" 00:00:00.001     ,M,Rx,Wakeup    ,  -         ,\r\n");
  EXPECT_EQ(saved.error, "");
  EXPECT_EQ(saved.review.records.size(), 1u);
}

TEST(MonitorLogReaderTest, LineEndsAndALastLineWithoutOne) {
  const std::vector<MonitorRecord> records = RecordsOfEveryKind(false);
  const LogFormat format = FormatOf(false, true);
  const std::string log = WriteLog(records, format);
  std::string lineFeedsOnly;
  for (const char c : log) {
    if (c != '\r') lineFeedsOnly += c;
  }
  const ReviewReadResult crlf = ParseMonitorLog(log);
  const ReviewReadResult lf = ParseMonitorLog(lineFeedsOnly);
  EXPECT_TRUE(lf.review.problems.empty());
  EXPECT_TRUE(SameRecords(lf.review.records, crlf.review.records));

  const std::string ordinary =
      " 00:00:00.001     ,M,Rx,Req       ,  -         ,0a,  ,  ,  ,  ,  ,  ,  ,  ,00";
  const std::string extended = " 00:00:00.001     ,M,Rx,Extend    ,  -         ,01,02,03";
  const std::size_t lines = static_cast<std::size_t>(std::count(log.begin(), log.end(), '\n'));
  // Complete without line end: read. Cut: listed.
  EXPECT_EQ(ParseMonitorLog(log + ordinary).review.records.size(), crlf.review.records.size() + 1);
  const ReviewReadResult cut = ParseMonitorLog(log + ordinary.substr(0, ordinary.size() - 1));
  EXPECT_EQ(cut.review.records.size(), crlf.review.records.size());
  ASSERT_EQ(cut.review.problems.size(), 1u);
  EXPECT_EQ(cut.review.problems[0].position, lines + 1);
  const ReviewReadResult extendedCut = ParseMonitorLog(log + extended);
  ASSERT_EQ(extendedCut.review.problems.size(), 1u);
  EXPECT_EQ(extendedCut.review.problems[0].reason,
            "the file ends in this extended frame, which may be cut");
  EXPECT_EQ(ParseMonitorLog(log + extended + "\n").review.records.size(),
            crlf.review.records.size() + 1);

  const std::filesystem::path path = std::filesystem::path(testing::TempDir()) / "round-trip.log";
  std::ofstream(path, std::ios::binary) << log;
  const ReviewReadResult fromFile = ReadMonitorLog(path);
  EXPECT_EQ(fromFile.error, "");
  EXPECT_TRUE(SameRecords(fromFile.review.records, crlf.review.records));
}

TEST(MonitorLogReaderTest, ProgressAndCancel) {
  std::vector<MonitorRecord> records;
  for (int index = 0; index < 5000; ++index) records.push_back(Frame(index, 0x10));
  const std::string log = WriteLog(records, LogFormat{});

  std::vector<std::uint64_t> reported;
  const ReviewReadResult read = ParseMonitorLog(log, [&](std::uint64_t done, std::uint64_t total) {
    EXPECT_EQ(total, log.size());
    reported.push_back(done);
    return true;
  });
  EXPECT_EQ(read.review.records.size(), records.size());
  ASSERT_EQ(reported.size(), log.size() / (64 * 1024) + 1);
  EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
  EXPECT_EQ(reported.back(), log.size());

  int calls = 0;
  const ReviewReadResult cancelled = ParseMonitorLog(log, [&](std::uint64_t, std::uint64_t) {
    ++calls;
    return false;
  });
  EXPECT_TRUE(cancelled.cancelled);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(cancelled.review.records.empty());
}

TEST(MonitorLogReaderTest, IoEventNamesAreLearned) {
  const std::string lines = std::string(kHeader) +
                            " 00:00:00.001     , ,  ,IO3_DN,\r\n"
                            " 00:00:00.002     , ,  ,Door,\r\n"
                            " 00:00:00.003     , ,  ,Window,\r\n"
                            " 00:00:00.004     , ,  ,IO1_UP,\r\n";
  const ReviewReadResult read = ParseMonitorLog(lines);
  ASSERT_EQ(read.review.records.size(), 4u);
  EXPECT_EQ(read.review.records[0].kind, 15);
  EXPECT_EQ(read.review.records[1].kind, 10) << "the first entry not met";
  EXPECT_EQ(read.review.records[2].kind, 11);
  EXPECT_EQ(read.review.records[3].kind, 12) << "IO1_UP lost its entry to Door";
  EXPECT_EQ(read.review.format.ioEventNames,
            (IoEventNames{"Door", "Window", "IO1_UP", "IO2_DN", "IO3_UP", "IO3_DN"}));

  const IoEventNames settings{"A", "B", "Window", "D", "E", "F"};
  EXPECT_EQ(ParseMonitorLog(lines, {}, settings).review.records[2].kind, 12);

  std::string sevenNames(kHeader);
  for (const char* name : {"a", "b", "c", "d", "e", "f", "g"}) {
    sevenNames += " 00:00:00.001     , ,  ," + std::string(name) + ",\r\n";
  }
  const ReviewReadResult seven = ParseMonitorLog(sevenNames);
  EXPECT_EQ(seven.review.records.size(), 6u);
  ASSERT_EQ(seven.review.problems.size(), 1u);
  EXPECT_EQ(seven.review.problems[0].position, 8u);
  EXPECT_EQ(seven.review.problems[0].reason, "a seventh I/O event name");
}

TEST(MonitorLogReaderTest, ContradictingIdentifierLayoutsAreListed) {
  const std::string prefix = " 00:00:00.001     ,M,Rx,Extend    ,  -         ,";
  const ReviewReadResult read =
      ParseMonitorLog(prefix + "a,8,01\r\n" + prefix + "10,4,01\r\n" + prefix + "3e,\r\n");
  EXPECT_EQ(read.review.records.size(), 1u);
  ASSERT_EQ(read.review.problems.size(), 2u);
  EXPECT_EQ(read.review.problems[0].reason,
            "a decimal identifier where earlier lines show hexadecimal ones");
  EXPECT_EQ(read.review.problems[1].position, 3u);
  EXPECT_EQ(read.review.problems[1].reason, "the data bytes are not readable");
}

}  // namespace
}  // namespace orvane::review
