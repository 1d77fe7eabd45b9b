// The public LIN description files (../shared/ldf-corpus) loaded with relaxed
// rules. Every expectation below was written down from reading the file
// itself: its frames, signals, and the line of each rule it breaks.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "signals/LdfLoader.h"
#include "signals/LdfMessages.h"
#include "signals/LdfReport.h"
#include "signals/SignalDecode.h"
#include "signals/SignalMonitorModel.h"

namespace orvane::signals {
namespace {

constexpr std::string_view kCorpus = ORVANE_SHARED_DIR "/ldf-corpus/";

struct FrameRow {
  std::string name;
  int identifier;
  std::string publisher;
  int length;
  bool operator==(const FrameRow&) const = default;
};

struct SignalRow {
  std::string name;
  std::uint32_t size;
  std::string publisher;
  std::size_t subscribers;
  bool operator==(const SignalRow&) const = default;
};

struct RelaxedRow {
  int line;
  std::string rule;
  bool operator==(const RelaxedRow&) const = default;
};

void PrintTo(const FrameRow& f, std::ostream* os) {
  *os << f.name << " " << f.identifier << " " << f.publisher << " " << f.length;
}
void PrintTo(const SignalRow& s, std::ostream* os) {
  *os << s.name << " " << s.size << " " << s.publisher << " " << s.subscribers;
}
void PrintTo(const RelaxedRow& r, std::ostream* os) {
  *os << r.line << " " << r.rule;
}

// Frames in identifier order.
std::vector<FrameRow> Frames(const LinDescription& description) {
  std::vector<FrameRow> rows;
  for (const std::uint8_t index : description.framesById) {
    const Frame& f = description.frames[index];
    rows.push_back({f.name, f.identifier, description.NodeName(f.publisher), f.length});
  }
  return rows;
}

std::vector<SignalRow> Signals(const LinDescription& description) {
  std::vector<SignalRow> rows;
  for (const Signal& s : description.signals) {
    rows.push_back({s.name, s.size, description.NodeName(s.publisher), s.subscribers.size()});
  }
  return rows;
}

std::vector<RelaxedRow> Relaxed(const LinDescription& description) {
  std::vector<RelaxedRow> rows;
  for (const Relaxation& r : description.relaxations) rows.push_back({r.line, r.rule});
  return rows;
}

std::unique_ptr<LinDescription> LoadRelaxed(std::string_view file, LoadOutcome* outcome = nullptr) {
  std::string path = std::string(kCorpus) + std::string(file);
  std::unique_ptr<LinDescription> description;
  const LoadOutcome loaded =
      Load(path, nullptr, kDefaultSectionMask, description, LdfStrictness::kRelaxed);
  if (outcome != nullptr) *outcome = loaded;
  return description;
}

const char* const kCoverage = "values 0 to the largest covered";
const char* const kLongText = "texts of at most 31 characters";

// ---- the LIN 2.1/2.2 light example and its variants --------------------------

const std::vector<FrameRow> kLightFrames{{"CEM_Frm1", 0x01, "CEM", 1},
                                         {"LSM_Frm1", 0x02, "LSM", 2},
                                         {"LSM_Frm2", 0x03, "LSM", 1},
                                         {"RSM_Frm1", 0x04, "RSM", 2},
                                         {"RSM_Frm2", 0x05, "RSM", 1}};

TEST(LdfRelaxedCorpus, TheLin22ExamplesLoadWithNothingRelaxed) {
  for (const std::string_view file :
       {"ldfparser/lin22.ldf", "ldfparser/examples/lin22.ldf", "ldfparser/lin_diagnostics.ldf"}) {
    SCOPED_TRACE(file);
    const auto description = LoadRelaxed(file);
    ASSERT_NE(description, nullptr);
    EXPECT_TRUE(description->loadedRelaxed);
    EXPECT_TRUE(description->relaxations.empty());
    EXPECT_EQ(DescriptionReport(*description), "No rules were relaxed.\n");
    EXPECT_EQ(Frames(*description), kLightFrames);
    EXPECT_EQ(Signals(*description), (std::vector<SignalRow>{{"InternalLightsRequest", 2, "CEM", 2},
                                                             {"RightIntLightsSwitch", 8, "RSM", 1},
                                                             {"LeftIntLightsSwitch", 8, "LSM", 1},
                                                             {"LSMerror", 1, "LSM", 1},
                                                             {"RSMerror", 1, "RSM", 1},
                                                             {"IntTest", 2, "LSM", 1}}));
    ASSERT_EQ(description->eventTriggeredFrames.size(), 1u);
    const EventTriggeredFrame& event = description->eventTriggeredFrames[0];
    EXPECT_EQ(event.name, "Node_Status_Event");
    EXPECT_EQ(event.collisionSchedule, "Collision_resolver");
    EXPECT_EQ(event.identifier, 6);
    EXPECT_EQ(event.frames, (std::vector<std::string>{"RSM_Frm1", "LSM_Frm1"}));
    ASSERT_EQ(description->nodeAttributes.size(), 2u);
    const NodeAttributes& rsm = description->nodeAttributes[0];
    EXPECT_EQ(rsm.node, "RSM");
    EXPECT_EQ(rsm.protocol, "2.0");
    EXPECT_EQ(rsm.configuredNad, 0x20);
    EXPECT_EQ(rsm.initialNad, std::nullopt);
    EXPECT_EQ(rsm.productId, (std::vector<std::int64_t>{0x4E4E, 0x4553, 1}));
    EXPECT_EQ(rsm.responseError, "RSMerror");
    EXPECT_EQ(rsm.p2MinMs, 150.0);
    EXPECT_EQ(rsm.stMinMs, 50.0);
    EXPECT_EQ(rsm.nAsTimeoutMs, std::nullopt);
    EXPECT_EQ(rsm.configurableFrames,
              (std::vector<std::string>{"Node_Status_Event", "CEM_Frm1", "RSM_Frm1", "RSM_Frm2"}));
    const NodeAttributes& lsm = description->nodeAttributes[1];
    EXPECT_EQ(lsm.node, "LSM");
    EXPECT_EQ(lsm.protocol, "2.2");
    EXPECT_EQ(lsm.configuredNad, 0x21);
    EXPECT_EQ(lsm.initialNad, 0x01);
    EXPECT_EQ(lsm.productId, (std::vector<std::int64_t>{0x4A4F, 0x4841}));
    EXPECT_EQ(lsm.responseError, "LSMerror");
    // The example under examples/ gives LSM no transport timeouts.
    const bool timeouts = file != "ldfparser/examples/lin22.ldf";
    EXPECT_EQ(lsm.nAsTimeoutMs, timeouts ? std::optional<double>(1000.0) : std::nullopt);
    EXPECT_EQ(lsm.nCrTimeoutMs, timeouts ? std::optional<double>(1000.0) : std::nullopt);
    EXPECT_EQ(lsm.configurableFrames.size(), 4u);
  }
}

TEST(LdfRelaxedCorpus, DiagnosticFramesCarryTheirSignalsApart) {
  const auto description = LoadRelaxed("ldfparser/lin_diagnostics.ldf");
  ASSERT_NE(description, nullptr);
  ASSERT_EQ(description->diagnosticSignals.size(), 16u);
  EXPECT_EQ(description->diagnosticSignals[0].name, "MasterReqB0");
  EXPECT_EQ(description->diagnosticSignals[15].name, "SlaveRespB7");
  ASSERT_EQ(description->diagnosticFrames.size(), 2u);
  const Frame& request = description->diagnosticFrames[0];
  const Frame& response = description->diagnosticFrames[1];
  EXPECT_EQ(request.name, "MasterReq");
  EXPECT_EQ(request.identifier, 0x3C);  // written as 60
  EXPECT_EQ(request.publisher, kMasterNode);
  EXPECT_EQ(response.name, "SlaveResp");
  EXPECT_EQ(response.identifier, 0x3D);
  EXPECT_EQ(response.publisher, kAnySlave);
  ASSERT_EQ(response.entries.size(), 8u);
  EXPECT_EQ(description->diagnosticSignals[response.entries[7].signal].name, "SlaveRespB7");
  EXPECT_EQ(response.entries[7].bitOffset, 56u);
  // Data 00 11 22 ... 77: SlaveRespB3 (bits 24-31) reads 0x33.
  const std::array<std::uint8_t, kDataBytes> data{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77};
  EXPECT_EQ(ExtractRawValue(data, response.entries[3].bitOffset, 8), 0x33);
  // The unconditional frames stay as the strict load gives them.
  EXPECT_EQ(description->frames.size(), 5u);
  EXPECT_EQ(description->signals.size(), 6u);
}

TEST(LdfRelaxedCorpus, Lin21LetsASignalOfAnotherPublisherPass) {
  const auto description = LoadRelaxed("ldfparser/lin21.ldf");
  ASSERT_NE(description, nullptr);
  EXPECT_EQ(Frames(*description), kLightFrames);
  // RSMerror is published by LSM (line 52) but sent in RSM_Frm2 (line 71).
  EXPECT_EQ(Signals(*description), (std::vector<SignalRow>{{"InternalLightsRequest", 2, "CEM", 2},
                                                           {"RightIntLightsSwitch", 8, "RSM", 1},
                                                           {"LeftIntLightsSwitch", 8, "LSM", 1},
                                                           {"LSMerror", 1, "LSM", 1},
                                                           {"RSMerror", 1, "LSM", 1},
                                                           {"IntError", 2, "LSM", 1}}));
  EXPECT_EQ(Relaxed(*description),
            (std::vector<RelaxedRow>{{71, "signals published by the frame's publisher"}}));
  EXPECT_EQ(DescriptionReport(*description),
            "line 71: signals published by the frame's publisher: RSMerror\n");
  // Node_attributes stands before Signals here and is read all the same.
  ASSERT_EQ(description->nodeAttributes.size(), 2u);
  EXPECT_EQ(description->nodeAttributes[0].node, "LSM");
  EXPECT_EQ(description->nodeAttributes[1].configurableFrames,
            (std::vector<std::string>{"CEM_Frm1", "LSM_Frm1", "LSM_Frm2"}));
}

// ---- small LIN 2.0 and J2602 files --------------------------------------------

TEST(LdfRelaxedCorpus, TheLin20AndJ2602FilesLoadWithNothingRelaxed) {
  for (const std::string_view file :
       {"ldfparser/lin20.ldf", "ldfparser/j2602_1.ldf", "ldfparser/j2602_1_no_values.ldf"}) {
    SCOPED_TRACE(file);
    const auto description = LoadRelaxed(file);
    ASSERT_NE(description, nullptr);
    EXPECT_TRUE(description->relaxations.empty());
    // Identifiers 1 and 2 without a length: two bytes each.
    EXPECT_EQ(Frames(*description), (std::vector<FrameRow>{{"VL1_CEM_Frm1", 1, "CEM", 2},
                                                           {"VL1_LSM_Frm1", 2, "LSM", 2}}));
    EXPECT_EQ(Signals(*description),
              (std::vector<SignalRow>{{"InternalLightsRequest", 2, "CEM", 1},
                                      {"InternalLightsSwitch", 2, "LSM", 1}}));
    ASSERT_EQ(description->nodeAttributes.size(), 1u);
    EXPECT_EQ(description->nodeAttributes[0].node, "LSM");
    EXPECT_EQ(description->nodeAttributes[0].configuredNad, 1);
  }
  // LIN_protocol written as the number 2.0 and as a quoted text.
  EXPECT_EQ(LoadRelaxed("ldfparser/j2602_1.ldf")->nodeAttributes[0].protocol, "2.0");
  EXPECT_EQ(LoadRelaxed("ldfparser/j2602_1_no_values.ldf")->nodeAttributes[0].protocol,
            "J2602_1_1.0");
}

TEST(LdfRelaxedCorpus, SporadicFramesAreListed) {
  const auto description = LoadRelaxed("ldfparser/ldf_with_sporadic_frames.ldf");
  ASSERT_NE(description, nullptr);
  EXPECT_TRUE(description->relaxations.empty());
  EXPECT_EQ(Frames(*description), (std::vector<FrameRow>{{"REQ_POST_RUN", 30, "MASTER", 4}}));
  EXPECT_EQ(Signals(*description),
            (std::vector<SignalRow>{{"REQ_POST_RUN_RPM", 16, "MASTER", 1},
                                    {"REQ_POST_RUN_DURATION", 12, "MASTER", 1},
                                    {"CYC_READ_STATUS_LIN_RESPONSE", 1, "SLAVE", 1}}));
  ASSERT_EQ(description->sporadicFrames.size(), 1u);
  EXPECT_EQ(description->sporadicFrames[0].name, "SF_REQ_POST_RUN");
  EXPECT_EQ(description->sporadicFrames[0].frames, (std::vector<std::string>{"REQ_POST_RUN"}));
  ASSERT_EQ(description->nodeAttributes.size(), 1u);
  EXPECT_EQ(description->nodeAttributes[0].initialNad, 0xD);
  EXPECT_EQ(description->nodeAttributes[0].productId, (std::vector<std::int64_t>{2, 0, 255}));
}

TEST(LdfRelaxedCorpus, AMasterAloneAndASignalWithoutSubscribersPass) {
  const auto description = LoadRelaxed("ldfparser/no_signal_subscribers.ldf");
  ASSERT_NE(description, nullptr);
  EXPECT_TRUE(description->slaves.empty());
  EXPECT_EQ(description->masterName, "master");
  EXPECT_EQ(Frames(*description), (std::vector<FrameRow>{{"DummyFrame", 59, "master", 8}}));
  EXPECT_EQ(Signals(*description), (std::vector<SignalRow>{{"DummySignal_0", 8, "master", 0}}));
  EXPECT_EQ(DescriptionReport(*description),
            "line 14: 1-63 slaves: no Slaves line\n"
            "line 19: 1-63 subscribers: DummySignal_0\n");
  EXPECT_TRUE(description->nodeAttributes.empty());  // "Node_attributes { }"
}

// ---- ISO 17987 ---------------------------------------------------------------

TEST(LdfRelaxedCorpus, Iso17987LetsItsPartialEncodingsPass) {
  const auto description = LoadRelaxed("ldfparser/iso17987.ldf");
  ASSERT_NE(description, nullptr);
  EXPECT_EQ(description->slaves, (std::vector<std::string>{"VectorSlave_ISO", "VectorSlave2_0"}));
  EXPECT_EQ(Frames(*description),
            (std::vector<FrameRow>{{"MotorState_Cycl", 0, "VectorSlave_ISO", 6},
                                   {"MotorState_Cycl_2", 1, "VectorSlave2_0", 6},
                                   {"MotorState_Event", 2, "VectorSlave_ISO", 3},
                                   {"MotorState_Event_2", 3, "VectorSlave2_0", 3},
                                   {"MotorControl", 4, "VectorMasterNode", 2},
                                   {"MotorQuery", 5, "VectorMasterNode", 5},
                                   {"MotorControl_2", 6, "VectorMasterNode", 2},
                                   {"MotorQuery_2", 7, "VectorMasterNode", 1}}));
  EXPECT_EQ(Signals(*description),
            (std::vector<SignalRow>{{"MotorLinError", 1, "VectorSlave_ISO", 1},
                                    {"MotorLinError_2", 1, "VectorSlave2_0", 1},
                                    {"MotorTemp", 8, "VectorSlave_ISO", 1},
                                    {"MotorTemp_2", 8, "VectorSlave2_0", 1},
                                    {"sig_MotorQuery1", 40, "VectorMasterNode", 1},
                                    {"sig_MotorQuery1_2", 8, "VectorMasterNode", 1},
                                    {"sigMotorState1", 8, "VectorSlave_ISO", 1},
                                    {"sigMotorState1_2", 8, "VectorSlave2_0", 1},
                                    {"signal1", 16, "VectorMasterNode", 1},
                                    {"signal1_2", 16, "VectorMasterNode", 1}}));
  // encoding1 (line 184) leaves 201-254 out; encState and encTemperature end
  // at 200; encState's text is empty; signal1 has 16 bits for encoding1's 8.
  EXPECT_EQ(DescriptionReport(*description),
            "line 184: values 0 to the largest covered: encoding1\n"
            "line 188: largest value is 2^n - 1: encState\n"
            "line 189: no empty texts: \"\"\n"
            "line 191: largest value is 2^n - 1: encTemperature\n"
            "line 198: signal size fits the encoding: signal1\n");
  ASSERT_EQ(description->eventTriggeredFrames.size(), 2u);
  EXPECT_EQ(description->eventTriggeredFrames[1].name, "ETF_MotorState_Event");
  EXPECT_EQ(description->eventTriggeredFrames[1].collisionSchedule, "CollisionResolver2");
  EXPECT_EQ(description->eventTriggeredFrames[1].identifier, 56);
  EXPECT_EQ(description->eventTriggeredFrames[1].frames,
            (std::vector<std::string>{"MotorState_Event", "MotorState_Event_2"}));
  EXPECT_EQ(description->diagnosticFrames.size(), 2u);
  ASSERT_EQ(description->nodeAttributes.size(), 2u);
  EXPECT_EQ(description->nodeAttributes[0].protocol, "ISO17987:2015");
  EXPECT_EQ(description->nodeAttributes[1].configurableFrames.size(), 6u);
}

TEST(LdfRelaxedCorpus, AnUncoveredRawValueShowsAsItsNumber) {
  const auto description = LoadRelaxed("ldfparser/iso17987.ldf");
  ASSERT_NE(description, nullptr);
  // signal1 (encoding1) is MotorControl's only entry, bits 0-15.
  const std::uint8_t frame = description->frameIndexById[4];
  const std::array<std::uint8_t, kDataBytes> covered{200, 0, 0, 0, 0, 0, 0, 0};
  const std::array<std::uint8_t, kDataBytes> gap{230, 0, 0, 0, 0, 0, 0, 0};
  const std::array<std::uint8_t, kDataBytes> invalid{255, 0, 0, 0, 0, 0, 0, 0};
  const std::array<std::uint8_t, kDataBytes> wide{0x2C, 0x01, 0, 0, 0, 0, 0, 0};  // 300
  EXPECT_EQ(FillSignalRow(*description, {frame, 0}, covered, 1).encode, "200 (temperature)");
  EXPECT_EQ(FillSignalRow(*description, {frame, 0}, gap, 1).encode, "230");
  EXPECT_EQ(FillSignalRow(*description, {frame, 0}, invalid, 1).encode, "invalid");
  EXPECT_EQ(FillSignalRow(*description, {frame, 0}, wide, 1).encode, "300");
}

// ---- the large files -----------------------------------------------------------

TEST(LdfRelaxedCorpus, Lin13HasItsFortyNineSignals) {
  const auto description = LoadRelaxed("ldfparser/lin13.ldf");
  ASSERT_NE(description, nullptr);
  EXPECT_TRUE(description->relaxations.empty());
  EXPECT_EQ(Frames(*description), (std::vector<FrameRow>{{"VL1_CEM_Frm1", 0x20, "CEM", 3},
                                                         {"VL1_LSM_Frm1", 0x21, "LSM", 4},
                                                         {"VL1_CPM_Frm2", 0x22, "CPM", 4},
                                                         {"VL1_CEM_Frm2", 0x30, "CEM", 8},
                                                         {"VL1_LSM_Frm2", 0x31, "LSM", 6},
                                                         {"VL1_CPM_Frm1", 0x32, "CPM", 8},
                                                         {"VL1_CPM_Frm3", 0x33, "CPM", 8}}));
  const std::vector<SignalRow> signals = Signals(*description);
  ASSERT_EQ(signals.size(), 49u);
  EXPECT_EQ(signals[0], (SignalRow{"RearFogLampInd", 1, "CEM", 1}));
  EXPECT_EQ(signals[3], (SignalRow{"IgnitionKeyPos", 3, "CEM", 2}));
  EXPECT_EQ(signals[14], (SignalRow{"CPMReqB7", 8, "CEM", 1}));
  EXPECT_EQ(signals[31], (SignalRow{"CPMOutputs", 10, "CPM", 1}));
  EXPECT_EQ(signals[38], (SignalRow{"CPMRunTime", 13, "CPM", 1}));
  EXPECT_EQ(signals[48], (SignalRow{"CPMRespB7", 1, "CPM", 1}));
}

TEST(LdfRelaxedCorpus, J3068LetsItsLongTextsAndPartialEncodingsPass) {
  const auto description = LoadRelaxed("saej3068-ref/J3068-2.ldf");
  ASSERT_NE(description, nullptr);
  EXPECT_EQ(description->slaves,
            (std::vector<std::string>{"VehicleAC_charger_slave", "Cable_Slave"}));
  const std::vector<FrameRow> frames = Frames(*description);
  ASSERT_EQ(frames.size(), 22u);
  EXPECT_EQ(frames[0], (FrameRow{"SeVersionList", 0, "EVSE_Master", 8}));
  EXPECT_EQ(frames[10], (FrameRow{"CaProperties", 10, "Cable_Slave", 8}));
  EXPECT_EQ(frames[17], (FrameRow{"EvModeCtrl", 21, "VehicleAC_charger_slave", 8}));
  EXPECT_EQ(frames[21], (FrameRow{"SeTargets1", 25, "EVSE_Master", 8}));
  const std::vector<SignalRow> signals = Signals(*description);
  ASSERT_EQ(signals.size(), 138u);
  EXPECT_EQ(signals[0], (SignalRow{"EvSelectedVersion", 8, "VehicleAC_charger_slave", 1}));
  EXPECT_EQ(signals[5], (SignalRow{"EvAwake", 1, "VehicleAC_charger_slave", 1}));
  EXPECT_EQ(signals[137], (SignalRow{"SeTimeStamp", 8, "EVSE_Master", 1}));
  // Nineteen texts longer than 31 characters and ten encodings that leave
  // raw values out, in file order.
  EXPECT_EQ(Relaxed(*description),
            (std::vector<RelaxedRow>{
                {519, kLongText},  {521, kCoverage},  {527, kLongText},  {528, kLongText},
                {529, kLongText},  {531, kLongText},  {782, kLongText},  {1042, kCoverage},
                {1051, kLongText}, {1053, kLongText}, {1307, kLongText}, {1311, kLongText},
                {1312, kLongText}, {1313, kLongText}, {1566, kLongText}, {1568, kCoverage},
                {1831, kCoverage}, {1834, kLongText}, {1835, kLongText}, {1836, kLongText},
                {1837, kLongText}, {1838, kLongText}, {2100, kCoverage}, {2203, kLongText},
                {2357, kCoverage}, {2361, kCoverage}, {2374, kCoverage}, {2391, kCoverage},
                {2402, kCoverage}}));
  // The text is kept whole.
  EXPECT_EQ(description->relaxations[0].subject, "\"Ev does not request to go to sleep\"");
  EXPECT_EQ(description->encodings[0].values[1].text, "Ev does not request to go to sleep");
  EXPECT_EQ(description->relaxations[1].subject, "Current_Encoding");
}

// ---- what a relaxed load leaves out rather than guess -----------------------------

TEST(LdfRelaxedCorpus, FramesNoHeaderCanCarryAreLeftOut) {
  // All six frames have identifiers 0x40-0x45, which no six-bit header carries;
  // their signals stay, without a frame.
  const auto description = LoadRelaxed("ldfparser/lin_schedules.ldf");
  ASSERT_NE(description, nullptr);
  EXPECT_TRUE(description->frames.empty());
  EXPECT_EQ(Signals(*description),
            (std::vector<SignalRow>{{"LeftLight_signal", 8, "LeftLight", 1},
                                    {"SetLeftLight_signal", 8, "LightController", 1},
                                    {"LeftLightError_signal", 1, "LeftLight", 1},
                                    {"RightLight_signal", 8, "RightLight", 1},
                                    {"SetRightLight_signal", 8, "LightController", 1},
                                    {"RightLightError_signal", 1, "RightLight", 1}}));
  EXPECT_EQ(DescriptionReport(*description),
            "line 42: 1-64 frames: 0\n"
            "line 43: identifier 0-0x3f: LeftLightStatus 0x40 (left out)\n"
            "line 46: identifier 0-0x3f: RightLightStatus 0x41 (left out)\n"
            "line 49: identifier 0-0x3f: LeftLightSet 0x42 (left out)\n"
            "line 52: identifier 0-0x3f: RightLightSet 0x43 (left out)\n"
            "line 55: identifier 0-0x3f: LeftLightError 0x44 (left out)\n"
            "line 58: identifier 0-0x3f: RightLightError 0x45 (left out)\n");
  // The schedule tables are still read; their frame names now name no frame.
  ASSERT_EQ(description->scheduleTables.size(), 6u);
  EXPECT_EQ(description->scheduleTables[4].name, "Normal_Schedule");
  EXPECT_EQ(description->scheduleTables[4].slots[0].frame, -1);
}

TEST(LdfRelaxedCorpus, OverlappingRangesLetTheFirstEntryDecide) {
  // ScientificEncoding (no signal uses it) repeats the minimum 0 in five
  // physical ranges written with exponents.
  const auto description = LoadRelaxed("ldfparser/lin_encoders.ldf");
  ASSERT_NE(description, nullptr);
  EXPECT_EQ(Frames(*description), (std::vector<FrameRow>{{"dummy_frame", 0x25, "remote_node", 8}}));
  EXPECT_EQ(Signals(*description),
            (std::vector<SignalRow>{{"bcd_signal", 16, "remote_node", 1},
                                    {"ascii_signal", 16, "remote_node", 1}}));
  EXPECT_EQ(description->encodings.size(), 9u);
  EXPECT_EQ(DescriptionReport(*description),
            "line 98: no repeated value: ScientificEncoding\n"
            "line 99: reals without exponent: 5.6785558246e-04\n"
            "line 100: reals without exponent: 7.654E-02\n"
            "line 101: reals without exponent: 3.778e02\n"
            "line 102: reals without exponent: 1.222E09\n"
            "line 103: reals without exponent: 3.5E+02\n");
  const Encoding& scientific = description->encodings[8];
  ASSERT_EQ(scientific.values.size(), 5u);
  EXPECT_DOUBLE_EQ(scientific.values[1].scale, 7.654e-2);
  EXPECT_DOUBLE_EQ(scientific.values[3].scale, 1.222e9);
  // Raw 100 lies in every range: the first decides, as decoding always does.
  EXPECT_EQ(EncodeText(scientific, 100, 16), "0.0567856 (Ohm)");
}

TEST(LdfRelaxedCorpus, ConflictingDefinitionsAndUnknownEncodingsAreLeftOut) {
  const auto description = LoadRelaxed("lin_ldf_parser/dummy_ldf_for_tests.ldf");
  ASSERT_NE(description, nullptr);
  EXPECT_EQ(description->slaves.size(), 7u);
  EXPECT_EQ(description->frames.size(), 16u);
  // 218 definitions, less SLAVE5_DDD (1 bit at line 119, 3 bits at line 146)
  // and SLAVE5e_Futzui_DDD (lines 175 and 185), both left out.
  EXPECT_EQ(description->signals.size(), 214u);
  const auto named = [&](std::string_view name) {
    return std::ranges::count_if(description->signals,
                                 [&](const Signal& s) { return s.name == name; });
  };
  EXPECT_EQ(named("SLAVE5_DDD"), 0);
  EXPECT_EQ(named("SLAVE5_DDD_GGG"), 1);
  EXPECT_EQ(named("SLAVE5_LADLADversdflng_BumBrum_li"), 1);  // 33 characters, kept whole
  // SLAVE7_Itos_roh's representation names SLAVE7_Itos_roh_encoding, which
  // the file defines as SLAVE7_Itos_roh_ing: the signal shows raw values.
  EXPECT_EQ(description->encodings.size(), 141u);
  EXPECT_EQ(description->representations.size(), 140u);
  const std::vector<Relaxation>& relaxed = description->relaxations;
  const auto told = [&](int line, std::string_view rule, std::string_view subject) {
    return std::ranges::any_of(relaxed, [&](const Relaxation& r) {
      return r.line == line && r.rule == rule && r.subject == subject;
    });
  };
  EXPECT_TRUE(told(119, "unique signal names", "SLAVE5_DDD (left out)"));
  EXPECT_TRUE(told(146, "unique signal names", "SLAVE5_DDD (left out)"));
  EXPECT_TRUE(told(175, "unique signal names", "SLAVE5e_Futzui_DDD (left out)"));
  EXPECT_TRUE(told(138, "names of at most 31 characters", "SLAVE5_LADLADversdflng_BumBrum_li"));
  EXPECT_TRUE(told(1617, "encoding exists", "SLAVE7_Itos_roh_encoding (left out)"));
  EXPECT_TRUE(std::ranges::is_sorted(relaxed, {}, &Relaxation::line));
}

// ---- relaxed and strict read the same values -------------------------------------

// Every signal's raw value and Encode text for a few data patterns.
std::vector<std::string> DecodeAll(const LinDescription& description) {
  const std::array<std::array<std::uint8_t, kDataBytes>, 4> patterns{{
      {0, 0, 0, 0, 0, 0, 0, 0},
      {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
      {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF},
      {0xA5, 0x5A, 0x3C, 0xC3, 0x0F, 0xF0, 0x96, 0x69},
  }};
  std::vector<std::string> texts;
  for (std::size_t frame = 0; frame < description.frames.size(); ++frame) {
    for (std::size_t entry = 0; entry < description.frames[frame].entries.size(); ++entry) {
      for (const auto& data : patterns) {
        const SignalRowText row = FillSignalRow(
            description, {static_cast<std::uint8_t>(frame), static_cast<std::uint8_t>(entry)}, data,
            1);
        texts.push_back(row.name + "=" + row.value + " " + row.encode);
      }
    }
  }
  return texts;
}

TEST(LdfRelaxedCorpus, RelaxedAndStrictDecodeTheSameValues) {
  for (const std::string_view file :
       {"ldfparser/lin22.ldf", "ldfparser/lin13.ldf", "ldfparser/lin_diagnostics.ldf",
        "ldfparser/ldf_with_sporadic_frames.ldf", "ldfparser/j2602_1.ldf"}) {
    SCOPED_TRACE(file);
    std::string path = std::string(kCorpus) + std::string(file);
    std::unique_ptr<LinDescription> strict;
    ASSERT_EQ(Load(path, nullptr, kDefaultSectionMask, strict).result, LoadResult::kLoaded);
    EXPECT_FALSE(strict->loadedRelaxed);
    const auto relaxed = LoadRelaxed(file);
    ASSERT_NE(relaxed, nullptr);
    const std::vector<std::string> texts = DecodeAll(*strict);
    EXPECT_FALSE(texts.empty());
    EXPECT_EQ(DecodeAll(*relaxed), texts);
  }
}

}  // namespace
}  // namespace orvane::signals
