// "Save Capture Log Data as...": the capture window's records as a log file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "app/LogCommands.h"
#include "tests/analyzer/ScratchFolder.h"
#include "tests/app/RunControlTestSupport.h"
#include "views/Capture.h"

namespace orvane::app {
namespace {

using monitor::MonitorRecord;
using testing::AppRig;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kCaptureDialog[] =
    "save dialog default.log (log) Log File(*.log)|*.log|All(*.*)|*.*|| "
    "\"Save Log File from Capture Window ...\"";

MonitorRecord Frame(std::int32_t time, std::uint8_t node, std::uint8_t flags, std::uint8_t kind,
                    std::uint8_t ident) {
  MonitorRecord record{};
  record.time = time;
  record.node = node;
  record.flags = flags;
  record.kind = kind;
  record.ident = ident;
  return record;
}

// An extended frame of 10 data bytes 00..09 in two records.
void AppendExtendedFrame(std::vector<MonitorRecord>& records) {
  MonitorRecord header = Frame(2000, monitor::kNodeSlave, 2, monitor::kKindEnd, 0x3e);
  header.SetExtLength(10);
  for (std::uint8_t i = 0; i < 6; ++i) header.data[2 + i] = i;
  header.checksum = 6;
  MonitorRecord continuation;
  std::uint8_t bytes[sizeof(MonitorRecord)];
  std::memset(bytes, 0xee, sizeof bytes);
  bytes[0] = 7;
  bytes[1] = 8;
  bytes[2] = 9;
  std::memcpy(&continuation, bytes, sizeof bytes);
  records.push_back(header);
  records.push_back(continuation);
}

class CaptureLogTest : public ::testing::Test {
 protected:
  // Takes a capture of `records` with the mask on identifiers 0x12 and 0x3e.
  void Capture(const std::vector<MonitorRecord>& records) {
    monitor::MonitorRing& ring = rig_.monitor->MonitorBuffer;
    std::copy(records.begin(), records.end(), ring.MutableRecords().begin());
    ring.Publish(static_cast<std::uint32_t>(records.size()), false);
    monitor::MonitorMask mask;
    mask.MaskEnabled = true;
    mask.MaskIds = {0x12, 0x3e, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff};
    views::TakeCapture(rig_.capture, ring.Records(), ring.Snapshot(), mask);
  }

  AppRig rig_;
};

TEST_F(CaptureLogTest, WritesEachKeptRecordAsOneLineWithWholeExtendedFrames) {
  rig_.configuration->Settings.Identifiers.dataLength[0x12] = 2;
  std::vector<MonitorRecord> records;
  MonitorRecord sent =
      Frame(1234, monitor::kNodeMaster, MonitorRecord::kTxFlag, monitor::kKindEnd, 0x12);
  sent.data[0] = 0x01;
  sent.data[1] = 0x02;
  sent.checksum = 0x5a;
  records.push_back(sent);
  records.push_back(Frame(1500, monitor::kNodeMaster, 0, 20, 0x12));  // no valid kind
  records.push_back(Frame(1600, monitor::kNodeMaster, 0, monitor::kKindEnd, 0x21));  // masked
  AppendExtendedFrame(records);
  records.push_back(Frame(3000, monitor::kNodeMaster, 0, monitor::kKindWakeup, 0x12));
  Capture(records);
  ASSERT_EQ(rig_.capture.keptCount, 3u);

  const std::filesystem::path path = rig_.folder / "capture.log";
  rig_.windows.chosenFile = path.string();
  ASSERT_TRUE(SaveCaptureLog(rig_.context()));

  EXPECT_THAT(rig_.windows.events, ElementsAre(kCaptureDialog));
  EXPECT_THAT(rig_.sink.Texts(), IsEmpty());
  EXPECT_EQ(analyzer::test::ReadFile(path),
            " 00:00:01.234     ,M,Tx,End       ,  -         ,12,01,02,  ,  ,  ,  ,  ,  ,5a\r\n"
            " 00:00:02.000     ,S,Rx,Extend    ,  -         ,3e,00,01,02,03,04,05,06,07,08,09\r\n"
            " 00:00:03.000     ,M,Rx,Wakeup    ,  -         ,\r\n");
}

TEST_F(CaptureLogTest, FileThatCannotBeCreatedShows105) {
  Capture({Frame(1, monitor::kNodeMaster, 0, monitor::kKindEnd, 0x12)});
  const std::filesystem::path path = rig_.folder / "gone" / "capture.log";
  rig_.windows.chosenFile = path.string();
  EXPECT_FALSE(SaveCaptureLog(rig_.context()));
  EXPECT_THAT(rig_.sink.Texts(), ElementsAre("Log file preparation failed."));
  EXPECT_FALSE(std::filesystem::exists(path.parent_path()));

  // Cancel writes nothing and says nothing.
  rig_.windows.chosenFile.reset();
  EXPECT_FALSE(SaveCaptureLog(rig_.context()));
  EXPECT_EQ(rig_.sink.Texts().size(), 1u);
}

}  // namespace
}  // namespace orvane::app
