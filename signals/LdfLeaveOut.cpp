#include "signals/LdfLeaveOut.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace orvane::signals {
namespace {

constexpr std::string_view kUniqueSignalNames = "unique signal names";
constexpr std::string_view kIdentifierRange = "identifier 0-0x3f";
constexpr std::string_view kEncodingExists = "encoding exists";
constexpr std::int64_t kMaxIdentifier = 0x3F;

void Tell(LeftOut& leftOut, std::string_view rule, std::size_t at, const std::string& subject) {
  leftOut.told.push_back({rule, {at, subject + std::string(kLeftOutNote), true}});
}

}  // namespace

void LeaveOutConflictingSignals(SignalsSyntax& signals, const LdfNames&, LeftOut& leftOut) {
  std::unordered_map<std::string_view, const SignalSyntax*> first;
  for (const SignalSyntax& signal : signals) {
    const auto [found, added] = first.emplace(signal.name, &signal);
    if (!added && !SameSignalDefinition(*found->second, signal))
      leftOut.signals.insert(signal.name);
  }
  if (leftOut.signals.empty()) return;
  std::erase_if(signals, [&](const SignalSyntax& signal) {
    if (!leftOut.signals.contains(signal.name)) return false;
    Tell(leftOut, kUniqueSignalNames, signal.at, signal.name);
    return true;
  });
}

void LeaveOutUnsendableFrames(FramesSyntax& frames, const LdfNames&, LeftOut& leftOut) {
  std::erase_if(frames, [&](const FrameSyntax& frame) {
    if (frame.identifier >= 0 && frame.identifier <= kMaxIdentifier) return false;
    Tell(leftOut, kIdentifierRange, frame.at, frame.name + " " + frame.identifierText);
    return true;
  });
  for (FrameSyntax& frame : frames) {
    std::erase_if(frame.entries, [&](const FrameEntrySyntax& entry) {
      return leftOut.signals.contains(entry.signal);
    });
  }
}

void LeaveOutUnknownEncodings(RepresentationsSyntax& representations, const LdfNames& names,
                              LeftOut& leftOut) {
  std::erase_if(representations, [&](const RepresentationSyntax& representation) {
    if (names.encodings.contains(representation.encoding)) return false;
    Tell(leftOut, kEncodingExists, representation.at, representation.encoding);
    return true;
  });
  for (RepresentationSyntax& representation : representations) {
    std::erase_if(representation.signals,
                  [&](const std::string& name) { return leftOut.signals.contains(name); });
  }
}

}  // namespace orvane::signals
