// What the unit reports about the bus in every block header: packets since
// monitoring started, bus load over the last second, and the bus state
// (Run, Sleep after a go-to-sleep command or 4 s of silence, Wakeup after a
// wake-up pulse, Error after three disturbed frames in a row).
//
// Not thread-safe; owned by the unit's receiver.
#pragma once

#include <cstdint>
#include <deque>
#include <utility>

#include "emulator/UnitRecord.h"

namespace orvane::emulator {

inline constexpr std::int64_t kLoadWindowMicros = 1'000'000;
inline constexpr std::int64_t kSilenceToSleepMicros = 4'000'000;
inline constexpr int kErrorsForErrorState = 3;

class BusStatistics {
 public:
  void RestartPacketCount() { packets_ = 0; }

  // A frame occupied the bus from start to end; `error` when the unit saw
  // it disturbed, `sleep` when it was a go-to-sleep command.
  void OnFrame(std::int64_t start, std::int64_t end, bool error, bool sleep);
  void OnWakeup(std::int64_t start, std::int64_t end);

  // Packet total, bus load and bus state as of `now`.
  UnitBlockHeader Header(std::int64_t now);

 private:
  void AddBusy(std::int64_t start, std::int64_t end);
  void Forget(std::int64_t before);

  std::uint32_t packets_ = 0;
  std::deque<std::pair<std::int64_t, std::int64_t>> busy_;  // within the load window
  BusState state_ = BusState::kRun;
  int errors_in_a_row_ = 0;
  std::int64_t last_activity_ = 0;
};

}  // namespace orvane::emulator
