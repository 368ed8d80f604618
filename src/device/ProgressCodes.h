#pragma once

#include <cstdint>

namespace kt41::device {

// Progress codes of window message 1129. An operation announces itself with
// code N + 30 and ends with code N; lParam's low word is the outcome
// (0 success), its high word a contour number for codes 14 and 44.
namespace progress {
inline constexpr int Idle = 1;
inline constexpr int ReadConfigDone = 4;
inline constexpr int WriteConfigDone = 5;
inline constexpr int ReadCurrentDone = 10;
inline constexpr int ReadArchiveDone = 11;
inline constexpr int ReadManualDone = 12;
inline constexpr int WriteManualModesDone = 13;
inline constexpr int WriteValveDone = 14;
inline constexpr int WriteAnalogDone = 15;
inline constexpr int WritePumpsDone = 16;
inline constexpr int ExportDone = 17;
inline constexpr int ReadAdcDone = 18;
inline constexpr int WriteCalibrationDone = 19;
inline constexpr int IdleAfter = 31;
inline constexpr int ReadConfigStart = 34;
inline constexpr int WriteConfigStart = 35;
inline constexpr int ClockOpened = 39;
inline constexpr int CurrentPageShown = 40;
inline constexpr int ReadArchiveStart = 41;
inline constexpr int ReadManualStart = 42;
inline constexpr int WriteManualModesStart = 43;
inline constexpr int WriteValveStart = 44;
inline constexpr int WriteAnalogStart = 45;
inline constexpr int WritePumpsStart = 46;
inline constexpr int TermCalibrationStart = 47;
inline constexpr int PressCalibrationStart = 48;
inline constexpr int WriteCalibrationStart = 49;
} // namespace progress

inline std::uint32_t OutcomeParam(bool ok) {
    return ok ? 0u : 1u;
}
inline std::uint32_t ContourParam(int contour, bool ok = true) {
    return (std::uint32_t(contour) << 16) | OutcomeParam(ok);
}

} // namespace kt41::device
