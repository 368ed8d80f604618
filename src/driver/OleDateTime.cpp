#include "OleDateTime.h"

#include <chrono>
#include <cmath>

namespace kt41::driver {

namespace {

using namespace std::chrono;

constexpr sys_days kEpoch = sys_days{year{1899} / December / 30};

} // namespace

double EncodeDateTime(const CivilDateTime& t) {
    const sys_days day = sys_days{year{t.Year} / month{unsigned(t.Month)} / unsigned(t.Day)};
    const double days = double((day - kEpoch).count());
    const double seconds = t.Hour * 3600.0 + t.Minute * 60.0 + t.Second;
    return days + seconds / 86400.0;
}

CivilDateTime DecodeDateTime(double value) {
    // Negative values count days backwards but keep a positive time of day.
    long long totalSeconds = std::llround(value * 86400.0);
    if (value < 0) {
        const double whole = std::trunc(value);
        const double frac = std::fabs(value - whole);
        totalSeconds = (long long)whole * 86400 + std::llround(frac * 86400.0);
    }
    long long dayCount = totalSeconds / 86400;
    long long secondOfDay = totalSeconds % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        --dayCount;
    }
    const year_month_day ymd{kEpoch + days{dayCount}};
    CivilDateTime t;
    t.Year = int(ymd.year());
    t.Month = int(unsigned(ymd.month()));
    t.Day = int(unsigned(ymd.day()));
    t.Hour = int(secondOfDay / 3600);
    t.Minute = int(secondOfDay / 60 % 60);
    t.Second = int(secondOfDay % 60);
    return t;
}

int DayOfWeekSundayFirst(double value) {
    const CivilDateTime t = DecodeDateTime(value);
    const weekday wd{sys_days{year{t.Year} / month{unsigned(t.Month)} / unsigned(t.Day)}};
    return int(wd.c_encoding()) + 1;
}

} // namespace kt41::driver
