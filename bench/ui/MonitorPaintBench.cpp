// How long the monitor view takes to paint, on the offscreen platform:
// (a) a full page of 60 rows of the tail display into a QImage, (b) the
// browse display after a scroll into a wrapped ring of 100,000 records,
// (c) the header alone as the baseline. Target: medians of (a) and (b)
// under 4 ms. The ratios (a)/(c) and (b)/(c) of the medians are printed
// after the table.
#include <benchmark/benchmark.h>

#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench/MedianReporter.h"
#include "settings/SettingsRecord.h"
#include "views/MonitorRowFormat.h"
#include "views/MonitorRows.h"
#include "views/ui/MonitorGridPainter.h"
#include "views/ui/MonitorPagePaint.h"

namespace orvane::ui {
namespace {

constexpr int kRows = 60;
constexpr int kRepetitions = 9;

// A ring wrapped once: frames of every identifier, some errors, sent and
// received, and an I/O event now and then.
struct Fixture {
  Fixture() {
    auto records = ring.MutableRecords();
    const std::uint32_t count = monitor::MonitorCapacity + 12345;
    for (std::uint32_t n = 0; n < count; ++n) {
      monitor::MonitorRecord record{};
      record.time = static_cast<std::int32_t>(n * 7);
      record.node = static_cast<std::uint8_t>(1 + n % 2);
      record.flags = n % 3 == 0 ? monitor::MonitorRecord::kTxFlag : 0;
      record.kind = n % 50 == 7 ? 12 : n % 11 == 5 ? monitor::kKindError : monitor::kKindEnd;
      record.error = n % 11 == 5 ? monitor::kErrorChecksum : 0;
      record.ident = static_cast<std::uint8_t>(n % 64);
      record.sync = 0x55;
      for (int i = 0; i < 8; ++i) record.data[i] = static_cast<std::uint8_t>(n * 3 + i);
      record.checksum = static_cast<std::uint8_t>(n);
      records[n % monitor::MonitorCapacity] = record;
    }
    ring.Publish(count % monitor::MonitorCapacity, true);
    settings::SettingsRecord settings = settings::DefaultSettingsRecord("");
    settings.FrameHighlights[1].enabled = 1;
    settings.FrameHighlights[1].identifier = 0x21;
    format = views::MakeRowFormat(settings, "ENG", "IDEN", "HEX");
    grid = std::make_unique<MonitorGridPainter>(QFontDatabase::systemFont(QFontDatabase::FixedFont),
                                                format.layout);
    image = QImage(grid->columns().rowWidth() + 40, (kRows + 1) * grid->rowHeight(),
                   QImage::Format_RGB32);
    image.fill(Qt::white);
  }

  monitor::MonitorRing ring;
  views::RowFormat format;
  std::unique_ptr<MonitorGridPainter> grid;
  QImage image;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void TailPage(benchmark::State& state) {
  Fixture& f = Shared();
  const monitor::RingSnapshot snapshot = f.ring.Snapshot();
  for (auto _ : state) {
    QPainter painter(&f.image);
    f.grid->PaintHeader(painter, 0, f.image.width());
    PaintTailRows(painter, *f.grid, f.ring.Records(), snapshot, kRows, f.format);
    painter.end();
    benchmark::DoNotOptimize(f.image.constBits());
  }
  state.counters["rows"] = kRows;
}

void BrowseAfterScroll(benchmark::State& state) {
  Fixture& f = Shared();
  const monitor::RingSnapshot snapshot = f.ring.Snapshot();
  const int rowHeight = f.grid->rowHeight();
  const int maximum =
      views::ScrollMaximum(views::TotalHeight(snapshot, rowHeight), kRows * rowHeight);
  views::RelativeTimeMarker marker;
  views::ToggleMarker(marker, 1, 0);
  int scrollY = maximum / 3;
  for (auto _ : state) {
    // Each paint follows a scroll of a little more than a page, across the
    // ring's end and back.
    scrollY = (scrollY + (kRows + 7) * rowHeight) % (maximum + 1);
    const views::BrowsePage page = views::BrowseRows(snapshot, scrollY, rowHeight, kRows);
    QPainter painter(&f.image);
    PaintBrowsePage(painter, *f.grid, f.ring.Records(), page, f.format,
                    BrowseMarks{&marker, static_cast<std::int32_t>(page.firstIndex + 3)},
                    f.image.width(), f.image.height());
    painter.end();
    benchmark::DoNotOptimize(f.image.constBits());
  }
  state.counters["rows"] = kRows;
}

void HeaderOnly(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    QPainter painter(&f.image);
    f.grid->PaintHeader(painter, 0, f.image.width());
    painter.end();
    benchmark::DoNotOptimize(f.image.constBits());
  }
}

BENCHMARK(TailPage)
    ->Name("a_TailPage60Rows")
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(BrowseAfterScroll)
    ->Name("b_BrowseWrappedAfterScroll")
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(HeaderOnly)
    ->Name("c_HeaderOnly")
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace orvane::ui

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  orvane::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const auto median = [&](const char* name) { return reporter.Median(name); };
  const double header = median("c_HeaderOnly");
  if (header > 0) {
    std::printf("median (a) tail page, 60 rows:        %8.1f us  (a)/(c) = %.1f\n",
                median("a_TailPage60Rows"), median("a_TailPage60Rows") / header);
    std::printf("median (b) browse after scroll:       %8.1f us  (b)/(c) = %.1f\n",
                median("b_BrowseWrappedAfterScroll"),
                median("b_BrowseWrappedAfterScroll") / header);
    std::printf("median (c) header alone:              %8.1f us\n", header);
  }
  return 0;
}
