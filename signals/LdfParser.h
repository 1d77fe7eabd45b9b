// The LIN description file parser: comment removal, tokens, sections in
// their fixed order (other sections between them are skipped), the named
// rules of each section, and the build of the description.
//
// Sections, in the order they must appear, with their mask bits:
//   LIN_description_file (always), LIN_protocol_version 0x01,
//   LIN_language_version 0x02, LIN_speed 0x04, Nodes 0x08, Signals 0x10
//   (needs Nodes), Frames 0x20 (needs Nodes, Signals), Signal_encoding_types
//   0x40 (optional), Signal_representation 0x80 (optional; needs Nodes,
//   Signals, Signal_encoding_types).
// A section is read only when its bit and the bits it needs are all set.
// The LIN 2.x sections of signals/LdfLin2Sections.h and the schedule tables
// are read in every parse and never make it fail.
//
// A strict parse (the default) holds every rule. A relaxed parse lets pass
// the breaches the rules mark relaxable (signals/LdfRules.h) and records each
// one, in file order, in the description's relaxations.
//
// Pure function of its input; any thread; does not block.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "signals/LinDescription.h"

namespace orvane::signals {

inline constexpr std::uint32_t kSectionProtocolVersion = 0x01;
inline constexpr std::uint32_t kSectionLanguageVersion = 0x02;
inline constexpr std::uint32_t kSectionSpeed = 0x04;
inline constexpr std::uint32_t kSectionNodes = 0x08;
inline constexpr std::uint32_t kSectionSignals = 0x10;
inline constexpr std::uint32_t kSectionFrames = 0x20;
inline constexpr std::uint32_t kSectionEncodings = 0x40;
inline constexpr std::uint32_t kSectionRepresentations = 0x80;
// What the program always asks for: the version and speed sections are skipped.
inline constexpr std::uint32_t kDefaultSectionMask = 0xF8;

enum class LdfStrictness : std::uint8_t { kStrict = 0, kRelaxed = 1 };

// The check a failed parse names besides its rule names.
inline constexpr std::string_view kCheckSyntax = "syntax";
inline constexpr std::string_view kCheckSectionMissing = "section missing";

struct ParseOutcome {
  std::unique_ptr<LinDescription> description;  // set when the file was read
  int messageId = 0;                            // the failure message (signals/LdfMessages.h)
  std::string failedCheck;  // the rule that did not hold, kCheckSyntax or kCheckSectionMissing
  int failedLine = 0;       // 1-based line of the failure; 0 when unknown
  // What broke the rule as written: a name, a quoted text with its quotes, a
  // number; for a syntax failure the text where reading stopped; for a
  // missing section its keyword.
  std::string failedSubject;
  bool relaxable = false;  // a relaxed parse of the same text succeeds
};

// Parses the text of a whole file. On failure the outcome carries the message
// of the first section that failed (11112 when memory ran out) and no
// description.
ParseOutcome ParseLinDescription(std::string_view fileText, std::uint32_t sectionMask,
                                 LdfStrictness strictness = LdfStrictness::kStrict);

}  // namespace orvane::signals
