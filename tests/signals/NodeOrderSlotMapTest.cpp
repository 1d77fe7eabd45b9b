// The Each ID table sorted by node through a loaded description.
#include "signals/NodeOrderSlotMap.h"

#include <gtest/gtest.h>

#include <memory>

#include "monitor/MonitorState.h"
#include "monitor/MonitorUpdate.h"
#include "signals/LdfParser.h"
#include "tests/signals/LdfTestFiles.h"

namespace orvane::signals {
namespace {

TEST(NodeOrderSlotMap, PutsFramesIntoTheirNodeOrderSlots) {
  const ParseOutcome outcome = ParseLinDescription(testing::kBaseLdf, kDefaultSectionMask);
  ASSERT_NE(outcome.description, nullptr);
  const NodeOrderSlotMap map(*outcome.description);

  auto state = std::make_unique<monitor::MonitorState>();
  monitor::MonitorRecord s2Frame{};
  s2Frame.kind = 1;
  s2Frame.ident = 0xA5;  // protected identifier of 0x25
  monitor::MonitorRecord unmapped{};
  unmapped.kind = 1;
  unmapped.ident = 0x00;
  const monitor::MonitorRecord records[] = {s2Frame, unmapped};
  monitor::AppendBlock(*state, records, monitor::MonitorBlockHeader{});
  monitor::UpdateViewBuffer(*state, monitor::MonitorMask{});
  monitor::UpdateIdTables(*state, 0, 1, &map);

  // 0x25 is S2Frame, frame 2 in node order; identifier 0 has no frame and
  // takes the first free slot after the three frames.
  EXPECT_TRUE(state->EachIdTable.seen[2]);
  EXPECT_EQ(state->EachIdTable.records[2].Load().ident, 0xA5);
  EXPECT_TRUE(state->EachIdTable.seen[3]);
  EXPECT_FALSE(state->EachIdTable.seen[0x25]);
  EXPECT_FALSE(state->EachIdTable.seen[0]);
}

}  // namespace
}  // namespace orvane::signals
