// ORLINK_VIRTUAL_PROFILE chooses the virtual analyzer the link library
// builds: read by the virtual backend, and seen through liborlink.so.
#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "emulator/AnalyzerProfile.h"
#include "link/driver/virtual/VirtualDriver.h"
#include "link/orlink.h"

namespace orvane::emulator {
namespace {

using ::testing::Each;
using ::testing::HasSubstr;

constexpr char kVariable[] = "ORLINK_VIRTUAL_PROFILE";

AnalyzerProfile ProfileFor(const char* name) {
  setenv(kVariable, name, 1);
  AnalyzerProfile profile = orlink::driver::VirtualProfileFromEnvironment();
  unsetenv(kVariable);
  return profile;
}

TEST(VirtualProfileTest, TheVariableNamesTheProfile) {
  EXPECT_EQ(ProfileFor("lin20").traffic, BusTraffic::kLin20);
  EXPECT_EQ(ProfileFor("clean").traffic, BusTraffic::kClean);
  EXPECT_EQ(ProfileFor("erased-firmware").firmware, FirmwareState::kErased);
  EXPECT_EQ(ProfileFor("old-firmware").firmware, FirmwareState::kOlder);
  EXPECT_EQ(ProfileFor("").traffic, BusTraffic::kDefault);
  EXPECT_EQ(orlink::driver::VirtualProfileFromEnvironment().firmware, FirmwareState::kCurrent);
}

TEST(VirtualProfileTest, AnUnknownNameIsReportedOnceAndGivesTheDefault) {
  ::testing::internal::CaptureStderr();
  const AnalyzerProfile first = ProfileFor("Lin20");
  const AnalyzerProfile second = ProfileFor("noisy");
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(said,
            "orlink: ORLINK_VIRTUAL_PROFILE=Lin20 names no virtual analyzer profile (default, clean, "
            "lin20, old-firmware, erased-firmware); using default\n");
  for (const AnalyzerProfile& profile : {first, second}) {
    EXPECT_EQ(profile.traffic, BusTraffic::kDefault);
    EXPECT_EQ(profile.firmware, FirmwareState::kCurrent);
  }
}

TEST(VirtualProfileTest, TheSharedLibraryBuildsTheNamedAnalyzer) {
  setenv("ORLINK_DEVICE", "virtual", 1);
  setenv(kVariable, "erased-firmware", 1);
  const std::filesystem::path library = std::filesystem::path(ORVANE_BINARY_DIR) / "bin/liborlink.so";
  void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  const auto init = reinterpret_cast<decltype(&InitUSB)>(dlsym(handle, "InitUSB"));
  const auto read_ex = reinterpret_cast<decltype(&MemoryReadEx)>(dlsym(handle, "MemoryReadEx"));
  const auto close = reinterpret_cast<decltype(&CloseUSB)>(dlsym(handle, "CloseUSB"));
  ASSERT_TRUE(init && read_ex && close);

  ASSERT_EQ(init(), 1);
  std::array<std::uint8_t, 16> version{};
  ASSERT_EQ(read_ex(0xD0000, version.size(), version.data()), 1);
  EXPECT_THAT(version, Each(0xFF));
  std::array<std::uint8_t, 8> serial{};
  ASSERT_EQ(read_ex(0xC0000, serial.size(), serial.data()), 1);
  EXPECT_EQ(std::string(serial.begin(), serial.end()), "VA000001");
  close();
  unsetenv(kVariable);
}

}  // namespace
}  // namespace orvane::emulator
