// The editing grid's rows as text: the columns of each mode, slots shown in
// the master, interrupt and slave forms, and rows read back into slots.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "settings/FixedText.h"
#include "simulation/SlotGrid.h"
#include "simulation/SlotRowRead.h"

namespace orvane::simulation {
namespace {

// The default definition: 0x00-0x1F 2 bytes, 0x20-0x2F 4, 0x30-0x3F 8.
settings::IdentifierDefinition Identifiers() {
  settings::IdentifierDefinition identifiers{};
  settings::SetIdentifierDefaults(identifiers);
  return identifiers;
}

SimSlot Slot(std::uint8_t command, std::uint8_t identifier, std::int32_t delay = 10) {
  SimSlot slot{};
  slot.enable = 1;
  slot.delay = delay;
  slot.command = command;
  slot.identifier = identifier;
  for (std::uint8_t i = 0; i < kSlotDataSize; ++i) slot.data[i] = static_cast<std::uint8_t>(i + 1);
  return slot;
}

std::vector<std::string> Cells(const SlotRow& row, GridMode mode) {
  std::vector<std::string> cells;
  for (const ColumnLayout& column : GridColumns(mode)) cells.push_back(row[column.column]);
  return cells;
}

std::vector<std::string> Data(const SlotRow& row) {
  std::vector<std::string> data;
  for (std::size_t i = 0; i < kSlotDataSize; ++i) data.push_back(row[DataColumn(i)]);
  return data;
}

bool SameBytes(const SimSlot& a, const SimSlot& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(SlotGridColumnsTest, EachModeHasItsTitlesAndWidths) {
  auto titles = [](GridMode mode) {
    std::string joined;
    for (const ColumnLayout& column : GridColumns(mode)) joined += std::string(column.title) + " ";
    return joined;
  };
  auto widths = [](GridMode mode) {
    std::vector<int> list;
    for (const ColumnLayout& column : GridColumns(mode)) list.push_back(column.width);
    return list;
  };
  const std::string data = "D0 D1 D2 D3 D4 D5 D6 D7 ";
  const std::string tail = "Error 1Time Pat Rep ";
  EXPECT_EQ(titles(GridMode::kSetupSchedule),
            "No. Ena Delay Command IDEN " + data + tail + "Timer/Key File ");
  EXPECT_EQ(titles(GridMode::kSetupInterrupt), "Command IDEN " + data + tail + "Key File ");
  EXPECT_EQ(titles(GridMode::kMonitorSchedule),
            "No. Delay Command IDEN " + data + tail + "Timer/Key File ");
  EXPECT_EQ(titles(GridMode::kMonitorInterrupt), "Command IDEN " + data + tail + "Key File ");
  EXPECT_EQ(titles(GridMode::kSlave), "No. Ena IDEN " + data + tail + "Timer/Key File ");

  const std::vector<int> bytes(kSlotDataSize, 26);
  auto with = [&bytes](std::vector<int> head, std::vector<int> rest) {
    head.insert(head.end(), bytes.begin(), bytes.end());
    head.insert(head.end(), rest.begin(), rest.end());
    return head;
  };
  EXPECT_EQ(widths(GridMode::kSetupSchedule), with({30, 30, 43, 58, 36}, {57, 42, 30, 30, 67, 60}));
  EXPECT_EQ(widths(GridMode::kSetupInterrupt), with({58, 36}, {57, 42, 30, 30, 67, 60}));
  EXPECT_EQ(widths(GridMode::kMonitorSchedule), with({30, 43, 63, 38}, {42, 42, 30, 30, 67, 60}));
  EXPECT_EQ(widths(GridMode::kMonitorInterrupt), with({63, 38}, {42, 42, 30, 30, 67, 60}));
  EXPECT_EQ(widths(GridMode::kSlave), with({30, 30, 36}, {57, 42, 30, 30, 67, 60}));

  EXPECT_EQ(KindOf(kColumnDelay), CellKind::kDecimal);
  EXPECT_EQ(KindOf(kColumnTrigger), CellKind::kTriggerKey);
  EXPECT_EQ(FindColumn(GridMode::kMonitorSchedule, kColumnEnable), nullptr);
}

TEST(ShowSlotTest, MasterRowShowsEveryCell) {
  SimSlot slot = Slot(kCommandTx, 0x20);
  slot.error = 1;
  slot.oneTime = 1;
  slot.trigger = kTriggerTimer;
  slot.triggerValue = 100;
  settings::CopyToField("C:\\patterns\\door.ptn", slot.patternPath);
  EXPECT_EQ(
      Cells(ShowSlot(slot, GridMode::kSetupSchedule, Identifiers(), 7), GridMode::kSetupSchedule),
      (std::vector<std::string>{"7", "CHECKED", "10", "Tx", "20", "01", "02", "03", "04", "", "",
                                "", "", "Parity", "CHECKED", "UNCHECKED", "UNCHECKED", "100[ms]",
                                "door.ptn"}));

  slot.enable = 0;
  slot.delay = -1;
  slot.error = 0;
  slot.trigger = kTriggerKey;
  slot.triggerValue = 0x7B;
  slot.pattern = 1;
  slot.repeatPattern = 1;
  settings::CopyToField("/home/user/wiper.ptn", slot.patternPath);
  const SlotRow row = ShowSlot(slot, GridMode::kSetupSchedule, Identifiers(), 0);
  EXPECT_EQ(row[kColumnEnable], "UNCHECKED");
  EXPECT_EQ(row[kColumnDelay], "");
  EXPECT_EQ(row[kColumnError], "");
  EXPECT_EQ(row[kColumnPattern], "CHECKED");
  EXPECT_EQ(row[kColumnRepeat], "CHECKED");
  EXPECT_EQ(row[kColumnTrigger], "F12");
  EXPECT_EQ(row[kColumnFile], "wiper.ptn");
}

TEST(ShowSlotTest, CommandDecidesIdentifierAndData) {
  const auto identifiers = Identifiers();
  auto show = [&identifiers](const SimSlot& slot) {
    return ShowSlot(slot, GridMode::kSetupSchedule, identifiers, 0);
  };
  const std::vector<std::string> none(kSlotDataSize, "");

  const SlotRow rx = show(Slot(kCommandRx, 0x05));
  EXPECT_EQ(rx[kColumnCommand], "Rx");
  EXPECT_EQ(rx[kColumnIdentifier], "05");
  EXPECT_EQ(Data(rx), none);

  const SlotRow sleep = show(Slot(kCommandSleep, 0x3C));
  EXPECT_EQ(sleep[kColumnCommand], "Sleep");
  EXPECT_EQ(sleep[kColumnIdentifier], "3c");
  EXPECT_EQ(Data(sleep),
            (std::vector<std::string>{"01", "02", "03", "04", "05", "06", "07", "08"}));

  const SlotRow wakeup = show(Slot(kCommandWakeup, 0x10));
  EXPECT_EQ(wakeup[kColumnCommand], "Wakeup");
  EXPECT_EQ(wakeup[kColumnIdentifier], "");
  EXPECT_EQ(Data(wakeup), none);

  const SlotRow extendedTx = show(Slot(kCommandExtendedTx, 0x3E));
  EXPECT_EQ(extendedTx[kColumnCommand], "Tx");
  EXPECT_EQ(extendedTx[kColumnData7], "08");
  const SlotRow extendedRx = show(Slot(kCommandExtendedRx, 0x3F));
  EXPECT_EQ(extendedRx[kColumnCommand], "Rx");
  EXPECT_EQ(Data(extendedRx), none);

  for (std::uint8_t command : {kCommandNone, kCommandUnrecognised}) {
    const SlotRow empty = show(Slot(command, 0x10));
    EXPECT_EQ(empty[kColumnCommand], "");
    EXPECT_EQ(empty[kColumnIdentifier], "");
    EXPECT_EQ(Data(empty), none);
  }

  // A value that is no identifier shows no data rather than reading past
  // the definition.
  EXPECT_EQ(Data(show(Slot(kCommandTx, 0x50))), none);
}

TEST(ShowSlotTest, InterruptAndSlaveForms) {
  SimSlot slot = Slot(kCommandTx, 0x10);
  const SlotRow interrupt = ShowSlot(slot, GridMode::kSetupInterrupt, Identifiers(), 3);
  EXPECT_EQ(interrupt[kColumnNumber], "");
  EXPECT_EQ(interrupt[kColumnEnable], "");
  EXPECT_EQ(interrupt[kColumnDelay], "");
  EXPECT_EQ(interrupt[kColumnIdentifier], "10");
  EXPECT_EQ(interrupt[kColumnOneTime], "UNCHECKED");

  SimSlot response = DefaultSlaveResponse();
  response.error = 2;
  const SlotRow slave = ShowSlot(response, GridMode::kSlave, Identifiers(), 15);
  EXPECT_EQ(Cells(slave, GridMode::kSlave),
            (std::vector<std::string>{"15", "UNCHECKED", "40", "00", "00", "00", "00", "00", "00",
                                      "00", "00", "CheckSum", "UNCHECKED", "UNCHECKED", "UNCHECKED",
                                      "50[ms]", ""}));
  EXPECT_EQ(slave[kColumnCommand], "");
}

TEST(ReadRowTest, ShownSlotsReadBackUnchanged) {
  const auto identifiers = Identifiers();
  SimSlot tx = Slot(kCommandTx, 0x2A);
  tx.error = 6;
  tx.oneTime = 1;
  tx.trigger = kTriggerTimer;
  tx.triggerValue = 250;
  SimSlot patterned = Slot(kCommandTx, 0x10, 65535);
  patterned.pattern = 1;
  patterned.repeatPattern = 1;
  patterned.trigger = kTriggerKey;
  patterned.triggerValue = 0x20;
  settings::CopyToField("C:\\p\\a.ptn", patterned.patternPath);
  SimSlot extended = Slot(kCommandExtendedTx, 0x3F);
  SimSlot sleep = Slot(kCommandSleep, 0x3C);
  SimSlot wakeup = Slot(kCommandWakeup, 0);
  wakeup.enable = 0;
  wakeup.delay = -1;
  wakeup.data[0] = 0;  // a frame without shown data reads its defined length as zeros
  wakeup.data[1] = 0;
  for (const SimSlot& slot : {tx, patterned, extended, sleep, wakeup}) {
    const SlotRow row = ShowSlot(slot, GridMode::kSetupSchedule, identifiers, 0);
    const std::optional<SimSlot> read = ReadMasterRow(row, slot, identifiers);
    ASSERT_TRUE(read);
    EXPECT_TRUE(SameBytes(*read, slot)) << row[kColumnCommand] << " " << row[kColumnIdentifier];
  }
}

TEST(ReadRowTest, CommandAndIdentifierRules) {
  const auto identifiers = Identifiers();
  auto read = [&identifiers](std::string_view command, std::string_view identifier) {
    SlotRow row = FreshRow(GridMode::kSetupSchedule, 0);
    row[kColumnCommand] = command;
    row[kColumnIdentifier] = identifier;
    return *ReadMasterRow(row, Slot(kCommandTx, 0x22), identifiers);
  };
  EXPECT_EQ(read("Sleep", "").identifier, 0x3C);
  EXPECT_EQ(read("Sleep", "").command, kCommandSleep);
  EXPECT_EQ(read("Tx", "").identifier, 0x00);
  EXPECT_EQ(read("Tx", "3e").command, kCommandExtendedTx);
  EXPECT_EQ(read("Rx", "3F").command, kCommandExtendedRx);
  EXPECT_EQ(read("Rx", "3d").command, kCommandRx);
  EXPECT_EQ(read("Wakeup", "").identifier, 0x00);
  EXPECT_EQ(read("", "15").command, kCommandNone);
  EXPECT_EQ(read("", "15").identifier, 0x00);
  EXPECT_EQ(read("Send", "15").command, kCommandUnrecognised);
  EXPECT_EQ(read("Send", "15").identifier, 0x00);
}

TEST(ReadRowTest, DataCellsByDefinedLength) {
  const auto identifiers = Identifiers();
  SimSlot stored = Slot(kCommandTx, 0x3E);
  SlotRow row = ShowSlot(stored, GridMode::kSetupSchedule, identifiers, 0);
  for (std::size_t i = 0; i < kSlotDataSize; ++i) row[DataColumn(i)] = "-";
  row[kColumnData0] = "ff";
  row[DataColumn(1)] = "";
  const SimSlot read = *ReadMasterRow(row, stored, identifiers);
  EXPECT_EQ(read.data[0], 0xFF);
  EXPECT_EQ(read.data[1], 0x00);
  for (std::size_t i = 2; i < kSlotDataSize; ++i) EXPECT_EQ(read.data[i], stored.data[i]);

  // Only the defined length is read; the bytes beyond stay the stored ones.
  row[kColumnIdentifier] = "10";
  const SimSlot shortFrame = *ReadMasterRow(row, stored, identifiers);
  EXPECT_EQ(shortFrame.command, kCommandTx);
  EXPECT_EQ(shortFrame.data[1], 0x00);
  EXPECT_EQ(shortFrame.data[2], stored.data[2]);
}

TEST(ReadRowTest, DelayTriggerAndFileCells) {
  const auto identifiers = Identifiers();
  SimSlot stored = Slot(kCommandTx, 0x10);
  stored.trigger = kTriggerTimer;
  stored.triggerValue = 300;
  settings::CopyToField("C:\\p\\kept.ptn", stored.patternPath);
  SlotRow row = ShowSlot(stored, GridMode::kSetupSchedule, identifiers, 0);

  row[kColumnDelay] = "";
  EXPECT_EQ(ReadMasterRow(row, stored, identifiers)->delay, -1);
  row[kColumnDelay] = "abc";
  EXPECT_EQ(ReadMasterRow(row, stored, identifiers)->delay, -1);

  row[kColumnTrigger] = "SPACE";
  SimSlot read = *ReadMasterRow(row, stored, identifiers);
  EXPECT_EQ(read.trigger, kTriggerKey);
  EXPECT_EQ(read.triggerValue, 0x20);
  row[kColumnTrigger] = "120[ms]";
  read = *ReadMasterRow(row, stored, identifiers);
  EXPECT_EQ(read.trigger, kTriggerTimer);
  EXPECT_EQ(read.triggerValue, 120);
  row[kColumnTrigger] = "";
  read = *ReadMasterRow(row, stored, identifiers);
  EXPECT_EQ(read.trigger, kTriggerNone);
  row[kColumnTrigger] = "fast";
  EXPECT_EQ(ReadMasterRow(row, stored, identifiers), std::nullopt);

  row[kColumnTrigger] = "";
  row[kColumnFile] = "too long";
  EXPECT_EQ(settings::FieldText(ReadMasterRow(row, stored, identifiers)->patternPath),
            "C:\\p\\kept.ptn");
  row[kColumnFile] = "";
  EXPECT_EQ(settings::FieldText(ReadMasterRow(row, stored, identifiers)->patternPath), "");
}

TEST(ReadRowTest, InterruptRowTakesOnlyKeysAndKeepsEnableAndDelay) {
  const auto identifiers = Identifiers();
  SimSlot stored = DefaultInterruptSlot();
  stored.enable = 1;
  stored.delay = 0;
  SlotRow row = ShowSlot(stored, GridMode::kSetupInterrupt, identifiers, 0);
  const std::optional<SimSlot> read = ReadInterruptRow(row, stored, identifiers);
  ASSERT_TRUE(read);
  EXPECT_TRUE(SameBytes(*read, stored));

  row[kColumnTrigger] = "";
  EXPECT_EQ(ReadInterruptRow(row, stored, identifiers)->trigger, kTriggerNone);
  row[kColumnTrigger] = "100[ms]";
  EXPECT_EQ(ReadInterruptRow(row, stored, identifiers), std::nullopt);
  row[kColumnTrigger] = "F13";
  EXPECT_EQ(ReadInterruptRow(row, stored, identifiers), std::nullopt);
}

TEST(ReadRowTest, SlaveRowDefaultsAndKeptFields) {
  SimSlot stored = DefaultSlaveResponse();
  stored.command = kCommandTx;
  stored.delay = 0;
  SlotRow row = FreshRow(GridMode::kSlave, 0);
  row[kColumnEnable] = "CHECKED";
  row[DataColumn(3)] = "7f";
  row[kColumnTrigger] = "x";
  const SimSlot empty = ReadSlaveRow(row, stored);
  EXPECT_EQ(empty.enable, 1);
  EXPECT_EQ(empty.identifier, kNoSlaveIdentifier);
  EXPECT_EQ(empty.data[0], 0);
  EXPECT_EQ(empty.data[3], 0x7F);
  EXPECT_EQ(empty.trigger, kTriggerTimer);
  EXPECT_EQ(empty.triggerValue, 0);
  EXPECT_EQ(empty.command, kCommandTx);
  EXPECT_EQ(empty.delay, 0);

  row[kColumnIdentifier] = "zz";
  EXPECT_EQ(ReadSlaveRow(row, stored).identifier, kNoSlaveIdentifier);
  row[kColumnIdentifier] = "3b";
  row[kColumnError] = "ShortMsg";
  row[kColumnTrigger] = "Z";
  const SimSlot read = *ReadGridRow(GridMode::kSlave, row, stored, Identifiers());
  EXPECT_EQ(read.identifier, 0x3B);
  EXPECT_EQ(read.error, 3);
  EXPECT_EQ(read.trigger, kTriggerKey);
  EXPECT_EQ(read.triggerValue, 'Z');
}

}  // namespace
}  // namespace orvane::simulation
