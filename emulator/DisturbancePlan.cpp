#include "emulator/DisturbancePlan.h"

#include <algorithm>
#include <array>

namespace orvane::emulator {
namespace {

constexpr int kDisturbanceKinds = 8;

struct DisturbanceError {
  Disturbance disturbance;
  RecordError error;
};

constexpr std::array<DisturbanceError, kDisturbanceKinds> kErrorOfDisturbance{{
    {Disturbance::kChecksum, RecordError::kChecksum},
    {Disturbance::kNoResponse, RecordError::kNoResponse},
    {Disturbance::kParity, RecordError::kParity},
    {Disturbance::kSyncField, RecordError::kSyncField},
    {Disturbance::kFraming, RecordError::kFraming},
    {Disturbance::kShortMessage, RecordError::kShortMessage},
    {Disturbance::kSyncBreakShort, RecordError::kSyncBreakShort},
    {Disturbance::kSyncBreakLong, RecordError::kSyncBreakLong},
}};

}  // namespace

bool BreaksHeader(Disturbance disturbance) {
  switch (disturbance) {
    case Disturbance::kParity:
    case Disturbance::kSyncField:
    case Disturbance::kSyncBreakShort:
    case Disturbance::kSyncBreakLong:
      return true;
    case Disturbance::kChecksum:
    case Disturbance::kNoResponse:
    case Disturbance::kFraming:
    case Disturbance::kShortMessage:
      break;
  }
  return false;
}

void ApplyDisturbance(Disturbance disturbance, FrameOnBus& frame) {
  switch (disturbance) {
    case Disturbance::kParity:
      frame.protected_id ^= 0x80;
      break;
    case Disturbance::kSyncField:
      frame.sync = 0x57;
      break;
    case Disturbance::kSyncBreakShort:
      frame.break_bits = kShortBreakBits;
      break;
    case Disturbance::kSyncBreakLong:
      frame.break_bits = kLongBreakBits;
      break;
    case Disturbance::kChecksum:
      if (!frame.response.empty()) frame.response.back() ^= 0x5A;
      break;
    case Disturbance::kNoResponse:
      frame.response.clear();
      break;
    case Disturbance::kFraming:
      if (!frame.response.empty()) frame.broken_stop_bit = frame.response.size() / 2;
      break;
    case Disturbance::kShortMessage:
      if (frame.response.size() > 1) frame.response.resize(1);
      break;
  }
  if (BreaksHeader(disturbance) && frame.publisher == BusNode::kSlave) frame.response.clear();
}

std::optional<Disturbance> DisturbanceCausing(std::uint8_t error_code) {
  const auto found = std::ranges::find(kErrorOfDisturbance, static_cast<RecordError>(error_code),
                                       &DisturbanceError::error);
  if (found == kErrorOfDisturbance.end()) return std::nullopt;
  return found->disturbance;
}

DisturbancePlan::DisturbancePlan(std::uint32_t seed, bool errors, bool sleep_cycles)
    : random_(seed) {
  if (errors) next_error_ = Draw(kDisturbanceIntervalMin, kDisturbanceIntervalMax);
  if (sleep_cycles) next_sleep_ = Draw(kSleepIntervalMin, kSleepIntervalMax);
}

bool DisturbancePlan::TakeSleep(std::int64_t time) {
  if (!next_sleep_ || *next_sleep_ > time) return false;
  next_sleep_ = time + Draw(kSleepIntervalMin, kSleepIntervalMax);
  return true;
}

std::optional<Disturbance> DisturbancePlan::TakeDisturbance(std::int64_t time, BusNode publisher) {
  if (!next_error_ || *next_error_ > time) return std::nullopt;
  const auto kind = static_cast<Disturbance>(next_kind_);
  const bool slave_failure = kind == Disturbance::kNoResponse || kind == Disturbance::kShortMessage;
  if (slave_failure && publisher != BusNode::kSlave) return std::nullopt;
  next_error_ = time + Draw(kDisturbanceIntervalMin, kDisturbanceIntervalMax);
  next_kind_ = (next_kind_ + 1) % kDisturbanceKinds;
  return kind;
}

std::int64_t DisturbancePlan::Draw(std::int64_t min, std::int64_t max) {
  return std::uniform_int_distribution<std::int64_t>(min, max)(random_);
}

}  // namespace orvane::emulator
