#include "simulation/SimEntry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/simulation/SimulationTestSupport.h"

namespace orvane::simulation {
namespace {

using testing::Bytes;
using ::testing::ElementsAre;

SimSlot FullSlot(std::uint8_t command) {
  SimSlot slot = testing::EnabledSlot(0x12, 0x12345);
  slot.command = command;
  slot.oneTime = 1;
  for (std::uint8_t i = 0; i < kSlotDataSize; ++i) slot.data[i] = static_cast<std::uint8_t>(i + 1);
  return slot;
}

TEST(SimEntryTest, TxSlotCompilesByteForByteWithTheLowSixteenBitsOfItsDelay) {
  EXPECT_THAT(Bytes(CompileSlot(FullSlot(kCommandTx))),
              ElementsAre(0x01, 0x01, 0x10, 0x12, 1, 2, 3, 4, 5, 6, 7, 8, 0x45, 0x23));
}

TEST(SimEntryTest, CommandsBecomeKindsWithTxAndRxExchanged) {
  const std::pair<std::uint8_t, std::uint8_t> kinds[] = {
      {kCommandTx, 0x10},     {kCommandRx, 0x00},          {kCommandSleep, 0x20},
      {kCommandWakeup, 0x30}, {kCommandExtendedRx, 0x40},  {kCommandExtendedTx, 0x50},
      {kCommandNone, 0xF0},   {kCommandUnrecognised, 0x00}};
  for (const auto& [command, kind] : kinds) {
    const SimEntry entry = CompileSlot(FullSlot(command));
    EXPECT_EQ(entry.kind, kind) << int{command};
    EXPECT_EQ(entry.identifier, 0x12);
  }
}

TEST(SimEntryTest, AnInjectedErrorReplacesTheCommandWithTheAnalyzersErrorCode) {
  const std::uint8_t expected[] = {0x71, 0x72, 0x73, 0x76, 0x77, 0x7B};
  for (std::uint8_t error = 1; error <= 6; ++error) {
    SimSlot slot = FullSlot(kCommandRx);
    slot.error = error;
    EXPECT_EQ(CompileSlot(slot).kind, expected[error - 1]) << int{error};
  }
}

TEST(SimEntryTest, DisabledSlotKeepsItsBytesWithEnableZero) {
  SimSlot slot = FullSlot(kCommandSleep);
  slot.enable = 0;
  slot.oneTime = 0;
  slot.identifier = 0x3C;
  slot.delay = -1;
  EXPECT_THAT(Bytes(CompileSlot(slot)),
              ElementsAre(0x00, 0x00, 0x20, 0x3C, 1, 2, 3, 4, 5, 6, 7, 8, 0xFF, 0xFF));
}

}  // namespace
}  // namespace orvane::simulation
