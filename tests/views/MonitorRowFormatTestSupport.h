// Helpers of the monitor row tests: row formats over the default settings,
// the cells of a formatted row, and the log's time text of a record.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "monitor/LogWriter.h"
#include "settings/SettingsRecord.h"
#include "views/MonitorRowFormat.h"

namespace orvane::views::testing {

struct Cell {
  int column;
  std::string text;
  CellBackground background;
  CellInk ink;
};

inline std::vector<Cell> Cells(const RowCells& row) {
  std::vector<Cell> cells;
  for (const RowCell& cell : row.cells()) {
    cells.push_back({cell.column, std::string(row.Text(cell)), cell.background, cell.ink});
  }
  return cells;
}

inline std::vector<Cell> Format(const monitor::MonitorRecord& record, const RowFormat& format,
                                const RowMarks& marks = {}) {
  RowCells row;
  FormatRow(record, format, marks, row);
  return Cells(row);
}

// The cell drawn last at `column`: what the column shows.
inline Cell Shown(const std::vector<Cell>& cells, int column) {
  for (auto it = cells.rbegin(); it != cells.rend(); ++it) {
    if (it->column == column) return *it;
  }
  ADD_FAILURE() << "no cell at column " << column;
  return {};
}

inline int CellsAt(const std::vector<Cell>& cells, int column) {
  int count = 0;
  for (const Cell& cell : cells) count += cell.column == column ? 1 : 0;
  return count;
}

inline std::string Blanks(std::size_t count) {
  return std::string(count, ' ');
}

inline std::string Padded(std::string text, std::size_t length) {
  if (text.size() < length) text.resize(length, ' ');
  return text;
}

// The default settings with every identifier 4 bytes long.
inline settings::SettingsRecord TestSettings() {
  settings::SettingsRecord settings = settings::DefaultSettingsRecord("");
  for (std::uint8_t& length : settings.Identifiers.dataLength) length = 4;
  return settings;
}

inline RowFormat TestFormat(const char* language = "ENG", const char* mode = "IDEN",
                            const char* radix = "HEX") {
  return MakeRowFormat(TestSettings(), language, mode, radix);
}

// The whole log line the log writer makes of an ordinary record.
inline std::string LogLine(const monitor::MonitorRecord& record) {
  std::FILE* file = std::tmpfile();
  monitor::WriteLogRecord(file, record, monitor::LogFormat{});
  std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
  std::rewind(file);
  const std::size_t read = std::fread(text.data(), 1, text.size(), file);
  std::fclose(file);
  text.resize(read);
  return text;
}

// The log line's time field: everything before its first comma.
inline std::string LogTime(std::int32_t time) {
  monitor::MonitorRecord record{};
  record.time = time;
  record.node = monitor::kNodeMaster;
  record.kind = monitor::kKindEnd;
  const std::string line = LogLine(record);
  return line.substr(0, line.find(','));
}

}  // namespace orvane::views::testing
