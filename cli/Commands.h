// The commands of orvane-cli. Each adds itself, with its options, to the
// command line; what it runs returns the process exit code: 0 success, 2
// rejected input or a failed device operation (usage errors, exit code 1,
// never reach a command).
#pragma once

#include <string_view>

namespace orvane::cli {

class CommandLine;

void AddCfg(CommandLine& commandLine);
void AddConvert(CommandLine& commandLine);
void AddInfo(CommandLine& commandLine);
void AddLdf(CommandLine& commandLine);
void AddLog2Ptn(CommandLine& commandLine);
void AddMonitor(CommandLine& commandLine);
void AddPtn(CommandLine& commandLine);
void AddRun(CommandLine& commandLine);
void AddStats(CommandLine& commandLine);
void AddUsb(CommandLine& commandLine);

// Says "orvane-cli <command>: <message>" on stderr; returns exit code 2.
int Fail(std::string_view command, std::string_view message);

}  // namespace orvane::cli
