#include "RtuFrame.h"

namespace kt41::sim::rtu {

FrameLength RequestFrameLength(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2) {
        return {};
    }
    // unit + function + data + CRC
    auto counted = [&](std::size_t countAt) -> FrameLength {
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

} // namespace kt41::sim::rtu
