// liborlink.so as a program meets it: loaded with dlopen on the virtual
// analyzer, every function bound through the ordinal table, and the
// command packets as ORLINK_TRACE records them.
#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "link/orlink.h"

namespace {

using ::testing::Contains;
using ::testing::EndsWith;
using ::testing::HasSubstr;

const std::filesystem::path kLibrary = std::filesystem::path(ORVANE_BINARY_DIR) / "bin/liborlink.so";

// The functions of the loaded library, looked up by ordinal.
class SharedLibraryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::filesystem::remove(TraceFile());
    setenv("ORLINK_DEVICE", "virtual", 1);
    setenv("ORLINK_TRACE", TraceFile().c_str(), 1);
    library_ = dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library_, nullptr) << dlerror();
    table_ = static_cast<const OrlinkOrdinalTable*>(dlsym(library_, ORLINK_ORDINAL_TABLE_SYMBOL));
    ASSERT_NE(table_, nullptr);
  }
  static void TearDownTestSuite() { std::filesystem::remove(TraceFile()); }

  static std::filesystem::path TraceFile() {
    return std::filesystem::path(ORVANE_BINARY_DIR) /
           ("orlink-trace-" + std::to_string(getpid()) + ".txt");
  }

  template <typename Function>
  static Function* At(int ordinal) {
    return reinterpret_cast<Function*>(table_->functions[ordinal]);
  }

  // Trace lines of the command pipe, without their time stamps.
  static std::vector<std::string> CommandPipeLines() {
    std::ifstream in(TraceFile());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
      const std::size_t where = line.find(" out if000pipe002 ");
      if (where != std::string::npos) lines.push_back(line.substr(where + 1));
    }
    return lines;
  }

  static inline void* library_ = nullptr;
  static inline const OrlinkOrdinalTable* table_ = nullptr;
};

TEST_F(SharedLibraryTest, OrdinalTableHoldsTheExportedFunctionsInOrdinalOrder) {
  constexpr std::array<const char*, 25> kNames{
      nullptr,
      "Uusbd_Open_mask",
      "Uusbd_Open",
      "Uusbd_Close",
      "Uusbd_OpenPipe",
      "Uusbd_ClassRequest",
      "Uusbd_VendorRequest",
      "Uusbd_Check",
      "Uusbd_ResetPipe",
      "Uusbd_ResetDevice",
      "Uusbd_GetDeviceDescriptor",
      "Uusbd_GetConfigurationDescriptor",
      "Uusbd_GetStatusEndpoint",
      "InitUSB",
      "TargetGo",
      "FrashWrite",
      "MemoryWrite",
      "MemoryRead",
      "MonitorStart",
      "MonitorStop",
      "MemoryReadEx",
      "MonitorRead",
      "CloseUSB",
      "FrashErase",
      "CheckUSB",
  };
  ASSERT_EQ(table_->count, 24u);
  EXPECT_EQ(table_->functions[0], nullptr);
  for (int ordinal = 1; ordinal <= 24; ++ordinal) {
    EXPECT_EQ(reinterpret_cast<void*>(table_->functions[ordinal]),
              dlsym(library_, kNames[ordinal]))
        << "ordinal " << ordinal;
  }
}

TEST_F(SharedLibraryTest, EveryFunctionAnswersThroughItsOrdinal) {
  // Commands, ordinals 13-24.
  ASSERT_EQ(At<decltype(InitUSB)>(13)(), 1);
  EXPECT_EQ(At<decltype(CheckUSB)>(24)(), 1);
  EXPECT_EQ(At<decltype(TargetGo)>(14)(), 1);
  const std::uint8_t zero = 0;
  EXPECT_EQ(At<decltype(MemoryWrite)>(16)(0x0401, 1, &zero), 1);
  std::uint8_t mode = 0xEE;
  EXPECT_EQ(At<decltype(MemoryRead)>(17)(0x0401, 1, &mode), 1);
  EXPECT_EQ(mode, 0);
  std::array<std::uint8_t, 16> version{};
  EXPECT_EQ(At<decltype(MemoryReadEx)>(20)(0xD0000, 16, version.data()), 1);
  EXPECT_EQ(std::string(version.begin(), version.begin() + 8), "Ver.3.11");
  EXPECT_EQ(At<decltype(MonitorStart)>(18)(), 1);
  std::array<std::uint8_t, 27> header{};
  std::array<std::uint8_t, 25 * 19> records{};
  EXPECT_EQ(At<decltype(MonitorRead)>(21)(header.data(), records.data(), 25), 1);
  EXPECT_LE(header[26], 25);
  EXPECT_EQ(At<decltype(MonitorStop)>(19)(), 1);
  // Flash outside the unit's flash areas: the packets go out, whatever the
  // unit answers.
  At<decltype(FrashErase)>(23)(0x020000);
  const std::vector<std::uint8_t> erased(256, 0xFF);
  At<decltype(FrashWrite)>(15)(0x010000, 256, erased.data());

  // Device access, ordinals 1-12, on a second entry for the same device.
  const std::int32_t device = At<decltype(Uusbd_Open)>(2)();
  EXPECT_EQ(device, 1);
  EXPECT_EQ(At<decltype(Uusbd_Open_mask)>(1)(0x04, 0, 0, 0x1209, 0, 0), 2);
  At<decltype(Uusbd_Close)>(3)(2);
  EXPECT_EQ(At<decltype(Uusbd_Check)>(7)(device), 0);
  const OrlinkHandle pipe = At<decltype(Uusbd_OpenPipe)>(4)(device, 0, 0);
  EXPECT_NE(pipe, ORLINK_INVALID_HANDLE);
  EXPECT_NE(At<decltype(Uusbd_ResetPipe)>(8)(pipe), 0);
  EXPECT_NE(At<decltype(Uusbd_ResetDevice)>(9)(device), 0);
  std::array<std::uint8_t, 18> descriptor{};
  EXPECT_EQ(At<decltype(Uusbd_GetDeviceDescriptor)>(10)(device, descriptor.data()), 1);
  EXPECT_EQ(descriptor[8] | descriptor[9] << 8, 0x1209);
  std::array<std::uint8_t, 9> configuration{};
  EXPECT_EQ(At<decltype(Uusbd_GetConfigurationDescriptor)>(11)(device, configuration.data(), 9),
            1);
  std::array<std::uint8_t, 2> status{};
  EXPECT_NE(At<decltype(Uusbd_GetStatusEndpoint)>(12)(device, 0x81, status.data()), 0);
  std::array<std::uint8_t, 2> answer{};
  EXPECT_NE(At<decltype(Uusbd_ClassRequest)>(5)(device, 1, 0, 1, 0, 0, 2, answer.data()), 0);
  EXPECT_EQ(At<decltype(Uusbd_VendorRequest)>(6)(device, 1, 4, 1, 0, 0, 2, answer.data()), 0);
  At<decltype(Uusbd_Close)>(3)(device);
  EXPECT_EQ(At<decltype(Uusbd_Check)>(7)(device), 1);

  At<decltype(CloseUSB)>(22)();
  EXPECT_EQ(At<decltype(CheckUSB)>(24)(), 0);
}

TEST_F(SharedLibraryTest, VirtualControlUnplugsAndReplugsTheVirtualAnalyzer) {
  using Control = decltype(orlink_virtual_control);
  auto* control = reinterpret_cast<Control*>(dlsym(library_, ORLINK_VIRTUAL_CONTROL_SYMBOL));
  ASSERT_NE(control, nullptr);
  ASSERT_EQ(At<decltype(InitUSB)>(13)(), 1);
  EXPECT_EQ(control(ORLINK_VIRTUAL_QUERY, 0), 1);

  EXPECT_EQ(control(ORLINK_VIRTUAL_UNPLUG, 0), 1);
  EXPECT_EQ(At<decltype(CheckUSB)>(24)(), 0);
  EXPECT_EQ(control(ORLINK_VIRTUAL_REPLUG, 0), 1);
  EXPECT_EQ(At<decltype(InitUSB)>(13)(), 1);
  EXPECT_EQ(At<decltype(CheckUSB)>(24)(), 1);

  // Unknown actions and a bus without a baud rate are refused.
  EXPECT_EQ(control(99, 0), 0);
  EXPECT_EQ(control(ORLINK_VIRTUAL_BUS_BAUD, 0), 0);
  EXPECT_EQ(control(ORLINK_VIRTUAL_BUS_BAUD, 19200), 1);
  At<decltype(CloseUSB)>(22)();
}

TEST_F(SharedLibraryTest, TraceRecordsTheCommandPacketsByteForByte) {
  auto init = At<decltype(InitUSB)>(13);
  ASSERT_EQ(init(), 1);
  const std::uint8_t zero = 0;
  At<decltype(MemoryWrite)>(16)(0x0401, 1, &zero);
  At<decltype(MonitorStart)>(18)();
  At<decltype(FrashErase)>(23)(0x020000);
  const std::vector<std::uint8_t> erased(256, 0xFF);
  At<decltype(FrashWrite)>(15)(0x010000, 256, erased.data());
  At<decltype(CloseUSB)>(22)();

  const std::vector<std::string> lines = CommandPipeLines();
  EXPECT_THAT(lines, Contains(EndsWith(" 02 00 0a 03 04 01 00 01 00 03")));
  EXPECT_THAT(lines, Contains(EndsWith(" 02 00 05 05 03")));
  EXPECT_THAT(lines, Contains(EndsWith(" 02 00 08 08 02 00 00 03")));

  std::string flash_write = " 02 01 0c 02 01 00 00 01 00";
  for (int byte = 0; byte < 256; ++byte) flash_write += " ff";
  flash_write += " ff 00 03";
  const auto traced = std::ranges::find_if(
      lines, [&](const std::string& line) { return line.ends_with(flash_write); });
  ASSERT_NE(traced, lines.end());
  // 268 bytes of three characters each, after "out if000pipe002 ok".
  EXPECT_EQ(traced->size(), std::string("out if000pipe002 ok").size() + 268 * 3);
  EXPECT_THAT(*traced, HasSubstr("out if000pipe002 ok 02 01 0c"));
}

}  // namespace
