#include "views/StatisticsTable.h"

#include <array>
#include <cstdio>

#include "monitor/MonitorTime.h"

namespace orvane::views {
namespace {

// Error columns in the order of their codes 1-12, then other codes.
constexpr std::array<std::size_t, kStatisticsErrorSlots> kErrorColumnSlots{1, 2, 3,  4,  5,  6, 7,
                                                                           8, 9, 10, 11, 12, 0};

constexpr std::array<std::string_view, 21> kTitles{
    "ID",
    "Frames",
    "Rate [1/s]",
    "Period Min [ms]",
    "Period Mean [ms]",
    "Period Max [ms]",
    "Jitter SD [ms]",
    "Parity",
    "CheckSum",
    "Short Msg",
    "Bit",
    "No Res",
    "Sync Break-L",
    "Sync Field",
    "Overrun",
    "Framing",
    "Buffer",
    "Sync Break-S",
    "Bus",
    "Other",
    "Last Seen",
};

std::string Fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string LastSeenText(std::int32_t time) {
  monitor::MonitorTimeText text;
  return std::string(monitor::FormatMonitorTimeTrimmed(time, text));
}

std::string IdentifierText(int identifier) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", identifier);
  return text;
}

StatisticsRow RowOf(std::string identifier, const IdentifierCounts& counts,
                    const IdentifierStatistics& statistics) {
  StatisticsRow row{std::move(identifier), std::to_string(counts.frames)};
  const std::optional<double> rate = statistics.Rate(counts);
  row.push_back(rate ? Fixed(*rate, 2) : std::string());
  if (counts.periods > 0) {
    row.push_back(std::to_string(counts.periodMin));
    row.push_back(Fixed(counts.periodMean, 3));
    row.push_back(std::to_string(counts.periodMax));
    row.push_back(Fixed(counts.Jitter(), 3));
  } else {
    row.insert(row.end(), 4, std::string());
  }
  for (const std::size_t slot : kErrorColumnSlots)
    row.push_back(std::to_string(counts.errors[slot]));
  row.push_back(counts.lastSeen ? LastSeenText(*counts.lastSeen) : std::string());
  return row;
}

}  // namespace

std::span<const std::string_view> StatisticsColumnTitles() {
  return kTitles;
}

std::vector<StatisticsRow> StatisticsRows(const IdentifierStatistics& statistics) {
  std::vector<StatisticsRow> rows;
  for (int identifier = 0; identifier < monitor::kIdentifierCount; ++identifier) {
    const IdentifierCounts& counts = statistics.Of(identifier);
    if (counts.Seen()) rows.push_back(RowOf(IdentifierText(identifier), counts, statistics));
  }
  if (statistics.Unidentified().Seen()) {
    StatisticsRow row = RowOf("-", statistics.Unidentified(), statistics);
    row[1].clear();  // frames and rate do not apply
    row[2].clear();
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string BusLoadSummary(const IdentifierStatistics& statistics) {
  if (statistics.RecordCount() == 0) return "Bus load: no records";
  const double seconds = static_cast<double>(statistics.SpanMs()) / 1000;
  return "Bus load: mean " + Fixed(statistics.MeanLoadPercent(), 1) + " %, peak " +
         Fixed(statistics.PeakLoadPercent(), 1) + " % over " + Fixed(seconds, 3) + " s at " +
         std::to_string(statistics.setup().baud) + " bit/s";
}

}  // namespace orvane::views
