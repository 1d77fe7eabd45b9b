// Records rebuilt from a saved file (a monitor log, a pcapng or pcap
// capture) for review and conversion. They are kept as the analyzer delivers
// them on its monitor pipe: one MonitorRecord per event, an extended frame as
// its group of a header record and continuation records. So the log writer,
// the pcapng writer and the views take them exactly like live records.
//
// Threads: plain values; one thread at a time.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "monitor/LogWriter.h"
#include "monitor/MonitorRecord.h"

namespace orvane::review {

// A piece of the file that could not be read and was left out; nothing is
// guessed in its place.
struct ReadProblem {
  std::uint64_t position = 0;  // line number (logs) or block number (captures), from 1
  std::string reason;
};

// What the analyzer that recorded the file said of itself, when the file
// tells (pcapng interface description); empty otherwise.
struct RecordingSource {
  std::string analyzerName;
  std::string serialNumber;
  std::string firmwareVersion;
  // Wall time of analyzer time 0, milliseconds since 1970-01-01 UTC.
  std::optional<std::int64_t> startUnixMilliseconds;
};

struct ReviewRecords {
  std::vector<monitor::MonitorRecord> records;
  // What ReadProblem::position counts: "line" in a log, "block" in a capture.
  std::string positionUnit = "line";
  // The log layout the source shows: data columns per identifier, I/O event
  // names, identifier field. Writing the records with it gives the log back.
  monitor::LogFormat format;
  RecordingSource source;
  std::vector<ReadProblem> problems;
};

// Called while a file is read with the bytes read so far and the file's
// size; returning false cancels the read.
using ReadProgress = std::function<bool(std::uint64_t bytesRead, std::uint64_t bytesTotal)>;

struct ReviewReadResult {
  ReviewRecords review;
  // Why the file could not be read at all (cannot open, not this format,
  // another link type); empty when it was read, problems or not.
  std::string error;
  bool cancelled = false;
};

}  // namespace orvane::review
