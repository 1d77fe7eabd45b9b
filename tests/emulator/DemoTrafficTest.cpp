// The default demo network's deliberate events, and how the unit's own
// settings (length table, baud rate, mode, I/O enables) change what it
// reports about the same bus.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

#include "emulator/BaudTiming.h"
#include "emulator/LinFrame.h"
#include "emulator/VirtualAnalyzer.h"
#include "tests/emulator/PipeClient.h"

namespace orvane::emulator {
namespace {

using ::testing::ElementsAre;
using ::testing::Optional;
using testing::MonitorBlock;
using testing::PipeClient;
using testing::RecordsOf;

constexpr Micros kSeconds(std::int64_t s) { return Micros(s * 1'000'000); }

std::span<const std::uint8_t> DataOf(const UnitRecord& record) {
  return std::span(record.data).first(static_cast<std::size_t>(DefaultDataLength(record.ident & 0x3F)));
}

int CountIf(const std::vector<UnitRecord>& records, auto predicate) {
  return static_cast<int>(std::ranges::count_if(records, predicate));
}

class DemoTrafficTest : public ::testing::Test {
 protected:
  explicit DemoTrafficTest(AnalyzerProfile profile = {}) : unit_(clock_, std::move(profile)) {}

  // Reads past the frame on the bus when a setting changed, which still
  // ends as it began.
  void Settle() { client_.ReadBlocksFor(Micros(40'000)); }

  std::shared_ptr<VirtualClock> clock_ = std::make_shared<VirtualClock>();
  VirtualAnalyzer unit_;
  PipeClient client_{unit_};
};

TEST_F(DemoTrafficTest, DefaultProfileEventsAreRareAndWellFormed) {
  ASSERT_TRUE(client_.StartMonitoring());
  const std::vector<MonitorBlock> blocks = client_.ReadBlocksFor(kSeconds(90));
  const std::vector<UnitRecord> records = RecordsOf(blocks);

  std::set<int> errors_seen;
  for (const UnitRecord& record : records) {
    SCOPED_TRACE(+record.time);
    switch (record.kind) {
      case 1:
        EXPECT_TRUE(HasValidParity(record.ident));
        EXPECT_EQ(record.sync, 0x55);
        EXPECT_EQ(record.checksum, ClassicChecksum(DataOf(record)));
        break;
      case 4:
        errors_seen.insert(record.error);
        if (record.error == 2) {
          EXPECT_NE(record.checksum, ClassicChecksum(DataOf(record)));
        } else if (record.error == 7) {
          EXPECT_NE(record.sync, 0x55);
        } else if (record.error == 1) {
          EXPECT_FALSE(HasValidParity(record.ident));
        } else if (record.error == 3 || record.error == 5) {
          EXPECT_EQ(record.node, 2);
        }
        break;
      case 2:
        EXPECT_EQ(record.ident, 0x3C);
        EXPECT_EQ(record.data[0], 0x00);
        break;
      case 3:
        EXPECT_EQ(record.node, 2);
        break;
      default:
        ADD_FAILURE() << "unexpected kind " << int{record.kind};
    }
  }
  // Every kind of disturbance once, one every 5 to 9 s.
  EXPECT_THAT(errors_seen, ElementsAre(1, 2, 3, 5, 6, 7, 9, 11));
  const int errors = CountIf(records, [](const UnitRecord& r) { return r.kind == 4; });
  EXPECT_GE(errors, 90 / 9 - 1);
  EXPECT_LE(errors, 90 / 5 + 1);
  EXPECT_EQ(CountIf(records, [](const UnitRecord& r) { return r.kind == 2; }), 1);
  EXPECT_EQ(CountIf(records, [](const UnitRecord& r) { return r.kind == 3; }), 1);
}

TEST_F(DemoTrafficTest, SleepAndWakeupShowInRecordsAndBusState) {
  ASSERT_TRUE(client_.StartMonitoring());
  std::vector<UnitRecord> records;
  std::vector<std::pair<std::int64_t, int>> states;  // clock time, bus state
  while (clock_->NowMicros() < kSeconds(70).count()) {
    const auto block = client_.ReadBlock();
    ASSERT_TRUE(block);
    records.insert(records.end(), block->records.begin(), block->records.end());
    states.emplace_back(clock_->NowMicros(), block->header.bus_state);
  }
  const auto sleep = std::ranges::find(records, 2, &UnitRecord::kind);
  const auto wakeup = std::ranges::find(records, 3, &UnitRecord::kind);
  ASSERT_NE(sleep, records.end());
  ASSERT_NE(wakeup, records.end());
  ASSERT_LT(sleep, wakeup);
  // The bus is silent in between; a slave wakes it after 1.5 s and the
  // master resumes 120 ms after the pulse.
  EXPECT_EQ(wakeup - sleep, 1);
  EXPECT_NEAR(wakeup->time - sleep->time, 1500, 2);
  EXPECT_GE(std::next(wakeup)->time - wakeup->time, 120);
  EXPECT_LE(std::next(wakeup)->time - wakeup->time, 140);

  const auto state_at = [&](std::int64_t ms) {
    return std::ranges::find_if(states, [&](const auto& s) { return s.first >= ms * 1000; })->second;
  };
  EXPECT_EQ(state_at(sleep->time - 100), 0);
  EXPECT_EQ(state_at(sleep->time + 100), 1);
  EXPECT_EQ(state_at(wakeup->time + 60), 2);
  EXPECT_EQ(state_at(wakeup->time + 400), 0);
}

TEST_F(DemoTrafficTest, IoEventsOnlyOnEnabledChannels) {
  ASSERT_TRUE(client_.StartMonitoring());
  for (const UnitRecord& record : RecordsOf(client_.ReadBlocksFor(kSeconds(10)))) {
    EXPECT_LT(record.kind, 10);
  }
  ASSERT_TRUE(client_.MemoryWriteByte(0x041A, 1));  // channel 2
  std::vector<UnitRecord> io;
  for (const UnitRecord& record : RecordsOf(client_.ReadBlocksFor(kSeconds(20)))) {
    if (record.kind >= 10) io.push_back(record);
  }
  // Channel 2 changes level every 4.1 s: 12.3 s up, 16.4 s down, ...
  ASSERT_EQ(io.size(), 5u);
  for (std::size_t i = 0; i < io.size(); ++i) {
    EXPECT_EQ(io[i].kind, i % 2 == 0 ? 12 : 13);
    EXPECT_EQ(+io[i].time, static_cast<std::int32_t>(4100 * (i + 3)));
    EXPECT_EQ(io[i].node, 0);
    EXPECT_EQ(io[i].ident, 0);
  }
}

TEST_F(DemoTrafficTest, BaudMeasurementReportsTheBusRate) {
  ASSERT_TRUE(client_.StartMonitoring());
  ASSERT_TRUE(client_.MemoryWriteByte(0x0401, 3));
  const std::vector<MonitorBlock> blocks = client_.ReadBlocksFor(Micros(200'000));
  EXPECT_THAT(client_.MemoryRead(0x0417, 2), Optional(ElementsAre(0x80, 0x25)));
  // Measuring, the unit decodes no frames but still counts them.
  EXPECT_TRUE(RecordsOf(blocks).empty());
  EXPECT_GT(blocks.back().header.packet_total, 10u);

  unit_.SetBusBaud(19200);
  Settle();
  EXPECT_THAT(client_.MemoryRead(0x0417, 2), Optional(ElementsAre(0x00, 0x4B)));
}

TEST_F(DemoTrafficTest, BusFasterOrSlowerThanTheUnitGivesErrorsUntilTheTimingMatches) {
  ASSERT_TRUE(client_.StartMonitoring());
  unit_.SetBusBaud(19200);
  Settle();
  std::vector<MonitorBlock> blocks = client_.ReadBlocksFor(Micros(500'000));
  std::vector<UnitRecord> records = RecordsOf(blocks);
  ASSERT_FALSE(records.empty());
  for (const UnitRecord& record : records) {
    EXPECT_EQ(record.kind, 4);
    EXPECT_EQ(record.error, 9);
  }
  EXPECT_EQ(blocks.back().header.bus_state, 3);

  unit_.SetBusBaud(4800);
  Settle();
  for (const UnitRecord& record : RecordsOf(client_.ReadBlocksFor(Micros(500'000)))) {
    EXPECT_EQ(record.error, 7);
  }

  ASSERT_TRUE(client_.MemoryWrite(0x0402, *TimingForBaud(4800)));
  Settle();
  blocks = client_.ReadBlocksFor(Micros(500'000));
  records = RecordsOf(blocks);
  ASSERT_FALSE(records.empty());
  for (const UnitRecord& record : records) EXPECT_EQ(record.kind, 1);
  EXPECT_EQ(blocks.back().header.bus_state, 0);
}

TEST_F(DemoTrafficTest, UnknownTimingBytesKeepTheLastRecognisedRate) {
  ASSERT_TRUE(client_.StartMonitoring());
  ASSERT_TRUE(client_.MemoryWrite(0x0402, std::vector<std::uint8_t>(10, 0x11)));
  for (const UnitRecord& record : RecordsOf(client_.ReadBlocksFor(Micros(300'000)))) {
    EXPECT_EQ(record.kind, 1);
  }
}

TEST_F(DemoTrafficTest, TheUnitsLengthTableDecidesHowFramesAreRead) {
  ASSERT_TRUE(client_.StartMonitoring());
  ASSERT_TRUE(client_.MemoryWriteByte(0x11B0 + 0x11, 0x82));  // DoorLeftStatus: enhanced
  ASSERT_TRUE(client_.MemoryWriteByte(0x11B0 + 0x12, 4));     // DoorRightStatus: 4 bytes
  Settle();
  for (const UnitRecord& record : RecordsOf(client_.ReadBlocksFor(Micros(800'000)))) {
    switch (record.ident & 0x3F) {
      case 0x11:
        EXPECT_EQ(record.error, 2);
        break;
      case 0x12:
        EXPECT_EQ(record.error, 3);
        break;
      default:
        EXPECT_EQ(record.kind, 1);
    }
  }
}

class Lin20TrafficTest : public DemoTrafficTest {
 protected:
  Lin20TrafficTest() : DemoTrafficTest(*ProfileNamed("lin20")) {}
};

TEST_F(Lin20TrafficTest, EnhancedChecksumsNeedAnEnhancedLengthTable) {
  ASSERT_TRUE(client_.StartMonitoring());
  for (const UnitRecord& record : RecordsOf(client_.ReadBlocksFor(Micros(500'000)))) {
    EXPECT_EQ(record.error, 2);
  }
  std::vector<std::uint8_t> table(64);
  for (std::uint8_t id = 0; id < 64; ++id) {
    table[id] = static_cast<std::uint8_t>(DefaultDataLength(id) | (id < 0x3C ? 0x80 : 0));
  }
  ASSERT_TRUE(client_.MemoryWrite(0x11B0, table));
  Settle();
  const std::vector<UnitRecord> records = RecordsOf(client_.ReadBlocksFor(kSeconds(4)));
  ASSERT_FALSE(records.empty());
  for (const UnitRecord& record : records) {
    if (record.kind != 1) continue;
    EXPECT_EQ(record.checksum, EnhancedChecksum(record.ident, DataOf(record)));
  }
  EXPECT_LE(CountIf(records, [](const UnitRecord& r) { return r.kind == 4; }), 1);
}

}  // namespace
}  // namespace orvane::emulator
