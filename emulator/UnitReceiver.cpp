#include "emulator/UnitReceiver.h"

#include "emulator/BaudTiming.h"
#include "emulator/FrameDecoder.h"
#include "emulator/MemoryMap.h"

namespace orvane::emulator {

std::int32_t UnitMillis(std::int64_t micros, std::uint32_t counter_start) {
  return static_cast<std::int32_t>(counter_start + static_cast<std::uint32_t>(micros / 1000));
}

UnitReceiver::UnitReceiver(UnitMemory& memory, MonitorStream& monitor,
                           std::uint32_t counter_start)
    : memory_(memory), monitor_(monitor), counter_start_(counter_start) {
  Reset();
}

void UnitReceiver::Reset() {
  statistics_ = BusStatistics{};
  configured_baud_ = 0;
  RestartSimulationCounters();
  OnTimingWritten();
}

void UnitReceiver::RestartSimulationCounters() {
  simulation_requests_ = 0;
  simulation_successes_ = 0;
}

UnitBlockHeader UnitReceiver::Header(std::int64_t now) {
  UnitBlockHeader header = statistics_.Header(now);
  header.simulation_requests = simulation_requests_;
  header.simulation_successes = simulation_successes_;
  return header;
}

void UnitReceiver::OnTimingWritten() {
  if (const auto baud = BaudFromTiming(memory_.Ram(kFrameTimingRegister, kFrameTimingSize))) {
    configured_baud_ = *baud;
  }
}

void UnitReceiver::Observe(const BusEvent& event) {
  std::visit(
      [this](const auto& e) {
        using Event = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<Event, FrameOnBus>) {
          OnFrame(e);
        } else if constexpr (std::is_same_v<Event, WakeupPulse>) {
          OnWakeup(e);
        } else {
          OnIoEdge(e);
        }
      },
      event);
}

void UnitReceiver::OnFrame(const FrameOnBus& frame) {
  if (static_cast<UnitMode>(memory_.RamByte(kModeRegister)) == UnitMode::kBaudMeasurement) {
    memory_.SetRamWord(kMeasuredBaudRegister, static_cast<std::uint16_t>(frame.baud));
    statistics_.OnFrame(frame.start, frame.End(), false, IsGoToSleep(frame));
    return;
  }
  const ReceiverSetup setup{
      configured_baud_,
      std::span<const std::uint8_t, 64>(memory_.Ram(kLengthTableAddress, 64).data(), 64)};
  const std::vector<UnitRecord> records =
      DecodeFrame(frame, setup, UnitMillis(frame.End(), counter_start_));
  const auto kind = static_cast<RecordKind>(records.front().kind);
  const bool error = kind == RecordKind::kError || kind == RecordKind::kSimulationError;
  statistics_.OnFrame(frame.start, frame.End(), error, kind == RecordKind::kSleep);
  if (frame.header_by_unit) {
    ++simulation_requests_;
    if (!error) ++simulation_successes_;
  }
  monitor_.Push(records);
}

void UnitReceiver::OnWakeup(const WakeupPulse& pulse) {
  statistics_.OnWakeup(pulse.start, pulse.End());
  UnitRecord record;
  record.time = UnitMillis(pulse.End(), counter_start_);
  record.kind = static_cast<std::uint8_t>(RecordKind::kWakeup);
  record.node = static_cast<std::uint8_t>(RecordNodeOf(pulse.sender));
  if (pulse.sender == BusNode::kAnalyzer) record.flags = kRecordTxFlag;
  monitor_.Push(record);
}

void UnitReceiver::OnIoEdge(const IoEdge& edge) {
  if (memory_.RamByte(static_cast<std::uint16_t>(kIoEnableRegister + edge.channel)) == 0) return;
  UnitRecord record;
  record.time = UnitMillis(edge.time, counter_start_);
  record.kind = static_cast<std::uint8_t>(static_cast<int>(RecordKind::kIoFirst) + 2 * edge.channel +
                                          (edge.rising ? 0 : 1));
  monitor_.Push(record);
}

}  // namespace orvane::emulator
