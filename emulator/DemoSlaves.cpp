#include "emulator/DemoSlaves.h"

#include <algorithm>

namespace orvane::emulator {

DemoSlaves::DemoSlaves(const DemoNetwork& network, ChecksumModel checksum,
                       std::optional<std::int64_t> wake_after)
    : network_(network), checksum_(checksum), wake_after_(wake_after) {}

std::optional<Response> DemoSlaves::Respond(std::uint8_t protected_id, std::int64_t) {
  if (!HasValidParity(protected_id)) return std::nullopt;
  const DemoFrame* frame = network_.FrameWithId(protected_id & 0x3F);
  if (frame == nullptr || frame->publisher == kMasterNode) return std::nullopt;
  const auto data = FrameData(network_, *frame, transmissions_[frame->id]++);
  return Response{WithChecksum(checksum_, protected_id,
                               std::span(data).first(static_cast<std::size_t>(frame->length))),
                  BusNode::kSlave};
}

std::optional<std::int64_t> DemoSlaves::NextStart(std::int64_t bus_free) const {
  if (!wake_at_) return std::nullopt;
  return std::max(*wake_at_, bus_free);
}

std::optional<BusEvent> DemoSlaves::Initiate(std::int64_t start, BusContext&) {
  wake_at_.reset();
  return WakeupPulse{start, kSlaveWakeupPulseMicros, BusNode::kSlave};
}

void DemoSlaves::Observe(const BusEvent& event) {
  if (const auto* frame = std::get_if<FrameOnBus>(&event); frame && IsGoToSleep(*frame)) {
    if (wake_after_) wake_at_ = frame->End() + *wake_after_;
  } else if (std::holds_alternative<WakeupPulse>(event)) {
    wake_at_.reset();
  }
}

}  // namespace orvane::emulator
