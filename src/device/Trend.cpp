#include "Trend.h"

#include "AnalogScale.h"

#include <algorithm>

namespace kt41::device {

namespace {

// Days from 1 January 1970 to the given date of the proleptic Gregorian
// calendar (H. Hinnant's days_from_civil).
std::int64_t DaysFromCivil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = int(year - era * 400);
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

double SignedTenths(std::uint16_t word) {
    return double(std::int16_t(word)) / 10.0;
}

} // namespace

TrendTime TrendTimeOf(int year, int month, int day, int hour, int minute, int second) {
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

TrendTime TrendTimeOf(const TArxRecord& record) {
    return TrendTimeOf(2000 + record.Year, record.Month, record.Day, record.Hour);
}

Trend::Trend(TrendTime maxStep) : series_(kTrendChannels, TrendSeries(maxStep)) {}

void Trend::AddArchiveRecord(const TArxRecord& record) {
    std::array<double, kTrendChannels> values{};
    std::copy(record.Temp.begin(), record.Temp.end(), values.begin());
    std::copy(record.Analog.begin(), record.Analog.end(), values.begin() + tcAnalog1);
    AddAll(TrendTimeOf(record), values);
}

void Trend::AddCurrentData(TrendTime time, const TCurrentData& data,
                           const std::array<std::uint8_t, 4>& analogTypes) {
    std::array<double, kTrendChannels> values{};
    for (int k = 0; k < 6; ++k) {
        values[std::size_t(tcTemp1 + k)] = SignedTenths(data.Temperature(k + 1));
    }
    values[tcSetpoint1] = SignedTenths(data.Setpoint(1));
    values[tcSetpoint2] = SignedTenths(data.Setpoint(2));
    for (int k = 0; k < 4; ++k) {
        values[std::size_t(tcAnalog1 + k)] =
            AnalogValue(data.AnalogWord(k + 1), analogTypes[std::size_t(k)]);
    }
    AddAll(time, values);
}

void Trend::AddAll(TrendTime time, const std::array<double, kTrendChannels>& values) {
    for (std::size_t c = 0; c < series_.size(); ++c) {
        series_[c].Add({time, values[c]});
    }
}

void Trend::Break() {
    for (TrendSeries& s : series_) {
        s.Break();
    }
}

void Trend::DropBefore(TrendTime time) {
    for (TrendSeries& s : series_) {
        s.DropBefore(time);
    }
    std::erase_if(marks_, [time](const TrendMark& m) { return m.Time < time; });
}

void Trend::Clear() {
    for (TrendSeries& s : series_) {
        s.Clear();
    }
    marks_.clear();
}

} // namespace kt41::device
