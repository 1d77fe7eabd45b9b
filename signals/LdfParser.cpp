#include "signals/LdfParser.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <new>
#include <optional>
#include <span>

#include "signals/LdfBuild.h"
#include "signals/LdfComments.h"
#include "signals/LdfGrammar.h"
#include "signals/LdfLeaveOut.h"
#include "signals/LdfLin2Sections.h"
#include "signals/LdfMessages.h"
#include "signals/LdfRules.h"
#include "signals/LdfScanner.h"
#include "signals/LdfSchedules.h"

namespace orvane::signals {
namespace {

// The most of a line a syntax failure quotes.
constexpr std::size_t kMaxQuotedChars = 40;

struct ParseRun {
  explicit ParseRun(std::string_view text, LinDescription& built, bool relax)
      : scanner(text), description(built), relaxed(relax) {}

  LdfScanner scanner;
  LinDescription& description;
  bool relaxed;
  std::size_t sectionAt = 0;  // the current section keyword's position
  LdfNames names;
  std::optional<LdfRuleFailure> failure;
  std::vector<LdfRuleFailure> letPass;
  LeftOut leftOut;  // relaxed only
};

// The text from `at` to the end of its line, at most kMaxQuotedChars.
std::string WrittenAt(std::string_view text, std::size_t at) {
  const std::string_view rest = text.substr(std::min(at, text.size()));
  return std::string(rest.substr(0, std::min(rest.find_first_of("\r\n"), kMaxQuotedChars)));
}

bool SyntaxFailed(ParseRun& run, std::string_view text) {
  const std::size_t at = run.scanner.NextTokenStart();
  run.failure = LdfRuleFailure{kCheckSyntax, {at, WrittenAt(text, at), false}};
  return false;
}

// Reads one section behind its keyword: grammar, then (relaxed) what is
// left out, then rules, then build.
template <typename Syntax, typename Build,
          typename LeaveOut = void (*)(Syntax&, const LdfNames&, LeftOut&)>
bool RunSection(
    ParseRun& run, std::string_view text, std::optional<Syntax> (*parse)(LdfScanner&),
    std::span<const LdfRule<Syntax>> rules, Build build,
    LeaveOut leaveOut = [](Syntax&, const LdfNames&, LeftOut&) {}) {
  std::optional<Syntax> syntax = parse(run.scanner);
  if (!syntax) return SyntaxFailed(run, text);
  if (run.relaxed) leaveOut(*syntax, run.names, run.leftOut);
  LdfRulesOutcome checked = CheckRules(
      rules, *syntax, LdfContext{run.description, run.names, run.sectionAt}, run.relaxed);
  std::ranges::move(checked.letPass, std::back_inserter(run.letPass));
  if (checked.failure) {
    run.failure = std::move(checked.failure);
    return false;
  }
  build(*syntax);
  return true;
}

bool RunHeader(ParseRun& run, std::string_view text) {
  return run.scanner.Keyword(";") || SyntaxFailed(run, text);
}

bool RunVersion(ParseRun& run, std::string_view fileText, std::string& text, double& value) {
  return RunSection(run, fileText, ParseVersion, VersionRules(), [&](const VersionSyntax& version) {
    text = version.text;
    value = VersionValue(version);
  });
}

bool RunProtocolVersion(ParseRun& run, std::string_view text) {
  return RunVersion(run, text, run.description.protocolVersionText,
                    run.description.protocolVersion);
}

bool RunLanguageVersion(ParseRun& run, std::string_view text) {
  return RunVersion(run, text, run.description.languageVersionText,
                    run.description.languageVersion);
}

bool RunSpeed(ParseRun& run, std::string_view text) {
  return RunSection(run, text, ParseSpeed, SpeedRules(), [&](const SpeedSyntax& speed) {
    run.description.speedKbps = speed.kbps.value;
  });
}

bool RunNodes(ParseRun& run, std::string_view text) {
  return RunSection(run, text, ParseNodes, NodesRules(), [&](const NodesSyntax& nodes) {
    BuildNodes(nodes, run.description, run.names);
  });
}

bool RunSignals(ParseRun& run, std::string_view text) {
  return RunSection(
      run, text, ParseSignals, SignalsRules(),
      [&](const SignalsSyntax& signals) { BuildSignals(signals, run.description, run.names); },
      LeaveOutConflictingSignals);
}

bool RunFrames(ParseRun& run, std::string_view text) {
  return RunSection(
      run, text, ParseFrames, FramesRules(),
      [&](const FramesSyntax& frames) { BuildFrames(frames, run.description, run.names); },
      LeaveOutUnsendableFrames);
}

bool RunEncodings(ParseRun& run, std::string_view text) {
  return RunSection(run, text, ParseEncodings, EncodingsRules(),
                    [&](const EncodingsSyntax& encodings) {
                      BuildEncodings(encodings, run.description, run.names);
                    });
}

bool RunRepresentations(ParseRun& run, std::string_view text) {
  return RunSection(
      run, text, ParseRepresentations, RepresentationsRules(),
      [&](const RepresentationsSyntax& representations) {
        BuildRepresentations(representations, run.description, run.names);
      },
      LeaveOutUnknownEncodings);
}

struct Section {
  std::string_view keyword;
  std::uint32_t bit;    // 0: always read
  std::uint32_t needs;  // further bits that must be set
  bool optional;        // a missing keyword skips the section
  int messageId;
  bool (*run)(ParseRun&, std::string_view text);
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

ParseOutcome Failed(int messageId, const LdfRuleFailure& failure, const LineMap& lines) {
  return {nullptr,
          messageId,
          std::string(failure.rule),
          lines.LineAt(failure.breach.at),
          failure.breach.subject,
          failure.breach.relaxable};
}

// What the relaxed parse let pass, in file order, with lines.
std::vector<Relaxation> Recorded(std::vector<LdfRuleFailure> letPass, const LineMap& lines) {
  std::ranges::stable_sort(letPass, {}, [](const LdfRuleFailure& f) { return f.breach.at; });
  std::vector<Relaxation> relaxations;
  relaxations.reserve(letPass.size());
  for (LdfRuleFailure& passed : letPass) {
    relaxations.push_back({lines.LineAt(passed.breach.at), std::string(passed.rule),
                           std::move(passed.breach.subject)});
  }
  return relaxations;
}

ParseOutcome Parse(std::string_view fileText, std::uint32_t sectionMask, bool relaxed) {
  LineMap lines;
  const std::string text = RemoveComments(fileText, lines);
  auto description = std::make_unique<LinDescription>();
  ParseRun run(text, *description, relaxed);
  for (const Section& section : kSections) {
    if (!Requested(section, sectionMask)) continue;
    if (!run.scanner.FindSection(section.keyword)) {
      if (section.optional) continue;
      return {nullptr,
              section.messageId,
              std::string(kCheckSectionMissing),
              0,
              std::string(section.keyword),
              false};
    }
    run.sectionAt = run.scanner.position() - section.keyword.size();
    if (!section.run(run, text)) return Failed(section.messageId, *run.failure, lines);
  }
  ReadLin2Sections(text, *description);
  description->scheduleTables =
      ReadScheduleTables(text, *description, &description->scheduleProblems, &lines);
  if (relaxed) {
    description->loadedRelaxed = true;
    std::ranges::move(run.leftOut.told, std::back_inserter(run.letPass));
    description->relaxations = Recorded(std::move(run.letPass), lines);
  }
  ParseOutcome loaded;
  loaded.description = std::move(description);
  return loaded;
}

// Whether a relaxed parse gets through; false when memory runs out.
bool RelaxedParseSucceeds(std::string_view fileText, std::uint32_t sectionMask) {
  try {
    return Parse(fileText, sectionMask, true).description != nullptr;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace

ParseOutcome ParseLinDescription(std::string_view fileText, std::uint32_t sectionMask,
                                 LdfStrictness strictness) {
  const bool relaxed = strictness == LdfStrictness::kRelaxed;
  ParseOutcome outcome;
  try {
    outcome = Parse(fileText, sectionMask, relaxed);
  } catch (const std::bad_alloc&) {
    outcome.messageId = kMsgOutOfMemory;
    return outcome;
  }
  // A relaxable breach tells only that this rule would pass; whether the
  // whole relaxed parse gets through, only that parse tells.
  if (!relaxed && outcome.relaxable) {
    outcome.relaxable = RelaxedParseSucceeds(fileText, sectionMask);
  }
  return outcome;
}

}  // namespace orvane::signals
