#include "simulation/MasterPatternPreview.h"

#include <optional>

#include "pattern/PatternLineReader.h"
#include "pattern/PatternRecord.h"
#include "simulation/SimMonitorCells.h"

namespace orvane::simulation {

namespace {

// The first line of the file whose row suits the rules, or nothing.
std::optional<pattern::ParsedPatternLine> FirstSuitableLine(std::string_view path,
                                                            const PatternRules& rules) {
  std::optional<std::ifstream> file = pattern::OpenPatternFile(std::filesystem::path(path));
  if (!file) return std::nullopt;
  pattern::PatternLineReader reader(*file);
  std::string piece;
  while (reader.Next(piece)) {
    const pattern::ParsedPatternLine line = pattern::ParsePatternLine(piece);
    if (RowSuits(line.record, rules)) return line;
  }
  return std::nullopt;
}

// The row put into an entry as a run puts it (data fitted to the defined
// length), and the entry shown as frame cells.
FrameCells FrameOfRow(const pattern::PatternRecord& record, const PatternRules& rules) {
  SimEntry entry{};
  RowCursor cursor;
  bool endReached = false;
  ApplyNextRow(entry, cursor, true, std::span(&record, 1), rules, endReached);
  return EntryFrameCells(entry, rules.identifiers);
}

}  // namespace

PreviewOutcome PreviewPatternRow(SlotRow& row, std::string_view path, const PatternRules& rules) {
  const std::optional<pattern::ParsedPatternLine> line = FirstSuitableLine(path, rules);
  if (!line) return PreviewOutcome::kNoSuitableRow;
  if (!line->ok) {
    row[kColumnPattern] = kUnchecked;
    return PreviewOutcome::kFormatError;
  }
  const FrameCells frame = FrameOfRow(line->record, rules);
  row[kColumnCommand] = frame.command;
  row[kColumnIdentifier] = frame.identifier;
  for (std::size_t i = 0; i < kSlotDataSize; ++i) row[DataColumn(i)] = frame.data[i];
  return PreviewOutcome::kShown;
}

std::string PatternFormatErrorText(std::string_view path) {
  return "Pattern file format error.That slot will be disabled.\n(" + std::string(path) + ")";
}

}  // namespace orvane::simulation
