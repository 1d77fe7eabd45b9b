// The option dialog's rules: ranges, entry parsing and display, frame
// lengths, and the exact messages shown for rejected entries.
#include <gtest/gtest.h>

#include "settings/OptionRules.h"
#include "tests/app/ConfigurationTestSupport.h"

namespace orvane::settings {
namespace {

using Mode = IdentifierFieldMode;

TEST(OptionRules, WakeupIsClampedAndRoundedDown) {
  EXPECT_EQ(ClampWakeupMicros(49), 50u);
  EXPECT_EQ(ClampWakeupMicros(30), 50u);
  EXPECT_EQ(ClampWakeupMicros(0), 50u);
  EXPECT_EQ(ClampWakeupMicros(-400), 50u);
  EXPECT_EQ(ClampWakeupMicros(50), 50u);
  EXPECT_EQ(ClampWakeupMicros(275), 250u);
  EXPECT_EQ(ClampWakeupMicros(299), 250u);
  EXPECT_EQ(ClampWakeupMicros(10000), 10000u);
  EXPECT_EQ(ClampWakeupMicros(10001), 10000u);
  EXPECT_EQ(ClampWakeupMicros(10030), 10000u);
  EXPECT_EQ(ClampWakeupMicros(0xFFFFFFFFll), 10000u);
  for (std::uint32_t choice : kWakeupChoices) EXPECT_EQ(ClampWakeupMicros(choice), choice);
}

TEST(OptionRules, FrameLengthLabels) {
  FrameTimingRecord timing{};
  timing.SpaceA = timing.SpaceB = timing.ByteSpace = 1;
  EXPECT_EQ(TotalLengthLabel(timing, 8), "Total Length=134");
  EXPECT_EQ(MaxLengthLabel(8), "Max Length=175");
  EXPECT_EQ(TotalLengthLabel(timing, 0), "Total Length=46");
  EXPECT_EQ(MaxLengthLabel(0), "Max Length=63");
  EXPECT_EQ(MaxLengthLabel(2), "Max Length=91");
  EXPECT_FALSE(CheckFrameLength(timing, 8));

  timing.SpaceA = timing.SpaceB = 60;
  timing.ByteSpace = 3;
  EXPECT_EQ(TotalFrameLength(timing, 2), 190);
  ASSERT_TRUE(CheckFrameLength(timing, 2));
  EXPECT_EQ(CheckFrameLength(timing, 2)->text, kFrameTooLongWarning.text);
  EXPECT_EQ(kFrameTooLongWarning.text,
            "The output frame may have a frame length of more than the maximum length for a frame "
            "of LIN specifications.");
  EXPECT_EQ(kFrameTooLongWarning.caption, "Warning");
}

TEST(OptionRules, SpacesAreDecimalZeroToSixty) {
  EXPECT_EQ(ParseSpace("0"), 0);
  EXPECT_EQ(ParseSpace("60"), 60);
  EXPECT_EQ(ParseSpace("060"), 60);
  for (const char* bad : {"61", "", "-1", "5a", " 5", "1000"}) EXPECT_FALSE(ParseSpace(bad)) << bad;
  EXPECT_EQ(kSpaceRangeMessageCode, 50);
}

TEST(OptionRules, MaskEntriesInIdenMode) {
  EXPECT_EQ(ParseMaskEntry("", Mode::Iden, -1).value, 0xFF);
  EXPECT_FALSE(ParseMaskEntry("", Mode::Iden, -1).error);
  EXPECT_EQ(ParseMaskEntry("3f", Mode::Iden, -1).value, 0x3F);
  EXPECT_EQ(ParseMaskEntry("3F", Mode::Iden, -1).value, 0x3F);
  EXPECT_EQ(ParseMaskEntry("0", Mode::Iden, -1).value, 0x00);
  for (const char* bad : {"40", "ff", "g1", "123", "-1", "0x1"}) {
    const MaskEntryResult result = ParseMaskEntry(bad, Mode::Iden, -1);
    ASSERT_TRUE(result.error) << bad;
    EXPECT_EQ(result.error->text, kMaskIdRangeMessage.text);
  }
  EXPECT_EQ(kMaskIdRangeMessage.text, "Please input ID value in the range of 00-3F.");
  EXPECT_EQ(kMaskIdRangeMessage.caption, "Error");
  EXPECT_EQ(kMaskIdRangeMessage.icon, monitor::MessageIcon::kExclamation);

  EXPECT_EQ(FormatMaskEntry(0x0A, Mode::Iden, "HEX"), "0a");
  EXPECT_EQ(FormatMaskEntry(0x3F, Mode::Iden, "DEC"), "3f");
  EXPECT_EQ(FormatMaskEntry(0xFF, Mode::Iden, "HEX"), "");
}

TEST(OptionRules, MaskEntriesInIdPlusDlcMode) {
  EXPECT_EQ(IdentifierFieldModeFromText("ID+DLC"), Mode::IdPlusDlc);
  EXPECT_EQ(IdentifierFieldModeFromText("IDEN"), Mode::Iden);
  EXPECT_EQ(ParseMaskEntry("5", Mode::IdPlusDlc, 1).value, 0x25);
  EXPECT_EQ(ParseMaskEntry("35", Mode::IdPlusDlc, -1).value, 0x05);
  EXPECT_EQ(FormatMaskEntry(0x3B, Mode::IdPlusDlc, "HEX"), "b");
  EXPECT_EQ(FormatMaskEntry(0x3B, Mode::IdPlusDlc, "DEC"), "11");
  EXPECT_EQ(FormatMaskEntry(0xFF, Mode::IdPlusDlc, "DEC"), "");
}

TEST(OptionRules, FillBytes) {
  EXPECT_EQ(ParseFillByte("ff"), 0xFF);
  EXPECT_EQ(ParseFillByte("7"), 0x07);
  for (const char* bad : {"", "xyz", "100", "g"}) EXPECT_FALSE(ParseFillByte(bad)) << bad;
  EXPECT_EQ(FormatFillByte(0x0C), "0c");
}

TEST(OptionRules, LogNumberEntry) {
  EXPECT_EQ(ParseLogNumber("7"), "007");
  EXPECT_EQ(ParseLogNumber("42"), "042");
  EXPECT_EQ(ParseLogNumber("999"), "999");
  for (const char* bad : {"", "abc", "1000", "-1", "1 "}) EXPECT_FALSE(ParseLogNumber(bad)) << bad;
  EXPECT_EQ(kLogNumberMessage.text, "Please input a correct value  in the range of 000 - 999.     ");
  EXPECT_EQ(kLogNumberMessage.caption, "Log File");
}

TEST(OptionRules, LogFileUsability) {
  app::testing::TemporaryFolder folder;
  const auto fresh = (folder / "fresh.log").string();
  EXPECT_FALSE(CheckLogFileUsable(fresh));
  EXPECT_FALSE(std::filesystem::exists(fresh));  // a probe leaves no new file behind

  const auto existing = folder / "kept.log";
  app::testing::WriteBytes(existing, {'x'});
  EXPECT_FALSE(CheckLogFileUsable(existing.string()));
  EXPECT_EQ(app::testing::ReadBytes(existing), std::vector<std::uint8_t>{'x'});

  const auto unusable = CheckLogFileUsable((folder / "no" / "such.log").string());
  ASSERT_TRUE(unusable);
  EXPECT_EQ(unusable->caption, "Log File");
  EXPECT_EQ(unusable->text,
            "This file path or file name is disable.     \nPlease input a correct file path or file "
            "name.     ");
  EXPECT_EQ(kLogFileUnusableMessage.icon, monitor::MessageIcon::kStop);
}

}  // namespace
}  // namespace orvane::settings
