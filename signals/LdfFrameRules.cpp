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

// One breach per entry of every frame for which `broken` holds, at the entry
// with its signal's name; entries whose signal does not exist are left to
// the rule that names them.
template <typename Broken>
LdfBreaches EntriesWhere(const FramesSyntax& frames, const LdfContext& context, Broken broken,
                         bool relaxable = false) {
  LdfBreaches breaches;
  for (const FrameSyntax& frame : frames) {
    for (const FrameEntrySyntax& entry : frame.entries) {
      const Signal* signal = FindSignal(context, entry.signal);
      if (signal != nullptr && broken(frame, entry, *signal)) {
        breaches.push_back({entry.at, entry.signal, relaxable});
      }
    }
  }
  return breaches;
}

// The data bits an entry covers, or 0 when it does not lie inside 64 bits.
std::uint64_t CoveredBits(std::int64_t offset, std::int64_t size) {
  if (offset < 0 || size < 1 || offset + size > 64) return 0;
  const std::uint64_t ones = size == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << size) - 1;
  return ones << offset;
}

LdfBreaches BitsCoveredTwice(const FramesSyntax& frames, const LdfContext& context) {
  LdfBreaches breaches;
  for (const FrameSyntax& frame : frames) {
    std::uint64_t covered = 0;
    for (const FrameEntrySyntax& entry : frame.entries) {
      const Signal* signal = FindSignal(context, entry.signal);
      if (signal == nullptr) continue;
      const std::uint64_t bits = CoveredBits(entry.bitOffset, signal->size);
      if ((covered & bits) != 0) breaches.push_back({entry.at, entry.signal});
      covered |= bits;
    }
  }
  return breaches;
}

// Identifiers above 0x3F never pass: a frame on the bus has six identifier
// bits, so such a frame could only be shown under a guessed identifier.
LdfBreaches IdentifiersOutside(const FramesSyntax& frames) {
  LdfBreaches breaches;
  for (const FrameSyntax& f : frames) {
    // A relaxed load leaves such a frame out (signals/LdfLeaveOut.h).
    if (!InRange(f.identifier, 0, kMaxIdentifier))
      breaches.push_back({f.at, f.identifierText, true});
  }
  return breaches;
}

LdfBreaches RepeatedIdentifiers(const FramesSyntax& frames) {
  LdfBreaches breaches;
  std::array<bool, kMaxIdentifier + 1> used{};
  for (const FrameSyntax& f : frames) {
    if (!InRange(f.identifier, 0, kMaxIdentifier)) continue;
    if (std::exchange(used[static_cast<std::size_t>(f.identifier)], true)) {
      breaches.push_back({f.at, f.identifierText});
    }
  }
  return breaches;
}

constexpr std::array<LdfRule<FramesSyntax>, 14> kFramesRules{{
    {"names of at most 31 characters",
     [](const FramesSyntax& frames, const LdfContext&) {
       return NamedWhere(
           frames, [](const FrameSyntax& f) { return !ShortName(f.name); }, true);
     }},
    // No frame at all may pass: nothing is decoded, nothing is misread.
    {"1-64 frames",
     [](const FramesSyntax& frames, const LdfContext& context) {
       LdfBreaches breaches = CountOutside(frames.size(), 1, kMaxFrames, context);
       for (LdfBreach& breach : breaches) breach.relaxable = frames.empty();
       return breaches;
     }},
    {"unique frame names",
     [](const FramesSyntax& frames, const LdfContext&) {
       return RepeatedNames(frames, &FrameSyntax::name);
     }},
    {"identifier 0-0x3f",
     [](const FramesSyntax& frames, const LdfContext&) { return IdentifiersOutside(frames); }},
    {"unique identifiers",
     [](const FramesSyntax& frames, const LdfContext&) { return RepeatedIdentifiers(frames); }},
    {"length 1-8",
     [](const FramesSyntax& frames, const LdfContext&) {
       return NamedWhere(
           frames, [](const FrameSyntax& f) { return !InRange(FrameLength(f), 1, kMaxLength); });
     }},
    {"publisher is a node",
     [](const FramesSyntax& frames, const LdfContext& context) {
       LdfBreaches breaches;
       for (const FrameSyntax& f : frames) {
         Append(breaches, Unknown({f.publisher}, context.names.nodes, f.at));
       }
       return breaches;
     }},
    {"1-64 entries",
     [](const FramesSyntax& frames, const LdfContext&) {
       return NamedWhere(frames, [](const FrameSyntax& f) {
         return !InRange(static_cast<std::int64_t>(f.entries.size()), 1, kMaxEntries);
       });
     }},
    {"entry signals exist",
     [](const FramesSyntax& frames, const LdfContext& context) {
       LdfBreaches breaches;
       for (const FrameSyntax& f : frames) {
         for (const FrameEntrySyntax& e : f.entries) {
           Append(breaches, Unknown({e.signal}, context.names.signals, e.at));
         }
       }
       return breaches;
     }},
    {"each signal once per frame",
     [](const FramesSyntax& frames, const LdfContext&) {
       LdfBreaches breaches;
       for (const FrameSyntax& f : frames) {
         Append(breaches, RepeatedNames(f.entries, &FrameEntrySyntax::signal));
       }
       return breaches;
     }},
    // May pass: the frame's bytes are what its publisher sends, and the
    // signal is read from them as written; only the file's publisher
    // bookkeeping disagrees.
    {"signals published by the frame's publisher",
     [](const FramesSyntax& frames, const LdfContext& context) {
       return EntriesWhere(
           frames, context,
           [&](const FrameSyntax& f, const FrameEntrySyntax&, const Signal& s) {
             const auto publisher = context.names.nodes.find(f.publisher);
             return publisher != context.names.nodes.end() && publisher->second != s.publisher;
           },
           true);
     }},
    {"offsets inside the frame",
     [](const FramesSyntax& frames, const LdfContext&) {
       LdfBreaches breaches;
       for (const FrameSyntax& f : frames) {
         for (const FrameEntrySyntax& e : f.entries) {
           if (!InRange(e.bitOffset, 0, FrameLength(f) * 8 - 1))
             breaches.push_back({e.at, e.signal});
         }
       }
       return breaches;
     }},
    {"signals end inside the frame",
     [](const FramesSyntax& frames, const LdfContext& context) {
       return EntriesWhere(
           frames, context, [](const FrameSyntax& f, const FrameEntrySyntax& e, const Signal& s) {
             return e.bitOffset + static_cast<std::int64_t>(s.size) > FrameLength(f) * 8;
           });
     }},
    {"no bit covered twice",
     [](const FramesSyntax& frames, const LdfContext& context) {
       return BitsCoveredTwice(frames, context);
     }},
}};

}  // namespace

std::span<const LdfRule<FramesSyntax>> FramesRules() {
  return kFramesRules;
}

}  // namespace orvane::signals
