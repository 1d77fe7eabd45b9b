// The settings record: LIN revision, LIN description reference, signal
// selection, option record, identifier definitions, special frames and find
// condition, kept in memory as one record and stored byte for byte as the
// first 1720 bytes of the configuration file.
//
// Plain data of the user-interface thread; the views read it while drawing.
// The stored records are aligned to 4 bytes, so that their 32-bit fields,
// which all lie at multiples of 4, are aligned too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/FindCondition.h"
#include "settings/FixedText.h"
#include "settings/IdentifierDefinition.h"
#include "settings/OptionSettings.h"
#include "settings/SignalSelection.h"
#include "settings/FrameHighlightCondition.h"

namespace orvane::settings {

inline constexpr std::size_t kDescriptionPathSize = 260;

enum LinRevision : std::uint32_t {
  kLin13 = 0,
  kLin20 = 1,
};

#pragma pack(push, 1)
struct alignas(4) SettingsRecord {
  std::uint32_t LinRevision;                      // enum LinRevision
  char DescriptionPath[kDescriptionPathSize];     // zero-terminated
  std::uint32_t DescriptionReference;             // non-zero while a description is loaded
  SignalSelection Selection;
  OptionSettingsExt Options;
  IdentifierDefinition Identifiers;
  FrameHighlightCondition FrameHighlights[kFrameHighlightCount];
  FindCondition Find;
};
#pragma pack(pop)
static_assert(sizeof(SettingsRecord) == 1720);
static_assert(offsetof(SettingsRecord, DescriptionPath) == 4);
static_assert(offsetof(SettingsRecord, DescriptionReference) == 264);
static_assert(offsetof(SettingsRecord, Selection) == 268);
static_assert(offsetof(SettingsRecord, Options) == 788);
static_assert(offsetof(SettingsRecord, Identifiers) == 896);
static_assert(offsetof(SettingsRecord, Identifiers) + offsetof(IdentifierDefinition, classicChecksum) == 960);
static_assert(offsetof(SettingsRecord, FrameHighlights) == 1216);
static_assert(offsetof(SettingsRecord, Find) == 1584);

// LIN 1.3, the description path set to `programFolder` (cut to fit),
// description unloaded, selection cleared, and the defaults of the option
// record, identifier definitions, special frames and find condition.
SettingsRecord DefaultSettingsRecord(std::string_view programFolder);

}  // namespace orvane::settings
