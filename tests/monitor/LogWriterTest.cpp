#include "monitor/LogWriter.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/monitor/LogFile.h"
#include "tests/monitor/RecordBuilders.h"

namespace orvane::monitor {
namespace {

using test::ExtendedGroup;
using test::Frame;
using test::ScratchFile;

class LogWriterTest : public ::testing::Test {
 protected:
  std::string Line(const MonitorRecord& record) {
    ScratchFile file;
    WriteLogRecord(file.get(), record, format_);
    return file.Text();
  }
  std::string Sequence(const std::vector<MonitorRecord>& records) {
    ScratchFile file;
    LogSequenceWriter(format_).Write(file.get(), records);
    return file.Text();
  }

  LogFormat format_;
};

// Data bytes 1, 2, ..., count as the log writes them after the first.
std::string CountingBytes(int first, int count) {
  std::string text;
  for (int value = first; value < first + count; ++value) {
    char hex[4];
    std::snprintf(hex, sizeof hex, ",%02x", value);
    text += hex;
  }
  return text;
}

TEST_F(LogWriterTest, HeaderLineWithItsTab) {
  ScratchFile file;
  WriteLogHeader(file.get());
  EXPECT_EQ(file.Text(), "TIME,M/S,Tx/Rx,Command,\tError,IDEN,D0,D1,D2,D3,D4,D5,D6,D7,Sum\r\n");
}

TEST_F(LogWriterTest, CompleteFrameOfTheMaster) {
  format_.dataLengths[0x12] = 4;
  MonitorRecord record = Frame(1234, 0x92);
  record.flags = MonitorRecord::kTxFlag;
  const std::uint8_t data[8] = {1, 2, 3, 4, 0xEE, 0xEE, 0xEE, 0xEE};
  std::copy(std::begin(data), std::end(data), record.data);
  record.checksum = 0x5A;
  EXPECT_EQ(Line(record),
            " 00:00:01.234     ,M,Tx,End       ,  -         ,12,01,02,03,04,  ,  ,  ,  ,5a\r\n");

  format_.dataLengths[0x12] = 0;
  record.node = kNodeSlave;
  record.flags = 0;
  EXPECT_EQ(Line(record),
            " 00:00:01.234     ,S,Rx,End       ,  -         ,12,  ,  ,  ,  ,  ,  ,  ,  ,5a\r\n");
}

TEST_F(LogWriterTest, LinesEndingAfterTheErrorColumn) {
  MonitorRecord wakeup = Frame(-1000, 0x3C, kKindWakeup);
  wakeup.node = 7;
  EXPECT_EQ(Line(wakeup), " -00:00:01.000     ,-,Rx,Wakeup    ,  -         ,\r\n");

  MonitorRecord parity = Frame(5, 0x10, kKindError);
  parity.error = kErrorParity;
  EXPECT_EQ(Line(parity), " 00:00:00.005     ,M,Rx,Error     ,Parity      ,\r\n");

  MonitorRecord breakLong = Frame(5, 0x10, kKindSimulationError);
  breakLong.error = kErrorSyncBreakLong;
  EXPECT_EQ(Line(breakLong), " 00:00:00.005     ,M,Rx,Sim Err   ,Sync Break-L,\r\n");
  breakLong.kind = 0x24;
  breakLong.error = kErrorSyncBreakShort;
  EXPECT_EQ(Line(breakLong), " 00:00:00.005     ,M,Rx,  -       ,Sync Break  ,\r\n")
      << "low 4 bits of kind 4 turn both break errors into Sync Break";
}

TEST_F(LogWriterTest, ShortMessageKeepsTheIdentifierButNoData) {
  format_.dataLengths[0x21] = 8;
  MonitorRecord record = Frame(60000, 0x21, kKindError);
  record.error = kErrorShortMessage;
  EXPECT_EQ(Line(record), " 00:01:00.000     ,M,Rx,Error     ,Short Msg   ,21,\r\n");
  record.error = 99;
  record.kind = 8;
  EXPECT_EQ(Line(record),
            " 00:01:00.000     ,M,Rx,  -       ,  -         ,21,00,00,00,00,00,00,00,00,00\r\n");
}

TEST_F(LogWriterTest, IoEventsUseTheirChannelNames) {
  EXPECT_EQ(Line(Frame(10, 0x00, 12)), " 00:00:00.010     , ,  ,IO2_UP,\r\n");
  format_.ioEventNames[5] = "DoorOpen";
  MonitorRecord record = Frame(10, 0x00, 15);
  record.error = kErrorBit;
  EXPECT_EQ(Line(record), " 00:00:00.010     , ,  ,DoorOpen,\r\n");
}

TEST_F(LogWriterTest, ExtendedFrameOfThirtyBytesIsOneLine) {
  const std::string line = Sequence(ExtendedGroup(2000, 0x3E, 30));
  EXPECT_EQ(line, " 00:00:02.000     ,M,Rx,Extend    ,  -         ,3e,01" + CountingBytes(2, 29) +
                      "\r\n");
}

TEST_F(LogWriterTest, ExtendedFrameSplitOverTwoBlocksIsStillOneLine) {
  const std::vector<MonitorRecord> group = ExtendedGroup(2000, 0x3E, 30);
  ScratchFile file;
  LogSequenceWriter writer(format_);
  writer.Write(file.get(), std::vector<MonitorRecord>{Frame(1, 0x01), group[0], group[1]});
  writer.Write(file.get(), std::vector<MonitorRecord>{group[2], Frame(3, 0x02)});
  EXPECT_EQ(file.Text(),
            " 00:00:00.001     ,M,Rx,End       ,  -         ,01,  ,  ,  ,  ,  ,  ,  ,  ,00\r\n"
            " 00:00:02.000     ,M,Rx,Extend    ,  -         ,3e,01" + CountingBytes(2, 29) + "\r\n"
            " 00:00:00.003     ,M,Rx,End       ,  -         ,02,  ,  ,  ,  ,  ,  ,  ,  ,00\r\n");
}

TEST_F(LogWriterTest, ExtendedIdentifierColumnModes) {
  std::vector<MonitorRecord> group = ExtendedGroup(0, 0x3E, 3);
  group[0].flags |= MonitorRecord::kTxFlag;
  const std::string prefix = " 00:00:00.000     ,M,Tx,Extend    ,  -         ,";
  EXPECT_EQ(Sequence(group), prefix + "3e,01,02,03\r\n");

  format_.SetIdentifierField("ID+DLC", "HEX");
  EXPECT_EQ(Sequence(group), prefix + "e,8,01,02,03\r\n");
  format_.SetIdentifierField("ID+DLC", "DEC");
  EXPECT_EQ(Sequence(group), prefix + "14,8,01,02,03\r\n");
  group[0].ident = 0x1B;
  EXPECT_EQ(Sequence(group), prefix + "11,2,01,02,03\r\n");
  group[0].ident = 0x2B;
  EXPECT_EQ(Sequence(group), prefix + "11,4,01,02,03\r\n");

  group[0].error = kErrorSyncField;
  EXPECT_EQ(Sequence(group), " 00:00:00.000     ,M,Tx,Extend    ,Sync Field  ,01,02,03\r\n");
}

TEST_F(LogWriterTest, UnloggedExtendedKindsSkipTheWholeGroup) {
  std::vector<MonitorRecord> records = ExtendedGroup(0, 0x3E, 40);
  records[0].kind = 9;
  records.push_back(Frame(1, 0x01, kKindRequest));
  EXPECT_EQ(Sequence(records),
            " 00:00:00.001     ,M,Rx,Req       ,  -         ,01,  ,  ,  ,  ,  ,  ,  ,  ,00\r\n");
}

TEST_F(LogWriterTest, DamagedExtendedHeadersStayWithinTheirGroup) {
  // Announces 300 bytes but carries two records: the line ends with the group.
  std::vector<MonitorRecord> records = ExtendedGroup(0, 0x3E, 26);
  records[0].SetExtLength(300);
  records.push_back(Frame(1, 0x01, kKindRequest));
  const std::string request =
      " 00:00:00.001     ,M,Rx,Req       ,  -         ,01,  ,  ,  ,  ,  ,  ,  ,  ,00\r\n";
  EXPECT_EQ(Sequence(records),
            " 00:00:00.000     ,M,Rx,Extend    ,  -         ,3e,01" + CountingBytes(2, 25) + "\r\n" +
                request);

  // Announces 0 bytes in a group of three: the continuation records are not events.
  records = ExtendedGroup(0, 0x3E, 30);
  records[0].SetExtLength(0);
  records.push_back(Frame(1, 0x01, kKindRequest));
  EXPECT_EQ(Sequence(records), " 00:00:00.000     ,M,Rx,Extend    ,  -         ,3e,\r\n" + request);
}

TEST_F(LogWriterTest, ExtendedRecordsWrittenOneByOne) {
  const std::vector<MonitorRecord> group = ExtendedGroup(0, 0x3F, 30);
  ScratchFile file;
  EXPECT_EQ(WriteExtendedLogRecord(file.get(), group[0], 30, 30, format_), 23);
  EXPECT_EQ(WriteExtendedLogRecord(file.get(), group[1], 23, 30, format_), 4);
  EXPECT_EQ(file.Text(), " 00:00:00.000     ,M,Rx,Extend    ,  -         ,3f,01" +
                             CountingBytes(2, 25));
  EXPECT_EQ(WriteExtendedLogRecord(file.get(), group[2], 4, 30, format_), 0);
  EXPECT_TRUE(file.Text().ends_with(",1d,1e\r\n"));
}

}  // namespace
}  // namespace orvane::monitor
