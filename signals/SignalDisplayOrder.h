// The order in which the signal windows show the frames of a description.
// Pure functions; any thread that may read the description.
#pragma once

#include <cstdint>
#include <vector>

#include "signals/LinDescription.h"

namespace orvane::signals {

// The option setting SortOrder: 0 order of identifier, 1 order of node.
enum class SortOrder : std::uint8_t { kById = 0, kByNode = 1 };

// Frame indices in display order: ascending identifier, or the description's
// frame order (the master's frames first, then each slave's).
std::vector<std::uint8_t> FramesInDisplayOrder(const LinDescription& description, SortOrder order);

}  // namespace orvane::signals
