// The reference sources the simulator plays during a calibration: the codes
// the converters show for a resistance or a current, their settling, the
// kt41-sim options that set them, and the calibration block kept for a read.
#include "simulator/ReferenceSources.h"
#include "simulator/CommandLine.h"
#include "simulator/Controller.h"

#include "driver/RegisterMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace kt41::sim {
namespace {

namespace regmap = driver::regmap;

TEST(ReferenceSources, ConverterIsLinearThroughTheNominalCodesOfBothPoints) {
    struct Case {
        double Source;
        bool Resistance;
        double Code;
    };
    const Case cases[] = {
        {92.16, true, 18250.0},   {146.07, true, 28950.0}, {92.04, true, 18226.18},
        {146.79, true, 29092.90}, {4.0, false, 6000.0},    {20.0, false, 30000.0},
        {12.0, false, 18000.0},
    };
    for (const Case& c : cases) {
        const double code = c.Resistance ? ReferenceSources::CodeOfResistance(c.Source)
                                         : ReferenceSources::CodeOfCurrent(c.Source);
        EXPECT_NEAR(code, c.Code, 0.01) << c.Source;
    }
    // Both -20 °C resistors are well clear of the first-point limit; a low
    // resistance plays a faulty channel.
    EXPECT_GT(ReferenceSources::CodeOfResistance(92.04), 17500.0 + 700.0);
    EXPECT_LT(ReferenceSources::CodeOfResistance(88.0), 17500.0);
}

std::vector<std::uint16_t> ReadCodes(Controller& c) {
    const std::vector<std::uint8_t> pdu{0x03, std::uint8_t(regmap::kAdcCodes.First >> 8),
                                        std::uint8_t(regmap::kAdcCodes.First), 0, 2};
    const Reply reply = c.Handle(1, pdu);
    return {std::uint16_t((reply.Pdu[2] << 8) | reply.Pdu[3]),
            std::uint16_t((reply.Pdu[4] << 8) | reply.Pdu[5])};
}

TEST(ReferenceSources, CodesSettleOverTheReadsToTheSourceWithNoise) {
    Controller c;
    c.References().SetResistance(146.07);
    c.References().SetCurrent(20.0);
    std::vector<std::uint16_t> codes = ReadCodes(c);
    // One read has not reached the source yet ...
    EXPECT_LT(codes[0], 28950 - 50);
    for (int read = 2; read <= 6; ++read) {
        codes = ReadCodes(c);
    }
    // ... the sixth is within the noise of it, on both channels.
    EXPECT_NEAR(codes[0], 28950, 12);
    EXPECT_NEAR(codes[1], 30000, 12);
    // It moves from there when the engineer changes the source.
    c.References().SetResistance(92.16);
    EXPECT_GT(ReadCodes(c)[0], 18250 + 50);
    for (int read = 2; read <= 6; ++read) {
        codes = ReadCodes(c);
    }
    EXPECT_NEAR(codes[0], 18250, 12);
    // Noise: a run of settled reads is not one value.
    std::set<std::uint16_t> seen;
    for (int read = 0; read < 10; ++read) {
        seen.insert(ReadCodes(c)[0]);
    }
    EXPECT_GT(seen.size(), 1u);
    // Without sources the channels show the plant again.
    c.References().Clear();
    EXPECT_FALSE(c.References().Resistance());
    EXPECT_GT(std::abs(int(ReadCodes(c)[1]) - 30000), 1000);
}

TEST(ReferenceSources, AWrittenCalibrationBlockIsReadBack) {
    Controller c;
    const std::vector<std::uint16_t> words{18226, 29093, 1, 6001, 29998};
    std::vector<std::uint8_t> write{0x10,
                                    std::uint8_t(regmap::kCalibration.First >> 8),
                                    std::uint8_t(regmap::kCalibration.First),
                                    0,
                                    5,
                                    10};
    for (std::uint16_t w : words) {
        write.push_back(std::uint8_t(w >> 8));
        write.push_back(std::uint8_t(w));
    }
    ASSERT_TRUE(c.Handle(1, write).Send);
    EXPECT_EQ(c.Words(Block::Calibration), words);
    const std::vector<std::uint8_t> read{0x03, std::uint8_t(regmap::kCalibration.First >> 8),
                                         std::uint8_t(regmap::kCalibration.First), 0, 5};
    const Reply reply = c.Handle(1, read);
    ASSERT_EQ(reply.Pdu.size(), 12u);
    for (std::size_t k = 0; k < words.size(); ++k) {
        EXPECT_EQ((reply.Pdu[2 + 2 * k] << 8) | reply.Pdu[3 + 2 * k], words[k]);
    }
    EXPECT_EQ(c.CurrentConfiguration().Calibration.Type_T, 1);
}

TEST(ReferenceSources, Kt41SimSetsThemFromItsOptions) {
    std::string error;
    const auto cl =
        ParseSimCommandLine({"--pty", "--resistance", "92,16", "--current", "4"}, &error);
    ASSERT_TRUE(cl) << error;
    EXPECT_DOUBLE_EQ(*cl->Resistance, 92.16);
    EXPECT_DOUBLE_EQ(*cl->Current, 4.0);
    const std::vector<std::vector<std::string>> refused{
        {"--pty", "--resistance"},      {"--pty", "--resistance", "ninety"},
        {"--pty", "--resistance", "5"}, {"--pty", "--current", "30"},
        {"--pty", "--current", "4mA"},
    };
    for (const auto& args : refused) {
        EXPECT_FALSE(ParseSimCommandLine(args, &error)) << args.back();
    }
    EXPECT_NE(SimHelpText().find("--resistance OHMS"), std::string::npos);
    EXPECT_NE(SimHelpText().find("--current MA"), std::string::npos);
}

} // namespace
} // namespace kt41::sim
