#include "review/PcapngWriter.h"

#include <utility>

namespace orvane::review {
namespace {

constexpr std::string_view kApplication = "Orvane";
constexpr std::int64_t kWrap = std::int64_t{1} << 32;

}  // namespace

PcapngWriter::PcapngWriter(std::FILE* file, monitor::LogFormat format, bool flushEachBlock)
    : file_(file), format_(std::move(format)), flushEachBlock_(flushEachBlock) {
  group_.reserve(monitor::MonitorRecord::kGroupSizeMask);
}

void PcapngWriter::Begin(const RecordingSource& source) {
  base_ = source.startUnixMilliseconds.value_or(kUnknownStartMilliseconds);

  block_.clear();
  AppendU32(block_, kBlockSectionHeader);
  AppendU32(block_, 0);
  AppendU32(block_, kByteOrderMagic);
  AppendU16(block_, 1);  // version 1.0
  AppendU16(block_, 0);
  AppendU32(block_, 0xFFFFFFFF);  // section length not given
  AppendU32(block_, 0xFFFFFFFF);
  AppendOption(block_, kOptionUserApplication, kApplication);
  AppendOption(block_, kOptionComment, StartComment(source.startUnixMilliseconds));
  AppendOption(block_, kOptionComment, LogFormatComment(format_));
  AppendOption(block_, kOptionEnd, std::string_view());
  WriteBlock();

  block_.clear();
  AppendU32(block_, kBlockInterfaceDescription);
  AppendU32(block_, 0);
  AppendU16(block_, kLinkTypeLin);
  AppendU16(block_, 0);
  AppendU32(block_, 0);  // no snapshot length limit
  const std::uint8_t resolution[] = {kMillisecondResolution};
  AppendOption(block_, kOptionTimestampResolution, resolution);
  if (!source.analyzerName.empty() || !source.serialNumber.empty() ||
      !source.firmwareVersion.empty()) {
    AppendOption(block_, kOptionInterfaceDescription, InterfaceDescription(source));
  }
  AppendOption(block_, kOptionEnd, std::string_view());
  WriteBlock();
}

void PcapngWriter::Write(std::span<const monitor::MonitorRecord> records) {
  for (const monitor::MonitorRecord& record : records) Write(record);
}

void PcapngWriter::Write(const monitor::MonitorRecord& record) {
  if (groupRecordsLeft_ == 0) {
    group_.assign(1, record);
    groupRecordsLeft_ = record.IsExtendedHeader() ? record.GroupSize() - 1 : 0;
  } else {
    group_.push_back(record);
    --groupRecordsLeft_;
  }
  if (groupRecordsLeft_ == 0) WriteGroup();
}

void PcapngWriter::Finish() {
  if (groupRecordsLeft_ == 0) return;
  groupRecordsLeft_ = 0;
  WriteGroup();
}

void PcapngWriter::WriteGroup() {
  EncodeLinPacket(group_, format_.dataLengths, packet_);
  const std::uint64_t timestamp = TimestampOf(group_.front().time);

  block_.clear();
  AppendU32(block_, kBlockEnhancedPacket);
  AppendU32(block_, 0);
  AppendU32(block_, 0);  // interface 0
  AppendU32(block_, static_cast<std::uint32_t>(timestamp >> 32));
  AppendU32(block_, static_cast<std::uint32_t>(timestamp));
  AppendU32(block_, static_cast<std::uint32_t>(packet_.bytes.size()));
  AppendU32(block_, static_cast<std::uint32_t>(packet_.bytes.size()));
  AppendPadded(block_, packet_.bytes);
  AppendOption(block_, kOptionComment, packet_.comment);
  AppendOption(block_, kOptionEnd, std::string_view());
  WriteBlock();
  group_.clear();
}

void PcapngWriter::WriteBlock() {
  FinishBlock(block_);
  std::fwrite(block_.data(), 1, block_.size(), file_);
  if (flushEachBlock_) std::fflush(file_);
}

std::uint64_t PcapngWriter::TimestampOf(std::int32_t time) {
  std::int64_t timestamp = base_ + followedTime_.Follow(time);
  // Steps back past 1970 would need a negative time stamp: a multiple of the
  // wrap keeps the analyzer time the reader gets.
  if (timestamp < 0) timestamp += (-timestamp + kWrap - 1) / kWrap * kWrap;
  return static_cast<std::uint64_t>(timestamp);
}

}  // namespace orvane::review
