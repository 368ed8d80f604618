#pragma once

#include "device/Records.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kt41::catalogue {

// The texts of the archive table, shared by the archive page and
// `kt41ctl archive`. Column numbers are those of the page's grid: 0 the row
// number, 1 the date, 2 the hour, 3..8 T1..T6, 9 and 10 the set temperatures,
// 11..14 the 4-20 mA inputs, 15 the notes.
inline constexpr int kArchiveColumnCount = 16;
inline constexpr int kArchiveFirstAnalogColumn = 11;
inline constexpr int kArchiveNotesColumn = 15;

// The analog input types of a model (GetAnalogInputType of inputs 1..4), which
// choose the heading and the text of the four 4-20 mA columns.
using AnalogTypes = std::array<std::uint8_t, 4>;

// The heading of column `column` (0..15); "\n" breaks a line. Columns 11..14
// depend on the input's type: 1 "P, \nМПа", 2 "Расход, м3/ч", any other
// "Поз., \n%".
std::string ArchiveHeading(int column, const AnalogTypes& types);

// The notes of the event words: for word 0..3 and bit 0..15 in ascending
// order, each set bit gives kind + ": " + description + ";" from the event
// table. The entries are joined by `lineBreak`; none follows the last entry,
// so a cell is exactly as many lines high as it has events. No set bit gives
// an empty text.
std::string ArchiveNotesText(std::span<const std::uint16_t, 4> status, std::string_view lineBreak);

// Columns 1..15 of one record (index 0 is column 1): the date "05.03.22",
// the hour "07", the temperatures with one decimal, the 4-20 mA values with
// two decimals for a pressure or flow input (type 1 or 2) and as a whole
// number cut toward zero otherwise, then the notes joined by lineBreak.
std::array<std::string, kArchiveColumnCount - 1>
ArchiveRecordTexts(const device::TArxRecord& record, const AnalogTypes& types,
                   std::string_view decimalSeparator, std::string_view lineBreak);

} // namespace kt41::catalogue
