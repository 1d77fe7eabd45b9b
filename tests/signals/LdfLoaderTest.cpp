// Loading files into the caller's description, with and without the prompt.
#include "signals/LdfLoader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "signals/LdfMessages.h"
#include "tests/signals/LdfTestFiles.h"

namespace orvane::signals {
namespace {

namespace fs = std::filesystem;

class RecordingPrompt : public LoadPrompt {
 public:
  std::optional<std::string> answer;
  std::vector<std::string> asked;  // title, filter, offered path
  std::vector<std::pair<int, std::string>> failures;
  std::vector<bool> busy;

  std::optional<std::string> ChooseFile(std::string_view title, std::string_view filter,
                                        const std::string& current) override {
    asked = {std::string(title), std::string(filter), current};
    return answer;
  }
  void ShowFailure(int messageId, std::string_view text) override {
    failures.emplace_back(messageId, std::string(text));
  }
  void SetBusy(bool on) override { busy.push_back(on); }
};

class LdfLoader : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::path(ORVANE_BINARY_DIR) / "tests-signals-loader" /
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string Write(const std::string& name, std::string_view text) {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  fs::path folder_;
};

TEST_F(LdfLoader, NonInteractiveLoadReplacesTheDescriptionOnlyOnSuccess) {
  const std::string good = Write("good.ldf", testing::kBaseLdf);
  const std::string bad = Write("bad.ldf", testing::With(testing::kBaseLdf, "s2b, 16;", "s2b, 15;"));

  std::string path = good;
  std::unique_ptr<LinDescription> description;
  const LoadOutcome loaded = Load(path, nullptr, kDefaultSectionMask, description);
  EXPECT_EQ(loaded.result, LoadResult::kLoaded);
  EXPECT_EQ(static_cast<int>(loaded.result), 0);
  ASSERT_NE(description, nullptr);
  const LinDescription* kept = description.get();

  path = bad;
  const LoadOutcome failed = Load(path, nullptr, kDefaultSectionMask, description);
  EXPECT_EQ(static_cast<int>(failed.result), 2);
  EXPECT_EQ(failed.messageId, kMsgFrames);
  EXPECT_EQ(description.get(), kept);
  EXPECT_EQ(path, bad);

  Free(description);
  EXPECT_EQ(description, nullptr);
}

TEST_F(LdfLoader, InteractiveLoadAsksShowsFailuresAndTakesTheChosenPath) {
  const std::string good = Write("good.ldf", testing::kBaseLdf);
  const std::string bad = Write("bad.ldf", "LIN_description_file;\nNodes { Master: M, 5 ms, 1 ms; }");
  RecordingPrompt prompt;
  std::string path = "/offered/path.ldf";
  std::unique_ptr<LinDescription> description;

  const LoadOutcome cancelled = Load(path, &prompt, kDefaultSectionMask, description);
  EXPECT_EQ(static_cast<int>(cancelled.result), 1);
  EXPECT_EQ(prompt.asked, (std::vector<std::string>{"Select LIN description file ...",
                                                    "LIN description file (*.ldf)",
                                                    "/offered/path.ldf"}));
  EXPECT_TRUE(prompt.busy.empty());
  EXPECT_EQ(path, "/offered/path.ldf");

  prompt.answer = bad;
  EXPECT_EQ(Load(path, &prompt, kDefaultSectionMask, description).result, LoadResult::kFailed);
  ASSERT_EQ(prompt.failures.size(), 1u);
  EXPECT_EQ(prompt.failures[0].first, kMsgNodes);
  EXPECT_EQ(prompt.failures[0].second,
            "Failed to read a LIN description file.\n"
            "An error occurred in Node definition (Participating nodes).");
  EXPECT_EQ(prompt.busy, (std::vector<bool>{true, false}));
  EXPECT_EQ(description, nullptr);
  EXPECT_EQ(path, "/offered/path.ldf");

  prompt.answer = good;
  EXPECT_EQ(Load(path, &prompt, kDefaultSectionMask, description).result, LoadResult::kLoaded);
  EXPECT_NE(description, nullptr);
  EXPECT_EQ(path, good);
  EXPECT_EQ(prompt.failures.size(), 1u);
}

TEST_F(LdfLoader, UnreadableAndOversizedFilesFailWithAMessage) {
  int messageId = 0;
  EXPECT_FALSE(ReadLdfFile((folder_ / "missing.ldf").string(), messageId));
  EXPECT_EQ(messageId, kMsgReadFailed);
  EXPECT_FALSE(ReadLdfFile(folder_.string(), messageId));
  EXPECT_EQ(messageId, kMsgReadFailed);

  // A sparse file just above the limit is refused before it is read.
  const std::string huge = Write("huge.ldf", "");
  fs::resize_file(huge, kMaxLdfFileBytes + 1);
  EXPECT_FALSE(ReadLdfFile(huge, messageId));
  EXPECT_EQ(messageId, kMsgOutOfMemory);

  const std::string empty = Write("empty.ldf", "");
  std::string path = empty;
  std::unique_ptr<LinDescription> description;
  EXPECT_EQ(Load(path, nullptr, kDefaultSectionMask, description).messageId, kMsgNotLdf);
  const auto text = ReadLdfFile(Write("nul.ldf", std::string("a\0b", 3)), messageId);
  ASSERT_TRUE(text);
  EXPECT_EQ(*text, std::string("a\0b", 3));
  EXPECT_EQ(messageId, 0);
}

}  // namespace
}  // namespace orvane::signals
