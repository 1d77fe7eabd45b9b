// A saved log shown for review: saved again it gives the same lines,
// exported as pcapng it reads back as the same records, a log longer than
// the ring is held whole, and the next Start ends the review.
#include "app/ReviewCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/ExportCommands.h"
#include "app/LogCommands.h"
#include "monitor/LogSave.h"
#include "review/CaptureReader.h"
#include "review/ReviewFile.h"
#include "tests/app/RunControlTestSupport.h"
#include "tests/monitor/RecordBuilders.h"

namespace orvane::app {
namespace {

using monitor::MonitorRecord;
using testing::AppRig;

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Frames of 0x21 (8 data bytes shown) and an extended frame, as a saved log.
std::vector<MonitorRecord> SampleRecords(int frames) {
  std::vector<MonitorRecord> records;
  for (int index = 0; index < frames; ++index) {
    MonitorRecord frame = monitor::test::Frame(index, 0x21);
    frame.data[0] = static_cast<std::uint8_t>(index);
    frame.data[7] = static_cast<std::uint8_t>(index >> 8);
    records.push_back(frame);
  }
  const std::vector<MonitorRecord> extended = monitor::test::ExtendedGroup(frames, 0x3e, 30);
  records.insert(records.end(), extended.begin(), extended.end());
  return records;
}

monitor::LogFormat SampleFormat() {
  monitor::LogFormat format;
  format.dataLengths[0x21] = 8;
  return format;
}

class ReviewCommandsTest : public ::testing::Test {
 protected:
  // Writes the records as a saved log and opens it for review.
  std::filesystem::path Review(const std::vector<MonitorRecord>& records) {
    const std::filesystem::path log = rig_.folder / "saved.log";
    EXPECT_TRUE(monitor::SaveLog(log, records, SampleFormat()));
    EXPECT_TRUE(ShowReview(rig_.context(), review::ReadReviewFile(log), log.string()));
    return log;
  }

  AppRig rig_;
};

TEST_F(ReviewCommandsTest, SavedAgainTheReviewGivesTheSameLog) {
  const std::filesystem::path log = Review(SampleRecords(50));
  EXPECT_EQ(rig_.state.ReviewFile, "saved.log");
  // The monitor views hear of the new records as after a run.
  const std::vector<std::string>& events = rig_.windows.events;
  EXPECT_NE(std::ranges::find(events, "refresh monitor=6 status=0 master=0 slave=0"), events.end());
  EXPECT_EQ(events.back(), "signal windows");

  const std::filesystem::path again = rig_.folder / "again.log";
  rig_.windows.chosenFile = again.string();
  ASSERT_TRUE(SaveMonitorLog(rig_.context()));
  EXPECT_EQ(ReadFile(again), ReadFile(log));
}

TEST_F(ReviewCommandsTest, ExportedPcapngReadsBackAsTheSameRecords) {
  const std::vector<MonitorRecord> records = SampleRecords(20);
  Review(records);
  const std::filesystem::path capture = rig_.folder / "review.pcapng";
  rig_.windows.chosenFile = capture.string();
  ASSERT_TRUE(ExportMonitorPcapng(rig_.context()));
  EXPECT_EQ(rig_.windows.fileDialogs.back().filter,
            "pcapng File(*.pcapng)|*.pcapng|All(*.*)|*.*||");

  const review::ReviewReadResult read = review::ReadCaptureFile(capture);
  ASSERT_EQ(read.error, "");
  ASSERT_EQ(read.review.records.size(), records.size());
  for (std::size_t index = 0; index < records.size(); ++index) {
    EXPECT_EQ(read.review.records[index].time, records[index].time) << index;
    EXPECT_EQ(read.review.records[index].ident, records[index].ident) << index;
    EXPECT_EQ(read.review.records[index].data[0], records[index].data[0]) << index;
  }
  EXPECT_EQ(read.review.format.dataLengths[0x21], 8);
}

TEST_F(ReviewCommandsTest, ALogLongerThanTheRingIsHeldWholeUntilTheNextStart) {
  const int frames = static_cast<int>(monitor::MonitorCapacity) + 20000;
  Review(SampleRecords(frames));
  const monitor::RingSnapshot view = rig_.monitor->ViewBuffer.Snapshot();
  EXPECT_FALSE(view.wrapped);
  EXPECT_EQ(view.Count(), static_cast<std::uint32_t>(frames) + 1);
  EXPECT_EQ(rig_.monitor->ViewBuffer.Records()[0].time, 0);
  EXPECT_EQ(rig_.monitor->ViewBuffer.Records()[static_cast<std::size_t>(frames)].time, frames);
  EXPECT_EQ(rig_.monitor->LastFrameTable.counters[0x21].load(), static_cast<std::uint32_t>(frames));

  // The found record 10: the tables as monitoring had them then.
  SelectReviewRecord(rig_.context(), 10);
  EXPECT_EQ(rig_.monitor->LastFrameTable.counters[0x21].load(), 11u);
  EXPECT_EQ(rig_.monitor->LastFrameTable.records[0x21].Load().data[0], 10);
  EXPECT_FALSE(rig_.monitor->EachIdTable.seen[0x3e].load());
  EXPECT_EQ(rig_.windows.events.back(), "refresh monitor=14 status=0 master=0 slave=0");

  ASSERT_TRUE(rig_.run().Start());
  EXPECT_EQ(rig_.state.ReviewFile, "");
  EXPECT_FALSE(rig_.state.ReviewLogFormat.has_value());
  EXPECT_EQ(rig_.monitor->ViewBuffer.Capacity(), monitor::MonitorCapacity);
  EXPECT_EQ(rig_.monitor->MonitorBuffer.Capacity(), monitor::MonitorCapacity);
  EXPECT_TRUE(rig_.state.Recording.startUnixMilliseconds.has_value());
  rig_.run().Stop();
  EXPECT_GE(rig_.DrainStop(), 0);
}

TEST_F(ReviewCommandsTest, WhatIsNotALogChangesNothing) {
  const std::filesystem::path notes = rig_.folder / "notes.log";
  std::ofstream(notes) << "shopping list\n";
  EXPECT_FALSE(ShowReview(rig_.context(), review::ReadReviewFile(notes), notes.string()));
  EXPECT_EQ(rig_.state.ReviewFile, "");
  ASSERT_EQ(rig_.sink.Texts().size(), 1u);
  EXPECT_EQ(rig_.sink.Texts()[0], "'" + notes.string() +
                                      "' is not a monitor log: its first line is neither the "
                                      "log's column header nor a log line.");
}

TEST(ReviewFileName, LogsAndCapturesInAnyCase) {
  EXPECT_TRUE(IsReviewFileName("/bench/run.log"));
  EXPECT_TRUE(IsReviewFileName("RUN.PCAPNG"));
  EXPECT_TRUE(IsReviewFileName("trace.pcap"));
  EXPECT_FALSE(IsReviewFileName("default.cfg"));
  EXPECT_FALSE(IsReviewFileName("log"));
  EXPECT_FALSE(IsReviewFileName(""));
}

}  // namespace
}  // namespace orvane::app
