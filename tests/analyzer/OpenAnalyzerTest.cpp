#include "analyzer/OpenAnalyzer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "tests/analyzer/LinkTap.h"
#include "tests/analyzer/ScriptedUser.h"
#include "tests/support/StaticLinkApi.h"
#include "tests/support/VirtualLinkRig.h"

namespace orvane::analyzer {
namespace {

using test::LinkTap;
using test::RecordingSink;
using test::ScriptedUser;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The 16 bytes of a version area (or image header 0x60-0x6F): `text`, then 0xFF.
std::array<std::uint8_t, kVersionAreaSize> Area(std::string_view text) {
  std::array<std::uint8_t, kVersionAreaSize> area;
  area.fill(0xFF);
  std::memcpy(area.data(), text.data(), text.size());
  return area;
}

std::array<std::uint8_t, kImageHeaderSize> ImageHeader(std::string_view version) {
  std::array<std::uint8_t, kImageHeaderSize> header;
  header.fill(0x00);
  const auto area = Area(version);
  std::copy(area.begin(), area.end(), header.begin() + kImageVersionOffset);
  return header;
}

TEST(FirmwareVersionMatches, ComparesAllButTheLastInstalledCharacter) {
  const auto image = ImageHeader("Ver.3.11");
  EXPECT_TRUE(FirmwareVersionMatches(Area("Ver.3.11"), image, "Ver.3.11"));
  EXPECT_TRUE(FirmwareVersionMatches(Area("Ver.3.12"), image, "Ver.3.11"));
  EXPECT_FALSE(FirmwareVersionMatches(Area("Ver.3.02"), image, "Ver.3.11"));
  EXPECT_TRUE(FirmwareVersionMatches(Area("Ver.3.11a"), image, "Ver.3.11"));
  EXPECT_FALSE(FirmwareVersionMatches(Area("Ver.3.11ab"), image, "Ver.3.11"));
  // No 0xFF at all: 15 characters are compared, more than the version has.
  EXPECT_FALSE(FirmwareVersionMatches(Area("Ver.3.11-extra-x"), image, "Ver.3.11"));
}

TEST(FirmwareVersionMatches, ErasedVersionAreaFailsAndOneCharacterComparesNothing) {
  const auto image = ImageHeader("Ver.3.11");
  EXPECT_FALSE(FirmwareVersionMatches(Area(""), image, "Ver.3.11"));  // n = 0
  EXPECT_TRUE(FirmwareVersionMatches(Area("X"), image, "Ver.3.11"));  // n = 1
  EXPECT_FALSE(FirmwareVersionMatches(Area("X"), ImageHeader("Ver.2.00"), "Ver.3.11"));
}

TEST(FirmwareVersionMatches, ImageVersionIsComparedByItsOwnLength) {
  const auto installed = Area("Ver.3.11");
  EXPECT_TRUE(FirmwareVersionMatches(installed, ImageHeader(""), "Ver.3.11"));  // m = 0
  EXPECT_TRUE(FirmwareVersionMatches(installed, ImageHeader("Ver.3.1"), "Ver.3.11"));
  EXPECT_FALSE(FirmwareVersionMatches(installed, ImageHeader("Ver.3.12"), "Ver.3.11"));
  EXPECT_FALSE(FirmwareVersionMatches(installed, ImageHeader("Ver.3.11x"), "Ver.3.11"));
}

class OpenAnalyzerTest : public ::testing::Test {
 protected:
  explicit OpenAnalyzerTest(const char* profile = "default")
      : rig_(*emulator::ProfileNamed(profile)) {}

  bool Open(ScriptedUser::Choice choice,
            const std::filesystem::path& programFolder = ORVANE_BINARY_DIR "/bin") {
    user_.emplace(map_, sink_, choice, programFolder);
    OpenAnalyzerUi ui{*user_, sink_, [this] { ++forcedShutdowns_; }};
    return OpenAnalyzer(map_, identity_, switches_, ui);
  }

  std::string Flash(std::uint32_t address, std::uint32_t length) {
    std::string bytes(length, '\0');
    EXPECT_EQ(link_.MemoryReadEx(address, length, reinterpret_cast<std::uint8_t*>(bytes.data())),
              1);
    return bytes;
  }

  orvane::testing::VirtualLinkRig rig_;
  const LinkApi link_ = orvane::testing::StaticLinkApi();
  LinkTap tap_{link_};
  RegisterMap map_{tap_.api(), test::SleepOn(rig_.clock())};
  RecordingSink sink_;
  AnalyzerIdentity identity_;
  SimulationSwitches switches_{.scheduleModeOn = 1, .interruptModeOn = 0};
  std::optional<ScriptedUser> user_;
  int forcedShutdowns_ = 0;
};

TEST_F(OpenAnalyzerTest, CurrentFirmwareOpensAndResetsModeAndBanks) {
  ASSERT_TRUE(Open(ScriptedUser::Choice::kDecline));
  EXPECT_EQ(user_->calls, 0);
  EXPECT_STREQ(identity_.serialNumber, "VA000001");
  EXPECT_THAT(tap_.WrittenAddresses(), ElementsAre(0x0401, 0x0416, 0x07D0, 0x040F, 0x0411));
  EXPECT_THAT(tap_.Writes()[0].bytes, ElementsAre(0));
  EXPECT_THAT(tap_.Writes()[1].bytes, ElementsAre(1));
  EXPECT_THAT(tap_.Writes()[2].bytes, ElementsAre(0));
  EXPECT_THAT(tap_.Writes()[3].bytes, ElementsAre(1));
  EXPECT_THAT(tap_.Writes()[4].bytes, ElementsAre(0));
  EXPECT_THAT(sink_.Boxes(), IsEmpty());
}

TEST_F(OpenAnalyzerTest, NoAnalyzerFailsWithoutFurtherCommands) {
  rig_.analyzer().Unplug();
  EXPECT_FALSE(Open(ScriptedUser::Choice::kDownload));
  EXPECT_EQ(user_->calls, 0);
  EXPECT_THAT(tap_.Writes(), IsEmpty());
  EXPECT_STREQ(identity_.serialNumber, "00000001");
}

TEST_F(OpenAnalyzerTest, FailedIdentityReadFailsBeforeTheVersionCheck) {
  rig_.analyzer().StallNextReply();  // the serial number read
  EXPECT_FALSE(Open(ScriptedUser::Choice::kDownload));
  EXPECT_EQ(user_->calls, 0);
  EXPECT_THAT(tap_.Writes(), IsEmpty());
}

class OlderFirmwareTest : public OpenAnalyzerTest {
 protected:
  OlderFirmwareTest() : OpenAnalyzerTest("old-firmware") {}
};

TEST_F(OlderFirmwareTest, DecliningTheUpdateStopsTheStart) {
  EXPECT_FALSE(Open(ScriptedUser::Choice::kDecline));
  EXPECT_EQ(user_->calls, 1);
  EXPECT_EQ(user_->question,
            "Firmware Version is not correct.\nWould you like to download firmware(Ver.3.11)?");
  ASSERT_EQ(sink_.Boxes().size(), 1u);
  EXPECT_EQ(sink_.Boxes()[0].caption, "Error");
  EXPECT_EQ(sink_.Boxes()[0].text,
            "It is canceled to download the firmware.    \nApplication cannot be started.    ");
  EXPECT_EQ(sink_.Boxes()[0].icon, monitor::MessageIcon::kStop);
  EXPECT_EQ(forcedShutdowns_, 1);
  EXPECT_THAT(tap_.Writes(), IsEmpty());
  EXPECT_EQ(Flash(0xD0000, 8), "Ver.3.02");  // nothing erased
}

TEST_F(OlderFirmwareTest, DecliningWhileTheWindowClosesShowsNothing) {
  sink_.canShow = false;
  EXPECT_FALSE(Open(ScriptedUser::Choice::kDecline));
  EXPECT_THAT(sink_.Boxes(), IsEmpty());
  EXPECT_EQ(forcedShutdowns_, 0);
}

TEST_F(OlderFirmwareTest, FailedDownloadStillStartsTheProgram) {
  EXPECT_TRUE(Open(ScriptedUser::Choice::kDownload, "/nonexistent-program-folder"));
  EXPECT_EQ(user_->finalText, "Downloading is not complete.");
  EXPECT_THAT(sink_.Texts(), ElementsAre("Download error."));
  EXPECT_EQ(Flash(0xD0000, 1), "\xFF");  // offered again at the next start
}

class ErasedFirmwareTest : public OpenAnalyzerTest {
 protected:
  ErasedFirmwareTest() : OpenAnalyzerTest("erased-firmware") {}
};

TEST_F(ErasedFirmwareTest, UpdateRunsAndTheNextOpeningPassesTheCheck) {
  ASSERT_TRUE(Open(ScriptedUser::Choice::kDownload));
  EXPECT_EQ(user_->calls, 1);
  EXPECT_EQ(user_->finalText, "Downloading is almost complete.");
  EXPECT_THAT(sink_.Boxes(), IsEmpty());
  EXPECT_EQ(Flash(0xD0000, 9), "Ver.3.11\xFF");
  EXPECT_EQ(Flash(0xE0060, 9), "Ver.3.11\xFF");

  ::CloseUSB();
  rig_.analyzer().Replug();
  ASSERT_TRUE(Open(ScriptedUser::Choice::kDownload));
  EXPECT_EQ(user_->calls, 0);
}

}  // namespace
}  // namespace orvane::analyzer
