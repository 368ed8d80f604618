#pragma once

#include <string>
#include <string_view>

namespace kt41::catalogue {

// The two lines of the device clock window (and of kt41ctl clock).
struct TClockLines {
    std::string Time; // "hh:mm:ss", hours 00..23
    std::string Date; // "1 января 2025 года, Среда"
};

// What the window shows when the clock read failed, in place of a date-time
// the controller never sent.
inline constexpr std::string_view kClockNoAnswerTime = "--:--:--";
inline constexpr std::string_view kClockNoAnswerDate = "Нет ответа от прибора";

// The lines of a clock read: the controller's date-time (days since
// 30 December 1899, the fraction the time of day) when the read succeeded,
// the no-answer texts when it failed.
TClockLines ClockLines(bool readSucceeded, double dateTime);

} // namespace kt41::catalogue
