// Fourth stage of reading a LIN description file: the checks. Each section
// has a table of named rules; a section whose grammar was read fails with its
// message when one of its rules does not hold. The rules are strict on
// purpose (texts and names of at most 31 characters, no empty texts, no
// exponents, every signal subscribed, every encoding covering all its
// values); a tolerant load can run other tables over the same syntax.
//
// Rules are pure predicates over a section's syntax and what the earlier
// sections built; each one is safe on any input, whatever the others say.
// Any thread.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "signals/LdfSyntax.h"
#include "signals/LinDescription.h"

namespace orvane::signals {

inline constexpr std::size_t kMaxNameChars = 31;
inline constexpr std::size_t kMaxTextChars = 31;

// Names of what the earlier sections built, with their indices (node names
// map to node indices, the master to -1).
struct LdfNames {
  std::unordered_map<std::string, std::int32_t> nodes;
  std::unordered_map<std::string, std::int32_t> signals;
  std::unordered_map<std::string, std::int32_t> encodings;
};

struct LdfContext {
  const LinDescription& description;
  const LdfNames& names;
};

template <typename Syntax>
struct LdfRule {
  std::string_view name;
  bool (*holds)(const Syntax& section, const LdfContext& context);
};

std::span<const LdfRule<VersionSyntax>> VersionRules();
std::span<const LdfRule<SpeedSyntax>> SpeedRules();
std::span<const LdfRule<NodesSyntax>> NodesRules();
std::span<const LdfRule<SignalsSyntax>> SignalsRules();
std::span<const LdfRule<FramesSyntax>> FramesRules();
std::span<const LdfRule<EncodingsSyntax>> EncodingsRules();
std::span<const LdfRule<RepresentationsSyntax>> RepresentationsRules();

// The first rule of `rules` that does not hold for `section`, or nullptr.
template <typename Syntax>
const LdfRule<Syntax>* FirstBrokenRule(std::span<const LdfRule<Syntax>> rules,
                                       const Syntax& section, const LdfContext& context) {
  for (const LdfRule<Syntax>& rule : rules) {
    if (!rule.holds(section, context)) return &rule;
  }
  return nullptr;
}

}  // namespace orvane::signals
