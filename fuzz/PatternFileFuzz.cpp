// The pattern file reader and both of its checks on arbitrary bytes, read
// from a stream and from a file, and the editor's load of a pattern source
// (which decodes UTF-16 text first).
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/FuzzInput.h"
#include "pattern/PatternCheck.h"
#include "pattern/PatternSource.h"

namespace {

using namespace orvane::pattern;

void CheckBothWays(const std::string& text, const std::filesystem::path& file,
                   PatternCheckVariant variant) {
  std::istringstream in(text);
  const PatternCheckResult fromStream = CheckPatternStream(in, variant);
  const PatternCheckResult fromFile = CheckPatternFile(file, variant);
  orvane::fuzz::Expect(fromStream.status == fromFile.status && fromStream.line == fromFile.line,
                       "stream and file checks disagree");
  if (fromStream.accepted()) {
    orvane::fuzz::Expect(fromStream.message().empty(), "an accepted file has a message");
  } else {
    orvane::fuzz::Expect(!fromStream.message().empty(), "a rejected file has no message");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  static orvane::fuzz::InputFile input;
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  const std::filesystem::path& file = input.Write({bytes, size});
  CheckBothWays(text, file, PatternCheckVariant::kSelect);
  CheckBothWays(text, file, PatternCheckVariant::kEditor);

  ConversionProgress progress;
  const PatternSourceResult loaded = LoadPatternSource(file, std::nullopt, progress);
  orvane::fuzz::Expect(loaded.ok(), "a readable pattern source failed to load");
  orvane::fuzz::Expect(!progress.loading.load(), "loading flag left set");
  return 0;
}
