// The unit's simulations fed by the program's own code: tables compiled by
// the simulation library and downloaded through the link with the bank
// protocol, records read back with MonitorRead.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include "analyzer/BankDownload.h"
#include "analyzer/RegisterMap.h"
#include "emulator/LinFrame.h"
#include "emulator/UnitRecord.h"
#include "simulation/MasterCompile.h"
#include "simulation/SlaveSimulation.h"
#include "tests/analyzer/LinkTap.h"
#include "tests/emulator/SimulationHost.h"
#include "tests/support/StaticLinkApi.h"
#include "tests/support/VirtualLinkRig.h"

namespace orvane::emulator {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
namespace sim = orvane::simulation;

class CompiledTablesTest : public ::testing::Test {
 protected:
  CompiledTablesTest() {
    // What opening the analyzer leaves: firmware running, bank 1 named
    // for the next download.
    EXPECT_EQ(api_.InitUSB(), 1);
    EXPECT_EQ(api_.TargetGo(), 1);
    EXPECT_TRUE(map_.SelectBank(1));
    EXPECT_TRUE(map_.WriteBankState(2, analyzer::kBankFree));
  }

  // Sets the mode, lets the demo master's frame in flight end, and starts
  // monitoring.
  void StartMonitoring(std::uint8_t mode) {
    ASSERT_TRUE(map_.SetAnalyzerMode(mode));
    rig_.clock().Advance(Micros(kStartMicros));
    ASSERT_EQ(api_.MonitorStart(), 1);
  }

  // The records MonitorRead delivers until the clock has advanced `millis`.
  std::vector<UnitRecord> Monitor(std::int64_t millis) {
    const std::int64_t end = rig_.clock().NowMicros() + millis * 1000;
    std::vector<UnitRecord> records;
    std::array<std::uint8_t, 27> header{};
    std::array<UnitRecord, 25> block{};
    while (rig_.clock().NowMicros() < end) {
      EXPECT_EQ(api_.MonitorRead(header.data(), reinterpret_cast<std::uint8_t*>(block.data()),
                                 block.size()),
                1);
      records.insert(records.end(), block.begin(), block.begin() + header[26]);
    }
    return records;
  }

  static constexpr std::int64_t kStartMicros = 20'000;

  orvane::testing::VirtualLinkRig rig_{*ProfileNamed("clean")};
  analyzer::LinkApi api_ = orvane::testing::StaticLinkApi();
  analyzer::RegisterMap map_{api_, [this](std::chrono::milliseconds wait) {
                               rig_.clock().SleepFor(wait);
                             }};
  analyzer::test::RecordingSink sink_;
};

sim::SimSlot TxSlot(std::uint8_t identifier, std::int32_t delay, std::uint8_t d0) {
  sim::SimSlot slot = sim::DefaultMasterSlot();
  slot.enable = 1;
  slot.identifier = identifier;
  slot.delay = delay;
  slot.data[0] = d0;
  return slot;
}

TEST_F(CompiledTablesTest, ACompiledScheduleRunsWithTheDelaysAsEntered) {
  auto schedules = std::make_unique<sim::MasterSchedules>();
  schedules->fill(sim::DefaultMasterSchedule());
  (*schedules)[0].enable = 1;
  // The delay entered on a slot is the gap before it; the compile moves
  // each to the entry before (the first one's to the last).
  (*schedules)[0].slots[0] = TxSlot(0x10, 10, 0xA0);
  (*schedules)[0].slots[4] = TxSlot(0x15, 20, 0xA4);
  (*schedules)[0].slots[9] = TxSlot(0x1A, 30, 0xA9);
  sim::MasterRunState state;
  ASSERT_TRUE(sim::CompileAll(*schedules, sim::DefaultInterruptSlot(), state, sink_));
  ASSERT_TRUE(analyzer::DownloadMasterSchedule(map_, sim::EntryBytes(state.tables[0]), /*runOnce=*/true));
  ASSERT_TRUE(map_.WriteScheduleSwitch(1));
  StartMonitoring(analyzer::kAnalyzerModeMaster);

  const std::vector<UnitRecord> records = Monitor(500);
  ASSERT_EQ(records.size(), 3u);
  const std::int64_t frame = testing::FrameMicros(2);
  const std::array<std::int64_t, 3> ends = {frame, 2 * frame + 20'000, 3 * frame + 50'000};
  for (std::size_t i = 0; i < records.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_THAT(records[i], testing::IsRecord(1, 0, 0x80, 1));
    EXPECT_EQ(+records[i].time, testing::StampOf(kStartMicros + ends[i]));
  }
  EXPECT_EQ(records[0].data[0], 0xA0);
  EXPECT_EQ(records[1].data[0], 0xA4);
  EXPECT_EQ(records[2].data[0], 0xA9);
  EXPECT_THAT(sink_.Texts(), IsEmpty());
}

TEST_F(CompiledTablesTest, ARunningDownloadGoesOnWithTheNextEntryAndTheInterruptTakesTheNextGap) {
  auto schedules = std::make_unique<sim::MasterSchedules>();
  schedules->fill(sim::DefaultMasterSchedule());
  (*schedules)[0].enable = 1;
  for (std::uint8_t slot = 0; slot < 3; ++slot) {
    (*schedules)[0].slots[slot] = TxSlot(static_cast<std::uint8_t>(0x10 + slot), 10, slot);
  }
  sim::SimSlot interrupt = TxSlot(0x22, 1, 0xEE);
  sim::MasterRunState state;
  ASSERT_TRUE(sim::CompileAll(*schedules, interrupt, state, sink_));
  ASSERT_TRUE(analyzer::DownloadMasterSchedule(map_, sim::EntryBytes(state.tables[0]), false));
  ASSERT_TRUE(map_.WriteScheduleSwitch(1));
  ASSERT_TRUE(map_.WriteInterruptSwitch(1));
  StartMonitoring(analyzer::kAnalyzerModeMaster);

  // While the unit waits after entry 0: new data for entries 0 and 1, then
  // the interrupt key.
  rig_.clock().Advance(Micros(10'000));
  state.tables[0][0].data[0] = 0x70;
  state.tables[0][1].data[0] = 0x71;
  state.tables[0][1].enable |= sim::kEntryChanged;
  ASSERT_TRUE(analyzer::DownloadMasterScheduleRunning(map_, sim::EntryBytes(state.tables[0])));
  ASSERT_TRUE(map_.SendOneShotEntry(sim::EntryBytes(state.interruptEntry)));

  const std::vector<UnitRecord> records = Monitor(60);
  ASSERT_GE(records.size(), 5u);
  std::vector<std::uint8_t> ids;
  std::vector<std::uint8_t> first_bytes;
  for (std::size_t i = 0; i < 5; ++i) {
    ids.push_back(records[i].ident & 0x3F);
    first_bytes.push_back(records[i].data[0]);
  }
  EXPECT_THAT(ids, ElementsAre(0x10, 0x22, 0x11, 0x12, 0x10));
  EXPECT_THAT(first_bytes, ElementsAre(0x00, 0xEE, 0x71, 0x02, 0x70));
  std::uint8_t handshake = 1;
  ASSERT_TRUE(map_.ReadByte(analyzer::reg::kOneShotHandshake, handshake));
  EXPECT_EQ(handshake, 0);
}

TEST_F(CompiledTablesTest, ACompiledSlaveTableAnswersTheDemoMaster) {
  sim::SlaveResponses responses;
  responses.fill(sim::DefaultSlaveResponse());
  responses[0].enable = 1;
  responses[0].identifier = 0x11;
  responses[0].data[0] = 0xAA;
  responses[0].data[1] = 0xBB;
  responses[3].enable = 1;
  responses[3].identifier = 0x12;
  responses[3].error = 2;  // CheckSum
  sim::SlaveRunState state;
  ASSERT_TRUE(sim::CompileSlaveTable(responses, state, sink_));
  ASSERT_TRUE(analyzer::DownloadSlaveTable(map_, sim::EntryBytes(state.table)));
  StartMonitoring(analyzer::kAnalyzerModeSlave);

  // The unit answers from the headers after the start of monitoring (a
  // header sent at that very instant is still the demo slave's).
  const std::vector<UnitRecord> records = Monitor(200);
  const std::vector<UnitRecord> answered = testing::OnIdentifier(records, 0x11);
  ASSERT_FALSE(answered.empty());
  EXPECT_EQ(answered.back().flags, 0x80);
  EXPECT_THAT(std::span(answered.back().data).first(2), ElementsAre(0xAA, 0xBB));
  EXPECT_EQ(answered.back().checksum, ClassicChecksum(std::span(answered.back().data).first(2)));
  const std::vector<UnitRecord> faulty = testing::OnIdentifier(records, 0x12);
  ASSERT_FALSE(faulty.empty());
  EXPECT_THAT(faulty.back(), testing::IsRecord(5, 2, 0x80, 2));
}

}  // namespace
}  // namespace orvane::emulator
