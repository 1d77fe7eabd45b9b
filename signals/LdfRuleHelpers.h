// Small helpers shared by the rule tables (signals/LdfRules.h).
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <ranges>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "signals/LdfRules.h"

namespace orvane::signals::rules {

inline bool InRange(std::int64_t value, std::int64_t low, std::int64_t high) {
  return value >= low && value <= high;
}

inline bool ShortName(const std::string& name) { return name.size() <= kMaxNameChars; }

inline bool Known(const std::unordered_map<std::string, std::int32_t>& names,
                  const std::string& name) {
  return names.contains(name);
}

inline bool PlainReal(const RealToken& real) { return !real.hasExponent; }

// A quoted text as written.
inline std::string Quote(const std::string& text) {
  return '"' + text + '"';
}

// One breach, at `at`, per element of `names` that repeats an earlier one.
inline LdfBreaches Repeated(const std::vector<std::string>& names, std::size_t at) {
  LdfBreaches breaches;
  std::unordered_set<std::string_view> seen;
  for (const std::string& name : names) {
    if (!seen.insert(name).second) breaches.push_back({at, name});
  }
  return breaches;
}

// One breach per item for which `broken` holds, at the item with its name.
template <typename Item, typename Broken>
LdfBreaches NamedWhere(const std::vector<Item>& items, Broken broken, bool relaxable = false) {
  LdfBreaches breaches;
  for (const Item& item : items) {
    if (broken(item)) breaches.push_back({item.at, item.name, relaxable});
  }
  return breaches;
}

// One breach per item whose projected name repeats an earlier item's.
template <typename Item, typename Projection>
LdfBreaches RepeatedNames(const std::vector<Item>& items, Projection project) {
  LdfBreaches breaches;
  std::unordered_set<std::string_view> seen;
  for (const Item& item : items) {
    const std::string& name = std::invoke(project, item);
    if (!seen.insert(name).second) breaches.push_back({item.at, name});
  }
  return breaches;
}

// A count outside low-high, at the section keyword.
inline LdfBreaches CountOutside(std::size_t count, std::int64_t low, std::int64_t high,
                                const LdfContext& context) {
  if (InRange(static_cast<std::int64_t>(count), low, high)) return {};
  return {{context.sectionAt, std::to_string(count)}};
}

// One breach per name of `names` missing from `known`, all at `at`.
inline LdfBreaches Unknown(const std::vector<std::string>& names,
                           const std::unordered_map<std::string, std::int32_t>& known,
                           std::size_t at) {
  LdfBreaches breaches;
  for (const std::string& name : names) {
    if (!Known(known, name)) breaches.push_back({at, name});
  }
  return breaches;
}

// Appends `more` to `breaches`.
inline void Append(LdfBreaches& breaches, LdfBreaches more) {
  std::ranges::move(more, std::back_inserter(breaches));
}

}  // namespace orvane::signals::rules
