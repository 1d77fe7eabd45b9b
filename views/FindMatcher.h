// The matcher of the Find window: does a monitored record satisfy the find
// condition?
//
// Edge conditions ("U" rising, "D" falling, "C" changed) compare a frame's
// data with the previous frame of the same identifier, so the matcher keeps
// that frame's data between calls. One matcher per search; it belongs to
// the thread that runs the search (the user-interface thread).
#pragma once

#include <array>
#include <cstdint>

#include "settings/FindCondition.h"
#include "monitor/MonitorRecord.h"

namespace orvane::views {

class FindMatcher {
 public:
  // `dataLength`: the defined data length of the condition's identifier;
  // only that many data bytes are compared. Previous data starts at zero.
  FindMatcher(const settings::FindCondition& condition, int dataLength);

  // Kind 0 (I/O event): the record's kind is 10 + the event number.
  // Kind 1 (error frame): the kind's low nibble is 4 or 5.
  // Kind 2 (frame): an End (kind 1), Sleep (kind 2) or extended-frame header
  // record of the identifier, and, with data compare on,
  //  - byte mode: every pattern among the first n that is not "*"/"**"
  //    equals its data byte;
  //  - bit mode: every "0"/"1" agrees and, unless `priming`, at least one
  //    "U"/"D"/"C" bit shows its edge against the previous data (when the
  //    pattern has any). All "*" matches every frame.
  // Every kind-2 candidate's data becomes the previous data, so priming with
  // a frame makes that frame the reference for the next one.
  bool Matches(const monitor::MonitorRecord& record, bool priming);

  const std::array<std::uint8_t, 8>& previousData() const { return previous_; }

 private:
  bool MatchesFrame(const monitor::MonitorRecord& record, bool priming) const;
  bool MatchesBytes(const monitor::MonitorRecord& record) const;
  bool MatchesBits(const monitor::MonitorRecord& record, bool priming) const;

  settings::FindCondition condition_;
  int dataLength_;
  std::array<std::uint8_t, 8> previous_{};
};

}  // namespace orvane::views
