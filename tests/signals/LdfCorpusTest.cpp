// Public LIN description files written by others (../shared/ldf-corpus, see
// its SOURCES.md). Each expectation was decided by reading the file against
// the grammar and rules of this parser; the comment says why.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "signals/LdfLoader.h"
#include "signals/LdfMessages.h"

namespace orvane::signals {
namespace {

using ::testing::Eq;

constexpr std::string_view kCorpus = ORVANE_SHARED_DIR "/ldf-corpus/";
// Nodes, Signals and Frames only: what a file holds before its encodings.
constexpr std::uint32_t kWithoutEncodings = kSectionNodes | kSectionSignals | kSectionFrames;

struct Counts {
  std::size_t slaves, frames, signals, encodings, representations;
};

struct CorpusFile {
  std::string_view path;
  std::uint32_t mask;
  Counts counts;            // when it loads
  int messageId;            // 0: loads
  std::vector<std::string_view> checks;  // the rules the file breaks in its failing section
};

const std::vector<CorpusFile>& Corpus() {
  static const std::vector<CorpusFile> kFiles{
      // LIN 2.2A example: unknown sections (Channel_name, Event_triggered_frames,
      // Node_attributes, Schedule_tables) are skipped; hex identifiers.
      {"ldfparser/lin22.ldf", kDefaultSectionMask, {2, 5, 6, 4, 3}, 0, {}},
      {"ldfparser/examples/lin22.ldf", kDefaultSectionMask, {2, 5, 6, 4, 3}, 0, {}},
      // The same network with Diagnostic_signals and Diagnostic_frames, skipped.
      {"ldfparser/lin_diagnostics.ldf", kDefaultSectionMask, {2, 5, 6, 4, 3}, 0, {}},
      // LIN 1.3: Diagnostic_addresses and Signal_groups skipped; frames with and
      // without a length; Speed covers 0-65535 with ranges and values.
      {"ldfparser/lin13.ldf", kDefaultSectionMask, {2, 7, 49, 4, 3}, 0, {}},
      {"ldfparser/lin20.ldf", kDefaultSectionMask, {1, 2, 2, 1, 1}, 0, {}},
      // J2602 version texts are in sections the default mask skips.
      {"ldfparser/j2602_1_no_values.ldf", kDefaultSectionMask, {1, 2, 2, 1, 1}, 0, {}},
      // Sporadic_frames skipped; the encoding covers 0-4095 (12 bits).
      {"ldfparser/ldf_with_sporadic_frames.ldf", kDefaultSectionMask, {1, 1, 3, 1, 1}, 0, {}},
      // The LIN 2.1 example puts RSMerror, published by LSM, into RSM's frame.
      {"ldfparser/lin21.ldf", kDefaultSectionMask, {}, kMsgFrames,
       {"signals published by the frame's publisher"}},
      // Frame identifiers 0x40-0x45 are above 0x3F.
      {"ldfparser/lin_schedules.ldf", kDefaultSectionMask, {}, kMsgFrames, {"identifier 0-0x3f"}},
      // The master line carries J2602's "24 bits, 30 %" after the jitter, which
      // is read over; the version texts are in sections the default mask skips.
      {"ldfparser/j2602_1.ldf", kDefaultSectionMask, {1, 2, 2, 1, 1}, 0, {}},
      // No Slaves line (and a signal without subscribers behind it).
      {"ldfparser/no_signal_subscribers.ldf", kDefaultSectionMask, {}, kMsgNodes, {"1-63 slaves"}},
      // encState's text is empty; encoding1 (0-200 and 255) leaves 201-254 uncovered.
      {"ldfparser/iso17987.ldf", kDefaultSectionMask, {}, kMsgEncodings,
       {"no empty texts", "values 0 to the largest covered"}},
      // Its first sections load: LIN_sig_byte_order_big_endian and the
      // diagnostic sections are skipped, a 40-bit array initial value is read.
      {"ldfparser/iso17987.ldf", kWithoutEncodings, {2, 8, 10, 0, 0}, 0, {}},
      // ScientificEncoding writes its scales with exponents (5.6785558246e-04).
      {"ldfparser/lin_encoders.ldf", kDefaultSectionMask, {}, kMsgEncodings,
       {"reals without exponent"}},
      // CRLF line ends and hex array bytes ({0x32, 32}) are read.
      {"ldfparser/lin_encoders.ldf", kWithoutEncodings, {1, 1, 2, 0, 0}, 0, {}},
      // SLAVE5_LADLADversdflng_BumBrum_li has 33 characters; SLAVE5_DDD is
      // also defined twice.
      {"lin_ldf_parser/dummy_ldf_for_tests.ldf", kDefaultSectionMask, {}, kMsgSignals,
       {"names of at most 31 characters", "unique signal names"}},
      // Awake_Encoding's "Ev does not request to go to sleep" has 34 characters;
      // Current_Encoding (0-250, 254, 255) also leaves 251-253 uncovered.
      {"saej3068-ref/J3068-2.ldf", kDefaultSectionMask, {}, kMsgEncodings,
       {"texts of at most 31 characters", "values 0 to the largest covered"}},
      // CRLF file with 138 signals and 22 frames before its encodings.
      {"saej3068-ref/J3068-2.ldf", kWithoutEncodings, {2, 22, 138, 0, 0}, 0, {}},
      // Only a comment.
      {"negative/empty.ldf", kDefaultSectionMask, {}, kMsgNotLdf, {"section missing"}},
  };
  return kFiles;
}

TEST(LdfCorpus, EachFileHasItsDecidedOutcome) {
  for (const CorpusFile& file : Corpus()) {
    SCOPED_TRACE(std::string(file.path) + " mask " + std::to_string(file.mask));
    std::string path = std::string(kCorpus) + std::string(file.path);
    std::unique_ptr<LinDescription> description;
    const LoadOutcome outcome = Load(path, nullptr, file.mask, description);
    if (file.messageId != 0) {
      EXPECT_EQ(outcome.result, LoadResult::kFailed);
      EXPECT_EQ(outcome.messageId, file.messageId);
      std::vector<::testing::Matcher<std::string>> checks;
      for (const std::string_view check : file.checks) checks.push_back(Eq(std::string(check)));
      ASSERT_FALSE(checks.empty());
      EXPECT_THAT(outcome.failedCheck, ::testing::AnyOfArray(checks));
      EXPECT_EQ(description, nullptr);
      continue;
    }
    ASSERT_EQ(outcome.result, LoadResult::kLoaded) << outcome.messageId << " " << outcome.failedCheck;
    ASSERT_NE(description, nullptr);
    EXPECT_EQ(description->slaves.size(), file.counts.slaves);
    EXPECT_EQ(description->frames.size(), file.counts.frames);
    EXPECT_EQ(description->signals.size(), file.counts.signals);
    EXPECT_EQ(description->encodings.size(), file.counts.encodings);
    EXPECT_EQ(description->representations.size(), file.counts.representations);
  }
}

TEST(LdfCorpus, Lin13FramesKeepTheirLengthsAndNodeOrder) {
  std::string path = std::string(kCorpus) + "ldfparser/lin13.ldf";
  std::unique_ptr<LinDescription> description;
  ASSERT_EQ(Load(path, nullptr, kDefaultSectionMask, description).result, LoadResult::kLoaded);
  std::vector<std::string> byNode;
  for (const Frame& frame : description->frames) byNode.push_back(frame.name);
  EXPECT_EQ(byNode, (std::vector<std::string>{"VL1_CEM_Frm1", "VL1_CEM_Frm2", "VL1_LSM_Frm1",
                                              "VL1_LSM_Frm2", "VL1_CPM_Frm1", "VL1_CPM_Frm2",
                                              "VL1_CPM_Frm3"}));
  EXPECT_EQ(description->frames[0].length, 3u);  // 0x20 with its length written as 3
  EXPECT_EQ(description->frames[3].length, 6u);  // 0x31 written as 6
  EXPECT_EQ(description->frames[4].length, 8u);  // 0x32 without a length
  EXPECT_EQ(description->frames[5].length, 4u);  // 0x22 without a length
  // Identifier order 0x20, 0x21, 0x22, 0x30, 0x31, 0x32, 0x33.
  EXPECT_EQ(description->framesById, (std::vector<std::uint8_t>{0, 2, 5, 1, 3, 4, 6}));
  const Encoding& speed = description->encodings[3];
  EXPECT_EQ(speed.name, "Speed");
  EXPECT_EQ(speed.encodedBitSize, 16u);
  EXPECT_DOUBLE_EQ(speed.values[0].scale, 0.008);
}

}  // namespace
}  // namespace orvane::signals
