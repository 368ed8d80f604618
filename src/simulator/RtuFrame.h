#pragma once

#include "driver/ModbusFrames.h"

#include <span>

// Modbus RTU framing on the server side. Requests are framed by the length
// their function code implies, not by the silence between frames; the CRC and
// the answer frames are those of driver/ModbusFrames.h.

namespace kt41::sim::rtu {

using driver::frames::FrameLength;
using driver::frames::Length;

// How long the request frame at the start of `bytes` is, as far as the bytes
// received so far tell: functions 1 to 6 have fixed length, 15, 16 and 23 carry
// a byte count. Any other function code cannot be framed (Unknown).
FrameLength RequestFrameLength(std::span<const std::uint8_t> bytes);

} // namespace kt41::sim::rtu
