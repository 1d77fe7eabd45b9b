#include "tests/analyzer/AnalyzerRig.h"

#include "link/Seams.h"
#include "link/driver/virtual/VirtualDriver.h"
#include "link/orlink.h"

namespace orvane::analyzer::test {

AnalyzerRig::AnalyzerRig(emulator::AnalyzerProfile profile)
    : clock_(std::make_shared<emulator::VirtualClock>()),
      analyzer_(std::make_shared<emulator::VirtualAnalyzer>(clock_, std::move(profile))) {
  orlink::SetDriver(std::make_unique<orlink::driver::VirtualDriver>(analyzer_));
  orlink::SetSleeper(Sleeper());
  link_ = LinkApi{&::InitUSB,     &::TargetGo,     &::FrashWrite, &::MemoryWrite,
                  &::MemoryRead,  &::MonitorStart, &::MonitorStop, &::MemoryReadEx,
                  &::MonitorRead, &::CloseUSB,     &::FrashErase, &::CheckUSB};
}

AnalyzerRig::~AnalyzerRig() {
  ::CloseUSB();
  orlink::SetDriver(nullptr);
  orlink::SetSleeper({});
}

SleepFunction AnalyzerRig::Sleeper() const {
  return [clock = clock_](std::chrono::milliseconds duration) { clock->SleepFor(duration); };
}

}  // namespace orvane::analyzer::test
