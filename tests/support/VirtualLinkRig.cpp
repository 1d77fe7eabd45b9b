#include "tests/support/VirtualLinkRig.h"

#include "link/Seams.h"
#include "link/driver/virtual/VirtualDriver.h"

namespace orvane::testing {

VirtualLinkRig::VirtualLinkRig(emulator::AnalyzerProfile profile)
    : clock_(std::make_shared<emulator::VirtualClock>()),
      analyzer_(std::make_shared<emulator::VirtualAnalyzer>(clock_, std::move(profile))) {
  orlink::SetDriver(std::make_unique<orlink::driver::VirtualDriver>(analyzer_));
  orlink::SetSleeper([clock = clock_](std::chrono::milliseconds wait) { clock->SleepFor(wait); });
}

VirtualLinkRig::~VirtualLinkRig() {
  orlink::SetDriver(nullptr);
  orlink::SetSleeper({});
}

std::chrono::milliseconds VirtualLinkRig::Elapsed() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
      emulator::Micros(clock_->NowMicros()));
}

}  // namespace orvane::testing
