// Where a strict load fails (line and subject), what a relaxed load of the
// same text records, why a file cannot be opened, and the relaxed retry an
// interactive load offers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "signals/LdfLoader.h"
#include "signals/LdfMessages.h"
#include "signals/LdfReport.h"
#include "tests/signals/LdfTestFiles.h"

namespace orvane::signals {
namespace {

namespace fs = std::filesystem;
using testing::kBaseLdf;
using testing::With;

struct Located {
  std::string what;
  std::string text;
  int messageId;
  int line;
  std::string check;
  std::string subject;
  bool relaxable;
};

const std::string kEmptyText = With(kBaseLdf, "\"void\"", "\"\"");

TEST(LdfLocation, StrictFailuresSayLineAndSubject) {
  const std::string longFrame = "MFrame_with_a_name_longer_than_31";
  const std::vector<Located> cases{
      {"an empty text on line 23", kEmptyText, kMsgEncodings, 23, "no empty texts", "\"\"", true},
      {"CRLF line ends count once", std::string(), kMsgEncodings, 23, "no empty texts", "\"\"",
       true},
      {"a block comment's line breaks still count",
       With(With(kBaseLdf, "/* base description */", "/* base\n   description\n*/"),
            "MFrame:", longFrame + ":"),
       kMsgFrames, 21, "names of at most 31 characters", longFrame, true},
      {"a missing comma", With(kBaseLdf, "s1a: 4, 3, S1", "s1a: 4, 3 S1"), kMsgSignals, 12,
       "syntax", "S1, M;", false},
      {"an identifier above 0x3f", With(kBaseLdf, "0x25, S2", "0x45, S2"), kMsgFrames, 17,
       "identifier 0-0x3f", "0x45", true},
      {"an exponent", With(kBaseLdf, "0.5, 0,", "5e-1, 0,"), kMsgEncodings, 24,
       "reals without exponent", "5e-1", true},
      {"an identical second definition",
       With(kBaseLdf, "  s2b: 2, 1, S2, M;\n", "  s2b: 2, 1, S2, M;\n  s2b: 2, 1, S2, M;\n"),
       kMsgSignals, 15, "unique signal names", "s2b", true},
      {"a conflicting second definition",
       With(kBaseLdf, "  s2b: 2, 1, S2, M;\n", "  s2b: 2, 1, S2, M;\n  s2b: 3, 1, S2, M;\n"),
       kMsgSignals, 15, "unique signal names", "s2b", true},
      // The empty text alone would pass, but the signal named twice in one
      // representation entry would not: no relaxed load gets through.
      {"a relaxable breach before one that is not",
       With(kEmptyText, "Dig2: s2b;", "Dig2: s2b, s2b;"), kMsgEncodings, 23, "no empty texts",
       "\"\"", false},
      {"a missing section has no line", std::string(kBaseLdf.substr(0, kBaseLdf.find("Frames"))),
       kMsgFrames, 0, "section missing", "Frames", false},
  };
  for (Located located : cases) {
    SCOPED_TRACE(located.what);
    if (located.text.empty()) {
      for (const char c : kEmptyText) {
        if (c == '\n') located.text += '\r';
        located.text += c;
      }
    }
    const ParseOutcome outcome = ParseLinDescription(located.text, kDefaultSectionMask);
    EXPECT_EQ(outcome.description, nullptr);
    EXPECT_EQ(outcome.messageId, located.messageId);
    EXPECT_EQ(outcome.failedLine, located.line);
    EXPECT_EQ(outcome.failedCheck, located.check);
    EXPECT_EQ(outcome.failedSubject, located.subject);
    EXPECT_EQ(outcome.relaxable, located.relaxable);
    EXPECT_EQ(ParseLinDescription(located.text, kDefaultSectionMask, LdfStrictness::kRelaxed)
                      .description != nullptr,
              located.relaxable);
  }
}

TEST(LdfLocation, RelaxedLoadsRecordWhatTheyLetPass) {
  const ParseOutcome empty =
      ParseLinDescription(kEmptyText, kDefaultSectionMask, LdfStrictness::kRelaxed);
  ASSERT_NE(empty.description, nullptr);
  EXPECT_TRUE(empty.description->loadedRelaxed);
  EXPECT_EQ(DescriptionReport(*empty.description), "line 23: no empty texts: \"\"\n");
  EXPECT_EQ(empty.description->encodings[0].values[3].text, "");

  const ParseOutcome exponent = ParseLinDescription(With(kBaseLdf, "0.5, 0,", "5e-1, 0,"),
                                                    kDefaultSectionMask, LdfStrictness::kRelaxed);
  ASSERT_NE(exponent.description, nullptr);
  EXPECT_EQ(exponent.description->encodings[1].values[0].scale, 0.5);

  // The identical repeat is dropped; the first definition stands.
  const ParseOutcome repeated = ParseLinDescription(
      With(kBaseLdf, "  s2b: 2, 1, S2, M;\n", "  s2b: 2, 1, S2, M;\n  s2b: 2, 1, S2, M;\n"),
      kDefaultSectionMask, LdfStrictness::kRelaxed);
  ASSERT_NE(repeated.description, nullptr);
  EXPECT_EQ(repeated.description->signals.size(), 4u);
  EXPECT_EQ(DescriptionReport(*repeated.description), "line 15: unique signal names: s2b\n");

  // A strict load relaxes nothing and says so.
  const ParseOutcome strict = ParseLinDescription(kBaseLdf, kDefaultSectionMask);
  ASSERT_NE(strict.description, nullptr);
  EXPECT_FALSE(strict.description->loadedRelaxed);
  EXPECT_EQ(DescriptionReport(*strict.description), "No rules were relaxed.\n");
}

TEST(LdfLocation, FurtherSectionsNeverFailALoad) {
  const std::string sections = std::string(kBaseLdf) +
                               "Event_triggered_frames {\n  Ev1 : 0x3A, S1Frame;\n  Ev2 : "
                               "Resolver, 0x3B, MFrame, S2Frame;\n}\n"
                               "Sporadic_frames { Sp : MFrame, S1Frame; }\n";
  const ParseOutcome read = ParseLinDescription(sections, kDefaultSectionMask);
  ASSERT_NE(read.description, nullptr);
  ASSERT_EQ(read.description->eventTriggeredFrames.size(), 2u);
  EXPECT_EQ(read.description->eventTriggeredFrames[0].collisionSchedule, "");  // LIN 2.0 form
  EXPECT_EQ(read.description->eventTriggeredFrames[0].identifier, 0x3A);
  EXPECT_EQ(read.description->eventTriggeredFrames[1].frames,
            (std::vector<std::string>{"MFrame", "S2Frame"}));
  ASSERT_EQ(read.description->sporadicFrames.size(), 1u);
  EXPECT_EQ(read.description->sporadicFrames[0].frames,
            (std::vector<std::string>{"MFrame", "S1Frame"}));

  // A malformed section is left out whole; the load and its other sections stand.
  const ParseOutcome malformed =
      ParseLinDescription(With(sections, "Ev2 : Resolver, 0x3B,", "Ev2 : Resolver 0x3B,") +
                              "Diagnostic_signals { B0: 8, 0; }\nDiagnostic_frames { MasterReq: "
                              "0x3C { Unknown, 0; } }\n",
                          kDefaultSectionMask);
  ASSERT_NE(malformed.description, nullptr);
  EXPECT_TRUE(malformed.description->eventTriggeredFrames.empty());
  EXPECT_EQ(malformed.description->sporadicFrames.size(), 1u);
  EXPECT_EQ(malformed.description->diagnosticSignals.size(), 1u);
  EXPECT_TRUE(malformed.description->diagnosticFrames.empty());  // names no diagnostic signal
  EXPECT_EQ(malformed.description->frames.size(), 3u);
}

class RecordingPrompt : public LoadPrompt {
 public:
  std::optional<std::string> answer;
  bool acceptRelaxed = false;
  std::vector<std::string> details;
  std::vector<bool> offers;

  std::optional<std::string> ChooseFile(std::string_view, std::string_view,
                                        const std::string&) override {
    return answer;
  }
  void ShowFailure(int, std::string_view) override { details.emplace_back("(no detail)"); }
  bool ShowFailureDetail(int, std::string_view, std::string_view detail, bool offer) override {
    details.emplace_back(detail);
    offers.push_back(offer);
    return acceptRelaxed;
  }
};

class LdfOpen : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::path(ORVANE_BINARY_DIR) / "tests-signals-location" /
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(folder_ / "locked.ldf", fs::perms::owner_all, ignored);
    fs::remove_all(folder_);
  }
  std::string Write(const std::string& name, std::string_view text) {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  LoadOutcome LoadFile(std::string path) {
    std::unique_ptr<LinDescription> description;
    return Load(path, nullptr, kDefaultSectionMask, description);
  }

  fs::path folder_;
};

TEST_F(LdfOpen, AFileThatCannotBeOpenedSaysWhy) {
  const std::string missing = (folder_ / "missing.ldf").string();
  LoadOutcome outcome = LoadFile(missing);
  EXPECT_EQ(outcome.messageId, kMsgReadFailed);
  EXPECT_EQ(DescribeLoadFailure(outcome), "cannot open " + missing + ": No such file or directory");
  EXPECT_FALSE(outcome.relaxable);

  outcome = LoadFile(folder_.string());
  EXPECT_EQ(outcome.messageId, kMsgReadFailed);
  EXPECT_EQ(outcome.openProblem, "cannot open " + folder_.string() + ": Is a directory");

  const std::string huge = Write("huge.ldf", "");
  fs::resize_file(huge, kMaxLdfFileBytes + 1);
  outcome = LoadFile(huge);
  EXPECT_EQ(outcome.messageId, kMsgOutOfMemory);
  EXPECT_EQ(
      outcome.openProblem,
      "cannot open " + huge + ": 67108865 bytes, more than the 67108864 a description may have");

  if (geteuid() != 0) {  // root reads any file
    const std::string locked = Write("locked.ldf", kBaseLdf);
    fs::permissions(locked, fs::perms::none);
    outcome = LoadFile(locked);
    EXPECT_EQ(outcome.messageId, kMsgReadFailed);
    EXPECT_EQ(outcome.openProblem, "cannot open " + locked + ": Permission denied");
  }
}

TEST_F(LdfOpen, AnInteractiveLoadOffersTheRelaxedRetryOnlyWhenItGetsThrough) {
  RecordingPrompt prompt;
  std::string path;
  std::unique_ptr<LinDescription> description;

  prompt.answer = Write("empty-text.ldf", kEmptyText);
  EXPECT_EQ(Load(path, &prompt, kDefaultSectionMask, description).result, LoadResult::kFailed);
  EXPECT_EQ(prompt.details, (std::vector<std::string>{"line 23: no empty texts: \"\""}));
  EXPECT_EQ(prompt.offers, (std::vector<bool>{true}));
  EXPECT_EQ(description, nullptr);

  prompt.acceptRelaxed = true;
  const LoadOutcome retried = Load(path, &prompt, kDefaultSectionMask, description);
  EXPECT_EQ(retried.result, LoadResult::kLoaded);
  ASSERT_NE(description, nullptr);
  EXPECT_TRUE(description->loadedRelaxed);
  EXPECT_EQ(path, *prompt.answer);
  EXPECT_EQ(prompt.details.size(), 2u);

  // Not relaxable: shown with its detail, nothing offered, accepting does nothing.
  description.reset();
  prompt.details.clear();
  prompt.offers.clear();
  prompt.answer = Write("comma.ldf", With(kBaseLdf, "s1a: 4, 3, S1", "s1a: 4, 3 S1"));
  EXPECT_EQ(Load(path, &prompt, kDefaultSectionMask, description).result, LoadResult::kFailed);
  EXPECT_EQ(prompt.details, (std::vector<std::string>{"line 12: syntax: S1, M;"}));
  EXPECT_EQ(prompt.offers, (std::vector<bool>{false}));
  EXPECT_EQ(description, nullptr);
}

}  // namespace
}  // namespace orvane::signals
