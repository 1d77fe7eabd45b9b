// The virtual analyzer under the link library, in process and on a virtual
// clock, for tests of everything above the link.
//
// The rig installs the virtual driver in orlink_core and makes the link's
// waits advance the virtual clock, so no test sleeps. It exposes the
// analyzer for fault injection. Make and destroy it on the test's main
// thread while no other thread uses the link; one rig at a time.
#pragma once

#include <chrono>
#include <memory>

#include "emulator/AnalyzerProfile.h"
#include "emulator/Clock.h"
#include "emulator/VirtualAnalyzer.h"

namespace orvane::testing {

class VirtualLinkRig {
 public:
  explicit VirtualLinkRig(emulator::AnalyzerProfile profile = {});
  // Closes the link (CloseUSB) and leaves it without any device and with
  // real sleeps again.
  ~VirtualLinkRig();
  VirtualLinkRig(const VirtualLinkRig&) = delete;
  VirtualLinkRig& operator=(const VirtualLinkRig&) = delete;

  emulator::VirtualAnalyzer& analyzer() { return *analyzer_; }
  emulator::VirtualClock& clock() { return *clock_; }
  // Virtual time since the rig was made.
  std::chrono::milliseconds Elapsed() const;

 private:
  std::shared_ptr<emulator::VirtualClock> clock_;
  std::shared_ptr<emulator::VirtualAnalyzer> analyzer_;
};

}  // namespace orvane::testing
