// Rules of the Signal_encoding_types and Signal_representation sections.
#include <algorithm>
#include <array>
#include <ranges>
#include <set>
#include <unordered_set>
#include <utility>
#include <vector>

#include "signals/LdfRuleHelpers.h"
#include "signals/LdfRules.h"

namespace orvane::signals {
namespace {

using namespace rules;

constexpr std::int64_t kMaxEncodings = 4096;
constexpr std::int64_t kMaxRepresentations = 4096;

bool EveryEncoding(const EncodingsSyntax& encodings, bool (*holds)(const EncodingSyntax&)) {
  return std::ranges::all_of(encodings, holds);
}

bool EveryValue(const EncodingsSyntax& encodings, bool (*holds)(const ValueSyntax&)) {
  return std::ranges::all_of(encodings, [&](const EncodingSyntax& encoding) {
    return std::ranges::all_of(encoding.values, holds);
  });
}

bool HasKind(const EncodingSyntax& encoding, ValueKind kind) {
  return std::ranges::any_of(encoding.values,
                             [kind](const ValueSyntax& value) { return value.kind == kind; });
}

bool IsTextual(const EncodingSyntax& encoding) {
  return HasKind(encoding, ValueKind::kBcd) || HasKind(encoding, ValueKind::kAscii);
}

// A logical value must not repeat an earlier logical value, a physical range
// must not repeat an earlier range's minimum or maximum.
bool NoRepeatedValue(const EncodingSyntax& encoding) {
  std::set<std::int64_t> logical;
  std::set<std::int64_t> minimums;
  std::set<std::int64_t> maximums;
  return std::ranges::all_of(encoding.values, [&](const ValueSyntax& value) {
    if (value.kind == ValueKind::kLogical) return logical.insert(value.minimum).second;
    if (value.kind != ValueKind::kPhysical) return true;
    const bool newMinimum = minimums.insert(value.minimum).second;
    const bool newMaximum = maximums.insert(value.maximum).second;
    return newMinimum && newMaximum;
  });
}

// True when the logical values and physical ranges together cover every
// value 0 ... largest. Works on the ranges, so a largest value of 2^36 - 1
// costs no more than a small one.
bool CoversUpToLargest(const EncodingSyntax& encoding) {
  const std::int64_t largest = LargestValue(encoding).value_or(-1);
  std::vector<std::pair<std::int64_t, std::int64_t>> ranges;
  for (const ValueSyntax& value : encoding.values) {
    if (value.kind != ValueKind::kLogical && value.kind != ValueKind::kPhysical) continue;
    if (value.maximum < value.minimum || value.maximum < 0) continue;
    ranges.emplace_back(std::max<std::int64_t>(value.minimum, 0), value.maximum);
  }
  std::ranges::sort(ranges);
  std::int64_t firstUncovered = 0;
  for (const auto& [low, high] : ranges) {
    if (low > firstUncovered) break;
    firstUncovered = std::max(firstUncovered, high + 1);
  }
  return firstUncovered > largest;
}

constexpr std::array<LdfRule<EncodingsSyntax>, 12> kEncodingsRules{{
    {"names of at most 31 characters",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return EveryEncoding(encodings, [](const EncodingSyntax& e) { return ShortName(e.name); });
     }},
    {"texts of at most 31 characters",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return EveryValue(encodings,
                         [](const ValueSyntax& v) { return !v.text || v.text->size() <= kMaxTextChars; });
     }},
    {"no empty texts",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return EveryValue(encodings, [](const ValueSyntax& v) { return !v.text || !v.text->empty(); });
     }},
    {"reals without exponent",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return EveryValue(encodings,
                         [](const ValueSyntax& v) { return PlainReal(v.scale) && PlainReal(v.offset); });
     }},
    {"1-4096 encodings",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return InRange(static_cast<std::int64_t>(encodings.size()), 1, kMaxEncodings);
     }},
    {"unique encoding names",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return Distinct(encodings, &EncodingSyntax::name);
     }},
    {"at least one value per encoding",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return EveryEncoding(encodings, [](const EncodingSyntax& e) { return !e.values.empty(); });
     }},
    {"physical maximum not below minimum",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return EveryValue(encodings, [](const ValueSyntax& v) { return v.maximum >= v.minimum; });
     }},
    {"no repeated value",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return EveryEncoding(encodings, NoRepeatedValue);
     }},
    {"bcd or ascii value alone",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return EveryEncoding(encodings, [](const EncodingSyntax& e) {
         return !IsTextual(e) || e.values.size() == 1;
       });
     }},
    {"largest value is 2^n - 1",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return EveryEncoding(encodings, [](const EncodingSyntax& e) {
         if (IsTextual(e) || e.values.empty()) return true;
         const std::int64_t largest = *LargestValue(e);
         return largest >= 0 && (largest & (largest + 1)) == 0;
       });
     }},
    {"values 0 to the largest covered",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return EveryEncoding(encodings, [](const EncodingSyntax& e) {
         return IsTextual(e) || CoversUpToLargest(e);
       });
     }},
}};

// ---- Signal_representation --------------------------------------------------

bool SizeFitsEncoding(const RepresentationSyntax& entry, const LdfContext& context) {
  const auto encoding = context.names.encodings.find(entry.encoding);
  if (encoding == context.names.encodings.end()) return true;
  const Encoding& coded = context.description.encodings[static_cast<std::size_t>(encoding->second)];
  const bool textual = coded.values.size() == 1 && (coded.values[0].kind == ValueKind::kBcd ||
                                                    coded.values[0].kind == ValueKind::kAscii);
  return std::ranges::all_of(entry.signals, [&](const std::string& name) {
    const auto signal = context.names.signals.find(name);
    if (signal == context.names.signals.end()) return true;
    const std::uint32_t size = context.description.signals[static_cast<std::size_t>(signal->second)].size;
    return textual ? size >= coded.encodedBitSize : size <= coded.encodedBitSize;
  });
}

constexpr std::array<LdfRule<RepresentationsSyntax>, 7> kRepresentationsRules{{
    {"1-4096 entries",
     [](const RepresentationsSyntax& entries, const LdfContext&) {
       return InRange(static_cast<std::int64_t>(entries.size()), 1, kMaxRepresentations);
     }},
    {"encoding exists",
     [](const RepresentationsSyntax& entries, const LdfContext& context) {
       return std::ranges::all_of(entries, [&](const RepresentationSyntax& r) {
         return Known(context.names.encodings, r.encoding);
       });
     }},
    {"each encoding named once",
     [](const RepresentationsSyntax& entries, const LdfContext&) {
       return Distinct(entries, &RepresentationSyntax::encoding);
     }},
    {"signals exist",
     [](const RepresentationsSyntax& entries, const LdfContext& context) {
       return std::ranges::all_of(entries, [&](const RepresentationSyntax& r) {
         return std::ranges::all_of(
             r.signals, [&](const std::string& s) { return Known(context.names.signals, s); });
       });
     }},
    {"distinct signals per entry",
     [](const RepresentationsSyntax& entries, const LdfContext&) {
       return std::ranges::all_of(entries, [](const RepresentationSyntax& r) {
         return Distinct(r.signals, std::identity{});
       });
     }},
    {"one encoding per signal",
     [](const RepresentationsSyntax& entries, const LdfContext&) {
       std::unordered_set<std::string_view> encoded;
       return std::ranges::all_of(entries, [&](const RepresentationSyntax& r) {
         return std::ranges::all_of(
             r.signals, [&](const std::string& s) { return encoded.insert(s).second; });
       });
     }},
    {"signal size fits the encoding",
     [](const RepresentationsSyntax& entries, const LdfContext& context) {
       return std::ranges::all_of(
           entries, [&](const RepresentationSyntax& r) { return SizeFitsEncoding(r, context); });
     }},
}};

}  // namespace

std::span<const LdfRule<EncodingsSyntax>> EncodingsRules() { return kEncodingsRules; }
std::span<const LdfRule<RepresentationsSyntax>> RepresentationsRules() {
  return kRepresentationsRules;
}

}  // namespace orvane::signals
