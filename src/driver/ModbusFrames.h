#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Modbus frames as they travel on the line, for both ends of it: the driver
// builds requests and takes answers apart, the simulator does the opposite.
//
// RTU (MODBUS over Serial Line V1.02, 2.5.1): unit address, PDU, CRC-16 with
// its low byte first.
// TCP (MODBUS Messaging on TCP/IP Implementation Guide V1.0b, 3.1.3): the MBAP
// header (transaction identifier, protocol identifier 0, length of what
// follows, unit identifier) and the PDU.

namespace kt41::driver::frames {

// MODBUS Application Protocol V1.1b3, 4.1: a PDU has at most 253 bytes, an RTU
// frame at most 256.
inline constexpr std::size_t kMaxPdu = 253;
inline constexpr std::size_t kMaxRtuFrame = 256;
inline constexpr std::size_t kMbapHeader = 7;

// CRC-16/MODBUS: polynomial 0xA001 (reflected 0x8005), initial value 0xFFFF.
std::uint16_t Crc16(std::span<const std::uint8_t> bytes);
// The unit address, `pdu` and its CRC.
std::vector<std::uint8_t> RtuFrame(std::uint8_t unit, std::span<const std::uint8_t> pdu);
// Whether a whole RTU frame ends in the CRC of what precedes it.
bool RtuCrcOk(std::span<const std::uint8_t> frame);

enum class Length { NeedMore, Known, Unknown };
struct FrameLength {
    Length Status = Length::NeedMore;
    std::size_t Bytes = 0; // whole frame, CRC included, when Known
};

// How long the RTU answer frame at the start of `bytes` is, as far as the
// bytes received so far tell: an exception reply (function code | 0x80) has 5
// bytes, functions 1 to 4 and 23 carry a byte count, 5, 6, 15 and 16 echo 4
// bytes. Unknown for any other function code and for a byte count longer than
// a frame can hold.
FrameLength RtuAnswerLength(std::span<const std::uint8_t> bytes);

struct MbapHeader {
    std::uint16_t Transaction = 0;
    std::uint16_t Protocol = 0;
    std::uint16_t Following = 0; // bytes after the length field: unit and PDU
    std::uint8_t Unit = 0;

    // Protocol 0 and room for a unit and a PDU of 1 to 253 bytes.
    bool Valid() const { return Protocol == 0 && Following >= 2 && Following <= kMaxPdu + 1; }
    std::size_t FrameBytes() const { return 6 + std::size_t(Following); }
};

// The header at the start of `bytes`, which holds at least kMbapHeader bytes.
MbapHeader ReadMbap(std::span<const std::uint8_t> bytes);
// The MBAP header and `pdu`.
std::vector<std::uint8_t> TcpFrame(std::uint16_t transaction, std::uint8_t unit,
                                   std::span<const std::uint8_t> pdu);

} // namespace kt41::driver::frames
