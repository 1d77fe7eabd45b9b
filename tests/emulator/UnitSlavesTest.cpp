// The unit as simulated slaves (mode 1): it answers the demo network's
// master from the active slave table, in place of the demo slave that
// publishes the same identifier.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "emulator/LinFrame.h"
#include "emulator/MemoryMap.h"
#include "emulator/VirtualAnalyzer.h"
#include "tests/emulator/PipeClient.h"
#include "tests/emulator/SimulationHost.h"

namespace orvane::emulator {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::Field;
using testing::Entry;
using testing::ErrorEntry;
using testing::IsRecord;
using testing::OnIdentifier;
using testing::PipeClient;
using testing::RecordsOf;
using testing::SimulationHost;

constexpr std::uint8_t kSlaveMode = 1;

std::span<const std::uint8_t> DataOf(const UnitRecord& record, std::size_t length) {
  return std::span(record.data).first(length);
}

class UnitSlavesTest : public ::testing::Test {
 protected:
  UnitSlavesTest() { EXPECT_TRUE(host_.Prepare(kSlaveMode)); }

  bool Answer(const std::vector<TableEntry>& entries) {
    return host_.Download(entries, testing::kStateReplace, kSlaveEntries);
  }
  std::vector<UnitRecord> RecordsFor(std::int64_t millis) {
    return RecordsOf(client_.ReadBlocksFor(Micros(millis * 1000)));
  }

  std::shared_ptr<VirtualClock> clock_ = std::make_shared<VirtualClock>();
  VirtualAnalyzer unit_{clock_, *ProfileNamed("clean")};
  PipeClient client_{unit_};
  SimulationHost host_{client_};
};

TEST_F(UnitSlavesTest, ConfiguredIdentifiersAreAnsweredByTheUnitInsteadOfTheDemoSlaves) {
  ASSERT_TRUE(client_.MemoryWriteByte(kLengthTableAddress + 0x23, 0x84));  // 4 bytes, enhanced
  TableEntry disabled = Entry(EntryKind::kTx, 0x31, {0xEE});
  disabled.enable = 0;
  ASSERT_TRUE(Answer({disabled, Entry(EntryKind::kTx, 0x11, {0xAA, 0xBB}),
                      Entry(EntryKind::kTx, 0x23, {0x01, 0x02, 0x03, 0x04})}));
  ASSERT_TRUE(client_.MonitorStart());
  const std::vector<UnitRecord> records = RecordsFor(400);

  const std::vector<UnitRecord> door = OnIdentifier(records, 0x11);
  ASSERT_GE(door.size(), 4u);
  for (const UnitRecord& record : door) {
    EXPECT_THAT(record, IsRecord(1, 0, 0x80, 2));
    EXPECT_THAT(DataOf(record, 2), ElementsAre(0xAA, 0xBB));
    EXPECT_EQ(record.checksum, ClassicChecksum(DataOf(record, 2)));
  }
  const std::vector<UnitRecord> climate = OnIdentifier(records, 0x23);
  ASSERT_FALSE(climate.empty());
  for (const UnitRecord& record : climate) {
    EXPECT_EQ(record.kind, 1);
    EXPECT_THAT(DataOf(record, 4), ElementsAre(0x01, 0x02, 0x03, 0x04));
    EXPECT_EQ(record.checksum, EnhancedChecksum(ProtectedId(0x23), DataOf(record, 4)));
  }
  // The other demo slaves, and the one the unit's disabled entry names,
  // still answer for themselves.
  EXPECT_THAT(OnIdentifier(records, 0x12), Each(Field(&UnitRecord::flags, 0)));
  EXPECT_THAT(OnIdentifier(records, 0x31), Each(Field(&UnitRecord::flags, 0)));
  EXPECT_FALSE(OnIdentifier(records, 0x31).empty());
  EXPECT_THAT(records, Each(Field(&UnitRecord::kind, 1)));
}

TEST_F(UnitSlavesTest, ErrorEntriesGiveFaultyResponses) {
  ASSERT_TRUE(Answer({ErrorEntry(2, 0x11, {0x12, 0x34}), ErrorEntry(3, 0x12, {0x56, 0x78}),
                      ErrorEntry(0, 0x23, {1, 2, 3, 4}), ErrorEntry(1, 0x31, {9})}));
  ASSERT_TRUE(client_.MonitorStart());
  const std::vector<UnitRecord> records = RecordsFor(200);

  const std::vector<UnitRecord> checksum = OnIdentifier(records, 0x11);
  ASSERT_FALSE(checksum.empty());
  EXPECT_THAT(checksum[0], IsRecord(5, 2, 0x80, 2));
  EXPECT_THAT(DataOf(checksum[0], 2), ElementsAre(0x12, 0x34));
  EXPECT_NE(checksum[0].checksum, ClassicChecksum(DataOf(checksum[0], 2)));

  const std::vector<UnitRecord> short_message = OnIdentifier(records, 0x12);
  ASSERT_FALSE(short_message.empty());
  EXPECT_THAT(short_message[0], IsRecord(5, 3, 0x80, 2));
  EXPECT_EQ(short_message[0].data[0], 0x56);

  // Error 0 ("(None)" from the slave monitor) answers plainly; a header
  // fault is the master's and the unit answers plainly too.
  EXPECT_THAT(OnIdentifier(records, 0x23), Each(Field(&UnitRecord::kind, 1)));
  EXPECT_THAT(OnIdentifier(records, 0x31), Each(Field(&UnitRecord::kind, 1)));
  EXPECT_EQ(OnIdentifier(records, 0x31).at(0).data[0], 9);
}

TEST_F(UnitSlavesTest, ATableTakenWithState1AnswersFromTheNextHeader) {
  ASSERT_TRUE(Answer({Entry(EntryKind::kTx, 0x11, {0x01, 0x01})}));
  ASSERT_TRUE(client_.MonitorStart());
  clock_->Advance(Micros(150'000));
  ASSERT_TRUE(Answer({Entry(EntryKind::kTx, 0x11, {0x02, 0x02})}));
  const std::int64_t replaced_ms = clock_->NowMicros() / 1000;

  const std::vector<UnitRecord> door = OnIdentifier(RecordsFor(300), 0x11);
  ASSERT_GE(door.size(), 4u);
  // A frame ends at most 10 ms after the header that started it.
  for (const UnitRecord& record : door) {
    if (record.time < replaced_ms) {
      EXPECT_EQ(record.data[0], 0x01);
    } else if (record.time > replaced_ms + 10) {
      EXPECT_EQ(record.data[0], 0x02);
    }
  }
  EXPECT_EQ(door.front().data[0], 0x01);
  EXPECT_EQ(door.back().data[0], 0x02);
}

TEST_F(UnitSlavesTest, OutsideSlaveModeTheUnitDoesNotAnswer) {
  ASSERT_TRUE(Answer({Entry(EntryKind::kTx, 0x11, {0xAA, 0xBB})}));
  ASSERT_TRUE(client_.MemoryWriteByte(kModeRegister, 0));
  ASSERT_TRUE(client_.MonitorStart());
  const std::vector<UnitRecord> door = OnIdentifier(RecordsFor(200), 0x11);
  ASSERT_FALSE(door.empty());
  EXPECT_THAT(door, Each(Field(&UnitRecord::flags, 0)));
}

}  // namespace
}  // namespace orvane::emulator
