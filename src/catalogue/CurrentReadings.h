#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kt41::catalogue {

// Texts of the current readings (the 21-word current-data block).

// Columns 0..7 of the first readings grid: thermometers T1..T6 and the
// setpoints of contours 1 and 2, signed tenths of a degree.
inline constexpr std::array<std::string_view, 8> kTemperatureHeaders{
    "Т1, °C", "Т2, °C", "Т3, °C", "Т4, °C", "Т5, °C", "Т6, °C", "Тзад 1, °C", "Тзад 2, °C"};
// Columns 8..11 before the first poll; then AnalogHeader of the input's type.
inline constexpr std::string_view kAnalogDesignHeader = "Поз.,  %";

// The second grid: columns 0..9 are sensor states (bit k of word 16), 10..13
// the running hours of the four pumps.
inline constexpr std::array<std::string_view, 14> kSensorAndHoursHeaders{
    "ДЗС конт. 1",     "ДКР конт. 1",     "ДЗС конт. 2",     "ДКР конт. 2",    "ДЗС конт. 3",
    "ДКР конт. 3",     "ДЗС конт. 4",     "ДКР конт. 4",     "Подпитка верх.", "Подпитка низ.",
    "tнар 1н-1к, час", "tнар 2н-1к, час", "tнар 1н-2к, час", "tнар 2н-2к, час"};
inline constexpr int kSensorCount = 10;

// The event log's only row when no event bit is set.
inline constexpr std::string_view kNoEventsKind = "Сообщение";
inline constexpr std::string_view kNoEventsText = "Ошибки отсутствуют";

// The header of a 4-20 mA column by the input's InputType: "Поз., " lineBreak
// "%", "P, " lineBreak "МПа", or "Расход, м3/ч" on one line. Empty for another
// type (the column keeps the header it has).
std::string AnalogHeader(int inputType, std::string_view lineBreak = "\r\n");

// A temperature word: signed tenths, one decimal (0xFF9C gives "-10.0").
std::string TemperatureText(std::uint16_t word, std::string_view decimalSeparator);

// A 4-20 mA word by the input's InputType: the whole percentage for a position,
// hundredths with two decimals for pressure and flow. Another type shows the
// word as an unsigned number.
std::string AnalogValueText(std::uint16_t word, int inputType, std::string_view decimalSeparator);

// "Норма" when bit `sensor` (0..9) of the sensor word is clear, "Авария" when set.
std::string_view SensorStateText(std::uint16_t sensorWord, int sensor);

} // namespace kt41::catalogue
