// Rules of the Signal_encoding_types and Signal_representation sections.
#include <algorithm>
#include <array>
#include <optional>
#include <ranges>
#include <set>
#include <string>
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

// One breach per value of every encoding for which `breach` gives one.
template <typename Breach>
LdfBreaches ValuesWhere(const EncodingsSyntax& encodings, Breach breach) {
  LdfBreaches breaches;
  for (const EncodingSyntax& encoding : encodings) {
    for (const ValueSyntax& value : encoding.values) {
      if (auto found = breach(value)) breaches.push_back(std::move(*found));
    }
  }
  return breaches;
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
       return NamedWhere(
           encodings, [](const EncodingSyntax& e) { return !ShortName(e.name); }, true);
     }},
    {"texts of at most 31 characters",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return ValuesWhere(encodings, [](const ValueSyntax& v) -> std::optional<LdfBreach> {
         if (!v.text || v.text->size() <= kMaxTextChars) return std::nullopt;
         return LdfBreach{v.textAt, Quote(*v.text), true};
       });
     }},
    {"no empty texts",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return ValuesWhere(encodings, [](const ValueSyntax& v) -> std::optional<LdfBreach> {
         if (!v.text || !v.text->empty()) return std::nullopt;
         return LdfBreach{v.textAt, Quote(*v.text), true};
       });
     }},
    {"reals without exponent",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       LdfBreaches breaches;
       for (const EncodingSyntax& encoding : encodings) {
         for (const ValueSyntax& value : encoding.values) {
           for (const RealToken* real : {&value.scale, &value.offset}) {
             if (!PlainReal(*real)) breaches.push_back({value.at, real->text, true});
           }
         }
       }
       return breaches;
     }},
    {"1-4096 encodings",
     [](const EncodingsSyntax& encodings, const LdfContext& context) {
       return CountOutside(encodings.size(), 1, kMaxEncodings, context);
     }},
    {"unique encoding names",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return RepeatedNames(encodings, &EncodingSyntax::name);
     }},
    {"at least one value per encoding",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return NamedWhere(encodings, [](const EncodingSyntax& e) { return e.values.empty(); });
     }},
    {"physical maximum not below minimum",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return NamedWhere(encodings, [](const EncodingSyntax& e) {
         return std::ranges::any_of(e.values,
                                    [](const ValueSyntax& v) { return v.maximum < v.minimum; });
       });
     }},
    // May pass: where entries overlap, the first entry that covers a raw
    // value decides, as decoding always does (signals/SignalDecode.h).
    {"no repeated value",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return NamedWhere(
           encodings, [](const EncodingSyntax& e) { return !NoRepeatedValue(e); }, true);
     }},
    {"bcd or ascii value alone",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return NamedWhere(
           encodings, [](const EncodingSyntax& e) { return IsTextual(e) && e.values.size() != 1; });
     }},
    // The three rules that make an encoding cover every raw value of its
    // bits may pass: a raw value no entry covers is shown as the number it
    // is (signals/SignalMonitorModel.h). A negative largest value may not.
    {"largest value is 2^n - 1",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       LdfBreaches breaches;
       for (const EncodingSyntax& e : encodings) {
         if (IsTextual(e) || e.values.empty()) continue;
         const std::int64_t largest = *LargestValue(e);
         if (largest < 0 || (largest & (largest + 1)) != 0) {
           breaches.push_back({e.at, e.name, largest >= 0});
         }
       }
       return breaches;
     }},
    {"values 0 to the largest covered",
     [](const EncodingsSyntax& encodings, const LdfContext&) {
       return NamedWhere(
           encodings,
           [](const EncodingSyntax& e) { return !IsTextual(e) && !CoversUpToLargest(e); }, true);
     }},
}};

// ---- Signal_representation --------------------------------------------------

enum class Fit : std::uint8_t { kFits, kWider, kNarrower };

// How the signal's size fits the entry's encoding; kFits when either is
// unknown.
Fit SizeFit(const RepresentationSyntax& entry, const std::string& name, const LdfContext& context) {
  const auto encoding = context.names.encodings.find(entry.encoding);
  const auto signal = context.names.signals.find(name);
  if (encoding == context.names.encodings.end() || signal == context.names.signals.end()) {
    return Fit::kFits;
  }
  const Encoding& coded = context.description.encodings[static_cast<std::size_t>(encoding->second)];
  const bool textual = coded.values.size() == 1 && (coded.values[0].kind == ValueKind::kBcd ||
                                                    coded.values[0].kind == ValueKind::kAscii);
  const std::uint32_t size =
      context.description.signals[static_cast<std::size_t>(signal->second)].size;
  if (textual) return size >= coded.encodedBitSize ? Fit::kFits : Fit::kNarrower;
  return size <= coded.encodedBitSize ? Fit::kFits : Fit::kWider;
}

// One breach per signal of every entry for which `broken` holds, at the entry.
template <typename Broken>
LdfBreaches SignalsWhere(const RepresentationsSyntax& entries, Broken broken) {
  LdfBreaches breaches;
  for (const RepresentationSyntax& r : entries) {
    for (const std::string& s : r.signals) {
      if (broken(r, s)) breaches.push_back({r.at, s});
    }
  }
  return breaches;
}

constexpr std::array<LdfRule<RepresentationsSyntax>, 7> kRepresentationsRules{{
    {"1-4096 entries",
     [](const RepresentationsSyntax& entries, const LdfContext& context) {
       return CountOutside(entries.size(), 1, kMaxRepresentations, context);
     }},
    // A relaxed load leaves such a representation out (signals/LdfLeaveOut.h).
    {"encoding exists",
     [](const RepresentationsSyntax& entries, const LdfContext& context) {
       LdfBreaches breaches;
       for (const RepresentationSyntax& r : entries) {
         Append(breaches, Unknown({r.encoding}, context.names.encodings, r.at));
       }
       for (LdfBreach& breach : breaches) breach.relaxable = true;
       return breaches;
     }},
    {"each encoding named once",
     [](const RepresentationsSyntax& entries, const LdfContext&) {
       return RepeatedNames(entries, &RepresentationSyntax::encoding);
     }},
    {"signals exist",
     [](const RepresentationsSyntax& entries, const LdfContext& context) {
       return SignalsWhere(entries, [&](const RepresentationSyntax&, const std::string& s) {
         return !Known(context.names.signals, s);
       });
     }},
    {"distinct signals per entry",
     [](const RepresentationsSyntax& entries, const LdfContext&) {
       LdfBreaches breaches;
       for (const RepresentationSyntax& r : entries) Append(breaches, Repeated(r.signals, r.at));
       return breaches;
     }},
    {"one encoding per signal",
     [](const RepresentationsSyntax& entries, const LdfContext&) {
       std::unordered_set<std::string_view> encoded;
       return SignalsWhere(entries, [&](const RepresentationSyntax&, const std::string& s) {
         return !encoded.insert(s).second;
       });
     }},
    // A signal wider than its encoding may pass (its raw values above the
    // encoding's show as numbers); one narrower than a bcd or ascii digit
    // may not.
    {"signal size fits the encoding",
     [](const RepresentationsSyntax& entries, const LdfContext& context) {
       LdfBreaches breaches;
       for (const RepresentationSyntax& r : entries) {
         for (const std::string& s : r.signals) {
           if (const auto fit = SizeFit(r, s, context); fit != Fit::kFits) {
             breaches.push_back({r.at, s, fit == Fit::kWider});
           }
         }
       }
       return breaches;
     }},
}};

}  // namespace

std::span<const LdfRule<EncodingsSyntax>> EncodingsRules() {
  return kEncodingsRules;
}
std::span<const LdfRule<RepresentationsSyntax>> RepresentationsRules() {
  return kRepresentationsRules;
}

}  // namespace orvane::signals
