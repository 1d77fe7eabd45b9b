// The monitor pipe over virtual time: block pacing, draining at stop, clean
// traffic at the bus's real frame rate, and the header statistics.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "emulator/LinFrame.h"
#include "emulator/VirtualAnalyzer.h"
#include "tests/emulator/PipeClient.h"

namespace orvane::emulator {
namespace {

using testing::MonitorBlock;
using testing::PipeClient;
using testing::RecordsOf;

constexpr Micros kSeconds(std::int64_t s) { return Micros(s * 1'000'000); }

// Milliseconds a frame with `length` data bytes needs at 9600 bit/s: break,
// delimiter, sync and identifier, response space, data and checksum bytes
// with their spaces.
double FrameMillis(int length) { return (13 + 1 + 10 + 10 + 2 + 10.0 * (length + 1) + length) / 9.6; }

std::span<const std::uint8_t> DataOf(const UnitRecord& record) {
  return std::span(record.data).first(static_cast<std::size_t>(DefaultDataLength(record.ident & 0x3F)));
}

class MonitorTest : public ::testing::Test {
 protected:
  explicit MonitorTest(AnalyzerProfile profile = *ProfileNamed("clean"))
      : unit_(clock_, std::move(profile)) {}

  std::shared_ptr<VirtualClock> clock_ = std::make_shared<VirtualClock>();
  VirtualAnalyzer unit_;
  PipeClient client_{unit_};
};

TEST_F(MonitorTest, BlocksComeEvery20msWithNoRecordsWhileStopped) {
  ASSERT_TRUE(client_.TargetGo());
  for (int i = 1; i <= 5; ++i) {
    const auto block = client_.ReadBlock();
    ASSERT_TRUE(block);
    EXPECT_EQ(block->size, 27u);
    EXPECT_EQ(block->header.record_count, 0);
    EXPECT_EQ(clock_->NowMicros(), i * 20'000);
  }
}

TEST_F(MonitorTest, CleanTrafficForTenSecondsIsWellFormedAtTheBusRate) {
  ASSERT_TRUE(client_.StartMonitoring());
  const std::vector<MonitorBlock> blocks = client_.ReadBlocksFor(kSeconds(10));
  for (const MonitorBlock& block : blocks) {
    ASSERT_LE(block.header.record_count, 25);
    EXPECT_EQ(block.size, 27u + 19u * block.header.record_count);
    EXPECT_EQ(block.records.size(), block.header.record_count);
  }

  const std::vector<UnitRecord> records = RecordsOf(blocks);
  // Six frames every 80 ms.
  EXPECT_NEAR(static_cast<double>(records.size()), 750, 6);
  for (std::size_t i = 0; i < records.size(); ++i) {
    const UnitRecord& record = records[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(record.kind, 1);
    EXPECT_EQ(record.error, 0);
    EXPECT_EQ(record.flags, 0);
    EXPECT_EQ(record.sync, 0x55);
    EXPECT_TRUE(HasValidParity(record.ident));
    EXPECT_EQ(record.checksum, ClassicChecksum(DataOf(record)));
    EXPECT_EQ(record.node, (record.ident & 0x3F) == 0x05 || (record.ident & 0x3F) == 0x20 ? 1 : 2);
    if (i > 0) {
      // A frame cannot end sooner after the previous one than it lasts.
      EXPECT_GE(record.time - records[i - 1].time,
                static_cast<int>(FrameMillis(DefaultDataLength(record.ident & 0x3F))));
    }
  }

  const UnitBlockHeader& last = blocks.back().header;
  EXPECT_EQ(last.packet_total, records.size());
  EXPECT_EQ(last.bus_state, 0);
  // 3 x 2-byte, 2 x 4-byte and 1 x 8-byte frame in every 80 ms cycle.
  const double load = (3 * FrameMillis(2) + 2 * FrameMillis(4) + FrameMillis(8)) / 80;
  EXPECT_NEAR(last.bus_load, load * 1000, 25);
}

TEST_F(MonitorTest, SignalValuesChangeFromFrameToFrame) {
  ASSERT_TRUE(client_.StartMonitoring());
  std::vector<int> alive_counters;
  for (const UnitRecord& record : RecordsOf(client_.ReadBlocksFor(kSeconds(2)))) {
    if ((record.ident & 0x3F) == 0x05) alive_counters.push_back(record.data[0] >> 4);
  }
  ASSERT_GE(alive_counters.size(), 20u);
  for (std::size_t i = 1; i < alive_counters.size(); ++i) {
    EXPECT_EQ(alive_counters[i], (alive_counters[i - 1] + 1) % 16);
  }
}

TEST_F(MonitorTest, StopDrainsEveryBufferedRecordThenSendsEmptyBlocks) {
  // A reference unit that keeps monitoring sees the same deterministic bus.
  auto reference_clock = std::make_shared<VirtualClock>();
  VirtualAnalyzer reference(reference_clock, *ProfileNamed("clean"));
  PipeClient reference_client(reference);
  ASSERT_TRUE(reference_client.StartMonitoring());
  ASSERT_TRUE(client_.StartMonitoring());

  // Nobody reads for 2 s: about 150 records pile up in the unit.
  clock_->Advance(kSeconds(2));
  ASSERT_TRUE(client_.MonitorStop());
  const std::int32_t stop_ms = 2000;

  std::vector<MonitorBlock> drained;
  do {
    auto block = client_.ReadBlock();
    ASSERT_TRUE(block);
    drained.push_back(std::move(*block));
  } while (drained.back().header.record_count != 0);
  EXPECT_EQ(drained[0].header.record_count, 25);
  EXPECT_EQ(drained[1].header.record_count, 25);
  // Full blocks of the backlog go out at once; only the last partial block
  // and the empty one wait for the 20 ms period.
  EXPECT_EQ(clock_->NowMicros(), kSeconds(2).count() + 2 * 20'000);

  std::vector<UnitRecord> expected;
  for (const UnitRecord& record : RecordsOf(reference_client.ReadBlocksFor(kSeconds(3)))) {
    if (record.time <= stop_ms) expected.push_back(record);
  }
  const std::vector<UnitRecord> got = RecordsOf(drained);
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(+got[i].time, +expected[i].time);
    EXPECT_EQ(got[i].ident, expected[i].ident);
  }
  for (const MonitorBlock& block : client_.ReadBlocksFor(Micros(200'000))) {
    EXPECT_EQ(block.header.record_count, 0);
  }
}

TEST_F(MonitorTest, AFullBufferLosesNewRecordsAndSaysSo) {
  ASSERT_TRUE(client_.StartMonitoring());
  // 75 frames a second: a minute unread is more than the unit can hold.
  clock_->Advance(kSeconds(60));
  std::vector<UnitRecord> records;
  while (records.size() < 4096 + 100) {
    const auto block = client_.ReadBlock();
    ASSERT_TRUE(block);
    records.insert(records.end(), block->records.begin(), block->records.end());
  }
  for (std::size_t i = 0; i < 4096; ++i) ASSERT_EQ(records[i].kind, 1) << i;
  EXPECT_LT(+records[4095].time, 60'000);
  // Once there is room again, the gap is reported before the next frame.
  EXPECT_EQ(records[4096].kind, 4);
  EXPECT_EQ(records[4096].error, 10);
  EXPECT_GE(+records[4096].time, 60'000);
  EXPECT_EQ(records[4097].kind, 1);
  EXPECT_EQ(+records[4097].time, +records[4096].time);
}

TEST_F(MonitorTest, RecordsOnlyWhileMonitoringAndCountingFromStart) {
  ASSERT_TRUE(client_.TargetGo());
  clock_->Advance(kSeconds(1));
  ASSERT_TRUE(client_.MonitorStart());
  const std::vector<MonitorBlock> blocks = client_.ReadBlocksFor(Micros(400'000));
  const std::vector<UnitRecord> records = RecordsOf(blocks);
  ASSERT_FALSE(records.empty());
  EXPECT_GE(+records.front().time, 1000);
  EXPECT_EQ(blocks.back().header.packet_total, records.size());
}

TEST_F(MonitorTest, BootProgramDoesNotMonitor) {
  EXPECT_FALSE(client_.MonitorStart());
  for (const MonitorBlock& block : client_.ReadBlocksFor(Micros(500'000))) {
    EXPECT_EQ(block.header.record_count, 0);
  }
}

}  // namespace
}  // namespace orvane::emulator
