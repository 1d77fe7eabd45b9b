// Writing records as pcapng and reading captures back: the exact bytes of
// the blocks, exact round trips, captures of other tools (pcapng of either
// byte order, classic pcap) and damaged files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "review/CaptureReader.h"
#include "review/ReadProblems.h"
#include "tests/review/CaptureSamples.h"

namespace orvane::review::test {
namespace {

using ::testing::ElementsAre;
using ::testing::Field;

constexpr std::int64_t kStart = 1772366400250;  // 2026-03-01 12:00:00.250 UTC

std::string Le16(std::uint16_t value) {
  return {static_cast<char>(value), static_cast<char>(value >> 8)};
}
std::string Le32(std::uint32_t value) {
  return Le16(static_cast<std::uint16_t>(value)) + Le16(static_cast<std::uint16_t>(value >> 16));
}
std::string Be32(std::uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
          static_cast<char>(value >> 8), static_cast<char>(value)};
}
std::string Option(std::uint16_t code, const std::string& value) {
  return Le16(code) + Le16(static_cast<std::uint16_t>(value.size())) + value +
         std::string((4 - value.size() % 4) % 4, '\0');
}
std::string Repeat(const std::string& text, int count) {
  std::string result;
  for (int index = 0; index < count; ++index) result += text;
  return result;
}
std::vector<std::uint8_t> ToBytes(const std::string& text) {
  return {text.begin(), text.end()};
}
std::string ToText(const std::vector<std::uint8_t>& bytes) {
  return {bytes.begin(), bytes.end()};
}

RecordingSource Analyzer() {
  return {"LIN Analyzer Firmware", "00000042", "Ver.3.11", kStart};
}

void ExpectSameRecords(const std::vector<MonitorRecord>& actual,
                       const std::vector<MonitorRecord>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t index = 0; index < expected.size(); ++index) {
    EXPECT_TRUE(SameBytes(actual[index], expected[index])) << "record " << index;
  }
}

TEST(PcapngWriter, WritesTheBlocksByteForByte) {
  const MonitorRecord frame = FrameRecord(1500, 0x12, 2, emulator::ChecksumModel::kClassic);
  const std::string bytes = ToText(WriteCapture({frame}, DefaultLengths(), Analyzer()));

  const std::string formatComment =
      "Orvane log format: lengths=" + Repeat("02", 32) + Repeat("04", 16) + Repeat("08", 16) +
      " field=IDEN radix=HEX io=IO1_UP,IO1_DN,IO2_UP,IO2_DN,IO3_UP,IO3_DN";
  const std::string sectionOptions = Option(4, "Orvane") +
                                     Option(1, "analyzer time 0 at 2026-03-01 12:00:00.250 UTC") +
                                     Option(1, formatComment) + Le32(0);
  const auto sectionLength = static_cast<std::uint32_t>(28 + sectionOptions.size());
  const std::string section = "\x0a\x0d\x0d\x0a" + Le32(sectionLength) + "\x4d\x3c\x2b\x1a" +
                              Le16(1) + Le16(0) + std::string(8, '\xff') + sectionOptions +
                              Le32(sectionLength);
  const std::string interfaceOptions =
      Option(9, "\x03") + Option(3, "LIN Analyzer Firmware, serial 00000042, firmware Ver.3.11") +
      Le32(0);
  const auto interfaceLength = static_cast<std::uint32_t>(20 + interfaceOptions.size());
  const std::string interface = Le32(1) + Le32(interfaceLength) + Le16(212) + Le16(0) + Le32(0) +
                                interfaceOptions + Le32(interfaceLength);
  // Header: revision 1, length 2 | frame | classic, PID 0x92, checksum, no
  // errors; then all 8 data bytes.
  const std::string packet = std::string("\x01\x00\x00\x00\x21\x92", 6) +
                             static_cast<char>(frame.checksum) +
                             std::string("\x00\x11\x22\x00\x00\x00\x00\x00\x00", 9);
  const std::string packetBlock =
      Le32(6) + Le32(100) + Le32(0) + Le32(0x19c) + Le32(0xa94510d6) + Le32(16) + Le32(16) +
      packet + Option(1, "Orvane node=2 flags=0 kind=1 error=0 sync=85") + Le32(0) + Le32(100);
  EXPECT_EQ(bytes, section + interface + packetBlock);
}

TEST(PcapngRoundTrip, GivesBackEveryRecordTheFormatAndTheAnalyzer) {
  const std::vector<MonitorRecord> records = VariedRecords();
  monitor::LogFormat format = DefaultLengths();
  format.dataLengths[0x3C] = 5;
  format.ioEventNames[0] = "Door open";
  format.identifierWithLengthCode = true;
  format.hexRadix = false;

  const ReviewReadResult read = ParseCapture(WriteCapture(records, format, Analyzer()));
  EXPECT_EQ(read.error, "");
  EXPECT_TRUE(read.review.problems.empty());
  ExpectSameRecords(read.review.records, records);
  EXPECT_EQ(read.review.format.dataLengths, format.dataLengths);
  EXPECT_EQ(read.review.format.ioEventNames, format.ioEventNames);
  EXPECT_TRUE(read.review.format.identifierWithLengthCode);
  EXPECT_FALSE(read.review.format.hexRadix);
  EXPECT_EQ(read.review.source.analyzerName, "LIN Analyzer Firmware");
  EXPECT_EQ(read.review.source.serialNumber, "00000042");
  EXPECT_EQ(read.review.source.firmwareVersion, "Ver.3.11");
  EXPECT_EQ(read.review.source.startUnixMilliseconds, kStart);
}

TEST(PcapngRoundTrip, KeepsNegativeAndWrappingTimesWithAndWithoutAStart) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  const std::vector<MonitorRecord> records = {
      Record(kMin, monitor::kKindWakeup, 0, 0), Record(-1, monitor::kKindWakeup, 0, 0),
      Record(kMax, monitor::kKindWakeup, 0, 0), Record(kMin, monitor::kKindWakeup, 0, 0),
      Record(kMin + 5, monitor::kKindWakeup, 0, 0)};
  for (const RecordingSource& source : {RecordingSource{}, Analyzer()}) {
    const ReviewReadResult read = ParseCapture(WriteCapture(records, DefaultLengths(), source));
    ExpectSameRecords(read.review.records, records);
    EXPECT_EQ(read.review.source.startUnixMilliseconds, source.startUnixMilliseconds);
  }
  // Without a start the section says so, with the base it used.
  const std::string bytes = ToText(WriteCapture(records, DefaultLengths(), {}));
  EXPECT_NE(bytes.find("analyzer time 0 at 1970-01-25 20:31:23.648 UTC (wall time unknown)"),
            std::string::npos);
}

TEST(PcapngRoundTrip, KeepsAGroupCutOffAtTheEnd) {
  std::vector<MonitorRecord> records = {FrameRecord(5, 0x01, 2, emulator::ChecksumModel::kClassic)};
  const std::vector<MonitorRecord> group = ExtendedGroup(7, 0x3F, 60);  // 4 records
  records.insert(records.end(), group.begin(), group.begin() + 2);
  const ReviewReadResult read = ParseCapture(WriteCapture(records, DefaultLengths(), {}));
  ExpectSameRecords(read.review.records, records);
}

// A classic pcap of another tool, little-endian microseconds: a frame with
// errors, a wake-up event, a frame of another identifier.
TEST(CaptureReader, ReadsClassicPcapOfOtherTools) {
  const auto record = [](std::uint32_t seconds, std::uint32_t fraction, const std::string& packet) {
    return Le32(seconds) + Le32(fraction) + Le32(static_cast<std::uint32_t>(packet.size())) +
           Le32(static_cast<std::uint32_t>(packet.size())) + packet;
  };
  const std::string header =
      Le32(0xa1b2c3d4) + Le16(2) + Le16(4) + Le32(0) + Le32(0) + Le32(65535) + Le32(212);
  const std::string pcap =
      header +
      record(100, 250000, std::string("\x01\x00\x00\x00\x31\x92\x5a\x08\xaa\xbb\xcc", 11)) +
      record(100, 900999, std::string("\x01\x00\x00\x00\x0c\x00\x00\x00\xb0\xb0\x00\x04", 12)) +
      record(102, 0, std::string("\x01\x00\x00\x00\x22\x25\x33\x00\x01\x02\x00\x00", 12));

  const ReviewReadResult read = ParseCapture(ToBytes(pcap));
  EXPECT_EQ(read.error, "");
  EXPECT_TRUE(read.review.problems.empty());
  MonitorRecord error =
      Record(0, monitor::kKindError, monitor::kErrorChecksum, 0x12, monitor::kNodeNeither);
  error.data[0] = 0xaa, error.data[1] = 0xbb, error.data[2] = 0xcc, error.checksum = 0x5a;
  MonitorRecord wakeup = Record(650, monitor::kKindWakeup, 0, 0, monitor::kNodeNeither);
  wakeup.ident = 0;
  MonitorRecord frame = Record(1750, monitor::kKindEnd, 0, 0x25, monitor::kNodeNeither);
  frame.data[0] = 1, frame.data[1] = 2, frame.checksum = 0x33;
  ExpectSameRecords(read.review.records, {error, wakeup, frame});
  EXPECT_EQ(read.review.format.dataLengths[0x12], 3);
  EXPECT_EQ(read.review.format.dataLengths[0x25], 2);
  EXPECT_EQ(read.review.format.dataLengths[0x00], 0);
  EXPECT_EQ(read.review.source.startUnixMilliseconds, std::nullopt);

  // Big-endian nanoseconds: the same times.
  const auto bigRecord = [](std::uint32_t seconds, std::uint32_t fraction,
                            const std::string& packet) {
    return Be32(seconds) + Be32(fraction) + Be32(static_cast<std::uint32_t>(packet.size())) +
           Be32(static_cast<std::uint32_t>(packet.size())) + packet;
  };
  const std::string bigEndian =
      Be32(0xa1b23c4d) + std::string(16, '\0') + Be32(212) +
      bigRecord(100, 250000000,
                std::string("\x01\x00\x00\x00\x0c\x00\x00\x00\xb0\xb0\x00\x04", 12)) +
      bigRecord(100, 900999999,
                std::string("\x01\x00\x00\x00\x0c\x00\x00\x00\xb0\xb0\x00\x01", 12));
  const ReviewReadResult big = ParseCapture(ToBytes(bigEndian));
  ASSERT_EQ(big.review.records.size(), 2u);
  EXPECT_EQ(big.review.records[1].time, 650);
  EXPECT_EQ(big.review.records[1].kind, monitor::kKindSleep);
}

// A big-endian pcapng of another tool: microsecond time stamps, an
// Ethernet interface whose packet is skipped, an unknown block, a LIN event
// nobody knows, and a simple packet block.
TEST(CaptureReader, ReadsBigEndianPcapngWithSeveralInterfaces) {
  const auto block = [](std::uint32_t type, const std::string& body) {
    const auto length = static_cast<std::uint32_t>(12 + body.size());
    return Be32(type) + Be32(length) + body + Be32(length);
  };
  const auto packet = [&](std::uint32_t interface, std::uint64_t micros, const std::string& data) {
    return block(6, Be32(interface) + Be32(static_cast<std::uint32_t>(micros >> 32)) +
                        Be32(static_cast<std::uint32_t>(micros)) +
                        Be32(static_cast<std::uint32_t>(data.size())) +
                        Be32(static_cast<std::uint32_t>(data.size())) + data +
                        std::string((4 - data.size() % 4) % 4, '\0'));
  };
  const std::string frame("\x01\x00\x00\x00\x81\x3c\x77\x00\x00\x01\x02\x03\x04\x05\x06\x07", 16);
  const std::string capture =
      block(0x0A0D0D0A,
            Be32(0x1A2B3C4D) + std::string("\x00\x01\x00\x00", 4) + std::string(8, '\xff')) +
      block(1, std::string("\x00\xd4\x00\x00", 4) + Be32(0)) +  // LIN, microseconds
      block(1, std::string("\x00\x01\x00\x00", 4) + Be32(0)) +  // Ethernet
      packet(1, 5000000, std::string(14, '\x01')) +             // block 4: Ethernet
      packet(0, 7000000, frame) +                               // block 5
      block(0x0BAD, "abcd") +                                   // block 6: unknown
      packet(0, 7001500, std::string("\x01\x00\x00\x00\x0c\x00\x00\x00\x12\x34\x56\x78", 12)) +
      block(3, Be32(12) + std::string("\x01\x00\x00\x00\x0c\x00\x00\x00\xb0\xb0\x00\x02", 12));

  const ReviewReadResult read = ParseCapture(ToBytes(capture));
  EXPECT_EQ(read.error, "");
  ASSERT_EQ(read.review.records.size(), 2u);
  EXPECT_EQ(read.review.records[0].time, 0);
  EXPECT_EQ(read.review.records[0].kind, monitor::kKindEnd);
  EXPECT_EQ(read.review.records[0].ident, 0x3c);
  EXPECT_EQ(read.review.records[0].data[7], 0x07);
  // The simple packet block (first interface) has the time of the packet before.
  EXPECT_EQ(read.review.records[1].time, 1);
  EXPECT_EQ(read.review.records[1].kind, monitor::kKindBusSleep);
  EXPECT_EQ(read.review.format.dataLengths[0x3c], 8);
  EXPECT_THAT(read.review.problems,
              ElementsAre(AllOf(Field(&ReadProblem::position, 7u),
                                Field(&ReadProblem::reason, "unknown LIN event 0x12345678"))));
}

TEST(CaptureReader, KeepsWhatComesBeforeADamagedBlock) {
  const std::vector<MonitorRecord> records = VariedRecords();
  const std::vector<std::uint8_t> bytes = WriteCapture(records, DefaultLengths(), Analyzer());

  // Cut in the middle of the last packet block (block 20: 2 headers, 18 packets).
  const std::vector<std::uint8_t> cut(bytes.begin(), bytes.end() - 10);
  const ReviewReadResult read = ParseCapture(cut);
  EXPECT_EQ(read.error, "");
  ExpectSameRecords(read.review.records, {records.begin(), records.end() - 1});
  EXPECT_THAT(read.review.problems,
              ElementsAre(AllOf(Field(&ReadProblem::position, 20u),
                                Field(&ReadProblem::reason, "block 20 is cut short"))));
  EXPECT_EQ(DescribeReadProblems(read.review.problems, "block"),
            "1 block could not be read and was left out: 20.");

  // A damaged trailing length in block 3 (the first packet).
  std::vector<std::uint8_t> damaged = bytes;
  std::size_t at = 0;
  for (int block = 1; block < 3; ++block) at += bytes[at + 4] | (bytes[at + 5] << 8);
  const std::size_t length = bytes[at + 4] | (bytes[at + 5] << 8);
  damaged[at + length - 4] ^= 0x01;
  const ReviewReadResult broken = ParseCapture(damaged);
  EXPECT_TRUE(broken.review.records.empty());
  EXPECT_THAT(broken.review.problems,
              ElementsAre(Field(&ReadProblem::reason, "block 3 has a damaged length")));
}

TEST(CaptureReader, RefusesOtherLinkTypesAndOtherFiles) {
  const std::string ethernetPcap =
      Le32(0xa1b2c3d4) + Le16(2) + Le16(4) + std::string(12, '\0') + Le32(1);
  EXPECT_EQ(ParseCapture(ToBytes(ethernetPcap)).error,
            "the capture holds link type 1, not LIN (212); there is nothing to read");

  std::string pcapng = ToText(WriteCapture({}, DefaultLengths(), {}));
  const std::size_t interface = pcapng.find(Le16(212));
  pcapng.replace(interface, 2, Le16(228));
  EXPECT_EQ(ParseCapture(ToBytes(pcapng)).error,
            "the capture holds link type 228, not LIN (212); there is nothing to read");

  EXPECT_EQ(ParseCapture(ToBytes("TIME,M/S,Tx/Rx\r\n")).error, "not a pcapng or pcap file");
  EXPECT_EQ(ParseCapture(ToBytes("")).error, "not a pcapng or pcap file");
  EXPECT_EQ(ReadCaptureFile("/nonexistent/orvane.pcapng").error,
            "cannot open /nonexistent/orvane.pcapng");

  const ReviewReadResult badOrder =
      ParseCapture(ToBytes("\x0a\x0d\x0d\x0a" + Le32(28) + "abcd" + std::string(16, '\0')));
  EXPECT_THAT(badOrder.review.problems,
              ElementsAre(Field(&ReadProblem::reason,
                                "block 1 is a section header of unknown byte order")));
}

}  // namespace
}  // namespace orvane::review::test
