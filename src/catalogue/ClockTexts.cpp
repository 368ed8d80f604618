#include "ClockTexts.h"

#include "driver/OleDateTime.h"

#include <array>
#include <cstdio>

namespace kt41::catalogue {

namespace {

constexpr std::array<std::string_view, 12> kMonthNames{"января",   "февраля", "марта",  "апреля",
                                                       "мая",      "июня",    "июля",   "августа",
                                                       "сентября", "октября", "ноября", "декабря"};

// Sunday first, as DayOfWeekSundayFirst counts.
constexpr std::array<std::string_view, 7> kWeekdayNames{
    "Воскресенье", "Понедельник", "Вторник", "Среда", "Четверг", "Пятница", "Суббота"};

} // namespace

TClockLines ClockLines(bool readSucceeded, double dateTime) {
    if (!readSucceeded) {
        return {std::string(kClockNoAnswerTime), std::string(kClockNoAnswerDate)};
    }
    const driver::CivilDateTime t = driver::DecodeDateTime(dateTime);
    char time[64];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", t.Hour, t.Minute, t.Second);
    const int weekday = driver::DayOfWeekSundayFirst(dateTime);
    std::string date = std::to_string(t.Day) + " ";
    date += kMonthNames[std::size_t(t.Month - 1)];
    date += " " + std::to_string(t.Year) + " года, ";
    date += kWeekdayNames[std::size_t(weekday - 1)];
    return {time, date};
}

} // namespace kt41::catalogue
