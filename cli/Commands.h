// The commands of orvane-cli. Each takes the arguments after its own name
// and returns the process exit code: 0 success, 1 usage error, 2 rejected
// input or a failed device operation.
#pragma once

#include <span>
#include <string_view>

namespace orvane::cli {

using Args = std::span<const std::string_view>;

int RunCfg(Args args);
// Says "orvane-cli <command>: <message>" on stderr; returns exit code 2.
int Fail(std::string_view command, std::string_view message);

int RunInfo(Args args);
int RunLdf(Args args);
int RunLog2Ptn(Args args);
int RunMonitor(Args args);
int RunPtn(Args args);
int RunRun(Args args);

}  // namespace orvane::cli
