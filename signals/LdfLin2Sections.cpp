#include "signals/LdfLin2Sections.h"

#include <optional>
#include <unordered_map>
#include <utility>

#include "signals/LdfScanner.h"

namespace orvane::signals {
namespace {

constexpr std::int64_t kMasterRequestId = 0x3C;

// Reads "{" {item} "}" with `readItem`; nullopt when an item fails.
template <typename Item, typename ReadItem>
std::optional<std::vector<Item>> ReadBlock(LdfScanner& scanner, ReadItem readItem) {
  if (!scanner.Keyword("{")) return std::nullopt;
  std::vector<Item> items;
  while (!scanner.Peek('}')) {
    std::optional<Item> item = readItem(scanner);
    if (!item) return std::nullopt;
    items.push_back(std::move(*item));
  }
  scanner.Keyword("}");
  return items;
}

// The section behind `keyword` read with `readItem`; empty when the file has
// no such section or it does not follow the grammar.
template <typename Item, typename ReadItem>
std::vector<Item> ReadSection(std::string_view text, std::string_view keyword, ReadItem readItem) {
  LdfScanner scanner(text);
  if (!scanner.FindSection(keyword)) return {};
  return ReadBlock<Item>(scanner, readItem).value_or(std::vector<Item>{});
}

// Reads name {"," name} onto `names`, up to and including the ";".
bool ReadNameList(LdfScanner& scanner, std::vector<std::string>& names) {
  do {
    auto name = scanner.Identifier();
    if (!name) return false;
    names.push_back(std::move(*name));
  } while (scanner.Keyword(","));
  return scanner.Keyword(";");
}

std::optional<Signal> ReadDiagnosticSignal(LdfScanner& scanner) {
  auto name = scanner.Identifier();
  if (!name || !scanner.Keyword(":")) return std::nullopt;
  const auto size = scanner.Integer();
  if (!size || *size < 1 || *size > 64 || !scanner.Keyword(",")) return std::nullopt;
  const auto initial = scanner.Integer();
  if (!initial || !scanner.Keyword(";")) return std::nullopt;
  Signal signal;
  signal.name = std::move(*name);
  signal.size = static_cast<std::uint32_t>(*size);
  signal.initialValue = static_cast<std::uint64_t>(*initial);
  return signal;
}

struct DiagnosticEntry {
  std::string signal;
  std::int64_t bitOffset = 0;
};

struct DiagnosticFrame {
  std::string name;
  std::int64_t identifier = 0;
  std::vector<DiagnosticEntry> entries;
};

std::optional<DiagnosticEntry> ReadDiagnosticEntry(LdfScanner& scanner) {
  auto signal = scanner.Identifier();
  if (!signal || !scanner.Keyword(",")) return std::nullopt;
  const auto offset = scanner.Integer();
  if (!offset || !scanner.Keyword(";")) return std::nullopt;
  return DiagnosticEntry{std::move(*signal), *offset};
}

std::optional<DiagnosticFrame> ReadDiagnosticFrame(LdfScanner& scanner) {
  auto name = scanner.Identifier();
  if (!name || !scanner.Keyword(":")) return std::nullopt;
  const auto identifier = scanner.Integer();
  if (!identifier) return std::nullopt;
  auto entries = ReadBlock<DiagnosticEntry>(scanner, ReadDiagnosticEntry);
  if (!entries) return std::nullopt;
  return DiagnosticFrame{std::move(*name), *identifier, std::move(*entries)};
}

// The diagnostic frames with their entries resolved against the diagnostic
// signals; empty when an entry names no diagnostic signal or does not lie
// inside eight data bytes.
std::vector<Frame> ResolveDiagnosticFrames(const std::vector<DiagnosticFrame>& written,
                                           const std::vector<Signal>& signals) {
  std::unordered_map<std::string_view, std::uint32_t> indices;
  for (std::uint32_t index = 0; index < signals.size(); ++index) {
    indices.emplace(signals[index].name, index);
  }
  std::vector<Frame> frames;
  for (const DiagnosticFrame& syntax : written) {
    if (syntax.identifier < 0 || syntax.identifier > 0x3F) return {};
    Frame frame;
    frame.name = syntax.name;
    frame.identifier = static_cast<std::uint8_t>(syntax.identifier);
    frame.publisher = syntax.identifier == kMasterRequestId ? kMasterNode : kAnySlave;
    frame.length = 8;
    for (const DiagnosticEntry& entry : syntax.entries) {
      const auto found = indices.find(entry.signal);
      if (found == indices.end() || entry.bitOffset < 0 ||
          entry.bitOffset + signals[found->second].size > 64) {
        return {};
      }
      frame.entries.push_back({found->second, static_cast<std::uint32_t>(entry.bitOffset)});
    }
    frames.push_back(std::move(frame));
  }
  return frames;
}

std::optional<EventTriggeredFrame> ReadEventTriggeredFrame(LdfScanner& scanner) {
  EventTriggeredFrame frame;
  auto name = scanner.Identifier();
  if (!name || !scanner.Keyword(":")) return std::nullopt;
  frame.name = std::move(*name);
  if (auto schedule = scanner.Identifier()) {
    frame.collisionSchedule = std::move(*schedule);
    if (!scanner.Keyword(",")) return std::nullopt;
  }
  const auto identifier = scanner.Integer();
  if (!identifier) return std::nullopt;
  frame.identifier = *identifier;
  if (scanner.Keyword(";")) return frame;
  if (!scanner.Keyword(",") || !ReadNameList(scanner, frame.frames)) return std::nullopt;
  return frame;
}

std::optional<SporadicFrame> ReadSporadicFrame(LdfScanner& scanner) {
  SporadicFrame frame;
  auto name = scanner.Identifier();
  if (!name || !scanner.Keyword(":") || !ReadNameList(scanner, frame.frames)) return std::nullopt;
  frame.name = std::move(*name);
  return frame;
}

// One value of an attribute: a quoted text, a number (with an optional "ms"
// or "%") or a name.
struct AttributeValue {
  std::string text;
  std::optional<double> number;
};

std::optional<AttributeValue> ReadAttributeValue(LdfScanner& scanner) {
  if (auto quoted = scanner.Quoted()) return AttributeValue{std::move(*quoted), std::nullopt};
  if (auto real = scanner.Real()) {
    if (!scanner.Unit("ms")) scanner.Unit("%");
    return AttributeValue{real->text, real->value};
  }
  if (auto name = scanner.Identifier()) return AttributeValue{std::move(*name), std::nullopt};
  return std::nullopt;
}

// "{" { frame ["=" id] ";" } "}"
bool ReadConfigurableFrames(LdfScanner& scanner, std::vector<std::string>& frames) {
  if (!scanner.Keyword("{")) return false;
  while (!scanner.Peek('}')) {
    auto name = scanner.Identifier();
    if (!name) return false;
    if (scanner.Keyword("=") && !scanner.Integer()) return false;
    if (!scanner.Keyword(";")) return false;
    frames.push_back(std::move(*name));
  }
  return scanner.Keyword("}");
}

// Steps over a block of attributes this program does not use, braces balanced.
bool SkipBlock(LdfScanner& scanner) {
  if (!scanner.Keyword("{")) return false;
  while (!scanner.Keyword("}")) {
    if (scanner.Peek('{')) {
      if (!SkipBlock(scanner)) return false;
    } else if (!scanner.Quoted() && !scanner.Real() && !scanner.Identifier() &&
               !scanner.Keyword(",") && !scanner.Keyword(";") && !scanner.Keyword("=")) {
      return false;
    }
  }
  return true;
}

std::optional<double> NumberOf(const std::vector<AttributeValue>& values) {
  return values.empty() ? std::nullopt : values.front().number;
}

std::optional<std::int64_t> IntegerOf(const std::vector<AttributeValue>& values) {
  const auto number = NumberOf(values);
  if (!number) return std::nullopt;
  return static_cast<std::int64_t>(*number);
}

void Assign(NodeAttributes& node, std::string_view attribute,
            const std::vector<AttributeValue>& values) {
  if (attribute == "LIN_protocol" && !values.empty()) {
    node.protocol = values.front().text;
  } else if (attribute == "configured_NAD") {
    node.configuredNad = IntegerOf(values);
  } else if (attribute == "initial_NAD") {
    node.initialNad = IntegerOf(values);
  } else if (attribute == "product_id") {
    for (const AttributeValue& value : values) {
      if (value.number) node.productId.push_back(static_cast<std::int64_t>(*value.number));
    }
  } else if (attribute == "response_error" && !values.empty()) {
    node.responseError = values.front().text;
  } else if (attribute == "P2_min") {
    node.p2MinMs = NumberOf(values);
  } else if (attribute == "ST_min") {
    node.stMinMs = NumberOf(values);
  } else if (attribute == "N_As_timeout") {
    node.nAsTimeoutMs = NumberOf(values);
  } else if (attribute == "N_Cr_timeout") {
    node.nCrTimeoutMs = NumberOf(values);
  }
}

// attribute "=" value {"," value} ";", or a block of them.
bool ReadAttribute(LdfScanner& scanner, NodeAttributes& node) {
  const auto attribute = scanner.Identifier();
  if (!attribute) return false;
  if (*attribute == "configurable_frames") {
    return ReadConfigurableFrames(scanner, node.configurableFrames);
  }
  if (scanner.Peek('{')) return SkipBlock(scanner);
  if (!scanner.Keyword("=")) return false;
  std::vector<AttributeValue> values;
  do {
    auto value = ReadAttributeValue(scanner);
    if (!value) return false;
    values.push_back(std::move(*value));
  } while (scanner.Keyword(","));
  if (!scanner.Keyword(";")) return false;
  Assign(node, *attribute, values);
  return true;
}

std::optional<NodeAttributes> ReadNodeAttributes(LdfScanner& scanner) {
  NodeAttributes node;
  auto name = scanner.Identifier();
  if (!name || !scanner.Keyword("{")) return std::nullopt;
  node.node = std::move(*name);
  while (!scanner.Keyword("}")) {
    if (!ReadAttribute(scanner, node)) return std::nullopt;
  }
  return node;
}

}  // namespace

void ReadLin2Sections(std::string_view commentFreeText, LinDescription& description) {
  description.diagnosticSignals =
      ReadSection<Signal>(commentFreeText, "Diagnostic_signals", ReadDiagnosticSignal);
  description.diagnosticFrames = ResolveDiagnosticFrames(
      ReadSection<DiagnosticFrame>(commentFreeText, "Diagnostic_frames", ReadDiagnosticFrame),
      description.diagnosticSignals);
  description.eventTriggeredFrames = ReadSection<EventTriggeredFrame>(
      commentFreeText, "Event_triggered_frames", ReadEventTriggeredFrame);
  description.sporadicFrames =
      ReadSection<SporadicFrame>(commentFreeText, "Sporadic_frames", ReadSporadicFrame);
  description.nodeAttributes =
      ReadSection<NodeAttributes>(commentFreeText, "Node_attributes", ReadNodeAttributes);
}

}  // namespace orvane::signals
