#include <gtest/gtest.h>

#include "simulation/SlotNames.h"
#include "simulation/SlotValidation.h"
#include "tests/simulation/SimulationTestSupport.h"

namespace orvane::simulation {
namespace {

constexpr std::string_view kPatternParameters = "Please set pattern file parameters.";
constexpr std::string_view kIdentifierRange = "Enter proper ID value.(00h-3Fh)";
constexpr std::string_view kDelayMissing = "Please input delay value in the range of 1-65535.";
constexpr std::string_view kDelayRange = "Enter proper delay value (1-65535).";
constexpr std::string_view kInterval = "Interval time should be more than 50[ms].";

SimSlot TimerPatternSlot(std::int32_t interval) {
  SimSlot slot = testing::EnabledSlot(0x10);
  testing::UsePattern(slot, "/tmp/rows.ptn", kTriggerTimer, interval);
  return slot;
}

TEST(SlotValidationTest, ValidDefaultsAndEnabledSlotsPass) {
  EXPECT_EQ(ValidateSlot(DefaultMasterSlot()), "");
  EXPECT_EQ(ValidateSlot(testing::EnabledSlot(0x3F, 65535)), "");
  EXPECT_EQ(ValidateInterruptSlot(DefaultInterruptSlot()), "");
}

TEST(SlotValidationTest, CheckAGivesPatternOrIdentifierTextAndAMissingDelayReplacesIt) {
  SimSlot noFile = testing::EnabledSlot(0x10);
  noFile.pattern = 1;
  EXPECT_EQ(ValidateSlot(noFile), kPatternParameters);

  SimSlot noTrigger = TimerPatternSlot(100);
  noTrigger.trigger = kTriggerNone;
  noTrigger.identifier = 0x40;  // the pattern text comes first
  EXPECT_EQ(ValidateSlot(noTrigger), kPatternParameters);
  noTrigger.delay = -1;  // the later rule wins
  EXPECT_EQ(ValidateSlot(noTrigger), kDelayMissing);

  SimSlot badIdentifier = testing::EnabledSlot(0x40, 0);
  EXPECT_EQ(ValidateSlot(badIdentifier), kIdentifierRange);  // check B is not reached
  badIdentifier.enable = 0;
  badIdentifier.delay = -1;
  EXPECT_EQ(ValidateInterruptSlot(badIdentifier), kIdentifierRange);
}

TEST(SlotValidationTest, CheckBRulesIntervalAndDelayEvenOnDisabledSlots) {
  EXPECT_EQ(ValidateSlot(TimerPatternSlot(50)), "");
  EXPECT_EQ(ValidateSlot(TimerPatternSlot(49)), kInterval);
  EXPECT_EQ(ValidateSlot(TimerPatternSlot(-1)), "");  // compared unsigned

  SimSlot disabled = DefaultMasterSlot();
  disabled.delay = 0;
  EXPECT_EQ(ValidateSlot(disabled), kDelayRange);
  disabled.delay = 65536;
  EXPECT_EQ(ValidateSlot(disabled), kDelayRange);
  disabled.delay = -1;  // not entered, and not enabled
  EXPECT_EQ(ValidateSlot(disabled), "");

  SimSlot both = TimerPatternSlot(10);
  both.delay = 0;
  EXPECT_EQ(ValidateSlot(both), kDelayRange);
  EXPECT_EQ(ValidateInterruptSlot(both), "");  // check A alone
}

TEST(ScheduleNameTest, ThreeMessagesInTheirOrder) {
  ScheduleNames names = DefaultScheduleNames();
  EXPECT_EQ(CheckScheduleName(names, "", 0), "Please enter a schedule name.");
  EXPECT_EQ(CheckScheduleName(names, "S2", 0), "There is a schedule of the same name.");
  EXPECT_EQ(CheckScheduleName(names, "S1", 0), "");
  EXPECT_EQ(CheckScheduleName(names, "s2", 0), "");
  EXPECT_EQ(CheckScheduleName(names, "Door Ctrl", 0), "Please enter ASCII characters.(0-9,A-Z)");
  EXPECT_EQ(CheckScheduleName(names, "Door_1", 0), "Please enter ASCII characters.(0-9,A-Z)");
  EXPECT_EQ(CheckScheduleName(names, std::string(256, 'A'), 0),
            "Please enter ASCII characters.(0-9,A-Z)");
  EXPECT_EQ(CheckScheduleName(names, "Wiper2", 15), "");
}

TEST(KeyNameTest, NamesAndCodesBothWays) {
  const std::pair<std::string_view, std::int32_t> keys[] = {
      {"0", 0x30},  {"9", 0x39},   {"A", 0x41},   {"Z", 0x5A},
      {"F1", 0x70}, {"F10", 0x79}, {"F12", 0x7B}, {"SPACE", 0x20}};
  for (const auto& [name, code] : keys) {
    EXPECT_EQ(KeyName(code), name);
    EXPECT_EQ(KeyCode(name), code) << name;
  }
  for (std::string_view other : {"a", "F13", "F0", "Space", "", "AB", "[ms]"}) {
    EXPECT_EQ(KeyCode(other), std::nullopt) << other;
  }
  for (std::int32_t other : {0x2F, 0x3A, 0x40, 0x5B, 0x61, 0x6F, 0x7C, 0x1B}) {
    EXPECT_EQ(KeyName(other), "") << other;
  }
  EXPECT_EQ(kKeyF10, *KeyCode("F10"));
}

TEST(KeyNameTest, TriggerCellShowsIntervalKeyOrNothing) {
  SimSlot slot = DefaultMasterSlot();
  EXPECT_EQ(TriggerText(slot), "50[ms]");
  slot.triggerValue = 1200;
  EXPECT_EQ(TriggerText(slot), "1200[ms]");
  EXPECT_EQ(TriggerText(DefaultInterruptSlot()), "F1");
  slot.trigger = kTriggerNone;
  EXPECT_EQ(TriggerText(slot), "");
}

TEST(SlaveValidationTest, ResponseTextsAndPrecedence) {
  SimSlot response = DefaultSlaveResponse();
  EXPECT_EQ(ValidateSlaveResponse(response, 0), "");  // disabled on 0x40 passes
  response.identifier = 0x50;
  EXPECT_EQ(ValidateSlaveResponse(response, 0), "");

  response.enable = 1;
  EXPECT_EQ(ValidateSlaveResponse(response, 0), kIdentifierRange);
  response.identifier = 0x0A;
  EXPECT_EQ(ValidateSlaveResponse(response, 0x0A), "0ah is master ID. Please select another one.");
  EXPECT_EQ(ValidateSlaveResponse(response, 0x3B), "");

  testing::UsePattern(response, "", kTriggerTimer, 40);
  EXPECT_EQ(ValidateSlaveResponse(response, 0x0A), kInterval);  // replaces the pattern text
  response.triggerValue = 50;
  EXPECT_EQ(ValidateSlaveResponse(response, 0x0A), kPatternParameters);  // master ID not reached
}

TEST(SlaveValidationTest, ExtendedFrameIdentifiersAreRefusedEvenWhenDisabled) {
  SimSlot response = DefaultSlaveResponse();
  response.identifier = 0x3E;
  EXPECT_EQ(ValidateSlaveRow(response, 0), "Extend frame can't be registed.");
  response.enable = 1;
  response.identifier = 0x3F;
  response.pattern = 1;
  EXPECT_EQ(ValidateSlaveRow(response, 0x3F), "Extend frame can't be registed.");
  response.identifier = 0x3D;
  EXPECT_EQ(ValidateSlaveRow(response, 0), kPatternParameters);
}

TEST(SlaveValidationTest, DuplicateIdentifierPointsAtTheLaterEnabledResponse) {
  SlaveResponses responses;
  responses.fill(DefaultSlaveResponse());
  for (std::size_t i = 0; i < responses.size(); ++i) {
    responses[i].identifier = static_cast<std::uint8_t>(i);
  }
  EXPECT_EQ(FindDuplicateSlaveIdentifier(responses), std::nullopt);

  responses[2].identifier = 0x20;
  responses[7].identifier = 0x20;
  responses[9].identifier = 0x20;
  responses[11].identifier = 0x21;
  responses[12].identifier = 0x21;
  EXPECT_EQ(FindDuplicateSlaveIdentifier(responses), std::nullopt);  // all disabled

  for (std::size_t i : {2, 9, 11, 12}) responses[i].enable = 1;
  EXPECT_EQ(FindDuplicateSlaveIdentifier(responses), 9u);  // 7 is disabled
  responses[9].enable = 0;
  EXPECT_EQ(FindDuplicateSlaveIdentifier(responses), 12u);
}

}  // namespace
}  // namespace orvane::simulation
