#include "views/MonitorRowFormat.h"

#include <algorithm>

#include "monitor/MonitorTime.h"
#include "settings/FixedText.h"
#include "views/FrameHighlightMatch.h"

namespace orvane::views {
namespace {

using monitor::MonitorRecord;
using Small = monitor::TextBuffer<16>;

constexpr std::array<std::string_view, 8> kCommandTexts{
    " Req", " End", " Sleep", " Wakeup", "", "", " B-Sleep", " M-Break",
};
constexpr std::string_view kExtendText = " Extend";
constexpr std::string_view kErrorCommandText = " Error";

constexpr std::array<std::string_view, 13> kErrorTexts{
    "",          " Parity",      " CheckSum",  " ShortMsg",  " Bit",
    " No Res",   " SyncBreak-L", " SyncField", " (Overrun)", " (Framing)",
    " (Buffer)", " SyncBreak-S", " Bus",
};
constexpr std::string_view kSyncBreakText = " SyncBreak";

// Cell paddings. Command texts other than the error text are padded
// to 10 characters, and with "ENG" 8 further blanks follow, so that they
// cover the Command column of either language.
constexpr int kNodePad = 8;
constexpr int kIoNodeBlanks = 11;
constexpr int kDirectionPad = 12;
constexpr int kIoDirectionBlanks = 10;
constexpr int kCommandPad = 10;
constexpr int kCommandPadOther = 18;
constexpr int kErrorCommandPad = 17;
constexpr int kErrorCommandPadOther = 39;
constexpr int kErrorPad = 21;
constexpr int kIoErrorBlanks = 20;
constexpr int kSumClearBlanks = 24;
constexpr int kIoSumBlanks = 8;
constexpr int kIoRunBlanks = 50;
constexpr int kIoRunBlanksOther = 100;
constexpr int kFrameFieldBlanks = 17;
constexpr int kExtendedSumBlanks = 8;
constexpr int kShortMessageSumBlanks = 4;

constexpr std::array<CellBackground, 4> kSpecialBackgrounds{
    CellBackground::kSpecial1, CellBackground::kSpecial2, CellBackground::kSpecial3,
    CellBackground::kSpecial4};

std::string_view NodeText(std::uint8_t node) {
  switch (node) {
    case monitor::kNodeMaster:
      return " M";
    case monitor::kNodeSlave:
      return " S";
    case monitor::kNodeNeither:
      return "-";
    default:
      return "";
  }
}

std::string_view CommandText(const MonitorRecord& record, const RowFormat& format) {
  if (record.IsExtendedHeader()) return kExtendText;
  if (record.kind < kCommandTexts.size()) return kCommandTexts[record.kind];
  if (record.IsIoEvent()) {
    return format.ioEventNames[static_cast<std::size_t>(record.IoEventIndex())];
  }
  return "";
}

std::string_view ErrorText(const MonitorRecord& record) {
  const bool syncBreak =
      record.error == monitor::kErrorSyncBreakLong || record.error == monitor::kErrorSyncBreakShort;
  if (syncBreak && record.BaseKind() == monitor::kKindError) return kSyncBreakText;
  return record.error < kErrorTexts.size() ? kErrorTexts[record.error] : "";
}

// Records whose frame fields are all blank: errors that leave no frame,
// wake-up, bus sleep and master break.
bool HasNoFrameFields(const MonitorRecord& record) {
  switch (record.error) {
    case monitor::kErrorSyncBreakLong:
    case monitor::kErrorSyncField:
    case monitor::kErrorBuffer:
    case monitor::kErrorSyncBreakShort:
    case monitor::kErrorBus:
      return true;
    default:
      break;
  }
  return record.kind == monitor::kKindWakeup || record.kind == monitor::kKindBusSleep ||
         record.kind == monitor::kKindMasterBreak;
}

std::string_view Number(Small& text, std::uint64_t value, int base) {
  text.Clear();
  text.Append(" ");
  text.AppendNumber(value, base);
  return text.View();
}

std::string_view Hex2(Small& text, std::uint8_t value) {
  text.Clear();
  text.Append(" ");
  text.AppendHex2(value);
  return text.View();
}

void AddIdentifierAndLength(const MonitorRecord& record, const RowFormat& format,
                            const RowColumns& columns, CellBackground background, RowCells& out) {
  Small text;
  const int identifier = record.Identifier();
  if (format.layout.identifierWithLengthCode) {
    out.Add(columns.identifier, Number(text, record.ident & 0x0F, format.hexRadix ? 16 : 10),
            columns.identifierWidth, background);
    out.Add(columns.length,
            Number(text, static_cast<std::uint64_t>(monitor::LengthCodeOf(record.ident)), 10),
            columns.lengthWidth, background);
    return;
  }
  out.Add(columns.identifier, Hex2(text, static_cast<std::uint8_t>(identifier)),
          columns.identifierWidth, background);
  const std::string_view length =
      record.IsExtendedHeader()
          ? std::string_view(" -")
          : Number(text, format.dataLengths[static_cast<std::size_t>(identifier)], 10);
  out.Add(columns.length, length, columns.lengthWidth, background);
}

// Data bytes shown: the identifier's defined length, or the merged length
// of an extended frame.
int DataLength(const MonitorRecord& record, const RowFormat& format) {
  int length = std::min<int>(format.dataLengths[static_cast<std::size_t>(record.Identifier())], 8);
  if (record.IsExtendedHeader() && record.MergedDataLength() <= 8) {
    length = record.MergedDataLength();
  }
  return length;
}

void AddDataAndSum(const MonitorRecord& record, const RowFormat& format, const RowColumns& columns,
                   CellBackground background, RowCells& out) {
  const bool extended = record.IsExtendedHeader();
  const int length = DataLength(record, format);
  Small text;
  for (int i = 0; i < 8; ++i) {
    std::string_view cell;
    if (record.error == monitor::kErrorShortMessage) {
      cell = i < length ? " --" : "";
    } else if (record.error != monitor::kErrorParity && record.error != monitor::kErrorNoResponse &&
               i < length) {
      cell = Hex2(text, record.data[i]);
    }
    out.Add(columns.data0 + i, cell, columns.dataWidth, background);
  }
  if (record.error == monitor::kErrorShortMessage) {
    out.Add(columns.sum, "", kShortMessageSumBlanks, background);
  } else if (record.error == monitor::kErrorParity || record.error == monitor::kErrorNoResponse) {
    out.Add(columns.sum, "", extended ? kExtendedSumBlanks : kFrameFieldBlanks, background);
  } else {
    out.Add(columns.sum, extended ? std::string_view() : Hex2(text, record.checksum),
            columns.sumWidth, background);
  }
}

}  // namespace

Rgb ToRgb(CellBackground background) {
  switch (background) {
    case CellBackground::kWhite:
      return {255, 255, 255};
    case CellBackground::kHighlight:
      return {200, 200, 200};
    case CellBackground::kError:
      return {255, 0, 0};
    case CellBackground::kSimulationError:
      return {255, 255, 0};
    case CellBackground::kMarker:
      return {255, 255, 0};
    case CellBackground::kSpecial1:
      return {255, 0, 0};
    case CellBackground::kSpecial2:
      return {100, 100, 250};
    case CellBackground::kSpecial3:
      return {0, 200, 0};
    case CellBackground::kSpecial4:
      return {250, 50, 250};
  }
  return {255, 255, 255};
}

Rgb ToRgb(CellInk ink) {
  switch (ink) {
    case CellInk::kBlack:
      return {0, 0, 0};
    case CellInk::kRx:
      return {255, 0, 0};
    case CellInk::kTx:
      return {0, 0, 255};
  }
  return {0, 0, 0};
}

void RowCells::Clear() {
  count_ = 0;
  text_.Clear();
}

void RowCells::Add(int column, std::string_view text, int paddedLength, CellBackground background,
                   CellInk ink) {
  if (count_ == cells_.size()) return;
  const std::size_t offset = text_.View().size();
  text_.Append(text);
  for (int length = static_cast<int>(text.size()); length < paddedLength; ++length) {
    text_.Append(" ");
  }
  cells_[count_++] = RowCell{static_cast<std::uint8_t>(column), background, ink,
                             static_cast<std::uint16_t>(offset),
                             static_cast<std::uint16_t>(text_.View().size() - offset)};
}

RowFormat MakeRowFormat(const settings::SettingsRecord& settings, std::string_view languageCode,
                        std::string_view identifierFieldMode, std::string_view dataRadix) {
  RowFormat format;
  format.layout = GridLayout::Of(languageCode, identifierFieldMode);
  format.hexRadix = dataRadix == "HEX";
  std::copy(std::begin(settings.Identifiers.dataLength), std::end(settings.Identifiers.dataLength),
            format.dataLengths.begin());
  for (std::size_t channel = 0; channel < settings::kIoChannelCount; ++channel) {
    const settings::IoChannel& io = settings.Options.IoChannels[channel];
    format.ioEventNames[2 * channel] = settings::FieldText(io.risingName);
    format.ioEventNames[2 * channel + 1] = settings::FieldText(io.fallingName);
  }
  std::copy(std::begin(settings.FrameHighlights), std::end(settings.FrameHighlights),
            format.specialFrames.begin());
  return format;
}

std::string_view FormatTimeCell(std::int32_t time, std::optional<std::int32_t> relativeTo,
                                monitor::TextBuffer<24>& text) {
  const std::int32_t shown = relativeTo ? monitor::AnalyzerTimeStep(*relativeTo, time) : time;
  return monitor::FormatMonitorTime(shown, text);
}

void FormatRow(const MonitorRecord& record, const RowFormat& format, const RowMarks& marks,
               RowCells& out) {
  out.Clear();
  const RowColumns columns = RowColumnsOf(format.layout);
  const bool japanese = format.layout.japanese;
  const bool io = record.IsIoEvent();
  const bool extended = record.IsExtendedHeader();
  // 1. The row's background.
  const CellBackground row =
      marks.highlighted ? CellBackground::kHighlight : CellBackground::kWhite;

  // 2. Time, yellow for the marker's own record.
  monitor::TextBuffer<24> time;
  out.Add(columns.time, FormatTimeCell(record.time, marks.relativeTo, time), 0,
          marks.marked ? CellBackground::kMarker : row);

  // 3, 4. Master/slave and direction; blank for I/O events.
  if (io) {
    out.Add(columns.node, "", kIoNodeBlanks, row);
    out.Add(columns.direction, "", kIoDirectionBlanks, row);
  } else {
    out.Add(columns.node, NodeText(record.node), kNodePad, row);
    out.Add(columns.direction, record.IsTx() ? " Tx" : " Rx", kDirectionPad, row,
            record.IsTx() ? CellInk::kTx : CellInk::kRx);
  }

  // 5. Command.
  if (record.IsErrorEvent()) {
    const CellBackground error = marks.highlighted ? CellBackground::kHighlight
                                 : record.BaseKind() == monitor::kKindError
                                     ? CellBackground::kError
                                     : CellBackground::kSimulationError;
    out.Add(columns.command, kErrorCommandText, japanese ? kErrorCommandPad : kErrorCommandPadOther,
            error);
  } else {
    out.Add(columns.command, CommandText(record, format), japanese ? kCommandPad : kCommandPadOther,
            row);
  }

  // 6. Error.
  out.Add(columns.error, io ? std::string_view() : ErrorText(record),
          io ? kIoErrorBlanks : kErrorPad, row);

  // 7. The Sum position cleared.
  out.Add(columns.sum, "", kSumClearBlanks, row);

  // 8. Special frame colour of the remaining cells.
  CellBackground rest = row;
  if (format.markSpecialFrames && !marks.highlighted) {
    const std::optional<std::size_t> special =
        FrameHighlightIndex(record, format.specialFrames, format.dataLengths);
    if (special) rest = kSpecialBackgrounds[*special];
  }

  // 9. I/O events: blanks from the 6th column on.
  if (io) {
    out.Add(columns.sum, "", kIoSumBlanks, rest);
    out.Add(columns.ioBlanks, "", japanese ? kIoRunBlanks : kIoRunBlanksOther, rest);
    return;
  }

  // 10. Sync.
  Small text;
  if (columns.sync >= 0) {
    out.Add(columns.sync, Number(text, record.sync, 10), columns.syncWidth, rest);
  }

  // 11. No frame fields.
  if (HasNoFrameFields(record)) {
    if (columns.sync >= 0) out.Add(columns.sync, "", kFrameFieldBlanks, rest);
    out.Add(columns.identifier, "", kFrameFieldBlanks, rest);
    out.Add(columns.length, "", kFrameFieldBlanks, rest);
    for (int i = 0; i < 8; ++i) out.Add(columns.data0 + i, "", kFrameFieldBlanks, rest);
    out.Add(columns.sum, "", extended ? kExtendedSumBlanks : kFrameFieldBlanks, rest);
    return;
  }

  // 12-14. Identifier, data length, data and checksum.
  AddIdentifierAndLength(record, format, columns, rest, out);
  AddDataAndSum(record, format, columns, rest, out);
}

}  // namespace orvane::views
