#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace kt41::testing {

// Bytes written as a row of hexadecimal numbers: "01 03 00 6B".
inline std::vector<std::uint8_t> Hex(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::uint8_t> bytes;
    unsigned value = 0;
    while (in >> std::hex >> value) {
        bytes.push_back(std::uint8_t(value));
    }
    return bytes;
}

} // namespace kt41::testing
