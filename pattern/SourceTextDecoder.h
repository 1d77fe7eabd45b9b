// Turns the bytes of a source file into 8-bit text as the pattern editor
// reads it: text that starts with a UTF-16 byte-order mark (either byte
// order) is decoded, characters above Latin-1 becoming '?'; anything else
// passes unchanged. Fed in chunks of any size; one decoder per file; not
// thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace orvane::pattern {

class SourceTextDecoder {
 public:
  // Appends the text decoded from `bytes` to `out`.
  void Feed(std::string_view bytes, std::string& out);
  // Flushes bytes held back at the end of the file.
  void Finish(std::string& out);

 private:
  enum class Encoding { kUndecided, kPlain, kUtf16LittleEndian, kUtf16BigEndian };

  void Decide(std::string& out);
  void DecodeUnit(char first, char second, std::string& out);

  Encoding encoding_ = Encoding::kUndecided;
  // Bytes not yet decoded: the first byte before the mark is known, or the
  // first half of a UTF-16 unit.
  std::string held_;
};

}  // namespace orvane::pattern
