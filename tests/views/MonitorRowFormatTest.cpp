// One record row of the monitor grid: every cell's text, padding and colour
// roles, step by step as a row is drawn.
#include <gtest/gtest.h>

#include <cstring>

#include "settings/FixedText.h"
#include "tests/views/MonitorRowFormatTestSupport.h"
#include "tests/views/Records.h"

namespace orvane::views {
namespace {

using monitor::MonitorRecord;
using testing::Blanks;
using testing::CellsAt;
using testing::EndFrame;
using testing::Format;
using testing::LogTime;
using testing::Padded;
using testing::Record;
using testing::Shown;
using testing::TestFormat;

constexpr int kTime = 0, kNode = 1, kDir = 2, kCommand = 3, kError = 4, kSync = 5, kIden = 6,
              kLength = 7, kData0 = 8, kSum = 16;

RowMarks Highlighted() {
  RowMarks marks;
  marks.highlighted = true;
  return marks;
}

RowMarks Relative(std::int32_t markerTime) {
  RowMarks marks;
  marks.relativeTo = markerTime;
  return marks;
}

RowMarks Marked(std::int32_t markerTime) {
  RowMarks marks = Relative(markerTime);
  marks.marked = true;
  return marks;
}

MonitorRecord Frame() {
  MonitorRecord record = EndFrame(0x12, {0x01, 0x02, 0x03, 0x04, 0x05}, 1234);
  record.sync = 0x55;
  record.checksum = 0x5A;
  return record;
}

TEST(MonitorRowFormat, CompleteFrameInEnglish) {
  MonitorRecord record = Frame();
  record.flags = MonitorRecord::kTxFlag;
  const auto cells = Format(record, TestFormat());

  // Drawing order: the fixed cells, the Sum position cleared, then the frame.
  ASSERT_GE(cells.size(), 6u);
  EXPECT_EQ(cells[0].column, kTime);
  EXPECT_EQ(cells[1].column, kNode);
  EXPECT_EQ(cells[2].column, kDir);
  EXPECT_EQ(cells[3].column, kCommand);
  EXPECT_EQ(cells[4].column, kError);
  EXPECT_EQ(cells[5].column, kSum);
  EXPECT_EQ(cells[5].text, Blanks(24));

  EXPECT_EQ(Shown(cells, kTime).text, LogTime(1234));
  EXPECT_EQ(Shown(cells, kNode).text, Padded(" M", 8));
  EXPECT_EQ(Shown(cells, kDir).text, Padded(" Tx", 12));
  EXPECT_EQ(Shown(cells, kDir).ink, CellInk::kTx);
  EXPECT_EQ(Shown(cells, kCommand).text, Padded(" End", 18));
  EXPECT_EQ(Shown(cells, kError).text, Blanks(21));
  EXPECT_EQ(Shown(cells, kSync).text, " 85  ");
  EXPECT_EQ(Shown(cells, kIden).text, " 12  ");
  EXPECT_EQ(Shown(cells, kLength).text, " 4 ");
  EXPECT_EQ(Shown(cells, kData0).text, " 01");
  EXPECT_EQ(Shown(cells, kData0 + 3).text, " 04");
  // Bytes from the data length on are blank.
  EXPECT_EQ(Shown(cells, kData0 + 4).text, Blanks(3));
  EXPECT_EQ(Shown(cells, kData0 + 7).text, Blanks(3));
  EXPECT_EQ(Shown(cells, kSum).text, " 5a ");
  for (const auto& cell : cells) {
    EXPECT_EQ(cell.background, CellBackground::kWhite) << cell.column;
    if (cell.column != kDir) {
      EXPECT_EQ(cell.ink, CellInk::kBlack) << cell.column;
    }
  }
}

TEST(MonitorRowFormat, ReceivedFrameIsRedAndJapanesePaddingIsShorter) {
  const auto cells = Format(Frame(), TestFormat("JPN"));
  EXPECT_EQ(Shown(cells, kDir).text, Padded(" Rx", 12));
  EXPECT_EQ(Shown(cells, kDir).ink, CellInk::kRx);
  EXPECT_EQ(Shown(cells, kCommand).text, Padded(" End", 10));
  EXPECT_EQ(Shown(cells, kSync).text, " 85 ");
  EXPECT_EQ(Shown(cells, kIden).text, " 12 ");
}

TEST(MonitorRowFormat, TimeCellIsTheLogsTimeText) {
  for (std::int32_t time : {0, 1234, 3723004, -1000, 90000000, INT32_MIN, INT32_MAX}) {
    MonitorRecord record = Frame();
    record.time = time;
    EXPECT_EQ(Shown(Format(record, TestFormat()), kTime).text, LogTime(time)) << time;
    // The same field the log writer puts first on the record's line.
    const std::string line = testing::LogLine(record);
    EXPECT_EQ(Shown(Format(record, TestFormat()), kTime).text, line.substr(0, line.find(',')));
  }
}

TEST(MonitorRowFormat, NodeTexts) {
  const std::pair<std::uint8_t, const char*> nodes[] = {{1, " M"}, {2, " S"}, {3, "-"},
                                                        {0, ""},   {4, ""},   {255, ""}};
  for (const auto& [node, text] : nodes) {
    MonitorRecord record = Frame();
    record.node = node;
    EXPECT_EQ(Shown(Format(record, TestFormat()), kNode).text, Padded(text, 8)) << int(node);
  }
}

TEST(MonitorRowFormat, CommandTextByKind) {
  const std::pair<std::uint8_t, const char*> kinds[] = {
      {0, " Req"},     {1, " End"},     {2, " Sleep"},  {3, " Wakeup"},
      {6, " B-Sleep"}, {7, " M-Break"}, {8, ""},        {9, ""},
      {16, ""},        {0x21, ""},      {10, "IO1_UP"}, {11, "IO1_DN"},
      {12, "IO2_UP"},  {13, "IO2_DN"},  {14, "IO3_UP"}, {15, "IO3_DN"}};
  for (const auto& [kind, text] : kinds) {
    MonitorRecord record = Frame();
    record.kind = kind;
    EXPECT_EQ(Shown(Format(record, TestFormat()), kCommand).text, Padded(text, 18)) << int(kind);
    EXPECT_EQ(Shown(Format(record, TestFormat("JPN")), kCommand).text, Padded(text, 10))
        << int(kind);
  }
}

TEST(MonitorRowFormat, ErrorTextByCode) {
  const char* texts[] = {"",          " Parity",      " CheckSum",  " ShortMsg",  " Bit",
                         " No Res",   " SyncBreak-L", " SyncField", " (Overrun)", " (Framing)",
                         " (Buffer)", " SyncBreak-S", " Bus",       "",           ""};
  for (std::uint8_t error = 0; error < 15; ++error) {
    MonitorRecord record = Frame();
    record.error = error == 14 ? 200 : error;
    EXPECT_EQ(Shown(Format(record, TestFormat()), kError).text, Padded(texts[error], 21))
        << int(error);
  }
}

TEST(MonitorRowFormat, ErrorRecordSaysSyncBreakSimulationErrorTheFullName) {
  for (std::uint8_t error : {monitor::kErrorSyncBreakLong, monitor::kErrorSyncBreakShort}) {
    MonitorRecord record = Record(monitor::kKindError, 0x12);
    record.error = error;
    EXPECT_EQ(Shown(Format(record, TestFormat()), kError).text, Padded(" SyncBreak", 21));
    record.kind = monitor::kKindSimulationError;
    EXPECT_EQ(Shown(Format(record, TestFormat()), kError).text,
              Padded(error == 6 ? " SyncBreak-L" : " SyncBreak-S", 21));
  }
}

TEST(MonitorRowFormat, ErrorIsRedAndSimulationErrorYellow) {
  MonitorRecord record = Record(monitor::kKindError, 0x12);
  record.error = monitor::kErrorChecksum;
  auto cells = Format(record, TestFormat());
  EXPECT_EQ(Shown(cells, kCommand).text, Padded(" Error", 39));
  EXPECT_EQ(Shown(cells, kCommand).background, CellBackground::kError);
  EXPECT_EQ(ToRgb(CellBackground::kError), (Rgb{255, 0, 0}));
  // The background is restored for the cells after it.
  EXPECT_EQ(Shown(cells, kError).background, CellBackground::kWhite);
  EXPECT_EQ(Shown(cells, kError).text, Padded(" CheckSum", 21));

  cells = Format(record, TestFormat("JPN"));
  EXPECT_EQ(Shown(cells, kCommand).text, Padded(" Error", 17));

  record.kind = monitor::kKindSimulationError;
  cells = Format(record, TestFormat());
  EXPECT_EQ(Shown(cells, kCommand).text, Padded(" Error", 39));
  EXPECT_EQ(Shown(cells, kCommand).background, CellBackground::kSimulationError);
  EXPECT_EQ(ToRgb(CellBackground::kSimulationError), (Rgb{255, 255, 0}));

  // An error is recognised by the kind's low nibble.
  record.kind = 0x34;
  EXPECT_EQ(Shown(Format(record, TestFormat()), kCommand).background, CellBackground::kError);

  // The found row keeps its grey also there.
  cells = Format(record, TestFormat(), Highlighted());
  EXPECT_EQ(Shown(cells, kCommand).background, CellBackground::kHighlight);
  EXPECT_EQ(ToRgb(CellBackground::kHighlight), (Rgb{200, 200, 200}));
}

TEST(MonitorRowFormat, RecordsWithoutFrameFieldsBlankThemAll) {
  const std::pair<std::uint8_t, std::uint8_t> cases[] = {
      {monitor::kKindEnd, monitor::kErrorSyncBreakLong},
      {monitor::kKindEnd, monitor::kErrorSyncField},
      {monitor::kKindEnd, monitor::kErrorBuffer},
      {monitor::kKindEnd, monitor::kErrorSyncBreakShort},
      {monitor::kKindEnd, monitor::kErrorBus},
      {monitor::kKindWakeup, 0},
      {monitor::kKindBusSleep, 0},
      {monitor::kKindMasterBreak, 0}};
  for (const auto& [kind, error] : cases) {
    MonitorRecord record = Frame();
    record.kind = kind;
    record.error = error;
    const auto cells = Format(record, TestFormat());
    for (int column = kSync; column < kSum; ++column) {
      EXPECT_EQ(Shown(cells, column).text, Blanks(17)) << int(kind) << "/" << int(error);
    }
    EXPECT_EQ(Shown(cells, kSum).text, Blanks(17));
    // An extended header leaves 8 blanks at Sum.
    record.flags = 2;
    EXPECT_EQ(Shown(Format(record, TestFormat()), kSum).text, Blanks(8));
  }
}

TEST(MonitorRowFormat, ShortMessageShowsDashesBelowTheDataLength) {
  MonitorRecord record = Frame();
  record.error = monitor::kErrorShortMessage;
  const auto cells = Format(record, TestFormat());
  EXPECT_EQ(Shown(cells, kIden).text, " 12  ");
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(Shown(cells, kData0 + i).text, i < 4 ? " --" : Blanks(3)) << i;
  }
  EXPECT_EQ(Shown(cells, kSum).text, Blanks(4));
}

TEST(MonitorRowFormat, ParityAndNoResponseShowNoDataAndNoSum) {
  for (std::uint8_t error : {monitor::kErrorParity, monitor::kErrorNoResponse}) {
    MonitorRecord record = Frame();
    record.error = error;
    auto cells = Format(record, TestFormat());
    EXPECT_EQ(Shown(cells, kIden).text, " 12  ");
    EXPECT_EQ(Shown(cells, kLength).text, " 4 ");
    for (int i = 0; i < 8; ++i) EXPECT_EQ(Shown(cells, kData0 + i).text, Blanks(3));
    EXPECT_EQ(Shown(cells, kSum).text, Blanks(17));
    record.flags = 1;
    EXPECT_EQ(Shown(Format(record, TestFormat()), kSum).text, Blanks(8));
  }
}

TEST(MonitorRowFormat, ExtendedFrameHeader) {
  // A merged extended frame of the ViewBuffer: 6 bytes to show, group of 3.
  MonitorRecord record = EndFrame(0x3E, {1, 2, 3, 4, 5, 6, 7, 8}, 50);
  record.kind = 0x61;
  record.flags = 3;
  record.checksum = 0x99;  // data byte 8 of a merged record
  auto cells = Format(record, TestFormat());
  EXPECT_EQ(Shown(cells, kCommand).text, Padded(" Extend", 18));
  EXPECT_EQ(Shown(cells, kIden).text, " 3e  ");
  EXPECT_EQ(Shown(cells, kLength).text, " - ");
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(Shown(cells, kData0 + i).text,
              i < 6 ? Padded(" 0" + std::to_string(i + 1), 3) : Blanks(3));
  }
  EXPECT_EQ(Shown(cells, kSum).text, Blanks(4));

  // A merged length above 8 falls back to the identifier's data length.
  record.kind = 0x91;
  cells = Format(record, TestFormat());
  EXPECT_EQ(Shown(cells, kData0 + 3).text, " 04");
  EXPECT_EQ(Shown(cells, kData0 + 4).text, Blanks(3));

  // An extended error record is an Error first.
  record.kind = 0x84;
  EXPECT_EQ(Shown(Format(record, TestFormat()), kCommand).text, Padded(" Error", 39));
}

TEST(MonitorRowFormat, DataLengthAboveEightShowsEightBytes) {
  RowFormat format = TestFormat();
  format.dataLengths[0x12] = 12;
  const auto cells = Format(Frame(), format);
  EXPECT_EQ(Shown(cells, kData0 + 7).text, " 00");
  EXPECT_EQ(Shown(cells, kLength).text, " 12");
}

TEST(MonitorRowFormat, IoEventsShowTheirNameAndBlanks) {
  settings::SettingsRecord settings = testing::TestSettings();
  settings::CopyToField("Door", settings.Options.IoChannels[1].risingName);
  for (const char* language : {"ENG", "JPN"}) {
    const bool japanese = std::strcmp(language, "JPN") == 0;
    const RowFormat format = MakeRowFormat(settings, language, "IDEN", "HEX");
    MonitorRecord record = Frame();
    record.kind = 12;
    record.flags = MonitorRecord::kTxFlag;
    const auto cells = Format(record, format);
    EXPECT_EQ(Shown(cells, kNode).text, Blanks(11));
    EXPECT_EQ(Shown(cells, kDir).text, Blanks(10));
    EXPECT_EQ(Shown(cells, kCommand).text, Padded("Door", japanese ? 10 : 18));
    EXPECT_EQ(Shown(cells, kError).text, Blanks(20));
    EXPECT_EQ(Shown(cells, kSum).text, Blanks(8));
    // A run of blanks from the 6th column on, and no frame cells.
    EXPECT_EQ(Shown(cells, kSync).text, Blanks(japanese ? 50 : 100));
    EXPECT_EQ(CellsAt(cells, kSync), 1);
    EXPECT_EQ(CellsAt(cells, kIden), 0);
    EXPECT_EQ(CellsAt(cells, kData0), 0);
    EXPECT_EQ(cells.back().column, kSync);
  }
}

settings::FrameHighlightCondition Condition(std::uint8_t ident, bool enabled = true) {
  settings::FrameHighlightCondition condition = settings::DefaultFrameHighlightCondition();
  condition.enabled = enabled ? 1 : 0;
  condition.identifier = ident;
  return condition;
}

TEST(MonitorRowFormat, SpecialFrameColoursTheCellsAfterTheSumIsCleared) {
  RowFormat format = TestFormat();
  format.specialFrames[0] = Condition(0x12, false);  // disabled
  format.specialFrames[1] = Condition(0x12);
  format.specialFrames[2] = Condition(0x12);  // matches too, but 2 comes first
  const auto cells = Format(Frame(), format);
  for (int column = kTime; column <= kError; ++column) {
    EXPECT_EQ(Shown(cells, column).background, CellBackground::kWhite) << column;
  }
  // The clearing of the Sum position is still white; what follows is blue.
  EXPECT_EQ(cells[5].background, CellBackground::kWhite);
  for (int column = kSync; column <= kSum; ++column) {
    EXPECT_EQ(Shown(cells, column).background, CellBackground::kSpecial2) << column;
  }
  EXPECT_EQ(ToRgb(CellBackground::kSpecial2), (Rgb{100, 100, 250}));

  // Another identifier is not marked.
  MonitorRecord other = Frame();
  other.ident = 0x13;
  EXPECT_EQ(Shown(Format(other, format), kSum).background, CellBackground::kWhite);
  // Nor a Req record of the identifier.
  other = Frame();
  other.kind = monitor::kKindRequest;
  EXPECT_EQ(Shown(Format(other, format), kSum).background, CellBackground::kWhite);
  // The found row stays grey.
  const auto found = Format(Frame(), format, Highlighted());
  for (const auto& cell : found) EXPECT_EQ(cell.background, CellBackground::kHighlight);
  // Views that mark no special frames.
  format.markSpecialFrames = false;
  EXPECT_EQ(Shown(Format(Frame(), format), kSum).background, CellBackground::kWhite);
}

TEST(MonitorRowFormat, EachSpecialFrameColour) {
  const CellBackground colours[] = {CellBackground::kSpecial1, CellBackground::kSpecial2,
                                    CellBackground::kSpecial3, CellBackground::kSpecial4};
  for (std::size_t i = 0; i < 4; ++i) {
    RowFormat format = TestFormat();
    format.specialFrames[i] = Condition(0x12);
    EXPECT_EQ(Shown(Format(Frame(), format), kData0).background, colours[i]) << i;
  }
  EXPECT_EQ(ToRgb(CellBackground::kSpecial1), (Rgb{255, 0, 0}));
  EXPECT_EQ(ToRgb(CellBackground::kSpecial3), (Rgb{0, 200, 0}));
  EXPECT_EQ(ToRgb(CellBackground::kSpecial4), (Rgb{250, 50, 250}));
}

TEST(MonitorRowFormat, SpecialFrameBitPatternsOnTheDefinedBytes) {
  RowFormat format = TestFormat();
  format.specialFrames[0] = Condition(0x12);
  // Data byte 0 must have bit 0 set.
  format.specialFrames[0].bitPatterns[0] = '1';
  MonitorRecord record = Frame();
  EXPECT_EQ(Shown(Format(record, format), kData0).background, CellBackground::kSpecial1);
  record.data[0] = 0x02;
  EXPECT_EQ(Shown(Format(record, format), kData0).background, CellBackground::kWhite);
}

TEST(MonitorRowFormat, IoEventConditionColoursTheRunOfBlanks) {
  RowFormat format = TestFormat();
  format.specialFrames[3] = Condition(0);
  format.specialFrames[3].kind = settings::kIoEventCondition;
  format.specialFrames[3].ioEventNumber = 2;
  MonitorRecord record = Frame();
  record.kind = 12;
  const auto cells = Format(record, format);
  EXPECT_EQ(Shown(cells, kSync).background, CellBackground::kSpecial4);
  EXPECT_EQ(Shown(cells, kSum).background, CellBackground::kSpecial4);
  EXPECT_EQ(Shown(cells, kCommand).background, CellBackground::kWhite);
  record.kind = 13;
  EXPECT_EQ(Shown(Format(record, format), kSync).background, CellBackground::kWhite);
}

TEST(MonitorRowFormat, RelativeTimeMarker) {
  MonitorRecord record = Frame();
  record.time = 5000;
  // Relative to an earlier record.
  auto cells = Format(record, TestFormat(), Relative(1500));
  EXPECT_EQ(Shown(cells, kTime).text, LogTime(3500));
  EXPECT_EQ(Shown(cells, kTime).background, CellBackground::kWhite);
  // Before the marked record the times are negative.
  cells = Format(record, TestFormat(), Relative(6001));
  EXPECT_EQ(Shown(cells, kTime).text, LogTime(-1001));
  // The marked record itself: 00:00:00.000 on yellow, the rest as usual.
  cells = Format(record, TestFormat(), Marked(5000));
  EXPECT_EQ(Shown(cells, kTime).text, LogTime(0));
  EXPECT_EQ(Shown(cells, kTime).background, CellBackground::kMarker);
  EXPECT_EQ(ToRgb(CellBackground::kMarker), (Rgb{255, 255, 0}));
  EXPECT_EQ(Shown(cells, kNode).background, CellBackground::kWhite);
}

TEST(MonitorRowFormat, IdDlcLayoutShowsTheLowBitsAndTheLengthCode) {
  MonitorRecord record = Frame();
  record.ident = 0xBA;  // identifier 0x3A: low bits 0xA, length code 8
  constexpr int kId = 5, kDlc = 6, kD0 = 7, kIdDlcSum = 15;
  auto cells = Format(record, TestFormat("ENG", "ID+DLC"));
  EXPECT_EQ(Shown(cells, kId).text, " a ");
  EXPECT_EQ(Shown(cells, kDlc).text, " 8  ");
  EXPECT_EQ(Shown(cells, kD0).text, " 01");
  EXPECT_EQ(Shown(cells, kD0 + 3).text, " 04");
  EXPECT_EQ(Shown(cells, kD0 + 4).text, Blanks(3));
  EXPECT_EQ(Shown(cells, kIdDlcSum).text, " 5a ");
  EXPECT_EQ(CellsAt(cells, 16), 0);
  // No Sync cell: column 5 holds the ID only.
  EXPECT_EQ(CellsAt(cells, kId), 1);
  // The ID in decimal with another radix; length codes 2, 2, 4, 8.
  record.ident = 0x1B;
  cells = Format(record, TestFormat("JPN", "ID+DLC", "DEC"));
  EXPECT_EQ(Shown(cells, kId).text, " 11");
  EXPECT_EQ(Shown(cells, kDlc).text, " 2  ");
  record.ident = 0x25;
  EXPECT_EQ(Shown(Format(record, TestFormat("ENG", "ID+DLC")), kDlc).text, " 4  ");
  // Frame fields blanked under this header too.
  record.kind = monitor::kKindWakeup;
  cells = Format(record, TestFormat("ENG", "ID+DLC"));
  EXPECT_EQ(Shown(cells, kId).text, Blanks(17));
  EXPECT_EQ(Shown(cells, kIdDlcSum).text, Blanks(17));
}

TEST(MonitorRowFormat, InksAndTheHeaderBackground) {
  EXPECT_EQ(ToRgb(CellInk::kBlack), (Rgb{0, 0, 0}));
  EXPECT_EQ(ToRgb(CellInk::kRx), (Rgb{255, 0, 0}));
  EXPECT_EQ(ToRgb(CellInk::kTx), (Rgb{0, 0, 255}));
  EXPECT_EQ(ToRgb(CellBackground::kWhite), (Rgb{255, 255, 255}));
  EXPECT_EQ(kHeaderBackground, (Rgb{200, 200, 200}));
}

}  // namespace
}  // namespace orvane::views
