// How much faster than real time the virtual analyzer plays its bus: the
// counter bus_seconds_per_second is simulated bus time per wall-clock second
// (above 1 the program's real-time monitor keeps up; tests that read minutes
// of traffic stay fast).
//
// The clean demo network is the baseline; the unit's master simulation (a
// full 32-entry schedule without delays, the bus fully loaded) and its slave
// simulation (16 answering entries) are measured against it in the same run:
// compare their bus_seconds_per_second with the baseline's as ratios.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "emulator/CommandPacket.h"
#include "emulator/MemoryMap.h"
#include "emulator/TableEntry.h"
#include "emulator/VirtualAnalyzer.h"

namespace orvane::emulator {
namespace {

enum class UnitPart { kMonitorOnly, kMaster, kSlaves };

void Command(VirtualAnalyzer& unit, CommandCode code, const std::vector<std::uint8_t>& parameters = {}) {
  unit.WriteCommandPipe(MakeCommandPacket(code, parameters));
  std::vector<std::uint8_t> reply(512);
  std::size_t delivered = 0;
  unit.ReadReplyPipe(reply, delivered);
}

void Write(VirtualAnalyzer& unit, std::uint16_t address, const std::vector<std::uint8_t>& bytes) {
  std::vector<std::uint8_t> parameters = {
      static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address),
      static_cast<std::uint8_t>(bytes.size() >> 8), static_cast<std::uint8_t>(bytes.size())};
  parameters.insert(parameters.end(), bytes.begin(), bytes.end());
  Command(unit, CommandCode::kMemoryWrite, parameters);
}

// A table of `count` enabled Tx entries on identifiers first, first + 1, ...
std::vector<std::uint8_t> TxTable(std::size_t count, std::uint8_t first) {
  std::vector<std::uint8_t> table(count * kTableEntrySize);
  for (std::size_t i = 0; i < count; ++i) {
    std::uint8_t* entry = &table[i * kTableEntrySize];
    entry[0] = kEntryEnabled;
    entry[2] = static_cast<std::uint8_t>(EntryKind::kTx);
    entry[3] = static_cast<std::uint8_t>(first + i);
    entry[4] = static_cast<std::uint8_t>(i);
  }
  return table;
}

void Prepare(VirtualAnalyzer& unit, UnitPart part) {
  Command(unit, CommandCode::kTargetGo);
  if (part == UnitPart::kMaster) {
    Write(unit, kModeRegister, {static_cast<std::uint8_t>(UnitMode::kMasterSimulation)});
    Write(unit, kBankTableAddress[0], TxTable(kScheduleEntries, 0x00));
    Write(unit, kBankStateAddress[0], {2});
    Write(unit, kScheduleSwitchRegister, {1});
  } else if (part == UnitPart::kSlaves) {
    Write(unit, kModeRegister, {static_cast<std::uint8_t>(UnitMode::kSlaveSimulation)});
    Write(unit, kBankTableAddress[0], TxTable(kSlaveEntries, 0x11));
    Write(unit, kBankStateAddress[0], {1});
  }
  Command(unit, CommandCode::kMonitorStart);
}

void MonitorBusSeconds(benchmark::State& state, const char* profile_name, UnitPart part) {
  auto clock = std::make_shared<VirtualClock>();
  VirtualAnalyzer unit(clock, *ProfileNamed(profile_name));
  Prepare(unit, part);
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

BENCHMARK_CAPTURE(MonitorBusSeconds, clean, "clean", UnitPart::kMonitorOnly)->UseRealTime();
BENCHMARK_CAPTURE(MonitorBusSeconds, default_profile, "default", UnitPart::kMonitorOnly)->UseRealTime();
BENCHMARK_CAPTURE(MonitorBusSeconds, master_schedule, "clean", UnitPart::kMaster)->UseRealTime();
BENCHMARK_CAPTURE(MonitorBusSeconds, slave_table, "clean", UnitPart::kSlaves)->UseRealTime();

}  // namespace
}  // namespace orvane::emulator

BENCHMARK_MAIN();
