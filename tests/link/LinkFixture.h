// Test fixture that puts a scripted driver and a recording sleeper under
// the link library, and scripts the common conversations.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

#include "link/Seams.h"
#include "link/driver/Driver.h"
#include "tests/link/ScriptedDriver.h"

namespace orlink::testing {

inline constexpr const char* kDevicePath = "\\\\?\\usb#vid_1209&pid_4c49#0001";
inline constexpr Handle kDeviceHandle = 10;
inline constexpr Handle kMonitorPipe = 20;
inline constexpr Handle kCommandPipe = 22;
inline constexpr Handle kReplyPipe = 23;

class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto driver = std::make_unique<ScriptedDriver>();
    driver_ = driver.get();
    SetDriver(std::move(driver));
    SetSleeper([this](std::chrono::milliseconds wait) { waits_.push_back(wait); });
  }

  void TearDown() override {
    EXPECT_EQ(driver_->Remaining(), 0u) << "scripted calls that never came";
    driver_->EndScript();
    SetDriver(nullptr);
    SetSleeper({});
  }

  // Member `member` opens as `handle` and has this descriptor.
  void ScriptDiscovery(unsigned member, const std::string& path, Handle handle,
                       const Bytes& descriptor) {
    driver_->ExpectInterfacePath(member, path)
        .ExpectOpen(path, handle)
        .ExpectIoControl(handle, driver::kGetDescriptor, {1, 0, 0, 0}, 18, descriptor);
  }

  void ScriptOpenFirstDevice(Handle handle = kDeviceHandle) {
    ScriptDiscovery(0, kDevicePath, handle, DeviceDescriptor(0xFF, 0, 0x1209, 0x4C49, 0x0311));
  }

  void ScriptPresenceCheck(Handle handle, std::uint8_t present) {
    driver_->ExpectIoControl(handle, driver::kCheckDevice, {}, 4, {present, 0, 0, 0});
  }

  // The whole of a successful InitUSB.
  void ScriptInitUsb() {
    ScriptOpenFirstDevice();
    ScriptPresenceCheck(kDeviceHandle, 1);
    driver_->ExpectOpen(std::string(kDevicePath) + "\\if000pipe000", kMonitorPipe)
        .ExpectOpen(std::string(kDevicePath) + "\\if000pipe002", kCommandPipe)
        .ExpectOpen(std::string(kDevicePath) + "\\if000pipe003", kReplyPipe);
  }

  ScriptedDriver* driver_ = nullptr;
  std::vector<std::chrono::milliseconds> waits_;
};

}  // namespace orlink::testing
