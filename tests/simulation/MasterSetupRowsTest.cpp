#include "simulation/MasterSetupRows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "simulation/ExtendedFileRows.h"
#include "simulation/MasterPatternPreview.h"
#include "tests/simulation/SimulationTestSupport.h"

namespace orvane::simulation {
namespace {

using ::testing::ElementsAre;
using ::testing::Each;

// A schedule list and an interrupt row showing slots, as the setup has them.
class SetupRowsTest : public ::testing::Test {
 protected:
  SetupRowsTest() {
    for (std::size_t row = 0; row < kSlotsPerSchedule; ++row) {
      schedule_.ShowSlot(row, DefaultMasterSlot(), identifiers());
    }
    interrupt_.ShowSlot(0, DefaultInterruptSlot(), identifiers());
  }

  const settings::IdentifierDefinition& identifiers() const { return settings_.identifiers; }
  SetupRowsRead Check(bool interruptOn = false) const {
    return CheckSetupRows(schedule_, interrupt_, identifiers(), interruptOn);
  }

  testing::RuleSettings settings_;
  SlotGridRows schedule_{GridMode::kSetupSchedule, kSlotsPerSchedule};
  SlotGridRows interrupt_{GridMode::kSetupInterrupt, 1};
};

TEST_F(SetupRowsTest, TheFirstRefusedRowDecides) {
  schedule_.SetCell(3, kColumnIdentifier, "40");
  schedule_.SetCell(5, kColumnDelay, "0");
  EXPECT_EQ(Check().problem,
            (RowProblem{SetupList::kSchedule, 3, 0, "Enter proper ID value.(00h-3Fh)"}));

  schedule_.SetCell(3, kColumnIdentifier, "3f");
  EXPECT_EQ(Check().problem,
            (RowProblem{SetupList::kSchedule, 5, 0, "Enter proper delay value (1-65535)."}));

  // A trigger that is no number cannot even be read: message 406.
  schedule_.SetCell(1, kColumnTrigger, "x12");
  EXPECT_EQ(Check().problem, (RowProblem{SetupList::kSchedule, 1, 406, ""}));
  // Reading alone does not check.
  schedule_.SetCell(1, kColumnTrigger, "");
  const SetupRowsRead read = ReadSetupRows(schedule_, interrupt_, identifiers());
  EXPECT_FALSE(read.problem);
  EXPECT_EQ(read.slots.schedule[3].identifier, 0x3F);
  EXPECT_EQ(read.slots.schedule[5].delay, 0);
}

TEST_F(SetupRowsTest, InterruptRowNeedsAKeyAndComesAfterTheSchedule) {
  interrupt_.SetCell(0, kColumnTrigger, "100[ms]");
  EXPECT_EQ(Check().problem, (RowProblem{SetupList::kInterrupt, 0, 404, ""}));
  schedule_.SetCell(0, kColumnDelay, "70000");
  EXPECT_EQ(Check().problem->list, SetupList::kSchedule);
  schedule_.SetCell(0, kColumnDelay, "1");

  interrupt_.SetCell(0, kColumnTrigger, "");
  EXPECT_FALSE(Check(false).problem);
  EXPECT_EQ(Check(true).problem, (RowProblem{SetupList::kInterrupt, 0, 404, ""}));

  interrupt_.SetCell(0, kColumnTrigger, "F3");
  interrupt_.SetCell(0, kColumnPattern, "CHECKED");
  EXPECT_EQ(Check(true).problem,
            (RowProblem{SetupList::kInterrupt, 0, 0, "Please set pattern file parameters."}));
  interrupt_.SetCell(0, kColumnPattern, "UNCHECKED");
  const SetupRowsRead read = Check(true);
  ASSERT_FALSE(read.problem);
  EXPECT_EQ(read.slots.interrupt.trigger, kTriggerKey);
  EXPECT_EQ(read.slots.interrupt.triggerValue, 0x72);
}

class AcceptSetupTest : public SetupRowsTest {
 protected:
  AcceptSetupTest() {
    schedules_->fill(DefaultMasterSchedule());
    run_.CurrentSchedule = 0;
  }

  AcceptResult Accept(std::size_t edited, const SetupSwitches& switches) {
    MasterSetupModel model{*schedules_, interruptSlot_, files_, run_};
    return AcceptMasterSetup(model, edited, schedule_, interrupt_, switches, identifiers(),
                             link_.map(), sink_);
  }

  std::unique_ptr<MasterSchedules> schedules_ = std::make_unique<MasterSchedules>();
  SimSlot interruptSlot_ = DefaultInterruptSlot();
  ExtendedFileTable files_{};
  MasterRunSettings run_{};
  testing::AnalyzerLink link_{true};
  testing::RecordingSink sink_;
  testing::TempDir dir_;
};

TEST_F(AcceptSetupTest, StoresTheRowsSwitchesAndExtendedFiles) {
  SimSlot tx = testing::EnabledSlot(0x3E, 20);
  tx.command = kCommandExtendedTx;
  schedule_.ShowSlot(2, tx, identifiers());
  schedule_.ShowSlot(4, testing::EnabledSlot(0x21, 30), identifiers());
  files_[0].owner = kOwnerScheduleSlot;
  files_[0].scheduleIndex = 5;
  files_[0].slotIndex = 2;
  settings::CopyToField(dir_.Write("frame.ext", "\x01\x02\x03").string(), files_[0].path);

  const AcceptResult result = Accept(5, {.schedule = true, .enable = true, .repeat = false,
                                         .interrupt = true});
  EXPECT_EQ(result.outcome, AcceptOutcome::kAccepted);
  EXPECT_TRUE(sink_.Boxes().empty());
  const MasterSchedule& stored = (*schedules_)[5];
  EXPECT_EQ(stored.enable, 1);
  EXPECT_EQ(stored.repeat, 0);
  EXPECT_EQ(stored.slots[2].command, kCommandExtendedTx);
  EXPECT_EQ(stored.slots[4].identifier, 0x21);
  EXPECT_EQ(stored.slots[4].delay, 30);
  EXPECT_EQ(stored.slots[4].enable, 1);
  EXPECT_EQ((*schedules_)[0].enable, 0);
  EXPECT_EQ(run_.CurrentSchedule, 5);
  EXPECT_EQ(run_.ScheduleModeOn, 1);
  EXPECT_EQ(run_.InterruptModeOn, 1);
  EXPECT_EQ(interruptSlot_.triggerValue, kKeyF1);
  EXPECT_EQ(files_[0].length, 3);
  EXPECT_THAT(link_.Read(analyzer::reg::kExtendedData, 4), ElementsAre(1, 2, 3, 0));
}

TEST_F(AcceptSetupTest, MissingPatternFileRefusesItsRowBeforeTheSwitches) {
  SimSlot slot = testing::PatternSlot(dir_.path() / "gone.ptn", kTriggerTimer, 100);
  slot.enable = 0;
  schedule_.ShowSlot(4, slot, identifiers());
  const AcceptResult result = Accept(1, {.schedule = true, .interrupt = true});
  EXPECT_EQ(result.outcome, AcceptOutcome::kRowRefused);
  EXPECT_EQ(result.problem, (RowProblem{SetupList::kSchedule, 4, 702, ""}));
  EXPECT_EQ((*schedules_)[1].slots[4].pattern, 1);  // the rows were stored
  EXPECT_EQ(run_.InterruptModeOn, 0);
  EXPECT_EQ(run_.ScheduleModeOn, 0);
  EXPECT_EQ(run_.CurrentSchedule, 0);

  schedule_.ShowSlot(4, DefaultMasterSlot(), identifiers());
  SimSlot interrupt = DefaultInterruptSlot();
  testing::UsePattern(interrupt, dir_.path() / "gone.ptn", kTriggerKey, kKeyF1);
  interrupt_.ShowSlot(0, interrupt, identifiers());
  EXPECT_EQ(Accept(1, {.schedule = true, .interrupt = true}).problem,
            (RowProblem{SetupList::kInterrupt, 0, 702, ""}));
  EXPECT_EQ(run_.InterruptModeOn, 1);
  EXPECT_EQ(run_.ScheduleModeOn, 0);
}

TEST_F(AcceptSetupTest, FailedDownloadKeepsTheRunSwitches) {
  SimSlot tx = testing::EnabledSlot(0x3F, 20);
  tx.command = kCommandExtendedTx;
  schedule_.ShowSlot(0, tx, identifiers());
  files_[0].slotIndex = 0;
  settings::CopyToField((dir_.path() / "missing.ext").string(), files_[0].path);
  const AcceptResult result = Accept(0, {.schedule = true});
  EXPECT_EQ(result.outcome, AcceptOutcome::kDownloadFailed);
  EXPECT_EQ(sink_.Texts(), std::vector<std::string>{"Simulation data setting NG!."});
  EXPECT_EQ(run_.ScheduleModeOn, 0);
}

TEST_F(SetupRowsTest, ExtendedRowsShowDashesAndForeignIdentifiersLoseTheirFile) {
  SimSlot extended = DefaultMasterSlot();
  extended.identifier = 0x3E;
  extended.command = kCommandExtendedTx;
  schedule_.ShowSlot(2, extended, identifiers());
  SimSlot plain = DefaultMasterSlot();
  plain.identifier = 0x20;
  plain.data[0] = 0x99;
  schedule_.ShowSlot(3, plain, identifiers());
  interrupt_.ShowSlot(0, extended, identifiers());

  ExtendedFileTable files{};
  const auto bind = [&files](std::size_t index, std::uint8_t owner, std::uint8_t schedule,
                             std::uint8_t slot) {
    files[index].owner = owner;
    files[index].scheduleIndex = schedule;
    files[index].slotIndex = slot;
    settings::CopyToField("/x/" + std::to_string(index) + ".ext", files[index].path);
  };
  bind(0, kOwnerScheduleSlot, 6, 2);
  bind(1, kOwnerScheduleSlot, 6, 3);
  bind(2, kOwnerScheduleSlot, 7, 3);  // another schedule: untouched
  bind(3, kOwnerInterruptSlot, 0, 0);
  MarkExtendedRows(files, 6, schedule_, interrupt_, identifiers());

  for (std::size_t i = 0; i < kSlotDataSize; ++i) {
    EXPECT_EQ(schedule_.cells(2)[DataColumn(i)], "-");
    EXPECT_EQ(interrupt_.cells(0)[DataColumn(i)], "-");
  }
  EXPECT_EQ(settings::FieldText(files[0].path), "/x/0.ext");
  EXPECT_EQ(settings::FieldText(files[1].path), "");
  EXPECT_EQ(schedule_.cells(3)[kColumnData0], "00");
  EXPECT_EQ(schedule_.cells(3)[DataColumn(3)], "00");
  EXPECT_EQ(schedule_.cells(3)[DataColumn(4)], "");
  EXPECT_EQ(settings::FieldText(files[2].path), "/x/2.ext");
  EXPECT_EQ(settings::FieldText(files[3].path), "/x/3.ext");
}

TEST(MasterPatternPreviewTest, FirstSuitableRowFillsTheFrameCells) {
  const testing::TempDir dir;
  const testing::RuleSettings settings;  // both choices "Skip 1Pattern"
  SlotRow row = FreshRow(GridMode::kSetupSchedule, 0);
  row[kColumnPattern] = "CHECKED";
  // 0x10 defines 2 bytes and 0x21 four: the first two lines are passed over.
  const auto file = dir.Write("p.ptn", "Tx,10,01\nRx,21\nTx,11,0a,0b\nSleep,3c\n");
  EXPECT_EQ(PreviewPatternRow(row, file.string(), settings.rules()), PreviewOutcome::kShown);
  EXPECT_EQ(row[kColumnCommand], "Tx");
  EXPECT_EQ(row[kColumnIdentifier], "11");
  EXPECT_EQ(row[kColumnData0], "0a");
  EXPECT_EQ(row[DataColumn(1)], "0b");
  EXPECT_EQ(row[DataColumn(2)], "");

  // A suitable line that does not parse unticks "Pat".
  const auto broken = dir.Write("b.ptn", "Tx,10,01\nTx,12,01,02,zz\nTx,11,01,02\n");
  EXPECT_EQ(PreviewPatternRow(row, broken.string(), settings.rules()),
            PreviewOutcome::kFormatError);
  EXPECT_EQ(row[kColumnPattern], "UNCHECKED");
  EXPECT_EQ(row[kColumnIdentifier], "11");
  EXPECT_EQ(PatternFormatErrorText("/p/b.ptn"),
            "Pattern file format error.That slot will be disabled.\n(/p/b.ptn)");

  const auto unsuitable = dir.Write("u.ptn", "Tx,10,01\n");
  EXPECT_EQ(PreviewPatternRow(row, unsuitable.string(), settings.rules()),
            PreviewOutcome::kNoSuitableRow);
  EXPECT_EQ(PreviewPatternRow(row, (dir.path() / "none.ptn").string(), settings.rules()),
            PreviewOutcome::kNoSuitableRow);
}

TEST(ExtendedFileRowsTest, QualifyingSlotsInScheduleOrderWithTheirFiles) {
  auto schedules = std::make_unique<MasterSchedules>();
  schedules->fill(DefaultMasterSchedule());
  const auto extendedTx = [](std::uint8_t identifier) {
    SimSlot slot = DefaultMasterSlot();
    slot.identifier = identifier;
    slot.command = kCommandExtendedTx;
    return slot;
  };
  (*schedules)[2].slots[0] = extendedTx(0x3F);
  (*schedules)[0].slots[3] = extendedTx(0x3E);
  (*schedules)[1].slots[1] = extendedTx(0x3E);
  (*schedules)[1].slots[1].command = kCommandExtendedRx;
  const SimSlot interrupt = extendedTx(0x3E);
  ExtendedFileTable files{};
  files[1].owner = kOwnerScheduleSlot;
  files[1].scheduleIndex = 2;
  settings::CopyToField("/f/a.ext", files[1].path);
  files[5].owner = kOwnerInterruptSlot;  // beyond the four in use
  settings::CopyToField("/f/b.ext", files[5].path);

  const std::vector<ExtendedFileRow> rows = ExtendedFileRows(*schedules, interrupt, files);
  EXPECT_THAT(rows, ElementsAre(ExtendedFileRow{kOwnerScheduleSlot, 0, 3, ""},
                                ExtendedFileRow{kOwnerScheduleSlot, 2, 0, "/f/a.ext"},
                                ExtendedFileRow{kOwnerInterruptSlot, 0, 0, ""}));
  EXPECT_THAT(ExtendedFileRowCells(rows[1]), ElementsAre("Sch", "2", "0"));
  EXPECT_THAT(ExtendedFileRowCells(rows[2]), ElementsAre("Int", "-", "0"));
}

TEST(ExtendedFileRowsTest, CloseStoresAtMostFourExistingFiles) {
  const testing::TempDir dir;
  const std::string a = dir.Write("a.ext", "a").string();
  const std::string b = dir.Write("b.ext", "b").string();
  testing::RecordingSink sink;
  ExtendedFileTable files{};
  settings::CopyToField("/old.ext", files[3].path);
  files[6].slotIndex = 9;  // records beyond the four in use stay as they are

  std::vector<ExtendedFileRow> rows = {{kOwnerScheduleSlot, 0, 1, a}, {kOwnerScheduleSlot, 0, 2, ""},
                                       {kOwnerScheduleSlot, 4, 7, b}, {kOwnerInterruptSlot, 0, 0, a},
                                       {kOwnerScheduleSlot, 5, 5, b}, {kOwnerScheduleSlot, 6, 6, b}};
  const ExtendedFileTable before = files;
  EXPECT_EQ(StoreExtendedFileRows(rows, files, sink).outcome, ExtendedFilesOutcome::kTooMany);
  EXPECT_EQ(sink.Texts(), std::vector<std::string>{std::string(kTooManyExtendedFilesText)});
  EXPECT_EQ(std::memcmp(&files, &before, sizeof files), 0);

  rows[5].path.clear();
  rows[4].path = "/" + std::string(255, 'p');
  const ExtendedFilesResult tooLong = StoreExtendedFileRows(rows, files, sink);
  EXPECT_EQ(tooLong.outcome, ExtendedFilesOutcome::kPathTooLong);
  EXPECT_EQ(tooLong.row, 4u);
  EXPECT_EQ(sink.Texts().back(), "too long!.");
  EXPECT_EQ(std::memcmp(&files, &before, sizeof files), 0);

  rows[4].path.clear();
  EXPECT_EQ(StoreExtendedFileRows(rows, files, sink).outcome, ExtendedFilesOutcome::kStored);
  EXPECT_EQ(settings::FieldText(files[0].path), a);
  EXPECT_EQ(files[0].slotIndex, 1);
  EXPECT_EQ(settings::FieldText(files[1].path), b);
  EXPECT_EQ(files[1].scheduleIndex, 4);
  EXPECT_EQ(files[1].slotIndex, 7);
  EXPECT_EQ(files[2].owner, kOwnerInterruptSlot);
  EXPECT_EQ(settings::FieldText(files[3].path), "");
  EXPECT_EQ(files[6].slotIndex, 9);

  rows[1].path = (dir.path() / "gone.ext").string();
  testing::RecordingSink warnings;
  EXPECT_EQ(StoreExtendedFileRows(rows, files, warnings).outcome,
            ExtendedFilesOutcome::kStoredCleared);
  ASSERT_EQ(warnings.Boxes().size(), 1u);
  EXPECT_EQ(warnings.Boxes()[0].caption, "Warning");
  EXPECT_EQ(warnings.Boxes()[0].text, std::string(kMissingExtendedFileText));
  const std::vector<std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(&files),
                                        reinterpret_cast<const std::uint8_t*>(&files + 1));
  EXPECT_THAT(bytes, Each(0));
}

}  // namespace
}  // namespace orvane::simulation
