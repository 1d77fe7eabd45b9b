// How long the Signal monitor window takes to refresh 200 selected signals,
// on the offscreen platform, against a plain scan of the same frame records
// in the same run:
// (a) every row filled again (the last refresh after a stop),
// (b) one 200 ms tick while monitoring runs (the selection compared, the
//     visible rows filled),
// (c) the texts of every row from the core alone, without the list,
// (d) the baseline: the 200 rows' frame records and counters read and
//     summed.
// Before each pass every frame record changes, as under traffic. The ratios
// of the medians to (d) are printed after the table.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "bench/MedianReporter.h"
#include "app/AppState.h"
#include "app/LoadedDescription.h"
#include "monitor/MonitorState.h"
#include "settings/SettingsRecord.h"
#include "signals/SignalMonitorModel.h"
#include "signals/ui/SignalSources.h"
#include "signals/ui/cls_psig_mvw.h"

namespace orvane::ui {
namespace {

constexpr int kFrames = 25;
constexpr int kSignalsPerFrame = 8;  // 8 bits each: a full 8-byte frame
constexpr int kSelectedSignals = kFrames * kSignalsPerFrame;
constexpr int kRepetitions = 9;

// A description of kFrames frames of kSignalsPerFrame 8-bit signals,
// published by a master and four slaves, every signal with a physical or
// a logical encoding.
std::string GeneratedDescription() {
  const char* nodes[] = {"Gateway", "S0", "S1", "S2", "S3"};
  std::string signalsSection, framesSection, temperatures, levels;
  for (int frame = 0; frame < kFrames; ++frame) {
    const std::string publisher = nodes[frame % 5];
    const std::string subscriber = frame % 5 == 0 ? "S0" : "Gateway";
    framesSection +=
        "  F" + std::to_string(frame) + ": " + std::to_string(frame) + ", " + publisher + ", 8 {\n";
    for (int entry = 0; entry < kSignalsPerFrame; ++entry) {
      const std::string name = "Sig" + std::to_string(frame) + "_" + std::to_string(entry);
      signalsSection += "  " + name + ": 8, 0, " + publisher + ", " + subscriber + ";\n";
      framesSection += "    " + name + ", " + std::to_string(entry * 8) + ";\n";
      std::string& list = entry % 2 == 0 ? temperatures : levels;
      list += (list.empty() ? " " : ", ") + name;
    }
    framesSection += "  }\n";
  }
  std::string text = "LIN_description_file;\n";
  text += "Nodes {\n  Master: Gateway, 5 ms, 0.1 ms;\n  Slaves: S0, S1, S2, S3;\n}\n";
  text += "Signals {\n" + signalsSection + "}\n";
  text += "Frames {\n" + framesSection + "}\n";
  text += "Signal_encoding_types {\n";
  text += "  Temperature {\n    physical_value, 0, 254, 0.5, -40, \"degC\";\n";
  text += "    logical_value, 255, \"sensor fault\";\n  }\n";
  text += "  Level {\n    physical_value, 0, 250, 0.4, 0, \"%\";\n";
  text += "    physical_value, 251, 254, 1, 0, \"reserved\";\n";
  text += "    logical_value, 255, \"invalid\";\n  }\n}\n";
  text += "Signal_representation {\n  Temperature:" + temperatures + ";\n";
  text += "  Level:" + levels + ";\n}\n";
  return text;
}

struct Fixture {
  Fixture() {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "orvane-signal-monitor-bench.ldf";
    std::ofstream(file) << GeneratedDescription();
    loaded = description.Reload(file.string());
    std::filesystem::remove(file);
    if (!loaded) return;
    signals::SignalSelection selection = SelectionOf(settings);
    for (unsigned frame = 0; frame < kFrames; ++frame) {
      selection.SelectFrame(frame, true);
      for (unsigned entry = 0; entry < kSignalsPerFrame; ++entry) {
        selection.SelectEntry(frame, entry, true);
      }
    }
    state.AcquisitionRunning = 1;
    view = std::make_unique<cls_psig_mvw>(sources);
    view->resize(650, 350);
    view->show();
  }

  // Every frame record of the description changes, as under traffic.
  void NextFrames() {
    ++pass;
    for (int identifier = 0; identifier < kFrames; ++identifier) {
      monitor::MonitorRecord record{};
      for (int byte = 0; byte < 8; ++byte) {
        record.data[byte] = static_cast<std::uint8_t>(pass * 7 + identifier + byte * 31);
      }
      frames->records[static_cast<std::size_t>(identifier)].Store(record);
      frames->counters[static_cast<std::size_t>(identifier)].store(pass, std::memory_order_release);
    }
  }

  app::LoadedDescription description;
  bool loaded = false;
  settings::SettingsRecord settings = settings::DefaultSettingsRecord("");
  app::AppState state;
  std::unique_ptr<monitor::LastFrameSlots> frames = std::make_unique<monitor::LastFrameSlots>();
  SignalSources sources{description, settings, state, *frames};
  std::unique_ptr<cls_psig_mvw> view;
  std::uint32_t pass = 0;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

bool Ready(benchmark::State& state) {
  if (Shared().loaded && Shared().view->rows().size() == std::size_t{kSelectedSignals}) return true;
  state.SkipWithError("the generated description did not load with 200 selected signals");
  return false;
}

void FullRefresh(benchmark::State& state) {
  if (!Ready(state)) return;
  Fixture& f = Shared();
  for (auto _ : state) {
    f.NextFrames();
    f.view->RefreshAllRows();
  }
  state.counters["rows"] = kSelectedSignals;
}

void TickWhileMonitoring(benchmark::State& state) {
  if (!Ready(state)) return;
  Fixture& f = Shared();
  for (auto _ : state) {
    f.NextFrames();
    f.view->OnRefreshTimer();
  }
}

void CoreTexts(benchmark::State& state) {
  if (!Ready(state)) return;
  Fixture& f = Shared();
  const signals::LinDescription& description = *f.description.Description();
  for (auto _ : state) {
    f.NextFrames();
    for (const signals::SignalRow row : f.view->rows()) {
      const std::uint8_t identifier = description.frames[row.frame].identifier;
      const monitor::MonitorRecord record = f.frames->records[identifier].Load();
      benchmark::DoNotOptimize(
          signals::FillSignalRow(description, row, record.data,
                                 f.frames->counters[identifier].load(std::memory_order_acquire)));
    }
  }
}

void PlainScan(benchmark::State& state) {
  if (!Ready(state)) return;
  Fixture& f = Shared();
  const signals::LinDescription& description = *f.description.Description();
  for (auto _ : state) {
    f.NextFrames();
    std::uint64_t sum = 0;
    for (const signals::SignalRow row : f.view->rows()) {
      const std::uint8_t identifier = description.frames[row.frame].identifier;
      sum += f.frames->counters[identifier].load(std::memory_order_acquire);
      for (const std::uint8_t byte : f.frames->records[identifier].Load().data) sum += byte;
    }
    benchmark::DoNotOptimize(sum);
  }
}

BENCHMARK(FullRefresh)
    ->Name("a_FullRefresh200Rows")
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(TickWhileMonitoring)
    ->Name("b_TickWhileMonitoring")
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(CoreTexts)
    ->Name("c_CoreTexts200Rows")
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(PlainScan)
    ->Name("d_PlainScan200Rows")
    ->Unit(benchmark::kMicrosecond)
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

  const auto median = [&](const char* name) { return reporter.Median(name); };
  const double scan = median("d_PlainScan200Rows");
  if (scan > 0) {
    for (const char* name :
         {"a_FullRefresh200Rows", "b_TickWhileMonitoring", "c_CoreTexts200Rows"}) {
      std::printf("median %-24s %10.2f us  /(d) = %8.1f\n", name, median(name),
                  median(name) / scan);
    }
    std::printf("median %-24s %10.2f us\n", "d_PlainScan200Rows", scan);
  }
  // The list goes before the application does.
  orvane::ui::Shared().view.reset();
  return 0;
}
