// Request and answer PDUs of the driver's three functions, as hex rows.
#include "driver/ModbusPdu.h"

#include "support/HexBytes.h"

#include <gtest/gtest.h>

namespace kt41::driver::pdu {
namespace {

using kt41::testing::Hex;

TEST(ModbusPdu, RequestsCarryAddressCountAndBigEndianData) {
    EXPECT_EQ(ReadRequest(0x0300, 120), Hex("03 03 00 00 78"));
    const std::vector<std::uint8_t> data = Hex("12 34 AB CD");
    EXPECT_EQ(WriteRequest(0x0A05, data), Hex("10 0A 05 00 02 04 12 34 AB CD"));
    const std::vector<std::uint8_t> hour = Hex("07 E8 00 05 00 06 00 07");
    EXPECT_EQ(ReadWriteRequest(0x0D10, 19, 0x0D00, hour),
              Hex("17 0D 10 00 13 0D 00 00 04 08 07 E8 00 05 00 06 00 07"));
}

TEST(ModbusPdu, ReadAnswersAreTakenOnlyWhenExactlyRight) {
    struct Row {
        const char* Answer;
        std::uint8_t Function;
        std::uint16_t Count;
        bool Ok;
        const char* Why;
    };
    const Row rows[] = {
        {"03 04 00 01 00 02", 0x03, 2, true, ""},
        {"17 04 00 01 00 02", 0x17, 2, true, ""},
        {"03 06 00 01 00 02 00 03", 0x03, 2, false, "answer of wrong length"}, // too many
        {"03 02 00 01", 0x03, 2, false, "answer of wrong length"},             // too few
        {"03 04 00 01 00", 0x03, 2, false, "answer of wrong length"},          // count lies
        {"03 04 00 01 00 02 FF", 0x03, 2, false, "answer of wrong length"},    // trailing byte
        {"04 04 00 01 00 02", 0x03, 2, false, "answer to another function"},
        {"83 02", 0x03, 2, false, "exception 2"},
        {"97 04", 0x17, 19, false, "exception 4"},
        {"83", 0x03, 2, false, "malformed exception answer"},
        {"", 0x03, 2, false, "answer to another function"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Answer);
        const auto answer = Hex(r.Answer);
        std::string why;
        const auto data = ReadAnswerData(answer, r.Function, r.Count, &why);
        EXPECT_EQ(data.has_value(), r.Ok);
        if (data) {
            EXPECT_EQ(std::vector<std::uint8_t>(data->begin(), data->end()), Hex("00 01 00 02"));
        } else {
            EXPECT_EQ(why, r.Why);
        }
    }
}

TEST(ModbusPdu, WriteAnswersMustEchoAddressAndCount) {
    struct Row {
        const char* Answer;
        bool Ok;
    };
    const Row rows[] = {
        {"10 08 00 00 17", true},  {"10 08 00 00 18", false}, // other count
        {"10 08 01 00 17", false},                            // other address
        {"10 08 00 00", false},    {"10 08 00 00 17 00", false},
        {"90 06", false},          {"03 08 00 00 17", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Answer);
        std::string why;
        EXPECT_EQ(WriteAnswerOk(Hex(r.Answer), 0x0800, 23, &why), r.Ok) << why;
    }
}

} // namespace
} // namespace kt41::driver::pdu
