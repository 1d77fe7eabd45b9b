#include "signals/LdfSyntax.h"

#include <algorithm>
#include <bit>
#include <charconv>

namespace orvane::signals {

double VersionValue(const VersionSyntax& version) {
  double value = 0;
  std::from_chars(version.text.data(), version.text.data() + version.text.size(), value);
  return value;
}

std::int64_t FrameLength(const FrameSyntax& frame) {
  if (frame.length) return *frame.length;
  switch ((frame.identifier >> 4) & 3) {
    case 2:
      return 4;
    case 3:
      return 8;
    default:
      return 2;
  }
}

std::optional<std::int64_t> LargestValue(const EncodingSyntax& encoding) {
  std::optional<std::int64_t> largest;
  for (const ValueSyntax& value : encoding.values) {
    if (value.kind != ValueKind::kLogical && value.kind != ValueKind::kPhysical) continue;
    largest = std::max(largest.value_or(value.maximum), value.maximum);
  }
  return largest;
}

std::uint32_t EncodedBitSize(const EncodingSyntax& encoding) {
  const auto isKind = [&](ValueKind kind) {
    return std::any_of(encoding.values.begin(), encoding.values.end(),
                       [kind](const ValueSyntax& value) { return value.kind == kind; });
  };
  if (isKind(ValueKind::kBcd)) return 4;
  if (isKind(ValueKind::kAscii)) return 8;
  const std::int64_t largest = LargestValue(encoding).value_or(0);
  if (largest <= 0) return 0;
  return static_cast<std::uint32_t>(std::bit_width(static_cast<std::uint64_t>(largest)));
}

bool SameSignalDefinition(const SignalSyntax& one, const SignalSyntax& other) {
  return one.size == other.size && one.arrayInitial == other.arrayInitial &&
         one.initial == other.initial && one.publisher == other.publisher &&
         one.subscribers == other.subscribers;
}

}  // namespace orvane::signals
