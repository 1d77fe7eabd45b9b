// Third stage of reading a LIN description file: each section as written,
// names not yet resolved and nothing checked beyond the grammar. Each `at`
// is the position in the comment-free text where the item's first token
// starts (signals/LdfComments.h maps it to its line). The rules
// (signals/LdfRules.h) judge these; the builder (signals/LdfBuild.h) turns
// them into the description.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "signals/LdfScanner.h"
#include "signals/LinDescription.h"

namespace orvane::signals {

// LIN_protocol_version and LIN_language_version.
struct VersionSyntax {
  std::string text;
};

struct SpeedSyntax {
  RealToken kbps;
};

struct NodesSyntax {
  std::size_t at = 0;        // the master's name
  std::size_t slavesAt = 0;  // the first slave's name; 0 without a "Slaves" line
  std::string master;
  RealToken timeBase;
  RealToken jitter;
  std::vector<std::string> slaves;  // empty when the "Slaves" line is missing
};

struct SignalSyntax {
  std::size_t at = 0;
  std::string name;
  std::int64_t size = 0;
  bool arrayInitial = false;
  std::vector<std::int64_t> initial;  // one value, or the bytes of an array
  std::string publisher;
  std::vector<std::string> subscribers;
};

struct FrameEntrySyntax {
  std::size_t at = 0;
  std::string signal;
  std::int64_t bitOffset = 0;
};

struct FrameSyntax {
  std::size_t at = 0;
  std::string name;
  std::int64_t identifier = 0;
  std::string identifierText;  // as written
  std::string publisher;
  std::optional<std::int64_t> length;
  std::vector<FrameEntrySyntax> entries;
};

struct ValueSyntax {
  std::size_t at = 0;      // the value's keyword
  std::size_t textAt = 0;  // its quoted text
  ValueKind kind = ValueKind::kLogical;
  std::int64_t minimum = 0;  // the logical value, or the physical minimum
  std::int64_t maximum = 0;  // equals minimum for a logical value
  RealToken scale;
  RealToken offset;
  std::optional<std::string> text;
};

struct EncodingSyntax {
  std::size_t at = 0;
  std::string name;
  std::vector<ValueSyntax> values;
};

struct RepresentationSyntax {
  std::size_t at = 0;
  std::string encoding;
  std::vector<std::string> signals;
};

using SignalsSyntax = std::vector<SignalSyntax>;
using FramesSyntax = std::vector<FrameSyntax>;
using EncodingsSyntax = std::vector<EncodingSyntax>;
using RepresentationsSyntax = std::vector<RepresentationSyntax>;

// Whether two definitions of a signal say the same (its name aside).
bool SameSignalDefinition(const SignalSyntax& one, const SignalSyntax& other);

// The numeric value of a version text ("2.1" → 2.1); 0 when it is no number.
double VersionValue(const VersionSyntax& version);

// The frame's length: as written, or from identifier bits 4-5 when omitted
// (00 and 01 two bytes, 10 four, 11 eight).
std::int64_t FrameLength(const FrameSyntax& frame);

// The largest logical value or physical maximum; nullopt when the encoding
// has neither.
std::optional<std::int64_t> LargestValue(const EncodingSyntax& encoding);

// 4 for a bcd encoding, 8 for an ascii encoding, otherwise the number of bits
// of the largest value (0 when there is none or it is negative).
std::uint32_t EncodedBitSize(const EncodingSyntax& encoding);

}  // namespace orvane::signals
