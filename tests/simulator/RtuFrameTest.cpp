// RTU request framing of the simulator's server side, as hex rows.
#include "simulator/RtuFrame.h"

#include "support/HexBytes.h"

#include <gtest/gtest.h>

namespace kt41::sim::rtu {
namespace {

using kt41::testing::Hex;

TEST(RtuFrame, RequestsAreFramedByTheirFunctionCode) {
    struct Row {
        const char* Received;
        Length Status;
        std::size_t Bytes;
    };
    const Row rows[] = {
        {"", Length::NeedMore, 0},
        {"01", Length::NeedMore, 0},
        {"01 03", Length::Known, 8},
        {"01 06 00", Length::Known, 8},
        {"01 10 0A 05 00 02", Length::NeedMore, 0},  // byte count not yet in
        {"01 10 0A 05 00 02 04", Length::Known, 13}, // 7 + 4 + CRC
        {"01 17 0D 10 00 13 0D 00 00 04", Length::NeedMore, 0},
        {"01 17 0D 10 00 13 0D 00 00 04 08", Length::Known, 21},
        {"01 2B 0E 01 00", Length::Unknown, 0},
        {"01 83 02", Length::Unknown, 0}, // an answer is not a request
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Received);
        const auto length = RequestFrameLength(Hex(r.Received));
        EXPECT_EQ(length.Status, r.Status);
        if (r.Status == Length::Known) {
            EXPECT_EQ(length.Bytes, r.Bytes);
        }
    }
}

} // namespace
} // namespace kt41::sim::rtu
