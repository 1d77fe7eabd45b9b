// Writes monitor records as a pcapng capture of link type LIN (212) that
// Wireshark dissects and our capture reader turns back into the exact
// records: a section header (application "Orvane", comments with the wall
// time of analyzer time 0 and the log's data lengths), one interface
// (millisecond time stamps, the analyzer's name, serial number and firmware)
// and one enhanced packet block per record or extended-frame group
// (LinPacket.h).
//
// Time stamps are the start wall time plus the analyzer's milliseconds,
// followed across the analyzer's 32-bit wrap so that they keep rising; a
// reader gets the analyzer time back exactly as the time stamp less the
// start, modulo 2^32. Without a known start the base is
// kUnknownStartMilliseconds, so negative analyzer times stay after 1970.
//
// Each block is built in memory and written with one fwrite; with
// `flushEachBlock` the FILE is flushed after it, so a file cut at any moment
// (Ctrl+C, a lost device, a crash) is valid up to its last whole block.
//
// Threads: one thread at a time per writer.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

#include "monitor/LogWriter.h"
#include "monitor/MonitorRecord.h"
#include "monitor/MonitorTime.h"
#include "review/LinPacket.h"
#include "review/PcapngFormat.h"
#include "review/ReviewRecords.h"

namespace orvane::review {

class PcapngWriter {
 public:
  PcapngWriter(std::FILE* file, monitor::LogFormat format, bool flushEachBlock);

  // The section header and interface description blocks.
  void Begin(const RecordingSource& source);

  // Writes records as they arrive, carrying an extended-frame group from one
  // call to the next; a group is consumed by its record count (flags bits
  // 0-3), as the log writer does.
  void Write(std::span<const monitor::MonitorRecord> records);
  void Write(const monitor::MonitorRecord& record);

  // Writes a group that the recording cut off before all its records came.
  void Finish();

  // False once a write to the file failed.
  bool Ok() const { return std::ferror(file_) == 0; }

 private:
  void WriteGroup();
  void WriteBlock();
  std::uint64_t TimestampOf(std::int32_t time);

  std::FILE* file_;
  monitor::LogFormat format_;
  bool flushEachBlock_;
  std::int64_t base_ = kUnknownStartMilliseconds;
  monitor::FollowedTime followedTime_;
  std::vector<monitor::MonitorRecord> group_;
  int groupRecordsLeft_ = 0;
  LinPacket packet_;
  std::vector<std::uint8_t> block_;
};

}  // namespace orvane::review
