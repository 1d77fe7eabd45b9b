// The per-identifier statistics and their table texts: periods and jitter
// from known times, every error code in its column and row, extended groups
// counted once also when split between two feeds, the analyzer's time wrap,
// time steps back, lost records, the bus load, and Reset.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "tests/monitor/RecordBuilders.h"
#include "views/IdentifierStatistics.h"
#include "views/StatisticsTable.h"

namespace orvane::views {
namespace {

using monitor::MonitorRecord;
using monitor::test::ExtendedGroup;
using monitor::test::Frame;

MonitorRecord Error(std::int32_t time, std::uint8_t ident, std::uint8_t code,
                    std::uint8_t kind = monitor::kKindError) {
  MonitorRecord record = Frame(time, ident, kind);
  record.error = code;
  return record;
}

TEST(IdentifierStatistics, PeriodsJitterRateAndTheirCells) {
  IdentifierStatistics statistics;
  const std::vector<MonitorRecord> records{Frame(0, 0x10), Frame(10, 0x10), Frame(12, 0x21),
                                           Frame(25, 0x10), Frame(35, 0x10)};
  statistics.Add(records);

  const IdentifierCounts& counts = statistics.Of(0x10);
  EXPECT_EQ(counts.frames, 4u);
  EXPECT_EQ(counts.periods, 3u);
  EXPECT_EQ(counts.periodMin, 10);
  EXPECT_EQ(counts.periodMax, 15);
  EXPECT_DOUBLE_EQ(counts.periodMean, 35.0 / 3);
  // Periods 10, 15, 10: population variance 50/9.
  EXPECT_NEAR(counts.Jitter(), std::sqrt(50.0 / 9), 1e-12);
  EXPECT_EQ(statistics.SpanMs(), 35);

  const std::vector<StatisticsRow> rows = StatisticsRows(statistics);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (StatisticsRow{"0x10", "4", "114.29", "10", "11.667", "15", "2.357",
                                    "0",    "0", "0",      "0",  "0",      "0",  "0",
                                    "0",    "0", "0",      "0",  "0",      "0",  "00:00:00.035"}));
  // A single frame has no period: those cells stay empty.
  EXPECT_EQ(rows[1],
            (StatisticsRow{"0x21", "1", "28.57", "",  "",  "",  "",  "0", "0", "0",           "0",
                           "0",    "0", "0",     "0", "0", "0", "0", "0", "0", "00:00:00.012"}));
  EXPECT_EQ(StatisticsColumnTitles().size(), rows[0].size());
  EXPECT_EQ(StatisticsColumnTitles()[6], "Jitter SD [ms]");
}

TEST(IdentifierStatistics, EveryErrorCodeInItsColumnAndRow) {
  IdentifierStatistics statistics;
  std::vector<MonitorRecord> records;
  for (std::uint8_t code = 1; code <= 13; ++code) records.push_back(Error(code, 0x05, code));
  // An error the master simulation injected counts like the bus's own.
  records.push_back(Error(20, 0x05, monitor::kErrorChecksum, monitor::kKindSimulationError));
  statistics.Add(records);

  const std::vector<StatisticsRow> rows = StatisticsRows(statistics);
  ASSERT_EQ(rows.size(), 2u);
  // Errors whose log lines show the identifier: CheckSum (2), Short Msg,
  // Bit, No Res, Overrun, Framing and an unknown code (Other).
  EXPECT_EQ(rows[0],
            (StatisticsRow{"0x05", "0", "0.00", "",  "",  "",  "",  "0", "2", "1",           "1",
                           "1",    "0", "0",    "1", "1", "0", "0", "0", "1", "00:00:00.020"}));
  // Parity, both sync breaks, Sync Field, Buffer and Bus show none.
  EXPECT_EQ(rows[1], (StatisticsRow{"-", "",  "",  "",  "",  "",  "",  "1", "0", "0",           "0",
                                    "0", "1", "1", "0", "0", "1", "1", "1", "0", "00:00:00.012"}));
  EXPECT_EQ(statistics.Of(0x05).ErrorTotal(), 8u);
  EXPECT_FALSE(statistics.Of(0).Seen());
}

TEST(IdentifierStatistics, ExtendedGroupCountsOnceAcrossFeeds) {
  IdentifierStatistics statistics(FrameBitsSetup::WithLengthCodes(19200));
  std::vector<MonitorRecord> first = ExtendedGroup(100, 0x3E, 30);  // header + 2 continuations
  ASSERT_EQ(first.size(), 3u);
  // Continuation bytes that would read as an error record of identifier 1.
  first[2] = Error(0, 0x01, monitor::kErrorBit);
  statistics.Add(std::span(first).first(2));
  statistics.Add(std::span(first).subspan(2));
  statistics.Add(ExtendedGroup(150, 0x3E, 5));

  const IdentifierCounts& counts = statistics.Of(0x3E);
  EXPECT_EQ(counts.frames, 2u);
  EXPECT_EQ(counts.periodMin, 50);
  EXPECT_FALSE(statistics.Of(0x01).Seen());
  EXPECT_EQ(statistics.RecordCount(), 4u);
  // 34 header bits and 10 per data byte and checksum: 344 + 94.
  EXPECT_EQ(statistics.LoadBits().at(0), 438u);

  // A header claiming more bytes than its group carries counts only those.
  std::vector<MonitorRecord> damaged = ExtendedGroup(200, 0x3F, 8);
  damaged[0].SetExtLength(4000);
  EXPECT_EQ(FrameBits(damaged[0], statistics.setup()), 34u + 10 * (7 + 19 + 1));
}

TEST(IdentifierStatistics, FollowsTheAnalyzerTimeAcrossItsWrap) {
  IdentifierStatistics statistics;
  statistics.Add(std::vector{Frame(INT32_MAX - 5, 0x01), Frame(INT32_MAX, 0x01)});
  statistics.Add(std::vector{Frame(INT32_MIN + 4, 0x01)});

  const IdentifierCounts& counts = statistics.Of(0x01);
  EXPECT_EQ(counts.periods, 2u);
  EXPECT_EQ(counts.periodMin, 5);
  EXPECT_EQ(counts.periodMax, 5);
  EXPECT_EQ(counts.Jitter(), 0.0);
  EXPECT_EQ(statistics.SpanMs(), 10);
  const std::vector<StatisticsRow> rows = StatisticsRows(statistics);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][2], "300.00");
  EXPECT_EQ(rows[0][20], "-596:31:23.644");
  // The frame after the wrap falls into the same second of followed time.
  ASSERT_EQ(statistics.LoadBits().size(), 1u);
  EXPECT_EQ(statistics.LoadBits().begin()->first, INT32_MAX / 1000);
}

TEST(IdentifierStatistics, StepBackAndLostRecordsStartThePeriodsAnew) {
  IdentifierStatistics statistics;
  // A file joined from two runs: time goes back from 1010 to 500.
  statistics.Add(
      std::vector{Frame(1000, 0x02), Frame(1010, 0x02), Frame(500, 0x02), Frame(520, 0x02)});
  EXPECT_EQ(statistics.Of(0x02).periods, 2u);
  EXPECT_EQ(statistics.Of(0x02).periodMax, 20);
  EXPECT_EQ(statistics.SpanMs(), 510);

  statistics.Gap();
  statistics.Add(std::vector{Frame(9000, 0x02)});
  EXPECT_EQ(statistics.Of(0x02).frames, 5u);
  EXPECT_EQ(statistics.Of(0x02).periods, 2u);

  // A pending extended group is dropped at a gap: the next record is an event.
  const std::vector<MonitorRecord> group = ExtendedGroup(9100, 0x3E, 30);
  statistics.Add(std::span(group).first(1));
  statistics.Gap();
  statistics.Add(std::vector{Frame(9200, 0x02)});
  EXPECT_EQ(statistics.Of(0x02).frames, 6u);
}

TEST(IdentifierStatistics, BusLoadPerSecondAndReset) {
  IdentifierStatistics statistics(FrameBitsSetup::WithLengthCodes(9600));
  std::vector<MonitorRecord> records;
  // Identifier 0x30 carries 8 bytes: 124 bits a frame; 10 frames in second
  // 0, 5 in second 1.
  for (int i = 0; i < 10; ++i) records.push_back(Frame(i * 100, 0x30));
  for (int i = 0; i < 5; ++i) records.push_back(Frame(1000 + i * 100, 0x30));
  // A header without response and a No Res error: 34 bits each; a wake-up
  // holds no frame.
  records.push_back(Frame(1500, 0x31, monitor::kKindRequest));
  records.push_back(Error(1600, 0x32, monitor::kErrorNoResponse));
  records.push_back(Frame(1700, 0x00, monitor::kKindWakeup));
  statistics.Add(records);

  EXPECT_EQ(statistics.LoadBits().at(0), 1240u);
  EXPECT_EQ(statistics.LoadBits().at(1), 620u + 68u);
  EXPECT_EQ(StatisticsRows(statistics).size(), 3u);  // the wake-up is no identifier's
  EXPECT_EQ(BusLoadSummary(statistics),
            "Bus load: mean 11.8 %, peak 12.9 % over 1.700 s at 9600 bit/s");

  statistics.Reset();
  EXPECT_TRUE(StatisticsRows(statistics).empty());
  EXPECT_TRUE(statistics.LoadBits().empty());
  EXPECT_EQ(BusLoadSummary(statistics), "Bus load: no records");
  statistics.Add(std::vector{Frame(-3000, 0x30), Frame(-2990, 0x30)});
  EXPECT_EQ(statistics.Of(0x30).frames, 2u);
  EXPECT_EQ(statistics.Of(0x30).periodMin, 10);
  EXPECT_EQ(statistics.LoadBits().begin()->first, -3);
}

}  // namespace
}  // namespace orvane::views
