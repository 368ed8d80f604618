// The access rules of the register map as docs/protocol.md states them: every
// block of the page's map gets each kind of request, and the answer is the one
// the page names. kPageMap below is the page's table "Register map".
#include "simulator/Controller.h"

#include "driver/RegisterMap.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kt41::sim {
namespace {

namespace regmap = driver::regmap;

constexpr std::uint8_t kOk = 0; // no exception

std::vector<std::uint8_t> Read(std::uint16_t first, std::uint16_t count) {
    return {0x03, std::uint8_t(first >> 8), std::uint8_t(first), std::uint8_t(count >> 8),
            std::uint8_t(count)};
}

void PutWords(std::vector<std::uint8_t>& pdu, const std::vector<std::uint16_t>& words) {
    for (std::uint16_t w : words) {
        pdu.push_back(std::uint8_t(w >> 8));
        pdu.push_back(std::uint8_t(w));
    }
}

std::vector<std::uint8_t> Write(std::uint16_t first, const std::vector<std::uint16_t>& words) {
    std::vector<std::uint8_t> pdu{0x10,
                                  std::uint8_t(first >> 8),
                                  std::uint8_t(first),
                                  std::uint8_t(words.size() >> 8),
                                  std::uint8_t(words.size()),
                                  std::uint8_t(2 * words.size())};
    PutWords(pdu, words);
    return pdu;
}

// Function 23: the write is done first, then the read.
std::vector<std::uint8_t> ReadWrite(std::uint16_t readFirst, std::uint16_t readCount,
                                    std::uint16_t writeFirst,
                                    const std::vector<std::uint16_t>& words) {
    std::vector<std::uint8_t> pdu{0x17,
                                  std::uint8_t(readFirst >> 8),
                                  std::uint8_t(readFirst),
                                  std::uint8_t(readCount >> 8),
                                  std::uint8_t(readCount),
                                  std::uint8_t(writeFirst >> 8),
                                  std::uint8_t(writeFirst),
                                  0,
                                  std::uint8_t(words.size()),
                                  std::uint8_t(2 * words.size())};
    PutWords(pdu, words);
    return pdu;
}

// The exception code of an answer, kOk for a normal answer.
std::uint8_t Outcome(const Reply& reply) {
    EXPECT_TRUE(reply.Send);
    EXPECT_GE(reply.Pdu.size(), 2u);
    if (reply.Pdu.size() < 2) {
        return 0xFF;
    }
    return (reply.Pdu[0] & 0x80) != 0 ? reply.Pdu[1] : kOk;
}

std::vector<std::uint16_t> Registers(const Reply& reply) {
    std::vector<std::uint16_t> words;
    for (std::size_t k = 2; k + 1 < reply.Pdu.size(); k += 2) {
        words.push_back(std::uint16_t((reply.Pdu[k] << 8) | reply.Pdu[k + 1]));
    }
    return words;
}

enum class Writes {
    No,        // read only
    Registers, // any run of the first `Writable` words
    Whole,     // the whole block in one request only
};

struct MapRow {
    const char* Name;
    std::uint16_t First;
    std::uint16_t Count;
    Writes Write;
    std::uint16_t Writable;
    // Words a whole write sends; empty: the block's own words, read first.
    std::vector<std::uint16_t> Sample;
};

// docs/protocol.md, "Register map".
const std::vector<MapRow> kPageMap{
    {"general registers", 0x0000, 256, Writes::Registers, 256, {}},
    {"identity", 0x0100, 23, Writes::No, 0, {}},
    {"contour table", 0x0200, 8, Writes::Whole, 8, {}},
    {"contour 1", 0x0300, 120, Writes::Whole, 120, {}},
    {"contour 2", 0x0400, 120, Writes::Whole, 120, {}},
    {"contour 3", 0x0500, 21, Writes::Whole, 21, {}},
    {"contour 4", 0x0600, 21, Writes::Whole, 21, {}},
    {"thermometer inputs", 0x0700, 12, Writes::Whole, 12, {}},
    {"4-20 mA inputs", 0x0710, 12, Writes::Whole, 12, {}},
    {"device parameters", 0x0800, 23, Writes::Whole, 23, {}},
    {"calibration", 0x0900, 5, Writes::Whole, 5, {}},
    {"manual state", 0x0A00, 12, Writes::Registers, 7, {}},
    {"valve drive command", 0x0A10, 10, Writes::Whole, 10, {}},
    {"current data", 0x0B00, 21, Writes::No, 0, {}},
    {"converter codes", 0x0B20, 2, Writes::No, 0, {}},
    {"clock", 0x0C00, 6, Writes::Whole, 6, {2031, 7, 14, 9, 30, 0}},
    {"archive request", 0x0D00, 4, Writes::Whole, 4, {2024, 2, 29, 23}},
    {"archive answer", 0x0D10, 19, Writes::No, 0, {}},
};

struct Case {
    std::string What;
    std::vector<std::uint8_t> Pdu;
    std::uint8_t Expected;
};

// Every kind of request against one block of the map.
std::vector<Case> CasesFor(Controller& c, const MapRow& row) {
    const std::uint16_t last = std::uint16_t(row.First + row.Count - 1);
    const std::uint16_t readable = std::min<std::uint16_t>(row.Count, regmap::kMaxReadRegisters);
    std::vector<Case> cases{
        {"read of the whole block", Read(row.First, readable), kOk},
        {"read of its last word", Read(last, 1), kOk},
        {"read running past its end", Read(last, 2), regmap::kIllegalDataAddress},
    };
    if (row.First > 0) {
        cases.push_back(
            {"read starting before it", Read(row.First - 1, 2), regmap::kIllegalDataAddress});
    }
    std::vector<std::uint16_t> sample = row.Sample;
    if (sample.empty()) {
        sample = Registers(c.Handle(1, Read(row.First, readable)));
    }
    switch (row.Write) {
    case Writes::No:
        cases.push_back(
            {"write of the whole block", Write(row.First, sample), regmap::kIllegalDataAddress});
        cases.push_back({"write of one word", Write(last, {0}), regmap::kIllegalDataAddress});
        break;
    case Writes::Whole:
        cases.push_back({"write of the whole block", Write(row.First, sample), kOk});
        if (row.Count > 1) {
            cases.push_back({"write of its first word alone", Write(row.First, {sample[0]}),
                             regmap::kIllegalDataAddress});
            cases.push_back({"write of all but its first word",
                             Write(row.First + 1, {sample.begin() + 1, sample.end()}),
                             regmap::kIllegalDataAddress});
        }
        break;
    case Writes::Registers: {
        const std::uint16_t lastWritable = std::uint16_t(row.First + row.Writable - 1);
        cases.push_back({"write of its last writable word", Write(lastWritable, {0}), kOk});
        cases.push_back({"write running past its writable words", Write(lastWritable, {0, 0}),
                         regmap::kIllegalDataAddress});
        break;
    }
    }
    return cases;
}

TEST(AccessRules, EveryBlockAnswersEachKindOfRequestAsThePageSays) {
    for (const MapRow& row : kPageMap) {
        Controller c;
        for (const Case& k : CasesFor(c, row)) {
            SCOPED_TRACE(std::string(row.Name) + ": " + k.What);
            EXPECT_EQ(Outcome(c.Handle(1, k.Pdu)), k.Expected);
        }
    }
}

TEST(AccessRules, RequestsOutsideTheMapOrItsFunctionsAreRefused) {
    const std::vector<Case> cases{
        {"an address outside every block", Read(0x0F00, 1), regmap::kIllegalDataAddress},
        {"the gap after a contour block", Read(0x0378, 1), regmap::kIllegalDataAddress},
        {"a read across two adjacent blocks", Read(0x00FF, 2), regmap::kIllegalDataAddress},
        {"a read of no register", Read(0x0000, 0), regmap::kIllegalDataValue},
        {"a read of 126 registers", Read(0x0000, 126), regmap::kIllegalDataValue},
        {"a write of 124 registers", Write(0x0000, std::vector<std::uint16_t>(124, 0)),
         regmap::kIllegalDataValue},
        {"a byte count that does not match",
         {0x10, 0x00, 0x00, 0x00, 0x01, 0x04, 0x00, 0x01},
         regmap::kIllegalDataValue},
        {"function 06, write single register",
         {0x06, 0x00, 0x00, 0x00, 0x01},
         regmap::kIllegalFunction},
        {"function 04, read input registers",
         {0x04, 0x0B, 0x00, 0x00, 0x15},
         regmap::kIllegalFunction},
        {"function 01, read coils", {0x01, 0x00, 0x00, 0x00, 0x01}, regmap::kIllegalFunction},
        {"a clock setting that is no date", Write(0x0C00, {2024, 2, 30, 0, 0, 0}),
         regmap::kIllegalDataValue},
        {"a clock setting outside its years", Write(0x0C00, {2100, 1, 1, 0, 0, 0}),
         regmap::kIllegalDataValue},
        {"an archive request for hour 24", ReadWrite(0x0D10, 19, 0x0D00, {2024, 1, 1, 24}),
         regmap::kIllegalDataValue},
        {"function 23 whose read leaves its block", ReadWrite(0x0D10, 20, 0x0D00, {2024, 1, 1, 1}),
         regmap::kIllegalDataAddress},
        {"function 23 writing a read-only block", ReadWrite(0x0D10, 19, 0x0B00, {1, 2, 3, 4}),
         regmap::kIllegalDataAddress},
    };
    Controller c;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.What);
        EXPECT_EQ(Outcome(c.Handle(1, k.Pdu)), k.Expected);
    }
}

TEST(AccessRules, ArchiveRequestReadsBackAndTheAnswerIsEmptyBeforeAnyRequest) {
    Controller c;
    // No request yet: the answer says "no record", the request reads as zeros.
    const Reply before = c.Handle(1, Read(regmap::kArchiveAnswer.First, 19));
    EXPECT_EQ(Outcome(before), kOk);
    EXPECT_EQ(Registers(before), std::vector<std::uint16_t>(19, 0));
    EXPECT_EQ(Registers(c.Handle(1, Read(regmap::kArchiveRequest.First, 4))),
              std::vector<std::uint16_t>(4, 0));

    ASSERT_EQ(Outcome(c.Handle(1, ReadWrite(0x0D10, 19, 0x0D00, {2024, 3, 1, 6}))), kOk);
    EXPECT_EQ(Registers(c.Handle(1, Read(regmap::kArchiveRequest.First, 4))),
              (std::vector<std::uint16_t>{2024, 3, 1, 6}));
    // A refused request, whether for its values or for its read, changes nothing.
    c.Handle(1, ReadWrite(0x0D10, 19, 0x0D00, {2024, 13, 1, 6}));
    c.Handle(1, ReadWrite(0x0D10, 20, 0x0D00, {2025, 1, 1, 1}));
    EXPECT_EQ(Registers(c.Handle(1, Read(regmap::kArchiveRequest.First, 4))),
              (std::vector<std::uint16_t>{2024, 3, 1, 6}));
}

TEST(AccessRules, ARefusedClockWriteLeavesTheClockAlone) {
    Controller c;
    c.SetClock(driver::CivilDateTime{2030, 6, 1, 8, 0, 0});
    c.Handle(1, Write(regmap::kClock.First + 4, {59})); // the minute alone
    c.Handle(1, Write(regmap::kClock.First, {2030, 6, 31, 8, 0, 0}));
    EXPECT_EQ(c.Clock().Day, 1);
    EXPECT_EQ(c.Clock().Hour, 8);
    EXPECT_LT(c.Clock().Minute, 2);
}

} // namespace
} // namespace kt41::sim
