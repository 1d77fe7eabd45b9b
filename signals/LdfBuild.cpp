#include "signals/LdfBuild.h"

#include <algorithm>
#include <utility>

namespace orvane::signals {
namespace {

constexpr std::size_t kInitialValueBytes = 8;
constexpr std::uint8_t kUnassigned = 0xFF;

void BuildIdentifierMaps(LinDescription& description) {
  description.frameIndexById.fill(kUnassigned);
  for (std::size_t index = 0; index < description.frames.size(); ++index) {
    description.frameIndexById[description.frames[index].identifier] =
        static_cast<std::uint8_t>(index);
  }
  description.framesById.clear();
  auto nextFree = static_cast<std::uint8_t>(description.frames.size());
  for (std::uint8_t& index : description.frameIndexById) {
    if (index == kUnassigned) {
      index = nextFree++;
    } else {
      description.framesById.push_back(index);
    }
  }
}

}  // namespace

std::uint64_t InitialValue(const SignalSyntax& signal) {
  if (!signal.arrayInitial) return static_cast<std::uint64_t>(signal.initial.front());
  std::uint64_t value = 0;
  const std::size_t bytes = std::min(signal.initial.size(), kInitialValueBytes);
  for (std::size_t k = 0; k < bytes; ++k) {
    value |= static_cast<std::uint64_t>(signal.initial[k] & 0xFF) << (8 * k);
  }
  return value;
}

void BuildNodes(const NodesSyntax& nodes, LinDescription& description, LdfNames& names) {
  description.masterName = nodes.master;
  description.timeBaseMs = nodes.timeBase.value;
  description.jitterMs = nodes.jitter.value;
  description.slaves = nodes.slaves;
  names.nodes.clear();
  names.nodes.emplace(nodes.master, kMasterNode);
  for (std::size_t index = 0; index < nodes.slaves.size(); ++index) {
    names.nodes.emplace(nodes.slaves[index], static_cast<std::int32_t>(index));
  }
}

void BuildSignals(const SignalsSyntax& signals, LinDescription& description, LdfNames& names) {
  description.signals.clear();
  description.signals.reserve(signals.size());
  names.signals.clear();
  for (const SignalSyntax& syntax : signals) {
    // A repeated definition reaches here only when it repeats the first
    // exactly (a relaxed load); the first one stands.
    if (names.signals.contains(syntax.name)) continue;
    Signal signal;
    signal.name = syntax.name;
    signal.size = static_cast<std::uint32_t>(syntax.size);
    signal.initialValue = InitialValue(syntax);
    signal.publisher = names.nodes.at(syntax.publisher);
    for (const std::string& subscriber : syntax.subscribers) {
      signal.subscribers.push_back(names.nodes.at(subscriber));
    }
    names.signals.emplace(signal.name, static_cast<std::int32_t>(description.signals.size()));
    description.signals.push_back(std::move(signal));
  }
}

void BuildFrames(const FramesSyntax& frames, LinDescription& description, const LdfNames& names) {
  description.frames.clear();
  description.frames.reserve(frames.size());
  for (const FrameSyntax& syntax : frames) {
    Frame frame;
    frame.name = syntax.name;
    frame.identifier = static_cast<std::uint8_t>(syntax.identifier);
    frame.publisher = names.nodes.at(syntax.publisher);
    frame.length = static_cast<std::uint8_t>(FrameLength(syntax));
    for (const FrameEntrySyntax& entry : syntax.entries) {
      frame.entries.push_back({static_cast<std::uint32_t>(names.signals.at(entry.signal)),
                               static_cast<std::uint32_t>(entry.bitOffset)});
    }
    description.frames.push_back(std::move(frame));
  }
  std::ranges::stable_sort(description.frames, {}, &Frame::publisher);
  BuildIdentifierMaps(description);
}

void BuildEncodings(const EncodingsSyntax& encodings, LinDescription& description,
                    LdfNames& names) {
  description.encodings.clear();
  names.encodings.clear();
  for (const EncodingSyntax& syntax : encodings) {
    Encoding encoding;
    encoding.name = syntax.name;
    encoding.encodedBitSize = EncodedBitSize(syntax);
    for (const ValueSyntax& value : syntax.values) {
      encoding.values.push_back({value.kind, value.minimum, value.maximum, value.scale.value,
                                 value.offset.value, value.text.value_or("")});
    }
    names.encodings.emplace(encoding.name, static_cast<std::int32_t>(description.encodings.size()));
    description.encodings.push_back(std::move(encoding));
  }
}

void BuildRepresentations(const RepresentationsSyntax& representations, LinDescription& description,
                          const LdfNames& names) {
  description.representations.clear();
  for (const RepresentationSyntax& syntax : representations) {
    Representation representation;
    const std::int32_t encoding = names.encodings.at(syntax.encoding);
    representation.encoding = static_cast<std::uint32_t>(encoding);
    for (const std::string& name : syntax.signals) {
      const std::int32_t signal = names.signals.at(name);
      description.signals[static_cast<std::size_t>(signal)].encoding = encoding;
      representation.signals.push_back(static_cast<std::uint32_t>(signal));
    }
    description.representations.push_back(std::move(representation));
  }
}

}  // namespace orvane::signals
