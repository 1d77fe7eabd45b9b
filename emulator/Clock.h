// Time source of the virtual analyzer.
//
// The real clock follows std::chrono::steady_clock and really sleeps. The
// virtual clock never sleeps: SleepFor advances its time at once, so a test
// that reads ten seconds of bus traffic runs in milliseconds. Both are safe
// to use from several threads.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace orvane::emulator {

using Micros = std::chrono::microseconds;

class Clock {
 public:
  virtual ~Clock() = default;
  // Microseconds since the clock was created.
  virtual std::int64_t NowMicros() const = 0;
  virtual void SleepFor(Micros duration) = 0;
};

class RealClock final : public Clock {
 public:
  std::int64_t NowMicros() const override;
  void SleepFor(Micros duration) override;

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

class VirtualClock final : public Clock {
 public:
  std::int64_t NowMicros() const override { return now_.load(); }
  void SleepFor(Micros duration) override { Advance(duration); }
  void Advance(Micros duration) { now_.fetch_add(duration.count()); }

 private:
  std::atomic<std::int64_t> now_{0};
};

}  // namespace orvane::emulator
