// Driver backend "virtual": the generic driver as it would present the
// virtual analyzer of emulator/.
//
// One device, path "virtual0", enumerated while the analyzer is plugged in.
// Interface 0 has four bulk pipes like the real unit: pipe 0 (monitor
// blocks in), pipe 1 (unused), pipe 2 (command packets out) and pipe 3
// (replies in). The control codes map to the analyzer's device descriptor,
// a configuration descriptor of that interface, its presence check, and
// resets; class and vendor requests, which the unit does not define, are
// accepted and answered with zero bytes, and endpoint status is always 0
// (not halted). While the analyzer is unplugged every operation except
// Close fails.
//
// Threads: any operation from any thread; reads block on the analyzer's
// clock (the monitor pipe until the next block is due), without holding a
// lock of this driver.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string_view>

#include "emulator/VirtualAnalyzer.h"
#include "link/driver/Driver.h"

namespace orlink::driver {

class VirtualDriver final : public Driver {
 public:
  static constexpr std::string_view kDevicePath = "virtual0";

  explicit VirtualDriver(std::shared_ptr<orvane::emulator::VirtualAnalyzer> analyzer);

  std::string Name() const override;
  std::optional<std::string> InterfacePath(unsigned member) override;
  Handle Open(const std::string& name) override;
  bool IoControl(Handle handle, std::uint32_t code, std::span<const std::uint8_t> input,
                 std::span<std::uint8_t> output, std::size_t& returned) override;
  bool Read(Handle handle, std::span<std::uint8_t> buffer, std::size_t& transferred) override;
  bool Write(Handle handle, std::span<const std::uint8_t> data,
             std::size_t& transferred) override;
  void Close(Handle handle) override;
  orvane::emulator::VirtualAnalyzer* SimulatedAnalyzer() override { return analyzer_.get(); }

 private:
  // What a handle is open on: the device itself or one pipe.
  struct Target {
    bool is_device = false;
    std::uint8_t pipe = 0;
  };

  std::optional<Target> TargetOf(Handle handle);
  bool Control(const Target& target, std::uint32_t code, std::span<const std::uint8_t> input,
               std::span<std::uint8_t> output, std::size_t& returned);

  std::shared_ptr<orvane::emulator::VirtualAnalyzer> analyzer_;
  std::mutex mutex_;
  std::map<Handle, Target> open_;
  Handle next_handle_ = 1;
};

// The profile ORLINK_VIRTUAL_PROFILE names (see emulator::ProfileNamed);
// the default profile when the variable is unset or empty. A name that is
// no profile is reported on stderr, once per process, and the default
// profile is used. Any thread.
orvane::emulator::AnalyzerProfile VirtualProfileFromEnvironment();

// Carries out one orlink_virtual_control action (ORLINK_VIRTUAL_*) on
// `analyzer`; 1 when it was taken, 0 for an unknown action or a bus baud
// rate of 0.
std::int32_t ApplyVirtualControl(orvane::emulator::VirtualAnalyzer& analyzer, std::int32_t action,
                                 std::uint32_t value);

// The backend of the shared library: a virtual analyzer on the real clock
// with the profile of VirtualProfileFromEnvironment.
std::unique_ptr<Driver> CreateVirtualDriver();

}  // namespace orlink::driver
