// The fixed texts and column rules of monitor log lines, shared by the log
// writer (monitor/LogWriter.h) and the reader of saved logs, so that both
// follow one layout.
//
// Threads: constants and pure functions; any thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "monitor/MonitorRecord.h"

namespace orvane::monitor {

// The first line of a live log, without its line end.
inline constexpr std::string_view kLogHeaderText =
    "TIME,M/S,Tx/Rx,Command,\tError,IDEN,D0,D1,D2,D3,D4,D5,D6,D7,Sum";
inline constexpr std::string_view kLogLineEnd = "\r\n";

// Characters of the longest line the writer builds, line end included:
// longer than any line (time 20, columns 40, identifier 4, data and checksum
// 27, or 19 continuation bytes of 3 characters) with room for I/O event
// names of up to 160 characters; longer names are cut.
inline constexpr std::size_t kLogLineCapacity = 191;

// Command column by kind 0-7; other kinds outside 10-15 show kUnknownCommand.
inline constexpr std::array<std::string_view, 8> kLogCommandTexts{
    "Req       ", "End       ", "Sleep     ", "Wakeup    ",
    "Error     ", "Sim Err   ", "B-Sleep   ", "M-Break   ",
};
inline constexpr std::string_view kLogUnknownCommand = "  -       ";
inline constexpr std::string_view kLogExtendedCommand = "Extend    ";

// Error column by error code 0-12; other codes show the text of 0.
inline constexpr std::array<std::string_view, 13> kLogErrorTexts{
    "  -         ", "Parity      ", "CheckSum    ", "Short Msg   ", "Bit         ",
    "No Res      ", "Sync Break-L", "Sync Field  ", "(Overrun)   ", "(Framing)   ",
    "(Buffer)    ", "Sync Break-S", "Bus         ",
};
// Both break errors of a record whose kind has low bits 4.
inline constexpr std::string_view kLogSyncBreakText = "Sync Break  ";

// What follows the time of an I/O event line, before the event's name.
inline constexpr std::string_view kLogIoEventColumns = ", ,  ,";

inline std::string_view LogErrorText(const MonitorRecord& record) {
  const bool syncBreak = record.error == kErrorSyncBreakLong || record.error == kErrorSyncBreakShort;
  if (syncBreak && record.BaseKind() == kKindError) return kLogSyncBreakText;
  return record.error < kLogErrorTexts.size() ? kLogErrorTexts[record.error] : kLogErrorTexts[0];
}

// Ordinary lines without identifier and data: errors that leave no frame to
// show, wake-up, bus sleep, master break and I/O events.
inline bool LogLineEndsAfterErrorColumn(const MonitorRecord& record) {
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

// Ordinary lines that end after the identifier column.
inline bool LogLineEndsAfterIdentifier(const MonitorRecord& record) {
  return record.error == kErrorShortMessage || record.error == kErrorNoResponse;
}

// Extended headers without identifier column.
inline bool LogExtendedLineOmitsIdentifier(const MonitorRecord& record) {
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

// Extended headers of kinds 8, 9 and above 15 are not logged, nor their group.
inline bool IsLoggedExtendedKind(std::uint8_t kind) { return kind != 8 && kind != 9 && kind <= 15; }

}  // namespace orvane::monitor
