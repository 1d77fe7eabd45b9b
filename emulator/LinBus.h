// The simulated LIN bus: plays the events of its participants in time order.
//
// Participants take roles, so that who sends headers and who answers which
// identifier can change without touching the bus:
//   - initiators start transmissions on their own: a master sending frame
//     headers, a node waking a sleeping bus, the unit's one-shot mailbox,
//     and the I/O lines (whose edges do not occupy the bus);
//   - responders answer a header with the response of a frame they publish;
//   - observers see every event once it has ended: the analyzer unit and
//     any node that reacts to sleep or wake-up.
// The demo network's external master and slaves fill these roles; the
// unit's master simulation is one more initiator and its slave simulation a
// responder asked before the demo slaves, so that it stands in for them.
//
// The bus is played lazily: RunUntil(now) starts only transmissions due by
// now, so a request made at `now` (a mailbox entry) still finds the bus as it
// is at that moment. Not thread-safe; the owner serialises access.
// Participants must outlive the bus.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "emulator/BusEvent.h"

namespace orvane::emulator {

struct Response {
  std::vector<std::uint8_t> bytes;  // data bytes and checksum
  BusNode publisher = BusNode::kSlave;
  bool by_unit = false;  // the analyzer unit answers as a simulated slave
  // Error code of a fault the unit puts into its answer on purpose (a
  // response-side fault: checksum, short message, no response, framing).
  std::uint8_t simulated_error = 0;
};

// Puts `response` into the frame whose header it answers, with the fault
// the response carries.
void PutResponse(Response response, FrameOnBus& frame);

// What an initiator may ask of the bus while it transmits.
class BusContext {
 public:
  virtual ~BusContext() = default;
  virtual std::uint32_t baud() const = 0;
  // The first responder's answer to a header, or nothing when none answers.
  virtual std::optional<Response> AskResponders(std::uint8_t protected_id, std::int64_t time) = 0;
};

class BusInitiator {
 public:
  virtual ~BusInitiator() = default;
  // When this initiator next transmits, given that the bus is free from
  // `bus_free` on; nothing when it has nothing to send.
  virtual std::optional<std::int64_t> NextStart(std::int64_t bus_free) const = 0;
  // Transmits at `start` (a value NextStart gave) and moves on, so that
  // NextStart no longer gives that time; the event, or nothing when the
  // initiator decided to send nothing after all.
  virtual std::optional<BusEvent> Initiate(std::int64_t start, BusContext& bus) = 0;
};

class BusResponder {
 public:
  virtual ~BusResponder() = default;
  // The response to `protected_id` at `time`, or nothing when this node
  // does not publish that frame.
  virtual std::optional<Response> Respond(std::uint8_t protected_id, std::int64_t time) = 0;
};

class BusObserver {
 public:
  virtual ~BusObserver() = default;
  virtual void Observe(const BusEvent& event) = 0;
};

class LinBus final : public BusContext {
 public:
  explicit LinBus(std::uint32_t baud) : baud_(baud) {}

  void AddInitiator(BusInitiator& initiator) { initiators_.push_back(&initiator); }
  // Responders are asked in the order they were added; a leading responder
  // is asked before all the others.
  void AddResponder(BusResponder& responder) { responders_.push_back(&responder); }
  void AddLeadingResponder(BusResponder& responder) {
    responders_.insert(responders_.begin(), &responder);
  }
  void AddObserver(BusObserver& observer) { observers_.push_back(&observer); }

  // Every event that has ended by `now` reaches the observers, in order.
  void RunUntil(std::int64_t now);

  std::uint32_t baud() const override { return baud_; }
  void set_baud(std::uint32_t baud) { baud_ = baud; }
  std::optional<Response> AskResponders(std::uint8_t protected_id, std::int64_t time) override;

 private:
  void Deliver(const BusEvent& event);

  std::uint32_t baud_;
  std::vector<BusInitiator*> initiators_;
  std::vector<BusResponder*> responders_;
  std::vector<BusObserver*> observers_;
  std::optional<BusEvent> in_flight_;  // started, not yet ended
  std::int64_t bus_free_ = 0;
};

}  // namespace orvane::emulator
