#pragma once

#include <cstddef>

namespace kt41::driver {

// Byte sizes of the caller-owned buffers of the driver functions. Every block
// is a sequence of 16-bit words in big-endian order, so a block of N words
// takes 2N bytes.
inline constexpr std::size_t kContourTableBytes = 16;  //  8 words
inline constexpr std::size_t kContourBytes = 240;      // 120 words, contours 1 and 2
inline constexpr std::size_t kContourExBytes = 42;     // 21 words, contours 3 and 4
inline constexpr std::size_t kInputTermBytes = 24;     // 12 words
inline constexpr std::size_t kInputAnalogBytes = 24;   // 12 words
inline constexpr std::size_t kDeviceInfoBytes = 46;    // 23 words
inline constexpr std::size_t kDeviceParamBytes = 46;   // 23 words
inline constexpr std::size_t kCalibrationBytes = 10;   //  5 words
inline constexpr std::size_t kManualStateBytes = 24;   // 12 words
inline constexpr std::size_t kManualModeBytes = 2;     //  1 word
inline constexpr std::size_t kPumpsManualBytes = 8;    //  4 words
inline constexpr std::size_t kAnalogOutBytes = 4;      //  2 words
inline constexpr std::size_t kManualStatusBytes = 20;  // 10 words
inline constexpr std::size_t kCurrentDataBytes = 42;   // 21 words
inline constexpr std::size_t kAdcCodesBytes = 4;       //  2 words
inline constexpr std::size_t kArchiveRecordBytes = 36; // 18 words
inline constexpr std::size_t kVersionBytes = 2;

} // namespace kt41::driver
