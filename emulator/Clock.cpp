#include "emulator/Clock.h"

#include <thread>

namespace orvane::emulator {

std::int64_t RealClock::NowMicros() const {
  return std::chrono::duration_cast<Micros>(std::chrono::steady_clock::now() - start_).count();
}

void RealClock::SleepFor(Micros duration) { std::this_thread::sleep_for(duration); }

}  // namespace orvane::emulator
