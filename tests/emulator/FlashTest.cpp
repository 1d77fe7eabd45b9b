// Flash areas: contents by profile, erase per sector, bits that only go from
// 1 to 0, injected failures, and a whole firmware update over the pipes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "emulator/VirtualAnalyzer.h"
#include "tests/emulator/PipeClient.h"

namespace orvane::emulator {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::Optional;
using testing::PipeClient;
using Bytes = std::vector<std::uint8_t>;

Bytes TextThenErased(std::string_view text, std::size_t size) {
  Bytes bytes(text.begin(), text.end());
  bytes.resize(size, 0xFF);
  return bytes;
}

class FlashTest : public ::testing::Test {
 protected:
  explicit FlashTest(AnalyzerProfile profile = {})
      : unit_(std::make_shared<VirtualClock>(), std::move(profile)) {}

  VirtualAnalyzer unit_;
  PipeClient client_{unit_};
};

TEST_F(FlashTest, DefaultProfileHoldsSerialNumberAndCurrentVersion) {
  EXPECT_THAT(client_.MemoryReadEx(0xC0000, 32), Optional(TextThenErased("VA000001", 32)));
  EXPECT_THAT(client_.MemoryReadEx(0xD0000, 16), Optional(TextThenErased("Ver.3.11", 16)));
  EXPECT_THAT(client_.MemoryReadEx(0xE0060, 16), Optional(TextThenErased("Ver.3.11", 16)));
}

TEST(FlashProfileTest, ProfilesChooseSerialNumberAndFirmware) {
  AnalyzerProfile older = *ProfileNamed("old-firmware");
  older.serial_number = "VA123456";
  VirtualAnalyzer old_unit(std::make_shared<VirtualClock>(), older);
  PipeClient old_client(old_unit);
  EXPECT_THAT(old_client.MemoryReadEx(0xC0000, 9), Optional(TextThenErased("VA123456", 9)));
  EXPECT_THAT(old_client.MemoryReadEx(0xD0000, 9), Optional(TextThenErased("Ver.3.02", 9)));
  EXPECT_THAT(old_client.MemoryReadEx(0xE0060, 9), Optional(TextThenErased("Ver.3.02", 9)));

  VirtualAnalyzer erased_unit(std::make_shared<VirtualClock>(), *ProfileNamed("erased-firmware"));
  PipeClient erased_client(erased_unit);
  EXPECT_THAT(erased_client.MemoryReadEx(0xD0000, 16), Optional(Each(0xFF)));
  EXPECT_THAT(erased_client.MemoryReadEx(0xE0000, 128), Optional(Each(0xFF)));

  EXPECT_FALSE(ProfileNamed("no-such-profile"));
}

TEST_F(FlashTest, EraseClearsTheWholeSectorAndNothingElse) {
  ASSERT_TRUE(client_.FlashErase(0xD1234));
  EXPECT_THAT(client_.MemoryReadEx(0xD0000, 16), Optional(Each(0xFF)));
  EXPECT_THAT(client_.MemoryReadEx(0xDFF00, 256), Optional(Each(0xFF)));
  EXPECT_THAT(client_.MemoryReadEx(0xC0000, 2), Optional(ElementsAre('V', 'A')));
  EXPECT_THAT(client_.MemoryReadEx(0xE0060, 2), Optional(ElementsAre('V', 'e')));
}

TEST_F(FlashTest, WritingOnlyClearsBits) {
  ASSERT_TRUE(client_.FlashErase(0xD0000));
  ASSERT_TRUE(client_.FlashWrite(0xD0000, Bytes{0xF0, 0x3C}));
  EXPECT_THAT(client_.MemoryReadEx(0xD0000, 3), Optional(ElementsAre(0xF0, 0x3C, 0xFF)));
  ASSERT_TRUE(client_.FlashWrite(0xD0000, Bytes{0x0F, 0xFF}));
  EXPECT_THAT(client_.MemoryReadEx(0xD0000, 2), Optional(ElementsAre(0x00, 0x3C)));
}

TEST_F(FlashTest, CommandsOutsideTheFlashWindowAreNotAcknowledged) {
  EXPECT_FALSE(client_.FlashErase(0xBFFFF));
  EXPECT_FALSE(client_.FlashErase(0xF0000));
  EXPECT_FALSE(client_.FlashWrite(0xBFFFF, Bytes{0x00}));
  // A write that would run past the end changes nothing.
  EXPECT_FALSE(client_.FlashWrite(0xEFFFF, Bytes{0x00, 0x00}));
  EXPECT_THAT(client_.MemoryReadEx(0xEFFFF, 1), Optional(ElementsAre(0xFF)));
  EXPECT_TRUE(client_.FlashWrite(0xEFFFF, Bytes{0x00}));
}

TEST_F(FlashTest, InjectedFailuresLeaveTheFlashUnchangedAndUnacknowledged) {
  unit_.SetFlashEraseFails(true);
  EXPECT_FALSE(client_.FlashErase(0xD0000));
  EXPECT_THAT(client_.MemoryReadEx(0xD0000, 1), Optional(ElementsAre('V')));
  unit_.SetFlashEraseFails(false);
  ASSERT_TRUE(client_.FlashErase(0xD0000));

  unit_.SetFlashWriteFails(true);
  EXPECT_FALSE(client_.FlashWrite(0xD0000, Bytes{0x00}));
  EXPECT_THAT(client_.MemoryReadEx(0xD0000, 1), Optional(ElementsAre(0xFF)));
  unit_.SetFlashWriteFails(false);
  EXPECT_TRUE(client_.FlashWrite(0xD0000, Bytes{0x00}));
}

class FirmwareUpdateTest : public FlashTest {
 protected:
  FirmwareUpdateTest() : FlashTest(*ProfileNamed("erased-firmware")) {}
};

TEST_F(FirmwareUpdateTest, UpdateWritesImageAndVersionThenTheFirmwareRuns) {
  Bytes image(0x10000);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7);
  const Bytes version = TextThenErased("Ver.3.11", 16);
  std::copy(version.begin(), version.end(), image.begin() + 0x60);

  ASSERT_TRUE(client_.FlashErase(0xD0000));
  ASSERT_TRUE(client_.FlashErase(0xE0000));
  for (std::uint32_t block = 0; block < 256; ++block) {
    const Bytes chunk(image.begin() + block * 256, image.begin() + (block + 1) * 256);
    ASSERT_TRUE(client_.FlashWrite(0xE0000 + block * 256, chunk)) << block;
  }
  ASSERT_TRUE(client_.FlashWrite(0xD0000, TextThenErased("Ver.3.11", 256)));

  for (std::uint32_t offset = 0; offset < image.size(); offset += 500) {
    const auto length = static_cast<std::uint16_t>(std::min<std::size_t>(500, image.size() - offset));
    EXPECT_THAT(client_.MemoryReadEx(0xE0000 + offset, length),
                Optional(Bytes(image.begin() + offset, image.begin() + offset + length)));
  }
  EXPECT_THAT(client_.MemoryReadEx(0xD0000, 16), Optional(version));
  EXPECT_TRUE(client_.TargetGo());
  EXPECT_TRUE(client_.MonitorStart());
}

}  // namespace
}  // namespace orvane::emulator
