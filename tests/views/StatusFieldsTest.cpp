// The status window's fields: their texts, the update codes and the 1 s
// timer's refresh rule.
#include "views/StatusFields.h"

#include <gtest/gtest.h>

namespace orvane::views {
namespace {

class FakeStatusSource final : public StatusSource {
 public:
  monitor::MonitorBlockHeader LatestHeader() const override { return header; }
  std::uint8_t BaudRateCode() const override { return baudRateCode; }
  std::optional<std::uint16_t> ReadMeasuredBaud() const override {
    ++measuredReads;
    return measured;
  }

  monitor::MonitorBlockHeader header{};
  std::uint8_t baudRateCode = 11;
  std::optional<std::uint16_t> measured;
  mutable int measuredReads = 0;
};

monitor::MonitorBlockHeader Header(std::uint32_t packets, std::uint16_t loadTenths,
                                   std::uint8_t busStatus) {
  monitor::MonitorBlockHeader header{};
  header.packetCount = packets;
  header.busLoad = loadTenths;
  header.busStatus = busStatus;
  return header;
}

TEST(StatusFieldTexts, FieldTexts) {
  EXPECT_EQ(LinRevisionText(0), "Rev. 1.3");
  EXPECT_EQ(LinRevisionText(1), "Rev. 2.0");
  EXPECT_EQ(LinRevisionText(2), "Unknown");

  EXPECT_EQ(BusStatusText(0), "Run");
  EXPECT_EQ(BusStatusText(1), "Sleep");
  EXPECT_EQ(BusStatusText(2), "Wakeup");
  for (int state = 3; state <= 255; ++state) {
    EXPECT_EQ(BusStatusText(static_cast<std::uint8_t>(state)), "Error") << state;
  }

  EXPECT_EQ(BusLoadText(1000), "100.0");
  EXPECT_EQ(BusLoadText(0), "0.0");
  EXPECT_EQ(BusLoadText(5), "0.5");
  EXPECT_EQ(BusLoadText(65535), "6553.5");

  EXPECT_EQ(PacketCountText(0), "0");
  EXPECT_EQ(PacketCountText(4294967295u), "4294967295");

  const char* const labels[] = {"500", "1K",   "5K",   "10K",  "15K",  "20K",   "25K",
                                "600", "1200", "2400", "4800", "9600", "14400", "19200"};
  for (std::uint8_t code = 0; code < 14; ++code) EXPECT_EQ(BaudRateText(code), labels[code]);
  EXPECT_EQ(BaudRateText(14), "ERROR");
  EXPECT_EQ(BaudRateText(255), "ERROR");
}

TEST(StatusFields, StartsWithThePlaceholdersAndTheInitialUpdateFillsThreeFields) {
  StatusFields fields(1, false);
  EXPECT_EQ(fields.Texts(), StatusFieldTexts{});
  EXPECT_EQ(fields.Texts().linRevision, "Rev. xx.xx");

  fields.InitialUpdate(true, 13);
  StatusFieldTexts expected;
  expected.linRevision = "Rev. 2.0";
  expected.baudRate = "19200";
  EXPECT_EQ(fields.Texts(), expected);

  StatusFields running(7, false);
  running.InitialUpdate(false, 99);
  EXPECT_EQ(running.Texts().linRevision, "Unknown");
  EXPECT_EQ(running.Texts().modeStatus, "Run");
  EXPECT_EQ(running.Texts().baudRate, "ERROR");
}

TEST(StatusFields, RefreshShowsTheLatestBlockHeader) {
  FakeStatusSource source;
  source.header = Header(123456, 1000, 7);
  source.baudRateCode = 3;
  StatusFields fields(0, false);
  fields.InitialUpdate(false, 11);
  fields.Refresh(source);
  EXPECT_EQ(fields.Texts().packetCount, "123456");
  EXPECT_EQ(fields.Texts().busLoad, "100.0");
  EXPECT_EQ(fields.Texts().busStatus, "Error");
  EXPECT_EQ(fields.Texts().baudRate, "10K");
  EXPECT_EQ(source.measuredReads, 0);
}

TEST(StatusFields, ExactlyOneRefreshAfterTheAcquisitionEnds) {
  FakeStatusSource source;
  StatusFields fields(0, false);
  fields.InitialUpdate(true, 11);
  EXPECT_FALSE(fields.Tick(false, source));  // stopped since the window opened
  EXPECT_EQ(fields.Texts().packetCount, "Packet Num");

  source.header = Header(10, 20, 0);
  EXPECT_TRUE(fields.Tick(true, source));
  EXPECT_EQ(fields.Texts().packetCount, "10");
  source.header = Header(11, 21, 1);
  EXPECT_TRUE(fields.Tick(true, source));
  EXPECT_EQ(fields.Texts().busStatus, "Sleep");

  source.header = Header(12, 22, 2);  // the last block, read after the stop
  EXPECT_TRUE(fields.Tick(false, source));
  EXPECT_EQ(fields.Texts().packetCount, "12");
  EXPECT_EQ(fields.Texts().busLoad, "2.2");
  EXPECT_EQ(fields.Texts().busStatus, "Wakeup");

  source.header = Header(99, 99, 0);
  EXPECT_FALSE(fields.Tick(false, source));
  EXPECT_FALSE(fields.Tick(false, source));
  EXPECT_EQ(fields.Texts().packetCount, "12");
  EXPECT_EQ(fields.Texts().busStatus, "Wakeup");

  EXPECT_TRUE(fields.Tick(true, source));  // the next run refreshes again
  EXPECT_EQ(fields.Texts().packetCount, "99");
  EXPECT_TRUE(fields.Tick(false, source));
  EXPECT_FALSE(fields.Tick(false, source));
}

TEST(StatusFields, UpdateCodesSetModeStatusAndBaudRate) {
  StatusFields fields(0, false);
  fields.InitialUpdate(true, 11);
  fields.MonitoringStarted();
  EXPECT_EQ(fields.Texts().modeStatus, "Run");
  fields.MonitoringStopped();
  EXPECT_EQ(fields.Texts().modeStatus, "Stop");
  fields.SettingsChanged(0);
  EXPECT_EQ(fields.Texts().baudRate, "500");
  fields.SettingsChanged(200);
  EXPECT_EQ(fields.Texts().baudRate, "ERROR");
}

TEST(StatusFields, MeasurementModeShowsTheMeasuredRateOrError) {
  FakeStatusSource source;
  source.header = Header(500, 300, 0);
  source.measured = 19200;
  StatusFields fields(0, true);
  fields.InitialUpdate(true, 11);
  EXPECT_EQ(fields.Texts().baudRate, "9600");  // the configured rate until the first refresh

  EXPECT_TRUE(fields.Tick(true, source));
  StatusFieldTexts expected;
  expected.linRevision = "Rev. 1.3";
  expected.packetCount = "---";
  expected.busLoad = "---";
  expected.busStatus = "Measurement";
  expected.baudRate = "19200";
  EXPECT_EQ(fields.Texts(), expected);

  source.measured = 65535;
  fields.Tick(true, source);
  EXPECT_EQ(fields.Texts().baudRate, "65535");

  source.measured.reset();  // a failed read, tried again at the next tick
  fields.Tick(true, source);
  EXPECT_EQ(fields.Texts().baudRate, "Error");
  source.measured = 2400;
  fields.Tick(true, source);
  EXPECT_EQ(fields.Texts().baudRate, "2400");
  EXPECT_EQ(source.measuredReads, 4);

  fields.SettingsChanged(0);  // the measured rate stays
  EXPECT_EQ(fields.Texts().baudRate, "2400");

  fields.SetMeasurementMode(false);  // the mode is taken again at each update
  fields.SettingsChanged(0);
  EXPECT_EQ(fields.Texts().baudRate, "500");
  fields.Tick(false, source);
  EXPECT_EQ(fields.Texts().packetCount, "500");
  EXPECT_EQ(fields.Texts().busLoad, "30.0");
  EXPECT_EQ(source.measuredReads, 4);
}

}  // namespace
}  // namespace orvane::views
