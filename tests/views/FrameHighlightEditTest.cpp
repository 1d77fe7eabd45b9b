// The entry rules of the special frame setup: the identifier field, the
// data bytes a condition compares, and the I/O events it can name.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "settings/OptionSettings.h"
#include "views/FrameHighlightEdit.h"

namespace orvane::views {
namespace {

TEST(FrameHighlightEdit, IdentifierIsOneOrTwoHexDigitsUpTo3F) {
  EXPECT_EQ(ParseHighlightIdentifier("3F"), std::optional<std::uint8_t>(0x3F));
  EXPECT_EQ(ParseHighlightIdentifier("3f"), std::optional<std::uint8_t>(0x3F));
  EXPECT_EQ(ParseHighlightIdentifier("a"), std::optional<std::uint8_t>(0x0A));
  EXPECT_EQ(ParseHighlightIdentifier("00"), std::optional<std::uint8_t>(0x00));
  for (const char* wrong : {"40", "ff", "", "g", "1g", "-1", " 1", "001", "0x"}) {
    EXPECT_EQ(ParseHighlightIdentifier(wrong), std::nullopt) << wrong;
  }
  EXPECT_EQ(FormatHighlightIdentifier(0x0A), "0a");
}

TEST(FrameHighlightEdit, PatternBytesFollowTheIdentifiersDataLength) {
  std::array<std::uint8_t, 64> lengths{};
  lengths[0x12] = 2;
  lengths[0x3F] = 8;
  lengths[0x20] = 9;  // out of range in a file
  settings::FrameHighlightCondition condition = settings::DefaultFrameHighlightCondition();
  condition.identifier = 0x12;
  EXPECT_EQ(PatternBytes(condition, lengths), 2);
  condition.identifier = 0x3F;
  EXPECT_EQ(PatternBytes(condition, lengths), 8);
  condition.identifier = 0x20;
  EXPECT_EQ(PatternBytes(condition, lengths), 8);
  condition.identifier = 0x7F;  // an identifier no record has
  EXPECT_EQ(PatternBytes(condition, lengths), 0);
  condition.identifier = 0x12;
  condition.kind = settings::kIoEventCondition;
  EXPECT_EQ(PatternBytes(condition, lengths), 0);
}

TEST(FrameHighlightEdit, IoEventsAreRisingAndFallingEdgeOfEachChannel) {
  settings::OptionSettingsExt options{};
  std::strcpy(options.IoChannels[0].risingName, "IO1_UP");
  std::strcpy(options.IoChannels[0].fallingName, "IO1_DN");
  std::strcpy(options.IoChannels[1].risingName, "Door open");
  std::memset(options.IoChannels[2].fallingName, 'Z', settings::kIoEdgeNameSize);  // no zero
  const auto names = IoEventNames(options);
  EXPECT_EQ(names[0], "IO1_UP");
  EXPECT_EQ(names[1], "IO1_DN");
  EXPECT_EQ(names[2], "Door open");
  EXPECT_EQ(names[3], "");
  EXPECT_EQ(names[5], std::string(settings::kIoEdgeNameSize, 'Z'));

  settings::FrameHighlightCondition condition{};
  std::memset(condition.ioEventName, 'x', sizeof condition.ioEventName);
  SetIoEvent(condition, 5, names[5]);
  EXPECT_EQ(condition.ioEventNumber, 5u);
  // The name and its zero fill the 12 bytes; nothing stale remains.
  EXPECT_EQ(std::memcmp(condition.ioEventName, "ZZZZZZZZZZZ\0", 12), 0);
  SetIoEvent(condition, 2, names[2]);
  EXPECT_EQ(std::memcmp(condition.ioEventName, "Door open\0\0\0", 12), 0);
}

}  // namespace
}  // namespace orvane::views
