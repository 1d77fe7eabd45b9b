// orvane-cli stats FILE: per-identifier bus statistics of a monitor log or
// a pcapng or pcap capture (frames, rate, period minimum, mean and maximum,
// jitter, errors by kind, last seen) and the bus load, as a table with
// aligned columns, or with --csv as CSV (RFC 4180: a header row, rows
// ending CR LF). The load counts the frames' nominal bits at --baud; data
// lengths are those the file tells. What could not be read is left out and
// counted on stderr.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "review/ReadProblems.h"
#include "review/ReviewFile.h"
#include "settings/BaudRateTable.h"
#include "views/IdentifierStatistics.h"
#include "views/StatisticsTable.h"

namespace orvane::cli {
namespace {

struct StatsOptions {
  std::string input;
  bool csv = false;
  std::uint32_t baud = settings::kBaudRates[settings::kDefaultBaudRateCode].bitsPerSecond;
};

void PrintCsv(const std::vector<views::StatisticsRow>& rows) {
  // No cell holds a comma, a quote or a line break: none needs quoting.
  const auto printRow = [](const auto& cells) {
    for (std::size_t column = 0; column < cells.size(); ++column) {
      std::printf("%s%.*s", column == 0 ? "" : ",", static_cast<int>(cells[column].size()),
                  cells[column].data());
    }
    std::printf("\r\n");
  };
  printRow(views::StatisticsColumnTitles());
  for (const views::StatisticsRow& row : rows) printRow(row);
}

// Columns as wide as their widest cell, two blanks apart; the identifier
// left-aligned, the numbers and times right-aligned.
void PrintTable(const std::vector<views::StatisticsRow>& rows) {
  const auto titles = views::StatisticsColumnTitles();
  std::vector<std::size_t> widths;
  for (const std::string_view title : titles) widths.push_back(title.size());
  for (const views::StatisticsRow& row : rows) {
    for (std::size_t column = 0; column < row.size(); ++column) {
      widths[column] = std::max(widths[column], row[column].size());
    }
  }
  const auto printRow = [&](const auto& cells) {
    std::string line;
    for (std::size_t column = 0; column < cells.size(); ++column) {
      const std::string_view cell = cells[column];
      const std::string pad(widths[column] - cell.size(), ' ');
      if (column > 0) line += "  ";
      line += column == 0 ? std::string(cell) + pad : pad + std::string(cell);
    }
    line.erase(line.find_last_not_of(' ') + 1);
    std::printf("%s\n", line.c_str());
  };
  printRow(titles);
  for (const views::StatisticsRow& row : rows) printRow(row);
}

int Stats(const StatsOptions& options) {
  const review::ReviewReadResult read = review::ReadReviewFile(options.input);
  if (!read.error.empty()) return Fail("stats", options.input + ": " + read.error);
  if (!read.review.problems.empty()) {
    std::fprintf(
        stderr, "%s: %s\n", options.input.c_str(),
        review::DescribeReadProblems(read.review.problems, read.review.positionUnit).c_str());
  }
  views::IdentifierStatistics statistics(
      views::FrameBitsSetup{options.baud, read.review.format.dataLengths});
  statistics.Add(read.review.records);
  const std::vector<views::StatisticsRow> rows = views::StatisticsRows(statistics);
  if (options.csv) {
    PrintCsv(rows);
  } else {
    PrintTable(rows);
    std::printf("\n%s\n", views::BusLoadSummary(statistics).c_str());
  }
  return 0;
}

}  // namespace

void AddStats(CommandLine& commandLine) {
  CLI::App& stats = commandLine.AddCommand(
      commandLine.root(), "stats",
      "per-identifier bus statistics of a monitor log or capture: frames, rate, period, "
      "jitter, errors, bus load");
  const auto options = std::make_shared<StatsOptions>();
  stats.add_option("FILE", options->input, "the monitor log, pcapng or pcap file to read")
      ->required()
      ->type_name("");
  stats.add_flag("--csv", options->csv, "write the table as CSV (RFC 4180, CR LF line ends)");
  stats
      .add_option("--baud", options->baud,
                  "the bus baud rate the load is computed with (default 9600)")
      ->transform(NumberFrom(1))
      ->type_name("RATE");
  commandLine.RunsWhenChosen(stats, [options] { return Stats(*options); });
}

}  // namespace orvane::cli
