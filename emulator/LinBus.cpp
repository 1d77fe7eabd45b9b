#include "emulator/LinBus.h"

#include <limits>

#include "emulator/DisturbancePlan.h"

namespace orvane::emulator {

void LinBus::RunUntil(std::int64_t now) {
  for (;;) {
    // The earliest of: the end of the transmission in flight, and the next
    // start of any initiator. On a tie the transmission in flight ends first.
    std::int64_t next = in_flight_ ? EventEnd(*in_flight_) : std::numeric_limits<std::int64_t>::max();
    BusInitiator* starting = nullptr;
    for (BusInitiator* initiator : initiators_) {
      const std::optional<std::int64_t> start = initiator->NextStart(bus_free_);
      if (start && *start < next) {
        next = *start;
        starting = initiator;
      }
    }
    if (next > now) return;

    if (starting == nullptr) {
      const BusEvent ended = std::move(*in_flight_);
      in_flight_.reset();
      Deliver(ended);
      continue;
    }
    std::optional<BusEvent> event = starting->Initiate(next, *this);
    if (!event) continue;
    if (!OccupiesBus(*event)) {
      Deliver(*event);
    } else {
      // Nothing is in flight: a transmission in flight ends at bus_free_,
      // before any initiator may start on the bus.
      bus_free_ = EventEnd(*event);
      in_flight_ = std::move(event);
    }
  }
}

std::optional<Response> LinBus::AskResponders(std::uint8_t protected_id, std::int64_t time) {
  for (BusResponder* responder : responders_) {
    if (auto response = responder->Respond(protected_id, time)) return response;
  }
  return std::nullopt;
}

void PutResponse(Response response, FrameOnBus& frame) {
  frame.publisher = response.publisher;
  frame.response = std::move(response.bytes);
  frame.response_by_unit = response.by_unit;
  if (const auto fault = DisturbanceCausing(response.simulated_error)) {
    ApplyDisturbance(*fault, frame);
    frame.simulated_error = response.simulated_error;
  }
}

void LinBus::Deliver(const BusEvent& event) {
  for (BusObserver* observer : observers_) observer->Observe(event);
}

}  // namespace orvane::emulator
