#include "monitor/LogWriter.h"

#include <algorithm>

#include "monitor/LogLayout.h"
#include "monitor/MonitorTime.h"
#include "monitor/TextBuffer.h"

namespace orvane::monitor {

namespace {

using LogLine = TextBuffer<kLogLineCapacity + 1>;

void AppendErrorColumn(LogLine& line, const MonitorRecord& record) {
  line.Append(LogErrorText(record));
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
  std::fwrite(kLogHeaderText.data(), 1, kLogHeaderText.size(), file);
  std::fwrite(kLogLineEnd.data(), 1, kLogLineEnd.size(), file);
}

void WriteLogRecord(std::FILE* file, const MonitorRecord& record, const LogFormat& format) {
  LogLine line;
  AppendMonitorTime(line, record.time);
  if (record.IsIoEvent()) {
    line.Append(kLogIoEventColumns);
    line.Append(format.ioEventNames[static_cast<std::size_t>(record.IoEventIndex())]);
    line.Append(",");
  } else {
    AppendNodeAndDirection(line, record);
    line.Append(record.kind < kLogCommandTexts.size() ? kLogCommandTexts[record.kind]
                                                      : kLogUnknownCommand);
    line.Append(",");
    AppendErrorColumn(line, record);
  }

  if (!LogLineEndsAfterErrorColumn(record)) {
    line.AppendHex2(static_cast<std::uint8_t>(record.Identifier()));
    line.Append(",");
    if (!LogLineEndsAfterIdentifier(record)) {
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
  line.Append(kLogLineEnd);
  WriteLine(file, line);
}

int WriteExtendedLogRecord(std::FILE* file, const MonitorRecord& record, int remaining, int total,
                           const LogFormat& format) {
  LogLine line;
  if (remaining == total) {
    if (!IsLoggedExtendedKind(record.kind)) return 0;
    AppendMonitorTime(line, record.time);
    AppendNodeAndDirection(line, record);
    line.Append(kLogExtendedCommand);
    line.Append(",");
    AppendErrorColumn(line, record);
    if (!LogExtendedLineOmitsIdentifier(record)) AppendExtendedIdentifier(line, record, format);

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
  if (remaining == 0) line.Append(kLogLineEnd);
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
