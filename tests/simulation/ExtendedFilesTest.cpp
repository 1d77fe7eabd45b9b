#include "simulation/ExtendedFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/simulation/SimulationTestSupport.h"

namespace orvane::simulation {
namespace {

using testing::Bytes;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

ExtendedFileBinding Binding(std::uint8_t owner, std::uint8_t schedule, std::uint8_t slot,
                            const std::string& path, std::uint16_t length = 0) {
  ExtendedFileBinding binding{};
  binding.owner = owner;
  binding.scheduleIndex = schedule;
  binding.slotIndex = slot;
  settings::CopyToField(path, binding.path);
  binding.length = length;
  return binding;
}

TEST(BindExtendedFilesTest, BoundEntriesPointAtTheirFileIndexAndLength) {
  ExtendedFileTable files{};
  files[1] = Binding(kOwnerScheduleSlot, 2, 5, "/data/a.ext", 0x0123);
  files[2] = Binding(kOwnerScheduleSlot, 3, 6, "/data/b.ext", 9);
  files[3] = Binding(kOwnerScheduleSlot, 2, 40, "/data/c.ext", 9);  // no such slot
  files[0] = Binding(kOwnerScheduleSlot, 2, 7, "");                 // free record
  files[4] = Binding(kOwnerScheduleSlot, 2, 8, "/data/d.ext", 9);   // only 4 are in use

  SimSlot slot = testing::EnabledSlot(0x3E, 0x0203);
  slot.command = kCommandExtendedTx;
  for (std::uint8_t i = 0; i < kSlotDataSize; ++i) slot.data[i] = 0xA0 + i;
  ScheduleTable table;
  table.fill(CompileSlot(slot));
  const ScheduleTable before = table;

  BindExtendedFiles(files, 2, table);
  EXPECT_THAT(Bytes(table[5]),
              ElementsAre(0x01, 0x00, 0x60, 0x3E, 0x01, 0x23, 0x01, 0, 0, 0, 0, 0, 0x03, 0x02));
  for (std::size_t i : {6, 7, 8, 31}) EXPECT_EQ(Bytes(table[i]), Bytes(before[i])) << i;

  InterruptEntry interrupt = CompileSlot(slot);
  interrupt.kind = 0x71;
  BindExtendedFiles(files, interrupt);
  EXPECT_EQ(interrupt.kind, 0x71);  // no interrupt binding yet
  files[3] = Binding(kOwnerInterruptSlot, 0, 0, "/data/i.ext", 0x0100);
  BindExtendedFiles(files, interrupt);
  EXPECT_THAT(Bytes(interrupt),
              ElementsAre(0x01, 0x00, 0x61, 0x3E, 0x03, 0x00, 0x01, 0, 0, 0, 0, 0, 0x03, 0x02));
}

class DownloadExtendedFilesTest : public ::testing::Test {
 protected:
  DownloadExtendedFilesTest() {
    schedules_->fill(DefaultMasterSchedule());
    (*schedules_)[0].slots[1].identifier = 0x3E;
    (*schedules_)[0].slots[2].identifier = 0x10;
    interrupt_.identifier = 0x7F;  // the low 6 bits are 0x3F
    // What an earlier run left in the extended frame area.
    const std::vector<std::uint8_t> stale(analyzer::kExtendedDataSize, 0x5A);
    for (std::uint32_t block = 0; block < 4; ++block) {
      EXPECT_TRUE(link_.map().Write(analyzer::reg::kExtendedData + 0x100 * block, stale));
    }
  }

  bool Download() {
    return DownloadExtendedFiles(files_, *schedules_, interrupt_, link_.map(), sink_);
  }
  std::vector<std::uint8_t> Block(std::uint32_t index) {
    return link_.Read(analyzer::reg::kExtendedData + 0x100 * index, 0x100);
  }

  testing::TempDir dir_;
  testing::AnalyzerLink link_{/*startFirmware=*/false};
  testing::RecordingSink sink_;
  std::unique_ptr<MasterSchedules> schedules_ = std::make_unique<MasterSchedules>();
  SimSlot interrupt_ = DefaultInterruptSlot();
  ExtendedFileTable files_{};
};

TEST_F(DownloadExtendedFilesTest, FilesGoToTheirBlocksAndOnlyExtendedFrameSlotsKeepTheirs) {
  std::string longFile(300, '\0');
  for (std::size_t i = 0; i < longFile.size(); ++i) longFile[i] = static_cast<char>(i * 7);
  const auto longPath = dir_.Write("long.ext", longFile).string();
  const auto shortPath = dir_.Write("short.ext", "\x01\x02\x03").string();
  files_[0] = Binding(kOwnerScheduleSlot, 0, 1, longPath);
  files_[1] = Binding(kOwnerScheduleSlot, 0, 2, shortPath, 77);  // identifier 0x10
  files_[2] = Binding(kOwnerInterruptSlot, 0, 0, shortPath);
  files_[3] = Binding(kOwnerScheduleSlot, 16, 0, shortPath);  // no such schedule

  ASSERT_TRUE(Download());
  EXPECT_TRUE(sink_.Texts().empty());
  EXPECT_EQ(files_[0].length, 256);
  EXPECT_EQ(settings::FieldText(files_[1].path), "");
  EXPECT_EQ(settings::FieldText(files_[3].path), "");
  EXPECT_EQ(files_[2].length, 3);

  EXPECT_THAT(Block(0), ElementsAreArray(longFile.begin(), longFile.begin() + 256));
  EXPECT_THAT(Block(1), Each(0));
  std::vector<std::uint8_t> third(256, 0);
  third[0] = 1;
  third[1] = 2;
  third[2] = 3;
  EXPECT_EQ(Block(2), third);
  EXPECT_THAT(Block(3), Each(0));
}

TEST_F(DownloadExtendedFilesTest, UnreadableFileShowsMessage1001AndWritesNothing) {
  files_[0] = Binding(kOwnerScheduleSlot, 0, 1, (dir_.path() / "missing.ext").string());
  EXPECT_FALSE(Download());
  EXPECT_THAT(sink_.Texts(), ElementsAre("Simulation data setting NG!."));
  EXPECT_THAT(Block(0), Each(0x5A));

  files_[0] = Binding(kOwnerScheduleSlot, 0, 1, dir_.path().string());  // a folder
  EXPECT_FALSE(Download());
  EXPECT_EQ(sink_.Texts().size(), 2u);
}

TEST_F(DownloadExtendedFilesTest, FailedWriteShowsError1002AndTheOtherBlocksAreStillWritten) {
  link_.tap().FailMemoryWrite(analyzer::reg::kExtendedData + 0x100);
  EXPECT_FALSE(Download());
  EXPECT_THAT(sink_.Texts(), ElementsAre("Error[1002]"));
  EXPECT_THAT(Block(1), Each(0x5A));
  for (std::uint32_t block : {0, 2, 3}) EXPECT_THAT(Block(block), Each(0)) << block;
}

}  // namespace
}  // namespace orvane::simulation
