// The unit as bus master (mode 2): its schedule from the active table bank,
// one-time and run-once entries, injected errors, table replacement, the
// interrupt one-shot and the master simulation counters of the block header.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "emulator/LinFrame.h"
#include "emulator/MemoryMap.h"
#include "emulator/VirtualAnalyzer.h"
#include "tests/emulator/PipeClient.h"
#include "tests/emulator/SimulationHost.h"

namespace orvane::emulator {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::Entry;
using testing::ErrorEntry;
using testing::FrameMicros;
using testing::IsRecord;
using testing::MonitorBlock;
using testing::OnIdentifier;
using testing::PipeClient;
using testing::RecordsOf;
using testing::SimulationHost;
using testing::StampOf;

constexpr std::uint8_t kMasterMode = 2;
const std::int64_t kFrame2 = FrameMicros(2);  // a frame with 2 data bytes

// The identifiers of the first `count` records (all by default).
std::vector<std::uint8_t> IdsOf(const std::vector<UnitRecord>& records,
                                std::size_t count = SIZE_MAX) {
  std::vector<std::uint8_t> ids;
  for (const UnitRecord& record : records) {
    if (ids.size() == count) break;
    ids.push_back(record.ident & 0x3F);
  }
  return ids;
}

// `count` bytes of the record from offset `from`.
std::vector<std::uint8_t> BytesOf(const UnitRecord& record, std::size_t from = 0,
                                  std::size_t count = sizeof(UnitRecord)) {
  std::vector<std::uint8_t> bytes(sizeof(UnitRecord));
  std::memcpy(bytes.data(), &record, bytes.size());
  return {bytes.begin() + static_cast<std::ptrdiff_t>(from),
          bytes.begin() + static_cast<std::ptrdiff_t>(std::min(from + count, bytes.size()))};
}

class UnitMasterTest : public ::testing::Test {
 protected:
  // The demo network's master sends a frame at 0 that is still on the bus
  // when the mode changes; the schedules start once it has ended.
  UnitMasterTest() {
    EXPECT_TRUE(host_.Prepare(kMasterMode));
    clock_->Advance(Micros(kStart));
  }

  // Starts `entries` as a schedule and monitoring at the present time.
  void Run(const std::vector<TableEntry>& entries, bool run_once = false) {
    ASSERT_TRUE(host_.StartSchedule(entries, run_once));
    ASSERT_TRUE(client_.MonitorStart());
  }

  // The time stamp of a frame ending `micros` after kStart.
  static std::int32_t Stamp(std::int64_t micros) { return StampOf(kStart + micros); }
  static constexpr std::int64_t kStart = 20'000;

  std::vector<UnitRecord> RecordsFor(std::int64_t millis) {
    blocks_ = client_.ReadBlocksFor(Micros(millis * 1000));
    return RecordsOf(blocks_);
  }
  const UnitBlockHeader& LastHeader() const { return blocks_.back().header; }

  std::shared_ptr<VirtualClock> clock_ = std::make_shared<VirtualClock>();
  VirtualAnalyzer unit_{clock_, *ProfileNamed("clean")};
  PipeClient client_{unit_};
  SimulationHost host_{client_};
  std::vector<MonitorBlock> blocks_;
};

TEST_F(UnitMasterTest, EnabledEntriesRepeatInOrderEachWaitingItsDelayAfterItsFrame) {
  TableEntry disabled = Entry(EntryKind::kTx, 0x13, {}, 100);
  disabled.enable = 0;
  Run({Entry(EntryKind::kTx, 0x10, {0x01, 0x02}, 10), disabled, Entry(EntryKind::kNone, 0x14, {}, 100),
       Entry(EntryKind::kTx, 0x15, {0x03, 0x04}, 20), Entry(EntryKind::kTx, 0x1A, {0x05, 0x06}, 30)});
  const std::vector<UnitRecord> records = RecordsFor(300);

  // Disabled and empty entries are passed over without their delays.
  const std::array<std::pair<std::uint8_t, std::int64_t>, 3> cycle{{{0x10, 10}, {0x15, 20}, {0x1A, 30}}};
  std::vector<std::uint8_t> expected_ids;
  std::vector<std::int32_t> expected_stamps;
  for (std::int64_t end = kFrame2, i = 0; end <= 300'000; end += cycle[i % 3].second * 1000 + kFrame2, ++i) {
    expected_ids.push_back(cycle[i % 3].first);
    expected_stamps.push_back(Stamp(end));
  }
  ASSERT_EQ(expected_ids.size(), 12u);
  EXPECT_THAT(IdsOf(records), ElementsAreArray(expected_ids));
  std::vector<std::int32_t> stamps;
  for (const UnitRecord& record : records) stamps.push_back(record.time);
  EXPECT_THAT(stamps, ElementsAreArray(expected_stamps));

  for (const UnitRecord& record : records) {
    EXPECT_THAT(record, IsRecord(1, 0, 0x80, 1));
    EXPECT_EQ(record.ident, ProtectedId(record.ident & 0x3F));
    EXPECT_EQ(record.checksum, ClassicChecksum(std::span(record.data).first(2)));
  }
  EXPECT_THAT(std::span(records[1].data).first(2), ElementsAre(0x03, 0x04));
}

TEST_F(UnitMasterTest, RunOnceStopsAfterOneCycleAndOneTimeEntriesGoOutOncePerRun) {
  TableEntry once = Entry(EntryKind::kTx, 0x10, {}, 50);
  once.one_time = 1;
  Run({once, Entry(EntryKind::kTx, 0x15, {}, 5), Entry(EntryKind::kTx, 0x1A, {}, 5)});
  std::vector<UnitRecord> records = RecordsFor(200);
  ASSERT_GE(records.size(), 9u);
  EXPECT_EQ(OnIdentifier(records, 0x10).size(), 1u);
  // After the first cycle the one-time entry neither sends nor waits.
  EXPECT_EQ(records[3].time - records[2].time, Stamp(5000 + 2 * kFrame2) - Stamp(kFrame2));

  // A new run (state 2) sends it again; run once ends after one cycle.
  ASSERT_TRUE(host_.StartSchedule(std::vector{once, Entry(EntryKind::kTx, 0x15)}, /*run_once=*/true));
  records = RecordsFor(500);
  EXPECT_THAT(IdsOf(records), ElementsAre(0x10, 0x15));
  EXPECT_EQ(LastHeader().simulation_count, 1);
}

TEST_F(UnitMasterTest, ErrorEntriesAreReportedAsSimulationErrorsWithTheirCode) {
  for (const std::uint8_t code : {1, 2, 3, 6, 7, 11}) {
    SCOPED_TRACE(+code);
    ASSERT_TRUE(host_.StartSchedule(
        std::vector{ErrorEntry(code, 0x10, {0x11, 0x22}, 10), Entry(EntryKind::kTx, 0x15, {}, 10)},
        /*run_once=*/true));
    ASSERT_TRUE(client_.MonitorStart());
    const std::vector<UnitRecord> records = RecordsFor(100);
    ASSERT_TRUE(client_.MonitorStop());
    ASSERT_EQ(records.size(), 2u);
    const UnitRecord& error = records[0];
    EXPECT_THAT(error, IsRecord(5, code, 0x80, 1));
    // The fault is on the wire as the receiver read it.
    if (code == 1) {
      EXPECT_FALSE(HasValidParity(error.ident));
    } else if (code == 7) {
      EXPECT_EQ(error.sync, 0x57);
    } else if (code == 3) {
      EXPECT_EQ(error.data[0], 0x11);
    } else if (code == 2) {
      EXPECT_THAT(std::span(error.data).first(2), ElementsAre(0x11, 0x22));
      EXPECT_NE(error.checksum, ClassicChecksum(std::span(error.data).first(2)));
    }
    // The next frame is clean.
    EXPECT_EQ(records[1].kind, 1);
    EXPECT_EQ(records[1].ident, ProtectedId(0x15));
  }
}

TEST_F(UnitMasterTest, RxEntriesGetTheDemoSlavesResponseOrNoResponse) {
  Run({Entry(EntryKind::kRx, 0x11, {}, 10), Entry(EntryKind::kRx, 0x13, {}, 10)}, /*run_once=*/true);
  const std::vector<UnitRecord> records = RecordsFor(100);
  ASSERT_EQ(records.size(), 2u);
  // DoorLeftStatus from the demo network's door node: a received frame.
  EXPECT_THAT(records[0], IsRecord(1, 0, 0, 2));
  EXPECT_EQ(records[0].ident, ProtectedId(0x11));
  EXPECT_EQ(records[0].checksum, ClassicChecksum(std::span(records[0].data).first(2)));
  // Nobody publishes 0x13.
  EXPECT_THAT(records[1], IsRecord(4, 5, 0, 2));
  EXPECT_EQ(records[1].ident, ProtectedId(0x13));
}

TEST_F(UnitMasterTest, SleepAndWakeupEntries) {
  Run({Entry(EntryKind::kSleep, 0x3C, {}, 10), Entry(EntryKind::kWakeup, 0, {}, 10),
       Entry(EntryKind::kTx, 0x10, {}, 10)},
      /*run_once=*/true);
  const std::vector<UnitRecord> records = RecordsFor(100);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_THAT(records[0], IsRecord(2, 0, 0x80, 1));
  EXPECT_EQ(records[0].ident, ProtectedId(0x3C));
  EXPECT_THAT(records[0].data, ElementsAre(0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF));
  // LIN 1.3: the wake-up character, 8 bit times, 10 ms after the sleep frame.
  const std::int64_t sleep_end = FrameMicros(8);
  EXPECT_THAT(records[1], IsRecord(3, 0, 0x80, 3));
  EXPECT_EQ(+records[1].time, Stamp(sleep_end + 10'000 + BitsToMicros(8, 9600)));
  EXPECT_EQ(records[2].kind, 1);
}

TEST_F(UnitMasterTest, ExtendedFramesAndExtendedFileSlotsArriveAsRecordGroups) {
  std::vector<std::uint8_t> file(256);
  for (std::size_t i = 0; i < file.size(); ++i) file[i] = static_cast<std::uint8_t>(i + 1);
  ASSERT_TRUE(client_.MemoryWrite(0x1A00 + 0x100, file));
  Run({Entry(EntryKind::kExtendedFile, 0x3E, {4, 30, 0}),  // no file 4: passed over
       Entry(EntryKind::kExtendedFile, 0x3E, {1, 30, 0}, 10),
       Entry(EntryKind::kExtendedFile, 0x3F, {1, 0x00, 0x02}, 10),  // 512 bytes: the file's 256
       Entry(EntryKind::kExtendedTx, 0x3F, {0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8}, 10),
       Entry(EntryKind::kExtendedRx, 0x3E, {}, 10)},
      /*run_once=*/true);
  const std::vector<UnitRecord> records = RecordsFor(1000);
  ASSERT_EQ(records.size(), 3u + 15u + 2u + 1u);

  // 30 bytes: 7 in the header record, 19 and 4 in the next two.
  EXPECT_THAT(records[0], IsRecord(1, 0, 0x83, 1));
  EXPECT_EQ(records[0].ident, ProtectedId(0x3E));
  EXPECT_THAT(BytesOf(records[0], 10), ElementsAre(30, 0, 1, 2, 3, 4, 5, 6, 7));
  EXPECT_EQ(BytesOf(records[1]).front(), 8);
  EXPECT_EQ(BytesOf(records[1]).back(), 26);
  EXPECT_THAT(BytesOf(records[2], 0, 5), ElementsAre(27, 28, 29, 30, 0));

  // The length is cut to the file's 256 bytes: 7 + 13 x 19 + 2.
  EXPECT_EQ(records[3].flags, 0x8F);
  EXPECT_THAT(BytesOf(records[3], 10, 2), ElementsAre(0x00, 0x01));
  EXPECT_THAT(BytesOf(records[17], 0, 2), ElementsAre(255, 0));

  EXPECT_EQ(records[18].flags, 0x82);
  EXPECT_THAT(BytesOf(records[18], 10), ElementsAre(8, 0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7));
  EXPECT_EQ(BytesOf(records[19]).front(), 0xA8);

  EXPECT_THAT(records[20], IsRecord(4, 5, 0, 2));
}

class TableReplacementTest : public UnitMasterTest {
 protected:
  // Runs 0x10, 0x15, 0x1A and downloads 0x1B, 0x1C, 0x1D with `state`
  // while the unit waits after its first frame.
  std::vector<UnitRecord> ReplaceAfterFirstFrame(std::uint8_t state) {
    Run({Entry(EntryKind::kTx, 0x10, {}, 10), Entry(EntryKind::kTx, 0x15, {}, 10),
         Entry(EntryKind::kTx, 0x1A, {}, 10)});
    clock_->Advance(Micros(10'000));
    EXPECT_TRUE(host_.Download(std::vector{Entry(EntryKind::kTx, 0x1B, {}, 10),
                                           Entry(EntryKind::kTx, 0x1C, {}, 10),
                                           Entry(EntryKind::kTx, 0x1D, {}, 10)},
                               state));
    return RecordsFor(80);
  }
};

TEST_F(TableReplacementTest, State1ContinuesWithTheNextIndexOfTheNewTable) {
  const std::vector<UnitRecord> records = ReplaceAfterFirstFrame(testing::kStateReplace);
  EXPECT_THAT(IdsOf(records, 4), ElementsAre(0x10, 0x1C, 0x1D, 0x1B));
  EXPECT_EQ(+records[1].time, Stamp(2 * kFrame2 + 10'000));  // the delay runs on
}

TEST_F(TableReplacementTest, State2StartsTheNewTableFromItsFirstEntry) {
  const std::vector<UnitRecord> records = ReplaceAfterFirstFrame(testing::kStateStart);
  EXPECT_THAT(IdsOf(records, 4), ElementsAre(0x10, 0x1B, 0x1C, 0x1D));
  EXPECT_EQ(+records[1].time, Stamp(10'000 + kFrame2));  // at once
}

TEST_F(UnitMasterTest, AChangedOneTimeEntryInAReplacementTableGoesOutOnceMore) {
  TableEntry once = Entry(EntryKind::kTx, 0x10, {}, 10);
  once.one_time = 1;
  const TableEntry other = Entry(EntryKind::kTx, 0x15, {}, 10);
  Run({once, other});
  EXPECT_EQ(OnIdentifier(RecordsFor(100), 0x10).size(), 1u);

  ASSERT_TRUE(host_.Download(std::vector{once, other}, testing::kStateReplace));
  EXPECT_EQ(OnIdentifier(RecordsFor(100), 0x10).size(), 0u);

  once.enable = 0x81;
  ASSERT_TRUE(host_.Download(std::vector{once, other}, testing::kStateReplace));
  EXPECT_EQ(OnIdentifier(RecordsFor(100), 0x10).size(), 1u);
}

TEST_F(UnitMasterTest, InterruptEntryTakesTheNextGapAndFreesTheMailbox) {
  ASSERT_TRUE(client_.MemoryWriteByte(kInterruptSwitchRegister, 1));
  Run({Entry(EntryKind::kTx, 0x10, {}, 50)});
  clock_->Advance(Micros(3'000));  // inside the first frame
  ASSERT_TRUE(host_.SendOneShot(Entry(EntryKind::kTx, 0x22, {0xC1, 0xC2, 0xC3, 0xC4})));
  const std::vector<UnitRecord> records = RecordsFor(80);

  EXPECT_THAT(IdsOf(records), ElementsAre(0x10, 0x22, 0x10));
  EXPECT_EQ(+records[1].time, Stamp(kFrame2 + FrameMicros(4)));
  EXPECT_THAT(records[1], IsRecord(1, 0, 0x80, 1));
  EXPECT_THAT(std::span(records[1].data).first(4), ElementsAre(0xC1, 0xC2, 0xC3, 0xC4));
  // The schedule keeps its own timing.
  EXPECT_EQ(+records[2].time, Stamp(2 * kFrame2 + 50'000));
  EXPECT_EQ(client_.ReadByte(kOneShotHandshakeAddress), 0);
}

TEST_F(UnitMasterTest, WithTheInterruptSwitchOffTheEntryIsReleasedUnsent) {
  Run({Entry(EntryKind::kTx, 0x10, {}, 50)});
  ASSERT_TRUE(host_.SendOneShot(Entry(EntryKind::kTx, 0x22)));
  EXPECT_THAT(IdsOf(RecordsFor(80)), ElementsAre(0x10, 0x10));
  EXPECT_EQ(client_.ReadByte(kOneShotHandshakeAddress), 0);
}

TEST_F(UnitMasterTest, HeaderCountsCyclesRequestsAndSuccesses) {
  Run({Entry(EntryKind::kTx, 0x10, {}, 5), Entry(EntryKind::kRx, 0x11, {}, 5),
       Entry(EntryKind::kRx, 0x13, {}, 5), ErrorEntry(2, 0x14, {}, 5)});
  const std::vector<UnitRecord> records = RecordsFor(300);
  const auto successes = std::ranges::count(records, 1, &UnitRecord::kind);
  ASSERT_GE(OnIdentifier(records, 0x14).size(), 4u);
  EXPECT_EQ(LastHeader().simulation_count, OnIdentifier(records, 0x14).size());
  EXPECT_EQ(LastHeader().simulation_requests, records.size());
  EXPECT_EQ(LastHeader().simulation_successes, static_cast<std::uint32_t>(successes));
  // Failed: the request nobody answered and the injected error.
  EXPECT_EQ(records.size() - static_cast<std::size_t>(successes),
            OnIdentifier(records, 0x13).size() + OnIdentifier(records, 0x14).size());

  // A new monitoring run counts from 0.
  ASSERT_TRUE(client_.MonitorStop());
  ASSERT_TRUE(client_.MonitorStart());
  const std::optional<MonitorBlock> block = client_.ReadBlock();
  ASSERT_TRUE(block);
  EXPECT_EQ(block->header.simulation_requests, block->records.size());
  EXPECT_EQ(block->header.simulation_count, 0);
}

TEST_F(UnitMasterTest, TheDemoNetworksMasterIsSilentWhileTheUnitIsMaster) {
  ASSERT_TRUE(client_.MonitorStart());  // no schedule, switch off
  EXPECT_TRUE(RecordsFor(300).empty());
  ASSERT_TRUE(client_.MemoryWriteByte(kModeRegister, 0));
  const std::vector<UnitRecord> records = RecordsFor(100);
  ASSERT_FALSE(records.empty());
  EXPECT_FALSE(OnIdentifier(records, 0x05).empty());
  EXPECT_GE(records.front().time, kStart / 1000 + 300);
}

}  // namespace
}  // namespace orvane::emulator
