#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Modbus RTU framing on the server side: a frame is the unit address, the PDU
// and a CRC-16 (low byte first). Requests are framed by the length their
// function code implies, not by the silence between frames.

namespace kt41::sim::rtu {

// CRC-16/MODBUS: polynomial 0xA001 (reflected 0x8005), initial value 0xFFFF.
std::uint16_t Crc16(std::span<const std::uint8_t> bytes);

// The unit address, `pdu` and its CRC.
std::vector<std::uint8_t> Frame(std::uint8_t unit, std::span<const std::uint8_t> pdu);

enum class Length { NeedMore, Known, Unknown };
struct RequestLength {
    Length Status = Length::NeedMore;
    std::size_t Bytes = 0; // whole frame, CRC included, when Known
};

// How long the request frame at the start of `bytes` is, as far as the bytes
// received so far tell: functions 1 to 6 have fixed length, 15, 16 and 23 carry
// a byte count. Any other function code cannot be framed (Unknown).
RequestLength RequestFrameLength(std::span<const std::uint8_t> bytes);

// Whether a whole frame ends in the CRC of what precedes it.
bool CrcOk(std::span<const std::uint8_t> frame);

} // namespace kt41::sim::rtu
