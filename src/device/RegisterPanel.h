#pragma once

#include "driver/Kt41Driver.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kt41::device {

// The service panel's raw register access: one buffer shared by reads and
// writes, the driver's ReadRegisters and WriteRegisters at unit 1, and the log
// lines that report them. The buffer is never read or written past its end:
// a count outside 1..kMaxCount is refused without an exchange (reported as a
// failed read or write), and the dump line shows at most the whole buffer.
class RegisterPanel {
public:
    static constexpr std::size_t kBufferBytes = 60;
    static constexpr int kMaxCount = int(kBufferBytes / 2);
    static constexpr std::uint8_t kUnit = 1;
    static constexpr std::uint8_t kReadFunction = 3;

    struct Outcome {
        bool Ok = false;
        std::vector<std::string> Lines; // to log, in order
    };

    explicit RegisterPanel(driver::Kt41Driver& driver);

    // Reads count registers from first: the result line, then the dump of the
    // buffer's first 2 x count bytes (after success and failure alike). A
    // SerialPortError of the driver reaches the caller.
    Outcome Read(std::uint16_t first, int count);
    // Writes count registers from first out of the buffer: the dump first,
    // then the result line. A count of 1 writes the register value 1.
    Outcome Write(std::uint16_t first, int count);

    const std::array<std::uint8_t, kBufferBytes>& Buffer() const { return buffer_; }

    // " 0A FF ..." : each byte as a blank and two upper-case hex digits.
    static std::string HexDump(const std::uint8_t* bytes, std::size_t size);

private:
    static bool CountFits(std::uint16_t count) { return count >= 1 && count <= kMaxCount; }
    std::string Dump(std::uint16_t count) const;

    driver::Kt41Driver& driver_;
    std::array<std::uint8_t, kBufferBytes> buffer_{};
};

} // namespace kt41::device
