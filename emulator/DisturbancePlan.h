// The deliberate events of the demo network: now and then a disturbed frame
// (one kind after the other: checksum, no response, parity, sync field,
// framing, short message, short and long sync break) and a sleep/wake-up
// cycle. The times are drawn from a seeded generator, so a profile with the
// same seed always produces the same traffic.
//
// Not thread-safe; owned by the demo network's master.
#pragma once

#include <cstdint>
#include <optional>
#include <random>

#include "emulator/BusEvent.h"
#include "emulator/UnitRecord.h"

namespace orvane::emulator {

enum class Disturbance {
  kChecksum,
  kNoResponse,
  kParity,
  kSyncField,
  kFraming,
  kShortMessage,
  kSyncBreakShort,
  kSyncBreakLong,
};

inline constexpr double kShortBreakBits = 10;  // long enough not to be a byte, too short for a break
inline constexpr double kLongBreakBits = 40;

// Whether the disturbance breaks the header (break, sync, identifier) rather
// than the response.
bool BreaksHeader(Disturbance disturbance);

// Changes a frame as the disturbance would have: a broken header also
// silences the slave that would have answered it.
void ApplyDisturbance(Disturbance disturbance, FrameOnBus& frame);

// The disturbance that makes the unit report `error_code` (a RecordError
// value), or nothing for codes no disturbance causes (0, Bit, Overrun,
// Buffer, Bus, unknown codes).
std::optional<Disturbance> DisturbanceCausing(std::uint8_t error_code);

// Microseconds between disturbed frames and between sleep commands.
inline constexpr std::int64_t kDisturbanceIntervalMin = 5'000'000;
inline constexpr std::int64_t kDisturbanceIntervalMax = 9'000'000;
inline constexpr std::int64_t kSleepIntervalMin = 40'000'000;
inline constexpr std::int64_t kSleepIntervalMax = 60'000'000;

class DisturbancePlan {
 public:
  // A plan without errors or without sleep cycles never yields them.
  DisturbancePlan(std::uint32_t seed, bool errors, bool sleep_cycles);

  // True once each time a sleep command is due by `time`.
  bool TakeSleep(std::int64_t time);
  // The disturbance due by `time`, once. A slave's failure (no response,
  // short message) waits for a frame that a slave publishes.
  std::optional<Disturbance> TakeDisturbance(std::int64_t time, BusNode publisher);

 private:
  std::int64_t Draw(std::int64_t min, std::int64_t max);

  std::mt19937 random_;
  std::optional<std::int64_t> next_error_;
  std::optional<std::int64_t> next_sleep_;
  int next_kind_ = 0;
};

}  // namespace orvane::emulator
