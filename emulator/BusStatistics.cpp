#include "emulator/BusStatistics.h"

#include <algorithm>

namespace orvane::emulator {

void BusStatistics::OnFrame(std::int64_t start, std::int64_t end, bool error, bool sleep) {
  ++packets_;
  AddBusy(start, end);
  if (error) {
    if (++errors_in_a_row_ >= kErrorsForErrorState) state_ = BusState::kError;
    return;
  }
  errors_in_a_row_ = 0;
  state_ = sleep ? BusState::kSleep : BusState::kRun;
}

void BusStatistics::OnWakeup(std::int64_t start, std::int64_t end) {
  AddBusy(start, end);
  errors_in_a_row_ = 0;
  state_ = BusState::kWakeup;
}

UnitBlockHeader BusStatistics::Header(std::int64_t now) {
  Forget(now - kLoadWindowMicros);
  std::int64_t busy = 0;
  for (const auto& [start, end] : busy_) {
    busy += std::max<std::int64_t>(0, std::min(end, now) - std::max(start, now - kLoadWindowMicros));
  }
  if (now - last_activity_ >= kSilenceToSleepMicros) state_ = BusState::kSleep;

  UnitBlockHeader header;
  header.packet_total = packets_;
  header.bus_load = static_cast<std::uint16_t>(busy * 1000 / kLoadWindowMicros);
  header.bus_state = static_cast<std::uint8_t>(state_);
  return header;
}

void BusStatistics::AddBusy(std::int64_t start, std::int64_t end) {
  busy_.emplace_back(start, end);
  last_activity_ = end;
  Forget(end - kLoadWindowMicros);
}

void BusStatistics::Forget(std::int64_t before) {
  while (!busy_.empty() && busy_.front().second <= before) busy_.pop_front();
}

}  // namespace orvane::emulator
