// A long run in virtual time at the bus's highest record rate: 19200 bit/s,
// the shortest frames back to back, with the demo network's errors,
// sleep/wake-up cycles and I/O edges mixed in, through the real acquisition
// thread and live log writer. Every record the link delivered is counted in
// order and must be in the monitor buffer (the last 100000) and in the log
// (all of them); the unit must lose none; the resident size must stay flat
// (in builds without sanitizers);
// the unit's millisecond counter crosses the int32 wrap halfway and the
// times go on as signed milliseconds.
//
// ORVANE_SOAK_MINUTES sets the virtual duration (24 hours when unset). The
// test prints its figures: records per second of virtual time, lost records
// and the resident size at the first checkpoint and at the end.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <thread>

#include "analyzer/Acquisition.h"
#include "analyzer/MonitorSession.h"
#include "analyzer/RegisterMap.h"
#include "app/AppContext.h"
#include "app/Configuration.h"
#include "monitor/LogWriter.h"
#include "monitor/MonitorState.h"
#include "monitor/MonitorTime.h"
#include "tests/analyzer/LinkTap.h"
#include "tests/analyzer/ScratchFolder.h"
#include "tests/support/StaticLinkApi.h"
#include "tests/support/VirtualLinkRig.h"

namespace orvane {
namespace {

using monitor::MonitorCapacity;
using monitor::MonitorRecord;
using std::chrono::milliseconds;
using std::chrono::minutes;

constexpr std::uint8_t kBaudCode19200 = 13;

minutes SoakDuration() {
  const char* text = std::getenv("ORVANE_SOAK_MINUTES");
  return minutes(text != nullptr && *text != '\0' ? std::atol(text) : 24 * 60);
}

// The resident set size from /proc/self/statm, in bytes.
std::int64_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::int64_t size = 0;
  std::int64_t resident = 0;
  statm >> size >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

// FNV-1a, 64 bits, over a stream of bytes.
class StreamHash {
 public:
  void Add(std::span<const char> bytes) {
    for (const char byte : bytes) {
      value_ = (value_ ^ static_cast<std::uint8_t>(byte)) * 0x100000001b3ull;
    }
  }
  std::uint64_t value() const { return value_; }

 private:
  std::uint64_t value_ = 0xcbf29ce484222325ull;
};

// Every record the link delivered to the acquisition thread, in order: how
// many, the last MonitorCapacity of them, the hash of the log text they
// make, and what their times did. Fed on the acquisition thread; read once
// it has ended.
class DeliveredRecords {
 public:
  explicit DeliveredRecords(const monitor::LogFormat& format)
      : last_(std::make_unique<MonitorRecord[]>(MonitorCapacity)),
        writer_(format),
        text_(open_memstream(&buffer_, &size_)) {
    monitor::WriteLogHeader(text_);
    HashText();
  }
  ~DeliveredRecords() {
    std::fclose(text_);
    std::free(buffer_);
  }
  DeliveredRecords(const DeliveredRecords&) = delete;
  DeliveredRecords& operator=(const DeliveredRecords&) = delete;

  void Take(std::span<const MonitorRecord> records) {
    for (const MonitorRecord& record : records) {
      if (count_ != 0) CheckTime(record.time);
      previousTime_ = record.time;
      last_[count_ % MonitorCapacity] = record;
      ++count_;
      if (record.IsErrorEvent() && record.error == monitor::kErrorBuffer) ++lostByUnit_;
      if (record.IsExtendedHeader()) ++extendedGroups_;
    }
    writer_.Write(text_, records);
    HashText();
  }

  std::uint64_t count() const { return count_; }
  // Records at age position `position` of the last MonitorCapacity (0 = oldest).
  const MonitorRecord& Last(std::uint64_t position) const {
    const std::uint64_t first = count_ > MonitorCapacity ? count_ - MonitorCapacity : 0;
    return last_[(first + position) % MonitorCapacity];
  }
  std::uint64_t lostByUnit() const { return lostByUnit_; }
  std::uint64_t extendedGroups() const { return extendedGroups_; }
  std::uint64_t logHash() const { return hash_.value(); }
  int wraps() const { return wraps_; }
  std::uint64_t timesOutOfOrder() const { return outOfOrder_; }

 private:
  // Consecutive times differ by little in signed 32-bit arithmetic, also
  // across the wrap from INT32_MAX to INT32_MIN; records of different
  // sources may be a few milliseconds out of order.
  void CheckTime(std::int32_t time) {
    const std::int32_t step = monitor::AnalyzerTimeStep(previousTime_, time);
    if (step < -50 || step > 10'000) ++outOfOrder_;
    if (previousTime_ > 0 && time < 0 && step >= 0) ++wraps_;
  }
  void HashText() {
    std::fflush(text_);
    hash_.Add(std::span<const char>(buffer_, size_));
    std::rewind(text_);
  }

  std::unique_ptr<MonitorRecord[]> last_;
  monitor::LogSequenceWriter writer_;
  char* buffer_ = nullptr;
  std::size_t size_ = 0;
  std::FILE* text_;
  StreamHash hash_;
  std::uint64_t count_ = 0;
  std::uint64_t lostByUnit_ = 0;
  std::uint64_t extendedGroups_ = 0;
  std::int32_t previousTime_ = 0;
  int wraps_ = 0;
  std::uint64_t outOfOrder_ = 0;
};

// MonitorRead of the link, passing what it delivered to DeliveredRecords.
analyzer::LinkApi g_inner;
DeliveredRecords* g_delivered = nullptr;

std::int32_t CountingMonitorRead(std::uint8_t* header, std::uint8_t* records,
                                 std::uint32_t maxRecords) {
  const std::int32_t result = g_inner.MonitorRead(header, records, maxRecords);
  if (result == 1) {
    const std::uint32_t count = std::min<std::uint32_t>(header[26], maxRecords);
    g_delivered->Take(std::span(reinterpret_cast<const MonitorRecord*>(records), count));
  }
  return result;
}

// Reads the live log from a named pipe as it is written, so a day of log
// lines needs no disk: hashes every byte, counts the lines and keeps the
// first line with a negative time.
class PipedLog {
 public:
  explicit PipedLog(std::filesystem::path path) : path_(std::move(path)) {
    EXPECT_EQ(mkfifo(path_.c_str(), 0600), 0);
    thread_ = std::thread([this] { Read(); });
  }
  // A reader still waiting for a writer gets an empty log.
  ~PipedLog() {
    if (const int fd = open(path_.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0) close(fd);
    Join();
  }
  void Join() {
    if (thread_.joinable()) thread_.join();
  }

  const std::filesystem::path& path() const { return path_; }
  std::uint64_t lines() const { return lines_; }
  std::uint64_t hash() const { return hash_.value(); }
  bool endsWithLineEnd() const { return last_[0] == '\r' && last_[1] == '\n'; }
  const std::string& firstNegativeLine() const { return firstNegative_; }

 private:
  void Read() {
    std::FILE* file = std::fopen(path_.c_str(), "rb");
    if (file == nullptr) return;
    std::string line;
    line.reserve(256);
    char chunk[65536];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
      hash_.Add(std::span<const char>(chunk, got));
      for (std::size_t i = 0; i < got; ++i) {
        last_[0] = last_[1];
        last_[1] = chunk[i];
        if (firstNegative_.empty() && line.size() < 255) line.push_back(chunk[i]);
        if (chunk[i] != '\n') continue;
        ++lines_;
        if (firstNegative_.empty() && line.starts_with(" -")) firstNegative_ = line;
        line.clear();
      }
    }
    std::fclose(file);
  }

  std::filesystem::path path_;
  StreamHash hash_;
  std::uint64_t lines_ = 0;
  char last_[2] = {};
  std::string firstNegative_;
  std::thread thread_;
};

class SoakTest : public ::testing::Test {
 protected:
  SoakTest() : rig_(Profile()) {
    link_ = testing::StaticLinkApi();
    EXPECT_EQ(link_.InitUSB(), 1);
    EXPECT_EQ(link_.TargetGo(), 1);
    app::SetDefaults(configuration_, folder_.path().string());
    configuration_.Options.BaudRateCode = kBaudCode19200;
    EXPECT_TRUE(map_.WriteFrameParameters(configuration_.Options, configuration_.Settings.Options));
    EXPECT_TRUE(map_.WriteLengthTable(configuration_.Settings.Identifiers));
    EXPECT_TRUE(map_.WriteLinRevision(configuration_.Settings.LinRevision));
  }

  // The unit's counter reaches the int32 wrap halfway through the run.
  static emulator::AnalyzerProfile Profile() {
    emulator::AnalyzerProfile profile;
    profile.bus_baud = 19200;
    profile.back_to_back = true;
    const auto halfway = static_cast<std::uint32_t>(milliseconds(SoakDuration()).count() / 2);
    profile.counter_start_ms = 0x80000000u - halfway;
    return profile;
  }

  std::chrono::milliseconds Elapsed() const { return rig_.Elapsed(); }

  testing::VirtualLinkRig rig_;
  analyzer::LinkApi link_;
  analyzer::RegisterMap map_{link_, analyzer::test::SleepOn(rig_.clock())};
  analyzer::test::ScratchFolder folder_;
  app::Configuration configuration_;
};

TEST_F(SoakTest, EveryRecordReachesTheBufferAndTheLogInOrderWithFlatMemory) {
  const milliseconds duration = SoakDuration();
  // The first memory checkpoint: hour 1, or a tenth of a shorter run.
  const milliseconds checkpoint = std::min<milliseconds>(std::chrono::hours(1), duration / 10);

  analyzer::AcquisitionSettings settings;
  settings.loggingEnabled = true;
  settings.logFormat = app::MakeLogFormat(configuration_.Settings.Identifiers,
                                          configuration_.Settings.Options, "IDEN", "HEX");
  settings.stopPollInterval = milliseconds(0);
  PipedLog log(folder_ / "soak.log");
  settings.logPath = log.path();

  DeliveredRecords delivered(settings.logFormat);
  g_inner = link_;
  g_delivered = &delivered;
  analyzer::LinkApi counting = link_;
  counting.MonitorRead = &CountingMonitorRead;

  monitor::MonitorState state;
  analyzer::test::RecordingSink sink;
  analyzer::Acquisition acquisition(counting, state, sink);
  analyzer::MonitorSession session(counting, state, acquisition, sink);
  const milliseconds start = Elapsed();
  ASSERT_TRUE(session.Start(settings));

  std::int64_t residentAtCheckpoint = 0;
  while (Elapsed() - start < duration && acquisition.Running()) {
    std::this_thread::sleep_for(milliseconds(20));
    if (residentAtCheckpoint == 0 && Elapsed() - start >= checkpoint) {
      residentAtCheckpoint = ResidentBytes();
    }
  }
  ASSERT_TRUE(acquisition.Running()) << "the acquisition ended by itself";
  const std::int64_t residentAtEnd = ResidentBytes();
  const milliseconds monitored = Elapsed() - start;

  // Stop as the main frame does: drain on a 200 ms tick of virtual time.
  session.RequestStop();
  milliseconds nextTick = Elapsed() + analyzer::kStopTickPeriod;
  for (int ticks = 0; ticks < 50;) {
    if (Elapsed() < nextTick) {
      std::this_thread::sleep_for(milliseconds(1));
      continue;
    }
    nextTick = Elapsed() + analyzer::kStopTickPeriod;
    ++ticks;
    if (session.OnStopTick()) break;
  }
  ASSERT_FALSE(session.StopRequested()) << "the drain does not end";
  acquisition.Join();
  log.Join();
  g_delivered = nullptr;

  const double seconds = std::chrono::duration<double>(monitored).count();
  std::printf("virtual time monitored: %.1f h\n", seconds / 3600);
  std::printf("records: %" PRIu64 ", %.1f per second of virtual time\n", delivered.count(),
              static_cast<double>(delivered.count()) / seconds);
  std::printf(
      "lost records: %" PRIu64 " by the unit, %" PRId64 " between link and log\n",
      delivered.lostByUnit(),
      static_cast<std::int64_t>(delivered.count() + 1) - static_cast<std::int64_t>(log.lines()));
  std::printf("resident size: %" PRId64 " kB at hour %.2f, %" PRId64 " kB at the end\n",
              residentAtCheckpoint / 1024, std::chrono::duration<double>(checkpoint).count() / 3600,
              residentAtEnd / 1024);

  EXPECT_EQ(acquisition.LastErrorCode(), 0);
  EXPECT_TRUE(sink.Texts().empty());
  // About 300 frames a second, the bus's limit with two data bytes.
  EXPECT_GT(static_cast<double>(delivered.count()) / seconds, 250.0);
  EXPECT_EQ(delivered.lostByUnit(), 0u);
  EXPECT_EQ(delivered.extendedGroups(), 0u);  // so every record is one log line

  // The monitor buffer holds the last MonitorCapacity records, in order.
  const monitor::RingSnapshot ring = state.MonitorBuffer.Snapshot();
  ASSERT_EQ(ring.Count(), std::min<std::uint64_t>(delivered.count(), MonitorCapacity));
  std::uint64_t different = 0;
  for (std::uint32_t position = 0; position < ring.Count(); ++position) {
    const MonitorRecord& held = state.MonitorBuffer.Records()[ring.IndexOf(position)];
    if (!std::ranges::equal(held.Bytes(), delivered.Last(position).Bytes())) ++different;
  }
  EXPECT_EQ(different, 0u);

  // The log holds every record in order: its header, one line per record,
  // and exactly the bytes those records make.
  EXPECT_EQ(log.lines(), delivered.count() + 1);
  EXPECT_EQ(log.hash(), delivered.logHash());
  EXPECT_TRUE(log.endsWithLineEnd());

  // Halfway the counter passes INT32_MAX and the times go on negative.
  EXPECT_EQ(delivered.timesOutOfOrder(), 0u);
  EXPECT_EQ(delivered.wraps(), 1);
  EXPECT_TRUE(log.firstNegativeLine().starts_with(" -596:31:2")) << log.firstNegativeLine();

  EXPECT_NE(residentAtCheckpoint, 0);
#ifndef ORVANE_SOAK_SANITIZED
  EXPECT_LE(std::abs(residentAtEnd - residentAtCheckpoint), 1 << 20);
#endif
}

}  // namespace
}  // namespace orvane
