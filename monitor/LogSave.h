// Saving monitor records as a log file (no header line): "Save Monitor Log
// Data as..." (the MonitorBuffer, oldest record first), "Save Capture Log
// Data as..." (the capture buffer) and the file step of "Copy Monitor Log
// Data". Files are written in binary mode with explicit CR LF line ends.
//
// Threads: any thread. Reading the MonitorBuffer takes a snapshot of its write
// index and wrap flag first; while an acquisition thread runs, the oldest
// records may be overwritten as they are written out. Each call blocks on
// file I/O for as long as the file takes to write.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "monitor/LogWriter.h"
#include "monitor/MonitorRecord.h"
#include "monitor/MonitorState.h"

namespace orvane::monitor {

// Opens `path` for writing (created or overwritten), runs `write` on it and
// reports whether the file was created and every byte reached it.
bool WriteFileWith(const std::filesystem::path& path, const std::function<void(std::FILE*)>& write);

// The ring's valid records, oldest first, in one sequence.
std::vector<MonitorRecord> RingRecordsInOrder(const MonitorRing& ring);

// Writes every valid record of the ring, oldest first: records 0 to write
// index - 1 before it has wrapped, otherwise all MonitorCapacity records
// starting at the write index. Creates or overwrites `path`. Returns false
// when the file cannot be created, written or closed (the save commands then
// show message 105).
bool SaveLog(const std::filesystem::path& path, const MonitorRing& ring, const LogFormat& format);

// Writes the given records in order, e.g. the capture buffer's kept records.
bool SaveLog(const std::filesystem::path& path, std::span<const MonitorRecord> records,
             const LogFormat& format);

// "Copy Monitor Log Data": saves the ring into "<folder>/log.$$$",
// reads the file back and deletes it. Returns the text for the clipboard, or
// nothing when the temporary file could not be written or read.
std::optional<std::string> CopyMonitorLogData(const std::filesystem::path& folder,
                                              const MonitorRing& ring, const LogFormat& format);

}  // namespace orvane::monitor
