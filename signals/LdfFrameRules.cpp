// Rules of the Frames section.
#include <algorithm>
#include <array>
#include <ranges>
#include <utility>

#include "signals/LdfRuleHelpers.h"
#include "signals/LdfRules.h"

namespace orvane::signals {
namespace {

using namespace rules;

constexpr std::int64_t kMaxFrames = 64;
constexpr std::int64_t kMaxEntries = 64;
constexpr std::int64_t kMaxIdentifier = 0x3F;
constexpr std::int64_t kMaxLength = 8;

const Signal* FindSignal(const LdfContext& context, const std::string& name) {
  const auto found = context.names.signals.find(name);
  if (found == context.names.signals.end()) return nullptr;
  return &context.description.signals[static_cast<std::size_t>(found->second)];
}

bool EveryFrame(const FramesSyntax& frames, bool (*holds)(const FrameSyntax&)) {
  return std::ranges::all_of(frames, holds);
}

// True when `holds` is true for every entry whose signal exists.
bool EveryKnownEntry(const FramesSyntax& frames, const LdfContext& context,
                     bool (*holds)(const FrameSyntax&, const FrameEntrySyntax&, const Signal&,
                                   const LdfContext&)) {
  return std::ranges::all_of(frames, [&](const FrameSyntax& frame) {
    return std::ranges::all_of(frame.entries, [&](const FrameEntrySyntax& entry) {
      const Signal* signal = FindSignal(context, entry.signal);
      return signal == nullptr || holds(frame, entry, *signal, context);
    });
  });
}

// The data bits an entry covers, or 0 when it does not lie inside 64 bits.
std::uint64_t CoveredBits(std::int64_t offset, std::int64_t size) {
  if (offset < 0 || size < 1 || offset + size > 64) return 0;
  const std::uint64_t ones = size == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << size) - 1;
  return ones << offset;
}

bool NoBitCoveredTwice(const FrameSyntax& frame, const LdfContext& context) {
  std::uint64_t covered = 0;
  for (const FrameEntrySyntax& entry : frame.entries) {
    const Signal* signal = FindSignal(context, entry.signal);
    if (signal == nullptr) continue;
    const std::uint64_t bits = CoveredBits(entry.bitOffset, signal->size);
    if ((covered & bits) != 0) return false;
    covered |= bits;
  }
  return true;
}

constexpr std::array<LdfRule<FramesSyntax>, 14> kFramesRules{{
    {"names of at most 31 characters",
     [](const FramesSyntax& frames, const LdfContext&) {
       return EveryFrame(frames, [](const FrameSyntax& f) { return ShortName(f.name); });
     }},
    {"1-64 frames",
     [](const FramesSyntax& frames, const LdfContext&) {
       return InRange(static_cast<std::int64_t>(frames.size()), 1, kMaxFrames);
     }},
    {"unique frame names",
     [](const FramesSyntax& frames, const LdfContext&) {
       return Distinct(frames, &FrameSyntax::name);
     }},
    {"identifier 0-0x3f",
     [](const FramesSyntax& frames, const LdfContext&) {
       return EveryFrame(frames,
                         [](const FrameSyntax& f) { return InRange(f.identifier, 0, kMaxIdentifier); });
     }},
    {"unique identifiers",
     [](const FramesSyntax& frames, const LdfContext&) {
       std::array<bool, kMaxIdentifier + 1> used{};
       return std::ranges::all_of(frames, [&](const FrameSyntax& f) {
         if (!InRange(f.identifier, 0, kMaxIdentifier)) return true;
         return !std::exchange(used[static_cast<std::size_t>(f.identifier)], true);
       });
     }},
    {"length 1-8",
     [](const FramesSyntax& frames, const LdfContext&) {
       return EveryFrame(frames,
                         [](const FrameSyntax& f) { return InRange(FrameLength(f), 1, kMaxLength); });
     }},
    {"publisher is a node",
     [](const FramesSyntax& frames, const LdfContext& context) {
       return std::ranges::all_of(
           frames, [&](const FrameSyntax& f) { return Known(context.names.nodes, f.publisher); });
     }},
    {"1-64 entries",
     [](const FramesSyntax& frames, const LdfContext&) {
       return EveryFrame(frames, [](const FrameSyntax& f) {
         return InRange(static_cast<std::int64_t>(f.entries.size()), 1, kMaxEntries);
       });
     }},
    {"entry signals exist",
     [](const FramesSyntax& frames, const LdfContext& context) {
       return std::ranges::all_of(frames, [&](const FrameSyntax& f) {
         return std::ranges::all_of(f.entries, [&](const FrameEntrySyntax& e) {
           return Known(context.names.signals, e.signal);
         });
       });
     }},
    {"each signal once per frame",
     [](const FramesSyntax& frames, const LdfContext&) {
       return EveryFrame(frames, [](const FrameSyntax& f) {
         return Distinct(f.entries, &FrameEntrySyntax::signal);
       });
     }},
    {"signals published by the frame's publisher",
     [](const FramesSyntax& frames, const LdfContext& context) {
       return EveryKnownEntry(frames, context,
                              [](const FrameSyntax& f, const FrameEntrySyntax&, const Signal& s,
                                 const LdfContext& c) {
                                const auto publisher = c.names.nodes.find(f.publisher);
                                return publisher == c.names.nodes.end() ||
                                       publisher->second == s.publisher;
                              });
     }},
    {"offsets inside the frame",
     [](const FramesSyntax& frames, const LdfContext&) {
       return EveryFrame(frames, [](const FrameSyntax& f) {
         return std::ranges::all_of(f.entries, [&](const FrameEntrySyntax& e) {
           return InRange(e.bitOffset, 0, FrameLength(f) * 8 - 1);
         });
       });
     }},
    {"signals end inside the frame",
     [](const FramesSyntax& frames, const LdfContext& context) {
       return EveryKnownEntry(frames, context,
                              [](const FrameSyntax& f, const FrameEntrySyntax& e, const Signal& s,
                                 const LdfContext&) {
                                return e.bitOffset + static_cast<std::int64_t>(s.size) <=
                                       FrameLength(f) * 8;
                              });
     }},
    {"no bit covered twice",
     [](const FramesSyntax& frames, const LdfContext& context) {
       return std::ranges::all_of(
           frames, [&](const FrameSyntax& f) { return NoBitCoveredTwice(f, context); });
     }},
}};

}  // namespace

std::span<const LdfRule<FramesSyntax>> FramesRules() { return kFramesRules; }

}  // namespace orvane::signals
