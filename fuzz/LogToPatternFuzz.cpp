// The log-to-pattern conversion on arbitrary text: fed whole, fed in chunks
// of a size the input chooses (the result must not depend on where chunks
// end), and streamed from a ".log" file into a pattern file, which decodes
// UTF-16 text first, as the source decoder does whole or in chunks.
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/FuzzInput.h"
#include "pattern/LogToPattern.h"
#include "pattern/PatternSource.h"
#include "pattern/SourceTextDecoder.h"

namespace {

using namespace orvane::pattern;

std::string ConvertInChunks(std::string_view text, std::size_t chunkSize,
                            std::optional<std::uint8_t> filter) {
  LogToPatternConverter converter(filter);
  std::string out;
  for (std::size_t at = 0; at < text.size(); at += chunkSize) {
    converter.Feed(text.substr(at, chunkSize), out);
  }
  converter.Finish(out);
  return out;
}

std::string DecodeInChunks(std::string_view bytes, std::size_t chunkSize) {
  SourceTextDecoder decoder;
  std::string out;
  for (std::size_t at = 0; at < bytes.size(); at += chunkSize) {
    decoder.Feed(bytes.substr(at, chunkSize), out);
  }
  decoder.Finish(out);
  return out;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < 1) return 0;
  // The first byte chooses the chunk size and whether a filter applies.
  const std::size_t chunkSize = 1 + (bytes[0] & 0x3F);
  const std::optional<std::uint8_t> filter =
      (bytes[0] & 0x80) ? std::optional<std::uint8_t>(bytes[0] & 0x3F) : std::nullopt;
  const std::string_view text(reinterpret_cast<const char*>(bytes + 1), size - 1);

  const std::optional<std::string> whole = ConvertLogText(text, filter);
  const std::string chunked = ConvertInChunks(text, chunkSize, filter);
  orvane::fuzz::Expect(chunked == whole.value_or(""), "chunked conversion differs");

  const std::string decoded = DecodeInChunks(text, text.size() + 1);
  orvane::fuzz::Expect(DecodeInChunks(text, chunkSize) == decoded, "chunked decoding differs");
  const std::optional<std::string> fromFile = ConvertLogText(decoded, filter);

  static const std::filesystem::path source = orvane::fuzz::ScratchFolder() / "input.log";
  static const std::filesystem::path output = orvane::fuzz::ScratchFolder() / "output.ptn";
  {
    std::ofstream file(source, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  ConversionProgress progress;
  const PatternSourceResult converted = ConvertToPatternFile(source, filter, output, progress);
  if (fromFile) {
    orvane::fuzz::Expect(converted.ok(), "a convertible log failed to convert");
    orvane::fuzz::Expect(ReadWholeFile(output) == *fromFile, "pattern file differs");
  } else {
    orvane::fuzz::Expect(converted.status == PatternSourceStatus::kLogEmpty,
                         "an empty log was not reported");
  }
  return 0;
}
