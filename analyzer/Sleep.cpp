#include "analyzer/Sleep.h"

#include <thread>

namespace orvane::analyzer {

SleepFunction RealSleep() {
  return [](std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); };
}

}  // namespace orvane::analyzer
