// The analyzer commands against a scripted driver: opening, acknowledges,
// read replies, monitor blocks and their failures.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <numeric>

#include "link/orlink.h"
#include "tests/link/LinkFixture.h"

namespace orlink::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::Each;
using ::testing::ElementsAre;

constexpr std::size_t kAckRead = 256;
constexpr std::size_t kReplyRead = 512;
constexpr std::size_t kBlockRead = 512;

const Bytes kMonitorStart{0x02, 0x00, 0x05, 0x05, 0x03};
const Bytes kReadRequest{0x02, 0x00, 0x09, 0x04, 0x04, 0x17, 0x00, 0x02, 0x03};
const Bytes kReadReply{0x02, 0x00, 0x0B, 0x04, 0x04, 0x17, 0x00, 0x02, 0x80, 0x25, 0x03};

using InitUsbTest = LinkTest;

TEST_F(InitUsbTest, OpensTheDeviceAndPipes023OfInterface0) {
  ScriptInitUsb();
  EXPECT_EQ(InitUSB(), 1);
  EXPECT_TRUE(waits_.empty());

  ScriptPresenceCheck(kDeviceHandle, 1);
  EXPECT_EQ(CheckUSB(), 1);
  ScriptPresenceCheck(kDeviceHandle, 0);
  EXPECT_EQ(CheckUSB(), 0);

  driver_->ExpectClose(kMonitorPipe)
      .ExpectClose(kCommandPipe)
      .ExpectClose(kReplyPipe)
      .ExpectClose(kDeviceHandle);
  CloseUSB();
  CloseUSB();  // closed already: nothing
  EXPECT_EQ(CheckUSB(), 0);
}

TEST_F(InitUsbTest, WithoutAnalyzerTries100TimesWaiting100msBetween) {
  for (int attempt = 0; attempt < 100; ++attempt) driver_->ExpectInterfacePath(0, std::nullopt);
  EXPECT_EQ(InitUSB(), 0);
  EXPECT_EQ(waits_.size(), 99u);
  EXPECT_THAT(waits_, Each(100ms));
}

TEST_F(InitUsbTest, FindsTheAnalyzerWhenItAppearsDuringTheAttempts) {
  driver_->ExpectInterfacePath(0, std::nullopt).ExpectInterfacePath(0, std::nullopt);
  ScriptInitUsb();
  EXPECT_EQ(InitUSB(), 1);
  EXPECT_THAT(waits_, ElementsAre(100ms, 100ms));
}

TEST_F(InitUsbTest, AbsentDeviceFailsAndCloseUsbReleasesIt) {
  ScriptOpenFirstDevice();
  ScriptPresenceCheck(kDeviceHandle, 0);
  EXPECT_EQ(InitUSB(), 0);

  driver_->ExpectClose(kDeviceHandle);
  CloseUSB();
}

TEST_F(InitUsbTest, FailedPipeStopsAtOnceAndCloseUsbClosesThePipesOpened) {
  ScriptOpenFirstDevice();
  ScriptPresenceCheck(kDeviceHandle, 1);
  driver_->ExpectOpen(std::string(kDevicePath) + "\\if000pipe000", kMonitorPipe)
      .ExpectOpen(std::string(kDevicePath) + "\\if000pipe002", driver::kInvalidHandle);
  EXPECT_EQ(InitUSB(), 0);

  driver_->ExpectClose(kMonitorPipe).ExpectClose(kDeviceHandle);
  CloseUSB();
}

TEST_F(InitUsbTest, SecondInitUsbReleasesTheFirstConnection) {
  ScriptInitUsb();
  ASSERT_EQ(InitUSB(), 1);
  driver_->ExpectClose(kMonitorPipe)
      .ExpectClose(kCommandPipe)
      .ExpectClose(kReplyPipe)
      .ExpectClose(kDeviceHandle);
  ScriptInitUsb();
  EXPECT_EQ(InitUSB(), 1);
}

class OpenLinkTest : public LinkTest {
 protected:
  void SetUp() override {
    LinkTest::SetUp();
    ScriptInitUsb();
    ASSERT_EQ(InitUSB(), 1);
  }
};

using AcknowledgeTest = OpenLinkTest;

TEST_F(AcknowledgeTest, FirstBlockStartingWith0x55Succeeds) {
  driver_->ExpectWrite(kCommandPipe, kMonitorStart)
      .ExpectRead(kReplyPipe, kAckRead, {0x02, 0x55})
      .ExpectRead(kReplyPipe, kAckRead, {})
      .ExpectRead(kReplyPipe, kAckRead, {0x55, 0x00});
  EXPECT_EQ(MonitorStart(), 1);
  EXPECT_TRUE(waits_.empty());
}

TEST_F(AcknowledgeTest, FiveBlocksWithoutAcknowledgeFail) {
  driver_->ExpectWrite(kCommandPipe, {0x02, 0x00, 0x05, 0x01, 0x03});
  for (int read = 0; read < 5; ++read) driver_->ExpectRead(kReplyPipe, kAckRead, {0x02});
  EXPECT_EQ(TargetGo(), 0);
}

TEST_F(AcknowledgeTest, FailedReadOrWriteFailsAtOnce) {
  driver_->ExpectWrite(kCommandPipe, {0x02, 0x00, 0x05, 0x06, 0x03})
      .ExpectRead(kReplyPipe, kAckRead, {0x02})
      .ExpectFailedRead(kReplyPipe, kAckRead);
  EXPECT_EQ(MonitorStop(), 0);

  driver_->ExpectWrite(kCommandPipe, kMonitorStart, false);
  EXPECT_EQ(MonitorStart(), 0);
}

TEST_F(AcknowledgeTest, FlashCommandsWaitBeforeReadingTheAcknowledge) {
  driver_->ExpectWrite(kCommandPipe, {0x02, 0x00, 0x08, 0x08, 0x02, 0x00, 0x00, 0x03})
      .ExpectRead(kReplyPipe, kAckRead, {0x55});
  EXPECT_EQ(FrashErase(0x020000), 1);
  EXPECT_THAT(waits_, ElementsAre(100ms));

  std::array<std::uint8_t, 2> data{0x12, 0x34};
  driver_->ExpectWrite(kCommandPipe, {0x02, 0x00, 0x0E, 0x02, 0x0E, 0x00, 0x80, 0x00, 0x02, 0x12,
                                      0x34, 0x00, 0x46, 0x03})
      .ExpectRead(kReplyPipe, kAckRead, {0x55});
  EXPECT_EQ(FrashWrite(0x0E0080, 2, data.data()), 1);
  EXPECT_THAT(waits_, ElementsAre(100ms, 10ms));
}

TEST_F(AcknowledgeTest, MemoryWriteOfOneByte) {
  const std::uint8_t zero = 0;
  driver_->ExpectWrite(kCommandPipe, {0x02, 0x00, 0x0A, 0x03, 0x04, 0x01, 0x00, 0x01, 0x00, 0x03})
      .ExpectRead(kReplyPipe, kAckRead, {0x55});
  EXPECT_EQ(MemoryWrite(0x0401, 1, &zero), 1);
}

TEST_F(AcknowledgeTest, LengthsBeyondTheLimitsOrMissingBuffersFailWithoutIo) {
  const std::vector<std::uint8_t> large(600, 0xAA);
  EXPECT_EQ(FrashWrite(0x0E0000, 501, large.data()), 0);
  EXPECT_EQ(MemoryWrite(0x0440, 504, large.data()), 0);
  EXPECT_EQ(MemoryWrite(0x0440, 0x10001, large.data()), 0);
  EXPECT_EQ(MemoryWrite(0x0440, 4, nullptr), 0);
  EXPECT_EQ(FrashWrite(0x0E0000, 4, nullptr), 0);
  EXPECT_TRUE(waits_.empty());
}

using ReadReplyTest = OpenLinkTest;

TEST_F(ReadReplyTest, MatchingReplyFillsExactlyTheRequestedBytes) {
  driver_->ExpectWrite(kCommandPipe, kReadRequest).ExpectRead(kReplyPipe, kReplyRead, kReadReply);
  std::array<std::uint8_t, 4> destination{0xEE, 0xEE, 0xEE, 0xEE};
  EXPECT_EQ(MemoryRead(0x0417, 2, destination.data()), 1);
  EXPECT_THAT(destination, ElementsAre(0x80, 0x25, 0xEE, 0xEE));
}

TEST_F(ReadReplyTest, AcknowledgeAndWrongEchoAreSkippedUntilTheMatchingReply) {
  Bytes wrong_length = kReadReply;
  wrong_length[7] = 0x01;
  driver_->ExpectWrite(kCommandPipe, kReadRequest)
      .ExpectRead(kReplyPipe, kReplyRead, {0x55})
      .ExpectRead(kReplyPipe, kReplyRead, wrong_length)
      .ExpectRead(kReplyPipe, kReplyRead, kReadReply);
  std::array<std::uint8_t, 2> destination{};
  EXPECT_EQ(MemoryRead(0x0417, 2, destination.data()), 1);
  EXPECT_THAT(destination, ElementsAre(0x80, 0x25));
}

TEST_F(ReadReplyTest, NoMatchWithinFiveReadsLeavesTheDestinationUntouched) {
  Bytes wrong_length = kReadReply;
  wrong_length[7] = 0x03;
  driver_->ExpectWrite(kCommandPipe, kReadRequest);
  for (int read = 0; read < 5; ++read) driver_->ExpectRead(kReplyPipe, kReplyRead, wrong_length);
  std::array<std::uint8_t, 2> destination{0xEE, 0xEE};
  EXPECT_EQ(MemoryRead(0x0417, 2, destination.data()), 0);
  EXPECT_THAT(destination, ElementsAre(0xEE, 0xEE));
}

TEST_F(ReadReplyTest, ReplyCutInsideTheDataIsNotTaken) {
  driver_->ExpectWrite(kCommandPipe, kReadRequest)
      .ExpectRead(kReplyPipe, kReplyRead, Bytes(kReadReply.begin(), kReadReply.begin() + 9))
      .ExpectFailedRead(kReplyPipe, kReplyRead);
  std::array<std::uint8_t, 2> destination{0xEE, 0xEE};
  EXPECT_EQ(MemoryRead(0x0417, 2, destination.data()), 0);
  EXPECT_THAT(destination, ElementsAre(0xEE, 0xEE));
}

TEST_F(ReadReplyTest, MemoryReadExEchoesA24BitAddress) {
  driver_->ExpectWrite(kCommandPipe, {0x02, 0x00, 0x0A, 0x07, 0x0D, 0x00, 0x00, 0x00, 0x03, 0x03})
      .ExpectRead(kReplyPipe, kReplyRead,
                  {0x02, 0x00, 0x0D, 0x07, 0x0D, 0x00, 0x00, 0x00, 0x03, 'V', 'e', 'r', 0x03});
  std::array<std::uint8_t, 3> destination{};
  EXPECT_EQ(MemoryReadEx(0x0D0000, 3, destination.data()), 1);
  EXPECT_THAT(destination, ElementsAre('V', 'e', 'r'));
}

TEST_F(ReadReplyTest, LengthsBeyondTheLimitsOrMissingBuffersFailWithoutIo) {
  std::vector<std::uint8_t> destination(600, 0xEE);
  EXPECT_EQ(MemoryRead(0x0400, 505, destination.data()), 0);
  EXPECT_EQ(MemoryReadEx(0x0E0000, 504, destination.data()), 0);
  EXPECT_EQ(MemoryRead(0x0400, 2, nullptr), 0);
  EXPECT_THAT(destination, Each(0xEE));
}

using ClosedLinkTest = LinkTest;

TEST_F(ClosedLinkTest, CommandsFailWithoutIoBeforeInitUsb) {
  std::array<std::uint8_t, 27> header{};
  std::array<std::uint8_t, 19> record{};
  EXPECT_EQ(TargetGo(), 0);
  EXPECT_EQ(MemoryWrite(0x0401, 1, record.data()), 0);
  EXPECT_EQ(MemoryRead(0x0401, 1, record.data()), 0);
  EXPECT_EQ(CheckUSB(), 0);
  EXPECT_EQ(MonitorRead(header.data(), record.data(), 1), 0);
  EXPECT_EQ(waits_.size(), 3u);
}

// A monitor block: header with byte 26 = announced, then `records` records
// whose bytes all hold their record number.
Bytes MonitorBlock(std::uint8_t announced, std::size_t records, std::size_t extra_bytes = 0) {
  Bytes block(27, 0);
  std::iota(block.begin(), block.end(), std::uint8_t{0xA0});
  block[26] = announced;
  for (std::size_t record = 0; record < records; ++record) {
    block.insert(block.end(), 19, static_cast<std::uint8_t>(record + 1));
  }
  block.insert(block.end(), extra_bytes, 0x77);
  return block;
}

using MonitorReadTest = OpenLinkTest;

TEST_F(MonitorReadTest, CopiesHeaderAndAnnouncedRecords) {
  const Bytes block = MonitorBlock(3, 3);
  driver_->ExpectRead(kMonitorPipe, kBlockRead, block);
  std::array<std::uint8_t, 27> header{};
  std::vector<std::uint8_t> records(25 * 19, 0xEE);
  EXPECT_EQ(MonitorRead(header.data(), records.data(), 25), 1);
  EXPECT_EQ(Bytes(header.begin(), header.end()), Bytes(block.begin(), block.begin() + 27));
  EXPECT_EQ(Bytes(records.begin(), records.begin() + 57), Bytes(block.begin() + 27, block.end()));
  EXPECT_THAT(Bytes(records.begin() + 57, records.end()), Each(0xEE));
}

TEST_F(MonitorReadTest, MaximumBelowTheAnnouncedCountLimitsTheCopyButNotTheHeader) {
  driver_->ExpectRead(kMonitorPipe, kBlockRead, MonitorBlock(25, 25));
  std::array<std::uint8_t, 27> header{};
  std::vector<std::uint8_t> records(11 * 19, 0xEE);
  EXPECT_EQ(MonitorRead(header.data(), records.data(), 10), 1);
  EXPECT_EQ(header[26], 25);
  EXPECT_EQ(records[9 * 19], 10);
  EXPECT_THAT(Bytes(records.begin() + 10 * 19, records.end()), Each(0xEE));
}

TEST_F(MonitorReadTest, OnlyWholeRecordsTheReadDeliveredAreCopied) {
  // Announces 25 but the read delivered 2 records and part of a third: the
  // 23 records that never came read as zeros, the caller's room beyond the
  // announced count stays untouched.
  driver_->ExpectRead(kMonitorPipe, kBlockRead, MonitorBlock(25, 2, 10));
  std::array<std::uint8_t, 27> header{};
  std::vector<std::uint8_t> records(30 * 19, 0xEE);
  EXPECT_EQ(MonitorRead(header.data(), records.data(), 30), 1);
  EXPECT_EQ(header[26], 25);
  EXPECT_EQ(records[19], 2);
  EXPECT_THAT(Bytes(records.begin() + 2 * 19, records.begin() + 25 * 19), Each(0));
  EXPECT_THAT(Bytes(records.begin() + 25 * 19, records.end()), Each(0xEE));
}

TEST_F(MonitorReadTest, MaximumAbove255IsNotCutToItsLowByte) {
  driver_->ExpectRead(kMonitorPipe, kBlockRead, MonitorBlock(4, 4));
  std::array<std::uint8_t, 27> header{};
  std::vector<std::uint8_t> records(256 * 19, 0xEE);
  EXPECT_EQ(MonitorRead(header.data(), records.data(), 256), 1);
  EXPECT_EQ(records[3 * 19], 4);
}

TEST_F(MonitorReadTest, FailedOrShortReadsAreRetriedTwice100msApart) {
  driver_->ExpectFailedRead(kMonitorPipe, kBlockRead)
      .ExpectRead(kMonitorPipe, kBlockRead, Bytes(26, 0))
      .ExpectRead(kMonitorPipe, kBlockRead, MonitorBlock(0, 0));
  std::array<std::uint8_t, 27> header{};
  header.fill(0xEE);
  EXPECT_EQ(MonitorRead(header.data(), nullptr, 0), 1);
  EXPECT_EQ(header[26], 0);
  EXPECT_THAT(waits_, ElementsAre(100ms, 100ms));
}

TEST_F(MonitorReadTest, ThreeFailedAttemptsFailAfterThreeWaits) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    driver_->ExpectRead(kMonitorPipe, kBlockRead, Bytes(10, 0x11));
  }
  std::array<std::uint8_t, 27> header{};
  header.fill(0xEE);
  std::array<std::uint8_t, 19> record{};
  EXPECT_EQ(MonitorRead(header.data(), record.data(), 1), 0);
  EXPECT_THAT(header, Each(0xEE));
  EXPECT_THAT(waits_, ElementsAre(100ms, 100ms, 100ms));
}

TEST_F(MonitorReadTest, MissingBuffersFailWithoutIo) {
  std::array<std::uint8_t, 27> header{};
  EXPECT_EQ(MonitorRead(nullptr, header.data(), 1), 0);
  EXPECT_EQ(MonitorRead(header.data(), nullptr, 1), 0);
  EXPECT_TRUE(waits_.empty());
}

}  // namespace
}  // namespace orlink::testing
