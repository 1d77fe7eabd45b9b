#include "settings/FrameHighlightCondition.h"

#include <algorithm>

namespace orvane::settings {

FrameHighlightCondition DefaultFrameHighlightCondition() {
  FrameHighlightCondition condition{};
  condition.kind = kFrameCondition;
  std::fill(std::begin(condition.bitPatterns), std::end(condition.bitPatterns), '*');
  return condition;
}

}  // namespace orvane::settings
