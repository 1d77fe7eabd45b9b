#include "signals/LdfParser.h"

#include <array>
#include <new>
#include <optional>
#include <span>

#include "signals/LdfBuild.h"
#include "signals/LdfComments.h"
#include "signals/LdfGrammar.h"
#include "signals/LdfMessages.h"
#include "signals/LdfRules.h"
#include "signals/LdfScanner.h"

namespace orvane::signals {
namespace {

struct ParseRun {
  LdfScanner scanner;
  LinDescription& description;
  LdfNames names;
  std::string failedCheck;
};

// Reads one section behind its keyword: grammar, then rules, then build.
template <typename Syntax, typename Build>
bool RunSection(ParseRun& run, std::optional<Syntax> (*parse)(LdfScanner&),
                std::span<const LdfRule<Syntax>> rules, Build build) {
  const std::optional<Syntax> syntax = parse(run.scanner);
  if (!syntax) {
    run.failedCheck = kCheckSyntax;
    return false;
  }
  const LdfRule<Syntax>* broken =
      FirstBrokenRule(rules, *syntax, LdfContext{run.description, run.names});
  if (broken != nullptr) {
    run.failedCheck = broken->name;
    return false;
  }
  build(*syntax);
  return true;
}

bool RunHeader(ParseRun& run) {
  if (run.scanner.Keyword(";")) return true;
  run.failedCheck = kCheckSyntax;
  return false;
}

bool RunVersion(ParseRun& run, std::string& text, double& value) {
  return RunSection(run, ParseVersion, VersionRules(), [&](const VersionSyntax& version) {
    text = version.text;
    value = VersionValue(version);
  });
}

bool RunProtocolVersion(ParseRun& run) {
  return RunVersion(run, run.description.protocolVersionText, run.description.protocolVersion);
}

bool RunLanguageVersion(ParseRun& run) {
  return RunVersion(run, run.description.languageVersionText, run.description.languageVersion);
}

bool RunSpeed(ParseRun& run) {
  return RunSection(run, ParseSpeed, SpeedRules(),
                    [&](const SpeedSyntax& speed) { run.description.speedKbps = speed.kbps.value; });
}

bool RunNodes(ParseRun& run) {
  return RunSection(run, ParseNodes, NodesRules(), [&](const NodesSyntax& nodes) {
    BuildNodes(nodes, run.description, run.names);
  });
}

bool RunSignals(ParseRun& run) {
  return RunSection(run, ParseSignals, SignalsRules(), [&](const SignalsSyntax& signals) {
    BuildSignals(signals, run.description, run.names);
  });
}

bool RunFrames(ParseRun& run) {
  return RunSection(run, ParseFrames, FramesRules(), [&](const FramesSyntax& frames) {
    BuildFrames(frames, run.description, run.names);
  });
}

bool RunEncodings(ParseRun& run) {
  return RunSection(run, ParseEncodings, EncodingsRules(), [&](const EncodingsSyntax& encodings) {
    BuildEncodings(encodings, run.description, run.names);
  });
}

bool RunRepresentations(ParseRun& run) {
  return RunSection(run, ParseRepresentations, RepresentationsRules(),
                    [&](const RepresentationsSyntax& representations) {
                      BuildRepresentations(representations, run.description, run.names);
                    });
}

struct Section {
  std::string_view keyword;
  std::uint32_t bit;    // 0: always read
  std::uint32_t needs;  // further bits that must be set
  bool optional;        // a missing keyword skips the section
  int messageId;
  bool (*run)(ParseRun&);
};

constexpr std::array<Section, 9> kSections{{
    {"LIN_description_file", 0, 0, false, kMsgNotLdf, RunHeader},
    {"LIN_protocol_version", kSectionProtocolVersion, 0, false, kMsgProtocolVersion,
     RunProtocolVersion},
    {"LIN_language_version", kSectionLanguageVersion, 0, false, kMsgLanguageVersion,
     RunLanguageVersion},
    {"LIN_speed", kSectionSpeed, 0, false, kMsgSpeed, RunSpeed},
    {"Nodes", kSectionNodes, 0, false, kMsgNodes, RunNodes},
    {"Signals", kSectionSignals, kSectionNodes, false, kMsgSignals, RunSignals},
    {"Frames", kSectionFrames, kSectionNodes | kSectionSignals, false, kMsgFrames, RunFrames},
    {"Signal_encoding_types", kSectionEncodings, 0, true, kMsgEncodings, RunEncodings},
    {"Signal_representation", kSectionRepresentations,
     kSectionNodes | kSectionSignals | kSectionEncodings, true, kMsgRepresentations,
     RunRepresentations},
}};

bool Requested(const Section& section, std::uint32_t mask) {
  const std::uint32_t required = section.bit | section.needs;
  return (mask & required) == required;
}

ParseOutcome Parse(std::string_view fileText, std::uint32_t sectionMask) {
  const std::string text = RemoveComments(fileText);
  auto description = std::make_unique<LinDescription>();
  ParseRun run{LdfScanner(text), *description, {}, {}};
  for (const Section& section : kSections) {
    if (!Requested(section, sectionMask)) continue;
    if (!run.scanner.FindSection(section.keyword)) {
      if (section.optional) continue;
      return {nullptr, section.messageId, std::string(kCheckSectionMissing)};
    }
    if (!section.run(run)) return {nullptr, section.messageId, std::move(run.failedCheck)};
  }
  return {std::move(description), 0, {}};
}

}  // namespace

ParseOutcome ParseLinDescription(std::string_view fileText, std::uint32_t sectionMask) {
  try {
    return Parse(fileText, sectionMask);
  } catch (const std::bad_alloc&) {
    return {nullptr, kMsgOutOfMemory, {}};
  }
}

}  // namespace orvane::signals
