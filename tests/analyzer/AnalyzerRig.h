// The virtual analyzer in process for the analyzer tests: a VirtualAnalyzer
// on a VirtualClock behind the link library's virtual driver, the link's
// waits and the register map's sleeps wired to that clock, and the link
// commands as a LinkApi.
#pragma once

#include <memory>

#include "analyzer/LinkApi.h"
#include "analyzer/Sleep.h"
#include "emulator/AnalyzerProfile.h"
#include "emulator/Clock.h"
#include "emulator/VirtualAnalyzer.h"

namespace orvane::analyzer::test {

class AnalyzerRig {
 public:
  explicit AnalyzerRig(emulator::AnalyzerProfile profile = {});
  ~AnalyzerRig();
  AnalyzerRig(const AnalyzerRig&) = delete;
  AnalyzerRig& operator=(const AnalyzerRig&) = delete;

  const LinkApi& link() const { return link_; }
  emulator::VirtualAnalyzer& analyzer() { return *analyzer_; }
  // Sleeps on the virtual clock.
  SleepFunction Sleeper() const;
  // Virtual milliseconds since the rig was made.
  std::int64_t NowMs() const { return clock_->NowMicros() / 1000; }

 private:
  std::shared_ptr<emulator::VirtualClock> clock_;
  std::shared_ptr<emulator::VirtualAnalyzer> analyzer_;
  LinkApi link_;
};

}  // namespace orvane::analyzer::test
