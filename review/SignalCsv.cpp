#include "review/SignalCsv.h"

#include <array>
#include <string_view>
#include <vector>

#include "monitor/MonitorTime.h"
#include "signals/SignalMonitorModel.h"

namespace orvane::review {

namespace {

constexpr std::string_view kHeaderRow = "Time,Frame,Signal,Raw,Value\r\n";

void WriteField(std::ostream& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out << field;
    return;
  }
  out << '"';
  for (const char c : field) {
    if (c == '"') out << '"';
    out << c;
  }
  out << '"';
}

// For each identifier, the signal monitor rows of its frame that are exported.
using ExportedRows = std::array<std::vector<signals::SignalRow>, monitor::kIdentifierCount>;

ExportedRows RowsToExport(const signals::LinDescription& description,
                          std::span<const std::string> signalNames) {
  ExportedRows rows;
  for (std::size_t frameIndex = 0; frameIndex < description.frames.size(); ++frameIndex) {
    const signals::Frame& frame = description.frames[frameIndex];
    if (frame.identifier >= monitor::kIdentifierCount) continue;
    for (std::size_t entry = 0; entry < frame.entries.size(); ++entry) {
      const std::string& name = description.signals[frame.entries[entry].signal].name;
      if (signalNames.empty() || std::ranges::find(signalNames, name) != signalNames.end()) {
        rows[frame.identifier].push_back(
            {static_cast<std::uint8_t>(frameIndex), static_cast<std::uint8_t>(entry)});
      }
    }
  }
  return rows;
}

}  // namespace

void WriteSignalCsv(std::ostream& out, const signals::LinDescription& description,
                    std::span<const std::string> signalNames,
                    std::span<const monitor::MonitorRecord> records) {
  const ExportedRows rows = RowsToExport(description, signalNames);
  out << kHeaderRow;
  monitor::MonitorTimeText timeText;
  std::size_t groupRecordsLeft = 0;
  for (const monitor::MonitorRecord& record : records) {
    // Extended-frame groups are skipped whole: their continuation records
    // hold data bytes, not events.
    if (groupRecordsLeft > 0) {
      --groupRecordsLeft;
      continue;
    }
    if (record.IsExtendedHeader()) {
      groupRecordsLeft = static_cast<std::size_t>(record.GroupSize()) - 1;
      continue;
    }
    if (record.kind != monitor::kKindEnd || record.error != monitor::kErrorNone) continue;
    const std::vector<signals::SignalRow>& frameRows =
        rows[static_cast<std::size_t>(record.Identifier())];
    if (frameRows.empty()) continue;
    const std::string_view time = monitor::FormatMonitorTimeTrimmed(record.time, timeText);
    const std::string& frameName = description.frames[frameRows.front().frame].name;
    const std::span<const std::uint8_t, signals::kDataBytes> data(record.data);
    for (const signals::SignalRow row : frameRows) {
      // A count of 1: the row shows this frame's value, not the initial one.
      const signals::SignalRowText text = signals::FillSignalRow(description, row, data, 1);
      out << time << ',';
      WriteField(out, frameName);
      out << ',';
      WriteField(out, text.name);
      out << ',' << text.value << ',';
      WriteField(out, text.encode);
      out << "\r\n";
    }
  }
}

}  // namespace orvane::review
