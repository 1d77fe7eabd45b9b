// The pattern editor's dialog polls the progress of the conversion worker
// while it runs and may cancel it; both sides touch only the shared atomics.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "pattern/PatternSource.h"
#include "tests/pattern/TempDir.h"

namespace orvane::pattern {
namespace {

const std::string kLogLine =
    " 00:00:01.234     ,M,Tx,End       ,  -         ,12,01,02,03,  ,  ,  ,  ,  ,5a\r\n";

std::string LogOfLines(int count) {
  std::string log;
  for (int i = 0; i < count; ++i) log += kLogLine;
  return log;
}

TEST(ConversionProgress, DialogPollsWhileTheWorkerConverts) {
  testing::TempDir dir;
  const std::string log = LogOfLines(20000);
  const std::filesystem::path source = dir.Write("big.log", log);

  ConversionProgress progress;
  std::atomic<bool> done{false};
  PatternSourceResult result;
  std::thread worker([&] {
    result = LoadPatternSource(source, std::nullopt, progress);
    done = true;
  });
  std::uint64_t lastRead = 0;
  while (!done) {
    const std::uint64_t read = progress.bytesRead;
    EXPECT_GE(read, lastRead);
    EXPECT_LE(read, log.size());
    EXPECT_TRUE(LoadingText(progress).starts_with("Now Loading...  "));
    lastRead = read;
  }
  worker.join();
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.patternLines, 20000u);
  EXPECT_FALSE(progress.loading);
  EXPECT_EQ(progress.bytesRead, log.size());
  EXPECT_EQ(LoadingText(progress), "Now Loading...  1580/1580[KB]");
}

// A request made before the worker starts is kept: the worker stops after
// its first chunk, long before the end of the source.
TEST(ConversionCancel, LoadingStopsAfterTheChunkInHand) {
  testing::TempDir dir;
  const std::string log = LogOfLines(20000);
  ConversionProgress progress;
  progress.cancelRequested = true;
  const PatternSourceResult result =
      LoadPatternSource(dir.Write("big.log", log), std::nullopt, progress);
  EXPECT_EQ(result.status, PatternSourceStatus::kCancelled);
  EXPECT_EQ(result.message, "");
  EXPECT_EQ(result.text, "");
  EXPECT_GT(progress.bytesRead, 0u);
  EXPECT_LT(progress.bytesRead, log.size());
  EXPECT_FALSE(progress.loading);
  EXPECT_TRUE(progress.cancelRequested);
}

TEST(ConversionCancel, ConversionWritesNoFileAndLeavesTheOldOne) {
  testing::TempDir dir;
  const std::filesystem::path source = dir.Write("big.log", LogOfLines(20000));
  ConversionProgress progress;
  progress.cancelRequested = true;

  const std::filesystem::path fresh = dir.path() / "big_out.ptn";
  EXPECT_EQ(ConvertToPatternFile(source, std::nullopt, fresh, progress).status,
            PatternSourceStatus::kCancelled);
  EXPECT_FALSE(std::filesystem::exists(fresh));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "big_out.ptn.part"));

  const std::filesystem::path existing = dir.Write("old.ptn", "Rx,01\n");
  EXPECT_EQ(ConvertToPatternFile(source, std::nullopt, existing, progress).status,
            PatternSourceStatus::kCancelled);
  EXPECT_EQ(testing::TempDir::Read(existing), "Rx,01\n");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "old.ptn.part"));
}

// The watcher cancels while the worker waits for more of its source (a pipe
// fed by the test, so the moment is exact): the worker stops with the chunk
// it is reading and the output file never appears.
TEST(ConversionCancel, WatcherStopsTheWorkerMidway) {
  testing::TempDir dir;
  const std::filesystem::path source = dir.path() / "live.log";
  ASSERT_EQ(::mkfifo(source.c_str(), 0600), 0);
  const std::filesystem::path output = dir.path() / "live_out.ptn";

  ConversionProgress progress;
  PatternSourceResult result;
  std::thread worker(
      [&] { result = ConvertToPatternFile(source, std::nullopt, output, progress); });
  {
    std::ofstream feed(source, std::ios::binary);
    const std::string head = LogOfLines(2000);
    feed << head << std::flush;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (progress.bytesRead == 0 && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::yield();
    }
    EXPECT_GT(progress.bytesRead, 0u);
    EXPECT_LT(progress.bytesRead, head.size());
    progress.cancelRequested = true;
    feed << LogOfLines(10);
  }
  worker.join();
  EXPECT_EQ(result.status, PatternSourceStatus::kCancelled);
  EXPECT_FALSE(std::filesystem::exists(output));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "live_out.ptn.part"));
}

}  // namespace
}  // namespace orvane::pattern
