// The shipped demo network description loads with the program's own strict
// LIN description parser, every section read, and holds the network.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "emulator/DemoNetwork.h"
#include "signals/LdfParser.h"

namespace orvane::emulator {
namespace {

TEST(DemoLdfParseTest, ShippedFilePassesEveryCheckOfTheParser) {
  std::ifstream file(ORVANE_SOURCE_DIR "/emulator/demo-network.ldf", std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  ASSERT_FALSE(text.str().empty());

  const signals::ParseOutcome outcome = signals::ParseLinDescription(text.str(), 0xFF);
  ASSERT_TRUE(outcome.description) << "message " << outcome.messageId << ": " << outcome.failedCheck;

  const signals::LinDescription& description = *outcome.description;
  const DemoNetwork& network = TheDemoNetwork();
  EXPECT_EQ(description.slaves.size(), network.slaves.size());
  EXPECT_EQ(description.signals.size(), network.signals.size());
  EXPECT_EQ(description.encodings.size(), network.encodings.size());
  ASSERT_EQ(description.frames.size(), network.frames.size());
  for (const signals::Frame& frame : description.frames) {
    const DemoFrame* demo = network.FrameWithId(frame.identifier);
    ASSERT_NE(demo, nullptr) << frame.name;
    EXPECT_EQ(frame.name, demo->name);
    EXPECT_EQ(frame.length, demo->length);
    EXPECT_EQ(frame.publisher, demo->publisher);
    EXPECT_EQ(frame.entries.size(), demo->signals.size());
  }
}

}  // namespace
}  // namespace orvane::emulator
