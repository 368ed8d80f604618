#include "CivilTime.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace kt41::sim {

using driver::CivilDateTime;

double SecondsOf(const CivilDateTime& t) {
    using namespace std::chrono;
    const sys_days day{year{t.Year} / month{unsigned(t.Month)} / unsigned(t.Day)};
    return double(day.time_since_epoch().count()) * 86400.0 + t.Hour * 3600.0 + t.Minute * 60.0 +
           t.Second;
}

CivilDateTime CivilOf(double seconds) {
    using namespace std::chrono;
    const long long whole = (long long)std::floor(seconds);
    long long dayNumber = whole / 86400;
    long long second = whole % 86400;
    if (second < 0) {
        second += 86400;
        --dayNumber;
    }
    const year_month_day ymd{sys_days{days{dayNumber}}};
    CivilDateTime t;
    t.Year = int(ymd.year());
    t.Month = int(unsigned(ymd.month()));
    t.Day = int(unsigned(ymd.day()));
    t.Hour = int(second / 3600);
    t.Minute = int(second / 60 % 60);
    t.Second = int(second % 60);
    return t;
}

long long HourKey(double seconds) {
    return (long long)std::floor(seconds / 3600.0);
}

bool ValidCivil(const CivilDateTime& t, int firstYear, int lastYear) {
    using namespace std::chrono;
    const year_month_day d{year{t.Year}, month{unsigned(t.Month)}, day{unsigned(t.Day)}};
    return t.Year >= firstYear && t.Year <= lastYear && d.ok() && t.Hour >= 0 && t.Hour < 24 &&
           t.Minute >= 0 && t.Minute < 60 && t.Second >= 0 && t.Second < 60;
}

CivilDateTime RequestedHour(const std::vector<std::uint16_t>& q) {
    return CivilDateTime{q[0], q[1], q[2], q[3], 0, 0};
}

double SystemSeconds() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

double LocalOffsetSeconds() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return double(local.tm_gmtoff);
}

} // namespace kt41::sim
