// The monitor log: comma-separated text lines with a fixed column layout, one
// line per event or frame, each ending CR LF. The same writer serves the live
// log of the acquisition thread, the save commands and "Copy Monitor Log
// Data" (LogSave.h). Each line is built in a fixed buffer and written with one
// fwrite (extended frames: one per record); nothing is allocated per record.
//
// Files are opened in binary mode ("wb"): the writer puts CR LF itself, so
// the bytes are those of a text-mode file on the original platform.
//
// Threads: any thread, one writer per FILE at a time. Write errors are left
// in the FILE's error indicator; the live log ignores them, SaveLog reports
// them.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "monitor/MonitorRecord.h"

namespace orvane::monitor {

// What the log needs of the settings, built by the caller once (from the
// identifier definition, the IoChannel names, IdentifierFieldMode and
// DataRadix) and read-only while lines are written.
struct LogFormat {
  // Data length 0-8 of each identifier 0-63; values above 8 show all 8 bytes.
  std::array<std::uint8_t, kIdentifierCount> dataLengths{};
  // Names of the I/O events of kinds 10-15: rising and falling edge of
  // channels 1, 2 and 3.
  std::array<std::string, 6> ioEventNames{"IO1_UP", "IO1_DN", "IO2_UP",
                                          "IO2_DN", "IO3_UP", "IO3_DN"};
  // IdentifierFieldMode "ID+DLC": extended headers show the identifier's low
  // 4 bits and its LIN 1.x length code instead of the identifier.
  bool identifierWithLengthCode = false;
  // DataRadix "HEX"; otherwise the low 4 bits are shown in decimal.
  bool hexRadix = true;

  void SetIdentifierField(std::string_view identifierFieldMode, std::string_view dataRadix) {
    identifierWithLengthCode = identifierFieldMode == "ID+DLC";
    hexRadix = dataRadix == "HEX";
  }
};

// "TIME,M/S,Tx/Rx,Command,\tError,IDEN,D0,...,D7,Sum" and the line end.
void WriteLogHeader(std::FILE* file);

// One ordinary line for a record whose flags bits 0-3 are 0.
void WriteLogRecord(std::FILE* file, const MonitorRecord& record, const LogFormat& format);

// One record of an extended-frame line: the header record when `remaining`
// equals `total` (the frame's data length), else a continuation record adding
// up to 19 data bytes. Returns the data bytes still to come after this
// record; the line is ended when that reaches 0. Header records of kinds 8, 9
// and above 15 write nothing and return 0, as does a continuation called with
// nothing left to write.
int WriteExtendedLogRecord(std::FILE* file, const MonitorRecord& record, int remaining, int total,
                           const LogFormat& format);

// Writes a sequence of records, carrying the state of an extended frame from
// one record to the next and from one call to the next, so a group split over
// two blocks still becomes one line. A group is consumed by its record count
// (flags bits 0-3), so a damaged header can neither swallow the records after
// its group nor let leftover group records be read as events; the line holds
// at most as many data bytes as the group carries. Groups whose header is not
// logged (kinds 8, 9, above 15) are skipped whole.
class LogSequenceWriter {
 public:
  explicit LogSequenceWriter(LogFormat format) : format_(std::move(format)) {}

  void Write(std::FILE* file, std::span<const MonitorRecord> records);
  void Write(std::FILE* file, const MonitorRecord& record);

 private:
  LogFormat format_;
  int groupRecordsLeft_ = 0;  // records of the current group still to come
  int bytesLeft_ = 0;         // data bytes of its line still to write
  int total_ = 0;             // data bytes of its line
};

}  // namespace orvane::monitor
