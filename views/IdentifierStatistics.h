// Per-identifier bus statistics over monitor records as the analyzer
// delivers them (one record per event, an extended frame as its group of a
// header and continuation records), fed in order and in pieces: a whole
// reviewed file at once, or each refresh's new records of a live run.
//
// What is counted, per identifier 0-63:
// - frames: complete frames, records of kind Req (a header with no response
//   expected), End or Sleep; an extended frame's group counts once;
// - periods between successive frames of the identifier: minimum, mean,
//   maximum and the jitter, the standard deviation of the period (population,
//   over all periods), in milliseconds. A time step backwards (a file joined
//   from two runs) or lost records (Gap) start the chain anew;
// - errors by the error code the record carries (kinds Error and Sim Err,
//   codes 1-12; any other code counts as "other"). An error whose log line
//   shows no identifier (Parity, Sync Break, Sync Field, Buffer, Bus) is
//   counted in a separate row, not against identifier 0;
// - the analyzer time of the latest frame or error of the identifier.
// Over the whole input: the observed span (first to last record) from which
// the rates are taken, and the bus load per second of analyzer time, from the
// nominal bits of the frames the records show at the given baud rate (header
// 34 bits, 10 per response byte and checksum; records carry no load of their
// own). Frames whose length the records do not tell (errors other than
// CheckSum and No Res) add nothing to the load.
//
// Times are the analyzer's int32 milliseconds, followed across their wrap
// (monitor::FollowedTime): INT32_MAX to INT32_MIN is a step of +1 ms.
//
// Threads: plain values; one thread at a time.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>

#include "monitor/MonitorRecord.h"
#include "monitor/MonitorTime.h"

namespace orvane::views {

// Error codes counted one by one (1-12); index 0 counts any other code.
inline constexpr std::size_t kStatisticsErrorSlots = 13;

struct IdentifierCounts {
  std::uint64_t frames = 0;
  std::array<std::uint64_t, kStatisticsErrorSlots> errors{};
  std::uint64_t periods = 0;
  std::int64_t periodMin = 0;
  std::int64_t periodMax = 0;
  double periodMean = 0;  // running mean and sum of squared deviations
  double periodSquares = 0;
  std::optional<std::int32_t> lastSeen;   // analyzer time of the latest frame or error
  std::optional<std::int64_t> lastFrame;  // followed time of the latest frame

  bool Seen() const { return lastSeen.has_value(); }
  std::uint64_t ErrorTotal() const;
  // Standard deviation of the periods; 0 with fewer than two.
  double Jitter() const;
};

// What the load needs: the bus baud rate and each identifier's data length
// (ordinary frames; values above 8 count 8).
struct FrameBitsSetup {
  std::uint32_t baud = 9600;
  std::array<std::uint8_t, monitor::kIdentifierCount> dataLengths{};

  // Data lengths from identifier bits 4-5, as LIN 1.x codes them.
  static FrameBitsSetup WithLengthCodes(std::uint32_t baud);
};

// Nominal bits a record's frame held on the bus (0 when it tells no length).
std::uint32_t FrameBits(const monitor::MonitorRecord& record, const FrameBitsSetup& setup);

class IdentifierStatistics {
 public:
  explicit IdentifierStatistics(FrameBitsSetup setup = FrameBitsSetup::WithLengthCodes(9600))
      : setup_(setup) {}

  // Counts `records`, which follow those of the previous call; an extended
  // group may continue from one call into the next.
  void Add(std::span<const monitor::MonitorRecord> records);
  // Records between the previous call and the next were lost: no period is
  // taken across them and a pending extended group is dropped.
  void Gap();
  // Forgets everything (a new run or file); the setup is kept or replaced.
  void Reset();
  void Reset(const FrameBitsSetup& setup);

  const FrameBitsSetup& setup() const { return setup_; }
  const IdentifierCounts& Of(int identifier) const;
  // Errors whose records show no identifier.
  const IdentifierCounts& Unidentified() const { return unidentified_; }

  // Records added, continuation records included.
  std::uint64_t RecordCount() const { return records_; }
  // Milliseconds from the earliest to the latest record (0 before two).
  std::int64_t SpanMs() const { return latest_ - earliest_; }
  // Frames per second over the span; nothing while the span is 0.
  std::optional<double> Rate(const IdentifierCounts& counts) const;

  // Bits on the bus by second of followed time (floor of ms / 1000); seconds
  // without any counted frame are absent.
  const std::map<std::int64_t, std::uint64_t>& LoadBits() const { return loadBits_; }
  // Percent of one second's bit times.
  double LoadPercent(std::uint64_t bits) const;
  // Mean load over the span, or over one second when the span is shorter;
  // 0 with no records.
  double MeanLoadPercent() const;
  double PeakLoadPercent() const;

 private:
  void Count(const monitor::MonitorRecord& record, std::int64_t time);
  void CountFrame(IdentifierCounts& counts, std::int64_t time);
  std::int64_t Follow(std::int32_t time);

  FrameBitsSetup setup_;
  std::array<IdentifierCounts, monitor::kIdentifierCount> identifiers_{};
  IdentifierCounts unidentified_;
  std::map<std::int64_t, std::uint64_t> loadBits_;
  std::uint64_t records_ = 0;
  monitor::FollowedTime followedTime_;
  bool timed_ = false;
  std::int64_t earliest_ = 0;
  std::int64_t latest_ = 0;
  int groupRecordsLeft_ = 0;
};

}  // namespace orvane::views
