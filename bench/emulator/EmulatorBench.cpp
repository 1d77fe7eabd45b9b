// How much faster than real time the virtual analyzer plays its bus: the
// counter bus_seconds_per_second is simulated bus time per wall-clock second
// (above 1 the program's real-time monitor keeps up; tests that read minutes
// of traffic stay fast).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "emulator/CommandPacket.h"
#include "emulator/VirtualAnalyzer.h"

namespace orvane::emulator {
namespace {

void Command(VirtualAnalyzer& unit, CommandCode code) {
  unit.WriteCommandPipe(MakeCommandPacket(code, {}));
  std::vector<std::uint8_t> reply(512);
  std::size_t delivered = 0;
  unit.ReadReplyPipe(reply, delivered);
}

void MonitorBusSeconds(benchmark::State& state, const char* profile_name) {
  auto clock = std::make_shared<VirtualClock>();
  VirtualAnalyzer unit(clock, *ProfileNamed(profile_name));
  Command(unit, CommandCode::kTargetGo);
  Command(unit, CommandCode::kMonitorStart);
  std::vector<std::uint8_t> block(512);
  std::size_t delivered = 0;
  std::int64_t bytes = 0;
  for (auto _ : state) {
    const std::int64_t end = clock->NowMicros() + 1'000'000;
    while (clock->NowMicros() < end) {
      unit.ReadMonitorPipe(block, delivered);
      bytes += static_cast<std::int64_t>(delivered);
    }
  }
  state.SetBytesProcessed(bytes);
  state.counters["bus_seconds_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK_CAPTURE(MonitorBusSeconds, clean, "clean")->UseRealTime();
BENCHMARK_CAPTURE(MonitorBusSeconds, default_profile, "default")->UseRealTime();

}  // namespace
}  // namespace orvane::emulator

BENCHMARK_MAIN();
