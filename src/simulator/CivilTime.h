#pragma once

#include "driver/OleDateTime.h"

#include <cstdint>
#include <vector>

// Calendar arithmetic of the simulated controller. Its clock counts seconds
// since 1 January 1970 in local wall time (no time zones, no daylight saving).

namespace kt41::sim {

double SecondsOf(const driver::CivilDateTime& t);
driver::CivilDateTime CivilOf(double seconds);
// Hours since 1 January 1970: the key of an archive record.
long long HourKey(double seconds);

// The clock keeps two-digit years (the archive stores them so); the archive
// can be asked about any date.
inline constexpr int kClockFirstYear = 2000;
inline constexpr int kClockLastYear = 2099;
bool ValidCivil(const driver::CivilDateTime& t, int firstYear = kClockFirstYear,
                int lastYear = kClockLastYear);

// The hour of an archive request block: year, month, day, hour.
driver::CivilDateTime RequestedHour(const std::vector<std::uint16_t>& request);

double SystemSeconds();      // the host's clock, seconds since 1970 (UTC)
double LocalOffsetSeconds(); // local time minus UTC now

} // namespace kt41::sim
