// What the Monitor, Each ID, Capture and Status windows do on the
// user-interface thread while the acquisition thread writes: the tail rows,
// the Each ID rows, a capture and the status fields, read without a lock
// from rings and tables that are being filled and wrap around. Run under the
// thread sanitizer, this checks the windows' reading side of the lock-free
// publication; the checks below catch a row, slot or capture that shows a
// record other than the one published.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "monitor/MonitorState.h"
#include "monitor/MonitorUpdate.h"
#include "tests/monitor/RecordBuilders.h"
#include "tests/views/MonitorRowFormatTestSupport.h"
#include "views/Capture.h"
#include "views/EachIdRows.h"
#include "views/MonitorRowFormat.h"
#include "views/MonitorRows.h"
#include "views/StatusFields.h"

namespace orvane::views {
namespace {

using monitor::MonitorBlockHeader;
using monitor::MonitorRecord;
using monitor::MonitorState;
using monitor::RingSnapshot;

constexpr int kBlockRecords = 25;
// More records than the ring holds, so the views read across the wrap.
constexpr int kBlocks = monitor::MonitorCapacity / kBlockRecords * 3 / 2;
constexpr int kPausePeriod = 100;
constexpr int kIdentifiers = 8;
constexpr int kTailRows = 40;

// Record `sequence`: its time and every data byte's low bits are the
// sequence, its identifier cycles.
MonitorRecord SequenceRecord(int sequence) {
  MonitorRecord record =
      monitor::test::Frame(sequence, static_cast<std::uint8_t>(sequence % kIdentifiers));
  std::fill(std::begin(record.data), std::end(record.data), static_cast<std::uint8_t>(sequence));
  return record;
}

// A record read whole: its data still carries its own time.
bool Whole(const MonitorRecord& record) {
  return std::all_of(std::begin(record.data), std::end(record.data), [&](std::uint8_t byte) {
    return byte == static_cast<std::uint8_t>(record.time);
  });
}

std::string TimeText(std::int32_t time) {
  monitor::TextBuffer<24> text;
  return std::string(FormatTimeCell(time, std::nullopt, text));
}

class HeaderSource final : public StatusSource {
 public:
  explicit HeaderSource(const MonitorState& state) : state_(state) {}
  MonitorBlockHeader LatestHeader() const override { return state_.latestBlockHeader.Load(); }
  std::uint8_t BaudRateCode() const override { return 0; }
  std::optional<std::uint16_t> ReadMeasuredBaud() const override { return std::nullopt; }

 private:
  const MonitorState& state_;
};

// The user-interface side: one pass of every window's timer.
class WindowReader {
 public:
  explicit WindowReader(const MonitorState& state) : state_(state), source_(state) {}

  // The Monitor window's tail display: the newest rows, each the record
  // just before the next.
  void TailRows() {
    const RingSnapshot snapshot = state_.ViewBuffer.Snapshot();
    const int rows = RowsToDraw(snapshot, kTailRows);
    if (rows == 0) return;
    const std::int32_t newest =
        static_cast<std::int32_t>(snapshot.wrapped ? 0 : snapshot.writeIndex) - 1;
    const auto records = state_.ViewBuffer.Records();
    std::int32_t previous = 0;
    for (int row = 1; row <= rows; ++row) {
      const MonitorRecord& record = records[TailRecordIndex(snapshot, rows, row)];
      FormatRow(record, format_, RowMarks{}, cells_);
      if (cells_.Text(cells_.cells()[0]) != TimeText(record.time)) ++failures;
      if (row > 1 && record.time != previous + 1) ++failures;
      if (!Whole(record)) ++failures;
      if (!snapshot.wrapped && row == rows && record.time != newest) ++failures;
      previous = record.time;
    }
    ++passes;
  }

  // The Each ID window: every slot seen holds a whole record of its
  // identifier, and only the identifiers sent are seen.
  void EachIdSlots() {
    const EachIdPage page = EachIdRows(state_.EachIdTable, 0, kTailRows);
    for (int row = 0; row < page.rows; ++row) {
      const MonitorRecord& record = page.Records()[static_cast<std::size_t>(row)];
      FormatRow(record, format_, RowMarks{}, cells_);
      if (record.Identifier() != page.Slots()[static_cast<std::size_t>(row)]) ++failures;
      if (!Whole(record)) ++failures;
      if (cells_.Text(cells_.cells()[0]) != TimeText(record.time)) ++failures;
    }
    if (page.rows > kIdentifiers) ++failures;
  }

  // The Capture command: the newest records of the raw ring, consecutive.
  void Capture() {
    TakeCapture(capture_, state_.MonitorBuffer.Records(), state_.MonitorBuffer.Snapshot(),
                monitor::MonitorMask{});
    const auto kept = capture_.kept();
    for (std::size_t index = 1; index < kept.size(); ++index) {
      if (kept[index].time != kept[index - 1].time + 1) ++failures;
    }
  }

  // The Status window's 1 s timer.
  void Status() {
    status_.Tick(true, source_);
    const MonitorBlockHeader header = source_.LatestHeader();
    if (header.recordCount != 0 && header.recordCount != kBlockRecords) ++failures;
    if (header.packetCount != header.successCount) ++failures;
  }

  int failures = 0;
  int passes = 0;

 private:
  const MonitorState& state_;
  HeaderSource source_;
  RowFormat format_ = testing::TestFormat();
  RowCells cells_;
  CaptureBuffer capture_;
  StatusFields status_{0, false};
};

TEST(ViewsThreads, WindowsReadWhileTheAcquisitionWritesAndWraps) {
  auto state = std::make_unique<MonitorState>();
  monitor::ResetMonitorData(*state);
  std::atomic<bool> done{false};
  // Every kPausePeriod blocks the writer waits until the reader has made a
  // pass at that point: reads overlap writing however the threads are
  // scheduled, and no pass lasts while the ring turns over.
  std::atomic<int> writerPausedAt{-1};
  std::atomic<int> readerPassedAt{-1};

  std::thread acquisition([&] {
    std::vector<MonitorRecord> block(kBlockRecords);
    std::uint32_t idTablePosition = 0;
    for (int blockIndex = 0; blockIndex < kBlocks; ++blockIndex) {
      if (blockIndex % kPausePeriod == 0 && blockIndex > 0) {
        writerPausedAt.store(blockIndex);
        while (readerPassedAt.load() != blockIndex) std::this_thread::yield();
      }
      for (int index = 0; index < kBlockRecords; ++index) {
        block[static_cast<std::size_t>(index)] = SequenceRecord(blockIndex * kBlockRecords + index);
      }
      MonitorBlockHeader header{};
      header.packetCount = static_cast<std::uint32_t>(blockIndex);
      header.successCount = static_cast<std::uint32_t>(blockIndex);
      header.recordCount = kBlockRecords;
      monitor::AppendBlock(*state, block, header);
      monitor::UpdateViewBuffer(*state, monitor::MonitorMask{});
      idTablePosition = monitor::UpdateIdTables(*state, idTablePosition, 0, nullptr);
    }
    done.store(true);
  });

  WindowReader reader(*state);
  while (!done.load()) {
    const int pausedAt = writerPausedAt.load();
    reader.TailRows();
    reader.EachIdSlots();
    reader.Capture();
    reader.Status();
    readerPassedAt.store(pausedAt);
  }
  acquisition.join();

  EXPECT_EQ(reader.failures, 0);
  EXPECT_GE(reader.passes, kBlocks / kPausePeriod - 1);
  const RingSnapshot snapshot = state->ViewBuffer.Snapshot();
  EXPECT_TRUE(snapshot.wrapped);
  // After the run, the window sees exactly the last records written.
  WindowReader after(*state);
  after.TailRows();
  after.Capture();
  EXPECT_EQ(after.failures, 0);
  const MonitorRecord& newest = state->ViewBuffer.Records()[TailRecordIndex(
      snapshot, RowsToDraw(snapshot, kTailRows), RowsToDraw(snapshot, kTailRows))];
  EXPECT_EQ(newest.time, kBlocks * kBlockRecords - 1);
  for (int identifier = 0; identifier < kIdentifiers; ++identifier) {
    EXPECT_TRUE(state->EachIdTable.seen[static_cast<std::size_t>(identifier)].load());
  }
}

}  // namespace
}  // namespace orvane::views
