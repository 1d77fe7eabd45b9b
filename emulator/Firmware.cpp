#include "emulator/Firmware.h"

namespace orvane::emulator {

namespace {

// Whether a memory write touched any of the `length` bytes at `address`.
bool Overlaps(const Command& write, std::uint32_t address, std::size_t length = 1) {
  return write.address < address + length && address < write.address + write.data.size();
}

}  // namespace

Firmware::Firmware(const AnalyzerProfile& profile)
    : memory_(profile), receiver_(memory_, monitor_, profile.counter_start_ms) {}

void Firmware::AttachTo(LinBus& bus) {
  bus.AddObserver(*this);
  // On a tie the mailbox goes first: a one-shot frame takes the next gap.
  bus.AddInitiator(mailbox_);
  bus.AddInitiator(master_);
  bus.AddLeadingResponder(slaves_);
}

void Firmware::PowerOn() {
  firmware_running_ = false;
  memory_.ResetRam();
  monitor_.Reset();
  receiver_.Reset();
  banks_.Reset();
  mailbox_.Reset();
  master_.Reset();
  slaves_.SetRunning(false);
}

UnitBlockHeader Firmware::BlockHeader(std::int64_t now) {
  UnitBlockHeader header = receiver_.Header(now);
  header.simulation_count = master_.cycles_completed();
  return header;
}

bool Firmware::IsBusMaster() const {
  return firmware_running_ && mode() == UnitMode::kMasterSimulation;
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
        receiver_.RestartSimulationCounters();
        master_.StartSchedule(now);
      }
      acknowledged = firmware_running_;
      break;
    case CommandCode::kMonitorStop:
      if (firmware_running_) monitor_.Stop();
      acknowledged = firmware_running_;
      break;
  }
  UpdateSimulations(now);
  if (!acknowledged) return std::nullopt;
  return MakeAcknowledge(command.code);
}

void Firmware::UpdateSimulations(std::int64_t now) {
  const bool monitoring = firmware_running_ && monitor_.running();
  master_.SetRunning(monitoring && mode() == UnitMode::kMasterSimulation &&
                         memory_.RamByte(kScheduleSwitchRegister) != 0,
                     now);
  slaves_.SetRunning(monitoring && mode() == UnitMode::kSlaveSimulation);
}

bool Firmware::WriteMemory(const Command& command, std::int64_t now) {
  if (!memory_.WriteRam(command.address, command.data)) return false;
  if (!firmware_running_) return true;
  if (Overlaps(command, kFrameTimingRegister, kFrameTimingSize)) receiver_.OnTimingWritten();
  if (Overlaps(command, kBankStateAddress[0]) || Overlaps(command, kBankStateAddress[1])) {
    TakeRequestedBank(now);
  }
  if (Overlaps(command, kOneShotHandshakeAddress)) mailbox_.Request(now);
  return true;
}

void Firmware::TakeRequestedBank(std::int64_t now) {
  const std::optional<std::uint8_t> request = banks_.TakeRequested(memory_);
  if (request == kBankStartSchedule) {
    master_.StartSchedule(now);
    receiver_.RestartSimulationCounters();
  } else if (request == kBankReplaceTable) {
    master_.TableReplaced();
  }
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
