#include "simulation/SimRecords.h"

#include <cstdio>

namespace orvane::simulation {

namespace {
constexpr std::uint8_t kDefaultSlotIdentifier = 0x10;
}  // namespace

SimSlot DefaultMasterSlot() {
  SimSlot slot{};
  slot.delay = 1;
  slot.command = kCommandTx;
  slot.identifier = kDefaultSlotIdentifier;
  slot.trigger = kTriggerTimer;
  slot.triggerValue = kDefaultTimerInterval;
  return slot;
}

SimSlot DefaultInterruptSlot() {
  SimSlot slot{};
  slot.identifier = kDefaultSlotIdentifier;
  slot.trigger = kTriggerKey;
  slot.triggerValue = kKeyF1;
  return slot;
}

SimSlot DefaultSlaveResponse() {
  SimSlot slot{};
  slot.command = kCommandTx;
  slot.identifier = kNoSlaveIdentifier;
  slot.trigger = kTriggerTimer;
  slot.triggerValue = kDefaultTimerInterval;
  return slot;
}

MasterSchedule DefaultMasterSchedule() {
  MasterSchedule schedule{};
  for (SimSlot& slot : schedule.slots) slot = DefaultMasterSlot();
  return schedule;
}

ScheduleNames DefaultScheduleNames() {
  ScheduleNames names{};
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::snprintf(names[i].data(), names[i].size(), "S%zu", i + 1);
  }
  return names;
}

}  // namespace orvane::simulation
