#pragma once

#include "Records.h"

#include <array>
#include <cstdint>
#include <span>

// Conversion between the controller's word blocks and the model's records.
// A block is a byte buffer of 16-bit words in big-endian order; word k takes
// bytes 2k (high) and 2k+1 (low). Byte fields take the low byte of their word
// and are written widened with zeros; signed fields travel as their 16-bit
// pattern.

namespace kt41::device {

inline constexpr std::size_t kContourTableWords = 8;
inline constexpr std::size_t kContourWords = 120;
inline constexpr std::size_t kContourExWords = 21;
inline constexpr std::size_t kInputWords = 12;
inline constexpr std::size_t kDeviceInfoWords = 23;
inline constexpr std::size_t kDeviceParamWords = 23;
inline constexpr std::size_t kCalibrationWords = 5;
inline constexpr std::size_t kManualStateWords = 12;
inline constexpr std::size_t kManualStatusWords = 10;
inline constexpr std::size_t kArchiveRecordWords = 18;

using ContourTable = std::array<std::uint16_t, kContourTableWords>;

// words.size() words from the first 2 * words.size() bytes, and back.
void WordsFromBytes(std::span<const std::uint8_t> bytes, std::span<std::uint16_t> words);
void BytesFromWords(std::span<const std::uint16_t> words, std::span<std::uint8_t> bytes);

// Contour table: w0..w3 ContourType of contours 1..4, w4..w7 ConturCtrlMode.
// Sanitising replaces types above 5 (contours 1, 2), above 3 (contours 3, 4)
// and control modes above 2 by 0.
void SanitizeContourTable(ContourTable& table);

// Pump flags as one word: bit 0 Pump_ON, 1 Pump_SensProtect, 2 Pump_SensWork,
// 3 Pump_AVR, 4 Pump_VarWork, 5 Pump_Main.
std::uint16_t EncodePumpBits(const TPumpGroup& group);
void DecodePumpBits(std::uint16_t word, TPumpGroup& group);

// Full contour block (contours 1, 2). ContourType and ConturCtrlMode do not
// travel in it; both calendars travel Sunday first.
void DecodeContour(std::span<const std::uint16_t, kContourWords> words, TParamContur& contour);
void EncodeContour(const TParamContur& contour, std::span<std::uint16_t, kContourWords> words);

// Reduced contour block (contours 3, 4).
void DecodeContourEx(std::span<const std::uint16_t, kContourExWords> words,
                     TParamConturEx& contour);
void EncodeContourEx(const TParamConturEx& contour,
                     std::span<std::uint16_t, kContourExWords> words);

// Thermometer inputs: per input a Contour word, then Func in bits 0-3 with the
// alarm in bits 4-7. On writing only Alarm == 1 sets bit 4.
void DecodeInputsTerm(std::span<const std::uint16_t, kInputWords> words,
                      std::array<TInputTerm, 6>& inputs);
void EncodeInputsTerm(const std::array<TInputTerm, 6>& inputs,
                      std::span<std::uint16_t, kInputWords> words);

// 4-20 mA inputs: words 0-7 as above for inputs 1..4, words 8-11 MaxVal.
// InputType does not travel; decoding leaves it as it was.
void DecodeInputsAnalog(std::span<const std::uint16_t, kInputWords> words,
                        std::array<TInputAnalog, 4>& inputs);
void EncodeInputsAnalog(const std::array<TInputAnalog, 4>& inputs,
                        std::span<std::uint16_t, kInputWords> words);

// Identity: w0 Model, w1 SerialNumber, w2 Version, w3 Manufact_date.
void DecodeDeviceInfo(std::span<const std::uint16_t, kDeviceInfoWords> words, TParamDevice& device);

// Device parameters: w0 MBS_speed, w1-w4 strokes, w5-w8 pump hours, w9-w12
// reserved (written as 0), w13-w20 NO_M1..NO_M8, w21 NO_MP1, w22 NO_MP2.
void DecodeDeviceParams(std::span<const std::uint16_t, kDeviceParamWords> words,
                        TParamDevice& device);
void EncodeDeviceParams(const TParamDevice& device,
                        std::span<std::uint16_t, kDeviceParamWords> words);

void DecodeCalibration(std::span<const std::uint16_t, kCalibrationWords> words,
                       TCalibrTermDav& calibration);
void EncodeCalibration(const TCalibrTermDav& calibration,
                       std::span<std::uint16_t, kCalibrationWords> words);

// Manual state: w0 manual-mode bits, w1-w4 PumpSwitch, w5-w6 AnalogOut,
// w7 unused, w8-w11 ValveCommand.
void DecodeManualState(std::span<const std::uint16_t, kManualStateWords> words,
                       TParamManual& manual);
std::uint16_t EncodeManualModes(const TParamManual& manual);
std::array<std::uint16_t, 4> EncodePumpSwitches(const TParamManual& manual);
std::array<std::uint16_t, 2> EncodeAnalogOutputs(const TParamManual& manual);
// w0 = command, word `contour` = that contour's ValveCommand, all others 0.
std::array<std::uint16_t, kManualStatusWords> EncodeManualStatus(const TParamManual& manual,
                                                                 int contour, std::int16_t command);

// Archive record; analogTypes[i] is the InputType of 4-20 mA input i + 1, which
// chooses whether its value is in hundredths (1, 2) or whole units (0).
void DecodeArchiveRecord(std::span<const std::uint16_t, kArchiveRecordWords> words,
                         const std::array<std::uint8_t, 4>& analogTypes, TArxRecord& record);

} // namespace kt41::device
