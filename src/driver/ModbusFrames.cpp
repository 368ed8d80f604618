#include "ModbusFrames.h"

#include <algorithm>

namespace kt41::driver::frames {

namespace {

constexpr std::uint8_t kExceptionFlag = 0x80;

} // namespace

std::uint16_t Crc16(std::span<const std::uint8_t> bytes) {
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t b : bytes) {
        crc ^= b;
        for (int i = 0; i < 8; ++i) {
            crc = (crc & 1u) != 0 ? std::uint16_t((crc >> 1) ^ 0xA001) : std::uint16_t(crc >> 1);
        }
    }
    return crc;
}

std::vector<std::uint8_t> RtuFrame(std::uint8_t unit, std::span<const std::uint8_t> pdu) {
    std::vector<std::uint8_t> frame(pdu.size() + 3);
    frame[0] = unit;
    std::copy(pdu.begin(), pdu.end(), frame.begin() + 1);
    const std::uint16_t crc = Crc16(std::span(frame).first(pdu.size() + 1));
    frame[pdu.size() + 1] = std::uint8_t(crc);
    frame[pdu.size() + 2] = std::uint8_t(crc >> 8);
    return frame;
}

bool RtuCrcOk(std::span<const std::uint8_t> frame) {
    if (frame.size() < 4) {
        return false;
    }
    const std::uint16_t crc = Crc16(frame.first(frame.size() - 2));
    return frame[frame.size() - 2] == std::uint8_t(crc) &&
           frame[frame.size() - 1] == std::uint8_t(crc >> 8);
}

FrameLength RtuAnswerLength(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2) {
        return {};
    }
    const std::uint8_t function = bytes[1];
    if ((function & kExceptionFlag) != 0) {
        return {Length::Known, 5}; // unit, function, exception code, CRC
    }
    switch (function) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 23: {
        if (bytes.size() < 3) {
            return {};
        }
        const std::size_t length = 3 + std::size_t(bytes[2]) + 2;
        if (length > kMaxRtuFrame) {
            return {Length::Unknown, 0};
        }
        return {Length::Known, length};
    }
    case 5:
    case 6:
    case 15:
    case 16:
        return {Length::Known, 8}; // unit, function, address, value or quantity, CRC
    default:
        return {Length::Unknown, 0};
    }
}

MbapHeader ReadMbap(std::span<const std::uint8_t> bytes) {
    MbapHeader h;
    h.Transaction = std::uint16_t((bytes[0] << 8) | bytes[1]);
    h.Protocol = std::uint16_t((bytes[2] << 8) | bytes[3]);
    h.Following = std::uint16_t((bytes[4] << 8) | bytes[5]);
    h.Unit = bytes[6];
    return h;
}

std::vector<std::uint8_t> TcpFrame(std::uint16_t transaction, std::uint8_t unit,
                                   std::span<const std::uint8_t> pdu) {
    const std::size_t following = pdu.size() + 1;
    std::vector<std::uint8_t> frame(kMbapHeader + pdu.size());
    frame[0] = std::uint8_t(transaction >> 8);
    frame[1] = std::uint8_t(transaction);
    frame[4] = std::uint8_t(following >> 8); // protocol identifier 0 in bytes 2 and 3
    frame[5] = std::uint8_t(following);
    frame[6] = unit;
    std::copy(pdu.begin(), pdu.end(), frame.begin() + long(kMbapHeader));
    return frame;
}

} // namespace kt41::driver::frames
