#include "signals/LdfGrammar.h"

#include <utility>

namespace orvane::signals {
namespace {

// Reads {"," name} ";" onto `names`.
bool ReadMoreNames(LdfScanner& scanner, std::vector<std::string>& names) {
  while (scanner.Keyword(",")) {
    auto name = scanner.Identifier();
    if (!name) return false;
    names.push_back(std::move(*name));
  }
  return scanner.Keyword(";");
}

// Reads a real followed by its unit, e.g. "5 ms".
std::optional<RealToken> ReadRealWithUnit(LdfScanner& scanner, std::string_view unit) {
  auto value = scanner.Real();
  if (!value || !scanner.Unit(unit)) return std::nullopt;
  return value;
}

// SAE J2602 master lines carry two more attributes, the longest header in
// bits and the response tolerance ("24 bits, 30 %"); the monitor needs neither,
// so they are read over. Returns false only when they are there but malformed.
bool SkipJ2602MasterAttributes(LdfScanner& scanner) {
  if (!scanner.Keyword(",")) return true;
  return ReadRealWithUnit(scanner, "bits") && scanner.Keyword(",") &&
         ReadRealWithUnit(scanner, "%");
}

// Reads "{" {item} "}" where each item is read by `readItem`.
template <typename Item>
std::optional<std::vector<Item>> ReadBlock(LdfScanner& scanner,
                                           std::optional<Item> (*readItem)(LdfScanner&)) {
  if (!scanner.Keyword("{")) return std::nullopt;
  std::vector<Item> items;
  while (!scanner.Peek('}')) {
    auto item = readItem(scanner);
    if (!item) return std::nullopt;
    items.push_back(std::move(*item));
  }
  scanner.Keyword("}");
  return items;
}

bool ReadInitialValue(LdfScanner& scanner, SignalSyntax& signal) {
  signal.arrayInitial = scanner.Keyword("{");
  do {
    const auto value = scanner.Integer();
    if (!value) return false;
    signal.initial.push_back(*value);
  } while (signal.arrayInitial && scanner.Keyword(","));
  return !signal.arrayInitial || scanner.Keyword("}");
}

std::optional<SignalSyntax> ReadSignal(LdfScanner& scanner) {
  SignalSyntax signal;
  auto name = scanner.Identifier();
  signal.at = scanner.tokenStart();
  if (!name || !scanner.Keyword(":")) return std::nullopt;
  signal.name = std::move(*name);
  const auto size = scanner.Integer();
  if (!size || !scanner.Keyword(",")) return std::nullopt;
  signal.size = *size;
  if (!ReadInitialValue(scanner, signal) || !scanner.Keyword(",")) return std::nullopt;
  auto publisher = scanner.Identifier();
  if (!publisher) return std::nullopt;
  signal.publisher = std::move(*publisher);
  if (!ReadMoreNames(scanner, signal.subscribers)) return std::nullopt;
  return signal;
}

std::optional<FrameEntrySyntax> ReadFrameEntry(LdfScanner& scanner) {
  auto signal = scanner.Identifier();
  const std::size_t at = scanner.tokenStart();
  if (!signal) return std::nullopt;
  scanner.Keyword(",");
  const auto offset = scanner.Integer();
  if (!offset) return std::nullopt;
  scanner.Keyword(";");
  return FrameEntrySyntax{at, std::move(*signal), *offset};
}

std::optional<FrameSyntax> ReadFrame(LdfScanner& scanner) {
  FrameSyntax frame;
  auto name = scanner.Identifier();
  frame.at = scanner.tokenStart();
  if (!name || !scanner.Keyword(":")) return std::nullopt;
  frame.name = std::move(*name);
  const auto identifier = scanner.Integer();
  if (!identifier) return std::nullopt;
  frame.identifierText = scanner.TextSinceTokenStart();
  if (!scanner.Keyword(",")) return std::nullopt;
  frame.identifier = *identifier;
  auto publisher = scanner.Identifier();
  if (!publisher) return std::nullopt;
  frame.publisher = std::move(*publisher);
  if (scanner.Keyword(",")) {
    frame.length = scanner.Integer();
    if (!frame.length) return std::nullopt;
  }
  auto entries = ReadBlock(scanner, ReadFrameEntry);
  if (!entries) return std::nullopt;
  frame.entries = std::move(*entries);
  return frame;
}

// Reads ["," quoted text] behind a logical or physical value.
bool ReadOptionalText(LdfScanner& scanner, ValueSyntax& value) {
  if (!scanner.Keyword(",")) return true;
  value.text = scanner.Quoted();
  value.textAt = scanner.tokenStart();
  return value.text.has_value();
}

std::optional<ValueSyntax> ReadValue(LdfScanner& scanner) {
  ValueSyntax value;
  value.at = scanner.NextTokenStart();
  if (scanner.Keyword("logical_value")) {
    const auto logical = scanner.Keyword(",") ? scanner.Integer() : std::nullopt;
    if (!logical) return std::nullopt;
    value.minimum = value.maximum = *logical;
    if (!ReadOptionalText(scanner, value)) return std::nullopt;
  } else if (scanner.Keyword("physical_value")) {
    value.kind = ValueKind::kPhysical;
    const auto minimum = scanner.Keyword(",") ? scanner.Integer() : std::nullopt;
    const auto maximum = minimum && scanner.Keyword(",") ? scanner.Integer() : std::nullopt;
    const auto scale = maximum && scanner.Keyword(",") ? scanner.Real() : std::nullopt;
    const auto offset = scale && scanner.Keyword(",") ? scanner.Real() : std::nullopt;
    if (!offset) return std::nullopt;
    value.minimum = *minimum;
    value.maximum = *maximum;
    value.scale = *scale;
    value.offset = *offset;
    if (!ReadOptionalText(scanner, value)) return std::nullopt;
  } else if (scanner.Keyword("bcd_value")) {
    value.kind = ValueKind::kBcd;
  } else if (scanner.Keyword("ascii_value")) {
    value.kind = ValueKind::kAscii;
  } else {
    return std::nullopt;
  }
  if (!scanner.Keyword(";")) return std::nullopt;
  return value;
}

std::optional<EncodingSyntax> ReadEncoding(LdfScanner& scanner) {
  auto name = scanner.Identifier();
  const std::size_t at = scanner.tokenStart();
  if (!name) return std::nullopt;
  auto values = ReadBlock(scanner, ReadValue);
  if (!values) return std::nullopt;
  return EncodingSyntax{at, std::move(*name), std::move(*values)};
}

std::optional<RepresentationSyntax> ReadRepresentation(LdfScanner& scanner) {
  RepresentationSyntax representation;
  auto encoding = scanner.Identifier();
  representation.at = scanner.tokenStart();
  if (!encoding || !scanner.Keyword(":")) return std::nullopt;
  representation.encoding = std::move(*encoding);
  auto first = scanner.Identifier();
  if (!first) return std::nullopt;
  representation.signals.push_back(std::move(*first));
  if (!ReadMoreNames(scanner, representation.signals)) return std::nullopt;
  return representation;
}

}  // namespace

std::optional<VersionSyntax> ParseVersion(LdfScanner& scanner) {
  if (!scanner.Keyword("=")) return std::nullopt;
  auto text = scanner.Quoted();
  if (!text || !scanner.Keyword(";")) return std::nullopt;
  return VersionSyntax{std::move(*text)};
}

std::optional<SpeedSyntax> ParseSpeed(LdfScanner& scanner) {
  if (!scanner.Keyword("=")) return std::nullopt;
  const auto kbps = ReadRealWithUnit(scanner, "kbps");
  if (!kbps || !scanner.Keyword(";")) return std::nullopt;
  return SpeedSyntax{*kbps};
}

std::optional<NodesSyntax> ParseNodes(LdfScanner& scanner) {
  NodesSyntax nodes;
  if (!scanner.Keyword("{") || !scanner.Keyword("Master") || !scanner.Keyword(":")) {
    return std::nullopt;
  }
  auto master = scanner.Identifier();
  nodes.at = scanner.tokenStart();
  if (!master || !scanner.Keyword(",")) return std::nullopt;
  nodes.master = std::move(*master);
  const auto timeBase = ReadRealWithUnit(scanner, "ms");
  if (!timeBase || !scanner.Keyword(",")) return std::nullopt;
  const auto jitter = ReadRealWithUnit(scanner, "ms");
  if (!jitter || !SkipJ2602MasterAttributes(scanner) || !scanner.Keyword(";")) {
    return std::nullopt;
  }
  nodes.timeBase = *timeBase;
  nodes.jitter = *jitter;
  if (scanner.Keyword("Slaves")) {
    auto first = scanner.Keyword(":") ? scanner.Identifier() : std::nullopt;
    if (!first) return std::nullopt;
    nodes.slavesAt = scanner.tokenStart();
    nodes.slaves.push_back(std::move(*first));
    if (!ReadMoreNames(scanner, nodes.slaves)) return std::nullopt;
  }
  if (!scanner.Keyword("}")) return std::nullopt;
  return nodes;
}

std::optional<SignalsSyntax> ParseSignals(LdfScanner& scanner) {
  return ReadBlock(scanner, ReadSignal);
}

std::optional<FramesSyntax> ParseFrames(LdfScanner& scanner) {
  return ReadBlock(scanner, ReadFrame);
}

std::optional<EncodingsSyntax> ParseEncodings(LdfScanner& scanner) {
  return ReadBlock(scanner, ReadEncoding);
}

std::optional<RepresentationsSyntax> ParseRepresentations(LdfScanner& scanner) {
  return ReadBlock(scanner, ReadRepresentation);
}

}  // namespace orvane::signals
