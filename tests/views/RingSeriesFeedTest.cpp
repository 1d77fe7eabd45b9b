// The Signal Plot's series follow the ViewBuffer: complete frames without
// error only, new records only on each update, a new start after a reset,
// resize or lap, and no points older than the ring's oldest record.
#include "views/RingSeriesFeed.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace orvane::views {
namespace {

using monitor::MonitorRecord;

MonitorRecord Frame(std::int32_t time, std::uint8_t identifier, std::uint8_t value) {
  MonitorRecord record{};
  record.time = time;
  record.kind = monitor::kKindEnd;
  record.ident = identifier;
  record.data[0] = value;
  return record;
}

// One frame, identifier 0x10, with an 8-bit signal at bit 0 and no encoding.
signals::LinDescription OneSignal() {
  signals::LinDescription description;
  description.signals = {{"Value", 8, 0, signals::kMasterNode, {}, signals::kNoEncoding}};
  description.frames = {{"F", 0x10, signals::kMasterNode, 1, {{0, 0}}}};
  return description;
}

constexpr std::array<signals::SignalRow, 1> kRows{{{0, 0}}};

class RingSeriesFeedTest : public testing::Test {
 protected:
  void SetUp() override { ring_.Resize(6); }

  // Writes `records` at the write index, wrapping, and publishes them.
  void Write(std::initializer_list<MonitorRecord> records) {
    monitor::RingSnapshot snapshot = ring_.Snapshot();
    for (const MonitorRecord& record : records) {
      ring_.MutableRecords()[snapshot.writeIndex] = record;
      if (++snapshot.writeIndex == ring_.Capacity()) {
        snapshot.writeIndex = 0;
        snapshot.wrapped = true;
      }
    }
    ring_.Publish(snapshot.writeIndex, snapshot.wrapped);
  }

  std::vector<std::int64_t> Times() const { return series_.series()[0].times; }
  std::vector<std::uint16_t> Raws() const { return series_.series()[0].raws; }

  signals::LinDescription description_ = OneSignal();
  signals::SignalSeriesSet series_{description_, kRows};
  monitor::MonitorRing ring_;
  RingSeriesFeed feed_;
};

TEST_F(RingSeriesFeedTest, OnlyCompleteFramesWithoutErrorCarrySignals) {
  MonitorRecord error = Frame(20, 0x10, 2);
  error.error = monitor::kErrorChecksum;
  MonitorRecord request = Frame(30, 0x10, 3);
  request.kind = monitor::kKindRequest;
  // A merged extended frame: group size in flags, data length in kind.
  MonitorRecord extended = Frame(40, 0x10, 4);
  extended.flags = 2;
  extended.kind = monitor::kKindEnd | 8 << 4;
  // Identifier bits 6-7 are the parity bits of the protected identifier.
  Write({Frame(10, 0x10, 1), error, request, extended, Frame(50, 0x80 | 0x10, 5)});
  EXPECT_TRUE(feed_.Update(ring_, series_));
  EXPECT_EQ(Times(), (std::vector<std::int64_t>{10, 50}));
  EXPECT_EQ(Raws(), (std::vector<std::uint16_t>{1, 5}));
}

TEST_F(RingSeriesFeedTest, AppendsNewRecordsAndDropsOverwrittenOnes) {
  Write({Frame(10, 0x10, 1), Frame(20, 0x11, 2), Frame(30, 0x10, 3)});
  EXPECT_TRUE(feed_.Update(ring_, series_));
  EXPECT_FALSE(feed_.Update(ring_, series_));
  EXPECT_EQ(Times(), (std::vector<std::int64_t>{10, 30}));

  // Four more: the ring of six wraps and the record at 10 is overwritten.
  Write({Frame(40, 0x10, 4), Frame(50, 0x10, 5), Frame(60, 0x10, 6), Frame(70, 0x10, 7)});
  EXPECT_FALSE(feed_.Update(ring_, series_));
  EXPECT_EQ(Times(), (std::vector<std::int64_t>{30, 40, 50, 60, 70}));
  EXPECT_EQ(Raws(), (std::vector<std::uint16_t>{3, 4, 5, 6, 7}));

  // A second lap past the end of the ring.
  Write({Frame(80, 0x10, 8), Frame(90, 0x10, 9), Frame(100, 0x10, 10)});
  EXPECT_FALSE(feed_.Update(ring_, series_));
  EXPECT_EQ(Times(), (std::vector<std::int64_t>{50, 60, 70, 80, 90, 100}));
}

TEST_F(RingSeriesFeedTest, AfterALapStartsAgainFromWhatTheRingHolds) {
  Write({Frame(10, 0x10, 1), Frame(20, 0x10, 2), Frame(30, 0x10, 3)});
  feed_.Update(ring_, series_);
  // Eight more into the ring of six before the next update: 40 and 50 are
  // lost, the write index stands two past where it was.
  Write({Frame(40, 0x10, 4), Frame(50, 0x10, 5), Frame(60, 0x10, 6), Frame(70, 0x10, 7),
         Frame(80, 0x10, 8), Frame(90, 0x10, 9), Frame(100, 0x10, 10), Frame(110, 0x10, 11)});
  EXPECT_TRUE(feed_.Update(ring_, series_));
  EXPECT_EQ(Times(), (std::vector<std::int64_t>{60, 70, 80, 90, 100, 110}));
  EXPECT_EQ(Raws(), (std::vector<std::uint16_t>{6, 7, 8, 9, 10, 11}));
  // Then on record by record again.
  Write({Frame(120, 0x10, 12)});
  EXPECT_FALSE(feed_.Update(ring_, series_));
  EXPECT_EQ(Times(), (std::vector<std::int64_t>{70, 80, 90, 100, 110, 120}));
}

TEST_F(RingSeriesFeedTest, StartsAgainAfterResetOrResize) {
  Write({Frame(10, 0x10, 1), Frame(20, 0x10, 2), Frame(30, 0x10, 3)});
  feed_.Update(ring_, series_);
  // A new run: write index back to 0, then fewer records than before.
  ring_.Reset();
  Write({Frame(5, 0x10, 9)});
  EXPECT_TRUE(feed_.Update(ring_, series_));
  EXPECT_EQ(Times(), (std::vector<std::int64_t>{5}));

  // A review resizes the ring and fills it.
  ring_.Resize(4);
  Write({Frame(-7, 0x10, 1), Frame(3, 0x10, 2)});
  EXPECT_TRUE(feed_.Update(ring_, series_));
  EXPECT_EQ(Times(), (std::vector<std::int64_t>{-7, 3}));

  // An empty ring empties the series.
  ring_.Reset();
  EXPECT_TRUE(feed_.Update(ring_, series_));
  EXPECT_TRUE(Times().empty());

  // A wrapped ring read from scratch: oldest record first.
  Write({Frame(1, 0x10, 1), Frame(2, 0x10, 2), Frame(3, 0x10, 3), Frame(4, 0x10, 4),
         Frame(5, 0x10, 5)});
  feed_.Restart();
  EXPECT_TRUE(feed_.Update(ring_, series_));
  EXPECT_EQ(Times(), (std::vector<std::int64_t>{2, 3, 4, 5}));
}

}  // namespace
}  // namespace orvane::views
