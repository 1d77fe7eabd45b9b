// orlink_virtual_control: the virtual analyzer's fault injections for a
// program's own menu, on whatever virtual analyzer the active backend runs.
#include "emulator/VirtualAnalyzer.h"
#include "link/ApiGuard.h"
#include "link/Runtime.h"
#include "link/driver/Driver.h"
#include "link/orlink.h"

extern "C" int32_t orlink_virtual_control(int32_t action, uint32_t value) {
  return orlink::Guarded(int32_t{0}, [&]() -> int32_t {
    orlink::driver::Driver* driver = orlink::ActiveDriver();
    orvane::emulator::VirtualAnalyzer* analyzer =
        driver != nullptr ? driver->SimulatedAnalyzer() : nullptr;
    if (analyzer == nullptr) return 0;
    switch (action) {
      case ORLINK_VIRTUAL_QUERY:
        return 1;
      case ORLINK_VIRTUAL_UNPLUG:
        analyzer->Unplug();
        return 1;
      case ORLINK_VIRTUAL_REPLUG:
        analyzer->Replug();
        return 1;
      case ORLINK_VIRTUAL_BUS_BAUD:
        if (value == 0) return 0;
        analyzer->SetBusBaud(value);
        return 1;
      case ORLINK_VIRTUAL_GARBLE_REPLY:
        analyzer->GarbleNextReply();
        return 1;
      case ORLINK_VIRTUAL_STALL_REPLY:
        analyzer->StallNextReply();
        return 1;
      default:
        return 0;
    }
  });
}
