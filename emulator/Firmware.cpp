#include "emulator/Firmware.h"

namespace orvane::emulator {

Firmware::Firmware(const AnalyzerProfile& profile) : memory_(profile) {}

void Firmware::PowerOn() {
  firmware_running_ = false;
  memory_.ResetRam();
  monitor_.Reset();
}

std::optional<std::vector<std::uint8_t>> Firmware::Execute(const Command& command) {
  bool acknowledged = false;
  switch (command.code) {
    case CommandCode::kMemoryRead:
    case CommandCode::kMemoryReadEx:
      return ReadMemory(command);
    case CommandCode::kTargetGo:
      firmware_running_ = true;
      acknowledged = true;
      break;
    case CommandCode::kMemoryWrite:
      acknowledged = WriteMemory(command);
      break;
    case CommandCode::kFlashErase:
      acknowledged = EraseFlash(command.address);
      break;
    case CommandCode::kFlashWrite:
      acknowledged = WriteFlash(command);
      break;
    case CommandCode::kMonitorStart:
      if (firmware_running_) monitor_.Start();
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

bool Firmware::WriteMemory(const Command& command) {
  return memory_.WriteRam(command.address, command.data);
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
