// Writing and reading 1,000,000 records as pcapng, against a memcpy of the
// same bytes in the same run.
//
// a_Memcpy copies the capture's bytes once; b_Write runs the pcapng writer
// over the records into a preallocated memory FILE; c_Read parses the
// capture back into records. The program prints each median as records per
// second and the write and read times as multiples of the memcpy.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/MedianReporter.h"
#include "monitor/LogWriter.h"
#include "review/CaptureReader.h"
#include "review/PcapngWriter.h"

namespace orvane::review {
namespace {

using monitor::MonitorRecord;

constexpr std::size_t kRecordCount = 1'000'000;
constexpr int kRepetitions = 5;

// Complete frames over all identifiers, a request, an error and a wake-up
// now and then, and an extended frame of 30 bytes (3 records) per 100.
const std::vector<MonitorRecord>& Traffic() {
  static const std::vector<MonitorRecord> records = [] {
    std::vector<MonitorRecord> made(kRecordCount);
    for (std::size_t index = 0; index < made.size(); ++index) {
      MonitorRecord& record = made[index];
      record.time = static_cast<std::int32_t>(index * 5);
      record.node = monitor::kNodeSlave;
      record.kind = index % 7 == 0 ? monitor::kKindRequest : monitor::kKindEnd;
      if (index % 50 == 0) record.kind = monitor::kKindWakeup;
      if (index % 31 == 0)
        record.error = monitor::kErrorChecksum, record.kind = monitor::kKindError;
      record.ident = static_cast<std::uint8_t>(index % 64);
      record.sync = 0x55;
      for (std::uint8_t& byte : record.data) byte = static_cast<std::uint8_t>(index);
      record.checksum = 0x5A;
    }
    for (std::size_t index = 10; index + 3 < made.size(); index += 100) {
      made[index].flags = 3;
      made[index].ident = 0x3E;
      made[index].SetExtLength(30);
    }
    return made;
  }();
  return records;
}

monitor::LogFormat Format() {
  monitor::LogFormat format;
  format.dataLengths.fill(8);
  return format;
}

RecordingSource Source() {
  return {"LIN Analyzer Firmware", "00000042", "Ver.3.11", 1772366400250};
}

std::size_t WriteInto(std::vector<char>& buffer) {
  std::FILE* file = ::fmemopen(buffer.data(), buffer.size(), "wb");
  PcapngWriter writer(file, Format(), false);
  writer.Begin(Source());
  writer.Write(Traffic());
  writer.Finish();
  const auto size = static_cast<std::size_t>(std::ftell(file));
  std::fclose(file);
  return size;
}

const std::vector<std::uint8_t>& Capture() {
  static const std::vector<std::uint8_t> bytes = [] {
    std::vector<char> buffer(kRecordCount * 128);
    buffer.resize(WriteInto(buffer));
    return std::vector<std::uint8_t>(buffer.begin(), buffer.end());
  }();
  return bytes;
}

void Memcpy(benchmark::State& state) {
  const std::vector<std::uint8_t>& capture = Capture();
  std::vector<std::uint8_t> copy(capture.size());
  for (auto _ : state) {
    std::memcpy(copy.data(), capture.data(), capture.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kRecordCount));
}

void Write(benchmark::State& state) {
  std::vector<char> buffer(Capture().size() + 4096);
  for (auto _ : state) benchmark::DoNotOptimize(WriteInto(buffer));
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kRecordCount));
}

void Read(benchmark::State& state) {
  const std::vector<std::uint8_t>& capture = Capture();
  for (auto _ : state) {
    const ReviewReadResult read = ParseCapture(capture);
    if (read.review.records.size() != kRecordCount) state.SkipWithError("records lost");
    benchmark::DoNotOptimize(read.review.records.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kRecordCount));
}

BENCHMARK(Memcpy)
    ->Name("a_Memcpy")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(Write)
    ->Name("b_Write")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(Read)
    ->Name("c_Read")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace orvane::review

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  orvane::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const double memcpy = reporter.Median("a_Memcpy");
  if (memcpy <= 0) return 0;
  const auto line = [&](const char* text, const char* name) {
    const double ms = reporter.Median(name);
    std::printf("%s %8.2f ms  %6.1f M records/s  %6.1f x memcpy\n", text, ms,
                orvane::review::kRecordCount / ms / 1000.0, ms / memcpy);
  };
  std::printf("capture of %zu records: %zu bytes\n", orvane::review::kRecordCount,
              orvane::review::Capture().size());
  line("median memcpy:", "a_Memcpy");
  line("median write: ", "b_Write");
  line("median read:  ", "c_Read");
  return 0;
}
