// Rules of the version, speed, Nodes and Signals sections.
#include <algorithm>
#include <array>
#include <ranges>
#include <string_view>
#include <unordered_map>

#include "signals/LdfRuleHelpers.h"
#include "signals/LdfRules.h"

namespace orvane::signals {
namespace {

using namespace rules;

constexpr std::size_t kMaxVersionChars = 5;
constexpr std::int64_t kMaxSlaves = 63;
constexpr std::int64_t kMaxSignals = 4096;
constexpr std::int64_t kMaxSubscribers = 63;
constexpr std::int64_t kMaxScalarBits = 16;

// ---- LIN_protocol_version, LIN_language_version ----------------------------

// The version text, quoted, when `holds` is false for it.
LdfBreaches VersionBreach(const VersionSyntax& version, const LdfContext& context,
                          bool (*holds)(const VersionSyntax&)) {
  if (holds(version)) return {};
  return {{context.sectionAt, Quote(version.text)}};
}

constexpr std::array<LdfRule<VersionSyntax>, 3> kVersionRules{{
    {"version text of 1-5 characters",
     [](const VersionSyntax& version, const LdfContext& context) {
       return VersionBreach(version, context, [](const VersionSyntax& v) {
         return !v.text.empty() && v.text.size() <= kMaxVersionChars;
       });
     }},
    {"version of digits with at most one '.'",
     [](const VersionSyntax& version, const LdfContext& context) {
       return VersionBreach(version, context, [](const VersionSyntax& v) {
         return std::ranges::count(v.text, '.') <= 1 && std::ranges::all_of(v.text, [](char c) {
                  return c == '.' || (c >= '0' && c <= '9');
                });
       });
     }},
    {"version 0.01-99.99",
     [](const VersionSyntax& version, const LdfContext& context) {
       return VersionBreach(version, context, [](const VersionSyntax& v) {
         const double value = VersionValue(v);
         return value >= 0.01 && value <= 99.99;
       });
     }},
}};

// ---- LIN_speed -------------------------------------------------------------

// A real written with an exponent, at `at`; relaxable, as it is read exactly.
LdfBreaches ExponentBreach(const RealToken& real, std::size_t at) {
  if (PlainReal(real)) return {};
  return {{at, real.text, true}};
}

constexpr std::array<LdfRule<SpeedSyntax>, 2> kSpeedRules{{
    {"reals without exponent",
     [](const SpeedSyntax& speed, const LdfContext& context) {
       return ExponentBreach(speed.kbps, context.sectionAt);
     }},
    {"speed 1.0-20.0 kbps",
     [](const SpeedSyntax& speed, const LdfContext& context) -> LdfBreaches {
       if (speed.kbps.value >= 1.0 && speed.kbps.value <= 20.0) return {};
       return {{context.sectionAt, speed.kbps.text}};
     }},
}};

// ---- Nodes -----------------------------------------------------------------

constexpr std::array<LdfRule<NodesSyntax>, 5> kNodesRules{{
    {"names of at most 31 characters",
     [](const NodesSyntax& nodes, const LdfContext&) {
       LdfBreaches breaches;
       if (!ShortName(nodes.master)) breaches.push_back({nodes.at, nodes.master, true});
       for (const std::string& slave : nodes.slaves) {
         if (!ShortName(slave)) breaches.push_back({nodes.slavesAt, slave, true});
       }
       return breaches;
     }},
    {"reals without exponent",
     [](const NodesSyntax& nodes, const LdfContext&) {
       LdfBreaches breaches = ExponentBreach(nodes.timeBase, nodes.at);
       Append(breaches, ExponentBreach(nodes.jitter, nodes.at));
       return breaches;
     }},
    // A missing "Slaves" line may pass: a master alone is what the file says.
    {"1-63 slaves",
     [](const NodesSyntax& nodes, const LdfContext&) -> LdfBreaches {
       if (nodes.slaves.empty()) return {{nodes.at, "no Slaves line", true}};
       if (InRange(static_cast<std::int64_t>(nodes.slaves.size()), 1, kMaxSlaves)) return {};
       return {{nodes.slavesAt, std::to_string(nodes.slaves.size()) + " slaves"}};
     }},
    {"distinct slave names",
     [](const NodesSyntax& nodes, const LdfContext&) {
       return Repeated(nodes.slaves, nodes.slavesAt);
     }},
    {"no slave named like the master",
     [](const NodesSyntax& nodes, const LdfContext&) -> LdfBreaches {
       if (std::ranges::find(nodes.slaves, nodes.master) == nodes.slaves.end()) return {};
       return {{nodes.slavesAt, nodes.master}};
     }},
}};

// ---- Signals ---------------------------------------------------------------

// A later definition of a name. A relaxed load keeps the first of identical
// definitions and leaves out a signal whose definitions differ
// (signals/LdfLeaveOut.h); both are relaxable.
LdfBreaches RepeatedSignals(const SignalsSyntax& signals) {
  LdfBreaches breaches = RepeatedNames(signals, &SignalSyntax::name);
  for (LdfBreach& breach : breaches) breach.relaxable = true;
  return breaches;
}

// One breach per listed node name of a signal that is no node.
LdfBreaches UnknownNodes(const SignalsSyntax& signals, const LdfContext& context,
                         bool subscribers) {
  LdfBreaches breaches;
  for (const SignalSyntax& s : signals) {
    Append(breaches, Unknown(subscribers ? s.subscribers : std::vector<std::string>{s.publisher},
                             context.names.nodes, s.at));
  }
  return breaches;
}

constexpr std::array<LdfRule<SignalsSyntax>, 12> kSignalsRules{{
    {"names of at most 31 characters",
     [](const SignalsSyntax& signals, const LdfContext&) {
       return NamedWhere(
           signals, [](const SignalSyntax& s) { return !ShortName(s.name); }, true);
     }},
    {"1-4096 signals",
     [](const SignalsSyntax& signals, const LdfContext& context) {
       return CountOutside(signals.size(), 1, kMaxSignals, context);
     }},
    {"unique signal names",
     [](const SignalsSyntax& signals, const LdfContext&) { return RepeatedSignals(signals); }},
    {"array initial value of size / 8 bytes",
     [](const SignalsSyntax& signals, const LdfContext&) {
       return NamedWhere(signals, [](const SignalSyntax& s) {
         return s.arrayInitial && (s.size <= 0 || s.size % 8 != 0 ||
                                   static_cast<std::int64_t>(s.initial.size()) != s.size / 8);
       });
     }},
    {"array initial bytes 0-255",
     [](const SignalsSyntax& signals, const LdfContext&) {
       return NamedWhere(signals, [](const SignalSyntax& s) {
         return s.arrayInitial &&
                !std::ranges::all_of(s.initial, [](std::int64_t b) { return InRange(b, 0, 255); });
       });
     }},
    {"scalar initial value only for 1-16 bits",
     [](const SignalsSyntax& signals, const LdfContext&) {
       return NamedWhere(signals, [](const SignalSyntax& s) {
         return !s.arrayInitial && !InRange(s.size, 1, kMaxScalarBits);
       });
     }},
    {"scalar initial value fits the size",
     [](const SignalsSyntax& signals, const LdfContext&) {
       return NamedWhere(signals, [](const SignalSyntax& s) {
         return !s.arrayInitial && InRange(s.size, 1, kMaxScalarBits) &&
                !InRange(s.initial.front(), 0, (std::int64_t{1} << s.size) - 1);
       });
     }},
    {"publisher is a node",
     [](const SignalsSyntax& signals, const LdfContext& context) {
       return UnknownNodes(signals, context, false);
     }},
    {"subscribers are nodes",
     [](const SignalsSyntax& signals, const LdfContext& context) {
       return UnknownNodes(signals, context, true);
     }},
    // No subscriber may pass: the signal is kept and shown, its empty
    // subscriber list marks it.
    {"1-63 subscribers",
     [](const SignalsSyntax& signals, const LdfContext&) {
       LdfBreaches breaches;
       for (const SignalSyntax& s : signals) {
         const auto count = static_cast<std::int64_t>(s.subscribers.size());
         if (!InRange(count, 1, kMaxSubscribers)) breaches.push_back({s.at, s.name, count == 0});
       }
       return breaches;
     }},
    {"distinct subscribers",
     [](const SignalsSyntax& signals, const LdfContext&) {
       LdfBreaches breaches;
       for (const SignalSyntax& s : signals) Append(breaches, Repeated(s.subscribers, s.at));
       return breaches;
     }},
    {"publisher is not a subscriber",
     [](const SignalsSyntax& signals, const LdfContext&) {
       return NamedWhere(signals, [](const SignalSyntax& s) {
         return std::ranges::find(s.subscribers, s.publisher) != s.subscribers.end();
       });
     }},
}};

}  // namespace

std::span<const LdfRule<VersionSyntax>> VersionRules() {
  return kVersionRules;
}
std::span<const LdfRule<SpeedSyntax>> SpeedRules() {
  return kSpeedRules;
}
std::span<const LdfRule<NodesSyntax>> NodesRules() {
  return kNodesRules;
}
std::span<const LdfRule<SignalsSyntax>> SignalsRules() {
  return kSignalsRules;
}

}  // namespace orvane::signals
