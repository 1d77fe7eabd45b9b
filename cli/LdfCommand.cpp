// orvane-cli ldf FILE: reads a LIN description file as the program does
// (non-interactively, section mask 0xF8) and prints what it holds, or the
// message that stopped it.
#include <cstdio>
#include <memory>
#include <string>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "signals/LdfLoader.h"
#include "signals/LdfMessages.h"
#include "signals/LinDescription.h"

namespace orvane::cli {
namespace {

using signals::LinDescription;

// "1 slave", "3 slaves", "0 slaves".
std::string Count(std::size_t count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

void PrintSummary(const LinDescription& description) {
  std::printf("1 master, %s, %s, %s, %s, %s\n", Count(description.slaves.size(), "slave").c_str(),
              Count(description.frames.size(), "frame").c_str(),
              Count(description.signals.size(), "signal").c_str(),
              Count(description.encodings.size(), "encoding").c_str(),
              Count(description.representations.size(), "representation").c_str());
  std::printf("master: %s, time base %g ms, jitter %g ms\n", description.masterName.c_str(),
              description.timeBaseMs, description.jitterMs);
  std::printf("slaves:");
  for (std::size_t index = 0; index < description.slaves.size(); ++index) {
    std::printf("%s %s", index == 0 ? "" : ",", description.slaves[index].c_str());
  }
  std::printf("\nframes (by identifier):\n  %-4s  %-31s  %-31s  %s\n", "id", "name", "publisher",
              "length");
  for (const std::uint8_t index : description.framesById) {
    const signals::Frame& frame = description.frames[index];
    std::printf("  0x%02x  %-31s  %-31s  %u\n", frame.identifier, frame.name.c_str(),
                description.NodeName(frame.publisher).c_str(), unsigned{frame.length});
  }
  std::printf("signals:\n  %-31s  %4s  %s\n", "name", "bits", "encoding");
  for (const signals::Signal& signal : description.signals) {
    const char* encoding =
        signal.encoding == signals::kNoEncoding
            ? "-"
            : description.encodings[static_cast<std::size_t>(signal.encoding)].name.c_str();
    std::printf("  %-31s  %4u  %s\n", signal.name.c_str(), signal.size, encoding);
  }
}

int Ldf(std::string path) {
  std::unique_ptr<LinDescription> description;
  const signals::LoadOutcome outcome =
      signals::Load(path, nullptr, signals::kDefaultSectionMask, description);
  if (outcome.result != signals::LoadResult::kLoaded) {
    const std::string text(signals::LdfMessageText(outcome.messageId));
    std::fprintf(stderr, "%d: %s\n", outcome.messageId, text.c_str());
    if (!outcome.failedCheck.empty()) {
      std::fprintf(stderr, "(failed check: %s)\n", outcome.failedCheck.c_str());
    }
    return 2;
  }
  PrintSummary(*description);
  return 0;
}

}  // namespace

void AddLdf(CommandLine& commandLine) {
  CLI::App& ldf = commandLine.AddCommand(
      commandLine.root(), "ldf", "list the nodes, frames and signals of a LIN description file");
  const auto path = std::make_shared<std::string>();
  ldf.add_option("FILE", *path, "the LIN description file")->required()->type_name("");
  commandLine.RunsWhenChosen(ldf, [path] { return Ldf(*path); });
}

}  // namespace orvane::cli
