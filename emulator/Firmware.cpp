#include "emulator/Firmware.h"

namespace orvane::emulator {

namespace {

// Whether a memory write touched any of the `length` bytes at `address`.
bool Overlaps(const Command& write, std::uint32_t address, std::size_t length = 1) {
  return write.address < address + length && address < write.address + write.data.size();
}

}  // namespace

Firmware::Firmware(const AnalyzerProfile& profile) : memory_(profile) {}

void Firmware::AttachTo(LinBus& bus) {
  bus.AddObserver(*this);
  bus.AddInitiator(mailbox_);
}

void Firmware::PowerOn() {
  firmware_running_ = false;
  memory_.ResetRam();
  monitor_.Reset();
  receiver_.Reset();
  banks_.Reset();
  mailbox_.Reset();
}

void Firmware::Observe(const BusEvent& event) {
  if (firmware_running_) receiver_.Observe(event);
}

std::optional<std::vector<std::uint8_t>> Firmware::Execute(const Command& command,
                                                           std::int64_t now) {
  bool acknowledged = false;
  switch (command.code) {
    case CommandCode::kMemoryRead:
    case CommandCode::kMemoryReadEx:
      return ReadMemory(command);
    case CommandCode::kTargetGo:
      if (!firmware_running_) receiver_.OnTimingWritten();
      firmware_running_ = true;
      acknowledged = true;
      break;
    case CommandCode::kMemoryWrite:
      acknowledged = WriteMemory(command, now);
      break;
    case CommandCode::kFlashErase:
      acknowledged = EraseFlash(command.address);
      break;
    case CommandCode::kFlashWrite:
      acknowledged = WriteFlash(command);
      break;
    case CommandCode::kMonitorStart:
      if (firmware_running_) {
        monitor_.Start();
        receiver_.RestartPacketCount();
      }
      acknowledged = firmware_running_;
      break;
    case CommandCode::kMonitorStop:
      if (firmware_running_) monitor_.Stop();
      acknowledged = firmware_running_;
      break;
  }
  if (!acknowledged) return std::nullopt;
  return MakeAcknowledge(command.code);
}

bool Firmware::WriteMemory(const Command& command, std::int64_t now) {
  if (!memory_.WriteRam(command.address, command.data)) return false;
  if (!firmware_running_) return true;
  if (Overlaps(command, kFrameTimingRegister, kFrameTimingSize)) receiver_.OnTimingWritten();
  if (Overlaps(command, kBankStateAddress[0]) || Overlaps(command, kBankStateAddress[1])) {
    banks_.TakeRequested(memory_);
  }
  if (Overlaps(command, kOneShotHandshakeAddress)) mailbox_.Request(now);
  return true;
}

bool Firmware::EraseFlash(std::uint32_t address) {
  return !flash_faults_.erase_fails && memory_.flash().EraseSector(address);
}

bool Firmware::WriteFlash(const Command& command) {
  return !flash_faults_.write_fails && memory_.flash().Program(command.address, command.data);
}

std::optional<std::vector<std::uint8_t>> Firmware::ReadMemory(const Command& command) const {
  std::vector<std::uint8_t> data(command.length);
  memory_.Read(command.address, data);
  return MakeReadReply(command, data);
}

}  // namespace orvane::emulator
