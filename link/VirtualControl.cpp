// orlink_virtual_control: the virtual analyzer's fault injections for a
// program's own menu, on whatever virtual analyzer the active backend runs.
#include "link/ApiGuard.h"
#include "link/Runtime.h"
#include "link/driver/Driver.h"
#include "link/driver/virtual/VirtualDriver.h"
#include "link/orlink.h"

extern "C" int32_t orlink_virtual_control(int32_t action, uint32_t value) {
  return orlink::Guarded(int32_t{0}, [&]() -> int32_t {
    orlink::driver::Driver* driver = orlink::ActiveDriver();
    orvane::emulator::VirtualAnalyzer* analyzer =
        driver != nullptr ? driver->SimulatedAnalyzer() : nullptr;
    return analyzer != nullptr ? orlink::driver::ApplyVirtualControl(*analyzer, action, value) : 0;
  });
}
