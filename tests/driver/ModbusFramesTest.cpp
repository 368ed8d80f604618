// RTU and TCP frames as both ends of the line build and read them, as hex rows.
#include "driver/ModbusFrames.h"

#include "support/HexBytes.h"

#include <gtest/gtest.h>

namespace kt41::driver::frames {
namespace {

using kt41::testing::Hex;

TEST(ModbusFrames, RtuCrcOfPublishedFrames) {
    // Frames as they appear in the usual Modbus RTU examples, CRC low byte first.
    for (const char* frame :
         {"01 03 00 00 00 0A C5 CD", "11 03 00 6B 00 03 76 87", "01 06 00 01 00 03 98 0B"}) {
        SCOPED_TRACE(frame);
        const auto bytes = Hex(frame);
        EXPECT_TRUE(RtuCrcOk(bytes));
        EXPECT_EQ(RtuFrame(bytes[0], std::span(bytes).subspan(1, bytes.size() - 3)), bytes);
        auto damaged = bytes;
        damaged[2] ^= 0x01;
        EXPECT_FALSE(RtuCrcOk(damaged));
    }
}

TEST(ModbusFrames, RtuAnswersAreFramedByFunctionCodeAndByteCount) {
    struct Row {
        const char* Received;
        Length Status;
        std::size_t Bytes;
    };
    const Row rows[] = {
        {"", Length::NeedMore, 0},           {"01", Length::NeedMore, 0},
        {"01 03", Length::NeedMore, 0},      // byte count not yet in
        {"01 03 08", Length::Known, 13},     // 3 + 8 + CRC
        {"01 17 26", Length::Known, 43},     // the archive answer
        {"01 10", Length::Known, 8},         // echo of address and count
        {"01 83", Length::Known, 5},         // exception reply
        {"01 97", Length::Known, 5},         // likewise for function 23
        {"01 03 FC", Length::Unknown, 0},    // longer than a frame can be
        {"01 2B 0E 01", Length::Unknown, 0}, // a function we cannot frame
        {"01 00", Length::Unknown, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Received);
        const auto length = RtuAnswerLength(Hex(r.Received));
        EXPECT_EQ(length.Status, r.Status);
        if (r.Status == Length::Known) {
            EXPECT_EQ(length.Bytes, r.Bytes);
        }
    }
}

TEST(ModbusFrames, MbapHeaderCarriesTransactionLengthAndUnit) {
    const auto request = TcpFrame(0x1234, 7, Hex("03 01 00 00 04"));
    EXPECT_EQ(request, Hex("12 34 00 00 00 06 07 03 01 00 00 04"));
    const MbapHeader h = ReadMbap(request);
    EXPECT_EQ(h.Transaction, 0x1234);
    EXPECT_EQ(h.Unit, 7);
    EXPECT_TRUE(h.Valid());
    EXPECT_EQ(h.FrameBytes(), request.size());

    struct Row {
        const char* Header;
        bool Valid;
    };
    const Row rows[] = {
        {"00 01 00 00 00 02 01", true},  // unit and a one-byte PDU
        {"00 01 00 00 00 FE 01", true},  // unit and 253 bytes
        {"00 01 00 00 00 FF 01", false}, // longer than a PDU can be
        {"00 01 00 00 00 01 01", false}, // no PDU
        {"00 01 00 FF 00 06 01", false}, // not Modbus
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Header);
        EXPECT_EQ(ReadMbap(Hex(r.Header)).Valid(), r.Valid);
    }
}

} // namespace
} // namespace kt41::driver::frames
