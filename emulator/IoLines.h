// The unit's three digital input lines, toggling on their own: channel c
// changes level every `half_periods[c]` microseconds, starting low.
//
// Not thread-safe; driven by the LinBus it is attached to.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "emulator/LinBus.h"

namespace orvane::emulator {

class IoLines final : public BusInitiator {
 public:
  explicit IoLines(std::array<std::int64_t, 3> half_periods);

  // Edges do not wait for the bus.
  std::optional<std::int64_t> NextStart(std::int64_t bus_free) const override;
  std::optional<BusEvent> Initiate(std::int64_t start, BusContext& bus) override;

 private:
  std::array<std::int64_t, 3> half_periods_;
  std::array<std::int64_t, 3> next_edge_;
  std::array<bool, 3> high_{};
};

}  // namespace orvane::emulator
