// The demo network's master node: runs the network's schedule, publishing
// its own frames and sending the headers of the slaves' frames; now and
// then sends a go-to-sleep command or a disturbed frame (DisturbancePlan).
// It stops after any go-to-sleep command on the bus and resumes its
// schedule 120 ms after a wake-up pulse. While the analyzer unit is the
// bus master (master simulation) it is silenced and sends nothing.
//
// Not thread-safe; driven by the LinBus it is attached to.
#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "emulator/DemoNetwork.h"
#include "emulator/DisturbancePlan.h"
#include "emulator/LinBus.h"

namespace orvane::emulator {

inline constexpr std::int64_t kWakeupToScheduleMicros = 120'000;

class ExternalMaster final : public BusInitiator, public BusObserver {
 public:
  // `back_to_back`: only the schedule's shortest frames, without slot times.
  ExternalMaster(const DemoNetwork& network, ChecksumModel checksum, DisturbancePlan& plan,
                 bool back_to_back = false);

  std::optional<std::int64_t> NextStart(std::int64_t bus_free) const override;
  std::optional<BusEvent> Initiate(std::int64_t start, BusContext& bus) override;
  void Observe(const BusEvent& event) override;

  // Silences the master from `now` on, or lets it go on with its schedule
  // no earlier than `now`.
  void SetSilenced(bool silenced, std::int64_t now);

 private:
  FrameOnBus ScheduledFrame(std::int64_t start, BusContext& bus);

  const DemoNetwork& network_;
  ChecksumModel checksum_;
  DisturbancePlan& plan_;
  bool back_to_back_;
  int shortest_length_ = 0;  // of the scheduled frames
  std::size_t slot_ = 0;
  std::int64_t next_slot_ = 0;
  bool asleep_ = false;
  bool silenced_ = false;
  std::map<std::uint8_t, std::uint64_t> transmissions_;  // per identifier of the master's frames
};

}  // namespace orvane::emulator
