// What reading a configuration file does beyond copying bytes: the checks
// of the taken settings, the LIN description, the LIN 2.0 question, the
// error-slot fix-up and the extended file check.
#include <gtest/gtest.h>

#include "app/ConfigurationFile.h"
#include "tests/app/ConfigurationTestSupport.h"

namespace orvane::app {
namespace {

using monitor::MessageAnswer;
using monitor::MessageButtons;
using monitor::MessageIcon;
using testing::FakeDescriptionLoader;
using testing::RecordingSink;
using testing::TemporaryFolder;
using testing::WriteBytes;

class ConfigurationRead : public ::testing::Test {
 protected:
  ConfigurationRead() {
    SetDefaults(stored, "/opt/orvane");
    SetDefaults(program, "/opt/orvane");
  }

  ReadStatus Load(bool interactive = true) {
    const auto path = folder / "test.cfg";
    EXPECT_TRUE(WriteConfiguration(path, stored).ok);
    return ReadConfiguration(path, interactive, program, descriptions, messages).status;
  }

  TemporaryFolder folder;
  Configuration stored;   // what the file holds
  Configuration program;  // the program's configuration that reads it
  FakeDescriptionLoader descriptions;
  RecordingSink messages;
};

TEST_F(ConfigurationRead, LoggingMaskAndScheduleAreResetWhateverTheFileHolds) {
  stored.Options.LoggingEnabled = 1;
  stored.Options.MaskEnabled = 1;
  stored.MasterRun.CurrentSchedule = 7;
  stored.MasterRun.ScheduleModeOn = 1;

  ASSERT_EQ(Load(), ReadStatus::Loaded);
  EXPECT_EQ(program.Options.LoggingEnabled, 0u);
  EXPECT_EQ(program.Options.MaskEnabled, 0u);
  EXPECT_EQ(program.MasterRun.CurrentSchedule, 0);
  EXPECT_EQ(program.MasterRun.ScheduleModeOn, 1);
}

TEST_F(ConfigurationRead, TakenSettingsAreBroughtIntoRange) {
  auto& options = stored.Settings.Options;
  options.BreakSelect = 2;
  options.WakeupMicros = 49;
  options.EachMode = 5;
  options.IoChannels[0].enabled = 1;
  options.IoChannels[2].enabled = 1;
  stored.Settings.Identifiers.dataLength[0x05] = 9;
  stored.Settings.Identifiers.dataLength[0x06] = 0xFF;
  stored.Settings.Identifiers.classicChecksum[0x07] = 7;
  stored.Settings.Identifiers.classicChecksum[0x08] = 0;
  stored.Settings.Identifiers.classicChecksum[0x3C] = 0;
  stored.Settings.Identifiers.classicChecksum[0x3D] = 0;
  stored.Settings.FrameHighlights[1].kind = settings::kIoEventCondition;
  stored.Settings.Find.kind = settings::kFindFrame;

  ASSERT_EQ(Load(), ReadStatus::Loaded);
  const auto& taken = program.Settings;
  EXPECT_EQ(taken.Options.BreakSelect, 0);
  EXPECT_EQ(taken.Options.WakeupMicros, 50u);
  EXPECT_EQ(taken.Options.EachMode, 0u);
  EXPECT_EQ(taken.Options.IoChannels[0].enabled, 0u);
  EXPECT_EQ(taken.Options.IoChannels[2].enabled, 0u);
  EXPECT_EQ(taken.Identifiers.dataLength[0x05], 8);
  EXPECT_EQ(taken.Identifiers.dataLength[0x06], 8);
  EXPECT_EQ(taken.Identifiers.classicChecksum[0x07], 1u);
  EXPECT_EQ(taken.Identifiers.classicChecksum[0x08], 0u);
  EXPECT_EQ(taken.Identifiers.classicChecksum[0x3C], 1u);
  EXPECT_EQ(taken.Identifiers.classicChecksum[0x3D], 1u);
  EXPECT_EQ(taken.FrameHighlights[1].kind, settings::kFrameCondition);
  EXPECT_EQ(taken.Find.kind, 1);
}

TEST_F(ConfigurationRead, MissingDescriptionIsForgottenAndSortOrderFallsBack) {
  settings::CopyToField((folder / "gone.ldf").string(), stored.Settings.DescriptionPath);
  stored.Settings.DescriptionReference = 1;
  stored.Settings.Options.EachMode = 1;
  stored.Settings.Options.SortOrder = settings::kOrderOfNode;
  stored.Settings.Selection.frameMask[0] = 0x5;
  stored.Settings.Selection.signalMasks[63][1] = 0x80000000u;

  ASSERT_EQ(Load(), ReadStatus::Loaded);
  EXPECT_EQ(descriptions.releases, 1);
  EXPECT_TRUE(descriptions.reloadedPaths.empty());
  EXPECT_EQ(settings::FieldText(program.Settings.DescriptionPath), "");
  EXPECT_EQ(program.Settings.DescriptionReference, 0u);
  EXPECT_EQ(program.Settings.Options.SortOrder, settings::kOrderOfId);
  EXPECT_EQ(program.Settings.Options.EachMode, 1u);
  EXPECT_EQ(program.Settings.Selection.frameMask[0], 0u);
  EXPECT_EQ(program.Settings.Selection.signalMasks[63][1], 0u);
}

TEST_F(ConfigurationRead, ExistingDescriptionIsLoadedAgain) {
  const auto ldf = folder / "bus.ldf";
  WriteBytes(ldf, {'L', 'I', 'N'});
  settings::CopyToField(ldf.string(), stored.Settings.DescriptionPath);
  stored.Settings.DescriptionReference = 0x1234;
  stored.Settings.Options.SortOrder = settings::kOrderOfNode;
  stored.Settings.Selection.frameMask[1] = 0x2;

  ASSERT_EQ(Load(), ReadStatus::Loaded);
  ASSERT_EQ(descriptions.reloadedPaths, std::vector<std::string>{ldf.string()});
  EXPECT_EQ(program.Settings.DescriptionReference, 1u);
  EXPECT_EQ(settings::FieldText(program.Settings.DescriptionPath), ldf.string());
  EXPECT_EQ(program.Settings.Options.SortOrder, settings::kOrderOfNode);
  EXPECT_EQ(program.Settings.Selection.frameMask[1], 0x2u);
}

TEST_F(ConfigurationRead, DescriptionThatNoLongerParsesKeepsItsPathButNothingElse) {
  const auto ldf = folder / "broken.ldf";
  WriteBytes(ldf, {'?'});
  settings::CopyToField(ldf.string(), stored.Settings.DescriptionPath);
  stored.Settings.DescriptionReference = 1;
  stored.Settings.Options.SortOrder = settings::kOrderOfNode;
  stored.Settings.Selection.frameMask[0] = 0x1;
  descriptions.reloadSucceeds = false;

  ASSERT_EQ(Load(), ReadStatus::Loaded);
  EXPECT_EQ(program.Settings.DescriptionReference, 0u);
  EXPECT_EQ(settings::FieldText(program.Settings.DescriptionPath), ldf.string());
  EXPECT_EQ(program.Settings.Options.SortOrder, settings::kOrderOfId);
  EXPECT_EQ(program.Settings.Selection.frameMask[0], 0u);
}

class Lin20File : public ConfigurationRead {
 protected:
  Lin20File() {
    stored.Settings.LinRevision = settings::kLin20;
    stored.Settings.Options.BreakSelect = 3;
    stored.Settings.Identifiers.classicChecksum[0x01] = 0;
    stored.Settings.Identifiers.classicChecksum[0x2A] = 0;
    stored.Options.BaudRateCode = 13;
  }
};

TEST_F(Lin20File, OkConvertsToClassicChecksums) {
  messages.answer = MessageAnswer::kOk;
  ASSERT_EQ(Load(), ReadStatus::Loaded);

  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text,
            "The loaded file has data of LIN Rev.2.0 only.    \nThe data of LIN Rev.2.0 will be lost.    "
            "\nContinue ?    ");
  EXPECT_EQ(messages.boxes[0].caption, "Load Configuration File");
  EXPECT_EQ(messages.boxes[0].icon, MessageIcon::kQuestion);
  EXPECT_EQ(messages.boxes[0].buttons, MessageButtons::kOkCancel);
  EXPECT_TRUE(messages.boxes[0].cancelIsDefault);
  EXPECT_EQ(program.Settings.LinRevision, settings::kLin13);
  EXPECT_EQ(program.Settings.Options.BreakSelect, 0);
  EXPECT_EQ(program.Settings.Identifiers.classicChecksum[0x01], 1u);
  EXPECT_EQ(program.Settings.Identifiers.classicChecksum[0x2A], 1u);
  EXPECT_EQ(program.Options.BaudRateCode, 13);
}

TEST_F(Lin20File, CancelTakesNothingAndKeepsTheDescription) {
  program.Settings.DescriptionReference = 1;
  program.Settings.Selection.frameMask[0] = 0x3;
  program.Options.LoggingEnabled = 1;
  messages.answer = MessageAnswer::kCancel;

  ASSERT_EQ(Load(), ReadStatus::Cancelled);
  EXPECT_EQ(descriptions.releases, 0);
  EXPECT_EQ(program.Settings.DescriptionReference, 1u);
  EXPECT_EQ(program.Settings.Selection.frameMask[0], 0x3u);
  EXPECT_EQ(program.Settings.Identifiers.classicChecksum[0x01], 1u);
  EXPECT_EQ(program.Options.BaudRateCode, 11);
  EXPECT_EQ(program.Options.LoggingEnabled, 0u);  // the resets after a read still apply
}

TEST_F(Lin20File, NoQuestionAtStartUpOrUnderLin20) {
  ASSERT_EQ(Load(/*interactive=*/false), ReadStatus::Loaded);
  EXPECT_TRUE(messages.boxes.empty());
  EXPECT_EQ(program.Settings.LinRevision, settings::kLin13);  // the revision is never taken
  EXPECT_EQ(program.Settings.Identifiers.classicChecksum[0x01], 0u);

  program.Settings.LinRevision = settings::kLin20;
  ASSERT_EQ(Load(), ReadStatus::Loaded);
  EXPECT_TRUE(messages.boxes.empty());
  EXPECT_EQ(program.Settings.LinRevision, settings::kLin20);
  EXPECT_EQ(program.Settings.Identifiers.classicChecksum[0x2A], 0u);
}

TEST_F(ConfigurationRead, SlotsThatInjectErrorsAreSentByTheMaster) {
  auto& rxWithError = stored.Schedules[3].slots[4];
  rxWithError.command = simulation::kCommandRx;
  rxWithError.identifier = 0x12;
  rxWithError.error = 2;
  auto& extendedRxWithError = stored.Schedules[15].slots[31];
  extendedRxWithError.command = simulation::kCommandExtendedRx;
  extendedRxWithError.identifier = 0x3F;
  extendedRxWithError.error = 6;
  auto& rxWithoutError = stored.Schedules[0].slots[0];
  rxWithoutError.command = simulation::kCommandRx;
  stored.InterruptSlot.command = simulation::kCommandSleep;
  stored.InterruptSlot.identifier = 0x3E;
  stored.InterruptSlot.error = 1;
  stored.SlaveResponses[0].command = simulation::kCommandRx;
  stored.SlaveResponses[0].error = 2;

  ASSERT_EQ(Load(), ReadStatus::Loaded);
  EXPECT_EQ(program.Schedules[3].slots[4].command, simulation::kCommandTx);
  EXPECT_EQ(program.Schedules[15].slots[31].command, simulation::kCommandExtendedTx);
  EXPECT_EQ(program.Schedules[0].slots[0].command, simulation::kCommandRx);
  EXPECT_EQ(program.InterruptSlot.command, simulation::kCommandExtendedTx);
  EXPECT_EQ(program.SlaveResponses[0].command, simulation::kCommandRx);
}

TEST_F(ConfigurationRead, ExistingExtendedFilesAreKept) {
  const auto ext = folder / "frame.ext";
  WriteBytes(ext, std::vector<std::uint8_t>(300, 0xAB));
  settings::CopyToField(ext.string(), stored.ExtendedFiles[0].path);
  stored.ExtendedFiles[0].slotIndex = 4;
  stored.ExtendedFiles[0].length = 256;

  ASSERT_EQ(Load(), ReadStatus::Loaded);
  EXPECT_TRUE(messages.boxes.empty());
  EXPECT_EQ(settings::FieldText(program.ExtendedFiles[0].path), ext.string());
  EXPECT_EQ(program.ExtendedFiles[0].slotIndex, 4);
  EXPECT_EQ(program.ExtendedFiles[0].length, 256);
}

TEST_F(ConfigurationRead, AMissingExtendedFileClearsTheTableWithAWarning) {
  const auto ext = folder / "frame.ext";
  WriteBytes(ext, {1, 2, 3});
  settings::CopyToField(ext.string(), stored.ExtendedFiles[0].path);
  settings::CopyToField((folder / "gone.ext").string(), stored.ExtendedFiles[6].path);
  stored.ExtendedFiles[6].owner = simulation::kOwnerInterruptSlot;

  ASSERT_EQ(Load(), ReadStatus::Loaded);
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text,
            "The extended file not existing was set up.\nAn extended file setup is cleared.");
  EXPECT_EQ(messages.boxes[0].caption, "Warning");
  EXPECT_EQ(messages.boxes[0].icon, MessageIcon::kExclamation);
  EXPECT_EQ(messages.boxes[0].buttons, MessageButtons::kOk);
  for (const auto& binding : program.ExtendedFiles) {
    EXPECT_EQ(settings::FieldText(binding.path), "");
    EXPECT_EQ(binding.owner, 0);
  }
}

}  // namespace
}  // namespace orvane::app
