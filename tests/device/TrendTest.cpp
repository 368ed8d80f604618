#include "device/Trend.h"

#include <gtest/gtest.h>

using namespace kt41::device;

namespace {

constexpr TrendTime kHour = 3600;

// The times of each segment of a series.
std::vector<std::vector<TrendTime>> Times(const TrendSeries& series) {
    std::vector<std::vector<TrendTime>> times;
    for (const TrendSegment& segment : series.Segments()) {
        times.emplace_back();
        for (const TrendPoint& p : segment) {
            times.back().push_back(p.Time);
        }
    }
    return times;
}

TArxRecord Record(int day, int hour, float t1) {
    TArxRecord r;
    r.Day = std::uint16_t(day);
    r.Month = 3;
    r.Year = 22;
    r.Hour = std::uint16_t(hour);
    r.Temp = {t1, 2, 3, 4, 5, 6, 7, 8};
    r.Analog = {0.45f, 1.5f, 57, 12.25f};
    return r;
}

} // namespace

TEST(TrendTime, CountsWallClockSeconds) {
    EXPECT_EQ(TrendTimeOf(1970, 1, 1, 0), 0);
    EXPECT_EQ(TrendTimeOf(2000, 3, 1, 0) - TrendTimeOf(2000, 2, 28, 0), 2 * 86400); // leap day
    EXPECT_EQ(TrendTimeOf(2022, 3, 5, 7, 30, 15), 1646465415);
    // Hours across midnight and the end of a month stay an hour apart.
    EXPECT_EQ(TrendTimeOf(Record(1, 0, 0)) - TrendTimeOf(2022, 2, 28, 23), kHour);
}

TEST(TrendSeries, SegmentsBreakAtGapsAndNeverBridgeThem) {
    struct Case {
        const char* name;
        std::vector<TrendTime> times; // -1: Break()
        std::vector<std::vector<TrendTime>> segments;
    };
    const Case cases[] = {
        {"hours newest first", {10 * kHour, 9 * kHour, 8 * kHour}, {{36000, 32400, 28800}}},
        {"a missing hour", {10 * kHour, 9 * kHour, 7 * kHour}, {{36000, 32400}, {25200}}},
        {"explicit break", {5, 10, -1, 15, 20}, {{5, 10}, {15, 20}}},
        {"break before the first point", {-1, 5, 10}, {{5, 10}}},
        {"repeated time", {5, 5}, {{5}, {5}}},
        {"time turns back", {5, 10, 8}, {{5, 10}, {8}}},
    };
    for (const Case& c : cases) {
        TrendSeries series(kHour);
        for (TrendTime t : c.times) {
            if (t < 0) {
                series.Break();
            } else {
                series.Add({t, 1.0});
            }
        }
        EXPECT_EQ(Times(series), c.segments) << c.name;
    }
}

TEST(TrendSeries, RollingWindowDropsOldPointsAndCountsDroppedSegments) {
    TrendSeries series(10);
    for (TrendTime t : {0, 5, 10}) {
        series.Add({t, 0});
    }
    series.Break();
    for (TrendTime t : {20, 25, 30}) {
        series.Add({t, 0});
    }
    series.DropBefore(11);
    EXPECT_EQ(Times(series), (std::vector<std::vector<TrendTime>>{{20, 25, 30}}));
    EXPECT_EQ(series.DroppedSegments(), 1u);
    series.DropBefore(25);
    EXPECT_EQ(Times(series), (std::vector<std::vector<TrendTime>>{{25, 30}}));
    EXPECT_EQ(series.DroppedSegments(), 1u);
    series.Clear();
    EXPECT_TRUE(series.Empty());
    EXPECT_EQ(series.DroppedSegments(), 2u);
    // After a clear the next point starts afresh, not after a gap.
    series.Add({40, 0});
    series.Add({45, 0});
    EXPECT_EQ(series.Segments().size(), 1u);
}

TEST(TrendSeries, NearestInTimeInEitherDirection) {
    const TrendSegment rising{{0, 0}, {10, 1}, {20, 2}};
    const TrendSegment falling{{20, 2}, {10, 1}, {0, 0}};
    for (const TrendSegment* s : {&rising, &falling}) {
        EXPECT_EQ(NearestInTime(*s, -5).Time, 0);
        EXPECT_EQ(NearestInTime(*s, 4).Time, 0);
        EXPECT_EQ(NearestInTime(*s, 6).Time, 10);
        EXPECT_EQ(NearestInTime(*s, 16).Time, 20);
        EXPECT_EQ(NearestInTime(*s, 99).Time, 20);
    }
}

TEST(Trend, ArchiveRecordsFeedEveryChannelAndGapAtMissingHours) {
    Trend trend(kHour);
    trend.AddArchiveRecord(Record(5, 7, 21.5f));
    trend.AddArchiveRecord(Record(5, 6, 20.5f));
    trend.AddArchiveRecord(Record(5, 4, 19.5f)); // hour 5 missing
    for (int c = 0; c < kTrendChannels; ++c) {
        ASSERT_EQ(trend.Series(c).Segments().size(), 2u) << c;
    }
    const TrendSegment& t1 = trend.Series(tcTemp1).Segments()[0];
    EXPECT_EQ(t1[0], (TrendPoint{TrendTimeOf(2022, 3, 5, 7), 21.5}));
    EXPECT_EQ(t1[1].Value, 20.5);
    EXPECT_EQ(trend.Series(tcSetpoint2).Segments()[1][0].Value, 8.0);
    EXPECT_EQ(trend.Series(tcAnalog1 + 2).Segments()[0][0].Value, 57.0);
    EXPECT_FLOAT_EQ(float(trend.Series(tcAnalog1).Segments()[0][0].Value), 0.45f);
}

TEST(Trend, CurrentDataIsDecodedByInputType) {
    TCurrentData data{};
    data[4] = 0xFF9C; // T1 -10.0
    data[9] = 655;    // T6 65.5
    data[10] = 700;   // setpoint 1
    data[12] = 45;    // pressure: 0.45 MPa
    data[13] = 1250;  // flow: 12.50 m3/h
    data[14] = 57;    // position: 57 %
    data[15] = 57;    // unknown type: the word itself
    Trend trend(15);
    trend.AddCurrentData(100, data, {1, 2, 0, 5});
    const auto value = [&](int c) { return trend.Series(c).Segments()[0][0].Value; };
    EXPECT_DOUBLE_EQ(value(tcTemp1), -10.0);
    EXPECT_DOUBLE_EQ(value(tcTemp1 + 5), 65.5);
    EXPECT_DOUBLE_EQ(value(tcSetpoint1), 70.0);
    EXPECT_DOUBLE_EQ(value(tcAnalog1), 0.45);
    EXPECT_DOUBLE_EQ(value(tcAnalog1 + 1), 12.5);
    EXPECT_DOUBLE_EQ(value(tcAnalog1 + 2), 57.0);
    EXPECT_DOUBLE_EQ(value(tcAnalog1 + 3), 57.0);
}

TEST(Trend, BreakDropAndClearReachEveryChannelAndTheMarks) {
    Trend trend(15);
    const TCurrentData data{};
    trend.AddCurrentData(0, data, {});
    trend.AddMark({0, "old"});
    trend.Break();
    trend.AddCurrentData(5, data, {});
    trend.AddMark({5, "new"});
    for (int c = 0; c < kTrendChannels; ++c) {
        EXPECT_EQ(trend.Series(c).Segments().size(), 2u) << c;
    }
    trend.DropBefore(1);
    EXPECT_EQ(trend.Marks(), (std::vector<TrendMark>{{5, "new"}}));
    for (int c = 0; c < kTrendChannels; ++c) {
        EXPECT_EQ(trend.Series(c).PointCount(), 1u) << c;
    }
    trend.Clear();
    EXPECT_TRUE(trend.Empty());
    EXPECT_TRUE(trend.Marks().empty());
}
