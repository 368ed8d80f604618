#include "RtuFrame.h"

#include <algorithm>

namespace kt41::sim::rtu {

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

std::vector<std::uint8_t> Frame(std::uint8_t unit, std::span<const std::uint8_t> pdu) {
    std::vector<std::uint8_t> frame(pdu.size() + 3);
    frame[0] = unit;
    std::copy(pdu.begin(), pdu.end(), frame.begin() + 1);
    const std::uint16_t crc = Crc16(std::span(frame).first(pdu.size() + 1));
    frame[pdu.size() + 1] = std::uint8_t(crc);
    frame[pdu.size() + 2] = std::uint8_t(crc >> 8);
    return frame;
}

RequestLength RequestFrameLength(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2) {
        return {};
    }
    // unit + function + data + CRC
    auto counted = [&](std::size_t countAt) -> RequestLength {
        if (bytes.size() <= countAt) {
            return {};
        }
        return {Length::Known, countAt + 1 + bytes[countAt] + 2};
    };
    switch (bytes[1]) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
        return {Length::Known, 8}; // address (2) and quantity or value (2)
    case 15:
    case 16:
        return counted(6); // address, quantity, byte count
    case 23:
        return counted(10); // read address, read quantity, write address, write quantity, count
    default:
        return {Length::Unknown, 0};
    }
}

bool CrcOk(std::span<const std::uint8_t> frame) {
    if (frame.size() < 4) {
        return false;
    }
    const std::uint16_t crc = Crc16(frame.first(frame.size() - 2));
    return frame[frame.size() - 2] == std::uint8_t(crc) &&
           frame[frame.size() - 1] == std::uint8_t(crc >> 8);
}

} // namespace kt41::sim::rtu
