// Schedule tables imported as master schedules: Tx data from the signals'
// initial values, Rx headers by publisher, the delay shift of the compiled
// table, the limits (16 schedules, 32 slots, 15-character names, delays of
// 1-65535 ms) and the notes; a corpus file read through the parser.
#include "simulation/ScheduleImport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "settings/FixedText.h"
#include "signals/LdfLoader.h"
#include "signals/LdfParser.h"
#include "signals/SignalDecode.h"
#include "simulation/FrameInitialData.h"
#include "simulation/MasterCompile.h"
#include "simulation/SimEntry.h"
#include "simulation/SlotNames.h"

namespace orvane::simulation {
namespace {

using signals::kMasterNode;
using signals::LinDescription;
using Data = std::array<std::uint8_t, kSlotDataSize>;
using Lines = std::vector<std::string>;

// "Tx 05 0504030201000000 6": command, identifier, data, delay.
std::string SlotText(const SimSlot& slot) {
  char text[64];
  std::snprintf(text, sizeof text, "%s %02x %02x%02x%02x%02x%02x%02x%02x%02x %d",
                std::string(kCommandNames.at(slot.command)).c_str(), slot.identifier, slot.data[0],
                slot.data[1], slot.data[2], slot.data[3], slot.data[4], slot.data[5], slot.data[6],
                slot.data[7], slot.delay);
  return text;
}

// The enabled slots of a schedule, in order.
Lines EnabledSlots(const MasterSchedule& schedule) {
  Lines lines;
  for (const SimSlot& slot : schedule.slots) {
    if (slot.enable == 1) lines.push_back(SlotText(slot));
  }
  return lines;
}

std::string NameOf(const ScheduleImport& imported, std::size_t index) {
  return std::string(settings::FieldText(imported.names[index].data(), kScheduleNameSize));
}

bool SameBytes(const MasterSchedule& a, const MasterSchedule& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

signals::ScheduleTable Table(std::string name, std::vector<signals::ScheduleSlot> slots) {
  return {std::move(name), 1, std::move(slots)};
}

signals::Signal MakeSignal(std::string name, std::uint32_t size, std::uint64_t initial,
                           std::int32_t publisher = kMasterNode) {
  signals::Signal signal;
  signal.name = std::move(name);
  signal.size = size;
  signal.initialValue = initial;
  signal.publisher = publisher;
  return signal;
}

signals::Frame MakeFrame(std::string name, std::uint8_t identifier, std::int32_t publisher,
                         std::uint8_t length, std::vector<signals::FrameEntry> entries) {
  signals::Frame frame;
  frame.name = std::move(name);
  frame.identifier = identifier;
  frame.publisher = publisher;
  frame.length = length;
  frame.entries = std::move(entries);
  return frame;
}

signals::EventTriggeredFrame MakeEvent(std::string name, std::int64_t identifier) {
  signals::EventTriggeredFrame event;
  event.name = std::move(name);
  event.identifier = identifier;
  event.frames = {"SRx"};
  return event;
}

// Master M, slave S1: MTx (0x10, 4 bytes) carries a at bit 5 (3 bits) and b
// at bit 11 (12 bits); SRx (0x21) is S1's.
LinDescription Network() {
  LinDescription description;
  description.slaves = {"S1"};
  description.signals = {MakeSignal("a", 3, 5), MakeSignal("b", 12, 0xABC),
                         MakeSignal("c", 8, 0x7F, 0)};
  description.frames = {MakeFrame("MTx", 0x10, kMasterNode, 4, {{0, 5}, {1, 11}}),
                        MakeFrame("SRx", 0x21, 0, 2, {{2, 0}})};
  return description;
}

// Every identifier with the length of Network()'s frames, so that no length note comes.
settings::IdentifierDefinition Lengths() {
  settings::IdentifierDefinition identifiers{};
  settings::SetIdentifierDefaults(identifiers);
  identifiers.dataLength[0x10] = 4;
  identifiers.dataLength[0x21] = 2;
  return identifiers;
}

TEST(FrameInitialData, InitialValuesAtOddOffsetsReadBackThroughExtractRawValue) {
  const LinDescription description = Network();
  const Data data = FrameInitialData(description.signals, description.frames[0]);
  // a = 101b at bits 5-7; b = 0xABC at bits 11-22.
  EXPECT_EQ(data, (Data{0xA0, 0xE0, 0x55, 0, 0, 0, 0, 0}));
  EXPECT_EQ(signals::ExtractRawValue(data, 5, 3), 5);
  EXPECT_EQ(signals::ExtractRawValue(data, 11, 12), 0xABC);
  // A frame of one byte drops what a signal placed beyond it.
  LinDescription shorter = description;
  shorter.frames[0].length = 1;
  EXPECT_EQ(FrameInitialData(shorter.signals, shorter.frames[0]),
            (Data{0xA0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(FrameInitialData, InsertKeepsOtherBitsAndStopsAtTheEnd) {
  Data data;
  data.fill(0xFF);
  InsertRawValue(data, 4, 8, 0);
  EXPECT_EQ(data, (Data{0x0F, 0xF0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  InsertRawValue(data, 60, 8, 0);  // bits 64-67 fall outside
  EXPECT_EQ(data[7], 0x0F);
  data.fill(0);
  InsertRawValue(data, 0, 64, 0x0123456789ABCDEFull);
  EXPECT_EQ(data, (Data{0xEF, 0xCD, 0xAB, 0x89, 0x67, 0x45, 0x23, 0x01}));
  data.fill(0);
  InsertRawValue(data, 3, 2, 0xFF);  // only the low two bits
  EXPECT_EQ(data[0], 0x18);
}

TEST(ScheduleImport, TxFromInitialValuesRxByPublisherAndTheDelaysShiftedForTheCompiledTable) {
  LinDescription description = Network();
  description.scheduleTables = {
      Table("Run", {{"MTx", 0, 10}, {"SRx", 1, 20}, {"SlaveResp", -1, 5}})};
  const ScheduleImport imported = ImportSchedules(description, Lengths());
  EXPECT_TRUE(imported.notes.empty()) << imported.notes.front();
  ASSERT_EQ(imported.imported, 1u);
  const MasterSchedule& run = imported.schedules[0];
  EXPECT_EQ(EnabledSlots(run), (Lines{"Tx 10 a0e0550000000000 5", "Rx 21 0000000000000000 10",
                                      "Rx 3d 0000000000000000 20"}));
  EXPECT_EQ(run.enable, 1);
  EXPECT_EQ(run.repeat, 1);
  SimSlot expected = DefaultMasterSlot();
  expected.enable = 1;
  expected.delay = 5;
  expected.identifier = 0x10;
  std::ranges::copy(Data{0xA0, 0xE0, 0x55, 0, 0, 0, 0, 0}, expected.data);
  EXPECT_EQ(std::memcmp(&run.slots[0], &expected, sizeof expected), 0);
  const MasterSchedule fresh = DefaultMasterSchedule();
  EXPECT_EQ(std::memcmp(&run.slots[3], &fresh.slots[3], sizeof(SimSlot)), 0);

  // Compiled, each entry waits its table entry's delay after its frame.
  ScheduleTable table{};
  std::ranges::transform(run.slots, table.begin(), CompileSlot);
  RotateDelays(table);
  EXPECT_EQ(table[0].delay, 10);
  EXPECT_EQ(table[1].delay, 20);
  EXPECT_EQ(table[2].delay, 5);

  EXPECT_EQ(NameOf(imported, 0), "Run");
  EXPECT_EQ(NameOf(imported, 1), "S2");
  EXPECT_EQ(NameOf(imported, 15), "S16");
  EXPECT_TRUE(SameBytes(imported.schedules[1], fresh));
  EXPECT_TRUE(SameBytes(imported.schedules[15], fresh));
}

TEST(ScheduleImport, EntriesWithoutAPlainSlotAreLeftOutAndTold) {
  LinDescription description = Network();
  description.scheduleTables = {Table("Diag", {{"MasterReq", -1, 10},
                                               {"AssignNAD { S1 }", -1, 15},
                                               {"MTx", 0, 7},
                                               {"Node_Status_Event", -1, 10}}),
                                Table("Cmds", {{"SaveConfiguration { S1 }", -1, 10}})};
  const ScheduleImport imported = ImportSchedules(description, Lengths());
  EXPECT_EQ(EnabledSlots(imported.schedules[0]), (Lines{"Tx 10 a0e0550000000000 7"}));
  EXPECT_TRUE(EnabledSlots(imported.schedules[1]).empty());
  EXPECT_EQ(imported.schedules[1].enable, 0);
  EXPECT_EQ(imported.notes,
            (Lines{"Diag, slot 1 (MasterReq, 10 ms): the description has no MasterReq frame, so "
                   "no data for the master request; not imported",
                   "Diag, slot 2 (AssignNAD { S1 }, 15 ms): a node configuration command; not "
                   "imported",
                   "Diag, slot 4 (Node_Status_Event, 10 ms): no frame or event-triggered frame of "
                   "the description (a sporadic frame or a command); not imported",
                   "Cmds, slot 1 (SaveConfiguration { S1 }, 10 ms): a node configuration "
                   "command; not imported"}));
}

TEST(ScheduleImport, MasterRequestFromItsDiagnosticFrameAndEventTriggeredHeaders) {
  LinDescription description = Network();
  description.diagnosticSignals = {MakeSignal("B0", 8, 0xB2), MakeSignal("B1", 8, 0x06)};
  description.diagnosticFrames = {MakeFrame("MasterReq", 0x3C, kMasterNode, 8, {{0, 0}, {1, 8}})};
  description.eventTriggeredFrames = {MakeEvent("Evt", 0x3A), MakeEvent("Odd", 0x40)};
  description.scheduleTables = {
      Table("Diag", {{"MasterReq", -1, 10}, {"Evt", -1, 20}, {"Odd", -1, 5}})};
  const ScheduleImport imported = ImportSchedules(description, Lengths());
  EXPECT_EQ(EnabledSlots(imported.schedules[0]),
            (Lines{"Tx 3c b206000000000000 20", "Rx 3a 0000000000000000 10"}));
  EXPECT_EQ(imported.notes,
            (Lines{"Diag, slot 3 (Odd, 5 ms): no frame or event-triggered frame of the "
                   "description (a sporadic frame or a command); not imported"}));

  description.diagnosticSignals[0].initialValue = 0;
  EXPECT_EQ(ImportSchedules(description, Lengths()).notes.front(),
            "Diag, slot 1 (MasterReq, 10 ms): the master request's initial data starts with 00, "
            "which the slaves take as a go-to-sleep command");
}

TEST(ScheduleImport, SixteenTablesThirtyTwoSlotsAndDelaysInRange) {
  LinDescription description = Network();
  for (int index = 1; index <= 18; ++index) {
    description.scheduleTables.push_back(Table("T" + std::to_string(index), {{"SRx", 1, 10}}));
  }
  std::vector<signals::ScheduleSlot> many(33, {"SRx", 1, 10});
  many[31] = {"MTx", 0, 10};
  description.scheduleTables[0].slots = many;
  description.scheduleTables[1].slots = {
      {"SRx", 1, 2.5}, {"SRx", 1, 0}, {"SRx", 1, 0.4}, {"SRx", 1, 70000}, {"SRx", 1, 65535}};
  const ScheduleImport imported = ImportSchedules(description, Lengths());
  EXPECT_EQ(imported.imported, 16u);
  EXPECT_EQ(NameOf(imported, 15), "T16");
  EXPECT_EQ(EnabledSlots(imported.schedules[0]).size(), 32u);
  EXPECT_EQ(SlotText(imported.schedules[0].slots[31]), "Tx 10 a0e0550000000000 10");
  EXPECT_EQ(
      EnabledSlots(imported.schedules[1]),
      (Lines{"Rx 21 0000000000000000 65535", "Rx 21 0000000000000000 3", "Rx 21 0000000000000000 1",
             "Rx 21 0000000000000000 1", "Rx 21 0000000000000000 65535"}));
  EXPECT_EQ(imported.notes,
            (Lines{"T1: slot 33 did not fit into the 32 slots of a schedule; not imported",
                   "T2, slot 1 (SRx, 2.5 ms): the delay became 3 ms (whole milliseconds 1-65535)",
                   "T2, slot 2 (SRx, 0 ms): the delay became 1 ms (whole milliseconds 1-65535)",
                   "T2, slot 3 (SRx, 0.4 ms): the delay became 1 ms (whole milliseconds 1-65535)",
                   "T2, slot 4 (SRx, 70000 ms): the delay became 65535 ms (whole milliseconds "
                   "1-65535)",
                   "Only 16 schedules: tables not imported: T17, T18"}));
}

TEST(ScheduleImport, NamesAreCutToFifteenCharactersAndKeptUnique) {
  LinDescription description = Network();
  description.scheduleTables = {Table("Configuration_Schedule", {{"SRx", 1, 10}}),
                                Table("Configuration_Schedule2", {{"SRx", 1, 10}}),
                                Table("Normal_Schedule", {{"SRx", 1, 10}}),
                                Table("S16", {{"SRx", 1, 10}})};
  const ScheduleImport imported = ImportSchedules(description, Lengths());
  EXPECT_EQ(NameOf(imported, 0), "Configuration_S");
  EXPECT_EQ(NameOf(imported, 1), "Configuration~2");
  EXPECT_EQ(NameOf(imported, 2), "Normal_Schedule");
  EXPECT_EQ(NameOf(imported, 3), "S16~2");  // schedule 16 keeps its name S16
  EXPECT_EQ(NameOf(imported, 15), "S16");
  EXPECT_EQ(imported.notes,
            (Lines{"Table \"Configuration_Schedule\" is named \"Configuration_S\" (schedule names "
                   "have at most 15 characters)",
                   "Table \"Configuration_Schedule2\" is named \"Configuration~2\" (schedule names "
                   "have at most 15 characters) (\"Configuration_S\" was taken)",
                   "Table \"S16\" is named \"S16~2\" (\"S16\" was taken)"}));
}

TEST(ScheduleImport, LengthsOtherThanTheIdentifierDefinitionAreToldOncePerFrame) {
  LinDescription description = Network();
  description.scheduleTables = {Table("Run", {{"MTx", 0, 10}, {"SRx", 1, 10}, {"MTx", 0, 10}})};
  settings::IdentifierDefinition identifiers{};
  settings::SetIdentifierDefaults(identifiers);  // 0x10: 2 bytes, 0x21: 4 bytes
  EXPECT_EQ(ImportSchedules(description, identifiers).notes,
            (Lines{"Frame MTx (ID 10h) has 4 data bytes; the identifier definition gives 2, "
                   "which the simulation uses",
                   "Frame SRx (ID 21h) has 2 data bytes; the identifier definition gives 4, "
                   "which the simulation uses"}));
}

TEST(ScheduleImport, NoTablesChangesNothingAndReadProblemsComeFirst) {
  LinDescription description = Network();
  description.scheduleProblems = {
      "Schedule table X (line 3) was left out: a frame or command expected"};
  const ScheduleImport imported = ImportSchedules(description, Lengths());
  EXPECT_EQ(imported.imported, 0u);
  EXPECT_EQ(imported.notes,
            (Lines{"Schedule table X (line 3) was left out: a frame or command expected",
                   "The LIN description has no schedule tables to import."}));
  auto schedules = std::make_unique<MasterSchedules>();
  schedules->fill(DefaultMasterSchedule());
  (*schedules)[3].slots[0].delay = 77;
  ScheduleNames names = DefaultScheduleNames();
  ExtendedFileTable files{};
  settings::CopyToField("/x/a.ext", files[0].path);
  ApplyScheduleImport(imported, *schedules, names, files);
  EXPECT_EQ((*schedules)[3].slots[0].delay, 77);
  EXPECT_EQ(settings::FieldText(files[0].path), "/x/a.ext");
}

TEST(ScheduleImport, ApplyReplacesSchedulesAndNamesAndFreesScheduleFileBindings) {
  LinDescription description = Network();
  description.scheduleTables = {Table("Run", {{"MTx", 0, 10}})};
  const ScheduleImport imported = ImportSchedules(description, Lengths());
  auto schedules = std::make_unique<MasterSchedules>();
  schedules->fill(DefaultMasterSchedule());
  (*schedules)[3].slots[0].delay = 77;
  ScheduleNames names = DefaultScheduleNames();
  settings::CopyToField("Door", names[0].data(), kScheduleNameSize);
  ExtendedFileTable files{};
  files[0].owner = kOwnerScheduleSlot;
  settings::CopyToField("/x/a.ext", files[0].path);
  files[1].owner = kOwnerInterruptSlot;
  settings::CopyToField("/x/b.ext", files[1].path);
  ApplyScheduleImport(imported, *schedules, names, files);
  EXPECT_EQ(EnabledSlots((*schedules)[0]), (Lines{"Tx 10 a0e0550000000000 10"}));
  EXPECT_EQ((*schedules)[3].slots[0].delay, 1);
  EXPECT_EQ(std::string(settings::FieldText(names[0].data(), kScheduleNameSize)), "Run");
  EXPECT_EQ(settings::FieldText(files[0].path), "");
  EXPECT_EQ(settings::FieldText(files[1].path), "/x/b.ext");
}

// ISO 17987 example (its sections before the encodings load strictly):
// MotorQuery (05h, 5 bytes) carries the array {5, 4, 3, 2, 1}, MotorQuery_2
// (07h) 5, MotorControl (04h) and MotorControl_2 (06h) 16 in 16 bits; the
// MotorState frames (00h-03h) are the slaves'; ETF_ entries are
// event-triggered frames on 55 and 56.
TEST(ScheduleImport, Iso17987Example) {
  int messageId = 0;
  const std::optional<std::string> text =
      signals::ReadLdfFile(ORVANE_SHARED_DIR "/ldf-corpus/ldfparser/iso17987.ldf", messageId);
  ASSERT_TRUE(text.has_value());
  const signals::ParseOutcome outcome = signals::ParseLinDescription(
      *text, signals::kSectionNodes | signals::kSectionSignals | signals::kSectionFrames);
  ASSERT_NE(outcome.description, nullptr);
  settings::IdentifierDefinition identifiers{};
  settings::SetIdentifierDefaults(identifiers);
  const ScheduleImport imported = ImportSchedules(*outcome.description, identifiers);

  EXPECT_EQ(imported.imported, 5u);
  const Lines names = {NameOf(imported, 0), NameOf(imported, 1), NameOf(imported, 2),
                       NameOf(imported, 3), NameOf(imported, 4), NameOf(imported, 5)};
  EXPECT_EQ(names, (Lines{"InitTable", "ETF_Table", "CollisionResolv", "CollisionReso~2", "Table4",
                          "S6"}));
  // Table delays 7 7 10 10 10 10 6 6, each moved to the slot after it.
  EXPECT_EQ(
      EnabledSlots(imported.schedules[0]),
      (Lines{"Tx 05 0504030201000000 6", "Tx 07 0500000000000000 7", "Tx 06 1000000000000000 7",
             "Tx 04 1000000000000000 10", "Rx 00 0000000000000000 10", "Rx 01 0000000000000000 10",
             "Rx 02 0000000000000000 10", "Rx 03 0000000000000000 6"}));
  // Event-triggered frames 55 and 56: their headers.
  EXPECT_EQ(EnabledSlots(imported.schedules[1]),
            (Lines{"Rx 37 0000000000000000 20", "Rx 38 0000000000000000 20"}));
  EXPECT_EQ(EnabledSlots(imported.schedules[2]),
            (Lines{"Rx 00 0000000000000000 10", "Rx 01 0000000000000000 10"}));
  EXPECT_EQ(EnabledSlots(imported.schedules[3]),
            (Lines{"Rx 02 0000000000000000 10", "Rx 03 0000000000000000 10"}));
  EXPECT_EQ(EnabledSlots(imported.schedules[4]), (Lines{"Rx 3d 0000000000000000 10"}));
  const std::string lengths =
      " data bytes; the identifier definition gives 2, which the simulation uses";
  EXPECT_EQ(imported.notes,
            (Lines{"Table \"CollisionResolver1\" is named \"CollisionResolv\" (schedule names have "
                   "at most 15 characters)",
                   "Table \"CollisionResolver2\" is named \"CollisionReso~2\" (schedule names have "
                   "at most 15 characters) (\"CollisionResolv\" was taken)",
                   "Frame MotorQuery (ID 05h) has 5" + lengths,
                   "Frame MotorQuery_2 (ID 07h) has 1" + lengths,
                   "Frame MotorState_Cycl (ID 00h) has 6" + lengths,
                   "Frame MotorState_Cycl_2 (ID 01h) has 6" + lengths,
                   "Frame MotorState_Event (ID 02h) has 3" + lengths,
                   "Frame MotorState_Event_2 (ID 03h) has 3" + lengths,
                   "Table4, slot 1 (AssignNAD { VectorSlave_ISO }, 10 ms): a node configuration "
                   "command; not imported"}));
}

}  // namespace
}  // namespace orvane::simulation
