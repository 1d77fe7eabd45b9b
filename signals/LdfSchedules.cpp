#include "signals/LdfSchedules.h"

#include <algorithm>
#include <unordered_map>

#include "signals/LdfScanner.h"

namespace orvane::signals {
namespace {

constexpr std::string_view kSectionKeyword = "Schedule_tables";

using FrameIndex = std::unordered_map<std::string_view, std::int32_t>;

FrameIndex IndexFrames(const LinDescription& description) {
  FrameIndex index;
  for (std::size_t frame = 0; frame < description.frames.size(); ++frame) {
    index.emplace(description.frames[frame].name, static_cast<std::int32_t>(frame));
  }
  return index;
}

int LineAt(std::string_view text, std::size_t offset, const LineMap* lines) {
  if (lines != nullptr) return lines->LineAt(offset);
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + offset, '\n'));
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string CollapseBlanks(std::string_view text) {
  std::string collapsed;
  for (const char c : text) {
    if (!IsBlank(c)) {
      collapsed.push_back(c);
    } else if (!collapsed.empty() && collapsed.back() != ' ') {
      collapsed.push_back(' ');
    }
  }
  return collapsed;
}

// The "}" that closes the "{" at `open`, or npos.
std::size_t MatchingBrace(std::string_view text, std::size_t open) {
  int depth = 0;
  for (std::size_t at = open; at < text.size(); ++at) {
    if (text[at] == '{') ++depth;
    if (text[at] == '}' && --depth == 0) return at;
  }
  return std::string_view::npos;
}

// Reads names and numbers separated by "," up to the closing "}".
bool ReadArguments(LdfScanner& scanner) {
  if (scanner.Keyword("}")) return true;
  do {
    if (!scanner.Identifier() && !scanner.Integer()) return false;
  } while (scanner.Keyword(","));
  return scanner.Keyword("}");
}

// Reads one entry "<frame or command> delay <real> ms ;" of the text
// `scanned` onto `slots`; returns what broke, empty when it was read.
std::string ReadEntry(LdfScanner& scanner, std::string_view scanned, const FrameIndex& frames,
                      std::vector<ScheduleSlot>& slots) {
  const std::optional<std::string> name = scanner.Identifier();
  if (!name) return "a frame or command expected";
  const std::size_t start = scanner.position() - name->size();
  ScheduleSlot slot{*name, -1, 0};
  if (scanner.Keyword("{")) {
    if (!ReadArguments(scanner)) return "the arguments of " + *name + " are not names or numbers";
    slot.frameName = CollapseBlanks(scanned.substr(start, scanner.position() - start));
  } else if (const auto found = frames.find(*name); found != frames.end()) {
    slot.frame = found->second;
  }
  if (!scanner.Keyword("delay")) return "\"delay\" expected after " + slot.frameName;
  const std::optional<RealToken> delay = scanner.Real();
  if (!delay || delay->value < 0) return "no delay of 0 ms or more after " + slot.frameName;
  if (!scanner.Unit("ms") || !scanner.Keyword(";")) {
    return "\"ms ;\" expected after the delay of " + slot.frameName;
  }
  slot.delayMs = delay->value;
  slots.push_back(std::move(slot));
  return {};
}

std::string ReadEntries(LdfScanner& scanner, std::string_view scanned, const FrameIndex& frames,
                        std::vector<ScheduleSlot>& slots) {
  while (!scanner.Keyword("}")) {
    if (std::string broken = ReadEntry(scanner, scanned, frames, slots); !broken.empty()) {
      return broken;
    }
  }
  return {};
}

}  // namespace

std::vector<ScheduleTable> ReadScheduleTables(std::string_view commentFreeText,
                                              const LinDescription& description,
                                              std::vector<std::string>* problems,
                                              const LineMap* lines) {
  const auto tell = [problems](std::string text) {
    if (problems != nullptr) problems->push_back(std::move(text));
  };
  LdfScanner finder(commentFreeText);
  if (!finder.FindSection(kSectionKeyword)) return {};
  const std::size_t sectionAt = finder.position() - kSectionKeyword.size();
  if (!finder.Keyword("{")) {
    tell("Schedule_tables (line " + std::to_string(LineAt(commentFreeText, sectionAt, lines)) +
         "): \"{\" expected; no table was read");
    return {};
  }

  const FrameIndex frames = IndexFrames(description);
  std::vector<ScheduleTable> tables;
  // Each table is read by a scanner of its own from `at` on, so that a
  // table that cannot be read is stepped over to its closing brace.
  std::size_t at = finder.position();
  while (true) {
    const std::string_view scanned = commentFreeText.substr(at);
    LdfScanner scanner(scanned);
    if (scanner.Keyword("}")) return tables;
    const std::optional<std::string> name = scanner.Identifier();
    const std::size_t nameAt = at + scanner.position() - (name ? name->size() : 0);
    const int line = LineAt(commentFreeText, nameAt, lines);
    if (!name || !scanner.Keyword("{")) {
      tell("Schedule_tables (line " + std::to_string(line) +
           "): a table name and \"{\" expected; the tables from there on were not read");
      return tables;
    }
    const std::size_t open = at + scanner.position() - 1;
    ScheduleTable table{*name, line, {}};
    const std::string broken = ReadEntries(scanner, scanned, frames, table.slots);
    if (broken.empty()) {
      tables.push_back(std::move(table));
      at += scanner.position();
      continue;
    }
    tell("Schedule table " + table.name + " (line " + std::to_string(line) +
         ") was left out: " + broken);
    const std::size_t close = MatchingBrace(commentFreeText, open);
    if (close == std::string_view::npos) return tables;
    at = close + 1;
  }
}

}  // namespace orvane::signals
