#include "emulator/IoLines.h"

#include <algorithm>

namespace orvane::emulator {

IoLines::IoLines(std::array<std::int64_t, 3> half_periods)
    : half_periods_(half_periods), next_edge_(half_periods) {}

std::optional<std::int64_t> IoLines::NextStart(std::int64_t) const {
  return *std::ranges::min_element(next_edge_);
}

std::optional<BusEvent> IoLines::Initiate(std::int64_t start, BusContext&) {
  const auto channel = static_cast<std::size_t>(std::ranges::find(next_edge_, start) - next_edge_.begin());
  if (channel == next_edge_.size()) return std::nullopt;
  high_[channel] = !high_[channel];
  next_edge_[channel] += half_periods_[channel];
  return IoEdge{start, static_cast<int>(channel), high_[channel]};
}

}  // namespace orvane::emulator
