#include "emulator/UnitTransmitter.h"

#include <algorithm>

#include "emulator/DisturbancePlan.h"
#include "emulator/LinFrame.h"
#include "emulator/MemoryMap.h"

namespace orvane::emulator {
namespace {

constexpr std::size_t kMaxDataLength = 8;
constexpr std::uint8_t kLin20 = 1;
constexpr double kWakeupCharacterDominantBits = 8;

bool IsExtended(std::uint8_t identifier) { return (identifier & 0x3F) >= kExtendedIdFirst; }

// The fault of an error code, when it is one the given side can cause.
std::optional<Disturbance> FaultOf(std::uint8_t error_code, bool header_faults) {
  const std::optional<Disturbance> fault = DisturbanceCausing(error_code);
  if (fault && !header_faults && BreaksHeader(*fault)) return std::nullopt;
  return fault;
}

}  // namespace

bool UnitTransmitter::SendsAsMaster(const TableEntry& entry) const {
  switch (entry.what()) {
    case EntryKind::kRx:
    case EntryKind::kTx:
    case EntryKind::kSleep:
    case EntryKind::kWakeup:
    case EntryKind::kExtendedRx:
    case EntryKind::kExtendedTx:
    case EntryKind::kError:
      return true;
    case EntryKind::kExtendedFile:
      return ExtendedFileData(entry).has_value();
    case EntryKind::kNone:
      break;
  }
  return false;
}

std::optional<BusEvent> UnitTransmitter::AsMaster(const TableEntry& entry, std::int64_t start,
                                                  BusContext& bus) const {
  FrameOnBus frame;
  switch (entry.what()) {
    case EntryKind::kRx:
    case EntryKind::kExtendedRx:
      frame = Header(entry.identifier, start);
      if (auto response = bus.AskResponders(frame.protected_id, start)) {
        PutResponse(std::move(*response), frame);
      }
      return frame;
    case EntryKind::kTx:
    case EntryKind::kExtendedTx:
      return Published(entry.identifier, DataOf(entry), start);
    case EntryKind::kSleep: {
      FrameOnBus sleep = GoToSleepFrame(start, receiver_.configured_baud());
      sleep.header_by_unit = true;
      sleep.response_by_unit = true;
      return sleep;
    }
    case EntryKind::kWakeup:
      return Wakeup(start);
    case EntryKind::kExtendedFile: {
      const auto data = ExtendedFileData(entry);
      if (!data) return std::nullopt;
      frame = Published(entry.identifier, *data, start);
      break;
    }
    case EntryKind::kError:
      frame = Published(entry.identifier, DataOf(entry), start);
      break;
    default:
      return std::nullopt;
  }
  if (const auto fault = FaultOf(entry.error_code(), /*header_faults=*/true)) {
    ApplyDisturbance(*fault, frame);
    frame.simulated_error = entry.error_code();
  }
  return frame;
}

std::optional<Response> UnitTransmitter::AsSlave(const TableEntry& entry,
                                                 std::uint8_t protected_id) const {
  if (entry.what() != EntryKind::kTx && entry.what() != EntryKind::kError) return std::nullopt;
  Response response{WithItsChecksum(protected_id, DataOf(entry)), BusNode::kSlave, true, 0};
  if (entry.what() == EntryKind::kError &&
      FaultOf(entry.error_code(), /*header_faults=*/false)) {
    response.simulated_error = entry.error_code();
  }
  return response;
}

FrameOnBus UnitTransmitter::Header(std::uint8_t identifier, std::int64_t start) const {
  FrameOnBus frame;
  frame.start = start;
  frame.baud = receiver_.configured_baud();
  frame.protected_id = ProtectedId(identifier);
  frame.header_by_unit = true;
  return frame;
}

FrameOnBus UnitTransmitter::Published(std::uint8_t identifier, std::span<const std::uint8_t> data,
                                      std::int64_t start) const {
  FrameOnBus frame = Header(identifier, start);
  frame.publisher = BusNode::kMaster;
  frame.response_by_unit = true;
  frame.response = WithItsChecksum(frame.protected_id, data);
  return frame;
}

std::vector<std::uint8_t> UnitTransmitter::WithItsChecksum(std::uint8_t protected_id,
                                                           std::span<const std::uint8_t> data) const {
  const std::uint8_t id = protected_id & 0x3F;
  const bool enhanced = !IsExtended(id) &&
                        (memory_.RamByte(static_cast<std::uint16_t>(kLengthTableAddress + id)) &
                         kLengthEnhancedBit) != 0;
  std::vector<std::uint8_t> bytes(data.begin(), data.end());
  bytes.push_back(enhanced ? EnhancedChecksum(protected_id, data) : ClassicChecksum(data));
  return bytes;
}

std::span<const std::uint8_t> UnitTransmitter::DataOf(const TableEntry& entry) const {
  const std::uint8_t id = entry.identifier & 0x3F;
  const std::size_t length = std::min<std::size_t>(
      memory_.RamByte(static_cast<std::uint16_t>(kLengthTableAddress + id)) & kLengthMask,
      kMaxDataLength);
  return std::span(entry.data).first(length);
}

std::optional<std::span<const std::uint8_t>> UnitTransmitter::ExtendedFileData(
    const TableEntry& entry) const {
  const std::uint8_t file = entry.data[0];
  if (file >= kExtendedFileCount) return std::nullopt;
  const std::size_t length =
      std::min<std::size_t>(entry.data[1] | entry.data[2] << 8, kExtendedDataSize);
  return memory_.Ram(static_cast<std::uint16_t>(kExtendedDataAddress + file * kExtendedDataSize),
                     length);
}

WakeupPulse UnitTransmitter::Wakeup(std::int64_t start) const {
  std::int64_t length = BitsToMicros(kWakeupCharacterDominantBits, receiver_.configured_baud());
  if (memory_.RamByte(kLinRevisionRegister) == kLin20) {
    length = std::max<std::int64_t>(1, memory_.RamWord(kWakeupLengthRegister));
  }
  return WakeupPulse{start, length, BusNode::kAnalyzer};
}

}  // namespace orvane::emulator
