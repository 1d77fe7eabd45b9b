// The 10-byte record into which one pattern file line is parsed for the
// master and slave simulations.
//
// A pattern line reads "Command,ID,D0,...,D7": the command "Tx", "Rx",
// "Sleep" or "Wakeup", the identifier and up to eight data bytes, all
// numbers in hexadecimal. Pure functions; any thread may call them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace orvane::pattern {

// Command codes kept in the high nibble of PatternRecord::head.
enum class PatternCommand : std::uint8_t { kTx = 1, kRx = 2, kSleep = 3, kWakeup = 4 };

#pragma pack(push, 1)
struct PatternRecord {
  // High nibble: PatternCommand; low nibble: number of data bytes parsed (0-8).
  std::uint8_t head = 0;
  // LIN identifier 0-63.
  std::uint8_t ident = 0;
  // D0-D7 in line order; bytes after the parsed ones stay 0.
  std::array<std::uint8_t, 8> data{};

  std::uint8_t commandCode() const { return head >> 4; }
  std::uint8_t dataCount() const { return head & 0x0F; }
  friend bool operator==(const PatternRecord&, const PatternRecord&) = default;
};
#pragma pack(pop)
static_assert(sizeof(PatternRecord) == 10);

struct ParsedPatternLine {
  PatternRecord record;
  // False when a field could not be read; the bytes parsed up to that field
  // stay in `record`.
  bool ok = false;
};

// Parses one line as the simulations read it. At most the first 64
// characters are looked at; the line ends at a line feed or at the end of
// the text. The command may be spelled with a capital or a small first
// letter ("Tx" or "tx") and only its first letters are compared, so "Txyz"
// counts as "Tx". The identifier must be below 0x40. Each data field keeps
// the low 8 bits of its value; fields after D7 are ignored. A field that is
// absent is not parsed, so "Wakeup" alone is a valid record without data.
ParsedPatternLine ParsePatternLine(std::string_view text);

}  // namespace orvane::pattern
