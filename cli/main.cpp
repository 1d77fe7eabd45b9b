// orvane-cli: the headless companion of Orvane for terminals and scripts.
#include "cli/CommandLine.h"
#include "cli/Commands.h"

int main(int argc, char** argv) {
  using namespace orvane::cli;
  CommandLine commandLine;
  for (const auto add : {AddCfg, AddConvert, AddInfo, AddLdf, AddLog2Ptn, AddMonitor, AddPtn,
                         AddRun, AddStats, AddUsb}) {
    add(commandLine);
  }
  return commandLine.Run(argc, argv);
}
