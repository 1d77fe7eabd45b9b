// The trace line format of the tracing decorator.
#include "link/driver/TracingDriver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/link/ScriptedDriver.h"

namespace orlink::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::MatchesRegex;

std::vector<std::string> Lines(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Trace lines without their time stamps, which are checked once.
std::vector<std::string> Untimed(const std::vector<std::string>& lines) {
  std::vector<std::string> untimed;
  for (const std::string& line : lines) {
    EXPECT_THAT(line, MatchesRegex("[0-9]+\\.[0-9]{6} .*"));
    untimed.push_back(line.substr(line.find(' ') + 1));
  }
  return untimed;
}

class TracingDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::remove(file_);
    auto scripted = std::make_unique<ScriptedDriver>();
    scripted_ = scripted.get();
    traced_ = driver::TraceTo(std::move(scripted), file_.string());
  }
  void TearDown() override {
    EXPECT_EQ(scripted_->Remaining(), 0u);
    std::filesystem::remove(file_);
  }

  const std::filesystem::path file_ = std::filesystem::path(ORVANE_BINARY_DIR) /
                                      ("trace-" + std::to_string(::getpid()) + ".txt");
  ScriptedDriver* scripted_ = nullptr;
  std::unique_ptr<driver::Driver> traced_;
};

TEST_F(TracingDriverTest, OneLinePerPipeOrControlTransfer) {
  scripted_->ExpectInterfacePath(0, "dev")
      .ExpectOpen("dev\\if000pipe002", 5)
      .ExpectOpen("dev\\if000pipe003", 6)
      .ExpectWrite(5, {0x02, 0x00, 0x05, 0x05, 0x03})
      .ExpectRead(6, 256, {0x55, 0x0A})
      .ExpectFailedRead(6, 256)
      .ExpectWrite(5, {0x02, 0x00, 0x05, 0x06, 0x03}, false)
      .ExpectIoControl(4, driver::kGetDescriptor, {1, 0, 0, 0}, 18, {0x12, 0x01, 0xFF})
      .ExpectIoControl(4, driver::kCheckDevice, {}, 4, {}, false)
      .ExpectClose(5);

  EXPECT_EQ(traced_->InterfacePath(0), "dev");
  const Handle command = traced_->Open("dev\\if000pipe002");
  const Handle reply = traced_->Open("dev\\if000pipe003");
  std::size_t transferred = 0;
  const std::array<std::uint8_t, 5> start{0x02, 0x00, 0x05, 0x05, 0x03};
  EXPECT_TRUE(traced_->Write(command, start, transferred));
  std::array<std::uint8_t, 256> buffer{};
  EXPECT_TRUE(traced_->Read(reply, buffer, transferred));
  EXPECT_FALSE(traced_->Read(reply, buffer, transferred));
  const std::array<std::uint8_t, 5> stop{0x02, 0x00, 0x05, 0x06, 0x03};
  EXPECT_FALSE(traced_->Write(command, stop, transferred));
  std::array<std::uint8_t, 18> descriptor{};
  const std::array<std::uint8_t, 4> request{1, 0, 0, 0};
  EXPECT_TRUE(traced_->IoControl(4, driver::kGetDescriptor, request, descriptor, transferred));
  std::array<std::uint8_t, 4> word{};
  EXPECT_FALSE(traced_->IoControl(4, driver::kCheckDevice, {}, word, transferred));
  traced_->Close(command);

  EXPECT_THAT(Untimed(Lines(file_)),
              ElementsAre("out if000pipe002 ok 02 00 05 05 03",  //
                          "in if000pipe003 ok 55 0a",            //
                          "in if000pipe003 failed",              //
                          "out if000pipe002 failed 02 00 05 06 03",
                          "ctl 0x220014 ok 01 00 00 00 -> 12 01 ff",  //
                          "ctl 0x220018 failed ->"));
}

TEST_F(TracingDriverTest, AppendsToAnExistingTrace) {
  traced_.reset();
  { std::ofstream(file_) << "earlier line\n"; }
  auto scripted = std::make_unique<ScriptedDriver>();
  scripted->ExpectWrite(9, {0xAB});
  scripted_ = scripted.get();
  traced_ = driver::TraceTo(std::move(scripted), file_.string());

  std::size_t transferred = 0;
  const std::array<std::uint8_t, 1> byte{0xAB};
  traced_->Write(9, byte, transferred);
  const std::vector<std::string> lines = Lines(file_);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "earlier line");
  EXPECT_THAT(lines[1], MatchesRegex("[0-9.]+ out handle9 ok ab"));
}

TEST(TraceToTest, UnwritableFileLeavesTheDriverUntraced) {
  auto scripted = std::make_unique<ScriptedDriver>();
  driver::Driver* inner = scripted.get();
  const auto driver = driver::TraceTo(std::move(scripted), "/nonexistent-folder/trace.txt");
  EXPECT_EQ(driver.get(), inner);
}

}  // namespace
}  // namespace orlink::testing
