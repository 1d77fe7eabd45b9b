// The parser on whole files: what a valid file gives, the node order and
// identifier maps, the section mask, and the mended faults.
#include "signals/LdfParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "signals/LdfMessages.h"
#include "tests/signals/LdfTestFiles.h"

namespace orvane::signals {
namespace {

using testing::kBaseLdf;
using testing::With;
using testing::WithEncodings;

TEST(LdfParser, ReadsTheBaseFileWithTheDefaultMask) {
  const ParseOutcome outcome = ParseLinDescription(kBaseLdf, kDefaultSectionMask);
  ASSERT_NE(outcome.description, nullptr) << outcome.messageId << " " << outcome.failedCheck;
  const LinDescription& d = *outcome.description;

  // 0xF8 skips the version and speed sections.
  EXPECT_EQ(d.protocolVersionText, "");
  EXPECT_EQ(d.speedKbps, 0.0);

  EXPECT_EQ(d.masterName, "M");
  EXPECT_DOUBLE_EQ(d.timeBaseMs, 5.0);
  EXPECT_DOUBLE_EQ(d.jitterMs, 0.1);
  EXPECT_EQ(d.slaves, (std::vector<std::string>{"S1", "S2"}));

  ASSERT_EQ(d.signals.size(), 4u);
  EXPECT_EQ(d.signals[1].name, "s1a");
  EXPECT_EQ(d.signals[1].size, 4u);
  EXPECT_EQ(d.signals[1].initialValue, 3u);
  EXPECT_EQ(d.signals[1].publisher, 0);
  // The master as a subscriber is node -1, kept signed.
  EXPECT_EQ(d.signals[1].subscribers, (std::vector<std::int32_t>{kMasterNode}));
  EXPECT_EQ(d.signals[2].initialValue, 0x1234u);
  EXPECT_EQ(d.signals[2].subscribers, (std::vector<std::int32_t>{kMasterNode, 0}));
  EXPECT_EQ(d.signals[0].encoding, kNoEncoding);
  EXPECT_EQ(d.signals[2].encoding, 1);
  EXPECT_EQ(d.signals[3].encoding, 0);

  ASSERT_EQ(d.encodings.size(), 2u);
  EXPECT_EQ(d.encodings[0].encodedBitSize, 2u);
  EXPECT_EQ(d.encodings[1].encodedBitSize, 16u);
  const ValueEntry& speed = d.encodings[1].values[0];
  EXPECT_EQ(speed.kind, ValueKind::kPhysical);
  EXPECT_EQ(speed.minimum, 0);
  EXPECT_EQ(speed.maximum, 65534);
  EXPECT_DOUBLE_EQ(speed.scale, 0.5);
  EXPECT_EQ(speed.text, "km/h");

  ASSERT_EQ(d.representations.size(), 2u);
  EXPECT_EQ(d.representations[1].encoding, 1u);
  EXPECT_EQ(d.representations[1].signals, (std::vector<std::uint32_t>{2}));
}

TEST(LdfParser, OrdersFramesByPublisherAndMapsIdentifiers) {
  const ParseOutcome outcome = ParseLinDescription(kBaseLdf, kDefaultSectionMask);
  ASSERT_NE(outcome.description, nullptr);
  const LinDescription& d = *outcome.description;

  // Written S2Frame, S1Frame, MFrame: the master's frames come first, then
  // slave 0's, then slave 1's.
  ASSERT_EQ(d.frames.size(), 3u);
  EXPECT_EQ(d.frames[0].name, "MFrame");
  EXPECT_EQ(d.frames[1].name, "S1Frame");
  EXPECT_EQ(d.frames[2].name, "S2Frame");
  EXPECT_EQ(d.frames[2].publisher, 1);
  // No length written and identifier 0x25 (bits 4-5 = 10): 4 bytes.
  EXPECT_EQ(d.frames[2].length, 4u);
  ASSERT_EQ(d.frames[2].entries.size(), 2u);
  EXPECT_EQ(d.frames[2].entries[1].signal, 3u);
  EXPECT_EQ(d.frames[2].entries[1].bitOffset, 16u);

  EXPECT_EQ(d.framesById, (std::vector<std::uint8_t>{1, 0, 2}));  // ids 3, 0x10, 0x25
  EXPECT_EQ(d.frameIndexById[0x10], 0);
  EXPECT_EQ(d.frameIndexById[3], 1);
  EXPECT_EQ(d.frameIndexById[0x25], 2);
  // Identifiers without a frame follow in identifier order: 0, 1, 2, 4, 5 ...
  EXPECT_EQ(d.frameIndexById[0], 3);
  EXPECT_EQ(d.frameIndexById[2], 5);
  EXPECT_EQ(d.frameIndexById[4], 6);
  EXPECT_EQ(d.frameIndexById[63], 63);
  EXPECT_EQ(d.SlotFor(5), 7);
  EXPECT_EQ(d.SlotFor(64), 64);
  EXPECT_EQ(d.SlotFor(-1), -1);

  std::array<bool, 64> slotUsed{};
  for (const std::uint8_t slot : d.frameIndexById) slotUsed.at(slot) = true;
  EXPECT_TRUE(std::ranges::all_of(slotUsed, [](bool used) { return used; }));
}

TEST(LdfParser, ReadsOnlyTheRequestedSectionsAndTheirPrerequisites) {
  const ParseOutcome all = ParseLinDescription(kBaseLdf, 0xFF);
  ASSERT_NE(all.description, nullptr);
  EXPECT_EQ(all.description->protocolVersionText, "2.1");
  EXPECT_DOUBLE_EQ(all.description->languageVersion, 2.1);
  EXPECT_DOUBLE_EQ(all.description->speedKbps, 19.2);

  // Frames without Signals: neither is read, and the maps stay the identity.
  const ParseOutcome nodesAndFrames = ParseLinDescription(kBaseLdf, kSectionNodes | kSectionFrames);
  ASSERT_NE(nodesAndFrames.description, nullptr);
  EXPECT_EQ(nodesAndFrames.description->slaves.size(), 2u);
  EXPECT_TRUE(nodesAndFrames.description->frames.empty());
  EXPECT_EQ(nodesAndFrames.description->SlotFor(0x25), 0x25);

  // Representations need the encodings bit: without it no signal is encoded.
  const ParseOutcome noEncodings = ParseLinDescription(kBaseLdf, 0xB8);
  ASSERT_NE(noEncodings.description, nullptr);
  EXPECT_TRUE(noEncodings.description->representations.empty());
  EXPECT_EQ(noEncodings.description->signals[2].encoding, kNoEncoding);

  // A broken section that is not asked for does not matter.
  const std::string badSpeed = With(kBaseLdf, "19.2 kbps", "99 kbps");
  EXPECT_NE(ParseLinDescription(badSpeed, kDefaultSectionMask).description, nullptr);
  EXPECT_EQ(ParseLinDescription(badSpeed, 0xFF).messageId, kMsgSpeed);
}

TEST(LdfParser, OptionalSectionsMayBeMissing) {
  const std::string text(kBaseLdf.substr(0, kBaseLdf.find("Signal_encoding_types")));
  const ParseOutcome outcome = ParseLinDescription(text, kDefaultSectionMask);
  ASSERT_NE(outcome.description, nullptr);
  EXPECT_TRUE(outcome.description->encodings.empty());
  EXPECT_EQ(outcome.description->signals[2].encoding, kNoEncoding);
}

TEST(LdfParser, SkipsUnknownSectionsAndReadsCrlfAndHex) {
  std::string text = With(kBaseLdf, "Signals {",
                          "Node_attributes { S1 { LIN_protocol = \"2.1 } {\"; } }\n"
                          "Channel_name = \"}\";\nSignals {");
  std::string crlf;
  for (const char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  const ParseOutcome outcome = ParseLinDescription(crlf, kDefaultSectionMask);
  ASSERT_NE(outcome.description, nullptr) << outcome.messageId << " " << outcome.failedCheck;
  EXPECT_EQ(outcome.description->frames[2].identifier, 0x25);
}

TEST(LdfParser, SectionsOutOfOrderAreNotFound) {
  const std::string nodes = "Nodes {\n  Master: M, 5 ms, 0.1 ms;\n  Slaves: S1, S2;\n}\n";
  const std::string text = With(With(kBaseLdf, nodes, ""), "Frames {", nodes + "Frames {");
  const ParseOutcome outcome = ParseLinDescription(text, kDefaultSectionMask);
  EXPECT_EQ(outcome.messageId, kMsgSignals);
  EXPECT_EQ(outcome.failedCheck, kCheckSectionMissing);
}

TEST(LdfParser, KeepsCommentMarkersInsideQuotedText) {
  const std::string text = With(kBaseLdf, "\"km/h\"", "\"km//h /*x*/\"");
  const ParseOutcome outcome = ParseLinDescription(text, kDefaultSectionMask);
  ASSERT_NE(outcome.description, nullptr);
  EXPECT_EQ(outcome.description->encodings[1].values[0].text, "km//h /*x*/");
}

TEST(LdfParser, ArrayInitialValueKeepsItsLowSixtyFourBits) {
  const std::string text =
      With(kBaseLdf, "  m8: 8, 0, M, S1;\n",
           "  m8: 8, 0, M, S1;\n"
           "  big: 72, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09}, M, S1;\n"
           "  pair: 16, {0x34, 0x12}, M, S1;\n");
  const ParseOutcome outcome = ParseLinDescription(text, kDefaultSectionMask);
  ASSERT_NE(outcome.description, nullptr) << outcome.failedCheck;
  EXPECT_EQ(outcome.description->signals[1].initialValue, 0x0807060504030201u);
  EXPECT_EQ(outcome.description->signals[1].size, 72u);
  EXPECT_EQ(outcome.description->signals[2].initialValue, 0x1234u);
}

TEST(LdfParser, CoverageOfHugeLargestValuesIsCheckedOnRanges) {
  // 2^36 - 1 as the largest value: covered by one range and one value.
  const std::string covered = WithEncodings(
      "Big { physical_value, 0, 68719476734, 1, 0; logical_value, 0xFFFFFFFFF, \"top\"; }",
      "Big: s2a;");
  const ParseOutcome outcome = ParseLinDescription(covered, kDefaultSectionMask);
  ASSERT_NE(outcome.description, nullptr) << outcome.failedCheck;
  EXPECT_EQ(outcome.description->encodings[0].encodedBitSize, 36u);
  EXPECT_EQ(outcome.description->encodings[0].values[1].minimum, 68719476735);

  // One value short of the top is left uncovered.
  const std::string gap = WithEncodings(
      "Big { physical_value, 0, 68719476733, 1, 0; logical_value, 68719476735, \"top\"; }",
      "Big: s2a;");
  const ParseOutcome failed = ParseLinDescription(gap, kDefaultSectionMask);
  EXPECT_EQ(failed.messageId, kMsgEncodings);
  EXPECT_EQ(failed.failedCheck, "values 0 to the largest covered");
}

TEST(LdfParser, EveryPrefixOfAFileGivesADescriptionOrAMessage) {
  // A file cut anywhere: loaded when the required sections are complete,
  // otherwise a message, never a crash or a hang.
  for (std::size_t length = 0; length <= kBaseLdf.size(); ++length) {
    const ParseOutcome outcome = ParseLinDescription(kBaseLdf.substr(0, length), 0xFF);
    if (outcome.description == nullptr) {
      EXPECT_GE(outcome.messageId, kMsgNotLdf) << "cut at " << length;
      EXPECT_LE(outcome.messageId, kMsgRepresentations) << "cut at " << length;
    }
  }
  EXPECT_EQ(ParseLinDescription(kBaseLdf.substr(0, kBaseLdf.find("Frames") + 40), 0xFF).messageId,
            kMsgFrames);
}

TEST(LdfParser, BinaryInputGivesAMessage) {
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 7919) % 256));
  EXPECT_EQ(ParseLinDescription(binary, kDefaultSectionMask).messageId, kMsgNotLdf);
  const std::string header = "LIN_description_file;\nNodes {" + binary;
  EXPECT_EQ(ParseLinDescription(header, kDefaultSectionMask).messageId, kMsgNodes);
  EXPECT_EQ(ParseLinDescription(std::string("LIN_description_file;\0Nodes", 27),
                                kDefaultSectionMask)
                .messageId,
            kMsgNodes);
}

}  // namespace
}  // namespace orvane::signals
