#include "link/Runtime.h"

#include <mutex>
#include <thread>

#include "link/Seams.h"
#include "link/driver/Backends.h"
#include "link/orlink.h"

namespace orlink {
namespace {

struct State {
  std::mutex driver_mutex;
  bool driver_chosen = false;
  std::unique_ptr<driver::Driver> driver;
  Sleeper sleeper;
  DeviceTable devices;

  ~State() {
    if (driver) devices.CloseAll(*driver);
  }
};

State& TheState() {
  static State state;
  return state;
}

}  // namespace

driver::Driver* ActiveDriver() {
  State& state = TheState();
  std::lock_guard lock(state.driver_mutex);
  if (!state.driver_chosen) {
    state.driver = driver::CreateDriverFromEnvironment();
    state.driver_chosen = true;
  }
  return state.driver.get();
}

DeviceTable& Devices() { return TheState().devices; }

void Sleep(std::chrono::milliseconds duration) {
  const Sleeper& sleeper = TheState().sleeper;
  if (sleeper) {
    sleeper(duration);
  } else {
    std::this_thread::sleep_for(duration);
  }
}

void SetSleeper(Sleeper sleeper) { TheState().sleeper = std::move(sleeper); }

void SetDriver(std::unique_ptr<driver::Driver> driver) {
  CloseUSB();
  State& state = TheState();
  std::lock_guard lock(state.driver_mutex);
  if (state.driver) state.devices.CloseAll(*state.driver);
  state.driver = std::move(driver);
  state.driver_chosen = true;
}

}  // namespace orlink
