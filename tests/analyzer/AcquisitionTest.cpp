#include "analyzer/Acquisition.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <deque>
#include <fstream>
#include <functional>
#include <mutex>
#include <sstream>
#include <thread>

#include "analyzer/MonitorSession.h"
#include "settings/IdentifierDefinition.h"
#include "monitor/LogSave.h"
#include "tests/analyzer/LinkTap.h"
#include "tests/analyzer/ScratchFolder.h"
#include "tests/monitor/RecordBuilders.h"
#include "tests/support/StaticLinkApi.h"
#include "tests/support/VirtualLinkRig.h"

namespace orvane::analyzer {
namespace {

using monitor::MonitorBlockHeader;
using monitor::MonitorRecord;
using std::chrono::milliseconds;
using test::LinkTap;
using test::ReadFile;
using test::RecordingSink;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Blocks that the test hands to the acquisition thread instead of the
// analyzer: first the scripted ones in order, then those of `next` (blocks
// without records when it is not set). Read runs on the acquisition thread.
class ScriptedMonitor {
 public:
  struct Block {
    std::vector<MonitorRecord> records;
    int announced = -1;  // the header's record count; -1: the number of records
  };

  std::vector<Block> blocks;
  std::function<Block()> next;
  int Served() const { return served_.load(); }

  std::int32_t Read(std::uint8_t* header, std::uint8_t* records, std::uint32_t max) {
    const int index = served_++;
    const Block block = index < static_cast<int>(blocks.size()) ? blocks[index]
                        : next                                  ? next()
                                                                : Block{};
    MonitorBlockHeader blockHeader{};
    blockHeader.recordCount = static_cast<std::uint8_t>(
        block.announced >= 0 ? block.announced : static_cast<int>(block.records.size()));
    std::memcpy(header, &blockHeader, sizeof blockHeader);
    const std::size_t copied = std::min<std::size_t>(block.records.size(), max);
    // MonitorRecord is packed (alignment 1), so the record bytes may be addressed as records.
    std::copy_n(block.records.begin(), copied, reinterpret_cast<MonitorRecord*>(records));
    return 1;
  }

 private:
  std::atomic<int> served_{0};
};

std::vector<MonitorRecord> Frames(int count, std::int32_t firstTime) {
  std::vector<MonitorRecord> frames;
  for (int i = 0; i < count; ++i) frames.push_back(monitor::test::Frame(firstTime + i, 0x12));
  return frames;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

constexpr char kLogHeader[] = "TIME,M/S,Tx/Rx,Command,\tError,IDEN,D0,D1,D2,D3,D4,D5,D6,D7,Sum\r\n";

class AcquisitionTest : public ::testing::Test {
 protected:
  AcquisitionTest() {
    EXPECT_EQ(link_.InitUSB(), 1);
    EXPECT_EQ(link_.TargetGo(), 1);
    settings_.loggingEnabled = true;
    settings_.defaultLogFolder = folder_.path();
    settings_.stopPollInterval = milliseconds(1);
    for (std::uint8_t id = 0; id < 64; ++id) {
      settings_.logFormat.dataLengths[id] = settings::DefaultDataLength(id);
    }
  }
  ~AcquisitionTest() override {
    acquisition_.SignalStop();
    acquisition_.Join();
  }

  void ServeScripted() {
    tap_.ServeMonitorBlocks([this](std::uint8_t* header, std::uint8_t* records, std::uint32_t max) {
      return scripted_.Read(header, records, max);
    });
  }
  // Waits (really, briefly) until the condition holds; false after 10 s.
  static bool WaitUntil(const std::function<bool()>& condition) {
    for (int i = 0; i < 10000; ++i) {
      if (condition()) return true;
      std::this_thread::sleep_for(milliseconds(1));
    }
    return false;
  }
  std::uint32_t RecordCount() const { return state_->MonitorBuffer.Snapshot().Count(); }
  // Stops as the main frame does: MonitorStop, then 200 ms ticks (here 5 ms
  // of real time apart) until the drain completes.
  void StopAndDrain() {
    session_.RequestStop();
    while (!session_.OnStopTick()) std::this_thread::sleep_for(milliseconds(5));
    acquisition_.Join();
  }
  // The log as SaveLog writes the MonitorBuffer, with the live log's header.
  std::string SavedLog() {
    const std::filesystem::path saved = folder_ / "saved.log";
    EXPECT_TRUE(monitor::SaveLog(saved, state_->MonitorBuffer, settings_.logFormat));
    return kLogHeader + ReadFile(saved);
  }

  test::ScratchFolder folder_;
  orvane::testing::VirtualLinkRig rig_;
  const LinkApi link_ = orvane::testing::StaticLinkApi();
  LinkTap tap_{link_};
  RecordingSink sink_;
  std::unique_ptr<monitor::MonitorState> state_ = std::make_unique<monitor::MonitorState>();
  Acquisition acquisition_{tap_.api(), *state_, sink_};
  MonitorSession session_{tap_.api(), *state_, acquisition_, sink_};
  ScriptedMonitor scripted_;
  AcquisitionSettings settings_;
};

TEST_F(AcquisitionTest, DemoTrafficReachesTheBuffersAndTheDefaultLog) {
  ASSERT_TRUE(session_.Start(settings_));
  ASSERT_TRUE(WaitUntil([this] { return RecordCount() >= 40; }));
  StopAndDrain();

  EXPECT_EQ(acquisition_.LastErrorCode(), 0);
  EXPECT_FALSE(state_->AcquisitionFailed.load());
  EXPECT_THAT(sink_.Boxes(), IsEmpty());
  EXPECT_GT(state_->ViewBuffer.Snapshot().Count(), 0u);
  const std::string log = ReadFile(folder_ / "default.log");
  EXPECT_EQ(log, SavedLog());
  EXPECT_GE(Lines(log).size(), 41u);
}

TEST_F(AcquisitionTest, OversizedBlockKeepsAndLogsItsFirst100Records) {
  settings_.logPath = folder_ / "run.log";
  ServeScripted();
  scripted_.blocks = {{Frames(100, 1000), 150}};
  session_.Start(settings_);
  acquisition_.Join();  // ends by itself

  EXPECT_EQ(acquisition_.LastErrorCode(), kAcquisitionOversizedBlock);
  EXPECT_EQ(RecordCount(), 100u);
  EXPECT_EQ(Lines(ReadFile(folder_ / "run.log")).size(), 101u);
  EXPECT_EQ(ReadFile(folder_ / "run.log"), SavedLog());
  ASSERT_EQ(sink_.Boxes().size(), 1u);
  EXPECT_EQ(sink_.Boxes()[0].caption, "Error");
  EXPECT_EQ(sink_.Boxes()[0].text, "Monitor Data Read Error.(1)");
  EXPECT_EQ(sink_.Boxes()[0].icon, monitor::MessageIcon::kExclamation);
  EXPECT_TRUE(state_->AcquisitionFailed.load());
}

TEST_F(AcquisitionTest, LogInAMissingFolderStopsBeforeAnyRead) {
  settings_.logPath = folder_ / "missing/run.log";
  ServeScripted();
  session_.Start(settings_);
  acquisition_.Join();

  EXPECT_EQ(acquisition_.LastErrorCode(), kAcquisitionLogFailed);
  EXPECT_EQ(scripted_.Served(), 0);
  EXPECT_THAT(sink_.Texts(), ElementsAre("Monitor Data Read Error.(3)"));
  EXPECT_TRUE(state_->AcquisitionFailed.load());
}

TEST_F(AcquisitionTest, RecordsBufferedAtStopReachTheBufferAndTheLog) {
  ServeScripted();
  std::atomic<bool> stopped{false};
  // While monitoring, every block carries 3 records; after the stop the
  // analyzer still holds three such blocks (times from 10000 on), then nothing.
  std::int32_t time = 0;
  int blocksAfterStop = 0;
  scripted_.next = [&]() -> ScriptedMonitor::Block {
    if (stopped && blocksAfterStop == 3) return {};
    if (stopped && blocksAfterStop++ == 0) time = 10000;
    time += 3;
    return {Frames(3, time - 3)};
  };
  ASSERT_TRUE(session_.Start(settings_));
  ASSERT_TRUE(WaitUntil([this] { return RecordCount() >= 30; }));
  stopped = true;
  StopAndDrain();

  EXPECT_EQ(acquisition_.LastErrorCode(), 0);
  EXPECT_LT(session_.StopWaitMs(), kStopWaitLimitMs);
  const auto records = state_->MonitorBuffer.Records().first(RecordCount());
  EXPECT_EQ(std::count_if(records.begin(), records.end(),
                          [](const MonitorRecord& record) { return record.time >= 10000; }),
            9);
  EXPECT_EQ(ReadFile(folder_ / "default.log"), SavedLog());
}

TEST_F(AcquisitionTest, ExtendedFrameSplitOverTwoBlocksIsOneLogLine) {
  settings_.logPath = folder_ / "run.log";
  ServeScripted();
  const std::vector<MonitorRecord> group = monitor::test::ExtendedGroup(500, 0x3E, 30);
  scripted_.blocks = {{{group[0], group[1]}}, {{group[2], monitor::test::Frame(600, 0x12)}}};
  session_.Start(settings_);
  ASSERT_TRUE(WaitUntil([this] { return scripted_.Served() > 3; }));
  acquisition_.SignalStop();
  acquisition_.Join();

  const std::vector<std::string> lines = Lines(ReadFile(folder_ / "run.log"));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].substr(0, 27), " 00:00:00.500     ,M,Rx,Ext");
  EXPECT_EQ(std::count(lines[1].begin(), lines[1].end(), ','), 5 + 1 + 29);
  EXPECT_EQ(lines[1].substr(lines[1].size() - 4), ",1e\r");
  EXPECT_EQ(lines[2].substr(0, 18), " 00:00:00.600     ");
}

TEST_F(AcquisitionTest, FailedMonitorReadEndsWithCode2) {
  ASSERT_TRUE(session_.Start(settings_));
  ASSERT_TRUE(WaitUntil([this] { return RecordCount() > 0; }));
  rig_.analyzer().Unplug();
  acquisition_.Join();  // three failed reads end the thread

  EXPECT_EQ(acquisition_.LastErrorCode(), kAcquisitionReadFailed);
  EXPECT_THAT(sink_.Texts(), ElementsAre("Monitor Data Read Error.(2)"));
  EXPECT_TRUE(state_->AcquisitionFailed.load());
  EXPECT_GT(RecordCount(), 0u);  // what was read stays
  EXPECT_EQ(ReadFile(folder_ / "default.log"), SavedLog());
}

TEST_F(AcquisitionTest, NoErrorBoxWhileTheWindowCloses) {
  sink_.canShow = false;
  settings_.loggingEnabled = false;
  tap_.ServeMonitorBlocks([](std::uint8_t*, std::uint8_t*, std::uint32_t) { return 0; });
  session_.Start(settings_);
  acquisition_.Join();
  EXPECT_EQ(acquisition_.LastErrorCode(), kAcquisitionReadFailed);
  EXPECT_THAT(sink_.Boxes(), IsEmpty());
  EXPECT_TRUE(state_->AcquisitionFailed.load());
  EXPECT_FALSE(std::filesystem::exists(folder_ / "default.log"));
}

TEST_F(AcquisitionTest, FailedMonitorStartShowsMessage104AndStartsNoThread) {
  MonitorBlockHeader header{};
  header.recordCount = 7;
  state_->latestBlockHeader.Store(header);
  state_->EachIdTable.seen[5] = true;
  rig_.analyzer().Unplug();

  EXPECT_FALSE(session_.Start(settings_));
  EXPECT_FALSE(acquisition_.Running());
  EXPECT_THAT(sink_.Texts(), ElementsAre("Monitor Execution Error."));
  // The starter's flags are cleared before MonitorStart.
  EXPECT_EQ(state_->latestBlockHeader.Load().recordCount, 0);
  EXPECT_FALSE(state_->EachIdTable.seen[5].load());
  EXPECT_FALSE(std::filesystem::exists(folder_ / "default.log"));
}

TEST_F(AcquisitionTest, StopCompletesAfterAbout2SecondsWhenTheAnalyzerNeverDrains) {
  MonitorBlockHeader header{};
  header.recordCount = 5;
  state_->latestBlockHeader.Store(header);
  EXPECT_FALSE(session_.OnStopTick());  // no stop under way
  session_.RequestStop();
  for (int tick = 1; tick <= 11; ++tick) {
    ASSERT_FALSE(session_.OnStopTick()) << tick;
    EXPECT_EQ(session_.StopWaitMs(), 200u * tick);
  }
  EXPECT_TRUE(session_.OnStopTick());
  EXPECT_FALSE(session_.StopRequested());
  EXPECT_EQ(session_.StopWaitMs(), 2200u);
}

TEST_F(AcquisitionTest, StopCompletesAtOnceWhenTheLastBlockWasEmpty) {
  session_.RequestStop();
  EXPECT_TRUE(session_.OnStopTick());
  EXPECT_EQ(session_.StopWaitMs(), 0u);
}

}  // namespace
}  // namespace orvane::analyzer
