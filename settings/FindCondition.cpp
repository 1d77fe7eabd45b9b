#include "settings/FindCondition.h"

#include <algorithm>

#include "settings/FixedText.h"

namespace orvane::settings {

FindCondition DefaultFindCondition() {
  FindCondition condition{};
  condition.kind = kFindErrorFrame;
  for (std::size_t i = 0; i < kFindDataBytes; ++i) {
    CopyToField("*", condition.bytePatterns[i]);
    std::fill(std::begin(condition.bitPatterns[i]), std::end(condition.bitPatterns[i]), '*');
  }
  return condition;
}

}  // namespace orvane::settings
