// The bus statistics of a master simulation run on the virtual analyzer,
// fed as the Bus Statistics window feeds them (the MonitorBuffer's new
// records while the acquisition thread writes): each scheduled identifier
// comes once per schedule cycle, with no more jitter than the analyzer's
// millisecond time stamps make, and the live count equals the frames the
// buffer holds at the end.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "app/ModeCommands.h"
#include "app/RunControl.h"
#include "emulator/BusEvent.h"
#include "tests/app/RunControlTestSupport.h"
#include "tests/simulation/SimulationTestSupport.h"
#include "views/StatisticsFeed.h"

namespace orvane::app {
namespace {

using std::chrono::milliseconds;

emulator::AnalyzerProfile CleanBus() {
  emulator::AnalyzerProfile profile;
  profile.traffic = emulator::BusTraffic::kClean;
  return profile;
}

// Complete frames of `identifier` in the MonitorBuffer.
std::uint64_t FramesHeld(const monitor::MonitorState& state, int identifier) {
  std::uint64_t frames = 0;
  const monitor::RingSnapshot snapshot = state.MonitorBuffer.Snapshot();
  for (std::uint32_t position = 0; position < snapshot.Count(); ++position) {
    const monitor::MonitorRecord& record =
        state.MonitorBuffer.Records()[snapshot.IndexOf(position)];
    if (record.kind == monitor::kKindEnd && record.Identifier() == identifier) ++frames;
  }
  return frames;
}

TEST(StatisticsRun, ScheduledIdentifiersComeOncePerCycle) {
  testing::AppRig rig(CleanBus());
  // Three Tx slots of two data bytes; the unit waits each slot's delay
  // after the frame before it has ended.
  const std::array<std::pair<std::uint8_t, std::int32_t>, 3> slots{
      {{0x01, 30}, {0x02, 10}, {0x03, 20}}};
  simulation::MasterSchedule& schedule = rig.configuration->Schedules[0];
  schedule.enable = 1;
  schedule.repeat = 1;
  for (std::size_t slot = 0; slot < slots.size(); ++slot) {
    schedule.slots[slot] = simulation::testing::EnabledSlot(slots[slot].first, slots[slot].second);
  }
  rig.configuration->MasterRun.ScheduleModeOn = 1;
  ASSERT_TRUE(ChangeMode(rig.context(), kModeMaster));

  views::StatisticsFeed feed;
  feed.RunStarting(rig.monitor->MonitorBuffer, views::FrameBitsSetup::WithLengthCodes(9600));
  ASSERT_TRUE(rig.run().Start());
  for (int refresh = 0; refresh < 10; ++refresh) {
    rig.Follow(milliseconds(200));
    feed.Refresh(rig.monitor->MonitorBuffer);
  }
  rig.run().Stop();
  ASSERT_GE(rig.DrainStop(), 0);
  feed.RunEnded();
  feed.Refresh(rig.monitor->MonitorBuffer);

  // A frame with two data bytes at 9600 bit/s lasts as long as the bus model
  // makes it: header, response space, three bytes and two byte spaces.
  emulator::FrameOnBus frame;
  frame.response = {0, 0, 0};
  const double frameMs = static_cast<double>(frame.End() - frame.start) / 1000;
  const double cycleMs = 30 + 10 + 20 + 3 * frameMs;  // 81.252 ms

  const views::IdentifierStatistics& statistics = feed.statistics();
  EXPECT_EQ(feed.LossText(), "");
  for (const auto& [identifier, delay] : slots) {
    SCOPED_TRACE(identifier);
    const views::IdentifierCounts& counts = statistics.Of(identifier);
    EXPECT_EQ(counts.frames, FramesHeld(*rig.monitor, identifier));
    ASSERT_GE(counts.periods, 20u);
    EXPECT_EQ(counts.ErrorTotal(), 0u);
    // Time stamps are whole milliseconds of a constant cycle: every period
    // is the cycle rounded down or up, so the mean is within 1 ms of it and
    // the standard deviation of periods one millisecond apart at most 0.5.
    EXPECT_NEAR(counts.periodMean, cycleMs, 1.0);
    EXPECT_GE(counts.periodMin, static_cast<std::int64_t>(std::floor(cycleMs)));
    EXPECT_LE(counts.periodMax, static_cast<std::int64_t>(std::ceil(cycleMs)));
    EXPECT_LE(counts.Jitter(), 0.5);
  }
  // The clean bus carries no error.
  EXPECT_FALSE(statistics.Unidentified().Seen());
}

}  // namespace
}  // namespace orvane::app
