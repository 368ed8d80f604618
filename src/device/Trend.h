#pragma once

#include "CurrentData.h"
#include "Records.h"
#include "TrendSeries.h"

#include <array>
#include <string>
#include <vector>

namespace kt41::device {

// The curves of the controller's readings, as both the archive and the live
// readings give them: T1..T6, the setpoints of contours 1 and 2 (°C), and the
// four 4-20 mA inputs in the unit of their InputType (MPa, m3/h or %).
enum TrendChannel {
    tcTemp1 = 0, // tcTemp1 + k: thermometer T(k+1), k = 0..5
    tcSetpoint1 = 6,
    tcSetpoint2 = 7,
    tcAnalog1 = 8, // tcAnalog1 + k: 4-20 mA input k+1, k = 0..3
    kTrendChannels = 12,
};

// A time-marked text on a trend, such as the events of an archive hour.
struct TrendMark {
    TrendTime Time = 0;
    std::string Text;

    bool operator==(const TrendMark&) const = default;
};

// The local wall-clock time of a date (year with century) and time of day.
TrendTime TrendTimeOf(int year, int month, int day, int hour, int minute = 0, int second = 0);
// The hour of an archive record (its Year counts within the century).
TrendTime TrendTimeOf(const TArxRecord& record);

// The readings of one trend: a series per channel and the marks. A record or
// poll adds one point to every channel at the same time.
class Trend {
public:
    // maxStep: the largest time step drawn as a line (see TrendSeries).
    explicit Trend(TrendTime maxStep);

    void AddArchiveRecord(const TArxRecord& record);
    // A successful poll at `time`; analogTypes are the InputType of the four
    // 4-20 mA inputs, which set the unit of their words.
    void AddCurrentData(TrendTime time, const TCurrentData& data,
                        const std::array<std::uint8_t, 4>& analogTypes);
    void AddMark(TrendMark mark) { marks_.push_back(std::move(mark)); }
    // A gap in every channel (a failed poll, a pause in polling).
    void Break();
    // Keeps what is at or after `time` (a rolling window).
    void DropBefore(TrendTime time);
    void Clear();

    const TrendSeries& Series(int channel) const { return series_[std::size_t(channel)]; }
    const std::vector<TrendMark>& Marks() const { return marks_; }
    bool Empty() const { return series_[0].Empty(); }

private:
    void AddAll(TrendTime time, const std::array<double, kTrendChannels>& values);

    std::vector<TrendSeries> series_;
    std::vector<TrendMark> marks_;
};

} // namespace kt41::device
