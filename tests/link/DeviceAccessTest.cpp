// The Uusbd_* device access layer against a scripted driver.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "link/orlink.h"
#include "tests/link/LinkFixture.h"

namespace orlink::testing {
namespace {

const Bytes kAnalyzerDescriptor = DeviceDescriptor(0xFF, 0x00, 0x1209, 0x4C49, 0x0311);

using DeviceDiscoveryTest = LinkTest;

TEST_F(DeviceDiscoveryTest, NoDeviceOfTheClassGivesMinusOneAtOnce) {
  driver_->ExpectInterfacePath(0, std::nullopt);
  EXPECT_EQ(Uusbd_Open(), -1);
}

TEST_F(DeviceDiscoveryTest, SameDeviceOpenedTwiceTakesTwoEntriesAndAClosedEntryIsReused) {
  ScriptOpenFirstDevice(11);
  ScriptOpenFirstDevice(12);
  driver_->ExpectClose(11);
  ScriptOpenFirstDevice(13);

  EXPECT_EQ(Uusbd_Open(), 0);
  EXPECT_EQ(Uusbd_Open(), 1);
  Uusbd_Close(0);
  EXPECT_EQ(Uusbd_Open(), 0);
}

TEST_F(DeviceDiscoveryTest, MembersThatCannotBeOpenedOrDescribedAreSkipped) {
  driver_->ExpectInterfacePath(0, "a").ExpectOpen("a", driver::kInvalidHandle);
  driver_->ExpectInterfacePath(1, "b")
      .ExpectOpen("b", 31)
      .ExpectIoControl(31, driver::kGetDescriptor, {1, 0, 0, 0}, 18, {}, false)
      .ExpectClose(31);
  // A descriptor cut short cannot be compared.
  driver_->ExpectInterfacePath(2, "c")
      .ExpectOpen("c", 32)
      .ExpectIoControl(32, driver::kGetDescriptor, {1, 0, 0, 0}, 18, {18, 1, 0, 2})
      .ExpectClose(32);
  ScriptDiscovery(3, "d", 33, kAnalyzerDescriptor);

  EXPECT_EQ(Uusbd_Open(), 0);
}

TEST_F(DeviceDiscoveryTest, MaskSelectsTheComparedFields) {
  const Bytes other = DeviceDescriptor(0x02, 0x01, 0x0403, 0x6001, 0x0600);
  // Vendor and product of the analyzer: the first device is passed over.
  ScriptDiscovery(0, "other", 41, other);
  driver_->ExpectClose(41);
  ScriptDiscovery(1, "analyzer", 42, kAnalyzerDescriptor);
  EXPECT_EQ(Uusbd_Open_mask(0x0C, 0, 0, 0x1209, 0x4C49, 0), 0);

  // Class and subclass of the other device; bits above the low byte are ignored.
  ScriptDiscovery(0, "other", 43, other);
  EXPECT_EQ(Uusbd_Open_mask(0xF03, 0x02, 0x01, 0, 0, 0), 1);
}

TEST_F(DeviceDiscoveryTest, VendorThatNoDeviceHasLeavesNoHandleOpen) {
  ScriptDiscovery(0, "a", 51, kAnalyzerDescriptor);
  driver_->ExpectClose(51);
  ScriptDiscovery(1, "b", 52, DeviceDescriptor(0, 0, 0x0403, 0x6001, 0x0600));
  driver_->ExpectClose(52);
  driver_->ExpectInterfacePath(2, std::nullopt);

  EXPECT_EQ(Uusbd_Open_mask(0x04, 0, 0, 0xBEEF, 0, 0), -1);
}

TEST_F(DeviceDiscoveryTest, ReleaseIsWidenedTo16BitsBeforeTheComparison) {
  // bcdDevice 0x0311 has the low byte 0x11 but is above 0xFF: never a match.
  ScriptDiscovery(0, "a", 61, kAnalyzerDescriptor);
  driver_->ExpectClose(61);
  driver_->ExpectInterfacePath(1, std::nullopt);
  EXPECT_EQ(Uusbd_Open_mask(0x10, 0, 0, 0, 0, 0x11), -1);

  ScriptDiscovery(0, "b", 62, DeviceDescriptor(0xFF, 0, 0x1209, 0x4C49, 0x0042));
  EXPECT_EQ(Uusbd_Open_mask(0x10, 0, 0, 0, 0, 0x42), 0);
}

TEST_F(DeviceDiscoveryTest, FullTableClosesTheHandleAndGoesOnToTheNextMember) {
  for (int entry = 0; entry < 128; ++entry) ScriptOpenFirstDevice(100 + entry);
  ScriptOpenFirstDevice(300);
  driver_->ExpectClose(300).ExpectInterfacePath(1, std::nullopt);

  for (int entry = 0; entry < 128; ++entry) ASSERT_EQ(Uusbd_Open(), entry);
  EXPECT_EQ(Uusbd_Open(), -1);
}

TEST_F(DeviceDiscoveryTest, PathThatDoesNotFitAnEntryIsPassedOver) {
  const std::string longest(259, 'p');
  const std::string too_long(260, 'q');
  ScriptDiscovery(0, too_long, 71, kAnalyzerDescriptor);
  driver_->ExpectClose(71);
  ScriptDiscovery(1, longest, 72, kAnalyzerDescriptor);
  driver_->ExpectOpen(longest + "\\if000pipe003", 73);

  ASSERT_EQ(Uusbd_Open(), 0);
  EXPECT_EQ(Uusbd_OpenPipe(0, 0, 3), 73);
}

using DeviceRequestTest = LinkTest;

TEST_F(DeviceRequestTest, PipeNameTakesEightBitsOfInterfaceAndPipe) {
  ScriptOpenFirstDevice();
  driver_->ExpectOpen(std::string(kDevicePath) + "\\if000pipe002", 81)
      .ExpectOpen(std::string(kDevicePath) + "\\if001pipe255", driver::kInvalidHandle);
  ASSERT_EQ(Uusbd_Open(), 0);

  EXPECT_EQ(Uusbd_OpenPipe(0, 0x100, 0x102), 81);
  EXPECT_EQ(Uusbd_OpenPipe(0, 1, 255), ORLINK_INVALID_HANDLE);
  // Entries not in use: no I/O.
  EXPECT_EQ(Uusbd_OpenPipe(1, 0, 2), ORLINK_INVALID_HANDLE);
  EXPECT_EQ(Uusbd_OpenPipe(-1, 0, 2), ORLINK_INVALID_HANDLE);
  EXPECT_EQ(Uusbd_OpenPipe(128, 0, 2), ORLINK_INVALID_HANDLE);
}

TEST_F(DeviceRequestTest, ControlRequestHeadersCarryFunctionFlagsRequestValueAndIndex) {
  ScriptOpenFirstDevice();
  // Class request, device to host, recipient interface: function 0x1B, flags 2.
  driver_->ExpectIoControl(kDeviceHandle, driver::kControlDeviceToHost,
                           {0x1B, 0, 0, 0, 2, 0, 0, 0, 0, 0xA1, 0x34, 0x12, 0x78, 0x56, 0, 0}, 3,
                           {7, 8, 9});
  // Vendor request, host to device, recipient other: function 0x20, flags 0,
  // the data after the header.
  driver_->ExpectIoControl(kDeviceHandle, driver::kControlHostToDevice,
                           {0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0x42, 0x01, 0x00, 0x02, 0x00, 0, 0,
                            0xDE, 0xAD},
                           0, {});
  ASSERT_EQ(Uusbd_Open(), 0);

  std::array<std::uint8_t, 3> in{};
  EXPECT_NE(Uusbd_ClassRequest(0, 1, 1, 0xA1, 0x1234, 0x5678, 3, in.data()), 0);
  EXPECT_THAT(in, ::testing::ElementsAre(7, 8, 9));
  std::array<std::uint8_t, 2> out{0xDE, 0xAD};
  // Only the low 16 bits of the length count.
  EXPECT_NE(Uusbd_VendorRequest(0, 0, 3, 0x42, 1, 2, 0x10002, out.data()), 0);
}

TEST_F(DeviceRequestTest, RecipientSelectsTheFunctionCodeAndAnUnknownOneFailsWithoutIo) {
  ScriptOpenFirstDevice();
  const std::array<std::uint8_t, 4> class_codes{0x1A, 0x1B, 0x1C, 0x1F};
  const std::array<std::uint8_t, 4> vendor_codes{0x17, 0x18, 0x19, 0x20};
  for (const std::uint8_t code : class_codes) {
    driver_->ExpectIoControl(kDeviceHandle, driver::kControlHostToDevice,
                             {code, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0}, 0, {});
  }
  for (const std::uint8_t code : vendor_codes) {
    driver_->ExpectIoControl(kDeviceHandle, driver::kControlHostToDevice,
                             {code, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0}, 0, {});
  }
  ASSERT_EQ(Uusbd_Open(), 0);

  for (std::uint32_t recipient = 0; recipient < 4; ++recipient) {
    EXPECT_NE(Uusbd_ClassRequest(0, 0, recipient, 1, 0, 0, 0, nullptr), 0);
  }
  // The low byte of the recipient counts.
  EXPECT_NE(Uusbd_VendorRequest(0, 0, 0x100, 1, 0, 0, 0, nullptr), 0);
  for (std::uint32_t recipient = 1; recipient < 4; ++recipient) {
    EXPECT_NE(Uusbd_VendorRequest(0, 0, recipient, 1, 0, 0, 0, nullptr), 0);
  }
  std::uint8_t byte = 0;
  EXPECT_EQ(Uusbd_ClassRequest(0, 1, 4, 1, 0, 0, 1, &byte), 0);
  EXPECT_EQ(Uusbd_VendorRequest(0, 1, 0xFF, 1, 0, 0, 1, &byte), 0);
  EXPECT_EQ(Uusbd_ClassRequest(5, 1, 0, 1, 0, 0, 1, &byte), 0);
  EXPECT_EQ(Uusbd_ClassRequest(0, 1, 0, 1, 0, 0, 1, nullptr), 0);
}

TEST_F(DeviceRequestTest, CheckTellsPresentBadIndexAndAbsent) {
  ScriptOpenFirstDevice();
  ScriptPresenceCheck(kDeviceHandle, 1);
  ScriptPresenceCheck(kDeviceHandle, 0);
  driver_->ExpectIoControl(kDeviceHandle, driver::kCheckDevice, {}, 4, {}, false);
  ASSERT_EQ(Uusbd_Open(), 0);

  EXPECT_EQ(Uusbd_Check(0), 0);
  EXPECT_EQ(Uusbd_Check(0), 2);  // device answers "not present"
  EXPECT_EQ(Uusbd_Check(0), 2);  // unplugged: the driver call fails
  EXPECT_EQ(Uusbd_Check(-1), 1);
  EXPECT_EQ(Uusbd_Check(1), 1);
  EXPECT_EQ(Uusbd_Check(128), 1);
}

TEST_F(DeviceRequestTest, DescriptorStatusAndResetRequests) {
  ScriptOpenFirstDevice();
  driver_->ExpectIoControl(kDeviceHandle, driver::kGetDescriptor, {1, 0, 0, 0}, 18,
                           kAnalyzerDescriptor)
      .ExpectIoControl(kDeviceHandle, driver::kGetDescriptor, {2, 0, 0, 0}, 9,
                       {9, 2, 46, 0, 1, 1, 0, 0x80, 50})
      .ExpectIoControl(kDeviceHandle, driver::kGetDescriptor, {2, 0, 0, 0}, 9, {}, false)
      .ExpectIoControl(kDeviceHandle, driver::kGetEndpointStatus, {2, 0, 0x82, 0}, 2, {1, 0})
      .ExpectIoControl(kDeviceHandle, driver::kResetDevice, {}, 0, {})
      .ExpectIoControl(kMonitorPipe, driver::kResetPipe, {}, 0, {});
  ASSERT_EQ(Uusbd_Open(), 0);

  std::array<std::uint8_t, 18> descriptor{};
  EXPECT_EQ(Uusbd_GetDeviceDescriptor(0, descriptor.data()), 1);
  EXPECT_EQ(Bytes(descriptor.begin(), descriptor.end()), kAnalyzerDescriptor);
  std::array<std::uint8_t, 9> configuration{};
  EXPECT_EQ(Uusbd_GetConfigurationDescriptor(0, configuration.data(), 9), 1);
  EXPECT_EQ(configuration[2], 46);
  EXPECT_EQ(Uusbd_GetConfigurationDescriptor(0, configuration.data(), 9), 0);
  std::array<std::uint8_t, 2> status{};
  EXPECT_NE(Uusbd_GetStatusEndpoint(0, 0x82, status.data()), 0);
  EXPECT_EQ(status[0], 1);
  EXPECT_NE(Uusbd_ResetDevice(0), 0);
  EXPECT_NE(Uusbd_ResetPipe(kMonitorPipe), 0);

  // Entries not in use and invalid handles: no I/O.
  EXPECT_EQ(Uusbd_GetDeviceDescriptor(3, descriptor.data()), 0);
  EXPECT_EQ(Uusbd_GetConfigurationDescriptor(-1, configuration.data(), 9), 0);
  EXPECT_EQ(Uusbd_GetStatusEndpoint(200, 0x82, status.data()), 0);
  EXPECT_EQ(Uusbd_ResetDevice(1), 0);
  EXPECT_EQ(Uusbd_ResetPipe(ORLINK_INVALID_HANDLE), 0);
}

TEST_F(DeviceRequestTest, CloseOfAnEntryNotInUseDoesNothing) {
  Uusbd_Close(-1);
  Uusbd_Close(0);
  Uusbd_Close(128);
  EXPECT_EQ(Uusbd_Check(0), 1);
}

}  // namespace
}  // namespace orlink::testing
