// Helpers of the simulation tests: slots, pattern rules with the default
// option settings and identifier definition, entry bytes, and the virtual
// analyzer behind the link with a register map on its clock.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "analyzer/RegisterMap.h"
#include "settings/FixedText.h"
#include "settings/IdentifierDefinition.h"
#include "settings/OptionSettings.h"
#include "simulation/PatternApply.h"
#include "simulation/SimEntry.h"
#include "simulation/SimRecords.h"
#include "tests/analyzer/LinkTap.h"
#include "tests/pattern/TempDir.h"
#include "tests/support/StaticLinkApi.h"
#include "tests/support/VirtualLinkRig.h"

namespace orvane::simulation::testing {

using analyzer::test::RecordingSink;
using pattern::testing::TempDir;

inline SimSlot EnabledSlot(std::uint8_t identifier, std::int32_t delay = 1) {
  SimSlot slot = DefaultMasterSlot();
  slot.enable = 1;
  slot.identifier = identifier;
  slot.delay = delay;
  return slot;
}

inline void UsePattern(SimSlot& slot, const std::filesystem::path& file, std::uint8_t trigger,
                       std::int32_t triggerValue, bool repeat = false) {
  slot.pattern = 1;
  slot.repeatPattern = repeat ? 1 : 0;
  slot.trigger = trigger;
  slot.triggerValue = triggerValue;
  settings::CopyToField(file.string(), slot.patternPath);
}

// An enabled slot on identifier 0x10 that takes its rows from `file`.
inline SimSlot PatternSlot(const std::filesystem::path& file, std::uint8_t trigger,
                           std::int32_t triggerValue, bool repeat = false) {
  SimSlot slot = EnabledSlot(0x10);
  UsePattern(slot, file, trigger, triggerValue, repeat);
  return slot;
}

// The option settings and identifier definition a new configuration has
// (both pattern choices "Skip 1Pattern"; 0x00-0x1F 2 bytes, 0x20-0x2F 4,
// 0x30-0x3F 8).
struct RuleSettings {
  RuleSettings() { settings::SetIdentifierDefaults(identifiers); }
  PatternRules rules() const { return {options, identifiers}; }

  settings::OptionSettings options = settings::DefaultOptionSettings();
  settings::IdentifierDefinition identifiers{};
};

template <typename Record>
std::vector<std::uint8_t> Bytes(const Record& record) {
  const auto bytes = EntryBytes(record);
  return {bytes.begin(), bytes.end()};
}

// The virtual analyzer opened through the link, with a register map whose
// waits advance the rig's clock and whose commands pass a LinkTap (to see
// or fail memory writes). Without `startFirmware` the unit stays in its
// boot program: memory writes land but no bank is ever taken.
class AnalyzerLink {
 public:
  explicit AnalyzerLink(bool startFirmware) {
    EXPECT_EQ(api_.InitUSB(), 1);
    if (startFirmware) {
      EXPECT_EQ(api_.TargetGo(), 1);
    }
  }

  const analyzer::RegisterMap& map() const { return map_; }
  orvane::testing::VirtualLinkRig& rig() { return rig_; }
  analyzer::test::LinkTap& tap() { return tap_; }

  std::vector<std::uint8_t> Read(std::uint32_t address, std::uint32_t length) const {
    std::vector<std::uint8_t> bytes(length);
    EXPECT_EQ(api_.MemoryRead(address, length, bytes.data()), 1);
    return bytes;
  }
  std::uint8_t ReadByte(std::uint32_t address) const { return Read(address, 1).at(0); }

 private:
  orvane::testing::VirtualLinkRig rig_;
  analyzer::LinkApi api_ = orvane::testing::StaticLinkApi();
  analyzer::test::LinkTap tap_{api_};
  analyzer::RegisterMap map_{
      tap_.api(), [this](std::chrono::milliseconds wait) { rig_.clock().SleepFor(wait); }};
};

}  // namespace orvane::simulation::testing
