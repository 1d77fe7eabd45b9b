// Reading monitor log lines back into the records the log writer wrote them
// from (monitor/LogWriter.h), and learning the log layout on the way, so that
// LogSequenceWriter with the learned LogFormat writes the same bytes again.
//
// The log does not show everything a record holds; those fields are read as
// fixed values:
// - node: "-" is read as kNodeNeither; I/O events show no node, Tx/Rx or
//   error and are read as kNodeNeither, Rx, no error;
// - identifier bits 6-7 (parity) are read as 0, as is identifier bit 4 of an
//   "ID+DLC" field with length code 2; the sync byte is read as 0x55;
// - data bytes past the columns shown and the data and checksum of lines
//   that show none are read as 0; flags bits 4-6 as 0;
// - error "  -" is read as no error (0; codes above 12 show the same);
//   "Sync Break" (the Error command) as Sync Break-L;
// - command "  -" (kinds 8, 9 and above 15) is read as kind 8, or as kind
//   20 (0x14) when its error shows "Sync Break", the text only kinds with low
//   bits 4 give;
// - an extended frame's kind is not shown: it is read as End (1), as Error
//   (4) with "Sync Break", and as Wakeup (3) when the line shows no
//   identifier although its error would show one;
// - an extended frame is read as the smallest group that carries its data
//   bytes, with ExtLength the number of bytes shown.
//
// An extended line shows an identifier, an "ID+DLC" identifier (low bits and
// a one-digit length code) or, for Wakeup, B-Sleep and M-Break frames, none.
// The two cannot always be told apart line by line: "3e,01" is identifier
// 3e with data 01 in the ID layout and data 3e 01 of a frame without
// identifier in the ID+DLC layout. Such lines are read in the ID layout
// until a line shows a length code; Finish() reads them again when the log
// turned out to use ID+DLC. The radix of ID+DLC fields is decimal when a
// field shows 10-15, hexadecimal otherwise.
//
// I/O event names are learned: a name in the table is the kind of its first
// entry; another name takes the first entry (kinds 10 to 15) whose name has
// not been met in the log yet. A seventh distinct name cannot be read.
//
// Lines that contradict the layout learned from earlier lines (another
// number of data columns for an identifier, another ID+DLC radix) cannot be
// written back with one LogFormat and are reported, not read.
//
// Threads: one parser per log, one thread at a time.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/LogWriter.h"
#include "monitor/MonitorRecord.h"
#include "review/ReviewRecords.h"

namespace orvane::review {

using IoEventNames = std::array<std::string, 6>;

class LogLineParser {
 public:
  explicit LogLineParser(const IoEventNames& ioEventNames);

  // Appends the records of `line` (without its line end) to `records`.
  // Returns why the line cannot be read, leaving `records` as they were;
  // empty when it was read. An extended frame line is only read with its
  // line end (`lineEnded`): without one it may have been cut between two
  // bytes. `line` must stay valid until Finish().
  std::string Parse(std::string_view line, std::uint64_t lineNumber, bool lineEnded,
                    std::vector<monitor::MonitorRecord>& records);

  // Ends the log: reads the lines again that depended on the identifier
  // layout (adding to `problems` any that cannot be read then) and returns
  // the layout learned.
  monitor::LogFormat Finish(std::vector<monitor::MonitorRecord>& records,
                            std::vector<ReadProblem>& problems);

 private:
  std::string ParseIoEvent(std::string_view line, std::string_view name,
                           monitor::MonitorRecord record,
                           std::vector<monitor::MonitorRecord>& records);
  std::string ParseOrdinary(std::string_view rest, monitor::MonitorRecord record,
                            std::vector<monitor::MonitorRecord>& records);
  std::string ParseExtended(std::string_view line, std::string_view rest,
                            monitor::MonitorRecord header, std::uint64_t lineNumber,
                            std::vector<monitor::MonitorRecord>& records);

  std::array<std::int8_t, monitor::kIdentifierCount> dataColumns_;  // -1 until a line shows them
  IoEventNames ioEventNames_;
  std::array<bool, 6> ioEventMet_{};
  bool withLengthCode_ = false;
  std::optional<bool> hexRadix_;

  // Extended lines read in the ID layout before the layout was known.
  struct LayoutDependentLine {
    std::size_t firstRecord;
    std::uint64_t lineNumber;
    std::string_view line;
  };
  std::vector<LayoutDependentLine> layoutDependent_;
};

}  // namespace orvane::review
