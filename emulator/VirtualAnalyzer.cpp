#include "emulator/VirtualAnalyzer.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <vector>

#include "emulator/CommandPacket.h"
#include "emulator/DemoBus.h"
#include "emulator/Firmware.h"

namespace orvane::emulator {
namespace {

bool Deliver(std::span<const std::uint8_t> block, std::span<std::uint8_t> buffer,
             std::size_t& delivered) {
  delivered = std::min(block.size(), buffer.size());
  std::copy_n(block.begin(), delivered, buffer.begin());
  return true;
}

}  // namespace

struct VirtualAnalyzer::State {
  State(std::shared_ptr<Clock> clock_in, const AnalyzerProfile& profile)
      : clock(std::move(clock_in)), firmware(profile), demo_bus(profile) {
    firmware.AttachTo(demo_bus.bus());
  }

  mutable std::mutex mutex;
  std::shared_ptr<Clock> clock;
  Firmware firmware;
  DemoBus demo_bus;
  std::deque<std::vector<std::uint8_t>> replies;
  bool present = true;
  bool stall_next_reply = false;
  bool garble_next_reply = false;

  void QueueReply(std::vector<std::uint8_t> reply) {
    if (stall_next_reply) {
      stall_next_reply = false;
      return;
    }
    if (garble_next_reply) {
      garble_next_reply = false;
      GarbleReply(reply);
    }
    if (replies.size() < kMaxPendingReplies) replies.push_back(std::move(reply));
  }

  // Plays the bus up to the clock's present; returns that time.
  std::int64_t CatchUp() {
    const std::int64_t now = clock->NowMicros();
    demo_bus.bus().RunUntil(now);
    return now;
  }

  // The firmware's mode decides who masters the bus from `now` on.
  void AssignBusMaster(std::int64_t now) { demo_bus.SetUnitIsMaster(firmware.IsBusMaster(), now); }
};

VirtualAnalyzer::VirtualAnalyzer(std::shared_ptr<Clock> clock, AnalyzerProfile profile)
    : state_(std::make_unique<State>(std::move(clock), profile)) {}

VirtualAnalyzer::~VirtualAnalyzer() = default;

std::array<std::uint8_t, 18> VirtualAnalyzer::DeviceDescriptor() const {
  return {18,   1,    0x10, 0x01,  // length, type, USB 1.10
          kDeviceClass, kDeviceSubclass, 0x00, 64,
          static_cast<std::uint8_t>(kVendorId), static_cast<std::uint8_t>(kVendorId >> 8),
          static_cast<std::uint8_t>(kProductId), static_cast<std::uint8_t>(kProductId >> 8),
          static_cast<std::uint8_t>(kReleaseBcd), static_cast<std::uint8_t>(kReleaseBcd >> 8),
          1,    2,    3,    1};  // manufacturer, product, serial strings; one configuration
}

bool VirtualAnalyzer::IsPresent() const {
  std::lock_guard lock(state_->mutex);
  return state_->present;
}

bool VirtualAnalyzer::WriteCommandPipe(std::span<const std::uint8_t> packet) {
  std::lock_guard lock(state_->mutex);
  if (!state_->present || packet.size() > kMaxPacketSize) return false;
  const std::optional<Command> command = ParseCommandPacket(packet);
  if (!command) return true;
  const std::int64_t now = state_->CatchUp();
  auto reply = state_->firmware.Execute(*command, now);
  state_->AssignBusMaster(now);
  if (reply) state_->QueueReply(std::move(*reply));
  return true;
}

bool VirtualAnalyzer::ReadReplyPipe(std::span<std::uint8_t> buffer, std::size_t& delivered) {
  delivered = 0;
  {
    std::lock_guard lock(state_->mutex);
    if (!state_->present) return false;
    if (!state_->replies.empty()) {
      const std::vector<std::uint8_t> reply = std::move(state_->replies.front());
      state_->replies.pop_front();
      return Deliver(reply, buffer, delivered);
    }
  }
  state_->clock->SleepFor(kReplyTimeout);
  return false;
}

bool VirtualAnalyzer::ReadMonitorPipe(std::span<std::uint8_t> buffer, std::size_t& delivered) {
  delivered = 0;
  std::int64_t due = 0;
  {
    std::lock_guard lock(state_->mutex);
    if (!state_->present) return false;
    due = state_->firmware.monitor().NextBlockDue();
  }
  const std::int64_t before_wait = state_->clock->NowMicros();
  if (before_wait < due) state_->clock->SleepFor(Micros(due - before_wait));

  std::lock_guard lock(state_->mutex);
  if (!state_->present) return false;
  const std::int64_t now = state_->CatchUp();
  const std::vector<std::uint8_t> block =
      state_->firmware.monitor().TakeBlock(now, state_->firmware.BlockHeader(now));
  return Deliver(block, buffer, delivered);
}

Clock& VirtualAnalyzer::clock() const { return *state_->clock; }

void VirtualAnalyzer::Unplug() {
  std::lock_guard lock(state_->mutex);
  state_->present = false;
}

void VirtualAnalyzer::Replug() {
  std::lock_guard lock(state_->mutex);
  if (state_->present) return;
  state_->present = true;
  state_->replies.clear();
  state_->firmware.PowerOn();
  state_->AssignBusMaster(state_->CatchUp());
}

void VirtualAnalyzer::StallNextReply() {
  std::lock_guard lock(state_->mutex);
  state_->stall_next_reply = true;
}

void VirtualAnalyzer::GarbleNextReply() {
  std::lock_guard lock(state_->mutex);
  state_->garble_next_reply = true;
}

void VirtualAnalyzer::AnnounceOversizedNextBlock(std::uint8_t announced) {
  std::lock_guard lock(state_->mutex);
  state_->firmware.monitor().AnnounceOversizedNextBlock(announced);
}

void VirtualAnalyzer::SetFlashEraseFails(bool fails) {
  std::lock_guard lock(state_->mutex);
  state_->firmware.flash_faults().erase_fails = fails;
}

void VirtualAnalyzer::SetFlashWriteFails(bool fails) {
  std::lock_guard lock(state_->mutex);
  state_->firmware.flash_faults().write_fails = fails;
}

void VirtualAnalyzer::SetBusBaud(std::uint32_t baud) {
  std::lock_guard lock(state_->mutex);
  state_->CatchUp();
  state_->demo_bus.bus().set_baud(baud);
}

}  // namespace orvane::emulator
