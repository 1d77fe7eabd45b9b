#include "review/LinPacket.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>

#include "emulator/LinFrame.h"
#include "monitor/TextBuffer.h"

namespace orvane::review {
namespace {

using monitor::MonitorRecord;

constexpr std::string_view kCommentPrefix = "Orvane ";
constexpr std::size_t kEventIdSize = 4;
constexpr std::size_t kGroupHeaderDataSize = 7;
constexpr std::uint8_t kSyncByte = 0x55;

// Errors after which the log shows no data bytes.
bool ShowsData(std::uint8_t error) {
  switch (error) {
    case monitor::kErrorParity:
    case monitor::kErrorShortMessage:
    case monitor::kErrorNoResponse:
    case monitor::kErrorSyncBreakLong:
    case monitor::kErrorSyncField:
    case monitor::kErrorBuffer:
    case monitor::kErrorSyncBreakShort:
    case monitor::kErrorBus:
      return false;
    default:
      return true;
  }
}

bool IsFrameKind(std::uint8_t kind) {
  return kind == monitor::kKindRequest || kind == monitor::kKindEnd ||
         kind == monitor::kKindError || kind == monitor::kKindSimulationError;
}

// Classic or enhanced when the response is complete and its checksum is one
// of them (classic first: the diagnostic frames always use it).
std::uint8_t ChecksumType(const MonitorRecord& record, int length) {
  if (record.kind == monitor::kKindRequest || length == 0 || !ShowsData(record.error)) {
    return kLinChecksumUnknown;
  }
  const std::span<const std::uint8_t> data(record.data, static_cast<std::size_t>(length));
  if (emulator::ClassicChecksum(data) == record.checksum) return kLinChecksumClassic;
  if (emulator::EnhancedChecksum(record.ident, data) == record.checksum) {
    return kLinChecksumEnhanced;
  }
  return kLinChecksumUnknown;
}

void PutHeader(std::vector<std::uint8_t>& bytes, int length, std::uint8_t type,
               std::uint8_t checksumType, const MonitorRecord& record, std::uint8_t checksum) {
  bytes.assign({kLinFormatRevision, 0, 0, 0,
                static_cast<std::uint8_t>((length << 4) | (type << 2) | checksumType), record.ident,
                checksum, LinErrorBits(record.error)});
}

void PutEventId(std::vector<std::uint8_t>& bytes, std::uint32_t id) {
  for (int shift = 24; shift >= 0; shift -= 8)
    bytes.push_back(static_cast<std::uint8_t>(id >> shift));
}

void PutComment(const MonitorRecord& header, std::optional<int> extLength, std::string& comment) {
  monitor::TextBuffer<80> text;
  text.Append(kCommentPrefix);
  const auto field = [&text](std::string_view name, std::uint64_t value) {
    text.Append(name);
    text.AppendNumber(value, 10);
  };
  field("node=", header.node);
  field(" flags=", header.flags);
  field(" kind=", header.kind);
  field(" error=", header.error);
  field(" sync=", header.sync);
  if (extLength) field(" ext=", static_cast<std::uint64_t>(*extLength));
  comment.assign(text.View());
}

// The fields of our comment.
struct Tags {
  int node = -1, flags = -1, kind = -1, error = -1, sync = -1, ext = -1;
};

std::optional<Tags> ParseComment(std::string_view comment) {
  if (!comment.starts_with(kCommentPrefix)) return std::nullopt;
  comment.remove_prefix(kCommentPrefix.size());
  Tags tags;
  const std::pair<std::string_view, int*> fields[] = {{"node", &tags.node}, {"flags", &tags.flags},
                                                      {"kind", &tags.kind}, {"error", &tags.error},
                                                      {"sync", &tags.sync}, {"ext", &tags.ext}};
  while (!comment.empty()) {
    const std::size_t end = std::min(comment.find(' '), comment.size());
    const std::string_view token = comment.substr(0, end);
    comment.remove_prefix(std::min(end + 1, comment.size()));
    const std::size_t equals = token.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const auto field = std::ranges::find(fields, token.substr(0, equals),
                                         &std::pair<std::string_view, int*>::first);
    if (field == std::end(fields)) continue;  // a later writer's addition
    int value = 0;
    const std::string_view digits = token.substr(equals + 1);
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    const int limit = field->second == &tags.ext ? 0xFFFF : 0xFF;
    if (ec != std::errc() || ptr != digits.data() + digits.size() || value < 0 || value > limit) {
      return std::nullopt;
    }
    *field->second = value;
  }
  if (tags.node < 0 || tags.flags < 0 || tags.kind < 0 || tags.error < 0 || tags.sync < 0) {
    return std::nullopt;
  }
  return tags;
}

std::uint32_t EventIdAt(std::span<const std::uint8_t> bytes) {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
         (std::uint32_t{bytes[2]} << 8) | bytes[3];
}

MonitorRecord RecordWithTags(const Tags& tags, std::int32_t time, std::uint8_t ident) {
  MonitorRecord record{};
  record.time = time;
  record.node = static_cast<std::uint8_t>(tags.node);
  record.flags = static_cast<std::uint8_t>(tags.flags);
  record.kind = static_cast<std::uint8_t>(tags.kind);
  record.error = static_cast<std::uint8_t>(tags.error);
  record.ident = ident;
  record.sync = static_cast<std::uint8_t>(tags.sync);
  return record;
}

std::string DecodeGroup(std::span<const std::uint8_t> payload, const Tags& tags, std::int32_t time,
                        std::uint8_t ident, std::vector<MonitorRecord>& records) {
  if (tags.ext < 0) return "extended frame without its data length";
  if (payload.size() < kGroupHeaderDataSize ||
      (payload.size() - kGroupHeaderDataSize) % monitor::kMonitorRecordSize != 0) {
    return "extended frame data of " + std::to_string(payload.size()) + " bytes";
  }
  const std::size_t continuations =
      (payload.size() - kGroupHeaderDataSize) / monitor::kMonitorRecordSize;
  if (continuations + 1 > static_cast<std::size_t>(tags.flags & MonitorRecord::kGroupSizeMask)) {
    return "extended frame with more records than its group size";
  }
  MonitorRecord header = RecordWithTags(tags, time, ident);
  header.SetExtLength(static_cast<std::uint16_t>(tags.ext));
  std::copy_n(payload.begin(), kGroupHeaderDataSize, header.MutableBytes().begin() + 12);
  records.push_back(header);
  for (std::size_t index = 0; index < continuations; ++index) {
    MonitorRecord continuation{};
    std::copy_n(payload.begin() + static_cast<std::ptrdiff_t>(kGroupHeaderDataSize +
                                                              index * monitor::kMonitorRecordSize),
                monitor::kMonitorRecordSize, continuation.MutableBytes().begin());
    records.push_back(continuation);
  }
  return {};
}

std::string DecodeOurs(std::span<const std::uint8_t> packet, const Tags& tags, std::int32_t time,
                       std::vector<MonitorRecord>& records) {
  const std::uint8_t type = (packet[4] >> 2) & 0x03;
  std::span<const std::uint8_t> payload = packet.subspan(kLinHeaderSize);
  if ((tags.flags & MonitorRecord::kGroupSizeMask) != 0) {
    return DecodeGroup(payload, tags, time, packet[5], records);
  }
  if (type == kLinMessageEvent) {
    if (payload.size() < kEventIdSize) return "LIN event without its id";
    payload = payload.subspan(kEventIdSize);
  }
  if (payload.size() < sizeof MonitorRecord::data) return "record data cut short";
  MonitorRecord record = RecordWithTags(tags, time, packet[5]);
  std::copy_n(payload.begin(), sizeof record.data, record.data);
  record.checksum = packet[6];
  records.push_back(record);
  return {};
}

std::uint8_t ErrorCodeOf(std::uint8_t bits) {
  if (bits & kLinErrorNoSlaveResponse) return monitor::kErrorNoResponse;
  if (bits & kLinErrorParity) return monitor::kErrorParity;
  if (bits & kLinErrorChecksum) return monitor::kErrorChecksum;
  if (bits & kLinErrorOverflow) return monitor::kErrorOverrun;
  if (bits & (kLinErrorFraming | kLinErrorInvalidId)) return monitor::kErrorFraming;
  return monitor::kErrorNone;
}

std::optional<std::uint8_t> KindOfEvent(std::uint32_t id) {
  switch (id) {
    case kLinEventGoToSleep:
      return monitor::kKindSleep;
    case kLinEventSleepByInactivity:
      return monitor::kKindBusSleep;
    case kLinEventWakeup:
      return monitor::kKindWakeup;
    default:
      break;
  }
  if ((id & 0xFFFFFF00) == kOrvaneEventBase) return static_cast<std::uint8_t>(id & 0xFF);
  return std::nullopt;
}

std::string DecodeForeign(std::span<const std::uint8_t> packet, std::int32_t time,
                          std::vector<MonitorRecord>& records) {
  const std::uint8_t type = (packet[4] >> 2) & 0x03;
  const std::span<const std::uint8_t> payload = packet.subspan(kLinHeaderSize);
  MonitorRecord record{};
  record.time = time;
  record.node = monitor::kNodeNeither;
  record.sync = kSyncByte;
  record.error = ErrorCodeOf(packet[7]);
  if (type == kLinMessageEvent) {
    if (payload.size() < kEventIdSize) return "LIN event without its id";
    const std::uint32_t id = EventIdAt(payload);
    const std::optional<std::uint8_t> kind = KindOfEvent(id);
    if (!kind) {
      monitor::TextBuffer<40> text;
      text.Append("unknown LIN event 0x");
      text.AppendNumber(id, 16);
      return std::string(text.View());
    }
    record.kind = *kind;
  } else if (type == kLinMessageFrame) {
    const std::size_t length = packet[4] >> 4;
    if (payload.size() < length) return "LIN frame shorter than its length";
    record.kind = record.error == monitor::kErrorNone ? monitor::kKindEnd : monitor::kKindError;
    record.ident = packet[5];
    record.checksum = packet[6];
    std::copy_n(payload.begin(), std::min(length, sizeof record.data), record.data);
  } else {
    return "unknown LIN message type " + std::to_string(type);
  }
  records.push_back(record);
  return {};
}

}  // namespace

std::uint8_t LinErrorBits(std::uint8_t error) {
  switch (error) {
    case monitor::kErrorNone:
      return 0;
    case monitor::kErrorParity:
      return kLinErrorParity;
    case monitor::kErrorChecksum:
      return kLinErrorChecksum;
    case monitor::kErrorNoResponse:
      return kLinErrorNoSlaveResponse;
    case monitor::kErrorOverrun:
    case monitor::kErrorBuffer:
      return kLinErrorOverflow;
    default:
      return kLinErrorFraming;
  }
}

std::uint32_t LinEventId(const MonitorRecord& record) {
  switch (record.kind) {
    case monitor::kKindSleep:
      return kLinEventGoToSleep;
    case monitor::kKindBusSleep:
      return kLinEventSleepByInactivity;
    case monitor::kKindWakeup:
      return kLinEventWakeup;
    default:
      break;
  }
  return IsFrameKind(record.kind) ? 0 : kOrvaneEventBase | record.kind;
}

void EncodeLinPacket(std::span<const MonitorRecord> group,
                     const std::array<std::uint8_t, monitor::kIdentifierCount>& dataLengths,
                     LinPacket& packet) {
  const MonitorRecord& first = group.front();
  std::vector<std::uint8_t>& bytes = packet.bytes;
  if (first.IsExtendedHeader()) {
    const int length = std::min(first.ExtLength(), monitor::kMergedDataLengthMax);
    PutHeader(bytes, length, kLinMessageFrame, kLinChecksumUnknown, first, 0);
    const auto headerData = first.ExtendedHeaderData();
    bytes.insert(bytes.end(), headerData.begin(), headerData.end());
    for (const MonitorRecord& continuation : group.subspan(1)) {
      bytes.insert(bytes.end(), continuation.Bytes().begin(), continuation.Bytes().end());
    }
    PutComment(first, first.ExtLength(), packet.comment);
    return;
  }
  const std::uint32_t eventId = LinEventId(first);
  if (eventId != 0) {
    PutHeader(bytes, 0, kLinMessageEvent, kLinChecksumUnknown, first, first.checksum);
    PutEventId(bytes, eventId);
  } else {
    const int defined = std::min<int>(dataLengths[static_cast<std::size_t>(first.Identifier())],
                                      monitor::kMergedDataLengthMax);
    const int length = ShowsData(first.error) ? defined : 0;
    PutHeader(bytes, length, kLinMessageFrame, ChecksumType(first, length), first, first.checksum);
  }
  bytes.insert(bytes.end(), std::begin(first.data), std::end(first.data));
  PutComment(first, std::nullopt, packet.comment);
}

std::string DecodeLinPacket(std::span<const std::uint8_t> packet, std::string_view comment,
                            std::int32_t time, std::vector<MonitorRecord>& records) {
  if (packet.size() < kLinHeaderSize) return "LIN packet shorter than its header";
  if (packet[0] != kLinFormatRevision) {
    return "LIN message format revision " + std::to_string(packet[0]);
  }
  if (const std::optional<Tags> tags = ParseComment(comment)) {
    return DecodeOurs(packet, *tags, time, records);
  }
  return DecodeForeign(packet, time, records);
}

}  // namespace orvane::review
