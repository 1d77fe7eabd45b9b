// Small predicates shared by the rule tables (signals/LdfRules.h).
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <ranges>
#include <string>
#include <string_view>
#include <unordered_set>

#include "signals/LdfRules.h"

namespace orvane::signals::rules {

inline bool InRange(std::int64_t value, std::int64_t low, std::int64_t high) {
  return value >= low && value <= high;
}

inline bool ShortName(const std::string& name) { return name.size() <= kMaxNameChars; }

// True when no two elements of `range` have the same projected name.
template <typename Range, typename Projection>
bool Distinct(const Range& range, Projection project) {
  std::unordered_set<std::string_view> seen;
  return std::ranges::all_of(range, [&](const auto& element) {
    return seen.insert(std::string_view(std::invoke(project, element))).second;
  });
}

inline bool Known(const std::unordered_map<std::string, std::int32_t>& names,
                  const std::string& name) {
  return names.contains(name);
}

inline bool PlainReal(const RealToken& real) { return !real.hasExponent; }

}  // namespace orvane::signals::rules
