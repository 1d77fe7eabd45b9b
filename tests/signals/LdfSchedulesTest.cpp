// Schedule tables: the entries and their delays, commands kept as text,
// frames resolved by name, tables that cannot be read left out without
// failing the load, and the tables of the public corpus files (expectations
// taken from reading each file).
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "signals/LdfComments.h"
#include "signals/LdfLoader.h"
#include "signals/LdfParser.h"
#include "signals/LdfSchedules.h"
#include "signals/SignalDecode.h"
#include "tests/signals/LdfTestFiles.h"

namespace orvane::signals {
namespace {

using Lines = std::vector<std::string>;

// "name delay", with " *" when the entry resolved to the frame of that name.
Lines Describe(const ScheduleTable& table, const LinDescription& description) {
  Lines lines;
  for (const ScheduleSlot& slot : table.slots) {
    std::string line = slot.frameName + " " + FormatPhysicalValue(slot.delayMs);
    if (slot.frame >= 0) {
      EXPECT_EQ(description.frames.at(static_cast<std::size_t>(slot.frame)).name, slot.frameName);
      line += " *";
    }
    lines.push_back(line);
  }
  return lines;
}

LinDescription TwoFrames() {
  LinDescription description;
  for (const char* name : {"F1", "F2"}) {
    Frame frame;
    frame.name = name;
    description.frames.push_back(frame);
  }
  return description;
}

TEST(LdfSchedules, EntriesCommandsAndDelays) {
  const LinDescription description = TwoFrames();
  std::vector<std::string> problems;
  const std::vector<ScheduleTable> tables = ReadScheduleTables(
      "Frames { F1: 1, M, 1 { } }\n"
      "Schedule_tables {\n"
      "  Main {\n"
      "    F2 delay 2.5 ms ;\n"
      "    F1 delay 10ms;\n"
      "    AssignNAD {\n      LSM }  delay 0 ms;\n"
      "    FreeFormat {0x3C,0xB2, 1} delay 15.25 ms;\n"
      "    SaveConfiguration { } delay 5 ms;\n"
      "    Unknown_Frame delay 1 ms;\n"
      "  }\n"
      "  Empty { }\n"
      "}\n",
      description, &problems);
  ASSERT_EQ(tables.size(), 2u);
  EXPECT_EQ(tables[0].name, "Main");
  EXPECT_EQ(tables[0].line, 3);
  EXPECT_EQ(Describe(tables[0], description),
            (Lines{"F2 2.5 *", "F1 10 *", "AssignNAD { LSM } 0", "FreeFormat {0x3C,0xB2, 1} 15.25",
                   "SaveConfiguration { } 5", "Unknown_Frame 1"}));
  EXPECT_EQ(tables[0].slots[0].frame, 1);
  EXPECT_EQ(tables[1].name, "Empty");
  EXPECT_EQ(tables[1].line, 12);
  EXPECT_TRUE(tables[1].slots.empty());
  EXPECT_TRUE(problems.empty());
}

TEST(LdfSchedules, ATableThatCannotBeReadIsLeftOutAndTold) {
  const LinDescription description = TwoFrames();
  std::vector<std::string> problems;
  const std::vector<ScheduleTable> tables = ReadScheduleTables(
      "Schedule_tables {\n"
      "  NoDelay { F1 delay ms; F2 delay 1 ms; }\n"
      "  Quoted { AssignNAD { \"x\" } delay 1 ms; }\n"
      "  Negative { F1 delay -5 ms; }\n"
      "  NoUnit { F1 delay 5; }\n"
      "  Good { F2 delay 1 ms; }\n"
      "  Unclosed { F1 delay 1 ms;\n",
      description, &problems);
  ASSERT_EQ(tables.size(), 1u);
  EXPECT_EQ(tables[0].name, "Good");
  EXPECT_EQ(problems,
            (std::vector<std::string>{
                "Schedule table NoDelay (line 2) was left out: no delay of 0 ms or more "
                "after F1",
                "Schedule table Quoted (line 3) was left out: the arguments of AssignNAD "
                "are not names or numbers",
                "Schedule table Negative (line 4) was left out: no delay of 0 ms or more "
                "after F1",
                "Schedule table NoUnit (line 5) was left out: \"ms ;\" expected after the "
                "delay of F1",
                "Schedule table Unclosed (line 7) was left out: a frame or command "
                "expected"}));
}

TEST(LdfSchedules, BrokenSectionsGiveWhatWasReadBefore) {
  const LinDescription description = TwoFrames();
  std::vector<std::string> problems;
  EXPECT_TRUE(ReadScheduleTables("Frames { }", description, &problems).empty());
  EXPECT_TRUE(problems.empty());
  EXPECT_TRUE(ReadScheduleTables("\nSchedule_tables T { }", description, &problems).empty());
  const std::vector<ScheduleTable> tables =
      ReadScheduleTables("Schedule_tables { A { F1 delay 1 ms; } 12 { F1 delay 1 ms; } B { } }",
                         description, &problems);
  ASSERT_EQ(tables.size(), 1u);
  EXPECT_EQ(tables[0].name, "A");
  EXPECT_EQ(problems, (std::vector<std::string>{
                          "Schedule_tables (line 2): \"{\" expected; no table was read",
                          "Schedule_tables (line 1): a table name and \"{\" expected; the tables "
                          "from there on were not read"}));
  // Braces of another section are stepped over; only depth 0 counts.
  EXPECT_TRUE(
      ReadScheduleTables("X { Schedule_tables { A { F1 delay 1 ms; } } }", description).empty());
}

TEST(LdfSchedules, LinesCountTheBreaksOfRemovedComments) {
  LineMap lines;
  const std::string text =
      RemoveComments("/* one\ntwo\n*/ // three\nSchedule_tables {\n T { } }", lines);
  const std::vector<ScheduleTable> tables = ReadScheduleTables(text, TwoFrames(), nullptr, &lines);
  ASSERT_EQ(tables.size(), 1u);
  EXPECT_EQ(tables[0].line, 5);
  EXPECT_EQ(ReadScheduleTables(text, TwoFrames()).at(0).line, 3);  // the comment-free text's
}

TEST(LdfSchedules, TheLoadReadsTablesAndNeverFailsOnThem) {
  const std::string text = std::string(testing::kBaseLdf) +
                           "Schedule_tables {\n"
                           "  Run { MFrame delay 10 ms; S2Frame delay 20 ms; MasterReq delay 10 "
                           "ms; }\n"
                           "  Broken { S1Frame delay; }\n"
                           "}\n";
  const ParseOutcome outcome = ParseLinDescription(text, kDefaultSectionMask);
  ASSERT_NE(outcome.description, nullptr) << outcome.messageId << " " << outcome.failedCheck;
  const LinDescription& description = *outcome.description;
  ASSERT_EQ(description.scheduleTables.size(), 1u);
  EXPECT_EQ(description.scheduleTables[0].line, 31);
  // The master's frame comes first in `frames`, then S1's, then S2's.
  EXPECT_EQ(description.scheduleTables[0].slots[0].frame, 0);
  EXPECT_EQ(description.scheduleTables[0].slots[1].frame, 2);
  EXPECT_EQ(description.scheduleTables[0].slots[2].frame, -1);
  EXPECT_EQ(description.scheduleProblems,
            (std::vector<std::string>{"Schedule table Broken (line 32) was left out: no delay of "
                                      "0 ms or more after S1Frame"}));
}

// ---- The corpus ----

constexpr std::string_view kCorpus = ORVANE_SHARED_DIR "/ldf-corpus/";
constexpr std::uint32_t kWithoutEncodings = kSectionNodes | kSectionSignals | kSectionFrames;
constexpr std::uint32_t kWithoutFrames = kSectionNodes | kSectionSignals;
constexpr std::uint32_t kHeaderOnly = 0;

struct ExpectedTable {
  std::string name;
  int line;  // in the file, block comments over several lines counted
  Lines slots;
};

struct CorpusSchedules {
  std::string_view path;
  std::uint32_t mask;  // sections that load
  std::vector<ExpectedTable> tables;
  LdfStrictness strictness = LdfStrictness::kStrict;
};

const Lines kNormal22 = {"CEM_Frm1 15 *", "LSM_Frm2 15 *", "RSM_Frm2 15 *", "Node_Status_Event 10"};
const Lines kCollision22 = {"CEM_Frm1 15 *", "LSM_Frm2 15 *", "RSM_Frm2 15 *", "RSM_Frm1 10 *",
                            "CEM_Frm1 15 *", "LSM_Frm2 15 *", "RSM_Frm2 15 *", "LSM_Frm1 10 *"};
const Lines kConfiguration21 = {"AssignNAD {LSM} 15",
                                "AssignFrameIdRange {LSM, 0} 15",
                                "AssignFrameIdRange {LSM, 0, 1, 2, 3, 4} 15",
                                "ConditionalChangeNAD {0x17, 0, 0x20, 0xFF, 0x00, 0x18} 15",
                                "DataDump {LSM, 1, 2, 3, 4, 5} 15",
                                "SaveConfiguration {LSM} 15",
                                "AssignFrameId {RSM, CEM_Frm1} 15",
                                "AssignFrameId {RSM, RSM_Frm1} 15",
                                "AssignFrameId {RSM, RSM_Frm2} 15"};

Lines With(Lines lines, const std::string& last) {
  lines.push_back(last);
  return lines;
}
Lines Unresolved(Lines lines) {
  for (std::string& line : lines) {
    if (line.ends_with(" *")) line.resize(line.size() - 2);
  }
  return lines;
}

// The LIN 2.2A example's tables, its Configuration_Schedule first, with the
// table names on `lines`.
std::vector<ExpectedTable> Lin22Tables(const Lines& configuration, std::array<int, 5> lines,
                                       bool framesLoaded) {
  const auto frames = [framesLoaded](const Lines& slots) {
    return framesLoaded ? slots : Unresolved(slots);
  };
  return {{"Configuration_Schedule", lines[0], configuration},
          {"Normal_Schedule", lines[1], frames(kNormal22)},
          {"MRF_schedule", lines[2], {"MasterReq 10"}},
          {"SRF_schedule", lines[3], {"SlaveResp 10"}},
          {"Collision_resolver", lines[4], frames(kCollision22)}};
}

const std::vector<CorpusSchedules>& Corpus() {
  const Lines configuration22 = With(kConfiguration21, "FreeFormat {1, 2, 3, 4, 5, 6, 7, 8} 15");
  const Lines j2602 = {"VL1_CEM_Frm1 15 *", "VL1_LSM_Frm1 15 *"};
  static const std::vector<CorpusSchedules> kFiles{
      {"ldfparser/lin22.ldf", kDefaultSectionMask,
       Lin22Tables(configuration22, {84, 96, 102, 105, 108}, true)},
      {"ldfparser/lin_diagnostics.ldf", kDefaultSectionMask,
       Lin22Tables(configuration22, {126, 138, 144, 147, 150}, true)},
      {"ldfparser/examples/lin22.ldf", kDefaultSectionMask,
       Lin22Tables({"AssignNAD {LSM} 15", "AssignFrameIdRange {LSM, 0} 15",
                    "AssignFrameId {RSM, CEM_Frm1} 15", "AssignFrameId {RSM, RSM_Frm1} 15",
                    "AssignFrameId {RSM, RSM_Frm2} 15"},
                   {82, 89, 95, 98, 101}, true)},
      // Fails strictly in Frames: the entries stay unresolved; a relaxed load
      // resolves them.
      {"ldfparser/lin21.ldf", kWithoutFrames,
       Lin22Tables(kConfiguration21, {80, 91, 97, 100, 103}, false)},
      {"ldfparser/lin21.ldf", kDefaultSectionMask,
       Lin22Tables(kConfiguration21, {80, 91, 97, 100, 103}, true), LdfStrictness::kRelaxed},
      {"ldfparser/lin13.ldf",
       kDefaultSectionMask,
       {{"VL1_ST1",
         137,
         {"VL1_CEM_Frm1 15 *", "VL1_LSM_Frm1 15 *", "VL1_CPM_Frm1 20 *", "VL1_CPM_Frm2 20 *"}},
        {"VL1_ST2",
         143,
         {"VL1_CEM_Frm1 15 *", "VL1_CEM_Frm2 20 *", "VL1_LSM_Frm1 15 *", "VL1_LSM_Frm2 20 *",
          "VL1_CEM_Frm1 15 *", "VL1_CPM_Frm1 20 *", "VL1_CPM_Frm2 20 *", "VL1_LSM_Frm1 15 *",
          "VL1_CPM_Frm3 20 *"}}}},
      {"ldfparser/lin20.ldf", kDefaultSectionMask, {{"MySchedule1", 39, j2602}}},
      {"ldfparser/j2602_1.ldf", kDefaultSectionMask, {{"MySchedule1", 40, j2602}}},
      {"ldfparser/j2602_1_no_values.ldf", kDefaultSectionMask, {{"MySchedule1", 37, j2602}}},
      // A sporadic frame: not in Frames.
      {"ldfparser/ldf_with_sporadic_frames.ldf",
       kDefaultSectionMask,
       {{"POST_RUN", 47, {"SF_REQ_POST_RUN 10"}}}},
      // "10.0 ms"; the file fails strictly in Nodes.
      {"ldfparser/no_signal_subscribers.ldf", kHeaderOnly, {{"RUN_MAIN", 32, {"DummyFrame 10"}}}},
      {"ldfparser/no_signal_subscribers.ldf",
       kDefaultSectionMask,
       {{"RUN_MAIN", 32, {"DummyFrame 10 *"}}},
       LdfStrictness::kRelaxed},
      {"ldfparser/lin_encoders.ldf",
       kWithoutEncodings,
       {{"MRF_schedule", 47, {"MasterReq 10"}},
        {"SRF_schedule", 50, {"SlaveResp 10"}},
        {"Normal_Schedule", 53, {"dummy_frame 15 *"}}}},
      // The ETF_ entries are event-triggered frames.
      {"ldfparser/iso17987.ldf",
       kWithoutEncodings,
       {{"InitTable",
         151,
         {"MotorQuery 7 *", "MotorQuery_2 7 *", "MotorControl_2 10 *", "MotorControl 10 *",
          "MotorState_Cycl 10 *", "MotorState_Cycl_2 10 *", "MotorState_Event 6 *",
          "MotorState_Event_2 6 *"}},
        {"ETF_Table", 161, {"ETF_MotorState_Cycl 20", "ETF_MotorState_Event 20"}},
        {"CollisionResolver1", 165, {"MotorState_Cycl 10 *", "MotorState_Cycl_2 10 *"}},
        {"CollisionResolver2", 169, {"MotorState_Event 10 *", "MotorState_Event_2 10 *"}},
        {"Table4", 173, {"AssignNAD { VectorSlave_ISO } 10", "SlaveResp 10"}}}},
      // Identifiers above 0x3F fail Frames strictly; "delay 10ms" without a blank.
      {"ldfparser/lin_schedules.ldf",
       kWithoutFrames,
       {{"AddressConfiguration_Schedule",
         68,
         {"AssignNAD { LeftLight } 10", "SaveConfiguration { LeftLight } 10",
          "AssignNAD { RightLight } 10", "SaveConfiguration { RightLight } 10",
          "ConditionalChangeNAD { 0x7F, 0x01, 0x03, 0x01, 0xFF, 0x01 } 10"}},
        {"FrameConfiguration_Schedule",
         76,
         {"AssignFrameIdRange { LeftLight, 0, 0x40, 0x42, 0xFF, 0xFF } 10",
          "SaveConfiguration { LeftLight } 10",
          "AssignFrameIdRange { RightLight, 0, 0x41, 0x43, 0xFF, 0xFF } 10",
          "SaveConfiguration { RightLight } 10", "AssignFrameId { LeftLight, LeftLightStatus } 10",
          "UnassignFrameId { LeftLight, LeftLightStatus } 10",
          "AssignFrameId { RightLight, RightLightStatus } 10",
          "UnassignFrameId { RightLight, RightLightStatus } 10"}},
        {"Information_Schedule",
         88,
         {"DataDump { LeftLight, 0x10, 0x80, 0x00, 0xFF, 0xFF } 10",
          "DataDump { RightLight, 0x10, 0x80, 0x00, 0xFF, 0xFF } 10",
          "FreeFormat { 0x3C, 0xB2, 0x00, 0x00, 0xFF, 0x7F, 0xFF, 0xFF } 10"}},
        {"Diagnostic_Schedule", 93, {"MasterReq 10", "SlaveResp 10"}},
        {"Normal_Schedule",
         97,
         {"LeftLightSet 20", "LeftLightStatus 20", "RightLightSet 20", "RightLightStatus 20"}},
        {"Collision_Resolver_Schedule", 103, {"LeftLightError 10", "RightLightError 10"}}}},
      // Fails strictly in Signals.
      {"lin_ldf_parser/dummy_ldf_for_tests.ldf",
       kSectionNodes,
       {{"st_main", 632, {"DSPe_01 10",    "SLAVE5e_01 10", "SLAVE5e_02 20", "SLAVE1e_01 10",
                          "SLAVE5s_01 10", "SLAVE5s_02 10", "SLAVE4e_01 10", "SLAVE3e_01 10",
                          "SLAVE5e_01 10", "SLAVE5e_02 20", "SLAVE7e_01 10", "SLAVE5s_01 10",
                          "SLAVE5s_02 10", "SLAVE2_SET 10", "DSP1s_01 10",   "SLAVE5e_01 10",
                          "SLAVE5e_02 20", "SLAVE1s_01 10", "SLAVE5s_01 10", "SLAVE5s_02 10",
                          "SLAVE4s_01 10", "SLAVE3s_01 10", "SLAVE5e_01 10", "SLAVE5e_02 20",
                          "SLAVE7s_01 10", "SLAVE5s_01 10", "SLAVE5s_02 10", "SLAVE2_STATUS 10"}},
        {"DiagRequest", 662, {"MasterReq 10"}},
        {"DiagResponse", 665, {"SlaveResp 10"}}}},
      {"saej3068-ref/J3068-2.ldf",
       kWithoutEncodings,
       {{"Ver",
         457,
         {"SeVersionList 11 *", "EvVersionList 11 *", "SeInfoList 11 *", "EvInfoList 11 *"}},
        {"Init",
         463,
         {"SeStatus 10 *", "EvStatus 11 *", "SeNomVoltages 10 *", "SeMaxCurrents 11 *",
          "EvMaxVoltages 10 *", "EvMinVoltages 11 *", "EvMaxMinCurrents 10 *", "SeInfoList 10 *",
          "EvInfoList 11 *"}},
        {"Op",
         474,
         {"SeStatus 10 *", "EvStatus 11 *", "EvPresentCurrents 10 *", "SeInfoList 11 *",
          "EvInfoList 10 *"}},
        {"Op3",
         481,
         {"SeStatus 10 *", "EvStatus 11 *", "EvPresentCurrents 10 *", "SeInfoList 11 *",
          "EvInfoList 10 *", "SeID 10 *", "EvID 10 *"}},
        {"Op252",
         490,
         {"SeStatus 10 *",
          "EvStatus 11 *",
          "SeID 10 *",
          "EvID 10 *",
          "EvModeCtrl 10 *",
          "SeModeCtrl 10 *",
          "EvJ3072 10 *",
          "SeJ3072 10 *",
          "SeTargets1 10 *",
          "SeStatus 10 *",
          "EvStatus 11 *",
          "SeID 10 *",
          "EvID 10 *",
          "EvModeCtrl 10 *",
          "SeModeCtrl 10 *",
          "EvJ3072 10 *",
          "SeJ3072 10 *",
          "SeTargets1 10 *",
          "EvPresentCurrents 10 *",
          "SeInfoList 10 *",
          "EvInfoList 10 *"}}}},
  };
  return kFiles;
}

TEST(LdfSchedules, CorpusFilesGiveTheirTables) {
  for (const CorpusSchedules& file : Corpus()) {
    SCOPED_TRACE(std::string(file.path) + " mask " + std::to_string(file.mask));
    int messageId = 0;
    const std::optional<std::string> text =
        ReadLdfFile(std::string(kCorpus) + std::string(file.path), messageId);
    ASSERT_TRUE(text.has_value());
    const ParseOutcome outcome = ParseLinDescription(*text, file.mask, file.strictness);
    ASSERT_NE(outcome.description, nullptr) << outcome.messageId << " " << outcome.failedCheck;
    const LinDescription& description = *outcome.description;
    EXPECT_TRUE(description.scheduleProblems.empty());
    // The load reads what reading the comment-free text directly reads.
    EXPECT_EQ(ReadScheduleTables(RemoveComments(*text), description).size(),
              description.scheduleTables.size());
    ASSERT_EQ(description.scheduleTables.size(), file.tables.size());
    for (std::size_t index = 0; index < file.tables.size(); ++index) {
      const ExpectedTable& expected = file.tables[index];
      const ScheduleTable& table = description.scheduleTables[index];
      EXPECT_EQ(table.name, expected.name);
      EXPECT_EQ(table.line, expected.line) << table.name;
      EXPECT_EQ(Describe(table, description), expected.slots) << table.name;
    }
  }
}

}  // namespace
}  // namespace orvane::signals
