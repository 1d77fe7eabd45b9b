// orvane-cli ptn check FILE [--editor]: applies the check that the program
// runs when a pattern file is selected for a simulation slot, or with
// --editor the stricter one the pattern editor runs before it saves, and
// prints the verdict.
#include <cctype>
#include <cstdio>
#include <string>

#include "cli/Commands.h"
#include "pattern/PatternCheck.h"

namespace orvane::cli {
namespace {

constexpr const char* kUsage = "usage: orvane-cli ptn check FILE [--editor]\n";

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

}  // namespace

int RunPtn(Args args) {
  if (args.empty() || args[0] != "check" || args.size() < 2 || args.size() > 3 ||
      (args.size() == 3 && args[2] != "--editor")) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  const std::string path(args[1]);
  const auto variant = args.size() == 3 ? pattern::PatternCheckVariant::kEditor
                                        : pattern::PatternCheckVariant::kSelect;
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

}  // namespace orvane::cli
