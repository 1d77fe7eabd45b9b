// How long the Signal Plot takes to redraw 8 signals of 1,000,000 points
// each over the whole time range into a QImage whose plot area is 1000
// pixels wide, on the offscreen platform, against drawing one vertical line
// per pixel column for each signal (1000 lines x 8) into the same image in
// the same run:
// (a) the full redraw: legend, axes, every series decimated to its columns
//     and drawn as a polyline (SignalPlotPainter::Paint, as the window does),
// (b) the decimation alone of the 8 series,
// (c) the baseline: 8 x 1000 vertical lines.
// The ratios of the medians to (c) are printed after the table.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "bench/MedianReporter.h"
#include "signals/PlotDecimation.h"
#include "signals/SignalSeries.h"
#include "signals/ui/SignalPlotPaint.h"

namespace orvane::ui {
namespace {

constexpr int kSignals = 8;
constexpr int kPoints = 1000000;
constexpr int kPlotWidth = 1000;
constexpr int kRepetitions = 9;

// Two frames of four 16-bit signals; half the signals physical in two
// units, the others logical or raw.
signals::LinDescription BenchDescription() {
  signals::LinDescription description;
  description.encodings = {
      {"Speed", 16, {{signals::ValueKind::kPhysical, 0, 65535, 0.01, 0, "km/h"}}},
      {"Volt", 16, {{signals::ValueKind::kPhysical, 0, 65535, 0.001, 0, "V"}}},
      {"State",
       16,
       {{signals::ValueKind::kLogical, 0, 0, 0, 0, "off"},
        {signals::ValueKind::kLogical, 1, 1, 0, 0, "on"}}},
  };
  for (int n = 0; n < kSignals; ++n) {
    const int encoding = n % 4 == 3 ? signals::kNoEncoding : n % 4;
    description.signals.push_back(
        {"S" + std::to_string(n), 16, 0, signals::kMasterNode, {}, encoding});
  }
  for (int frame = 0; frame < 2; ++frame) {
    signals::Frame f{
        "F" + std::to_string(frame), static_cast<std::uint8_t>(frame), signals::kMasterNode, 8, {}};
    for (int entry = 0; entry < 4; ++entry) {
      f.entries.push_back(
          {static_cast<std::uint32_t>(frame * 4 + entry), static_cast<std::uint32_t>(entry * 16)});
    }
    description.frames.push_back(f);
  }
  return description;
}

struct Fixture {
  Fixture() : description(BenchDescription()) {
    std::vector<signals::SignalRow> rows;
    for (std::uint8_t frame = 0; frame < 2; ++frame) {
      for (std::uint8_t entry = 0; entry < 4; ++entry) rows.push_back({frame, entry});
    }
    series = std::make_unique<signals::SignalSeriesSet>(description, rows);
    std::mt19937 random(3);
    std::array<std::uint8_t, signals::kDataBytes> data{};
    for (int n = 0; n < kPoints; ++n) {
      for (int frame = 0; frame < 2; ++frame) {
        for (int entry = 0; entry < 4; ++entry) {
          // A slow wave with noise: every column has its own extremes.
          const double wave = 30000 + 20000 * std::sin(n / (5000.0 + 900 * entry));
          const auto value = static_cast<std::uint16_t>(
              entry == 2 ? random() % 2 : wave + static_cast<double>(random() % 4000));
          data[2 * entry] = static_cast<std::uint8_t>(value);
          data[2 * entry + 1] = static_cast<std::uint8_t>(value >> 8);
        }
        series->AppendFrame(n, frame, data);
      }
    }
    strips = signals::PlotStrips(series->series());
    image = QImage(kPlotWidth + 82, 600, QImage::Format_RGB32);
  }

  SignalPlotScene Scene() const { return {series->series(), strips, {0, kPoints}, std::nullopt}; }

  signals::LinDescription description;
  std::unique_ptr<signals::SignalSeriesSet> series;
  std::vector<signals::PlotStrip> strips;
  QImage image;
  SignalPlotPainter painter;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void FullRedraw(benchmark::State& state) {
  Fixture& f = Shared();
  {
    QPainter painter(&f.image);
    state.counters["plot_px"] =
        SignalPlotPainter::PlotArea(painter.fontMetrics(), f.image.rect(), f.Scene()).width();
  }
  for (auto _ : state) {
    QPainter painter(&f.image);
    f.painter.Paint(painter, f.image.rect(), f.Scene());
  }
  state.counters["points"] = static_cast<double>(kSignals) * kPoints;
}

void DecimationOnly(benchmark::State& state) {
  Fixture& f = Shared();
  std::vector<signals::PlotVertex> vertices;
  vertices.reserve(signals::MaxDecimatedVertices(kPlotWidth));
  for (auto _ : state) {
    for (const signals::SignalSeries& series : f.series->series()) {
      signals::DecimateForColumns(series.times, series.values, series.extremes, {0, kPoints},
                                  kPlotWidth, vertices);
      benchmark::DoNotOptimize(vertices.data());
    }
  }
}

void VerticalLines(benchmark::State& state) {
  Fixture& f = Shared();
  const int height = f.image.height() / kSignals;
  for (auto _ : state) {
    QPainter painter(&f.image);
    painter.fillRect(f.image.rect(), Qt::white);
    for (int signal = 0; signal < kSignals; ++signal) {
      painter.setPen(SignalPlotPainter::ColourOf(static_cast<std::size_t>(signal)));
      const int top = signal * height;
      for (int x = 0; x < kPlotWidth; ++x) {
        painter.drawLine(72 + x, top + (x * 7) % height, 72 + x,
                         top + height - 1 - (x * 3) % height);
      }
    }
  }
}

BENCHMARK(FullRedraw)
    ->Name("a_Redraw8x1M")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(DecimationOnly)
    ->Name("b_Decimate8x1M")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(VerticalLines)
    ->Name("c_VerticalLines8x1000")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace orvane::ui

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  orvane::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const double lines = reporter.Median("c_VerticalLines8x1000");
  if (lines > 0) {
    for (const char* name : {"a_Redraw8x1M", "b_Decimate8x1M"}) {
      std::printf("median %-24s %10.3f ms  /(c) = %6.2f\n", name, reporter.Median(name),
                  reporter.Median(name) / lines);
    }
    std::printf("median %-24s %10.3f ms\n", "c_VerticalLines8x1000", lines);
  }
  return 0;
}
