// Whole runs through the run control against the virtual analyzer: what the
// unit puts on the bus in master and slave simulation, as it comes back in
// the monitor buffer, and the baud rate it measures. The acquisition thread
// reads the unit and so moves virtual time; the test follows the clock.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <map>
#include <set>

#include "analyzer/RegisterMap.h"
#include "app/ModeCommands.h"
#include "app/RunControl.h"
#include "tests/app/RunControlTestSupport.h"
#include "tests/simulation/SimulationTestSupport.h"

namespace orvane::app {
namespace {

using std::chrono::milliseconds;
using testing::AppRig;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A complete frame as the monitor buffer holds it.
struct Frame {
  std::int32_t time;
  int identifier;
  bool tx;
  std::uint8_t d0;
  std::uint8_t d1;
};

std::ostream& operator<<(std::ostream& out, const Frame& frame) {
  return out << frame.time << "ms " << (frame.tx ? "Tx " : "Rx ") << std::hex << frame.identifier
             << ' ' << int{frame.d0} << ' ' << int{frame.d1} << std::dec;
}

std::vector<Frame> CompleteFrames(const monitor::MonitorState& state) {
  std::vector<Frame> frames;
  const monitor::RingSnapshot snapshot = state.MonitorBuffer.Snapshot();
  const auto records = state.MonitorBuffer.Records();
  for (std::uint32_t position = 0; position < snapshot.Count(); ++position) {
    const monitor::MonitorRecord& record = records[snapshot.IndexOf(position)];
    if (record.kind != monitor::kKindEnd || record.error != monitor::kErrorNone) continue;
    frames.push_back(
        {record.time, record.Identifier(), record.IsTx(), record.data[0], record.data[1]});
  }
  return frames;
}

std::vector<Frame> TxFrames(const monitor::MonitorState& state) {
  std::vector<Frame> frames = CompleteFrames(state);
  std::erase_if(frames, [](const Frame& frame) { return !frame.tx; });
  return frames;
}

class RunEndToEndTest : public ::testing::Test {
 protected:
  Configuration& configuration() { return *rig_.configuration; }
  // Schedule `index` enabled and repeating, with Tx slots on the given
  // identifiers and entered delays; D0 of each slot is its identifier.
  void MakeSchedule(std::size_t index, std::vector<std::pair<std::uint8_t, std::int32_t>> slots) {
    simulation::MasterSchedule& schedule = configuration().Schedules[index];
    schedule.enable = 1;
    schedule.repeat = 1;
    for (std::size_t slot = 0; slot < slots.size(); ++slot) {
      schedule.slots[slot] =
          simulation::testing::EnabledSlot(slots[slot].first, slots[slot].second);
      schedule.slots[slot].data[0] = slots[slot].first;
    }
    configuration().MasterRun.ScheduleModeOn = 1;
  }
  void StartIn(std::int32_t mode) {
    ASSERT_TRUE(mode == kModeBaudrate ? ChangeToBaudrateMeasurement(rig_.context())
                                      : ChangeMode(rig_.context(), mode));
    ASSERT_TRUE(rig_.run().Start());
  }

  AppRig rig_;
};

TEST_F(RunEndToEndTest, MasterScheduleSendsItsSlotsInOrderWithTheEnteredDelays) {
  MakeSchedule(0, {{0x01, 30}, {0x02, 10}, {0x03, 20}});
  StartIn(kModeMaster);
  rig_.Follow(milliseconds(1000));

  const std::vector<Frame> frames = TxFrames(*rig_.monitor);
  ASSERT_GE(frames.size(), 12u);
  // Each frame's gap to the one before is the delay entered on its slot plus
  // its own transmission (a two-byte frame at 9600 bit/s: under 10 ms).
  const std::map<int, std::int32_t> delayBefore{{0x01, 30}, {0x02, 10}, {0x03, 20}};
  for (std::size_t i = 1; i < frames.size(); ++i) {
    SCOPED_TRACE(::testing::Message() << frames[i - 1] << " -> " << frames[i]);
    EXPECT_EQ(frames[i].identifier, frames[i - 1].identifier % 3 + 1);
    EXPECT_EQ(frames[i].d0, frames[i].identifier);
    const std::int32_t gap = frames[i].time - frames[i - 1].time;
    EXPECT_GE(gap, delayBefore.at(frames[i].identifier));
    EXPECT_LE(gap, delayBefore.at(frames[i].identifier) + 10);
  }
  EXPECT_THAT(rig_.sink.Texts(), IsEmpty());
}

TEST_F(RunEndToEndTest, SwitchingTheScheduleWhileRunningSendsTheNewOne) {
  MakeSchedule(0, {{0x01, 10}, {0x02, 10}});
  MakeSchedule(1, {{0x04, 10}, {0x05, 10}});
  StartIn(kModeMaster);
  rig_.Follow(milliseconds(300));
  const std::size_t writesBefore = rig_.tap.Writes().size();

  ASSERT_TRUE(rig_.run().SelectSchedule(1));
  EXPECT_EQ(configuration().MasterRun.CurrentSchedule, 1);
  // The bank protocol: the table into the free bank, then its state byte 2.
  std::vector<analyzer::test::LinkTap::MemoryWriteCall> switchWrites(
      rig_.tap.Writes().begin() + static_cast<std::ptrdiff_t>(writesBefore),
      rig_.tap.Writes().end());
  ASSERT_GE(switchWrites.size(), 3u);
  const int bank = switchWrites[0].address == analyzer::reg::kBankTable[1] ? 1 : 0;
  EXPECT_EQ(switchWrites[0].address, analyzer::reg::kBankTable[bank]);
  EXPECT_EQ(switchWrites[0].bytes[3], 0x04);  // entry 0's identifier
  EXPECT_EQ(switchWrites[1].address, analyzer::reg::kBankState[bank]);
  EXPECT_THAT(switchWrites[1].bytes, ElementsAre(analyzer::kBankStart));
  EXPECT_EQ(switchWrites[2].address, analyzer::reg::kRunOnce);
  EXPECT_THAT(switchWrites[2].bytes, ElementsAre(0));

  rig_.Follow(milliseconds(300));
  const std::vector<Frame> frames = TxFrames(*rig_.monitor);
  const auto firstNew =
      std::ranges::find_if(frames, [](const Frame& f) { return f.identifier >= 4; });
  ASSERT_NE(firstNew, frames.end());
  EXPECT_GE(firstNew - frames.begin(), 8);
  std::set<int> after;
  for (auto frame = firstNew; frame != frames.end(); ++frame) after.insert(frame->identifier);
  EXPECT_EQ(after, (std::set<int>{0x04, 0x05}));
  EXPECT_GE(frames.end() - firstNew, 8);
  EXPECT_THAT(rig_.sink.Texts(), IsEmpty());
}

TEST_F(RunEndToEndTest, PatternSlotChangesItsDataAtItsTimerTicks) {
  // Interval 200 ms: a new row every fourth 50 ms tick.
  const std::filesystem::path file = rig_.folder / "rows.ptn";
  std::ofstream(file) << "Tx,02,11,11\nTx,02,22,22\nTx,02,33,33\n";
  MakeSchedule(0, {{0x01, 10}, {0x02, 10}});
  simulation::testing::UsePattern(configuration().Schedules[0].slots[1], file,
                                  simulation::kTriggerTimer, 200, true);
  StartIn(kModeMaster);
  rig_.Follow(milliseconds(1500));

  // The times at which identifier 0x02 started to carry another row.
  std::vector<std::pair<std::int32_t, std::uint8_t>> changes;
  for (const Frame& frame : TxFrames(*rig_.monitor)) {
    if (frame.identifier != 0x02) continue;
    if (changes.empty() || changes.back().second != frame.d0)
      changes.emplace_back(frame.time, frame.d0);
  }
  ASSERT_GE(changes.size(), 5u);
  constexpr std::array<std::uint8_t, 3> kRows{0x11, 0x22, 0x33};
  for (std::size_t i = 0; i < changes.size(); ++i) {
    EXPECT_EQ(changes[i].second, kRows[i % kRows.size()]) << i;
    if (i < 2) continue;  // the first row comes with the start, its end with the first count
    const std::int32_t held = changes[i].first - changes[i - 1].first;
    EXPECT_GE(held, 180) << i;  // four ticks of at least 50 ms, to a frame's spacing
    EXPECT_LE(held, 600) << i;
  }
}

TEST_F(RunEndToEndTest, SlaveSimulationAnswersTheExternalMastersHeaders) {
  simulation::SimSlot& response = configuration().SlaveResponses[0];
  response.enable = 1;
  response.identifier = 0x11;
  response.data[0] = 0xaa;
  response.data[1] = 0xbb;
  StartIn(kModeSlave);
  rig_.Follow(milliseconds(1000));

  std::vector<Frame> answered;
  std::set<int> others;
  for (const Frame& frame : CompleteFrames(*rig_.monitor)) {
    if (frame.identifier == 0x11) {
      answered.push_back(frame);
    } else {
      others.insert(frame.identifier);
    }
  }
  ASSERT_GE(answered.size(), 3u);
  for (const Frame& frame : answered) {
    EXPECT_EQ(frame.d0, 0xaa) << frame;
    EXPECT_EQ(frame.d1, 0xbb) << frame;
  }
  EXPECT_GE(others.size(), 3u);  // the rest of the demo network goes on as before
  EXPECT_THAT(rig_.sink.Texts(), IsEmpty());
}

TEST_F(RunEndToEndTest, BaudrateMeasurementReportsTheBusBaudRate) {
  StartIn(kModeBaudrate);
  rig_.Follow(milliseconds(500));
  std::uint16_t baud = 0;
  ASSERT_TRUE(rig_.context().analyzer.ReadMeasuredBaud(baud));
  EXPECT_EQ(baud, 9600);

  rig_.link.analyzer().SetBusBaud(19200);
  rig_.Follow(milliseconds(500));
  ASSERT_TRUE(rig_.context().analyzer.ReadMeasuredBaud(baud));
  EXPECT_EQ(baud, 19200);
}

}  // namespace
}  // namespace orvane::app
