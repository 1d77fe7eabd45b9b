#include "views/FrameHighlightMatch.h"

#include <algorithm>

#include "views/BitPattern.h"

namespace orvane::views {

bool Match(const monitor::MonitorRecord& record, const settings::FrameHighlightCondition& condition,
           int dataLength) {
  if (condition.kind == settings::kIoEventCondition) {
    return record.IsIoEvent() &&
           static_cast<std::uint32_t>(record.IoEventIndex()) == condition.ioEventNumber;
  }
  if (condition.kind != settings::kFrameCondition) return false;
  const int kind = record.BaseKind();
  if (kind != monitor::kKindEnd && kind != monitor::kKindSleep) return false;
  if (record.Identifier() != condition.identifier) return false;
  const int bytes = std::clamp(dataLength, 0, 8);
  for (int i = 0; i < bytes; ++i) {
    if (!FixedBitsAgree(BytePattern(condition.bitPatterns + 8 * i, 8), record.data[i])) {
      return false;
    }
  }
  return true;
}

std::optional<std::size_t> FrameHighlightIndex(const monitor::MonitorRecord& record,
                                             const settings::FrameHighlightConditions& conditions,
                                             std::span<const std::uint8_t, 64> dataLengths) {
  for (std::size_t i = 0; i < conditions.size(); ++i) {
    const settings::FrameHighlightCondition& condition = conditions[i];
    if (condition.enabled == 0) continue;
    if (Match(record, condition, dataLengths[condition.identifier & 0x3F])) return i;
  }
  return std::nullopt;
}

}  // namespace orvane::views
