// The node order of a loaded LIN description as the monitor's
// IdentifierSlotMap, so that the Each ID table keeps an identifier's records
// in its frame's node-order slot. Header only: the signals library itself
// needs nothing but the standard library; whoever wires the two together
// includes this.
//
// The acquisition thread calls SlotFor while monitoring runs; the description
// is read-only and must stay loaded (not replaced or freed) until the thread
// has stopped.
#pragma once

#include "monitor/MonitorUpdate.h"
#include "signals/LinDescription.h"

namespace orvane::signals {

class NodeOrderSlotMap final : public monitor::IdentifierSlotMap {
 public:
  explicit NodeOrderSlotMap(const LinDescription& description) : description_(description) {}

  int SlotFor(int identifier) const override { return description_.SlotFor(identifier); }

 private:
  const LinDescription& description_;
};

}  // namespace orvane::signals
