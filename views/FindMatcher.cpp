#include "views/FindMatcher.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "settings/FixedText.h"
#include "views/BitPattern.h"

namespace orvane::views {
namespace {

bool IsWildcard(std::string_view pattern) {
  return pattern == "*" || pattern == "**";
}

// A byte pattern other than a wildcard: two hexadecimal digits. One that
// does not read as a number never equals a data byte.
bool PatternEquals(std::string_view pattern, std::uint8_t data) {
  unsigned value = 0;
  const auto [end, error] =
      std::from_chars(pattern.data(), pattern.data() + pattern.size(), value, 16);
  return error == std::errc() && end != pattern.data() && value == data;
}

bool ShowsEdge(BitCondition condition, bool now, bool before) {
  switch (condition) {
    case BitCondition::kRising:
      return now && !before;
    case BitCondition::kFalling:
      return !now && before;
    case BitCondition::kChanged:
      return now != before;
    default:
      return false;
  }
}

bool IsEdge(BitCondition condition) {
  return condition == BitCondition::kRising || condition == BitCondition::kFalling ||
         condition == BitCondition::kChanged;
}

}  // namespace

FindMatcher::FindMatcher(const settings::FindCondition& condition, int dataLength)
    : condition_(condition), dataLength_(std::clamp(dataLength, 0, 8)) {}

bool FindMatcher::Matches(const monitor::MonitorRecord& record, bool priming) {
  switch (condition_.kind) {
    case settings::kFindIoEvent:
      return record.IsIoEvent() &&
             static_cast<std::uint32_t>(record.IoEventIndex()) == condition_.ioEventNumber;
    case settings::kFindErrorFrame:
      return record.IsErrorEvent();
    case settings::kFindFrame: {
      const bool candidate = (record.kind == monitor::kKindEnd ||
                              record.kind == monitor::kKindSleep || record.IsExtendedHeader()) &&
                             record.Identifier() == condition_.identifier;
      if (!candidate) return false;
      const bool match = MatchesFrame(record, priming);
      std::copy(std::begin(record.data), std::end(record.data), previous_.begin());
      return match;
    }
    default:
      return false;
  }
}

bool FindMatcher::MatchesFrame(const monitor::MonitorRecord& record, bool priming) const {
  if (condition_.dataCompare == 0) return true;
  return condition_.compareMode == 0 ? MatchesBytes(record) : MatchesBits(record, priming);
}

bool FindMatcher::MatchesBytes(const monitor::MonitorRecord& record) const {
  for (int i = 0; i < dataLength_; ++i) {
    const std::string_view pattern = settings::FieldText(condition_.bytePatterns[i]);
    if (!IsWildcard(pattern) && !PatternEquals(pattern, record.data[i])) return false;
  }
  return true;
}

bool FindMatcher::MatchesBits(const monitor::MonitorRecord& record, bool priming) const {
  bool fixedAgree = true;
  bool anyEdgeBit = false;
  bool edgeSeen = false;
  for (int i = 0; i < dataLength_; ++i) {
    const BytePattern pattern(condition_.bitPatterns[i], 8);
    fixedAgree = fixedAgree && FixedBitsAgree(pattern, record.data[i]);
    for (int bit = 0; bit < 8; ++bit) {
      const BitCondition condition = BitConditionOf(pattern[bit]);
      if (!IsEdge(condition)) continue;
      anyEdgeBit = true;
      edgeSeen =
          edgeSeen || ShowsEdge(condition, BitOf(record.data[i], bit), BitOf(previous_[i], bit));
    }
  }
  if (priming || !fixedAgree || !anyEdgeBit) return fixedAgree;
  return edgeSeen;
}

}  // namespace orvane::views
