// Every section fails with its own message id and text when its grammar or
// one of its rules is broken; each case names the rule it expects.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "signals/LdfMessages.h"
#include "signals/LdfParser.h"
#include "tests/signals/LdfTestFiles.h"

namespace orvane::signals {
namespace {

using testing::kBaseLdf;
using testing::With;
using testing::WithEncodings;

struct BrokenFile {
  std::string what;
  std::string text;
  int messageId;
  std::string_view check;
};

void ExpectFailures(const std::vector<BrokenFile>& cases, std::uint32_t mask = kDefaultSectionMask) {
  for (const BrokenFile& broken : cases) {
    SCOPED_TRACE(broken.what);
    const ParseOutcome outcome = ParseLinDescription(broken.text, mask);
    EXPECT_EQ(outcome.description, nullptr);
    EXPECT_EQ(outcome.messageId, broken.messageId);
    EXPECT_EQ(outcome.failedCheck, broken.check);
  }
}

TEST(LdfRules, MessageTextsAreTheStringTableTexts) {
  constexpr std::string_view kFailed = "Failed to read a LIN description file.\n";
  EXPECT_EQ(LdfMessageText(kMsgOpenDialogTitle), "Select LIN description file ...");
  EXPECT_EQ(LdfMessageText(kMsgOpenDialogFilter), "LIN description file (*.ldf)");
  EXPECT_EQ(LdfMessageText(kMsgReadFailed), "Failed to read a LIN description file.");
  EXPECT_EQ(LdfMessageText(kMsgOutOfMemory),
            "Not enough memory to read the file.\nPlease try again after closing unnecessary files.");
  EXPECT_EQ(LdfMessageText(kMsgNotLdf),
            "The selected file is not in the LIN description file format.");
  const std::vector<std::pair<int, std::string>> sectionTexts{
      {kMsgProtocolVersion, "An error occurred in LIN protocol version number definition."},
      {kMsgLanguageVersion, "An error occurred in LIN language version number definition."},
      {kMsgSpeed, "An error occurred in LIN speed definition."},
      {kMsgNodes, "An error occurred in Node definition (Participating nodes)."},
      {kMsgSignals, "An error occurred in Signal definition (Standard signals)."},
      {kMsgFrames, "An error occurred in Frame definition (Unconditional frames)."},
      {kMsgEncodings,
       "An error occurred in Additional information (Signal encoding type definition)."},
      {kMsgRepresentations,
       "An error occurred in Additional information (Signal representation definition)."},
  };
  for (const auto& [id, secondLine] : sectionTexts) {
    EXPECT_EQ(LdfMessageText(id), std::string(kFailed) + secondLine) << id;
  }
  EXPECT_EQ(LdfMessageText(4711), LdfMessageText(kMsgReadFailed));
}

TEST(LdfRules, HeaderVersionsAndSpeed) {
  ExpectFailures(
      {
          {"no header", With(kBaseLdf, "LIN_description_file;", ""), kMsgNotLdf,
           kCheckSectionMissing},
          {"header without ;", With(kBaseLdf, "LIN_description_file;", "LIN_description_file"),
           kMsgNotLdf, kCheckSyntax},
          {"version text too long", With(kBaseLdf, "\"2.1\";\nLIN_lang", "\"ISO17987\";\nLIN_lang"),
           kMsgProtocolVersion, "version text of 1-5 characters"},
          {"empty version", With(kBaseLdf, "\"2.1\";\nLIN_lang", "\"\";\nLIN_lang"),
           kMsgProtocolVersion, "version text of 1-5 characters"},
          {"two dots", With(kBaseLdf, "\"2.1\";\nLIN_speed", "\"2.1.1\";\nLIN_speed"),
           kMsgLanguageVersion, "version of digits with at most one '.'"},
          {"version 0", With(kBaseLdf, "\"2.1\";\nLIN_speed", "\"0.00\";\nLIN_speed"),
           kMsgLanguageVersion, "version 0.01-99.99"},
          {"speed too high", With(kBaseLdf, "19.2 kbps", "20.1 kbps"), kMsgSpeed,
           "speed 1.0-20.0 kbps"},
          {"speed exponent", With(kBaseLdf, "19.2 kbps", "1.92e1 kbps"), kMsgSpeed,
           "reals without exponent"},
          // The units are found after spaces and tabs only.
          {"unit on the next line", With(kBaseLdf, "19.2 kbps", "19.2\nkbps"), kMsgSpeed,
           kCheckSyntax},
      },
      0xFF);
}

TEST(LdfRules, Nodes) {
  ExpectFailures({
      {"no Slaves line", With(kBaseLdf, "  Slaves: S1, S2;\n", ""), kMsgNodes, "1-63 slaves"},
      {"J2602 master attributes without the tolerance",
       With(kBaseLdf, "0.1 ms;", "0.1 ms, 24 bits;"), kMsgNodes, kCheckSyntax},
      {"slave named like the master", With(kBaseLdf, "Slaves: S1, S2;", "Slaves: S1, M;"),
       kMsgNodes, "no slave named like the master"},
      {"slave twice", With(kBaseLdf, "Slaves: S1, S2;", "Slaves: S1, S2, S1;"), kMsgNodes,
       "distinct slave names"},
      {"name of 32 characters",
       With(kBaseLdf, "Slaves: S1, S2;", "Slaves: S1, S2, Abcdefghijklmnopqrstuvwxyz012345;"),
       kMsgNodes, "names of at most 31 characters"},
      {"time base exponent", With(kBaseLdf, "5 ms", "5e0 ms"), kMsgNodes,
       "reals without exponent"},
      {"list not ended by ;", With(kBaseLdf, "Slaves: S1, S2;", "Slaves: S1, S2"), kMsgNodes,
       kCheckSyntax},
  });
  std::string slaves = "Slaves: S1, S2";
  for (int i = 3; i <= 64; ++i) slaves += ", S" + std::to_string(i);
  ExpectFailures({{"64 slaves", With(kBaseLdf, "Slaves: S1, S2", slaves), kMsgNodes,
                   "1-63 slaves"}});
  // J2602 master lines carry the longest header and the response tolerance.
  EXPECT_NE(ParseLinDescription(With(kBaseLdf, "0.1 ms;", "0.1 ms, 24 bits, 30 %;"), kSectionNodes)
                .description,
            nullptr);
  // 31 characters and 63 slaves are still fine.
  const std::string at63 = With(kBaseLdf, "Slaves: S1, S2", slaves.substr(0, slaves.find(", S64")));
  EXPECT_NE(ParseLinDescription(With(at63, "Master: M,", "Master: Abcdefghijklmnopqrstuvwxyz01234,"),
                                kSectionNodes)
                .description,
            nullptr);
}

std::string_view SignalsBlock() {
  const std::size_t start = kBaseLdf.find("Signals {");
  return kBaseLdf.substr(start, kBaseLdf.find("Frames {") - start);
}

TEST(LdfRules, Signals) {
  const std::string_view m8 = "m8: 8, 0, M, S1;";
  ExpectFailures({
      {"no signals", With(kBaseLdf, SignalsBlock(), "Signals {\n}\n"), kMsgSignals,
       "1-4096 signals"},
      {"duplicate name", With(kBaseLdf, m8, "m8: 8, 0, M, S1; m8: 3, 0, M, S1;"), kMsgSignals,
       "unique signal names"},
      {"no subscribers", With(kBaseLdf, m8, "m8: 8, 0, M;"), kMsgSignals, "1-63 subscribers"},
      {"unknown subscriber", With(kBaseLdf, m8, "m8: 8, 0, M, S9;"), kMsgSignals,
       "subscribers are nodes"},
      {"unknown publisher", With(kBaseLdf, m8, "m8: 8, 0, X, S1;"), kMsgSignals,
       "publisher is a node"},
      {"subscriber twice", With(kBaseLdf, m8, "m8: 8, 0, M, S1, S1;"), kMsgSignals,
       "distinct subscribers"},
      {"publisher subscribes", With(kBaseLdf, m8, "m8: 8, 0, M, S1, M;"), kMsgSignals,
       "publisher is not a subscriber"},
      {"scalar of 17 bits", With(kBaseLdf, m8, "m8: 17, 0, M, S1;"), kMsgSignals,
       "scalar initial value only for 1-16 bits"},
      {"negative size", With(kBaseLdf, m8, "m8: -8, 0, M, S1;"), kMsgSignals,
       "scalar initial value only for 1-16 bits"},
      {"value too big", With(kBaseLdf, m8, "m8: 8, 256, M, S1;"), kMsgSignals,
       "scalar initial value fits the size"},
      {"negative value", With(kBaseLdf, m8, "m8: 8, -1, M, S1;"), kMsgSignals,
       "scalar initial value fits the size"},
      {"array of 12 bits", With(kBaseLdf, m8, "m8: 12, {1, 2}, M, S1;"), kMsgSignals,
       "array initial value of size / 8 bytes"},
      {"array too short", With(kBaseLdf, m8, "m8: 24, {1, 2}, M, S1;"), kMsgSignals,
       "array initial value of size / 8 bytes"},
      {"array byte 256", With(kBaseLdf, m8, "m8: 16, {1, 256}, M, S1;"), kMsgSignals,
       "array initial bytes 0-255"},
      {"name of 32 characters",
       With(kBaseLdf, m8, "m8: 8, 0, M, S1; Abcdefghijklmnopqrstuvwxyz012345: 1, 0, M, S1;"),
       kMsgSignals, "names of at most 31 characters"},
      {"integer of 12 characters", With(kBaseLdf, m8, "m8: 8, 000000000001, M, S1;"),
       kMsgSignals, kCheckSyntax},
  });
}

TEST(LdfRules, Frames) {
  const std::string_view s1 = "S1Frame: 3, S1, 1 { s1a, 4; }";
  ExpectFailures({
      {"overlapping bits", With(kBaseLdf, "s2b, 16;", "s2b, 15;"), kMsgFrames,
       "no bit covered twice"},
      {"signal of another publisher", With(kBaseLdf, s1, "S1Frame: 3, S1, 1 { m8, 0; }"),
       kMsgFrames, "signals published by the frame's publisher"},
      {"identifier 0x40", With(kBaseLdf, "MFrame: 0x10,", "MFrame: 0x40,"), kMsgFrames,
       "identifier 0-0x3f"},
      {"negative identifier", With(kBaseLdf, "MFrame: 0x10,", "MFrame: -1,"), kMsgFrames,
       "identifier 0-0x3f"},
      {"identifier twice", With(kBaseLdf, "MFrame: 0x10,", "MFrame: 3,"), kMsgFrames,
       "unique identifiers"},
      {"name twice", With(kBaseLdf, "MFrame:", "S1Frame:"), kMsgFrames, "unique frame names"},
      {"unknown signal", With(kBaseLdf, "{ s1a, 4; }", "{ nope, 4; }"), kMsgFrames,
       "entry signals exist"},
      {"signal twice", With(kBaseLdf, "{ s1a, 4; }", "{ s1a, 0; s1a, 4; }"), kMsgFrames,
       "each signal once per frame"},
      {"offset past the end", With(kBaseLdf, "{ s1a, 4; }", "{ s1a, 8; }"), kMsgFrames,
       "offsets inside the frame"},
      {"negative offset", With(kBaseLdf, "{ s1a, 4; }", "{ s1a, -1; }"), kMsgFrames,
       "offsets inside the frame"},
      {"signal runs past the end", With(kBaseLdf, "{ s1a, 4; }", "{ s1a, 5; }"), kMsgFrames,
       "signals end inside the frame"},
      {"length 9", With(kBaseLdf, "S1, 1 {", "S1, 9 {"), kMsgFrames, "length 1-8"},
      {"length 0", With(kBaseLdf, "S1, 1 {", "S1, 0 {"), kMsgFrames, "length 1-8"},
      {"huge length", With(kBaseLdf, "S1, 1 {", "S1, 99999999999 {"), kMsgFrames, "length 1-8"},
      {"no entries", With(kBaseLdf, "{ s1a, 4; }", "{ }"), kMsgFrames, "1-64 entries"},
      {"unknown publisher", With(kBaseLdf, "3, S1, 1", "3, S7, 1"), kMsgFrames,
       "publisher is a node"},
  });
  // The "," and ";" of an entry may be left out.
  EXPECT_NE(ParseLinDescription(With(kBaseLdf, "{ s1a, 4; }", "{ s1a 4 }"), kDefaultSectionMask)
                .description,
            nullptr);
}

TEST(LdfRules, Encodings) {
  const std::string_view rep = "Dig2: s2b;";
  ExpectFailures({
      {"largest value 2", WithEncodings("Dig2 { logical_value, 0; logical_value, 1; logical_value, 2; }", rep),
       kMsgEncodings, "largest value is 2^n - 1"},
      {"255 uncovered", WithEncodings("Dig2 { physical_value, 0, 254, 1, 0, \"x\"; }", rep),
       kMsgEncodings, "largest value is 2^n - 1"},
      {"gap inside", WithEncodings("Dig2 { logical_value, 0; logical_value, 3; physical_value, 2, 3, 1, 0; }", rep),
       kMsgEncodings, "values 0 to the largest covered"},
      {"text of 32 characters",
       WithEncodings("Dig2 { logical_value, 0; logical_value, 1, \"Ev does not request to sleep 123\"; }", rep),
       kMsgEncodings, "texts of at most 31 characters"},
      {"empty text", WithEncodings("Dig2 { logical_value, 0, \"\"; logical_value, 1; }", rep),
       kMsgEncodings, "no empty texts"},
      {"exponent", WithEncodings("Dig2 { physical_value, 0, 1, 5.6e-04, 0; }", rep), kMsgEncodings,
       "reals without exponent"},
      {"no values", WithEncodings("Dig2 { }", rep), kMsgEncodings,
       "at least one value per encoding"},
      {"bcd with another value", WithEncodings("Dig2 { bcd_value; logical_value, 0; }", rep),
       kMsgEncodings, "bcd or ascii value alone"},
      {"logical value twice", WithEncodings("Dig2 { logical_value, 0; logical_value, 0; logical_value, 1; }", rep),
       kMsgEncodings, "no repeated value"},
      {"physical minimum twice",
       WithEncodings("Dig2 { physical_value, 0, 1, 1, 0; physical_value, 0, 3, 1, 0; }", rep),
       kMsgEncodings, "no repeated value"},
      {"maximum below minimum", WithEncodings("Dig2 { physical_value, 3, 0, 1, 0; }", rep),
       kMsgEncodings, "physical maximum not below minimum"},
      {"name twice", WithEncodings("Dig2 { ascii_value; } Dig2 { bcd_value; }", rep),
       kMsgEncodings, "unique encoding names"},
      {"unknown value kind", WithEncodings("Dig2 { text_value, \"a\"; }", rep), kMsgEncodings,
       kCheckSyntax},
      {"no encodings", WithEncodings("", rep), kMsgEncodings, "1-4096 encodings"},
  });
  // Values 0-3 pass, and a logical value may repeat a physical one.
  const std::string passing = WithEncodings(
      "Dig2 { logical_value, 0; physical_value, 0, 2, 1, 0; logical_value, 3, \"top\"; }", rep);
  EXPECT_NE(ParseLinDescription(passing, kDefaultSectionMask).description, nullptr);
}

TEST(LdfRules, Representations) {
  const std::string_view encodings =
      "Dig2 { logical_value, 0; logical_value, 1; logical_value, 2; logical_value, 3; }\n"
      "Bcd { bcd_value; }";
  ExpectFailures({
      {"unknown encoding", WithEncodings(encodings, "Nope: s2b;"), kMsgRepresentations,
       "encoding exists"},
      {"unknown signal", WithEncodings(encodings, "Dig2: nope;"), kMsgRepresentations,
       "signals exist"},
      {"signal twice in one entry", WithEncodings(encodings, "Dig2: s2b, s2b;"),
       kMsgRepresentations, "distinct signals per entry"},
      {"signal in two entries", WithEncodings(encodings, "Dig2: s2b; Bcd: s2b;"),
       kMsgRepresentations, "one encoding per signal"},
      {"encoding named twice", WithEncodings(encodings, "Dig2: s2b; Dig2: m8;"),
       kMsgRepresentations, "each encoding named once"},
      {"2-bit encoding on 8 bits", WithEncodings(encodings, "Dig2: m8;"), kMsgRepresentations,
       "signal size fits the encoding"},
      {"bcd on 2 bits", WithEncodings(encodings, "Bcd: s2b;"), kMsgRepresentations,
       "signal size fits the encoding"},
      {"empty section", WithEncodings(encodings, ""), kMsgRepresentations, "1-4096 entries"},
  });
  EXPECT_NE(ParseLinDescription(WithEncodings(encodings, "Bcd: m8, s2a, s1a;\nDig2: s2b;"),
                                kDefaultSectionMask)
                .description,
            nullptr);
}

}  // namespace
}  // namespace orvane::signals
