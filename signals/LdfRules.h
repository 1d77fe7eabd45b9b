// Fourth stage of reading a LIN description file: the checks. Each section
// has a table of named rules; a section whose grammar was read fails with its
// message when one of its rules does not hold. The rules are strict on
// purpose (texts and names of at most 31 characters, no empty texts, no
// exponents, every signal subscribed, every encoding covering all its
// values). Each rule names every item that breaks it and whether a relaxed
// load may let that item pass: only where the item keeps its meaning (a long
// name is kept whole, an exponent is read exactly, an uncovered raw value
// shows as the number), never where the program would have to guess.
//
// Rules are pure functions of a section's syntax and what the earlier
// sections built; each one is safe on any input, whatever the others say.
// Any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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
  std::size_t sectionAt = 0;  // the section keyword's position in the comment-free text
};

// One item that breaks a rule: where it starts in the comment-free text, the
// name, quoted text (with its quotes) or number as written, and whether a
// relaxed load lets it pass.
struct LdfBreach {
  std::size_t at = 0;
  std::string subject;
  bool relaxable = false;
};
using LdfBreaches = std::vector<LdfBreach>;

template <typename Syntax>
struct LdfRule {
  std::string_view name;
  // Every item that breaks the rule, in the section's order; empty when it holds.
  LdfBreaches (*breaches)(const Syntax& section, const LdfContext& context);
};

std::span<const LdfRule<VersionSyntax>> VersionRules();
std::span<const LdfRule<SpeedSyntax>> SpeedRules();
std::span<const LdfRule<NodesSyntax>> NodesRules();
std::span<const LdfRule<SignalsSyntax>> SignalsRules();
std::span<const LdfRule<FramesSyntax>> FramesRules();
std::span<const LdfRule<EncodingsSyntax>> EncodingsRules();
std::span<const LdfRule<RepresentationsSyntax>> RepresentationsRules();

// The outcome of a section's rule table: the rule that stopped it with its
// first stopping item (rule null when none did), and in relaxed mode every
// item let pass with its rule.
struct LdfRuleFailure {
  std::string_view rule;
  LdfBreach breach;
};
struct LdfRulesOutcome {
  std::optional<LdfRuleFailure> failure;
  std::vector<LdfRuleFailure> letPass;
};

// Strict: the first rule of `rules` with a breach stops the section at its
// first breach. Relaxed: a rule stops it at its first breach that is not
// relaxable; the relaxable breaches of the rules before are let pass.
template <typename Syntax>
LdfRulesOutcome CheckRules(std::span<const LdfRule<Syntax>> rules, const Syntax& section,
                           const LdfContext& context, bool relaxed) {
  LdfRulesOutcome outcome;
  for (const LdfRule<Syntax>& rule : rules) {
    LdfBreaches breaches = rule.breaches(section, context);
    for (LdfBreach& breach : breaches) {
      if (!relaxed || !breach.relaxable) {
        outcome.failure = LdfRuleFailure{rule.name, std::move(breach)};
        return outcome;
      }
      outcome.letPass.push_back({rule.name, std::move(breach)});
    }
  }
  return outcome;
}

}  // namespace orvane::signals
