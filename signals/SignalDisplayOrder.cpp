#include "signals/SignalDisplayOrder.h"

#include <numeric>

namespace orvane::signals {

std::vector<std::uint8_t> FramesInDisplayOrder(const LinDescription& description, SortOrder order) {
  if (order == SortOrder::kById) return description.framesById;
  std::vector<std::uint8_t> frames(description.frames.size());
  std::iota(frames.begin(), frames.end(), std::uint8_t{0});
  return frames;
}

}  // namespace orvane::signals
