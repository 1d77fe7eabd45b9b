// Rules of the version, speed, Nodes and Signals sections.
#include <algorithm>
#include <array>
#include <ranges>

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

constexpr std::array<LdfRule<VersionSyntax>, 3> kVersionRules{{
    {"version text of 1-5 characters",
     [](const VersionSyntax& version, const LdfContext&) {
       return !version.text.empty() && version.text.size() <= kMaxVersionChars;
     }},
    {"version of digits with at most one '.'",
     [](const VersionSyntax& version, const LdfContext&) {
       return std::ranges::count(version.text, '.') <= 1 &&
              std::ranges::all_of(version.text,
                                  [](char c) { return c == '.' || (c >= '0' && c <= '9'); });
     }},
    {"version 0.01-99.99",
     [](const VersionSyntax& version, const LdfContext&) {
       const double value = VersionValue(version);
       return value >= 0.01 && value <= 99.99;
     }},
}};

// ---- LIN_speed -------------------------------------------------------------

constexpr std::array<LdfRule<SpeedSyntax>, 2> kSpeedRules{{
    {"reals without exponent",
     [](const SpeedSyntax& speed, const LdfContext&) { return PlainReal(speed.kbps); }},
    {"speed 1.0-20.0 kbps",
     [](const SpeedSyntax& speed, const LdfContext&) {
       return speed.kbps.value >= 1.0 && speed.kbps.value <= 20.0;
     }},
}};

// ---- Nodes -----------------------------------------------------------------

constexpr std::array<LdfRule<NodesSyntax>, 5> kNodesRules{{
    {"names of at most 31 characters",
     [](const NodesSyntax& nodes, const LdfContext&) {
       return ShortName(nodes.master) && std::ranges::all_of(nodes.slaves, ShortName);
     }},
    {"reals without exponent",
     [](const NodesSyntax& nodes, const LdfContext&) {
       return PlainReal(nodes.timeBase) && PlainReal(nodes.jitter);
     }},
    {"1-63 slaves",
     [](const NodesSyntax& nodes, const LdfContext&) {
       return InRange(static_cast<std::int64_t>(nodes.slaves.size()), 1, kMaxSlaves);
     }},
    {"distinct slave names",
     [](const NodesSyntax& nodes, const LdfContext&) {
       return Distinct(nodes.slaves, std::identity{});
     }},
    {"no slave named like the master",
     [](const NodesSyntax& nodes, const LdfContext&) {
       return std::ranges::find(nodes.slaves, nodes.master) == nodes.slaves.end();
     }},
}};

// ---- Signals ---------------------------------------------------------------

bool EverySignal(const SignalsSyntax& signals, bool (*holds)(const SignalSyntax&)) {
  return std::ranges::all_of(signals, holds);
}

bool EverySignalIn(const SignalsSyntax& signals, const LdfContext& context,
                   bool (*holds)(const SignalSyntax&, const LdfContext&)) {
  return std::ranges::all_of(signals,
                             [&](const SignalSyntax& signal) { return holds(signal, context); });
}

constexpr std::array<LdfRule<SignalsSyntax>, 12> kSignalsRules{{
    {"names of at most 31 characters",
     [](const SignalsSyntax& signals, const LdfContext&) {
       return EverySignal(signals, [](const SignalSyntax& s) { return ShortName(s.name); });
     }},
    {"1-4096 signals",
     [](const SignalsSyntax& signals, const LdfContext&) {
       return InRange(static_cast<std::int64_t>(signals.size()), 1, kMaxSignals);
     }},
    {"unique signal names",
     [](const SignalsSyntax& signals, const LdfContext&) {
       return Distinct(signals, &SignalSyntax::name);
     }},
    {"array initial value of size / 8 bytes",
     [](const SignalsSyntax& signals, const LdfContext&) {
       return EverySignal(signals, [](const SignalSyntax& s) {
         return !s.arrayInitial ||
                (s.size > 0 && s.size % 8 == 0 &&
                 static_cast<std::int64_t>(s.initial.size()) == s.size / 8);
       });
     }},
    {"array initial bytes 0-255",
     [](const SignalsSyntax& signals, const LdfContext&) {
       return EverySignal(signals, [](const SignalSyntax& s) {
         return !s.arrayInitial ||
                std::ranges::all_of(s.initial, [](std::int64_t b) { return InRange(b, 0, 255); });
       });
     }},
    {"scalar initial value only for 1-16 bits",
     [](const SignalsSyntax& signals, const LdfContext&) {
       return EverySignal(signals, [](const SignalSyntax& s) {
         return s.arrayInitial || InRange(s.size, 1, kMaxScalarBits);
       });
     }},
    {"scalar initial value fits the size",
     [](const SignalsSyntax& signals, const LdfContext&) {
       return EverySignal(signals, [](const SignalSyntax& s) {
         return s.arrayInitial || !InRange(s.size, 1, kMaxScalarBits) ||
                InRange(s.initial.front(), 0, (std::int64_t{1} << s.size) - 1);
       });
     }},
    {"publisher is a node",
     [](const SignalsSyntax& signals, const LdfContext& context) {
       return EverySignalIn(signals, context, [](const SignalSyntax& s, const LdfContext& c) {
         return Known(c.names.nodes, s.publisher);
       });
     }},
    {"subscribers are nodes",
     [](const SignalsSyntax& signals, const LdfContext& context) {
       return EverySignalIn(signals, context, [](const SignalSyntax& s, const LdfContext& c) {
         return std::ranges::all_of(s.subscribers,
                                    [&](const std::string& n) { return Known(c.names.nodes, n); });
       });
     }},
    {"1-63 subscribers",
     [](const SignalsSyntax& signals, const LdfContext&) {
       return EverySignal(signals, [](const SignalSyntax& s) {
         return InRange(static_cast<std::int64_t>(s.subscribers.size()), 1, kMaxSubscribers);
       });
     }},
    {"distinct subscribers",
     [](const SignalsSyntax& signals, const LdfContext&) {
       return EverySignal(signals, [](const SignalSyntax& s) {
         return Distinct(s.subscribers, std::identity{});
       });
     }},
    {"publisher is not a subscriber",
     [](const SignalsSyntax& signals, const LdfContext&) {
       return EverySignal(signals, [](const SignalSyntax& s) {
         return std::ranges::find(s.subscribers, s.publisher) == s.subscribers.end();
       });
     }},
}};

}  // namespace

std::span<const LdfRule<VersionSyntax>> VersionRules() { return kVersionRules; }
std::span<const LdfRule<SpeedSyntax>> SpeedRules() { return kSpeedRules; }
std::span<const LdfRule<NodesSyntax>> NodesRules() { return kNodesRules; }
std::span<const LdfRule<SignalsSyntax>> SignalsRules() { return kSignalsRules; }

}  // namespace orvane::signals
