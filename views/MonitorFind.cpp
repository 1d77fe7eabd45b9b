#include "views/MonitorFind.h"

#include <algorithm>

namespace orvane::views {

std::optional<FindHit> MonitorFind::FindFirst(const settings::FindCondition& condition,
                                              int dataLength, RingRecords ring,
                                              monitor::RingSnapshot snapshot) {
  matcher_.emplace(condition, dataLength);
  const std::uint32_t count = snapshot.Count();
  for (std::uint32_t position = 0; position < count; ++position) {
    if (matcher_->Matches(ring[snapshot.IndexOf(position)], true)) break;
  }
  foundIndex_ = -1;
  nextPosition_ = count;
  return Walk(ring, snapshot, 0);
}

std::optional<FindHit> MonitorFind::FindNext(RingRecords ring, monitor::RingSnapshot snapshot) {
  if (!matcher_) return std::nullopt;
  return Walk(ring, snapshot, nextPosition_);
}

void MonitorFind::Reset() {
  matcher_.reset();
  foundIndex_ = -1;
  nextPosition_ = 0;
}

std::optional<FindHit> MonitorFind::Walk(RingRecords ring, monitor::RingSnapshot snapshot,
                                         std::uint32_t fromPosition) {
  // Walk a copy: a search that finds nothing must not move the edge state.
  FindMatcher matcher = *matcher_;
  const std::uint32_t count = snapshot.Count();
  for (std::uint32_t position = fromPosition; position < count; ++position) {
    const std::uint32_t index = snapshot.IndexOf(position);
    if (!matcher.Matches(ring[index], false)) continue;
    *matcher_ = matcher;
    foundIndex_ = static_cast<std::int32_t>(index);
    nextPosition_ = position + 1;
    return FindHit{index, position};
  }
  return std::nullopt;
}

std::int32_t FindScrollPosition(std::uint32_t position, std::int32_t rowHeight,
                                std::uint32_t recordCount, std::int32_t rowsPerPage,
                                std::int32_t scrollMax) {
  if (rowsPerPage > 0 && recordCount < static_cast<std::uint32_t>(rowsPerPage)) return 0;
  const std::int64_t top = static_cast<std::int64_t>(position) * rowHeight;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(top, 0, std::max(scrollMax, 0)));
}

}  // namespace orvane::views
