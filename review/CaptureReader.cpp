#include "review/CaptureReader.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "review/LinPacket.h"
#include "review/PcapngFormat.h"

namespace orvane::review {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::uint32_t kPcapMicroseconds = 0xA1B2C3D4;
constexpr std::uint32_t kPcapNanoseconds = 0xA1B23C4D;
constexpr std::size_t kPcapFileHeaderSize = 24;
constexpr std::size_t kPcapRecordHeaderSize = 16;
constexpr std::size_t kBlockOverhead = 12;  // type, length, trailing length
constexpr std::size_t kReadChunk = 1 << 20;
constexpr std::string_view kApplication = "Orvane";

std::uint32_t Swap32(std::uint32_t value) {
  return __builtin_bswap32(value);
}

// Little- or big-endian numbers of one section or file.
struct Order {
  bool swapped = false;
  std::uint16_t U16(Bytes bytes, std::size_t at) const {
    const auto value = static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
    return swapped ? static_cast<std::uint16_t>((value >> 8) | (value << 8)) : value;
  }
  std::uint32_t U32(Bytes bytes, std::size_t at) const {
    const std::uint32_t value = std::uint32_t{bytes[at]} | (std::uint32_t{bytes[at + 1]} << 8) |
                                (std::uint32_t{bytes[at + 2]} << 16) |
                                (std::uint32_t{bytes[at + 3]} << 24);
    return swapped ? Swap32(value) : value;
  }
  std::uint64_t U64(Bytes bytes, std::size_t at) const {
    const std::uint64_t low = U32(bytes, at);
    const std::uint64_t high = U32(bytes, at + 4);
    return swapped ? (low << 32) | high : (high << 32) | low;
  }
};

std::string_view Text(Bytes bytes) {
  return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// Calls `take(code, value)` for each option in `options` until the end
// option or the first one that does not fit.
template <typename Take>
void ForEachOption(Bytes options, const Order& order, Take take) {
  std::size_t at = 0;
  while (options.size() - at >= 4) {
    const std::uint16_t code = order.U16(options, at);
    const std::size_t length = order.U16(options, at + 2);
    if (code == kOptionEnd || length > options.size() - at - 4) return;
    take(code, options.subspan(at + 4, length));
    at += 4 + ((length + 3) & ~std::size_t{3});
  }
}

// Milliseconds since 1970 of a time stamp in units of 10^-n (bit 7 clear)
// or 2^-n (bit 7 set) seconds.
std::int64_t ToMilliseconds(std::uint64_t units, std::uint8_t resolution) {
  const unsigned exponent = resolution & 0x7F;
  if (resolution & 0x80) {
    if (exponent >= 64) return 0;
    const std::uint64_t whole = exponent == 0 ? units : units >> exponent;
    const std::uint64_t fraction = exponent == 0 ? 0 : units & ((std::uint64_t{1} << exponent) - 1);
    const std::uint64_t fractionMs =
        exponent <= 50 ? (fraction * 1000) >> exponent : (fraction >> (exponent - 50)) * 1000 >> 50;
    return static_cast<std::int64_t>(whole * 1000 + fractionMs);
  }
  std::uint64_t value = units;
  for (unsigned power = exponent; power < 3; ++power) value *= 10;
  for (unsigned power = 3; power < exponent && value != 0; ++power) value /= 10;
  return static_cast<std::int64_t>(value);
}

// Turns the packets into records and collects what the file says of its
// recording.
class RecordCollector {
 public:
  explicit RecordCollector(ReviewReadResult& result) : result_(result) {}

  // A new section: its start comment times our packets.
  void BeginSection(std::optional<std::int64_t> base) { sectionBase_ = base; }

  void Add(std::uint64_t block, std::int64_t milliseconds, Bytes packet, std::string_view comment) {
    if (!sectionBase_ && !foreignBase_) foreignBase_ = milliseconds;
    const std::int64_t base = sectionBase_ ? *sectionBase_ : *foreignBase_;
    // Analyzer time modulo 2^32, as the analyzer counts.
    const auto time = static_cast<std::int32_t>(static_cast<std::uint32_t>(
        static_cast<std::uint64_t>(milliseconds) - static_cast<std::uint64_t>(base)));
    std::vector<monitor::MonitorRecord>& records = result_.review.records;
    const std::size_t before = records.size();
    std::string problem = DecodeLinPacket(packet, comment, time, records);
    if (!problem.empty()) {
      result_.review.problems.push_back({block, std::move(problem)});
      return;
    }
    const bool frame = ((packet[4] >> 2) & 0x03) == kLinMessageFrame;
    if (frame && records.size() == before + 1 && !records.back().IsExtendedHeader()) {
      std::uint8_t& length = seenLengths_[static_cast<std::size_t>(packet[5] & 0x3F)];
      length =
          std::max<std::uint8_t>(length, std::min(packet[4] >> 4, monitor::kMergedDataLengthMax));
    }
  }

  // Our section comment with the log's layout; the first one holds.
  void TakeFormat(std::string_view comment) {
    if (!formatFromComment_) {
      formatFromComment_ = ParseLogFormatComment(comment, result_.review.format);
    }
  }

  void Finish() {
    if (!formatFromComment_) result_.review.format.dataLengths = seenLengths_;
  }

 private:
  ReviewReadResult& result_;
  std::optional<std::int64_t> sectionBase_;
  std::optional<std::int64_t> foreignBase_;
  std::array<std::uint8_t, monitor::kIdentifierCount> seenLengths_{};
  bool formatFromComment_ = false;
};

struct Interface {
  std::uint16_t linkType = 0;
  std::uint8_t resolution = 6;  // microseconds unless if_tsresol says otherwise
  std::int64_t offsetSeconds = 0;
};

std::string OtherLinkTypeError(std::uint32_t linkType) {
  return "the capture holds link type " + std::to_string(linkType) +
         ", not LIN (212); there is nothing to read";
}

class PcapngParser {
 public:
  PcapngParser(Bytes bytes, ReviewReadResult& result)
      : bytes_(bytes), result_(result), collector_(result) {}

  void Parse() {
    std::size_t at = 0;
    for (std::uint64_t block = 1; at < bytes_.size(); ++block) {
      const std::size_t left = bytes_.size() - at;
      if (left < kBlockOverhead) return Damaged(block, "is cut short");
      const std::uint32_t type = order_.U32(bytes_, at);
      if (type == kBlockSectionHeader && !TakeByteOrder(at)) {
        return Damaged(block, "is a section header of unknown byte order");
      }
      if (block == 1 && type != kBlockSectionHeader) return Damaged(block, "is no section header");
      const std::uint32_t length = order_.U32(bytes_, at + 4);
      if (length > left) return Damaged(block, "is cut short");
      if (length < kBlockOverhead || length % 4 != 0 ||
          order_.U32(bytes_, at + length - 4) != length) {
        return Damaged(block, "has a damaged length");
      }
      const Bytes body = bytes_.subspan(at + 8, length - kBlockOverhead);
      at += length;
      switch (type) {
        case kBlockSectionHeader:
          SectionHeader(block, body);
          break;
        case kBlockInterfaceDescription:
          InterfaceDescriptionBlock(block, body);
          break;
        case kBlockEnhancedPacket:
          EnhancedPacket(block, body);
          break;
        case kBlockSimplePacket:
          SimplePacket(block, body);
          break;
        default:
          break;
      }
    }
    Finish();
  }

 private:
  bool TakeByteOrder(std::size_t at) {
    if (bytes_.size() - at < kBlockOverhead) return false;
    const std::uint32_t magic = Order{}.U32(bytes_, at + 8);
    if (magic != kByteOrderMagic && magic != Swap32(kByteOrderMagic)) return false;
    order_.swapped = magic != kByteOrderMagic;
    return true;
  }

  void Damaged(std::uint64_t block, std::string_view what) {
    result_.review.problems.push_back(
        {block, "block " + std::to_string(block) + " " + std::string(what)});
    Finish();
  }

  void Finish() {
    collector_.Finish();
    const bool anyLin =
        std::ranges::any_of(linkTypes_, [](std::uint16_t type) { return type == kLinkTypeLin; });
    if (!linkTypes_.empty() && !anyLin) result_.error = OtherLinkTypeError(linkTypes_.front());
  }

  void SectionHeader(std::uint64_t block, Bytes body) {
    interfaces_.clear();
    ours_ = false;
    std::optional<std::int64_t> base;
    if (body.size() < 16 || order_.U16(body, 4) != 1) {
      result_.review.problems.push_back({block, "section header of an unknown version"});
    } else {
      ForEachOption(body.subspan(16), order_, [&](std::uint16_t code, Bytes value) {
        if (code == kOptionUserApplication) ours_ = Text(value) == kApplication;
        if (code != kOptionComment) return;
        if (const auto start = ParseStartComment(Text(value))) {
          base = start->base;
          if (start->wallTime) result_.review.source.startUnixMilliseconds = start->wallTime;
        }
        collector_.TakeFormat(Text(value));
      });
    }
    collector_.BeginSection(base);
  }

  void InterfaceDescriptionBlock(std::uint64_t block, Bytes body) {
    Interface interface;
    if (body.size() < 8) {
      result_.review.problems.push_back({block, "interface description cut short"});
    } else {
      interface.linkType = order_.U16(body, 0);
      ForEachOption(body.subspan(8), order_, [&](std::uint16_t code, Bytes value) {
        if (code == kOptionTimestampResolution && value.size() == 1)
          interface.resolution = value[0];
        if (code == kOptionTimestampOffset && value.size() == 8) {
          interface.offsetSeconds = static_cast<std::int64_t>(order_.U64(value, 0));
        }
        if (code == kOptionInterfaceDescription && ours_) {
          ParseInterfaceDescription(Text(value), result_.review.source);
        }
      });
    }
    interfaces_.push_back(interface);
    linkTypes_.push_back(interface.linkType);
  }

  void EnhancedPacket(std::uint64_t block, Bytes body) {
    if (body.size() < 20) return Problem(block, "packet block cut short");
    const std::uint32_t id = order_.U32(body, 0);
    if (id >= interfaces_.size()) return Problem(block, "packet of an undescribed interface");
    const Interface& interface = interfaces_[id];
    if (interface.linkType != kLinkTypeLin) return;
    const std::uint64_t units = (std::uint64_t{order_.U32(body, 4)} << 32) | order_.U32(body, 8);
    const std::uint32_t captured = order_.U32(body, 12);
    if (captured > body.size() - 20) return Problem(block, "packet longer than its block");
    std::string_view comment;
    const std::size_t optionsAt = 20 + ((std::size_t{captured} + 3) & ~std::size_t{3});
    if (optionsAt < body.size()) {
      ForEachOption(body.subspan(optionsAt), order_, [&](std::uint16_t code, Bytes value) {
        if (code == kOptionComment && comment.empty()) comment = Text(value);
      });
    }
    // Unsigned: a damaged offset wraps instead of overflowing.
    lastMilliseconds_ = static_cast<std::int64_t>(
        static_cast<std::uint64_t>(ToMilliseconds(units, interface.resolution)) +
        static_cast<std::uint64_t>(interface.offsetSeconds) * 1000);
    collector_.Add(block, lastMilliseconds_, body.subspan(20, captured), comment);
  }

  // No time stamp: the packet keeps the time of the one before it.
  void SimplePacket(std::uint64_t block, Bytes body) {
    if (body.size() < 4) return Problem(block, "packet block cut short");
    if (interfaces_.empty()) return Problem(block, "packet of an undescribed interface");
    if (interfaces_.front().linkType != kLinkTypeLin) return;
    const std::size_t length = std::min<std::size_t>(order_.U32(body, 0), body.size() - 4);
    collector_.Add(block, lastMilliseconds_, body.subspan(4, length), {});
  }

  void Problem(std::uint64_t block, std::string reason) {
    result_.review.problems.push_back({block, std::move(reason)});
  }

  Bytes bytes_;
  ReviewReadResult& result_;
  RecordCollector collector_;
  Order order_;
  bool ours_ = false;
  std::vector<Interface> interfaces_;
  std::vector<std::uint16_t> linkTypes_;
  std::int64_t lastMilliseconds_ = 0;
};

void ParsePcap(Bytes bytes, ReviewReadResult& result) {
  Order order;
  const std::uint32_t magic = order.U32(bytes, 0);
  order.swapped = magic == Swap32(kPcapMicroseconds) || magic == Swap32(kPcapNanoseconds);
  const bool nanoseconds = order.U32(bytes, 0) == kPcapNanoseconds;
  if (bytes.size() < kPcapFileHeaderSize) {
    result.error = "the pcap file header is cut short";
    return;
  }
  const std::uint32_t linkType = order.U32(bytes, 20) & 0xFFFF;
  if (linkType != kLinkTypeLin) {
    result.error = OtherLinkTypeError(linkType);
    return;
  }
  RecordCollector collector(result);
  collector.BeginSection(std::nullopt);
  std::size_t at = kPcapFileHeaderSize;
  for (std::uint64_t block = 1; at < bytes.size(); ++block) {
    const std::size_t left = bytes.size() - at;
    const std::uint32_t captured = left >= kPcapRecordHeaderSize ? order.U32(bytes, at + 8) : 0;
    if (left < kPcapRecordHeaderSize || captured > left - kPcapRecordHeaderSize) {
      result.review.problems.push_back({block, "block " + std::to_string(block) + " is cut short"});
      break;
    }
    const std::int64_t seconds = order.U32(bytes, at);
    const std::int64_t fraction = order.U32(bytes, at + 4);
    const std::int64_t milliseconds = seconds * 1000 + fraction / (nanoseconds ? 1000000 : 1000);
    collector.Add(block, milliseconds, bytes.subspan(at + kPcapRecordHeaderSize, captured), {});
    at += kPcapRecordHeaderSize + captured;
  }
  collector.Finish();
}

bool IsPcapMagic(std::uint32_t magic) {
  return magic == kPcapMicroseconds || magic == kPcapNanoseconds ||
         magic == Swap32(kPcapMicroseconds) || magic == Swap32(kPcapNanoseconds);
}

}  // namespace

bool IsCaptureStart(std::span<const std::uint8_t> start) {
  if (start.size() < 4) return false;
  const std::uint32_t magic = Order{}.U32(start, 0);
  return magic == kBlockSectionHeader || IsPcapMagic(magic);
}

ReviewReadResult ParseCapture(std::span<const std::uint8_t> bytes) {
  ReviewReadResult result;
  if (!IsCaptureStart(bytes)) {
    result.error = "not a pcapng or pcap file";
  } else if (Order{}.U32(bytes, 0) == kBlockSectionHeader) {
    PcapngParser(bytes, result).Parse();
  } else {
    ParsePcap(bytes, result);
  }
  return result;
}

ReviewReadResult ReadCaptureFile(const std::filesystem::path& path, const ReadProgress& progress) {
  ReviewReadResult result;
  std::ifstream file(path, std::ios::binary);
  std::error_code sizeError;
  const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
  if (!file || sizeError) {
    result.error = "cannot open " + path.string();
    return result;
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  for (std::size_t done = 0; done < bytes.size();) {
    const std::size_t chunk = std::min(kReadChunk, bytes.size() - done);
    if (!file.read(reinterpret_cast<char*>(bytes.data() + done),
                   static_cast<std::streamsize>(chunk))) {
      result.error = "cannot read " + path.string();
      return result;
    }
    done += chunk;
    if (progress && !progress(done, bytes.size())) {
      result.cancelled = true;
      return result;
    }
  }
  return ParseCapture(bytes);
}

}  // namespace orvane::review
