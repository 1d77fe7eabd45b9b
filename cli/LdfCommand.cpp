// orvane-cli ldf [--relaxed] FILE: reads a LIN description file as the
// program does (non-interactively, section mask 0xF8) and prints what it
// holds, or the message that stopped it with where and why. --relaxed loads
// with relaxed rules and also prints the Description Report.
#include <cstdio>
#include <memory>
#include <string>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "signals/LdfLoader.h"
#include "signals/LdfMessages.h"
#include "signals/LdfReport.h"
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

void PrintFailure(const signals::LoadOutcome& outcome) {
  const std::string text(signals::LdfMessageText(outcome.messageId));
  std::fprintf(stderr, "%d: %s\n", outcome.messageId, text.c_str());
  const std::string detail = signals::DescribeLoadFailure(outcome);
  if (!outcome.openProblem.empty()) {
    std::fprintf(stderr, "%s\n", detail.c_str());
  } else if (!detail.empty()) {
    std::fprintf(stderr, "(failed check: %s)\n", detail.c_str());
  }
  if (outcome.relaxable) std::fprintf(stderr, "(loads with --relaxed)\n");
}

int Ldf(std::string path, bool relaxed) {
  std::unique_ptr<LinDescription> description;
  const signals::LoadOutcome outcome =
      signals::Load(path, nullptr, signals::kDefaultSectionMask, description,
                    relaxed ? signals::LdfStrictness::kRelaxed : signals::LdfStrictness::kStrict);
  if (outcome.result != signals::LoadResult::kLoaded) {
    PrintFailure(outcome);
    return 2;
  }
  PrintSummary(*description);
  if (relaxed) {
    std::printf("Description Report:\n%s", signals::DescriptionReport(*description).c_str());
  }
  return 0;
}

}  // namespace

void AddLdf(CommandLine& commandLine) {
  CLI::App& ldf = commandLine.AddCommand(
      commandLine.root(), "ldf", "list the nodes, frames and signals of a LIN description file");
  const auto path = std::make_shared<std::string>();
  const auto relaxed = std::make_shared<bool>(false);
  ldf.add_flag("--relaxed", *relaxed,
               "let pass the rules that can be relaxed without changing what a value means, "
               "and list them");
  ldf.add_option("FILE", *path, "the LIN description file")->required()->type_name("");
  commandLine.RunsWhenChosen(ldf, [path, relaxed] { return Ldf(*path, *relaxed); });
}

}  // namespace orvane::cli
