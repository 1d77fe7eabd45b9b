#include "simulation/SlaveSimulation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/simulation/SimulationTestSupport.h"

namespace orvane::simulation {
namespace {

using ::testing::ElementsAre;
namespace reg = analyzer::reg;

class SlaveSimulationTest : public ::testing::Test {
 protected:
  explicit SlaveSimulationTest(bool startFirmware = true) : link_(startFirmware) {
    responses_.fill(DefaultSlaveResponse());
  }

  SimSlot& EnabledResponse(std::size_t index, std::uint8_t identifier) {
    SimSlot& response = responses_[index];
    response.enable = 1;
    response.identifier = identifier;
    return response;
  }
  std::size_t TableDownloads() {
    return link_.tap().WritesTo(reg::kBankTable[0]).size() +
           link_.tap().WritesTo(reg::kBankTable[1]).size();
  }
  std::vector<std::uint8_t> LastDownload() {
    const auto& writes = link_.tap().Writes();
    for (auto write = writes.rbegin(); write != writes.rend(); ++write) {
      if (write->address == reg::kBankTable[0] || write->address == reg::kBankTable[1]) {
        return write->bytes;
      }
    }
    return {};
  }

  testing::TempDir dir_;
  testing::AnalyzerLink link_;
  testing::RecordingSink sink_;
  testing::RuleSettings rules_;
  SlaveResponses responses_;
  SlaveRunState state_;
  SlaveSimulation simulation_{responses_, state_, rules_.rules(), link_.map(), sink_};
};

class SlaveSimulationBootTest : public SlaveSimulationTest {
 protected:
  SlaveSimulationBootTest() : SlaveSimulationTest(/*startFirmware=*/false) {}
};

TEST_F(SlaveSimulationTest, ResponsesCompileIntoTheSixteenEntryTable) {
  SimSlot& checksum = EnabledResponse(0, 0x21);
  checksum.error = 2;
  checksum.oneTime = 1;
  for (std::uint8_t i = 0; i < kSlotDataSize; ++i)
    checksum.data[i] = static_cast<std::uint8_t>(0xB0 + i);
  EnabledResponse(2, 0x05).error = 3;
  EnabledResponse(15, 0x3A);

  ASSERT_TRUE(CompileSlaveTable(responses_, state_, sink_));
  const std::vector<std::uint8_t> bytes = testing::Bytes(state_.table);
  ASSERT_EQ(bytes.size(), 224u);
  EXPECT_THAT(std::vector(bytes.begin(), bytes.begin() + 42),
              ElementsAre(0x01, 0x01, 0x72, 0x21, 0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0,
                          0, 0x00, 0x00, 0x10, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
                          0x01, 0x00, 0x73, 0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
  EXPECT_THAT(std::vector(bytes.end() - 14, bytes.end()),
              ElementsAre(0x01, 0x00, 0x10, 0x3A, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
}

TEST_F(SlaveSimulationBootTest, StartDownloadsTheTableWithState1AndClearsTheChangedMarkers) {
  EnabledResponse(1, 0x10) =
      testing::PatternSlot(dir_.Write("s.ptn", "Tx,10,7a,7b\n"), kTriggerTimer, 50);
  ASSERT_TRUE(StartSlaveRun(simulation_));
  EXPECT_TRUE(sink_.Texts().empty());

  const std::vector<std::uint8_t> bank = link_.Read(reg::kBankTable[0], analyzer::kSlaveTableSize);
  EXPECT_THAT(std::vector(bank.begin() + 14, bank.begin() + 28),
              ElementsAre(0x81, 0x00, 0x10, 0x10, 0x7a, 0x7b, 0, 0, 0, 0, 0, 0, 0x01, 0x00));
  EXPECT_EQ(link_.ReadByte(reg::kBankState[0]), analyzer::kBankReplace);
  EXPECT_EQ(state_.table[1].enable, 0x01);
}

TEST_F(SlaveSimulationTest, EveryTickAdvancesCursorsAndDownloadsTheTable) {
  responses_[0] = testing::PatternSlot(
      dir_.Write("t.ptn", "Tx,10,01,00\nTx,11,09,09\nTx,10,02,00\nTx,10,03,00\n"), kTriggerTimer,
      100, /*repeat=*/true);
  responses_[1] = testing::PatternSlot(dir_.Write("k.ptn", "Tx,12,0a,00\nTx,12,0b,00\n"),
                                       kTriggerKey, 'S', true);
  responses_[1].identifier = 0x12;
  ASSERT_TRUE(StartSlaveRun(simulation_));
  EXPECT_EQ(LastDownload().at(4), 1);
  EXPECT_EQ(LastDownload().at(14 + 4), 0x0a);

  // Period 2; the row for identifier 0x11 is passed over.
  const std::uint8_t timerRow[] = {1, 1, 2, 2, 3};
  const std::uint8_t keyEntryEnable[] = {0x01, 0x01, 0x01, 0x81, 0x01};
  for (std::size_t tick = 0; tick < std::size(timerRow); ++tick) {
    if (tick == 3) SlaveKey(simulation_, 'S');
    ASSERT_TRUE(SlaveTick(simulation_));
    EXPECT_EQ(LastDownload().at(4), timerRow[tick]) << "tick " << tick + 1;
    EXPECT_EQ(LastDownload().at(14), keyEntryEnable[tick]) << "tick " << tick + 1;
  }
  EXPECT_EQ(LastDownload().at(14 + 4), 0x0b);
  EXPECT_FALSE(state_.patterns.keys[0].pending);
  EXPECT_EQ(TableDownloads(), 6u);  // the start and every tick, changed or not
}

TEST_F(SlaveSimulationTest, MarkersOfDisabledEntriesStayAndAFailedDownloadShows400) {
  EnabledResponse(4, 0x14);
  ASSERT_TRUE(StartSlaveRun(simulation_));
  state_.table[3].enable = kEntryChanged;
  state_.table[4].enable = kEntryChanged | kEntryEnabled;
  ASSERT_TRUE(SlaveTick(simulation_));
  EXPECT_EQ(state_.table[3].enable, kEntryChanged);
  EXPECT_EQ(state_.table[4].enable, kEntryEnabled);

  state_.table[4].enable = kEntryChanged | kEntryEnabled;
  link_.tap().FailMemoryWrite(reg::kBankTable[0]);
  link_.tap().FailMemoryWrite(reg::kBankTable[1]);
  EXPECT_FALSE(SlaveTick(simulation_));
  EXPECT_THAT(sink_.Texts(), ElementsAre("Slave Simulation Setting Error."));
  EXPECT_EQ(state_.table[4].enable, kEntryChanged | kEntryEnabled);
}

TEST_F(SlaveSimulationTest, KeysOnlyWakeCursorsOfPatternResponsesOnThatKey) {
  responses_[2] = testing::PatternSlot(dir_.Write("k.ptn", "Tx,10,0a,00\n"), kTriggerKey, 'A');
  responses_[3] = testing::PatternSlot(dir_.Write("k2.ptn", "Tx,10,0a,00\n"), kTriggerKey, 'B');
  ASSERT_TRUE(CompileSlaveTable(responses_, state_, sink_));
  ASSERT_EQ(state_.patterns.keys.size(), 2u);
  SlaveKey(simulation_, 'B');
  EXPECT_FALSE(state_.patterns.keys[0].pending);
  EXPECT_TRUE(state_.patterns.keys[1].pending);
  responses_[2].pattern = 0;
  SlaveKey(simulation_, 'A');
  EXPECT_FALSE(state_.patterns.keys[0].pending);
  Release(state_);
  EXPECT_TRUE(state_.patterns.keys.empty());
}

}  // namespace
}  // namespace orvane::simulation
