// Ten seconds of the virtual analyzer's bus traffic read through
// MonitorRead, checked as a LIN bus would have to produce it.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "link/orlink.h"
#include "tests/support/VirtualLinkRig.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;

constexpr std::size_t kHeaderSize = 27;
constexpr std::size_t kRecordSize = 19;
constexpr std::size_t kMaxRecords = 25;
constexpr std::uint8_t kCompleteFrame = 1;
constexpr std::uint8_t kIdentifierMask = 0x3F;
constexpr int kBusBaud = 9600;

struct Record {
  std::int32_t time;
  std::uint8_t group;  // records in an extended-frame group, 0 for an ordinary one
  std::uint8_t kind;
  std::uint8_t error;
  std::uint8_t ident;
  std::array<std::uint8_t, 8> data;
  std::uint8_t checksum;
};

Record Decode(std::span<const std::uint8_t> bytes) {
  Record record{};
  record.time = static_cast<std::int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                          static_cast<std::uint32_t>(bytes[3]) << 24);
  record.group = bytes[5] & 0x0F;
  record.kind = bytes[6];
  record.error = bytes[7];
  record.ident = bytes[8];
  std::copy_n(bytes.begin() + 10, 8, record.data.begin());
  record.checksum = bytes[18];
  return record;
}

std::uint8_t ProtectedIdentifier(std::uint8_t id) {
  const auto bit = [id](int n) { return (id >> n) & 1; };
  const int p0 = bit(0) ^ bit(1) ^ bit(2) ^ bit(4);
  const int p1 = !(bit(1) ^ bit(3) ^ bit(4) ^ bit(5));
  return static_cast<std::uint8_t>(id | p0 << 6 | p1 << 7);
}

// Data length of the default identifier definition: from identifier bits 4-5.
std::size_t DataLength(std::uint8_t id) {
  constexpr std::array<std::size_t, 4> kLengths{2, 2, 4, 8};
  return kLengths[(id >> 4) & 3];
}

// Classic checksum: inverted sum with carry of the data bytes.
std::uint8_t ClassicChecksum(std::span<const std::uint8_t> data) {
  unsigned sum = 0;
  for (const std::uint8_t byte : data) {
    sum += byte;
    if (sum > 0xFF) sum -= 0xFF;
  }
  return static_cast<std::uint8_t>(~sum);
}

// Shortest time a frame with this many data bytes occupies the bus: a
// header of 34 bit times and 10 bit times per response byte.
int FrameBits(std::size_t data_length) { return 34 + 10 * static_cast<int>(data_length + 1); }

TEST(MonitorTrafficTest, TenSecondsOfBlocksHoldWellFormedLinFrames) {
  VirtualLinkRig rig;
  ASSERT_EQ(InitUSB(), 1);
  ASSERT_EQ(TargetGo(), 1);
  const std::uint8_t monitor_only = 0;
  ASSERT_EQ(MemoryWrite(0x0401, 1, &monitor_only), 1);
  ASSERT_EQ(MonitorStart(), 1);
  const auto start = rig.Elapsed();

  std::vector<Record> records;
  std::array<std::uint8_t, kHeaderSize> header{};
  std::vector<std::uint8_t> block(kMaxRecords * kRecordSize);
  while (rig.Elapsed() - start < 10s) {
    ASSERT_EQ(MonitorRead(header.data(), block.data(), kMaxRecords), 1);
    const std::size_t count = header[26];
    ASSERT_LE(count, kMaxRecords);
    for (std::size_t index = 0; index < count; ++index) {
      records.push_back(Decode(std::span(block).subspan(index * kRecordSize, kRecordSize)));
    }
  }
  ASSERT_EQ(MonitorStop(), 1);

  int complete_frames = 0;
  long long frame_bits = 0;
  std::optional<std::int32_t> previous_frame_time;
  std::int32_t previous_time = records.empty() ? 0 : records.front().time;
  for (std::size_t index = 0; index < records.size(); ++index) {
    const Record& record = records[index];
    EXPECT_GE(record.time, previous_time) << "record " << index;
    previous_time = record.time;
    if (record.group != 0) {
      index += record.group - 1;  // an extended frame and its continuation records
      continue;
    }
    if (record.kind != kCompleteFrame || record.error != 0) continue;
    const std::uint8_t id = record.ident & kIdentifierMask;
    EXPECT_EQ(record.ident, ProtectedIdentifier(id)) << "record " << index;
    const std::size_t length = DataLength(id);
    EXPECT_EQ(record.checksum, ClassicChecksum(std::span(record.data).first(length)))
        << "identifier " << int{id} << " at " << record.time << " ms";
    ++complete_frames;
    frame_bits += FrameBits(length);
    // Two frames cannot end closer together than the second one lasts
    // (time stamps are whole milliseconds).
    const int shortest_gap_ms = FrameBits(length) * 1000 / kBusBaud - 1;
    if (previous_frame_time) {
      EXPECT_GE(record.time - *previous_frame_time, shortest_gap_ms) << "at " << record.time;
    }
    previous_frame_time = record.time;
  }

  EXPECT_GT(complete_frames, 100);
  EXPECT_LE(frame_bits, 10LL * kBusBaud) << complete_frames << " frames in 10 s";
}

}  // namespace
}  // namespace orvane::testing
