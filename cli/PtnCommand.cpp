// orvane-cli ptn check FILE [--editor]: applies the check that the program
// runs when a pattern file is selected for a simulation slot, or with
// --editor the stricter one the pattern editor runs before it saves, and
// prints the verdict.
#include <cctype>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "pattern/PatternCheck.h"

namespace orvane::cli {
namespace {

// The failing line as read, printable on a terminal whatever the file holds.
std::string Printable(std::string_view text) {
  std::string printable;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') continue;
    if (std::isprint(byte)) {
      printable.push_back(c);
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
      printable += escaped;
    }
  }
  return printable;
}

int Check(const std::string& path, pattern::PatternCheckVariant variant) {
  const pattern::PatternCheckResult result = pattern::CheckPatternFile(path, variant);
  if (result.accepted()) {
    std::printf("%s: accepted\n", path.c_str());
    return 0;
  }
  std::fprintf(stderr, "%s: %s\n", path.c_str(), result.message().c_str());
  if (result.status == pattern::PatternCheckStatus::kFormatError) {
    std::fprintf(stderr, "line %zu: %s\n", result.line, Printable(result.lineText).c_str());
  }
  return 2;
}

}  // namespace

void AddPtn(CommandLine& commandLine) {
  CLI::App& ptn = commandLine.AddCommand(commandLine.root(), "ptn", "check a pattern file");
  ptn.require_subcommand(1);
  CLI::App& check = commandLine.AddCommand(
      ptn, "check", "check FILE as the program does when a simulation slot selects it");
  struct Options {
    std::string path;
    bool editor = false;
  };
  const auto options = std::make_shared<Options>();
  check.add_option("FILE", options->path, "the pattern file")->required()->type_name("");
  check.add_flag("--editor", options->editor,
                 "check it as the pattern editor does before it saves, which is stricter");
  commandLine.RunsWhenChosen(check, [options] {
    return Check(options->path, options->editor ? pattern::PatternCheckVariant::kEditor
                                                : pattern::PatternCheckVariant::kSelect);
  });
}

}  // namespace orvane::cli
