// The simulation tick and key triggers of master and slave runs, seen in the
// tables and one-shot entries the run control writes into the virtual
// analyzer. Monitor blocks are served by the test, so only the test moves
// virtual time.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "analyzer/RegisterMap.h"
#include "app/RunControl.h"
#include "simulation/SlotNames.h"
#include "tests/app/RunControlTestSupport.h"
#include "tests/simulation/SimulationTestSupport.h"

namespace orvane::app {
namespace {

using analyzer::reg::kBankTable;
using std::chrono::milliseconds;
using testing::AppRig;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::ServedBlocks;

constexpr std::int32_t kKeyA = 0x41;
constexpr std::int32_t kKeyB = 0x42;
constexpr std::int32_t kKeyF1 = 0x70;

// The data bytes D0-D1 of entry `entry` in every table written to a bank,
// in write order; `tableSize` tells master (448) and slave (224) tables apart.
std::vector<std::vector<std::uint8_t>> EntryDataWritten(const AppRig& rig, std::size_t entry,
                                                        std::size_t tableSize) {
  std::vector<std::vector<std::uint8_t>> data;
  for (const auto& write : rig.tap.Writes()) {
    if ((write.address != kBankTable[0] && write.address != kBankTable[1]) ||
        write.bytes.size() != tableSize) {
      continue;
    }
    const std::size_t offset = entry * analyzer::kSimEntrySize + 4;
    data.push_back({write.bytes[offset], write.bytes[offset + 1]});
  }
  return data;
}

std::vector<std::uint8_t> Data(std::uint8_t d0, std::uint8_t d1) {
  return {d0, d1};
}

class SimulationRunTest : public ::testing::Test {
 protected:
  SimulationRunTest() : blocks_(rig_) {}

  Configuration& configuration() { return *rig_.configuration; }
  std::filesystem::path PatternFile(const std::string& name, const std::string& lines) {
    const std::filesystem::path path = rig_.folder / name;
    std::ofstream(path) << lines;
    return path;
  }
  // Schedule S1 enabled and repeating with an ordinary slot 0 on 0x10.
  simulation::MasterSchedule& FirstSchedule() {
    simulation::MasterSchedule& schedule = configuration().Schedules[0];
    schedule.enable = 1;
    schedule.repeat = 1;
    schedule.slots[0] = simulation::testing::EnabledSlot(0x10, 20);
    configuration().MasterRun.ScheduleModeOn = 1;
    return schedule;
  }

  AppRig rig_;
  ServedBlocks blocks_;
};

TEST_F(SimulationRunTest, TimerPatternSlotAdvancesOnTheFiftyMillisecondTicks) {
  // Interval 100 ms: the first row at the start, the next at the third tick
  // (150 ms), then every second tick.
  simulation::testing::UsePattern(
      FirstSchedule().slots[1], PatternFile("timer.ptn", "Tx,10,0a,0b\nTx,10,0c,0d\nTx,10,0e,0f\n"),
      simulation::kTriggerTimer, 100);
  configuration().Schedules[0].slots[1].enable = 1;
  configuration().Schedules[0].slots[1].delay = 20;
  rig_.state.SimulationMode = kModeMaster;
  ASSERT_TRUE(rig_.run().Start());
  EXPECT_TRUE(rig_.run().SimulationTickArmed());
  EXPECT_THAT(EntryDataWritten(rig_, 1, 448), ElementsAre(Data(0x0a, 0x0b)));

  rig_.Pass(milliseconds(140));  // ticks at 60 and 110 ms after the first idle call
  EXPECT_THAT(EntryDataWritten(rig_, 1, 448), ElementsAre(Data(0x0a, 0x0b)));
  rig_.Pass(milliseconds(40));
  EXPECT_THAT(EntryDataWritten(rig_, 1, 448), ElementsAre(Data(0x0a, 0x0b), Data(0x0c, 0x0d)));
  rig_.Pass(milliseconds(100));
  EXPECT_THAT(EntryDataWritten(rig_, 1, 448),
              ElementsAre(Data(0x0a, 0x0b), Data(0x0c, 0x0d), Data(0x0e, 0x0f)));

  // Stopping disarms the tick: no further rows.
  rig_.run().Stop();
  EXPECT_FALSE(rig_.run().SimulationTickArmed());
  EXPECT_FALSE(rig_.run().OnIdle(rig_.link.Elapsed()));
  rig_.Pass(milliseconds(300));
  EXPECT_EQ(EntryDataWritten(rig_, 1, 448).size(), 3u);
  EXPECT_THAT(rig_.sink.Texts(), IsEmpty());
}

TEST_F(SimulationRunTest, KeyPressMakesAKeyCursorPendingForTheNextTick) {
  simulation::testing::UsePattern(FirstSchedule().slots[1],
                                  PatternFile("keys.ptn", "Tx,10,01,02\nTx,10,03,04\n"),
                                  simulation::kTriggerKey, kKeyA, true);
  configuration().Schedules[0].slots[1].enable = 1;
  configuration().Schedules[0].slots[1].delay = 20;
  rig_.state.SimulationMode = kModeMaster;
  ASSERT_TRUE(rig_.run().Start());
  rig_.Pass(milliseconds(100));
  EXPECT_THAT(EntryDataWritten(rig_, 1, 448), ElementsAre(Data(0x01, 0x02)));

  EXPECT_FALSE(rig_.run().OnKeyDown(kKeyB));
  EXPECT_FALSE(rig_.run().OnKeyDown(kKeyA));  // not consumed: only F10 is
  EXPECT_EQ(EntryDataWritten(rig_, 1, 448).size(), 1u);
  rig_.Pass(milliseconds(60));
  EXPECT_THAT(EntryDataWritten(rig_, 1, 448), ElementsAre(Data(0x01, 0x02), Data(0x03, 0x04)));
  // Served: the next ticks leave it alone.
  rig_.Pass(milliseconds(200));
  EXPECT_EQ(EntryDataWritten(rig_, 1, 448).size(), 2u);
}

TEST_F(SimulationRunTest, InterruptKeySendsTheInterruptEntryThroughTheMailbox) {
  FirstSchedule();
  configuration().InterruptSlot.enable = 1;
  configuration().InterruptSlot.data[0] = 0x5a;
  configuration().MasterRun.InterruptModeOn = 1;
  rig_.state.SimulationMode = kModeMaster;
  ASSERT_TRUE(rig_.run().Start());

  EXPECT_FALSE(rig_.run().OnKeyDown(kKeyF1));
  const auto entries = rig_.tap.WritesTo(analyzer::reg::kOneShotEntry);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_THAT(entries[0].bytes, ElementsAre(1, 0, 0x10, 0x10, 0x5a, 0, 0, 0, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(rig_.tap.WritesTo(analyzer::reg::kOneShotHandshake).size(), 1u);
  EXPECT_THAT(rig_.sink.Texts(), IsEmpty());

  rig_.tap.FailMemoryWrite(analyzer::reg::kOneShotEntry);
  rig_.run().OnKeyDown(kKeyF1);
  const std::vector<testing::Box> boxes = rig_.sink.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Error");
  EXPECT_EQ(boxes[0].text, "Key Trigger Error.");
  EXPECT_EQ(boxes[0].icon, monitor::MessageIcon::kExclamation);
  EXPECT_EQ(rig_.state.MonitorStopped, 0u);  // monitoring continues
}

TEST_F(SimulationRunTest, F10IsConsumedOnlyWhileASimulationIsMonitored) {
  EXPECT_FALSE(rig_.run().OnKeyDown(simulation::kKeyF10));  // stopped
  ASSERT_TRUE(rig_.run().Start());
  EXPECT_FALSE(rig_.run().OnKeyDown(simulation::kKeyF10));  // monitor mode
  rig_.run().Stop();
  ASSERT_GT(rig_.DrainStop(), 0);

  FirstSchedule();
  rig_.state.SimulationMode = kModeMaster;
  ASSERT_TRUE(rig_.run().Start());
  EXPECT_TRUE(rig_.run().OnKeyDown(simulation::kKeyF10));
  rig_.run().Stop();
  ASSERT_GT(rig_.DrainStop(), 0);

  rig_.state.SimulationMode = kModeSlave;
  ASSERT_TRUE(rig_.run().Start());
  EXPECT_TRUE(rig_.run().OnKeyDown(simulation::kKeyF10));
  EXPECT_FALSE(rig_.run().OnKeyDown(kKeyA));
}

TEST_F(SimulationRunTest, SlaveRunDownloadsItsTableEveryTickAndServesPendingKeys) {
  simulation::SimSlot& response = configuration().SlaveResponses[2];
  response.enable = 1;
  response.identifier = 0x10;
  simulation::testing::UsePattern(response, PatternFile("slave.ptn", "Tx,10,11,22\nTx,10,33,44\n"),
                                  simulation::kTriggerKey, kKeyB);
  rig_.state.SimulationMode = kModeSlave;
  ASSERT_TRUE(rig_.run().Start());
  EXPECT_THAT(EntryDataWritten(rig_, 2, 224), ElementsAre(Data(0x11, 0x22)));

  rig_.Pass(milliseconds(70));  // one tick
  EXPECT_EQ(EntryDataWritten(rig_, 2, 224).size(), 2u);
  rig_.run().OnKeyDown(kKeyB);
  rig_.Pass(milliseconds(50));
  EXPECT_EQ(EntryDataWritten(rig_, 2, 224).back(), Data(0x33, 0x44));
  EXPECT_THAT(rig_.sink.Texts(), IsEmpty());
}

TEST_F(SimulationRunTest, FailedRunningDownloadStopsMonitoringAndShows1001) {
  simulation::testing::UsePattern(FirstSchedule().slots[1],
                                  PatternFile("timer.ptn", "Tx,10,0a,0b\nTx,10,0c,0d\n"),
                                  simulation::kTriggerTimer, 50, true);
  configuration().Schedules[0].slots[1].enable = 1;
  configuration().Schedules[0].slots[1].delay = 20;
  rig_.state.SimulationMode = kModeMaster;
  ASSERT_TRUE(rig_.run().Start());
  rig_.tap.FailMemoryWrite(kBankTable[0]);
  rig_.tap.FailMemoryWrite(kBankTable[1]);
  rig_.Pass(milliseconds(120));
  EXPECT_THAT(rig_.sink.Texts(), ElementsAre("Simulation data setting NG!."));
  EXPECT_TRUE(rig_.run().StopRequested());
  EXPECT_FALSE(rig_.run().SimulationTickArmed());
}

}  // namespace
}  // namespace orvane::app
