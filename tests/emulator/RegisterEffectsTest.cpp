// Register writes with effects under the firmware: table banks handed over,
// the one-shot mailbox sending a wake-up, power-on defaults.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "emulator/VirtualAnalyzer.h"
#include "tests/emulator/PipeClient.h"

namespace orvane::emulator {
namespace {

using ::testing::ElementsAre;
using ::testing::Optional;
using testing::PipeClient;
using testing::RecordsOf;
using Bytes = std::vector<std::uint8_t>;

const Bytes kWakeupEntry = {0x01, 0x00, 0x30, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

class RegisterEffectsTest : public ::testing::Test {
 protected:
  explicit RegisterEffectsTest(AnalyzerProfile profile = *ProfileNamed("clean"))
      : unit_(clock_, std::move(profile)) {}

  bool SendOneShot(const Bytes& entry) {
    return client_.MemoryWrite(0x07E0, entry) && client_.MemoryWriteByte(0x07EE, 1);
  }

  std::shared_ptr<VirtualClock> clock_ = std::make_shared<VirtualClock>();
  VirtualAnalyzer unit_;
  PipeClient client_{unit_};
};

TEST_F(RegisterEffectsTest, PowerOnRegistersHoldTheFirmwareDefaults) {
  EXPECT_THAT(client_.MemoryRead(0x0401, 18),
              Optional(ElementsAre(0x00, 0x00, 0x33, 0x00, 0x42, 0x00, 0x33, 0x00, 0xCF, 0x40,
                                   0x03, 0, 0, 0, 0, 0, 0, 0)));
  EXPECT_THAT(client_.MemoryRead(0x0413, 2), Optional(ElementsAre(250, 0)));
  EXPECT_THAT(client_.MemoryRead(0x11B0 + 0x1F, 3), Optional(ElementsAre(2, 4, 4)));
  EXPECT_THAT(client_.MemoryRead(0x11B0 + 0x3F, 1), Optional(ElementsAre(8)));
}

TEST_F(RegisterEffectsTest, TheUnitTakesEachRequestedBankAndFreesThePreviousOne) {
  ASSERT_TRUE(client_.TargetGo());
  ASSERT_TRUE(client_.MemoryWriteByte(0x0416, 1));
  ASSERT_TRUE(client_.MemoryWriteByte(0x07D0, 0));

  // Start a schedule from bank 1.
  ASSERT_TRUE(client_.MemoryWrite(0x0610, Bytes(448, 0x11)));
  ASSERT_TRUE(client_.MemoryWriteByte(0x07D0, 2));
  EXPECT_EQ(client_.ReadByte(0x07D0), 3);
  EXPECT_EQ(client_.ReadByte(0x0600), 0);
  EXPECT_EQ(client_.ReadByte(0x0416), 0);

  // Replace the running table through bank 0: bank 1 is freed.
  ASSERT_TRUE(client_.MemoryWrite(0x0440, Bytes(448, 0x22)));
  ASSERT_TRUE(client_.MemoryWriteByte(0x0600, 1));
  EXPECT_EQ(client_.ReadByte(0x0600), 3);
  EXPECT_EQ(client_.ReadByte(0x07D0), 0);
  EXPECT_EQ(client_.ReadByte(0x0416), 1);

  // Other state values are not requests.
  ASSERT_TRUE(client_.MemoryWriteByte(0x07D0, 5));
  EXPECT_EQ(client_.ReadByte(0x07D0), 5);
  EXPECT_EQ(client_.ReadByte(0x0600), 3);
  // The tables themselves stay as written.
  EXPECT_THAT(client_.MemoryRead(0x0610, 2), Optional(ElementsAre(0x11, 0x11)));
}

TEST_F(RegisterEffectsTest, BootProgramTakesNoBankAndSendsNoOneShot) {
  ASSERT_TRUE(client_.MemoryWriteByte(0x0600, 2));
  ASSERT_TRUE(SendOneShot(kWakeupEntry));
  clock_->Advance(Micros(100'000));
  EXPECT_EQ(client_.ReadByte(0x0600), 2);
  EXPECT_EQ(client_.ReadByte(0x07EE), 1);
}

TEST_F(RegisterEffectsTest, MailboxWakeupIsSentAtTheNextGapAndReleased) {
  ASSERT_TRUE(client_.StartMonitoring());
  ASSERT_TRUE(client_.MemoryWriteByte(0x0415, 1));              // LIN 2.0
  ASSERT_TRUE(client_.MemoryWrite(0x0413, Bytes{0x88, 0x13}));  // 5000 us
  clock_->Advance(Micros(3'000));  // inside the first frame, which ends at 7.08 ms
  ASSERT_TRUE(SendOneShot(kWakeupEntry));

  const std::vector<UnitRecord> records = RecordsOf(client_.ReadBlocksFor(Micros(60'000)));
  const auto wakeup = std::ranges::find(records, 3, &UnitRecord::kind);
  ASSERT_NE(wakeup, records.end());
  EXPECT_EQ(wakeup->flags, 0x80);
  EXPECT_EQ(wakeup->node, 3);
  // Sent after the frame on the bus, lasting 5 ms.
  EXPECT_EQ(+wakeup->time, 7 + 5);
  EXPECT_EQ(std::ranges::count(records, 3, &UnitRecord::kind), 1);
  EXPECT_EQ(client_.ReadByte(0x07EE), 0);
}

TEST_F(RegisterEffectsTest, UnderLin13TheWakeupIsTheCharacter0x80AtTheUnitsBaudRate) {
  ASSERT_TRUE(client_.StartMonitoring());
  ASSERT_TRUE(client_.MemoryWrite(0x0413, Bytes{0x88, 0x13}));  // not used under LIN 1.3
  ASSERT_TRUE(client_.MemoryWrite(0x0402, Bytes{0x02, 0x33, 0x02, 0x42, 0x02, 0x33, 0x02, 0xCF, 0x14, 0x34}));
  clock_->Advance(Micros(3'000));
  ASSERT_TRUE(SendOneShot(kWakeupEntry));
  const std::vector<UnitRecord> records = RecordsOf(client_.ReadBlocksFor(Micros(60'000)));
  const auto wakeup = std::ranges::find(records, 3, &UnitRecord::kind);
  ASSERT_NE(wakeup, records.end());
  // 8 bit times at 600 bit/s after the frame that ends at 7.08 ms.
  EXPECT_EQ(+wakeup->time, 20);
}

TEST_F(RegisterEffectsTest, MailboxReleasesOtherEntriesWithoutSending) {
  ASSERT_TRUE(client_.StartMonitoring());
  ASSERT_TRUE(SendOneShot({0x01, 0x00, 0x10, 0x05, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0}));
  client_.ReadBlocksFor(Micros(40'000));
  EXPECT_EQ(client_.ReadByte(0x07EE), 0);
}

class SleepingBusTest : public RegisterEffectsTest {
 protected:
  SleepingBusTest() : RegisterEffectsTest(AnalyzerProfile{}) {}
};

TEST_F(SleepingBusTest, AWakeupFromTheUnitWakesTheDemoNetwork) {
  ASSERT_TRUE(client_.StartMonitoring());
  std::vector<UnitRecord> records;
  while (std::ranges::find(records, 2, &UnitRecord::kind) == records.end()) {
    ASSERT_LT(clock_->NowMicros(), 70'000'000);
    const auto block = client_.ReadBlock();
    ASSERT_TRUE(block);
    records.insert(records.end(), block->records.begin(), block->records.end());
  }
  clock_->Advance(Micros(300'000));
  ASSERT_TRUE(SendOneShot(kWakeupEntry));
  const std::vector<UnitRecord> after = RecordsOf(client_.ReadBlocksFor(Micros(2'000'000)));
  ASSERT_GE(after.size(), 2u);
  EXPECT_EQ(after[0].kind, 3);
  EXPECT_EQ(after[0].flags, 0x80);
  // The master resumes 120 ms after the pulse; the slaves' own wake-up is
  // no longer needed.
  EXPECT_EQ(after[1].kind, 1);
  EXPECT_NEAR(after[1].time - after[0].time, 127, 1);
  EXPECT_EQ(std::ranges::count(after, 3, &UnitRecord::kind), 1);
}

}  // namespace
}  // namespace orvane::emulator
