// Reading a saved monitor log (monitor/LogWriter.h) back into the records it
// was written from, for review and conversion. Writing the records with
// LogSequenceWriter and the LogFormat the read learned gives the log's lines
// back byte for byte; what the log does not show is read as the fixed values
// listed in review/LogLineParser.h.
//
// - The first line is the column header of a live log or, in a saved log
//   (which has none), a log line. Otherwise the text is not a monitor log
//   and `error` says so.
// - Lines end with CR LF or LF; a last line without line end is read when it
//   is complete (an extended frame line is not: it may be cut).
// - A line that cannot be read is left out and listed in `problems` with its
//   line number (from 1, the header counting) and reason; nothing is guessed
//   in its place.
// - An empty text, or one with only the header, gives no records and no
//   error.
// - Progress is reported about every 64 KiB and once at the end. When the
//   callback returns false the read stops: `cancelled` is set and the
//   records read so far are dropped (`review` is empty).
//
// The file is read whole into memory and parsed in place; lines are not
// copied.
//
// Threads: any thread; the callback runs on the caller's thread. Blocks
// while the file is read.
#pragma once

#include <filesystem>
#include <string_view>

#include "review/LogLineParser.h"
#include "review/ReviewRecords.h"

namespace orvane::review {

// `ioEventNames` are the I/O event names the log is expected to use (the
// program's settings); names the log shows that are not among them are
// learned as LogLineParser.h describes.
ReviewReadResult ReadMonitorLog(
    const std::filesystem::path& path, const ReadProgress& progress = {},
    const IoEventNames& ioEventNames = monitor::LogFormat{}.ioEventNames);

// The same for a log already in memory.
ReviewReadResult ParseMonitorLog(
    std::string_view text, const ReadProgress& progress = {},
    const IoEventNames& ioEventNames = monitor::LogFormat{}.ioEventNames);

}  // namespace orvane::review
