#include "monitor/LogSave.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "monitor/MonitorUpdate.h"
#include "tests/monitor/LogFile.h"
#include "tests/monitor/RecordBuilders.h"

namespace orvane::monitor {
namespace {

using test::Frame;
using test::ReadFile;

class LogSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::path(ORVANE_BINARY_DIR) / "monitor-log-save" /
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // Appends `count` frames whose times count up from `firstTime`.
  void AppendFrames(int count, int firstTime) {
    std::vector<MonitorRecord> block;
    for (int index = 0; index < count; ++index) {
      block.push_back(Frame(firstTime + index, 0x01));
      if (block.size() == 25 || index == count - 1) {
        AppendBlock(*state_, block, MonitorBlockHeader{});
        block.clear();
      }
    }
  }

  std::filesystem::path folder_;
  std::unique_ptr<MonitorState> state_ = std::make_unique<MonitorState>();
  LogFormat format_;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) break;
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

TEST_F(LogSaveTest, UnwrappedRingIsSavedFromItsStartWithoutHeader) {
  AppendFrames(3, 100);
  const std::filesystem::path path = folder_ / "saved.log";
  ASSERT_TRUE(SaveLog(path, state_->MonitorBuffer, format_));
  const std::vector<std::string> lines = Lines(ReadFile(path));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], " 00:00:00.100     ,M,Rx,End       ,  -         ,01,  ,  ,  ,  ,  ,  ,  ,  ,00");
  EXPECT_TRUE(lines[2].starts_with(" 00:00:00.102 "));
}

TEST_F(LogSaveTest, WrappedRingWritesEveryRecordOldestFirst) {
  AppendFrames(static_cast<int>(MonitorCapacity) + 10, 0);
  ASSERT_EQ(state_->MonitorBuffer.Snapshot().writeIndex, 10u);
  const std::filesystem::path path = folder_ / "wrapped.log";
  ASSERT_TRUE(SaveLog(path, state_->MonitorBuffer, format_));

  const std::string text = ReadFile(path);
  EXPECT_EQ(static_cast<std::size_t>(std::ranges::count(text, '\n')), MonitorCapacity);
  const std::vector<std::string> lines = Lines(text);
  ASSERT_EQ(lines.size(), MonitorCapacity);
  EXPECT_TRUE(lines.front().starts_with(" 00:00:00.010 ")) << lines.front();
  EXPECT_TRUE(lines.back().starts_with(" 00:01:40.009 ")) << lines.back();
}

TEST_F(LogSaveTest, CaptureRecordsAndAnExistingFileIsReplaced) {
  const std::filesystem::path path = folder_ / "capture.log";
  const std::vector<MonitorRecord> many(7, Frame(1, 0x02));
  ASSERT_TRUE(SaveLog(path, many, format_));
  const std::vector<MonitorRecord> capture{Frame(5, 0x02), Frame(6, 0x03, kKindWakeup)};
  ASSERT_TRUE(SaveLog(path, capture, format_));
  EXPECT_EQ(ReadFile(path),
            " 00:00:00.005     ,M,Rx,End       ,  -         ,02,  ,  ,  ,  ,  ,  ,  ,  ,00\r\n"
            " 00:00:00.006     ,M,Rx,Wakeup    ,  -         ,\r\n");
}

TEST_F(LogSaveTest, FailuresAreReported) {
  AppendFrames(1, 0);
  EXPECT_FALSE(SaveLog(folder_ / "missing" / "x.log", state_->MonitorBuffer, format_));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "missing"));
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_FALSE(SaveLog("/dev/full", state_->MonitorBuffer, format_))
        << "a full disk is not reported as a saved log";
  }
}

TEST_F(LogSaveTest, CopyReturnsTheLogTextAndRemovesTheTemporaryFile) {
  AppendFrames(2, 7);
  const std::optional<std::string> text = CopyMonitorLogData(folder_, state_->MonitorBuffer, format_);
  ASSERT_TRUE(text.has_value());
  ASSERT_TRUE(SaveLog(folder_ / "reference.log", state_->MonitorBuffer, format_));
  EXPECT_EQ(*text, ReadFile(folder_ / "reference.log"));
  EXPECT_EQ(Lines(*text).size(), 2u);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "log.$$$"));

  EXPECT_FALSE(CopyMonitorLogData(folder_ / "missing", state_->MonitorBuffer, format_).has_value());
}

}  // namespace
}  // namespace orvane::monitor
