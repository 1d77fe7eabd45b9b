// Editing the grid's rows: the checks of typed texts, which cells a row
// lets the user edit, the drop-down items, ticking "Ena", the effects of an
// accepted edit on its row, the clipboard actions and shortened names.
#include <gtest/gtest.h>

#include <vector>

#include "settings/FixedText.h"
#include "simulation/ShortName.h"
#include "simulation/SlotClipboard.h"
#include "simulation/SlotGridEdit.h"

namespace orvane::simulation {
namespace {

constexpr std::string_view kHexText = "Please input correct value by the hexadecimal digit.";
constexpr std::string_view kDelayText = "Please input delay value in the range of 1-65535.";
constexpr std::string_view kIntervalText =
    "Please input interval value[50-10000], or character of a key.";

settings::IdentifierDefinition Identifiers() {
  settings::IdentifierDefinition identifiers{};
  settings::SetIdentifierDefaults(identifiers);
  return identifiers;
}

SlotRow Row(std::string_view command, std::string_view identifier = "10") {
  SlotRow row = FreshRow(GridMode::kSetupSchedule, 0);
  row[kColumnDelay] = "10";
  row[kColumnCommand] = command;
  row[kColumnIdentifier] = identifier;
  return row;
}

std::vector<std::string> Data(const SlotRow& row) {
  std::vector<std::string> data;
  for (std::size_t i = 0; i < kSlotDataSize; ++i) data.push_back(row[DataColumn(i)]);
  return data;
}

std::string Accepted(GridColumn column, std::string_view typed) {
  const EditCheck check = CheckEditedText(column, typed);
  EXPECT_EQ(check.error, "") << typed;
  return check.text;
}

std::string Refused(GridColumn column, std::string_view typed) {
  return CheckEditedText(column, typed).error;
}

TEST(EditCheckTest, HexadecimalCells) {
  EXPECT_EQ(Accepted(DataColumn(2), "5"), "05");
  EXPECT_EQ(Accepted(kColumnIdentifier, "A"), "0a");
  EXPECT_EQ(Accepted(kColumnIdentifier, "3F"), "3f");
  EXPECT_EQ(Accepted(kColumnData7, ""), "");
  EXPECT_EQ(Refused(kColumnData0, "zz"), kHexText);
  EXPECT_EQ(Refused(kColumnData0, "-1"), kHexText);
  EXPECT_EQ(Refused(kColumnData0, "0x"), kHexText);
  EXPECT_EQ(Refused(kColumnIdentifier, "100"), "You can't input more than 2 characters.");
}

TEST(EditCheckTest, DelayCell) {
  EXPECT_EQ(Accepted(kColumnDelay, "1"), "1");
  EXPECT_EQ(Accepted(kColumnDelay, "65535"), "65535");
  EXPECT_EQ(Accepted(kColumnDelay, "007"), "7");
  for (std::string_view typed : {"0", "65536", "", "1e3", " 5", "-5"}) {
    EXPECT_EQ(Refused(kColumnDelay, typed), kDelayText) << typed;
  }
  EXPECT_EQ(Refused(kColumnDelay, "100000"), "You can't input more than 5 characters.");
}

TEST(EditCheckTest, TimerKeyCell) {
  EXPECT_EQ(Accepted(kColumnTrigger, "SPACE"), "SPACE");
  EXPECT_EQ(Accepted(kColumnTrigger, "F12"), "F12");
  EXPECT_EQ(Accepted(kColumnTrigger, "f1"), "F1");
  EXPECT_EQ(Accepted(kColumnTrigger, "7"), "7");  // the key, not 7 ms
  EXPECT_EQ(Accepted(kColumnTrigger, "50"), "50[ms]");
  EXPECT_EQ(Accepted(kColumnTrigger, "10000"), "10000[ms]");
  for (std::string_view typed : {"49", "10001", "", "F13", "ESC", "50ms"}) {
    EXPECT_EQ(Refused(kColumnTrigger, typed), kIntervalText) << typed;
  }
  EXPECT_EQ(Refused(kColumnTrigger, "SPACES"), "You can't input more than 5 characters.");
  EXPECT_EQ(EditorStartText("120[ms]"), "120");
  EXPECT_EQ(EditorStartText("F3"), "F3");
}

TEST(CellAccessTest, CommandDecidesTheEditableCells) {
  auto access = [](const SlotRow& row, GridColumn column) {
    return CellEditAccess(GridMode::kSetupSchedule, row, column);
  };
  const SlotRow wakeup = Row("Wakeup", "");
  EXPECT_EQ(access(wakeup, kColumnDelay), EditAccess::kEditable);
  EXPECT_EQ(access(wakeup, kColumnTrigger), EditAccess::kEditable);
  EXPECT_EQ(access(wakeup, kColumnCommand), EditAccess::kEditable);
  EXPECT_EQ(access(wakeup, kColumnIdentifier), EditAccess::kNotEditable);
  EXPECT_EQ(access(wakeup, kColumnError), EditAccess::kNotEditable);

  const SlotRow sleep = Row("Sleep", "3c");
  EXPECT_EQ(access(sleep, DataColumn(1)), EditAccess::kEditable);
  EXPECT_EQ(access(sleep, kColumnData7), EditAccess::kEditable);
  EXPECT_EQ(access(sleep, kColumnData0), EditAccess::kNotEditable);
  EXPECT_EQ(access(sleep, kColumnIdentifier), EditAccess::kNotEditable);
  EXPECT_EQ(access(sleep, kColumnTrigger), EditAccess::kNotEditable);

  const SlotRow rx = Row("Rx");
  EXPECT_EQ(access(rx, kColumnData0), EditAccess::kNotEditable);
  EXPECT_EQ(access(rx, kColumnIdentifier), EditAccess::kEditable);
  EXPECT_EQ(access(rx, kColumnError), EditAccess::kEditable);

  SlotRow extended = Row("Tx", "3e");
  extended[kColumnData0] = "-";
  EXPECT_EQ(access(extended, kColumnData0), EditAccess::kNotEditable);
  EXPECT_EQ(access(extended, kColumnNumber), EditAccess::kNotEditable);
  EXPECT_EQ(access(extended, kColumnEnable), EditAccess::kNotEditable);
  EXPECT_EQ(access(extended, kColumnFile), EditAccess::kNotEditable);
}

TEST(CellAccessTest, PatternRowsLockTheFrameInMasterListsOnly) {
  SlotRow row = Row("Tx");
  row[kColumnPattern] = "CHECKED";
  EXPECT_EQ(CellEditAccess(GridMode::kSetupSchedule, row, kColumnIdentifier),
            EditAccess::kEditable);  // no file yet
  row[kColumnFile] = "door.ptn";
  for (GridColumn column : {kColumnCommand, kColumnIdentifier, kColumnData0, kColumnError}) {
    EXPECT_EQ(CellEditAccess(GridMode::kSetupSchedule, row, column), EditAccess::kPatternDefined);
    EXPECT_EQ(CellEditAccess(GridMode::kSetupInterrupt, row, column), EditAccess::kPatternDefined);
  }
  EXPECT_EQ(CellEditAccess(GridMode::kSetupSchedule, row, kColumnDelay), EditAccess::kEditable);
  EXPECT_EQ(CellEditAccess(GridMode::kSetupInterrupt, row, kColumnTrigger), EditAccess::kEditable);
  EXPECT_EQ(CellEditAccess(GridMode::kSlave, row, kColumnIdentifier), EditAccess::kEditable);
  EXPECT_EQ(CellEditAccess(GridMode::kSlave, row, kColumnCommand), EditAccess::kNotEditable);
}

TEST(DropDownTest, ChoicesFollowTheRow) {
  using Choices = std::vector<std::string_view>;
  SlotRow row = Row("Tx");
  const Choices commands = {"Tx", "Rx", "Sleep", "Wakeup"};
  const Choices errors = {"(None)",      "Parity",    "CheckSum",   "ShortMsg",
                          "SyncBreak-L", "SyncField", "SyncBreak-S"};
  EXPECT_EQ(DropDownChoices(GridMode::kSetupSchedule, row, kColumnCommand), commands);
  EXPECT_EQ(DropDownChoices(GridMode::kSetupSchedule, row, kColumnError), errors);
  row[kColumnError] = "(None)";
  EXPECT_EQ(DropDownChoices(GridMode::kSetupSchedule, row, kColumnCommand), commands);
  row[kColumnError] = "SyncField";
  EXPECT_EQ(DropDownChoices(GridMode::kSetupInterrupt, row, kColumnCommand), Choices{"Tx"});
  EXPECT_EQ(DropDownChoices(GridMode::kSetupSchedule, Row("Rx"), kColumnError), Choices{"(None)"});
  EXPECT_EQ(DropDownChoices(GridMode::kSetupSchedule, Row(""), kColumnError), Choices{"(None)"});
  EXPECT_EQ(DropDownChoices(GridMode::kSlave, FreshRow(GridMode::kSlave, 0), kColumnError),
            (Choices{"(None)", "CheckSum", "ShortMsg"}));
}

TEST(TickTest, EnaNeedsCommandAndDelayOrAnIdentifier) {
  SlotRow row = Row("Tx");
  row[kColumnDelay] = "";
  EXPECT_EQ(ToggleCheckCell(GridMode::kSetupSchedule, row, kColumnEnable), TickOutcome::kRefused);
  EXPECT_EQ(row[kColumnEnable], "UNCHECKED");
  row[kColumnDelay] = "5";
  row[kColumnCommand] = "";
  EXPECT_EQ(ToggleCheckCell(GridMode::kSetupSchedule, row, kColumnEnable), TickOutcome::kRefused);
  row[kColumnCommand] = "Wakeup";
  EXPECT_EQ(ToggleCheckCell(GridMode::kSetupSchedule, row, kColumnEnable), TickOutcome::kToggled);
  EXPECT_EQ(row[kColumnEnable], "CHECKED");
  row[kColumnDelay] = "";  // unticking is always possible
  EXPECT_EQ(ToggleCheckCell(GridMode::kSetupSchedule, row, kColumnEnable), TickOutcome::kToggled);
  EXPECT_EQ(row[kColumnEnable], "UNCHECKED");
  // Other check cells do not ask for anything.
  EXPECT_EQ(ToggleCheckCell(GridMode::kSetupSchedule, row, kColumnOneTime), TickOutcome::kToggled);
  EXPECT_EQ(row[kColumnOneTime], "CHECKED");

  SlotRow slave = FreshRow(GridMode::kSlave, 0);
  EXPECT_EQ(ToggleCheckCell(GridMode::kSlave, slave, kColumnEnable), TickOutcome::kRefusedSilently);
  EXPECT_EQ(slave[kColumnEnable], "UNCHECKED");
  slave[kColumnIdentifier] = "40";
  EXPECT_EQ(ToggleCheckCell(GridMode::kSlave, slave, kColumnEnable), TickOutcome::kToggled);
  EXPECT_EQ(slave[kColumnEnable], "CHECKED");
}

TEST(EditEffectTest, CommandChoicesRewriteTheFrame) {
  const auto identifiers = Identifiers();
  const std::vector<std::string> none(kSlotDataSize, "");
  SlotRow row = Row("Tx", "20");
  ShowDataCells(row, 4);
  row[kColumnData0] = "aa";

  ApplyCellEdit(row, kColumnCommand, "Sleep", identifiers);
  EXPECT_EQ(row[kColumnIdentifier], "3c");
  EXPECT_EQ(Data(row), std::vector<std::string>(kSlotDataSize, "00"));

  ApplyCellEdit(row, kColumnCommand, "Tx", identifiers);
  EXPECT_EQ(row[kColumnIdentifier], "10");
  EXPECT_EQ(Data(row), (std::vector<std::string>{"00", "00", "", "", "", "", "", ""}));

  row[kColumnIdentifier] = "2b";
  ApplyCellEdit(row, kColumnCommand, "Rx", identifiers);
  EXPECT_EQ(row[kColumnIdentifier], "2b");  // Tx to Rx keeps the identifier
  EXPECT_EQ(Data(row), none);
  ApplyCellEdit(row, kColumnCommand, "Tx", identifiers);
  EXPECT_EQ(Data(row), (std::vector<std::string>{"00", "00", "00", "00", "", "", "", ""}));

  row[kColumnDelay] = "40";
  ApplyCellEdit(row, kColumnCommand, "Wakeup", identifiers);
  EXPECT_EQ(row[kColumnCommand], "Wakeup");
  EXPECT_EQ(row[kColumnIdentifier], "");
  EXPECT_EQ(Data(row), none);
  EXPECT_EQ(row[kColumnDelay], "40");

  ApplyCellEdit(row, kColumnCommand, "Rx", identifiers);
  EXPECT_EQ(row[kColumnIdentifier], "10");
  EXPECT_EQ(Data(row), none);
}

TEST(EditEffectTest, NewIdentifierReshowsTheDataOfATxRow) {
  const auto identifiers = Identifiers();
  SlotRow row = Row("Tx", "10");
  row[kColumnData0] = "11";
  row[DataColumn(1)] = "22";
  ApplyCellEdit(row, kColumnIdentifier, "30", identifiers);
  EXPECT_EQ(Data(row), (std::vector<std::string>{"11", "22", "00", "00", "00", "00", "00", "00"}));
  ApplyCellEdit(row, kColumnIdentifier, "20", identifiers);
  EXPECT_EQ(Data(row), (std::vector<std::string>{"11", "22", "00", "00", "", "", "", ""}));

  SlotRow rx = Row("Rx", "10");
  ApplyCellEdit(rx, kColumnIdentifier, "30", identifiers);
  EXPECT_EQ(rx[kColumnIdentifier], "30");
  EXPECT_EQ(Data(rx), std::vector<std::string>(kSlotDataSize, ""));

  ApplyCellEdit(row, kColumnError, "(None)", identifiers);
  EXPECT_EQ(row[kColumnError], "");
  ApplyCellEdit(row, kColumnError, "ShortMsg", identifiers);
  EXPECT_EQ(row[kColumnError], "ShortMsg");
}

// A schedule list of 32 rows; row i shows an enabled Tx slot on identifier
// i with delay i + 1 and pattern file "p<i>.ptn".
class ClipboardTest : public ::testing::Test {
 protected:
  ClipboardTest() {
    for (std::size_t i = 0; i < schedule.size(); ++i) schedule.ShowSlot(i, SlotOf(i), identifiers);
    SimSlot interruptSlot = DefaultInterruptSlot();
    interruptSlot.enable = 1;
    interruptSlot.delay = 0;
    interrupt.ShowSlot(0, interruptSlot, identifiers);
  }

  static SimSlot SlotOf(std::size_t i) {
    SimSlot slot = DefaultMasterSlot();
    slot.enable = 1;
    slot.delay = static_cast<std::int32_t>(i + 1);
    slot.identifier = static_cast<std::uint8_t>(i);
    slot.pattern = 1;
    slot.trigger = kTriggerTimer;
    settings::CopyToField("C:\\ptn\\p" + std::to_string(i) + ".ptn", slot.patternPath);
    return slot;
  }
  static std::string PathOf(const SimSlot& slot) {
    return std::string(settings::FieldText(slot.patternPath));
  }

  ClipboardOutcome Run(SlotGridRows& rows, std::size_t focused, ClipboardAction action) {
    rows.SetFocused(focused);
    clipboard.lastClicked = &rows;
    return RunClipboardAction(clipboard, action, identifiers);
  }

  settings::IdentifierDefinition identifiers = Identifiers();
  SlotGridRows schedule{GridMode::kSetupSchedule, kSlotsPerSchedule};
  SlotGridRows interrupt{GridMode::kSetupInterrupt, 1};
  GridClipboard clipboard;
};

TEST_F(ClipboardTest, DeleteMovesRowsAndPathsUpAndAddsAFreshLastRow) {
  EXPECT_EQ(Run(schedule, 0, ClipboardAction::kDelete), ClipboardOutcome::kDone);
  for (std::size_t i = 0; i + 1 < kSlotsPerSchedule; ++i) {
    EXPECT_EQ(schedule.cells(i)[kColumnNumber], std::to_string(i));
    EXPECT_EQ(schedule.cells(i)[kColumnDelay], std::to_string(i + 2));
    EXPECT_EQ(schedule.cells(i)[kColumnFile], "p" + std::to_string(i + 1) + ".ptn");
    EXPECT_EQ(PathOf(schedule.stored(i)), "C:\\ptn\\p" + std::to_string(i + 1) + ".ptn");
  }
  EXPECT_EQ(schedule.cells(31), FreshRow(GridMode::kSetupSchedule, 31));
  EXPECT_EQ(schedule.cells(31)[kColumnEnable], "UNCHECKED");
  EXPECT_EQ(PathOf(schedule.stored(31)), "");
  EXPECT_EQ(clipboard.lastClicked, nullptr);  // forgotten until the next click
  EXPECT_EQ(RunClipboardAction(clipboard, ClipboardAction::kDelete, identifiers),
            ClipboardOutcome::kNoSelection);
}

TEST_F(ClipboardTest, CutAndInsertPasteMoveARowWithItsPath) {
  EXPECT_EQ(Run(schedule, 3, ClipboardAction::kInsertPaste), ClipboardOutcome::kNothingCopied);
  EXPECT_EQ(Run(schedule, 3, ClipboardAction::kCut), ClipboardOutcome::kDone);
  EXPECT_EQ(schedule.cells(3)[kColumnFile], "p4.ptn");
  EXPECT_EQ(Run(schedule, 10, ClipboardAction::kInsertPaste), ClipboardOutcome::kDone);
  EXPECT_EQ(schedule.cells(10)[kColumnNumber], "10");
  EXPECT_EQ(schedule.cells(10)[kColumnDelay], "4");
  EXPECT_EQ(PathOf(schedule.stored(10)), "C:\\ptn\\p3.ptn");
  EXPECT_EQ(schedule.cells(11)[kColumnFile], "p11.ptn");
  // The fresh row the cut added at the end was dropped by the insert.
  EXPECT_EQ(schedule.cells(31)[kColumnFile], "p31.ptn");

  EXPECT_EQ(Run(schedule, 0, ClipboardAction::kOverwritePaste), ClipboardOutcome::kDone);
  EXPECT_EQ(schedule.cells(0)[kColumnIdentifier], "03");
  EXPECT_EQ(schedule.cells(0)[kColumnNumber], "0");
  EXPECT_EQ(PathOf(schedule.stored(0)), "C:\\ptn\\p3.ptn");
}

TEST_F(ClipboardTest, InterruptRowCopiesAsDisabledWithDelayOneAndKeepsItsOwnEnable) {
  EXPECT_EQ(Run(interrupt, 0, ClipboardAction::kCopy), ClipboardOutcome::kDone);
  ASSERT_TRUE(clipboard.copied);
  EXPECT_EQ(clipboard.copied->enable, 0);
  EXPECT_EQ(clipboard.copied->delay, 1);
  EXPECT_EQ(clipboard.copied->triggerValue, kKeyF1);
  EXPECT_EQ(Run(schedule, 5, ClipboardAction::kOverwritePaste), ClipboardOutcome::kDone);
  EXPECT_EQ(schedule.cells(5)[kColumnEnable], "UNCHECKED");
  EXPECT_EQ(schedule.cells(5)[kColumnDelay], "1");
  EXPECT_EQ(schedule.cells(5)[kColumnTrigger], "F1");
  EXPECT_EQ(schedule.cells(5)[kColumnFile], "");

  EXPECT_EQ(Run(schedule, 7, ClipboardAction::kCopy), ClipboardOutcome::kDone);
  EXPECT_EQ(Run(interrupt, 0, ClipboardAction::kInsertPaste), ClipboardOutcome::kDone);
  EXPECT_EQ(interrupt.size(), 1u);
  EXPECT_EQ(interrupt.cells(0)[kColumnIdentifier], "07");
  EXPECT_EQ(interrupt.stored(0).enable, 1);
  EXPECT_EQ(interrupt.stored(0).delay, 0);
  EXPECT_EQ(PathOf(interrupt.stored(0)), "C:\\ptn\\p7.ptn");

  EXPECT_EQ(Run(interrupt, 0, ClipboardAction::kDelete), ClipboardOutcome::kDone);
  EXPECT_EQ(interrupt.cells(0), FreshRow(GridMode::kSetupInterrupt, 0));
  EXPECT_EQ(interrupt.stored(0).enable, 1);
  EXPECT_EQ(PathOf(interrupt.stored(0)), "");
}

TEST_F(ClipboardTest, UnreadableRowOrNoFocusChangesNothing) {
  schedule.SetCell(2, kColumnTrigger, "soon");
  EXPECT_EQ(Run(schedule, 2, ClipboardAction::kCut), ClipboardOutcome::kRowUnreadable);
  EXPECT_EQ(schedule.cells(2)[kColumnDelay], "3");
  EXPECT_FALSE(clipboard.copied);

  schedule.SetFocused(std::nullopt);
  clipboard.lastClicked = &schedule;
  EXPECT_EQ(RunClipboardAction(clipboard, ClipboardAction::kCopy, identifiers),
            ClipboardOutcome::kNoSelection);
}

TEST(ShortNameTest, KeepsWhatFitsAndCutsTheRest) {
  const TextWidth sevenPixels = [](std::string_view text) {
    return static_cast<int>(text.size()) * 7;
  };
  EXPECT_EQ(ShortenName("S1", 65, sevenPixels), "S1");
  EXPECT_EQ(ShortenName("Schedule1", 65, sevenPixels), "Schedule1");   // 63 pixels
  EXPECT_EQ(ShortenName("Schedule12", 65, sevenPixels), "Schedu...");  // 6 + 3 characters
  EXPECT_EQ(ShortenName("DoorControl", 20, sevenPixels), "...");
  EXPECT_EQ(ShortenName("", 65, sevenPixels), "");
  // A multi-byte character is kept whole or left out.
  EXPECT_EQ(ShortenName("ab\xC3\xA9xyzwvut", 42, sevenPixels), "ab...");
}

}  // namespace
}  // namespace orvane::simulation
