#include "emulator/MonitorStream.h"

#include <algorithm>

namespace orvane::emulator {
namespace {

template <typename T>
void AppendBytes(std::vector<std::uint8_t>& out, const T& value) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
  out.insert(out.end(), bytes, bytes + sizeof value);
}

}  // namespace

void MonitorStream::Start() {
  pending_.clear();
  overflowed_ = false;
  running_ = true;
}

void MonitorStream::Stop() { running_ = false; }

void MonitorStream::Push(const UnitRecord& record) {
  if (!running_) return;
  if (pending_.size() + (overflowed_ ? 1 : 0) >= kBufferCapacity) {
    overflowed_ = true;
    return;
  }
  if (overflowed_) {
    UnitRecord lost;
    lost.time = record.time;
    lost.node = static_cast<std::uint8_t>(RecordNode::kNeither);
    lost.kind = static_cast<std::uint8_t>(RecordKind::kError);
    lost.error = static_cast<std::uint8_t>(RecordError::kBuffer);
    pending_.push_back(lost);
    overflowed_ = false;
  }
  pending_.push_back(record);
}

void MonitorStream::Push(std::span<const UnitRecord> records) {
  for (const UnitRecord& record : records) Push(record);
}

std::int64_t MonitorStream::NextBlockDue() const {
  return pending_.size() > kMaxRecordsPerBlock ? last_block_ : last_block_ + kBlockPeriodMicros;
}

std::vector<std::uint8_t> MonitorStream::TakeBlock(std::int64_t now, UnitBlockHeader header) {
  last_block_ = now;
  const std::size_t count = std::min(pending_.size(), kMaxRecordsPerBlock);
  header.record_count = oversized_announcement_ != 0 ? oversized_announcement_
                                                     : static_cast<std::uint8_t>(count);
  std::vector<std::uint8_t> block;
  block.reserve(kMaxBlockSize);
  AppendBytes(block, header);
  for (std::size_t i = 0; i < count; ++i) AppendBytes(block, pending_[i]);
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(count));
  if (oversized_announcement_ != 0) {
    block.resize(kMaxBlockSize, 0);
    oversized_announcement_ = 0;
  }
  return block;
}

void MonitorStream::AnnounceOversizedNextBlock(std::uint8_t announced) {
  oversized_announcement_ = announced;
}

void MonitorStream::Reset() { *this = MonitorStream{}; }

}  // namespace orvane::emulator
