// The usb backend against the virtual analyzer's recorded side of a session,
// played by umockdev's testbed (sysfs device and usbdevfs ioctl script, made
// by usb_script_generator). Runs under umockdev's preload library.
#include <gtest/gtest.h>
#include <umockdev.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "link/Seams.h"
#include "link/driver/TracingDriver.h"
#include "link/driver/usb/UsbDriver.h"
#include "link/orlink.h"
#include "tests/link/usb/AnalyzerSession.h"
#include "tests/link/usb/TraceToUmockdev.h"

namespace orvane::testing {
namespace {

std::string Recording(const std::string& name) {
  return std::string(USB_RECORDINGS_DIR "/") + name;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// A trace without its time stamps.
std::string TraceShape(const std::string& path) {
  std::istringstream lines(ReadFile(path));
  std::string shape;
  for (std::string line; std::getline(lines, line);)
    shape += line.substr(line.find(' ') + 1) + "\n";
  return shape;
}

// umockdev_in_mock_environment() only answers once a testbed exists.
bool PreloadActive() {
  const char* preload = std::getenv("LD_PRELOAD");
  return preload != nullptr &&
         std::string(preload).find("libumockdev-preload") != std::string::npos;
}

class UsbBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PreloadActive()) {
      GTEST_SKIP() << "umockdev's preload library is not in LD_PRELOAD (this build has no "
                      "way to load it beside its sanitizer runtime); run the test under "
                      "umockdev-wrapper";
    }
    testbed_ = umockdev_testbed_new();
    ::unsetenv("ORLINK_USB_IDS");
  }

  void TearDown() override {
    orlink::SetDriver(nullptr);
    if (testbed_ != nullptr) g_object_unref(testbed_);
  }

  // The recorded unit `name` ("session" or "unplug") in the testbed, with
  // its vendor id changed to `vendor_bytes` when given; a usb backend on
  // it, traced into trace_.
  void Plug(const std::string& name, const std::string& vendor_bytes = "") {
    std::string device = ReadFile(Recording(name + ".umockdev"));
    ASSERT_FALSE(device.empty());
    if (!vendor_bytes.empty()) {
      const std::size_t descriptor = device.find("H: descriptors=");
      ASSERT_NE(descriptor, std::string::npos);
      device.replace(descriptor + 15 + 16, 4, vendor_bytes);
    }
    GError* error = nullptr;
    ASSERT_TRUE(umockdev_testbed_add_from_string(testbed_, device.c_str(), &error))
        << error->message;
    ASSERT_TRUE(umockdev_testbed_load_ioctl(testbed_, kUsbDeviceNode,
                                            Recording(name + ".ioctl").c_str(), &error))
        << error->message;
    trace_ = std::string(::testing::TempDir()) + "usb-backend-" + name + ".trace";
    std::remove(trace_.c_str());
    orlink::SetDriver(orlink::driver::TraceTo(orlink::driver::CreateUsbDriver(), trace_));
  }

  UMockdevTestbed* testbed_ = nullptr;
  std::string trace_;
};

TEST_F(UsbBackendTest, SessionDeliversExactlyWhatTheVirtualAnalyzerSent) {
  Plug("session");
  const std::string lines = RunAnalyzerSession();
  EXPECT_EQ(lines, ReadFile(Recording("session.expected")));
  // The identity read found the unit's serial number "VA000001" and
  // firmware "Ver.3.11", and the length table read back as written.
  EXPECT_NE(lines.find("MemoryReadEx 1 56 41 30 30 30 30 30 31 ff"), std::string::npos) << lines;
  EXPECT_NE(lines.find("MemoryReadEx 1 56 65 72 2e 33 2e 31 31 ff"), std::string::npos) << lines;
  EXPECT_NE(lines.find("\nMonitorStop 1\n"), std::string::npos);
  // ORLINK_TRACE over the usb backend writes the virtual analyzer's lines.
  orlink::SetDriver(nullptr);
  EXPECT_EQ(TraceShape(trace_), TraceShape(Recording("session.trace")));
}

TEST_F(UsbBackendTest, UnplugDuringAMonitorReadFailsTheReadAndThePresenceCheck) {
  Plug("unplug");
  const std::string lines = RunUnplugSession([] {});
  EXPECT_EQ(lines, ReadFile(Recording("unplug.expected")));
  EXPECT_NE(lines.find("MonitorRead 1"), std::string::npos) << lines;
  EXPECT_NE(lines.find("MonitorRead 0 00 00"), std::string::npos) << lines;
  EXPECT_NE(lines.find("\nUusbd_Check 2\n"), std::string::npos) << lines;
  // The three read attempts and the presence check fail as on the virtual
  // analyzer, the first on the transfer, the others at once.
  orlink::SetDriver(nullptr);
  EXPECT_EQ(TraceShape(trace_), TraceShape(Recording("unplug.trace")));
}

TEST_F(UsbBackendTest, UnplugWhileIdleIsSeenThroughHotplug) {
  Plug("session");
  const std::int32_t device = Uusbd_Open();
  ASSERT_EQ(device, 0);
  EXPECT_EQ(Uusbd_Check(device), 0);
  umockdev_testbed_uevent(testbed_, "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2", "remove");
  // The event thread takes the removal within its 100 ms wait; a check that
  // never turns gives up after five seconds.
  int checks = 0;
  while (Uusbd_Check(device) != 2 && ++checks < 500) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(Uusbd_Check(device), 2);
  std::array<std::uint8_t, 18> descriptor{};
  EXPECT_EQ(Uusbd_GetDeviceDescriptor(device, descriptor.data()), 0);
  Uusbd_Close(device);
}

TEST_F(UsbBackendTest, ADeviceOffTheAllowListIsPassedOver) {
  Plug("session", "ADDE");  // vendor dead
  EXPECT_EQ(orlink::driver::CreateUsbDriver()->InterfacePath(0), std::nullopt);
  EXPECT_EQ(Uusbd_Open(), -1);

  ::setenv("ORLINK_USB_IDS", "dead:4c49", 1);
  EXPECT_EQ(orlink::driver::CreateUsbDriver()->InterfacePath(0), "usb:1-2");
  ::unsetenv("ORLINK_USB_IDS");
}

}  // namespace
}  // namespace orvane::testing
