// The bytes of a configuration file: defaults at their offsets, the round
// trip, the older layout and the sizes that are rejected.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "app/ConfigurationFile.h"
#include "tests/app/ConfigurationTestSupport.h"

namespace orvane::app {
namespace {

using testing::FakeDescriptionLoader;
using testing::ReadBytes;
using testing::RecordingSink;
using testing::TemporaryFolder;
using testing::TextAt;
using testing::U32At;
using testing::WriteBytes;

constexpr const char* kProgramFolder = "/opt/orvane";

Configuration Defaults() {
  Configuration configuration;
  SetDefaults(configuration, kProgramFolder);
  return configuration;
}

std::vector<std::uint8_t> WrittenBytes(const Configuration& configuration) {
  TemporaryFolder folder;
  const auto path = folder / "written.cfg";
  EXPECT_TRUE(WriteConfiguration(path, configuration).ok);
  return ReadBytes(path);
}

TEST(ConfigurationLayout, DefaultFileHoldsTheSettingsRecordDefaults) {
  const auto bytes = WrittenBytes(Defaults());
  ASSERT_EQ(bytes.size(), 153337u);

  EXPECT_EQ(U32At(bytes, 0), 0u);                             // LIN 1.3
  EXPECT_EQ(TextAt(bytes, 4, 260), kProgramFolder);           // description path
  EXPECT_EQ(U32At(bytes, 264), 0u);                           // no description
  EXPECT_EQ(std::count(bytes.begin() + 268, bytes.begin() + 788, 0), 520);  // selection cleared
  EXPECT_EQ(bytes[788], 0);                                   // BreakSelect
  EXPECT_EQ(U32At(bytes, 792), 250u);                         // WakeupMicros
  EXPECT_EQ(U32At(bytes, 796), 0u);                           // EachMode
  EXPECT_EQ(bytes[800], 0);                                   // SortOrder
  EXPECT_EQ(U32At(bytes, 804), 0u);                           // I/O channel 1 disabled
  EXPECT_EQ(TextAt(bytes, 808, 11), "IO1_UP");
  EXPECT_EQ(TextAt(bytes, 819, 11), "IO1_DN");
  EXPECT_EQ(TextAt(bytes, 836, 11), "IO2_UP");
  EXPECT_EQ(TextAt(bytes, 875, 11), "IO3_DN");
  EXPECT_EQ(U32At(bytes, 888), 0u);                           // LogNumbering
  EXPECT_EQ(TextAt(bytes, 892, 4), "000");                    // LogNumber

  EXPECT_EQ(bytes[896 + 0x00], 2);
  EXPECT_EQ(bytes[896 + 0x1F], 2);
  EXPECT_EQ(bytes[896 + 0x25], 4);
  EXPECT_EQ(bytes[896 + 0x3C], 8);
  for (std::size_t id = 0; id < 64; ++id) EXPECT_EQ(U32At(bytes, 960 + 4 * id), 1u) << id;

  for (std::size_t condition = 0; condition < 4; ++condition) {
    const std::size_t base = 1216 + 92 * condition;
    EXPECT_EQ(U32At(bytes, base), 0u);      // disabled
    EXPECT_EQ(U32At(bytes, base + 4), 1u);  // frame condition
    EXPECT_EQ(bytes[base + 24], 0);         // identifier
    EXPECT_EQ(TextAt(bytes, base + 25, 64), std::string(64, '*'));
    EXPECT_EQ(bytes[base + 89], 0);
  }
  EXPECT_EQ(bytes[1584], 1);                                  // find kind: error frame
  EXPECT_EQ(TextAt(bytes, 1584 + 28, 3), "*");                // byte pattern of D0
  EXPECT_EQ(TextAt(bytes, 1584 + 49, 3), "*");                // byte pattern of D7
  EXPECT_EQ(TextAt(bytes, 1584 + 52, 64), std::string(64, '*'));
  EXPECT_EQ(bytes[1584 + 116], 0);
}

TEST(ConfigurationLayout, DefaultFileHoldsTheOptionAndSimulationDefaults) {
  const auto bytes = WrittenBytes(Defaults());
  ASSERT_EQ(bytes.size(), 153337u);

  EXPECT_EQ(bytes[1720], 11);        // BaudRateCode 9600
  EXPECT_EQ(U32At(bytes, 1721), 0u);  // logging off
  EXPECT_EQ(U32At(bytes, 1725), 0u);  // slave master identifier

  for (std::size_t response = 0; response < 16; ++response) {
    const std::size_t base = 1729 + 282 * response;
    EXPECT_EQ(bytes[base], 0);          // disabled
    EXPECT_EQ(U32At(bytes, base + 2), 0u);  // delay stays 0
    EXPECT_EQ(bytes[base + 6], 0);      // Tx
    EXPECT_EQ(bytes[base + 7], 0x40);   // no identifier
    EXPECT_EQ(bytes[base + 20], 1);     // timer
    EXPECT_EQ(U32At(bytes, base + 22), 50u);
  }
  for (std::size_t schedule : {0u, 7u, 15u}) {
    const std::size_t base = 6241 + 9026 * schedule;
    EXPECT_EQ(bytes[base], 0);      // schedule disabled
    EXPECT_EQ(bytes[base + 1], 0);  // repeat off
    for (std::size_t slot : {0u, 31u}) {
      const std::size_t at = base + 2 + 282 * slot;
      EXPECT_EQ(bytes[at], 0);
      EXPECT_EQ(U32At(bytes, at + 2), 1u);  // delay 1
      EXPECT_EQ(bytes[at + 6], 0);          // Tx
      EXPECT_EQ(bytes[at + 7], 0x10);
      EXPECT_EQ(bytes[at + 16], 0);         // no error
      EXPECT_EQ(bytes[at + 20], 1);         // timer
      EXPECT_EQ(U32At(bytes, at + 22), 50u);
      EXPECT_EQ(bytes[at + 26], 0);         // no pattern file
    }
  }
  EXPECT_EQ(U32At(bytes, 150657 + 2), 0u);    // interrupt: delay 0
  EXPECT_EQ(bytes[150657 + 7], 0x10);
  EXPECT_EQ(bytes[150657 + 20], 2);           // key
  EXPECT_EQ(U32At(bytes, 150657 + 22), 0x70u);  // F1

  EXPECT_EQ(U32At(bytes, 150939), 0u);  // mask off
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 150943, bytes.begin() + 150951),
            std::vector<std::uint8_t>(8, 0xFF));
  EXPECT_EQ(std::count(bytes.begin() + 150951, bytes.begin() + 153047, 0), 2096);  // no extended files
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 153047, bytes.begin() + 153061),
            (std::vector<std::uint8_t>{0x00, 0x33, 0x00, 0x42, 0x00, 0x33, 0x00, 0xCF, 0x40, 0x03,
                                       1, 1, 1, 0}));
  EXPECT_EQ(U32At(bytes, 153061), 0u);  // CurrentSchedule
  EXPECT_EQ(U32At(bytes, 153065), 0u);  // ScheduleModeOn
  EXPECT_EQ(U32At(bytes, 153069), 0u);  // InterruptModeOn
  for (std::size_t name = 0; name < 16; ++name) {
    EXPECT_EQ(TextAt(bytes, 153073 + 16 * name, 16), "S" + std::to_string(name + 1));
  }
  EXPECT_EQ(std::count(bytes.begin() + 153329, bytes.end(), 0), 8);  // FillData
}

// A configuration that differs from the defaults in every block, with
// values that a load keeps as they are.
Configuration EditedConfiguration() {
  Configuration c = Defaults();
  settings::CopyToField("/nowhere/bus.ldf", c.Settings.DescriptionPath);
  c.Settings.Options.WakeupMicros = 1500;
  c.Settings.Options.EachMode = 1;
  c.Settings.Options.LogNumbering = 1;
  settings::CopyToField("042", c.Settings.Options.LogNumber);
  settings::CopyToField("Door", c.Settings.Options.IoChannels[1].risingName);
  c.Settings.Identifiers.dataLength[0x12] = 7;
  c.Settings.Identifiers.classicChecksum[0x12] = 0;
  c.Settings.FrameHighlights[2].enabled = 1;
  c.Settings.FrameHighlights[2].identifier = 0x21;
  c.Settings.FrameHighlights[2].bitPatterns[3] = '1';
  c.Settings.Find.identifier = 0x33;
  c.Settings.Find.dataCompare = 1;
  c.Settings.Find.reserved2[19] = 0x5A;
  c.Options.BaudRateCode = 13;
  c.Options.FrameTiming.SpaceA = 7;
  c.Options.FrameTiming.spare = 0x99;
  c.Options.MaskIds = {0x01, 0x3F, 0xFF, 0x20, 0xFF, 0xFF, 0xFF, 0x02};
  c.Options.FillData = {1, 2, 3, 4, 5, 6, 7, 8};
  c.SlaveMasterId = 0x0A;
  c.SlaveResponses[5].enable = 1;
  c.SlaveResponses[5].identifier = 0x22;
  c.SlaveResponses[5].data[7] = 0xEE;
  c.Schedules[9].enable = 1;
  c.Schedules[9].repeat = 1;
  c.Schedules[9].slots[30].delay = 65535;
  settings::CopyToField("/p/a.ptn", c.Schedules[9].slots[30].patternPath);
  c.InterruptSlot.enable = 1;
  c.MasterRun.ScheduleModeOn = 1;
  c.MasterRun.InterruptModeOn = 1;
  settings::CopyToField("Engine15", c.ScheduleNames[15].data(), 16);
  return c;
}

TEST(ConfigurationLayout, WriteReadWriteIsByteIdentical) {
  TemporaryFolder folder;
  const auto first = folder / "first.cfg";
  const auto second = folder / "second.cfg";
  ASSERT_TRUE(WriteConfiguration(first, EditedConfiguration()).ok);

  Configuration loaded = Defaults();
  FakeDescriptionLoader descriptions;
  RecordingSink messages;
  ASSERT_EQ(ReadConfiguration(first, true, loaded, descriptions, messages).status, ReadStatus::Loaded);
  ASSERT_TRUE(WriteConfiguration(second, loaded).ok);

  const auto bytes = ReadBytes(second);
  EXPECT_EQ(bytes.size(), 153337u);
  EXPECT_EQ(bytes, ReadBytes(first));
  EXPECT_TRUE(messages.boxes.empty());
}

// Cuts a current-layout file down to the older layout: the settings record
// keeps bytes 0-803 and the identifier definitions 896-1215.
std::vector<std::uint8_t> OlderLayout(const std::vector<std::uint8_t>& current) {
  std::vector<std::uint8_t> older(current.begin(), current.begin() + 804);
  older.insert(older.end(), current.begin() + 896, current.begin() + 1216);
  older.insert(older.end(), current.begin() + 1720, current.end());
  return older;
}

TEST(ConfigurationLayout, OlderLayoutLoadsWithDefaultsForWhatItLacks) {
  TemporaryFolder folder;
  const auto path = folder / "older.cfg";
  const Configuration edited = EditedConfiguration();
  const auto older = OlderLayout(WrittenBytes(edited));
  ASSERT_EQ(older.size(), 152741u);
  WriteBytes(path, older);

  Configuration loaded = Defaults();
  loaded.Settings.FrameHighlights[0].enabled = 1;
  loaded.Settings.Find.kind = settings::kFindFrame;
  loaded.Settings.Find.identifier = 0x11;
  loaded.Settings.Options.LogNumbering = 1;
  settings::CopyToField("777", loaded.Settings.Options.LogNumber);
  FakeDescriptionLoader descriptions;
  RecordingSink messages;
  ASSERT_EQ(ReadConfiguration(path, true, loaded, descriptions, messages).status, ReadStatus::Loaded);

  const settings::SettingsRecord defaults = settings::DefaultSettingsRecord(kProgramFolder);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(std::memcmp(&loaded.Settings.FrameHighlights[i], &defaults.FrameHighlights[i], 92), 0) << i;
  }
  EXPECT_EQ(std::memcmp(&loaded.Settings.Find, &defaults.Find, 136), 0);
  EXPECT_EQ(loaded.Settings.Options.LogNumbering, 0u);
  EXPECT_EQ(settings::FieldText(loaded.Settings.Options.LogNumber), "000");

  // What the older layout holds is taken.
  EXPECT_EQ(loaded.Settings.Options.WakeupMicros, 1500u);
  EXPECT_EQ(loaded.Settings.Options.EachMode, 1u);
  EXPECT_EQ(loaded.Settings.Identifiers.dataLength[0x12], 7);
  EXPECT_EQ(loaded.Settings.Identifiers.classicChecksum[0x12], 0u);
  EXPECT_EQ(loaded.Options.BaudRateCode, 13);
  EXPECT_EQ(loaded.SlaveMasterId, 0x0A);
  EXPECT_EQ(std::int32_t{loaded.Schedules[9].slots[30].delay}, 65535);  // unaligned: copy
  EXPECT_EQ(loaded.Options.FillData, edited.Options.FillData);
  EXPECT_EQ(settings::FieldText(loaded.ScheduleNames[15].data(), 16), "Engine15");
  // The I/O channel names are not in the older layout and keep their values.
  EXPECT_EQ(settings::FieldText(loaded.Settings.Options.IoChannels[1].risingName), "IO2_UP");
}

TEST(ConfigurationLayout, EveryOtherSizeIsRejectedAndStillResets) {
  TemporaryFolder folder;
  const auto path = folder / "odd.cfg";
  for (std::size_t size : {0u, 1u, 1720u, 152740u, 152742u, 153336u, 153338u}) {
    WriteBytes(path, std::vector<std::uint8_t>(size, 0x01));
    Configuration configuration = Defaults();
    configuration.Options.LoggingEnabled = 1;
    configuration.Options.MaskEnabled = 1;
    configuration.MasterRun.CurrentSchedule = 5;
    configuration.Options.BaudRateCode = 3;
    FakeDescriptionLoader descriptions;
    RecordingSink messages;

    const ReadResult result = ReadConfiguration(path, true, configuration, descriptions, messages);

    EXPECT_EQ(result.status, ReadStatus::Failed) << size;
    EXPECT_NE(result.error.find(std::to_string(size) + " bytes"), std::string::npos) << result.error;
    EXPECT_EQ(configuration.Options.LoggingEnabled, 0u) << size;
    EXPECT_EQ(configuration.Options.MaskEnabled, 0u) << size;
    EXPECT_EQ(configuration.MasterRun.CurrentSchedule, 0) << size;
    EXPECT_EQ(configuration.Options.BaudRateCode, 3) << size;  // nothing taken
    EXPECT_EQ(descriptions.releases, 0) << size;
  }
}

TEST(ConfigurationLayout, StoredReadTakesTheBytesAsTheyAre) {
  TemporaryFolder folder;
  const auto path = folder / "stored.cfg";
  Configuration edited = EditedConfiguration();
  edited.Settings.LinRevision = settings::kLin20;
  edited.Settings.DescriptionReference = 1;
  edited.Options.LoggingEnabled = 1;
  edited.MasterRun.CurrentSchedule = 4;
  WriteBytes(path, OlderLayout(WrittenBytes(edited)));

  Configuration stored = Defaults();
  const ReadResult result = ReadStoredConfiguration(path, stored);

  ASSERT_EQ(result.status, ReadStatus::Loaded);
  EXPECT_EQ(result.layout, FileLayout::Older);
  EXPECT_EQ(stored.Settings.LinRevision, settings::kLin20);
  EXPECT_EQ(stored.Settings.DescriptionReference, 1u);
  EXPECT_EQ(settings::FieldText(stored.Settings.DescriptionPath), "/nowhere/bus.ldf");
  EXPECT_EQ(stored.Options.LoggingEnabled, 1u);
  EXPECT_EQ(stored.MasterRun.CurrentSchedule, 4);
  EXPECT_EQ(settings::FieldText(stored.Settings.Options.LogNumber), "000");  // not in the older layout

  WriteBytes(path, std::vector<std::uint8_t>(10, 0));
  EXPECT_EQ(ReadStoredConfiguration(path, stored).status, ReadStatus::Failed);
  EXPECT_EQ(stored.Options.LoggingEnabled, 1u);
}

TEST(ConfigurationLayout, AFileThatCannotBeOpenedChangesNothing) {
  TemporaryFolder folder;
  Configuration configuration = Defaults();
  configuration.Options.LoggingEnabled = 1;
  configuration.MasterRun.CurrentSchedule = 5;
  FakeDescriptionLoader descriptions;
  RecordingSink messages;

  for (const auto& path : {folder / "missing.cfg", folder.path()}) {
    const ReadResult result = ReadConfiguration(path, true, configuration, descriptions, messages);
    EXPECT_EQ(result.status, ReadStatus::Failed);
    EXPECT_FALSE(result.error.empty());
  }
  EXPECT_EQ(configuration.Options.LoggingEnabled, 1u);
  EXPECT_EQ(configuration.MasterRun.CurrentSchedule, 5);
}

}  // namespace
}  // namespace orvane::app
