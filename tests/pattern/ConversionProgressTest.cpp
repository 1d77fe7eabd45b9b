// The pattern editor's dialog polls the progress of the conversion worker
// while it runs; both sides touch only the shared atomics.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "pattern/PatternSource.h"
#include "tests/pattern/TempDir.h"

namespace orvane::pattern {
namespace {

TEST(ConversionProgress, DialogPollsWhileTheWorkerConverts) {
  testing::TempDir dir;
  const std::string line =
      " 00:00:01.234     ,M,Tx,End       ,  -         ,12,01,02,03,  ,  ,  ,  ,  ,5a\r\n";
  std::string log;
  for (int i = 0; i < 20000; ++i) log += line;
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

}  // namespace
}  // namespace orvane::pattern
