// orvane-cli log2ptn LOG [--filter ID] [-o OUT]: turns the complete frames
// of a monitor log into a pattern file, as the pattern editor does when it
// reads a log. The default output is LOG without its extension followed by
// "_out.ptn"; a ".ptn" source is its own output and stays as it is.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "pattern/HexScan.h"
#include "pattern/PatternSource.h"

namespace orvane::cli {
namespace {

constexpr std::uint32_t kMaxIdentifier = 0x3F;

struct Log2PtnOptions {
  std::string source;
  std::optional<std::uint8_t> filter;
  std::string output;
};

int Log2Ptn(Log2PtnOptions options) {
  if (options.output.empty()) options.output = pattern::PatternOutputName(options.source);
  pattern::ConversionProgress progress;
  const pattern::PatternSourceResult result =
      pattern::ConvertToPatternFile(options.source, options.filter, options.output, progress);
  if (!result.ok()) {
    std::fprintf(stderr, "%s\n", result.message.c_str());
    return 2;
  }
  if (pattern::IsLogSource(options.source)) {
    std::printf("wrote %zu pattern lines to %s\n", result.patternLines, options.output.c_str());
  } else {
    std::printf("wrote %s unchanged to %s\n", options.source.c_str(), options.output.c_str());
  }
  return 0;
}

}  // namespace

void AddLog2Ptn(CommandLine& commandLine) {
  CLI::App& log2ptn = commandLine.AddCommand(
      commandLine.root(), "log2ptn", "turn the frames of a monitor log into a pattern file");
  const auto options = std::make_shared<Log2PtnOptions>();
  log2ptn.add_option("LOG", options->source, "the monitor log (a pattern file is copied as it is)")
      ->required()
      ->type_name("");
  log2ptn
      .add_option_function<std::string>(
          "--filter",
          [options](const std::string& text) {
            const std::optional<std::uint32_t> ident = pattern::ScanHex(text);
            if (!ident || *ident > kMaxIdentifier) {
              throw CLI::ValidationError("--filter", "the filter identifier must be 00-3F");
            }
            options->filter = static_cast<std::uint8_t>(*ident);
          },
          "take only the frames of identifier ID (hexadecimal)")
      ->type_name("ID");
  log2ptn
      .add_option(
          "-o", options->output,
          "the pattern file to write (default: LOG without its extension, then \"_out.ptn\")")
      ->type_name("OUT");
  commandLine.RunsWhenChosen(log2ptn, [options] { return Log2Ptn(*options); });
}

}  // namespace orvane::cli
