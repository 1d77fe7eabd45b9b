#include "app/settings/SpecialFrameCondition.h"

#include <algorithm>

namespace orvane::settings {

SpecialFrameCondition DefaultSpecialFrameCondition() {
  SpecialFrameCondition condition{};
  condition.kind = kFrameCondition;
  std::fill(std::begin(condition.bitPatterns), std::end(condition.bitPatterns), '*');
  return condition;
}

}  // namespace orvane::settings
