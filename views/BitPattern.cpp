#include "views/BitPattern.h"

namespace orvane::views {

BitCondition BitConditionOf(char pattern) {
  switch (pattern) {
    case '0':
      return BitCondition::kZero;
    case '1':
      return BitCondition::kOne;
    case 'U':
    case 'u':
      return BitCondition::kRising;
    case 'D':
    case 'd':
      return BitCondition::kFalling;
    case 'C':
    case 'c':
      return BitCondition::kChanged;
    default:
      return BitCondition::kAny;
  }
}

bool FixedBitsAgree(BytePattern pattern, std::uint8_t data) {
  for (int bit = 0; bit < 8; ++bit) {
    const BitCondition condition = BitConditionOf(pattern[bit]);
    if (condition == BitCondition::kZero && BitOf(data, bit)) return false;
    if (condition == BitCondition::kOne && !BitOf(data, bit)) return false;
  }
  return true;
}

}  // namespace orvane::views
