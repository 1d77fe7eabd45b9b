#include "emulator/FrameDecoder.h"

#include <algorithm>
#include <cmath>

#include "emulator/ExtendedFrame.h"
#include "emulator/LinFrame.h"
#include "emulator/MemoryMap.h"

namespace orvane::emulator {
namespace {

constexpr std::size_t kMaxDataLength = 8;

int LevelOfBit(std::uint8_t sent, int bit_index) {
  if (bit_index == 0) return 0;                            // start bit
  if (bit_index <= 8) return (sent >> (bit_index - 1)) & 1;  // data, least significant first
  return 1;                                                // stop bit and idle after it
}

class Decoding {
 public:
  Decoding(const FrameOnBus& frame, const ReceiverSetup& setup, std::int32_t time)
      : frame_(frame), setup_(setup), ratio_(static_cast<double>(frame.baud) / setup.baud) {
    record_.time = time;
    if (frame.response_by_unit) record_.flags = kRecordTxFlag;
  }

  std::vector<UnitRecord> Run() {
    const double break_seen = frame_.break_bits / ratio_;
    if (break_seen < kMinShortBreakBits) return Error(RecordError::kFraming, RecordNode::kNeither);
    if (break_seen < kMinBreakBits) return Error(RecordError::kSyncBreakShort, RecordNode::kMaster);
    if (break_seen > kMaxBreakBits) return Error(RecordError::kSyncBreakLong, RecordNode::kMaster);

    const SampledByte sync = SampleByte(frame_.sync, ratio_);
    record_.sync = sync.value;
    if (sync.value != kSyncByte || !sync.stop_bit_ok) {
      return Error(RecordError::kSyncField, RecordNode::kMaster);
    }
    const SampledByte pid = SampleByte(frame_.protected_id, ratio_);
    record_.ident = pid.value;
    if (!pid.stop_bit_ok || frame_.pid_stop_bit_broken) {
      return Error(RecordError::kFraming, RecordNode::kMaster);
    }
    if (!HasValidParity(pid.value)) return Error(RecordError::kParity, RecordNode::kMaster);

    ReceiveResponse();
    const std::uint8_t id = pid.value & 0x3F;
    return id >= kExtendedIdFirst ? Extended() : Ordinary(id);
  }

 private:
  // Reads response bytes until one breaks its stop bit.
  void ReceiveResponse() {
    for (std::size_t i = 0; i < frame_.response.size(); ++i) {
      const SampledByte byte = SampleByte(frame_.response[i], ratio_);
      if (!byte.stop_bit_ok || frame_.broken_stop_bit == i) {
        framing_error_ = true;
        return;
      }
      received_.push_back(byte.value);
    }
  }

  std::vector<UnitRecord> Ordinary(std::uint8_t id) {
    const std::uint8_t entry = setup_.length_table[id];
    const std::size_t length = std::min<std::size_t>(entry & kLengthMask, kMaxDataLength);
    const auto data = std::span(received_).first(std::min(received_.size(), length));
    std::ranges::copy(data, record_.data);
    const RecordNode node = RecordNodeOf(frame_.publisher);

    if (received_.size() <= length) {
      if (framing_error_) return Error(RecordError::kFraming, node);
      if (received_.empty()) {
        return length == 0 ? Report(RecordKind::kRequest, RecordNode::kMaster)
                           : Error(RecordError::kNoResponse, RecordNode::kSlave);
      }
      return Error(RecordError::kShortMessage, node);
    }
    record_.checksum = received_[length];
    const bool enhanced = (entry & kLengthEnhancedBit) != 0;
    const std::uint8_t expected = enhanced ? EnhancedChecksum(record_.ident, data) : ClassicChecksum(data);
    if (record_.checksum != expected) return Error(RecordError::kChecksum, node);
    const bool sleep = id == kGoToSleepId && length > 0 && data[0] == 0x00;
    return Report(sleep ? RecordKind::kSleep : RecordKind::kEnd, node);
  }

  std::vector<UnitRecord> Extended() {
    const RecordNode node = RecordNodeOf(frame_.publisher);
    if (framing_error_) return Error(RecordError::kFraming, node);
    if (received_.empty()) return Error(RecordError::kNoResponse, RecordNode::kSlave);
    const auto data = std::span(received_).first(received_.size() - 1);
    record_.node = static_cast<std::uint8_t>(node);
    record_.kind = static_cast<std::uint8_t>(RecordKind::kEnd);
    if (received_.back() != ClassicChecksum(data)) {
      record_.kind = static_cast<std::uint8_t>(RecordKind::kError);
      record_.error = static_cast<std::uint8_t>(RecordError::kChecksum);
    }
    return MakeExtendedFrameRecords(record_, data);
  }

  std::vector<UnitRecord> Report(RecordKind kind, RecordNode node) {
    record_.kind = static_cast<std::uint8_t>(kind);
    record_.node = static_cast<std::uint8_t>(node);
    return {record_};
  }

  std::vector<UnitRecord> Error(RecordError error, RecordNode node) {
    record_.error = static_cast<std::uint8_t>(error);
    return Report(RecordKind::kError, node);
  }

  const FrameOnBus& frame_;
  const ReceiverSetup& setup_;
  double ratio_;
  UnitRecord record_;
  std::vector<std::uint8_t> received_;
  bool framing_error_ = false;
};

}  // namespace

RecordNode RecordNodeOf(BusNode sender) {
  switch (sender) {
    case BusNode::kMaster:
      return RecordNode::kMaster;
    case BusNode::kSlave:
      return RecordNode::kSlave;
    case BusNode::kAnalyzer:
      break;
  }
  return RecordNode::kNeither;
}

SampledByte SampleByte(std::uint8_t sent, double ratio) {
  if (ratio == 1.0) return {sent, true};
  SampledByte sampled{0, true};
  for (int bit = 0; bit < 10; ++bit) {
    const int level = LevelOfBit(sent, static_cast<int>(std::floor((bit + 0.5) * ratio)));
    if (bit >= 1 && bit <= 8) sampled.value |= static_cast<std::uint8_t>(level << (bit - 1));
    if (bit == 9) sampled.stop_bit_ok = level == 1;
  }
  return sampled;
}

std::vector<UnitRecord> DecodeFrame(const FrameOnBus& frame, const ReceiverSetup& setup,
                                    std::int32_t time) {
  std::vector<UnitRecord> records = Decoding(frame, setup, time).Run();
  UnitRecord& lead = records.front();
  if (frame.simulated_error != 0 && lead.kind == static_cast<std::uint8_t>(RecordKind::kError)) {
    lead.kind = static_cast<std::uint8_t>(RecordKind::kSimulationError);
    lead.node = static_cast<std::uint8_t>(RecordNodeOf(frame.publisher));
    lead.flags |= kRecordTxFlag;
  }
  return records;
}

}  // namespace orvane::emulator
