// Conversion of monitor log lines into pattern lines. The log lines are
// built here column by column as the log writer lays them out (fixed
// widths, CR LF line ends), so the test does not depend on the writer.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "pattern/LogToPattern.h"
#include "pattern/PatternCheck.h"
#include "pattern/PatternRecord.h"
#include "pattern/PatternRows.h"

namespace orvane::pattern {
namespace {

constexpr std::string_view kHeader =
    "TIME,M/S,Tx/Rx,Command,\tError,IDEN,D0,D1,D2,D3,D4,D5,D6,D7,Sum\r\n";
constexpr std::string_view kNoError = "  -         ,";

std::string TimeText(int ms) {
  char text[32];
  std::snprintf(text, sizeof text, " %02d:%02d:%02d.%03d     ", ms / 3600000, ms / 60000 % 60,
                ms / 1000 % 60, ms % 1000);
  return text;
}

std::string Hex(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02x", value);
  return text;
}

// One ordinary line: `command` is the 10-character column, `error` the
// 13-character column with its comma; `data` holds as many bytes as the
// identifier's configured data length.
std::string FrameLine(bool tx, std::string_view command, std::string_view error, unsigned ident,
                      const std::vector<unsigned>& data, unsigned checksum) {
  std::string line = TimeText(1234) + ",M," + (tx ? "Tx," : "Rx,") + std::string(command) + "," +
                     std::string(error) + Hex(ident) + ",";
  for (std::size_t i = 0; i < 8; ++i) {
    if (i > 0) line += ",";
    line += i < data.size() ? Hex(data[i]) : "  ";
  }
  return line + "," + Hex(checksum) + "\r\n";
}

std::string EndLine(bool tx, unsigned ident, const std::vector<unsigned>& data) {
  return FrameLine(tx, "End       ", kNoError, ident, data, 0x5A);
}

std::string Convert(std::string_view log, std::optional<std::uint8_t> filter = std::nullopt) {
  return ConvertLogText(log, filter).value_or("<Log File Open Error.>");
}

TEST(LogToPattern, CompleteFramesBecomePatternLines) {
  const std::string log = std::string(kHeader) + EndLine(true, 0x12, {1, 2, 3, 4}) +
                          EndLine(false, 0x3C, {0, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff}) +
                          EndLine(true, 0x05, {0xa0, 0x0b, 0xc1}) + EndLine(false, 0x21, {});
  EXPECT_EQ(Convert(log),
            "Tx,12,01,02,03,04\r\n"
            "Rx,3c,00,ff,ff,ff,ff,ff,ff,ff\r\n"
            "Tx,05,a0,0b,c1\r\n"
            "Rx,21\r\n");
}

TEST(LogToPattern, OnlyCompleteFramesAreKept) {
  const std::string wakeup = TimeText(10) + ",S,Rx,Wakeup    ," + std::string(kNoError) + "\r\n";
  const std::string ioEvent = TimeText(11) + ", ,  ,IO2_UP,\r\n";
  const std::string shortMsg = TimeText(12) + ",M,Rx,Error     ,Short Msg   ,12,\r\n";
  const std::string extended =
      TimeText(13) + ",M,Tx,Extend    ," + std::string(kNoError) + "3e,01,02,03\r\n";
  const std::string log = wakeup + ioEvent + shortMsg + extended +
                          FrameLine(true, "Req       ", kNoError, 0x12, {1, 2}, 0) +
                          FrameLine(false, "Sleep     ", kNoError, 0x3C, {0, 0xff}, 0) +
                          FrameLine(false, "Error     ", "CheckSum    ,", 0x12, {1, 2}, 0) +
                          EndLine(true, 0x07, {9});
  EXPECT_EQ(Convert(log), "Tx,07,09\r\n");
}

TEST(LogToPattern, FilterKeepsOneIdentifierInEitherCase) {
  std::string log = EndLine(true, 0x3C, {1}) + EndLine(true, 0x12, {2});
  log += TimeText(0) + ",M,Rx,End       ," + std::string(kNoError) +
         "3C,03,  ,  ,  ,  ,  ,  ,  ,aa\r\n";
  EXPECT_EQ(Convert(log, 0x3C), "Tx,3c,01\r\nRx,3C,03\r\n");
  EXPECT_EQ(Convert(log, 0x12), "Tx,12,02\r\n");
  EXPECT_EQ(Convert(log, 0x13), "");
}

TEST(LogToPattern, HeaderOnlyOrEmptyLogIsAnOpenError) {
  EXPECT_EQ(ConvertLogText(""), std::nullopt);
  EXPECT_EQ(ConvertLogText(kHeader), std::nullopt);
  EXPECT_EQ(ConvertLogText(kHeader.substr(0, 20)), std::nullopt);
  // A log without a header, or without any frame, is converted all the same.
  EXPECT_EQ(ConvertLogText(EndLine(true, 1, {})), "Tx,01\r\n");
  EXPECT_EQ(ConvertLogText("TIM"), "");
}

TEST(LogToPattern, LinesWithoutLineEndsOrWithoutIdentifier) {
  // Last line without CR LF, and a line with LF only.
  std::string last = EndLine(false, 0x2A, {0x11, 0x22});
  last.resize(last.size() - 2);
  EXPECT_EQ(Convert("garbage\n" + last), "Rx,2a,11,22\r\n");
  // A frame line cut off before its identifier gives no pattern line, since
  // "Tx," alone would be rejected by every pattern check.
  const std::string cut = TimeText(0) + ",M,Tx,End       ," + std::string(kNoError) + "\r\n";
  EXPECT_EQ(Convert(cut), "");
  const std::string blankIdent =
      TimeText(0) + ",M,Tx,End       ," + std::string(kNoError) + "  ,01,02\r\n";
  EXPECT_EQ(Convert(blankIdent), "");
}

TEST(LogToPattern, ChunkBoundariesDoNotMatter) {
  const std::string log = std::string(kHeader) + EndLine(true, 0x12, {1, 2, 3, 4}) +
                          EndLine(false, 0x3C, {0, 1, 2, 3, 4, 5, 6, 7});
  LogToPatternConverter converter;
  std::string out;
  for (char c : log) converter.Feed(std::string_view(&c, 1), out);
  converter.Finish(out);
  EXPECT_EQ(out, Convert(log));
  EXPECT_EQ(converter.linesWritten(), 2u);
}

TEST(LogToPattern, RoundTripThroughTheEditorCheckAndTheParser) {
  struct Frame {
    bool tx;
    unsigned ident;
    std::vector<unsigned> data;
  };
  const std::vector<Frame> frames = {
      {true, 0x00, {0x01, 0x02}},
      {false, 0x25, {0xde, 0xad, 0xbe, 0xef}},
      {true, 0x3C, {0x00, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff}},
      {false, 0x3F, {}},
      {true, 0x10, {0x80}},
  };
  std::string log(kHeader);
  for (const Frame& frame : frames) log += EndLine(frame.tx, frame.ident, frame.data);
  const std::string pattern = Convert(log);

  std::istringstream checked(pattern);
  EXPECT_TRUE(CheckPatternStream(checked, PatternCheckVariant::kEditor).accepted());

  std::istringstream in(pattern);
  const PatternRows rows = ReadPatternRows(in);
  ASSERT_EQ(rows.rows.size(), frames.size());
  for (std::size_t row = 0; row < frames.size(); ++row) {
    const Frame& frame = frames[row];
    const ParsedPatternLine& parsed = rows.rows[row];
    ASSERT_TRUE(parsed.ok) << row;
    EXPECT_EQ(parsed.record.commandCode(), frame.tx ? 1 : 2);
    EXPECT_EQ(parsed.record.ident, frame.ident);
    ASSERT_EQ(parsed.record.dataCount(), frame.data.size());
    for (std::size_t i = 0; i < frame.data.size(); ++i) {
      EXPECT_EQ(parsed.record.data[i], frame.data[i]) << row;
    }
  }
}

}  // namespace
}  // namespace orvane::pattern
