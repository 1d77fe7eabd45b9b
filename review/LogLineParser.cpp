#include "review/LogLineParser.h"

#include <algorithm>
#include <cstring>

#include "monitor/LogLayout.h"

namespace orvane::review {

namespace {

using monitor::MonitorRecord;

constexpr std::uint8_t kSyncByte = 0x55;
constexpr std::uint8_t kUnknownKind = 8;
// A kind above 15 with low bits 4: "  -" with "Sync Break".
constexpr std::uint8_t kUnknownKindWithSyncBreak = 0x14;
constexpr std::size_t kDataColumns = 8;
// ",M,Tx," then the command and the error column with their commas.
constexpr std::size_t kErrorColumnEnd = 6 + 10 + 1 + 12 + 1;
// "hh," for each data column, then the checksum.
constexpr std::size_t kDataColumnsLength = kDataColumns * 3 + 2;
// Data bytes of the largest extended frame: a group of 15 records.
constexpr std::size_t kMaxExtendedLength = 7 + 19 * 14;
// The longest line the writer writes whole, without its line end.
constexpr std::size_t kLongestLine = monitor::kLogLineCapacity - monitor::kLogLineEnd.size();

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Two lower-case hexadecimal digits at `at`.
bool ReadHexByte(std::string_view text, std::size_t at, std::uint8_t& value) {
  if (at + 2 > text.size()) return false;
  const int high = HexDigit(text[at]);
  const int low = HexDigit(text[at + 1]);
  if (high < 0 || low < 0) return false;
  value = static_cast<std::uint8_t>(high << 4 | low);
  return true;
}

bool ReadDecimal(const char* digits, std::size_t count, std::uint64_t& value) {
  value = 0;
  for (std::size_t index = 0; index < count; ++index) {
    if (digits[index] < '0' || digits[index] > '9') return false;
    value = value * 10 + static_cast<std::uint64_t>(digits[index] - '0');
  }
  return true;
}

// The time text at the start of `rest` in the one spelling the writer gives
// it (monitor/MonitorTime.h); removes it from `rest`.
bool ReadTime(std::string_view& rest, std::int32_t& time) {
  constexpr std::size_t kMaxHourDigits = 10;
  constexpr std::string_view kAfterHours = ":00:00.000     ";
  if (rest.empty() || rest[0] != ' ') return false;
  std::size_t at = 1;
  const bool negative = at < rest.size() && rest[at] == '-';
  if (negative) ++at;
  const std::size_t hoursStart = at;
  while (at < rest.size() && at - hoursStart <= kMaxHourDigits && rest[at] >= '0' &&
         rest[at] <= '9') {
    ++at;
  }
  const std::size_t hourDigits = at - hoursStart;
  if (hourDigits < 2 || hourDigits > kMaxHourDigits ||
      (hourDigits > 2 && rest[hoursStart] == '0')) {
    return false;
  }
  if (rest.size() - at < kAfterHours.size()) return false;
  const char* tail = rest.data() + at;
  if (tail[0] != ':' || tail[3] != ':' || tail[6] != '.' ||
      std::memcmp(tail + 10, "     ", 5) != 0) {
    return false;
  }
  std::uint64_t hours = 0, minutes = 0, seconds = 0, milliseconds = 0;
  if (!ReadDecimal(rest.data() + hoursStart, hourDigits, hours) ||
      !ReadDecimal(tail + 1, 2, minutes) || !ReadDecimal(tail + 4, 2, seconds) ||
      !ReadDecimal(tail + 7, 3, milliseconds) || minutes > 59 || seconds > 59) {
    return false;
  }
  const std::uint64_t magnitude = hours * 3600000 + minutes * 60000 + seconds * 1000 + milliseconds;
  constexpr std::uint64_t kLargest = 2147483647;
  if (negative ? magnitude == 0 || magnitude > kLargest + 1 : magnitude > kLargest) return false;
  const std::int64_t value =
      negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
  time = static_cast<std::int32_t>(value);
  rest.remove_prefix(at + kAfterHours.size());
  return true;
}

template <std::size_t Count>
int IndexOf(const std::array<std::string_view, Count>& texts, std::string_view text) {
  const auto found = std::ranges::find(texts, text);
  return found == texts.end() ? -1 : static_cast<int>(found - texts.begin());
}

// Extended data bytes "hh,hh,...,hh" into the group's bytes from byte 12 of
// its header on.
bool ReadExtendedData(std::string_view text, std::vector<MonitorRecord>& records,
                      std::size_t header) {
  constexpr std::size_t kHeaderDataOffset = 12;
  const std::size_t count = (text.size() + 1) / 3;
  for (std::size_t index = 0; index < count; ++index) {
    const std::size_t at = 3 * index;
    std::uint8_t value = 0;
    if (!ReadHexByte(text, at, value) || (at + 2 < text.size() && text[at + 2] != ','))
      return false;
    const std::size_t byte = kHeaderDataOffset + index;
    records[header + byte / monitor::kMonitorRecordSize]
        .MutableBytes()[byte % monitor::kMonitorRecordSize] = value;
  }
  return true;
}

}  // namespace

LogLineParser::LogLineParser(const IoEventNames& ioEventNames) : ioEventNames_(ioEventNames) {
  dataColumns_.fill(-1);
}

std::string LogLineParser::Parse(std::string_view line, std::uint64_t lineNumber, bool lineEnded,
                                 std::vector<MonitorRecord>& records) {
  if (line.empty()) return "the line is empty";
  MonitorRecord record{};
  record.sync = kSyncByte;
  std::string_view rest = line;
  if (!ReadTime(rest, record.time)) return "the time is not readable";
  if (rest.starts_with(monitor::kLogIoEventColumns)) {
    return ParseIoEvent(line, rest.substr(monitor::kLogIoEventColumns.size()), record, records);
  }
  if (rest.size() < kErrorColumnEnd) return "the line ends before its error column";

  const std::string_view direction = rest.substr(3, 2);
  switch (rest[1]) {
    case 'M':
      record.node = monitor::kNodeMaster;
      break;
    case 'S':
      record.node = monitor::kNodeSlave;
      break;
    case '-':
      record.node = monitor::kNodeNeither;
      break;
    default:
      return "the master/slave column is not readable";
  }
  if (rest[0] != ',' || rest[2] != ',' || rest[5] != ',' ||
      (direction != "Tx" && direction != "Rx")) {
    return "the Tx/Rx column is not readable";
  }
  if (direction == "Tx") record.flags = MonitorRecord::kTxFlag;

  const std::string_view command = rest.substr(6, 10);
  const std::string_view errorText = rest.substr(17, 12);
  if (rest[16] != ',' || rest[29] != ',') return "the command or error column is not readable";
  const int error = IndexOf(monitor::kLogErrorTexts, errorText);
  const bool syncBreak = errorText == monitor::kLogSyncBreakText;
  if (error < 0 && !syncBreak) return "the error column is not readable";
  record.error = static_cast<std::uint8_t>(syncBreak ? int{monitor::kErrorSyncBreakLong} : error);

  rest.remove_prefix(kErrorColumnEnd);
  if (command == monitor::kLogExtendedCommand) {
    if (!lineEnded) return "the file ends in this extended frame, which may be cut";
    record.kind = syncBreak ? monitor::kKindError : monitor::kKindEnd;
    return ParseExtended(line, rest, record, lineNumber, records);
  }
  if (command == monitor::kLogUnknownCommand) {
    record.kind = syncBreak ? kUnknownKindWithSyncBreak : kUnknownKind;
  } else {
    const int kind = IndexOf(monitor::kLogCommandTexts, command);
    if (kind < 0) return "the command column is not readable";
    record.kind = static_cast<std::uint8_t>(kind);
  }
  if (monitor::LogErrorText(record) != errorText) return "the error does not fit the command";
  return ParseOrdinary(rest, record, records);
}

std::string LogLineParser::ParseIoEvent(std::string_view line, std::string_view name,
                                        MonitorRecord record, std::vector<MonitorRecord>& records) {
  if (!name.ends_with(',')) return "the I/O event name has no comma after it";
  if (line.size() > kLongestLine) return "the I/O event name is longer than a log line holds";
  name.remove_suffix(1);
  auto slot = std::ranges::find(ioEventNames_, name);
  if (slot == ioEventNames_.end()) {
    const auto unmet = std::ranges::find(ioEventMet_, false);
    if (unmet == ioEventMet_.end()) return "a seventh I/O event name";
    slot = ioEventNames_.begin() + (unmet - ioEventMet_.begin());
    *slot = name;
  }
  const std::size_t index = static_cast<std::size_t>(slot - ioEventNames_.begin());
  ioEventMet_[index] = true;
  record.node = monitor::kNodeNeither;
  record.kind = static_cast<std::uint8_t>(monitor::kKindIoFirst + index);
  records.push_back(record);
  return {};
}

std::string LogLineParser::ParseOrdinary(std::string_view rest, MonitorRecord record,
                                         std::vector<MonitorRecord>& records) {
  if (monitor::LogLineEndsAfterErrorColumn(record)) {
    if (!rest.empty()) return "the line goes on after its error column";
    records.push_back(record);
    return {};
  }
  if (rest.size() < 3 || !ReadHexByte(rest, 0, record.ident) || rest[2] != ',' ||
      record.ident >= monitor::kIdentifierCount) {
    return "the identifier is not readable";
  }
  rest.remove_prefix(3);
  if (monitor::LogLineEndsAfterIdentifier(record)) {
    if (!rest.empty()) return "the line goes on after its identifier";
    records.push_back(record);
    return {};
  }
  if (rest.size() != kDataColumnsLength) return "the data columns are not readable";
  int shown = 0;
  for (std::size_t column = 0; column < kDataColumns; ++column) {
    const std::size_t at = column * 3;
    if (rest[at + 2] != ',') return "the data columns are not readable";
    if (rest.substr(at, 2) == "  ") continue;
    if (shown != static_cast<int>(column) || !ReadHexByte(rest, at, record.data[column])) {
      return "the data columns are not readable";
    }
    ++shown;
  }
  if (!ReadHexByte(rest, kDataColumns * 3, record.checksum)) return "the checksum is not readable";

  std::int8_t& learned = dataColumns_[record.ident];
  if (learned >= 0 && learned != shown) {
    return "it shows " + std::to_string(shown) +
           " data columns where earlier lines of identifier " + std::string(rest.data() - 3, 2) +
           " show " + std::to_string(learned);
  }
  learned = static_cast<std::int8_t>(shown);
  records.push_back(record);
  return {};
}

std::string LogLineParser::ParseExtended(std::string_view line, std::string_view rest,
                                         MonitorRecord header, std::uint64_t lineNumber,
                                         std::vector<MonitorRecord>& records) {
  bool showsLengthCode = false;
  std::optional<bool> radix;  // what the line's ID+DLC field needs
  bool layoutDependent = false;
  if (!monitor::LogExtendedLineOmitsIdentifier(header)) {
    // "<low bits>,<length code>," where the code is one digit, the only
    // field of one character after the first: data bytes have two.
    const std::size_t comma = rest.find(',');
    showsLengthCode =
        comma != std::string_view::npos && comma + 2 < rest.size() && rest[comma + 2] == ',';
    if (showsLengthCode) {
      const std::string_view low = rest.substr(0, comma);
      int codeBits = 0;  // length code 2 stands for bits 4-5 of 0 and 1: read as 0
      switch (rest[comma + 1]) {
        case '2':
          codeBits = 0;
          break;
        case '4':
          codeBits = 2;
          break;
        case '8':
          codeBits = 3;
          break;
        default:
          return "the length code is not 2, 4 or 8";
      }
      int value = -1;
      if (low.size() == 1) {
        value = HexDigit(low[0]);
        if (value >= 10) radix = true;
      } else if (low.size() == 2 && low[0] == '1' && low[1] >= '0' && low[1] <= '5') {
        value = 10 + (low[1] - '0');
        radix = false;
      }
      if (value < 0) return "the identifier is not readable";
      if (radix && hexRadix_ && *radix != *hexRadix_) {
        return *hexRadix_ ? "a decimal identifier where earlier lines show hexadecimal ones"
                          : "a hexadecimal identifier where earlier lines show decimal ones";
      }
      header.ident = static_cast<std::uint8_t>(value | codeBits << 4);
      rest.remove_prefix(comma + 3);
    } else if (!withLengthCode_ && rest.size() >= 3 && rest[2] == ',' &&
               ReadHexByte(rest, 0, header.ident) && header.ident < monitor::kIdentifierCount) {
      layoutDependent = true;
      rest.remove_prefix(3);
    } else {
      header.ident = 0;
      header.kind = monitor::kKindWakeup;
    }
  }

  const std::size_t count = (rest.size() + 1) / 3;
  if (!rest.empty() && rest.size() != count * 3 - 1) return "the data bytes are not readable";
  if (count > kMaxExtendedLength) {
    return "more data bytes than an extended frame carries";
  }
  const int groupSize = count <= 7 ? 1 : 1 + static_cast<int>(count - 7 + 18) / 19;
  header.flags = static_cast<std::uint8_t>(header.flags | groupSize);
  header.SetExtLength(static_cast<std::uint16_t>(count));
  const std::size_t first = records.size();
  records.resize(first + static_cast<std::size_t>(groupSize));
  records[first] = header;
  if (!ReadExtendedData(rest, records, first)) {
    records.resize(first);
    return "the data bytes are not readable";
  }

  if (showsLengthCode) withLengthCode_ = true;
  if (radix) hexRadix_ = radix;
  if (layoutDependent) layoutDependent_.push_back({first, lineNumber, line});
  return {};
}

monitor::LogFormat LogLineParser::Finish(std::vector<MonitorRecord>& records,
                                         std::vector<ReadProblem>& problems) {
  if (withLengthCode_ && !layoutDependent_.empty()) {
    const std::vector<LayoutDependentLine> lines = std::move(layoutDependent_);
    std::vector<MonitorRecord> reread;
    reread.reserve(records.size() + lines.size());
    std::size_t next = 0;
    for (const LayoutDependentLine& line : lines) {
      reread.insert(reread.end(), records.begin() + static_cast<std::ptrdiff_t>(next),
                    records.begin() + static_cast<std::ptrdiff_t>(line.firstRecord));
      next = line.firstRecord + static_cast<std::size_t>(records[line.firstRecord].GroupSize());
      std::string reason = Parse(line.line, line.lineNumber, true, reread);
      if (!reason.empty()) problems.push_back({line.lineNumber, std::move(reason)});
    }
    reread.insert(reread.end(), records.begin() + static_cast<std::ptrdiff_t>(next), records.end());
    records = std::move(reread);
    std::ranges::stable_sort(problems, {}, &ReadProblem::position);
  }
  layoutDependent_.clear();

  monitor::LogFormat format;
  for (std::size_t id = 0; id < format.dataLengths.size(); ++id) {
    format.dataLengths[id] = static_cast<std::uint8_t>(std::max<int>(dataColumns_[id], 0));
  }
  format.ioEventNames = ioEventNames_;
  format.identifierWithLengthCode = withLengthCode_;
  format.hexRadix = hexRadix_.value_or(true);
  return format;
}

}  // namespace orvane::review
