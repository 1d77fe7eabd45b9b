// Reading a monitor log of 1,000,000 lines back into records.
//
// BM_ReadMonitorLog parses a log written by LogSequenceWriter (complete
// frames of every identifier, with requests, errors, I/O events and an
// extended frame of 30 bytes among them) and reports, as the counter
// "vs_line_split", its line rate divided by the rate of a plain split of the
// same bytes into lines (string_views at each '\n'), measured in the same
// run just before.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/LogWriter.h"
#include "review/MonitorLogReader.h"

namespace {

using namespace orvane;

constexpr std::size_t kLines = 1'000'000;

std::string MakeLog() {
  std::vector<monitor::MonitorRecord> records;
  records.reserve(kLines + kLines / 50);
  for (std::size_t line = 0; line < kLines; ++line) {
    monitor::MonitorRecord record{};
    record.time = static_cast<std::int32_t>(line * 3);
    record.node = line % 2 ? monitor::kNodeMaster : monitor::kNodeSlave;
    record.kind = line % 7 == 0 ? monitor::kKindRequest : monitor::kKindEnd;
    record.ident = static_cast<std::uint8_t>(line % 64);
    for (std::uint8_t& byte : record.data) byte = static_cast<std::uint8_t>(line);
    record.checksum = 0x5A;
    if (line % 97 == 0) record.error = monitor::kErrorChecksum;
    if (line % 1000 == 1) record.kind = monitor::kKindIoFirst + line % 6;
    if (line % 100 == 2) {
      record.flags = 3;
      record.SetExtLength(30);
      records.push_back(record);
      records.insert(records.end(), 2, monitor::MonitorRecord{});
      continue;
    }
    records.push_back(record);
  }
  monitor::LogFormat format;
  for (std::size_t id = 0; id < format.dataLengths.size(); ++id) {
    format.dataLengths[id] = static_cast<std::uint8_t>(id % 9);
  }
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* file = open_memstream(&buffer, &size);
  monitor::WriteLogHeader(file);
  monitor::LogSequenceWriter(format).Write(file, records);
  std::fclose(file);
  std::string log(buffer, size);
  std::free(buffer);
  return log;
}

// CPU time of this thread, as the benchmark library measures its own.
double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::size_t SplitLines(std::string_view text, std::vector<std::string_view>& lines) {
  lines.clear();
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines.size();
}

double SplitLinesPerSecond(std::string_view log) {
  std::vector<std::string_view> lines;
  lines.reserve(kLines + 1);
  std::size_t split = 0;
  const double start = ThreadCpuSeconds();
  double elapsed = 0;
  while (elapsed < 0.5) {
    split += SplitLines(log, lines);
    benchmark::DoNotOptimize(lines.data());
    benchmark::ClobberMemory();
    elapsed = ThreadCpuSeconds() - start;
  }
  return static_cast<double>(split) / elapsed;
}

void BM_ReadMonitorLog(benchmark::State& state) {
  const std::string log = MakeLog();
  const double splitRate = SplitLinesPerSecond(log);
  std::size_t lines = 0;
  std::size_t records = 0;
  const double start = ThreadCpuSeconds();
  for (auto _ : state) {
    const review::ReviewReadResult read = review::ParseMonitorLog(log);
    if (!read.review.problems.empty()) {
      state.SkipWithError("the log did not read back whole");
      return;
    }
    records += read.review.records.size();
    lines += kLines + 1;
  }
  const double elapsed = ThreadCpuSeconds() - start;
  state.SetItemsProcessed(static_cast<std::int64_t>(records));
  state.counters["lines_per_s"] = static_cast<double>(lines) / elapsed;
  state.counters["split_lines_per_s"] = splitRate;
  state.counters["vs_line_split"] = static_cast<double>(lines) / elapsed / splitRate;
  state.counters["log_mib"] = static_cast<double>(log.size()) / (1 << 20);
}
BENCHMARK(BM_ReadMonitorLog)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
