// orvane-cli: the headless companion of Orvane for terminals and scripts.
#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

#include "cli/Commands.h"

namespace {

using orvane::cli::Args;

struct Command {
  std::string_view name;
  std::string_view usage;
  int (*run)(Args);
};

constexpr std::array kCommands{
    Command{"cfg", "cfg new|show|check FILE   create, show or check a configuration file",
            orvane::cli::RunCfg},
    Command{"info", "info                      show the analyzer's serial number and firmware",
            orvane::cli::RunInfo},
    Command{"ldf", "ldf FILE                  read a LIN description file and list what it holds",
            orvane::cli::RunLdf},
    Command{"log2ptn",
            "log2ptn LOG [--filter ID] [-o OUT]  make a pattern file from the frames of a log",
            orvane::cli::RunLog2Ptn},
    Command{"monitor",
            "monitor [--seconds N] [--log FILE] [--baud C] [--lin V]  print bus traffic",
            orvane::cli::RunMonitor},
    Command{"ptn", "ptn check FILE [--editor] check a pattern file (--editor: as the editor does)",
            orvane::cli::RunPtn},
    Command{"run",
            "run --config FILE [--mode monitor|master|slave|baud] [--schedule N] [--seconds N] "
            "[--log FILE]  run a configuration as the program's Start does",
            orvane::cli::RunRun},
};

void PrintUsage(std::FILE* out) {
  std::fputs("usage: orvane-cli COMMAND [ARGS]\n\ncommands:\n", out);
  for (const Command& command : kCommands) {
    std::fprintf(out, "  %.*s\n", static_cast<int>(command.usage.size()), command.usage.data());
  }
}

}  // namespace

namespace orvane::cli {

int Fail(std::string_view command, std::string_view message) {
  std::fprintf(stderr, "orvane-cli %.*s: %.*s\n", static_cast<int>(command.size()),
               command.data(), static_cast<int>(message.size()), message.data());
  return 2;
}

}  // namespace orvane::cli

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(stderr);
    return 1;
  }
  const std::string_view name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintUsage(stdout);
    return 0;
  }
  const std::vector<std::string_view> args(argv + 2, argv + argc);
  for (const Command& command : kCommands) {
    if (command.name == name) return command.run(args);
  }
  std::fprintf(stderr, "orvane-cli: unknown command '%s'\n\n", argv[1]);
  PrintUsage(stderr);
  return 1;
}
