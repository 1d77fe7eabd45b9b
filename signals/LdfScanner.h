// Second stage of reading a LIN description file: the tokens of its
// comment-free text, and finding a section by its keyword.
//
// Every read skips blanks (space, tab, carriage return, line feed) first,
// except Unit, which skips spaces and tabs only. A read that fails leaves the
// position wherever it stopped; the section that called it fails as a whole.
// Not thread-safe; one scanner per parse.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::signals {

struct RealToken {
  double value = 0;
  bool hasExponent = false;  // "1.5e3": read whole and exactly; a strict rule refuses it
  std::string text;          // as written
};

class LdfScanner {
 public:
  explicit LdfScanner(std::string_view text) : text_(text) {}

  std::size_t position() const { return pos_; }
  // Where the last name, number or quoted text read (or tried) started,
  // behind its blanks.
  std::size_t tokenStart() const { return tokenStart_; }
  // The last token read, as written.
  std::string TextSinceTokenStart() const {
    return std::string(text_.substr(tokenStart_, pos_ - tokenStart_));
  }
  // Skips blanks and returns where the next token starts.
  std::size_t NextTokenStart() {
    SkipBlanks();
    return pos_;
  }

  // True when the next characters are `word`; they are consumed. The word
  // need not end there ("Masters" matches "Master").
  bool Keyword(std::string_view word);
  // As Keyword, for the units "ms" and "kbps", skipping spaces and tabs only.
  bool Unit(std::string_view word);
  // True when the next character is `c`; nothing is consumed.
  bool Peek(char c);

  // A letter followed by letters, digits and "_", of any length (the length
  // limit is a rule). Empty → nullopt.
  std::optional<std::string> Identifier();
  // Decimal with an optional leading "-", or hexadecimal after "0x"; at most
  // 11 characters are read.
  std::optional<std::int64_t> Integer();
  // An integer, or decimal digits with one "." and an optional leading "-",
  // optionally followed by an exponent; at most 239 characters.
  std::optional<RealToken> Real();
  // Printable characters between double quotes, of any length (the length
  // limits are rules); a control character or the end of the text → nullopt.
  std::optional<std::string> Quoted();

  // Scans forward for `keyword` at brace depth 0 outside quoted text,
  // stepping over quoted text and balanced braces, and moves behind it.
  // Reaching the end, or a "}" that closes below depth 0, returns false and
  // keeps the position.
  bool FindSection(std::string_view keyword);

 private:
  void SkipBlanks();
  // Skips blanks and notes the token start.
  void StartToken();

  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t tokenStart_ = 0;
};

}  // namespace orvane::signals
