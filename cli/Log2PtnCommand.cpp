// orvane-cli log2ptn LOG [--filter ID] [-o OUT]: turns the complete frames
// of a monitor log into a pattern file, as the pattern editor does when it
// reads a log. The default output is LOG without its extension followed by
// "_out.ptn"; a ".ptn" source is its own output and stays as it is.
#include <cstdio>
#include <optional>
#include <string>

#include "cli/Commands.h"
#include "pattern/HexScan.h"
#include "pattern/PatternSource.h"

namespace orvane::cli {
namespace {

constexpr const char* kUsage = "usage: orvane-cli log2ptn LOG [--filter ID] [-o OUT]\n";
constexpr std::uint32_t kMaxIdentifier = 0x3F;

struct Log2PtnOptions {
  std::string source;
  std::optional<std::uint8_t> filter;
  std::string output;
};

std::optional<Log2PtnOptions> ParseOptions(Args args) {
  Log2PtnOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--filter" && hasValue) {
      const std::optional<std::uint32_t> ident = pattern::ScanHex(args[++i]);
      if (!ident || *ident > kMaxIdentifier) {
        std::fputs("orvane-cli log2ptn: the filter identifier must be 00-3F\n", stderr);
        return std::nullopt;
      }
      options.filter = static_cast<std::uint8_t>(*ident);
    } else if (arg == "-o" && hasValue) {
      options.output = args[++i];
    } else if (options.source.empty() && !arg.starts_with("-")) {
      options.source = arg;
    } else {
      return std::nullopt;
    }
  }
  if (options.source.empty()) return std::nullopt;
  if (options.output.empty()) options.output = pattern::PatternOutputName(options.source);
  return options;
}

}  // namespace

int RunLog2Ptn(Args args) {
  const std::optional<Log2PtnOptions> options = ParseOptions(args);
  if (!options) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  pattern::ConversionProgress progress;
  const pattern::PatternSourceResult result =
      pattern::ConvertToPatternFile(options->source, options->filter, options->output, progress);
  if (!result.ok()) {
    std::fprintf(stderr, "%s\n", result.message.c_str());
    return 2;
  }
  if (pattern::IsLogSource(options->source)) {
    std::printf("wrote %zu pattern lines to %s\n", result.patternLines, options->output.c_str());
  } else {
    std::printf("wrote %s unchanged to %s\n", options->source.c_str(), options->output.c_str());
  }
  return 0;
}

}  // namespace orvane::cli
