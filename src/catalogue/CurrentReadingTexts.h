#pragma once

#include "device/CurrentData.h"
#include "driver/OleDateTime.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kt41::device {
class TKT41;
}

namespace kt41::catalogue {

// The readings page, kt41ctl current and whoever else shows a poll take every
// text of it from here.

inline constexpr int kReadingColumns = 12;        // T1..T6, two setpoints, four 4-20 mA inputs
inline constexpr int kFirstAnalogColumn = 8;      // 4-20 mA input n is column 7 + n
inline constexpr int kSensorAndHoursColumns = 14; // ten sensor states, four pump hours
// A value cell before the first poll and after a failed one.
inline constexpr std::string_view kNoReadingText = "---";

// The cell texts of one successful current-data poll. The 4-20 mA inputs are
// shown in the unit of their InputType, taken from the model when the texts
// are made.
class TCurrentReadingTexts {
public:
    TCurrentReadingTexts(const device::TKT41& model, const device::TCurrentData& data,
                         std::string_view decimalSeparator);

    // Column 0..11 of the first grid: temperatures and setpoints in tenths
    // with one decimal, then the 4-20 mA words by their input's type.
    std::string ReadingValue(int column) const;
    // The header of column 0..11: the fixed temperature headers, and for a
    // 4-20 mA column the header of its input's type with lineBreak where the
    // header breaks; empty for an input type without a header (the column
    // keeps what it shows).
    std::string ReadingHeader(int column, std::string_view lineBreak) const;
    // Column 0..13 of the second grid: "Норма" / "Авария" of sensor bits 0..9,
    // then the running hours of the four pumps.
    std::string SensorOrHoursValue(int column) const;

private:
    device::TCurrentData data_;
    std::array<int, 4> inputTypes_{};
    std::string separator_;
};

// One row of the event log: every row of one rebuild carries the same stamp.
struct TEventLogRow {
    std::string Stamp;
    std::string_view Kind;
    std::string_view Description;
};

// The rows of the event log for the event words: one row per set bit, word 0
// bit 0 first; the single row "Сообщение" / "Ошибки отсутствуют" when no bit
// is set.
std::vector<TEventLogRow> EventLogRows(std::span<const std::uint16_t> words,
                                       const std::string& stamp);

// "dd.mm.yyyy h:mm:ss": 9:05:07 on 8 December 2025 gives "08.12.2025 9:05:07".
std::string EventLogStamp(const driver::CivilDateTime& t);

// The PC's local date and time now, to the second.
driver::CivilDateTime LocalTimeNow();

} // namespace kt41::catalogue
