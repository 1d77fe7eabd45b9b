#include "monitor/LogWriter.h"

#include <algorithm>

#include "monitor/MonitorTime.h"
#include "monitor/TextBuffer.h"

namespace orvane::monitor {

namespace {

// Longer than any line: time 20, columns 40, identifier 4, data and checksum
// 27, or 19 continuation bytes of 3 characters, plus I/O names of 10.
using LogLine = TextBuffer<192>;

constexpr std::string_view kLineEnd = "\r\n";

constexpr std::array<std::string_view, 8> kCommandTexts{
    "Req       ", "End       ", "Sleep     ", "Wakeup    ",
    "Error     ", "Sim Err   ", "B-Sleep   ", "M-Break   ",
};
constexpr std::string_view kUnknownCommand = "  -       ";
constexpr std::string_view kExtendedCommand = "Extend    ";

constexpr std::array<std::string_view, 13> kErrorTexts{
    "  -         ", "Parity      ", "CheckSum    ", "Short Msg   ", "Bit         ",
    "No Res      ", "Sync Break-L", "Sync Field  ", "(Overrun)   ", "(Framing)   ",
    "(Buffer)    ", "Sync Break-S", "Bus         ",
};
constexpr std::string_view kSyncBreak = "Sync Break  ";

std::string_view ErrorText(const MonitorRecord& record) {
  const bool syncBreak = record.error == kErrorSyncBreakLong || record.error == kErrorSyncBreakShort;
  if (syncBreak && record.BaseKind() == kKindError) return kSyncBreak;
  return record.error < kErrorTexts.size() ? kErrorTexts[record.error] : kErrorTexts[0];
}

void AppendErrorColumn(LogLine& line, const MonitorRecord& record) {
  line.Append(ErrorText(record));
  line.Append(",");
}

void AppendNodeAndDirection(LogLine& line, const MonitorRecord& record) {
  switch (record.node) {
    case kNodeMaster: line.Append(",M,"); break;
    case kNodeSlave: line.Append(",S,"); break;
    default: line.Append(",-,"); break;
  }
  line.Append(record.IsTx() ? "Tx," : "Rx,");
}

// Ordinary lines without identifier and data: errors that leave no frame to
// show, wake-up, bus sleep, master break and I/O events.
bool EndsAfterErrorColumn(const MonitorRecord& record) {
  switch (record.error) {
    case kErrorParity: case kErrorSyncBreakLong: case kErrorSyncField:
    case kErrorBuffer: case kErrorSyncBreakShort: case kErrorBus:
      return true;
    default:
      break;
  }
  return record.kind == kKindWakeup || record.kind == kKindBusSleep ||
         record.kind == kKindMasterBreak || record.IsIoEvent();
}

// Extended headers without identifier column.
bool OmitsExtendedIdentifier(const MonitorRecord& record) {
  switch (record.error) {
    case kErrorSyncBreakLong: case kErrorSyncField: case kErrorBuffer:
    case kErrorSyncBreakShort: case kErrorBus:
      return true;
    default:
      break;
  }
  return record.kind == kKindWakeup || record.kind == kKindBusSleep ||
         record.kind == kKindMasterBreak;
}

bool IsLoggedExtendedKind(std::uint8_t kind) { return kind != 8 && kind != 9 && kind <= 15; }

void AppendExtendedIdentifier(LogLine& line, const MonitorRecord& record, const LogFormat& format) {
  if (format.identifierWithLengthCode) {
    line.AppendNumber(record.ident & 0x0F, format.hexRadix ? 16 : 10);
    line.Append(",");
    line.AppendNumber(static_cast<std::uint64_t>(LengthCodeOf(record.ident)), 10);
  } else {
    line.AppendHex2(static_cast<std::uint8_t>(record.Identifier()));
  }
  line.Append(",");
}

void WriteLine(std::FILE* file, const LogLine& line) {
  std::fwrite(line.View().data(), 1, line.View().size(), file);
}

// Data bytes an extended-frame group of `records` records can carry.
int GroupDataCapacity(int records) { return 7 + 19 * (records - 1); }

}  // namespace

void WriteLogHeader(std::FILE* file) {
  static constexpr std::string_view kHeader =
      "TIME,M/S,Tx/Rx,Command,\tError,IDEN,D0,D1,D2,D3,D4,D5,D6,D7,Sum\r\n";
  std::fwrite(kHeader.data(), 1, kHeader.size(), file);
}

void WriteLogRecord(std::FILE* file, const MonitorRecord& record, const LogFormat& format) {
  LogLine line;
  AppendMonitorTime(line, record.time);
  if (record.IsIoEvent()) {
    line.Append(", ,  ,");
    line.Append(format.ioEventNames[static_cast<std::size_t>(record.IoEventIndex())]);
    line.Append(",");
  } else {
    AppendNodeAndDirection(line, record);
    line.Append(record.kind < kCommandTexts.size() ? kCommandTexts[record.kind] : kUnknownCommand);
    line.Append(",");
    AppendErrorColumn(line, record);
  }

  if (!EndsAfterErrorColumn(record)) {
    line.AppendHex2(static_cast<std::uint8_t>(record.Identifier()));
    line.Append(",");
    if (record.error != kErrorShortMessage && record.error != kErrorNoResponse) {
      const int length = format.dataLengths[static_cast<std::size_t>(record.Identifier())];
      for (int column = 0; column < 8; ++column) {
        if (column > 0) line.Append(",");
        if (column < length) {
          line.AppendHex2(record.data[column]);
        } else {
          line.Append("  ");
        }
      }
      line.Append(",");
      line.AppendHex2(record.checksum);
    }
  }
  line.Append(kLineEnd);
  WriteLine(file, line);
}

int WriteExtendedLogRecord(std::FILE* file, const MonitorRecord& record, int remaining, int total,
                           const LogFormat& format) {
  LogLine line;
  if (remaining == total) {
    if (!IsLoggedExtendedKind(record.kind)) return 0;
    AppendMonitorTime(line, record.time);
    AppendNodeAndDirection(line, record);
    line.Append(kExtendedCommand);
    line.Append(",");
    AppendErrorColumn(line, record);
    if (!OmitsExtendedIdentifier(record)) AppendExtendedIdentifier(line, record, format);

    const int count = std::clamp(total, 0, 7);
    for (int index = 0; index < count; ++index) {
      if (index > 0) line.Append(",");
      line.AppendHex2(record.ExtendedHeaderData()[static_cast<std::size_t>(index)]);
    }
    remaining = std::max(total - count, 0);
  } else {
    if (remaining <= 0) return 0;
    const int count = std::min(remaining, static_cast<int>(kMonitorRecordSize));
    for (int index = 0; index < count; ++index) {
      line.Append(",");
      line.AppendHex2(record.Bytes()[static_cast<std::size_t>(index)]);
    }
    remaining -= count;
  }
  if (remaining == 0) line.Append(kLineEnd);
  WriteLine(file, line);
  return remaining;
}

void LogSequenceWriter::Write(std::FILE* file, std::span<const MonitorRecord> records) {
  for (const MonitorRecord& record : records) Write(file, record);
}

void LogSequenceWriter::Write(std::FILE* file, const MonitorRecord& record) {
  const bool groupHeader = groupRecordsLeft_ == 0;
  if (groupHeader) {
    if (!record.IsExtendedHeader()) {
      WriteLogRecord(file, record, format_);
      return;
    }
    groupRecordsLeft_ = record.GroupSize();
    total_ = std::min(record.ExtLength(), GroupDataCapacity(groupRecordsLeft_));
    bytesLeft_ = total_;
  }
  --groupRecordsLeft_;
  if (groupHeader || bytesLeft_ > 0) {
    bytesLeft_ = WriteExtendedLogRecord(file, record, bytesLeft_, total_, format_);
  }
}

}  // namespace orvane::monitor
