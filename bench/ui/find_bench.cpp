// How long the Find window's search takes over a wrapped ring of 100,000
// records, against a plain scan of the same records in the same run:
// (a) "Find" with a byte condition that no frame meets: the matcher is
//     primed over the whole range, then the whole range is walked;
// (b) "Find" with a rising-edge bit condition whose only edge is in the
//     newest frame of the identifier: one walk to the end of the range;
// (c) the plain scan: every record of the range in age order, counting the
//     frames of the identifier whose first data byte has a value.
// Target: medians of (a) and (b) under 20 ms. The ratios (a)/(c) and (b)/(c)
// of the medians and the absolute medians are printed after the table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "bench/MedianReporter.h"
#include "monitor/MonitorState.h"
#include "settings/FindCondition.h"
#include "settings/FixedText.h"
#include "views/MonitorFind.h"

namespace orvane::views {
namespace {

constexpr int kRepetitions = 9;
constexpr std::uint8_t kIdentifier = 0x21;
constexpr int kDataLength = 4;

// A ring wrapped once: frames of every identifier, some errors and I/O
// events. The frames of kIdentifier have bit 0 of D0 clear, except the
// newest one.
struct Fixture {
  Fixture() {
    auto records = ring.MutableRecords();
    const std::uint32_t count = monitor::MonitorCapacity + 12345;
    std::uint32_t newest = 0;
    for (std::uint32_t n = 0; n < count; ++n) {
      monitor::MonitorRecord record{};
      record.time = static_cast<std::int32_t>(n * 7);
      record.node = static_cast<std::uint8_t>(1 + n % 2);
      record.kind = n % 50 == 7 ? 12 : n % 11 == 5 ? monitor::kKindError : monitor::kKindEnd;
      record.error = n % 11 == 5 ? monitor::kErrorChecksum : 0;
      record.ident = static_cast<std::uint8_t>(n % 64);
      for (int i = 0; i < 8; ++i) record.data[i] = static_cast<std::uint8_t>(n * 3 + i);
      if (record.Identifier() == kIdentifier) {
        record.data[0] &= 0xFE;
        if (record.kind == monitor::kKindEnd) newest = n % monitor::MonitorCapacity;
      }
      records[n % monitor::MonitorCapacity] = record;
    }
    records[newest].data[0] |= 0x01;
    ring.Publish(count % monitor::MonitorCapacity, true);

    noHit = settings::DefaultFindCondition();
    noHit.kind = settings::kFindFrame;
    noHit.identifier = kIdentifier;
    noHit.dataCompare = 1;
    settings::CopyToField("01", noHit.bytePatterns[0]);  // D0 is always even

    risingEdge = noHit;
    risingEdge.compareMode = 1;
    risingEdge.bitPatterns[0][0] = 'U';
  }

  monitor::MonitorRing ring;
  settings::FindCondition noHit{};
  settings::FindCondition risingEdge{};
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void FindWithoutHit(benchmark::State& state) {
  Fixture& f = Shared();
  const monitor::RingSnapshot snapshot = f.ring.Snapshot();
  for (auto _ : state) {
    MonitorFind find;
    benchmark::DoNotOptimize(find.FindFirst(f.noHit, kDataLength, f.ring.Records(), snapshot));
  }
}

void FindEdgeInNewestFrame(benchmark::State& state) {
  Fixture& f = Shared();
  const monitor::RingSnapshot snapshot = f.ring.Snapshot();
  for (auto _ : state) {
    MonitorFind find;
    const auto hit = find.FindFirst(f.risingEdge, kDataLength, f.ring.Records(), snapshot);
    if (!hit) state.SkipWithError("the edge was not found");
    benchmark::DoNotOptimize(hit);
  }
}

void PlainScan(benchmark::State& state) {
  Fixture& f = Shared();
  const monitor::RingSnapshot snapshot = f.ring.Snapshot();
  const auto records = f.ring.Records();
  for (auto _ : state) {
    std::uint32_t count = 0;
    for (std::uint32_t position = 0; position < snapshot.Count(); ++position) {
      const monitor::MonitorRecord& record = records[snapshot.IndexOf(position)];
      count += record.Identifier() == kIdentifier && record.data[0] == 0x01 ? 1 : 0;
    }
    benchmark::DoNotOptimize(count);
  }
}

BENCHMARK(FindWithoutHit)
    ->Name("a_FindWithoutHit")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(FindEdgeInNewestFrame)
    ->Name("b_FindEdgeInNewestFrame")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(PlainScan)
    ->Name("c_PlainScan")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace orvane::views

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  orvane::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const auto median = [&](const char* name) { return reporter.Median(name); };
  const double scan = median("c_PlainScan");
  if (scan > 0) {
    std::printf("median (a) find, no hit:            %8.2f ms  (a)/(c) = %.1f\n",
                median("a_FindWithoutHit"), median("a_FindWithoutHit") / scan);
    std::printf("median (b) find, edge in newest:    %8.2f ms  (b)/(c) = %.1f\n",
                median("b_FindEdgeInNewestFrame"), median("b_FindEdgeInNewestFrame") / scan);
    std::printf("median (c) plain scan:              %8.2f ms\n", scan);
  }
  return 0;
}
