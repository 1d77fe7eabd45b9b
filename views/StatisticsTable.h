// The bus statistics as text: the column titles and one row of cells per
// identifier seen (in identifier order, then the row of errors without an
// identifier when there were any), and the bus load summary. orvane-cli's
// table and CSV and the Bus Statistics window show exactly these texts.
//
// Cells: "0x1A" (or "-" for errors without identifier), counts in decimal,
// rate in frames per second with 2 decimals, period minimum and maximum in
// whole milliseconds, mean and jitter (standard deviation of the period)
// with 3 decimals, last seen as the monitor time without padding
// ("00:00:01.234"). Cells that do not apply (no period yet, no span) are
// empty.
//
// Threads: pure functions; any thread.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "views/IdentifierStatistics.h"

namespace orvane::views {

using StatisticsRow = std::vector<std::string>;

std::span<const std::string_view> StatisticsColumnTitles();
std::vector<StatisticsRow> StatisticsRows(const IdentifierStatistics& statistics);

// "Bus load: mean 12.3 %, peak 20.1 % over 5.250 s at 19200 bit/s", or
// "Bus load: no records" before any.
std::string BusLoadSummary(const IdentifierStatistics& statistics);

}  // namespace orvane::views
