// The demo network's slave nodes: each answers the headers of the frames it
// publishes with the current signal values. When the network has sleep
// cycles, one of them wakes the bus with a 1 ms wake-up pulse a while after
// a go-to-sleep command, unless someone else wakes it first.
//
// Not thread-safe; driven by the LinBus it is attached to.
#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "emulator/DemoNetwork.h"
#include "emulator/LinBus.h"

namespace orvane::emulator {

inline constexpr std::int64_t kSlaveWakeupPulseMicros = 1000;

class DemoSlaves final : public BusResponder, public BusInitiator, public BusObserver {
 public:
  // `wake_after`: microseconds from the end of a go-to-sleep command to the
  // slaves' wake-up pulse; nothing when they never wake the bus.
  DemoSlaves(const DemoNetwork& network, ChecksumModel checksum,
             std::optional<std::int64_t> wake_after);

  std::optional<Response> Respond(std::uint8_t protected_id, std::int64_t time) override;
  std::optional<std::int64_t> NextStart(std::int64_t bus_free) const override;
  std::optional<BusEvent> Initiate(std::int64_t start, BusContext& bus) override;
  void Observe(const BusEvent& event) override;

 private:
  const DemoNetwork& network_;
  ChecksumModel checksum_;
  std::optional<std::int64_t> wake_after_;
  std::optional<std::int64_t> wake_at_;
  std::map<std::uint8_t, std::uint64_t> transmissions_;  // per identifier
};

}  // namespace orvane::emulator
