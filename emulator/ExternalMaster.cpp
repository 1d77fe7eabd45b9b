#include "emulator/ExternalMaster.h"

#include <algorithm>

namespace orvane::emulator {
namespace {

constexpr std::int64_t kGoToSleepSlotMicros = 20'000;

}  // namespace

ExternalMaster::ExternalMaster(const DemoNetwork& network, ChecksumModel checksum,
                               DisturbancePlan& plan, bool back_to_back)
    : network_(network), checksum_(checksum), plan_(plan), back_to_back_(back_to_back) {
  for (const ScheduleSlot& slot : network_.schedule) {
    const int length = network_.Frame(slot.frame).length;
    if (shortest_length_ == 0 || length < shortest_length_) shortest_length_ = length;
  }
}

std::optional<std::int64_t> ExternalMaster::NextStart(std::int64_t bus_free) const {
  if (asleep_ || silenced_ || network_.schedule.empty()) return std::nullopt;
  return std::max(next_slot_, bus_free);
}

std::optional<BusEvent> ExternalMaster::Initiate(std::int64_t start, BusContext& bus) {
  if (plan_.TakeSleep(start)) {
    next_slot_ = start + kGoToSleepSlotMicros;
    return GoToSleepFrame(start, bus.baud());
  }
  FrameOnBus frame = ScheduledFrame(start, bus);
  if (const auto disturbance = plan_.TakeDisturbance(start, frame.publisher)) {
    ApplyDisturbance(*disturbance, frame);
  }
  return frame;
}

void ExternalMaster::Observe(const BusEvent& event) {
  if (const auto* frame = std::get_if<FrameOnBus>(&event); frame && IsGoToSleep(*frame)) {
    asleep_ = true;
  } else if (const auto* pulse = std::get_if<WakeupPulse>(&event); pulse && asleep_) {
    asleep_ = false;
    slot_ = 0;
    next_slot_ = pulse->End() + kWakeupToScheduleMicros;
  }
}

void ExternalMaster::SetSilenced(bool silenced, std::int64_t now) {
  if (silenced_ && !silenced) next_slot_ = std::max(next_slot_, now);
  silenced_ = silenced;
}

FrameOnBus ExternalMaster::ScheduledFrame(std::int64_t start, BusContext& bus) {
  while (back_to_back_ &&
         network_.Frame(network_.schedule[slot_].frame).length > shortest_length_) {
    slot_ = (slot_ + 1) % network_.schedule.size();
  }
  const ScheduleSlot& slot = network_.schedule[slot_];
  slot_ = (slot_ + 1) % network_.schedule.size();
  next_slot_ = back_to_back_ ? start : start + std::int64_t{slot.delay_ms} * 1000;

  const DemoFrame& definition = network_.Frame(slot.frame);
  FrameOnBus frame;
  frame.start = start;
  frame.baud = bus.baud();
  frame.protected_id = ProtectedId(definition.id);
  if (definition.publisher == kMasterNode) {
    const auto data = FrameData(network_, definition, transmissions_[definition.id]++);
    frame.publisher = BusNode::kMaster;
    frame.response = WithChecksum(checksum_, frame.protected_id,
                                  std::span(data).first(static_cast<std::size_t>(definition.length)));
  } else if (auto response = bus.AskResponders(frame.protected_id, start)) {
    PutResponse(std::move(*response), frame);
  }
  return frame;
}

}  // namespace orvane::emulator
