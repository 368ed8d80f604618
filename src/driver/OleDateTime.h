#pragma once

namespace kt41::driver {

// The controller's date-time value: whole days since 30 December 1899, the
// fraction being the time of day.
struct CivilDateTime {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};

double EncodeDateTime(const CivilDateTime& t);
CivilDateTime DecodeDateTime(double value); // rounded to the nearest second
int DayOfWeekSundayFirst(double value);     // 1 = Sunday ... 7 = Saturday

} // namespace kt41::driver
