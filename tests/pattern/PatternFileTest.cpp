// Whole pattern files: the reading loop of both checks, its three messages
// and line numbers, the 63-character pieces, and reading rows for the
// simulations.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "pattern/PatternCheck.h"
#include "pattern/PatternLineReader.h"
#include "pattern/PatternRows.h"
#include "tests/pattern/TempDir.h"

namespace orvane::pattern {
namespace {

using Variant = PatternCheckVariant;
using testing::TempDir;

PatternCheckResult CheckText(const std::string& text, Variant variant = Variant::kSelect) {
  std::istringstream in(text);
  return CheckPatternStream(in, variant);
}

TEST(PatternCheck, MessagesNameTheFirstFailingLine) {
  EXPECT_EQ(CheckText("Tx,3c,01\r\nRx,10\r\n").message(), "");
  const PatternCheckResult third = CheckText("Tx,3c,01\nRx,10\nTX,3c\nzz\n");
  EXPECT_EQ(third.status, PatternCheckStatus::kFormatError);
  EXPECT_EQ(third.message(), "Pattern File Format Error.(line:3)");
  EXPECT_EQ(third.lineText, "TX,3c\n");

  // A variant difference: "Sleep" alone is fine to select but not to save.
  EXPECT_TRUE(CheckText("Tx,01\nSleep\n").accepted());
  EXPECT_EQ(CheckText("Tx,01\nSleep\n", Variant::kEditor).message(),
            "Pattern File Format Error.(line:2)");
}

TEST(PatternCheck, EmptyAndTrailingLines) {
  EXPECT_EQ(CheckText("").message(), "Pattern File has no data.");
  EXPECT_EQ(CheckText("", Variant::kEditor).message(), "Pattern File has no data.");
  EXPECT_EQ(CheckText("\n").message(), "Pattern File Format Error.(line:1)");
  // A blank line after the data counts as a line of its own.
  EXPECT_EQ(CheckText("Tx,01\r\nRx,02\r\n\r\n").message(), "Pattern File Format Error.(line:3)");
  // No final line feed: the last line is read, and its last field checked.
  EXPECT_TRUE(CheckText("Tx,01\nRx,02,03").accepted());
  EXPECT_EQ(CheckText("Tx,01\nRx,02,zz").message(), "Pattern File Format Error.(line:2)");
}

TEST(PatternCheck, LongLinesAreReadInPiecesOfSixtyThree) {
  // 62 characters and the line feed fit in one piece.
  const std::string fits = "Tx,01," + std::string(55, '0') + "7";
  ASSERT_EQ(fits.size(), 62u);
  EXPECT_TRUE(CheckText(fits + "\nRx,02\n").accepted());
  // 63 characters fill a piece; the line feed is then read as an empty line.
  EXPECT_EQ(CheckText(fits + "7\nRx,02\n").message(), "Pattern File Format Error.(line:2)");
  // A longer line continues in a piece whose first field is no command.
  EXPECT_EQ(CheckText("Rx,02\n" + fits + "77,01\n").message(),
            "Pattern File Format Error.(line:3)");
}

TEST(PatternLineReader, DropsOnlyTheCarriageReturnBeforeALineFeed) {
  std::istringstream in("Tx,01\r\nRx\r,02\r\r\nTx");
  PatternLineReader reader(in);
  std::string piece;
  ASSERT_TRUE(reader.Next(piece));
  EXPECT_EQ(piece, "Tx,01\n");
  ASSERT_TRUE(reader.Next(piece));
  EXPECT_EQ(piece, "Rx\r,02\r\n");
  ASSERT_TRUE(reader.Next(piece));
  EXPECT_EQ(piece, "Tx");
  EXPECT_FALSE(reader.Next(piece));
}

TEST(PatternCheckFile, MissingFileDirectoryAndBinaryContent) {
  TempDir dir;
  EXPECT_EQ(CheckPatternFile(dir.path() / "missing.ptn", Variant::kSelect).message(),
            "Pattern File Open Error.");
  EXPECT_EQ(CheckPatternFile(dir.path(), Variant::kSelect).message(), "Pattern File Open Error.");
  EXPECT_EQ(CheckPatternFile(dir.Write("empty.ptn", ""), Variant::kEditor).message(),
            "Pattern File has no data.");

  std::string binary = "Tx,01\n";
  for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>(i * 37));
  const PatternCheckResult result =
      CheckPatternFile(dir.Write("blob.ptn", binary), Variant::kSelect);
  EXPECT_EQ(result.status, PatternCheckStatus::kFormatError);
  EXPECT_EQ(result.line, 2u);
  EXPECT_LE(result.lineText.size(), kPatternPieceLength);
}

TEST(PatternCheckFile, AHugeLineWithoutLineFeedsStopsAtItsSecondPiece) {
  TempDir dir;
  const std::string huge = "Tx,01," + std::string(8 << 20, '0');
  const PatternCheckResult result = CheckPatternFile(dir.Write("huge.ptn", huge), Variant::kSelect);
  EXPECT_EQ(result.message(), "Pattern File Format Error.(line:2)");
}

TEST(ReadPatternRows, OneRowPerPieceInFileOrder) {
  TempDir dir;
  const PatternRows rows =
      ReadPatternRows(dir.Write("rows.ptn", "Tx,3c,01,02\r\nRx,10\r\nbad\r\nWakeup"));
  ASSERT_EQ(rows.status, PatternRowsStatus::kOk);
  ASSERT_EQ(rows.rows.size(), 4u);
  EXPECT_EQ(rows.rows[0].record.head, 0x12);
  EXPECT_EQ(rows.rows[1].record.head, 0x20);
  EXPECT_EQ(rows.rows[1].record.ident, 0x10);
  EXPECT_FALSE(rows.rows[2].ok);
  EXPECT_TRUE(rows.rows[3].ok);
  EXPECT_EQ(rows.rows[3].record.head, 0x40);

  EXPECT_EQ(ReadPatternRows(dir.path() / "missing.ptn").status, PatternRowsStatus::kOpenError);
}

TEST(ReadPatternRows, RefusesMoreRowsThanTheLimit) {
  std::istringstream three("Tx,01\nTx,02\nTx,03\n");
  EXPECT_EQ(ReadPatternRows(three, 3).rows.size(), 3u);
  std::istringstream four("Tx,01\nTx,02\nTx,03\nTx,04\n");
  const PatternRows refused = ReadPatternRows(four, 3);
  EXPECT_EQ(refused.status, PatternRowsStatus::kTooManyRows);
  EXPECT_TRUE(refused.rows.empty());
}

}  // namespace
}  // namespace orvane::pattern
