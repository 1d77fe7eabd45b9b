// Find first and find next over the monitor window's ring (the ViewBuffer).
//
// The search runs on the user-interface thread while monitoring is stopped
// (the Find window disables its buttons while it runs). It reads the ring
// without a lock, within the write index and wrap flag of the snapshot the
// caller took just before, and keeps the state of the kind-0 monitor view:
// the found index, the next position and the matcher's previous data.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "settings/FindCondition.h"
#include "monitor/MonitorRecord.h"
#include "monitor/MonitorState.h"
#include "views/FindMatcher.h"

namespace orvane::views {

// Shown titled "Find Window" with an information icon when a search finds
// nothing (more).
inline constexpr std::string_view kFindWindowTitle = "Find Window";
inline constexpr std::string_view kSearchCompletedText = "Search has been completed.";

using RingRecords = std::span<const monitor::MonitorRecord>;

struct FindHit {
  std::uint32_t index;     // ring index of the record found
  std::uint32_t position;  // its place in the searched range, 0 = oldest
};

class MonitorFind {
 public:
  // Searches the range from its oldest record: first primes the matcher
  // with the range's records in order until one matches (so that an edge
  // condition compares the first frame with itself and never reports it),
  // then walks the range from its start. Nothing found: the found index
  // becomes -1 and a later FindNext finds nothing either.
  std::optional<FindHit> FindFirst(const settings::FindCondition& condition, int dataLength,
                                   RingRecords ring, monitor::RingSnapshot snapshot);

  // Continues after the last hit up to the newest record of the range,
  // across the end of the ring. Nothing found: the previous hit and the
  // matcher's state stay as they were, so repeating FindNext gives the same
  // answer. Without a FindFirst before, finds nothing.
  std::optional<FindHit> FindNext(RingRecords ring, monitor::RingSnapshot snapshot);

  // Forgets the search (start of a measurement).
  void Reset();

  // Ring index of the last hit, -1 when none.
  std::int32_t foundIndex() const { return foundIndex_; }
  // Records of the range already searched.
  std::uint32_t nextPosition() const { return nextPosition_; }

 private:
  std::optional<FindHit> Walk(RingRecords ring, monitor::RingSnapshot snapshot,
                              std::uint32_t fromPosition);

  std::optional<FindMatcher> matcher_;
  std::int32_t foundIndex_ = -1;
  std::uint32_t nextPosition_ = 0;
};

// Scroll position that puts the hit at `position` at the top of the
// monitor window: 0 when all records fit on one page, otherwise
// position × rowHeight, at most scrollMax.
std::int32_t FindScrollPosition(std::uint32_t position, std::int32_t rowHeight,
                                std::uint32_t recordCount, std::int32_t rowsPerPage,
                                std::int32_t scrollMax);

}  // namespace orvane::views
