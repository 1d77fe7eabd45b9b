// The link library over the virtual backend: the device as the generic
// driver presents it, and the commands against the virtual analyzer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "emulator/VirtualAnalyzer.h"
#include "link/driver/Backends.h"
#include "link/orlink.h"
#include "tests/support/VirtualLinkRig.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

// Text of a flash area up to its first 0xFF.
std::string FlashText(std::span<const std::uint8_t> area) {
  return {area.begin(), std::ranges::find(area, 0xFF)};
}

TEST(VirtualDeviceTest, EnumeratesOneAnalyzerWithItsUsbIdentity) {
  VirtualLinkRig rig;
  ASSERT_EQ(Uusbd_Open_mask(0x1F, emulator::kDeviceClass, emulator::kDeviceSubclass,
                            emulator::kVendorId, emulator::kProductId, 0x11),
            -1);  // the release 0x0311 is above 0xFF
  ASSERT_EQ(Uusbd_Open_mask(0x0F, emulator::kDeviceClass, emulator::kDeviceSubclass,
                            emulator::kVendorId, emulator::kProductId, 0),
            0);

  std::array<std::uint8_t, 18> descriptor{};
  ASSERT_EQ(Uusbd_GetDeviceDescriptor(0, descriptor.data()), 1);
  EXPECT_EQ(descriptor, rig.analyzer().DeviceDescriptor());
  std::array<std::uint8_t, 64> configuration{};
  ASSERT_EQ(Uusbd_GetConfigurationDescriptor(0, configuration.data(), 64), 1);
  // Total length 46: interface 0 with four bulk endpoints, in pipe order.
  EXPECT_THAT(std::span(configuration).first(4), ElementsAre(9, 2, 46, 0));
  EXPECT_EQ(configuration[13], 4);
  EXPECT_THAT((std::array{configuration[20], configuration[27], configuration[34],
                          configuration[41]}),
              ElementsAre(0x81, 0x01, 0x02, 0x82));

  std::array<std::uint8_t, 2> status{0xEE, 0xEE};
  EXPECT_NE(Uusbd_GetStatusEndpoint(0, 0x82, status.data()), 0);
  EXPECT_THAT(status, ElementsAre(0, 0));
  std::array<std::uint8_t, 4> answer{0xEE, 0xEE, 0xEE, 0xEE};
  EXPECT_NE(Uusbd_VendorRequest(0, 1, 0, 0x01, 0, 0, 4, answer.data()), 0);
  EXPECT_THAT(answer, ElementsAre(0, 0, 0, 0));
  EXPECT_NE(Uusbd_ClassRequest(0, 0, 1, 0x0A, 0, 0, 4, answer.data()), 0);
  EXPECT_NE(Uusbd_ResetDevice(0), 0);

  const OrlinkHandle reply_pipe = Uusbd_OpenPipe(0, 0, 3);
  ASSERT_NE(reply_pipe, ORLINK_INVALID_HANDLE);
  EXPECT_NE(Uusbd_ResetPipe(reply_pipe), 0);
  EXPECT_EQ(Uusbd_OpenPipe(0, 0, 4), ORLINK_INVALID_HANDLE);
  EXPECT_EQ(Uusbd_OpenPipe(0, 1, 0), ORLINK_INVALID_HANDLE);
}

TEST(VirtualDeviceTest, UnpluggedAnalyzerIsAbsentAndNotEnumerated) {
  VirtualLinkRig rig;
  ASSERT_EQ(Uusbd_Open(), 0);
  EXPECT_EQ(Uusbd_Check(0), 0);

  rig.analyzer().Unplug();
  EXPECT_EQ(Uusbd_Check(0), 2);
  EXPECT_EQ(Uusbd_Open(), -1);
  EXPECT_EQ(Uusbd_OpenPipe(0, 0, 2), ORLINK_INVALID_HANDLE);

  rig.analyzer().Replug();
  EXPECT_EQ(Uusbd_Check(0), 0);
  EXPECT_EQ(Uusbd_Open(), 1);
}

TEST(VirtualCommandsTest, ReadsIdentityAndWritesRegisters) {
  VirtualLinkRig rig;
  ASSERT_EQ(InitUSB(), 1);
  EXPECT_EQ(CheckUSB(), 1);

  std::array<std::uint8_t, 32> serial{};
  ASSERT_EQ(MemoryReadEx(0xC0000, serial.size(), serial.data()), 1);
  EXPECT_EQ(FlashText(serial), "VA000001");
  std::array<std::uint8_t, 16> version{};
  ASSERT_EQ(MemoryReadEx(0xD0000, version.size(), version.data()), 1);
  EXPECT_EQ(FlashText(version), "Ver.3.11");

  ASSERT_EQ(TargetGo(), 1);
  const std::array<std::uint8_t, 2> wakeup{0xFA, 0x00};
  ASSERT_EQ(MemoryWrite(0x0413, wakeup.size(), wakeup.data()), 1);
  std::array<std::uint8_t, 2> read_back{};
  ASSERT_EQ(MemoryRead(0x0413, read_back.size(), read_back.data()), 1);
  EXPECT_EQ(read_back, wakeup);
  EXPECT_EQ(MonitorStart(), 1);
  EXPECT_EQ(MonitorStop(), 1);
}

TEST(VirtualCommandsTest, GarbledOrStalledRepliesFailWithoutTouchingTheDestination) {
  VirtualLinkRig rig;
  ASSERT_EQ(InitUSB(), 1);
  std::array<std::uint8_t, 16> version;
  version.fill(0xEE);

  rig.analyzer().GarbleNextReply();
  EXPECT_EQ(MemoryReadEx(0xD0000, version.size(), version.data()), 0);
  rig.analyzer().StallNextReply();
  EXPECT_EQ(MemoryReadEx(0xD0000, version.size(), version.data()), 0);
  EXPECT_EQ(std::ranges::count(version, 0xEE), 16);
  rig.analyzer().GarbleNextReply();
  EXPECT_EQ(TargetGo(), 0);

  EXPECT_EQ(MemoryReadEx(0xD0000, version.size(), version.data()), 1);
  EXPECT_EQ(FlashText(version), "Ver.3.11");
}

TEST(VirtualCommandsTest, UnpluggedAnalyzerFailsCommandsAndPresenceCheck) {
  VirtualLinkRig rig;
  ASSERT_EQ(InitUSB(), 1);
  rig.analyzer().Unplug();
  EXPECT_EQ(CheckUSB(), 0);
  EXPECT_EQ(TargetGo(), 0);
  std::array<std::uint8_t, 27> header{};
  EXPECT_EQ(MonitorRead(header.data(), nullptr, 0), 0);
}

TEST(VirtualCommandsTest, OversizedBlockGivesOnlyTheWholeRecordsThatFitTheCaller) {
  VirtualLinkRig rig;
  ASSERT_EQ(InitUSB(), 1);
  ASSERT_EQ(TargetGo(), 1);
  ASSERT_EQ(MonitorStart(), 1);
  rig.analyzer().AnnounceOversizedNextBlock(40);

  std::array<std::uint8_t, 27> header{};
  std::vector<std::uint8_t> records(30 * 19, 0xEE);
  ASSERT_EQ(MonitorRead(header.data(), records.data(), 30), 1);
  EXPECT_EQ(header[26], 40);
  // 512 bytes hold the header and 25 whole records; the part of a 26th is
  // not copied, and the five announced records that never came read as zeros.
  EXPECT_EQ(std::count(records.begin() + 25 * 19, records.end(), 0), 5 * 19);
}

TEST(VirtualCommandsTest, InitUsbWithoutAnalyzerGivesUpAfterTenVirtualSeconds) {
  VirtualLinkRig rig;
  rig.analyzer().Unplug();
  EXPECT_EQ(InitUSB(), 0);
  EXPECT_EQ(rig.Elapsed(), 9900ms);
}

TEST(BackendsTest, DeviceNamesChooseFromTheBackendTable) {
  EXPECT_EQ(orlink::driver::CreateDriver("virtual")->Name(), "virtual");
  // With no allow-listed analyzer attached (none is on a test machine),
  // "auto" falls to the virtual analyzer; "usb" names the libusb backend,
  // which is missing only where libusb cannot start at all.
  EXPECT_EQ(orlink::driver::CreateDriver("auto")->Name(), "virtual");
  const auto usb = orlink::driver::CreateDriver("usb");
  if (usb) {
    EXPECT_EQ(usb->Name(), "usb");
  }
  EXPECT_EQ(orlink::driver::CreateDriver("Virtual"), nullptr);
}

}  // namespace
}  // namespace orvane::testing
