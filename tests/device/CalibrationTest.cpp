// The converter-code monitor's phases and the calibration arithmetic and
// texts, without a window.
#include "device/Calibration.h"
#include "device/CodeMonitor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

namespace kt41::device {
namespace {

using Codes = std::array<std::uint16_t, 2>;

// Reads numbered from 1; read n gives the codes 1000 + n and 2000 + n.
Codes ReadNumber(int n) {
    return {std::uint16_t(1000 + n), std::uint16_t(2000 + n)};
}

TEST(CodeMonitor, FiveSettlingTicksThenOneSamplePerTickFromTheLastElementDown) {
    for (const std::size_t count : {std::size_t(16), std::size_t(100)}) {
        CodeMonitor monitor;
        monitor.Start(CodeMonitor::Temperature, count);
        EXPECT_EQ(monitor.CurrentState(), CodeMonitor::Stabilising);
        EXPECT_EQ(monitor.Countdown(), 5);
        int read = 0;
        for (int countdown = 4; countdown >= 1; --countdown) {
            EXPECT_EQ(monitor.Tick(ReadNumber(++read)), CodeMonitor::Stabilising);
            EXPECT_EQ(monitor.Countdown(), countdown);
        }
        EXPECT_EQ(monitor.Tick(ReadNumber(++read)), CodeMonitor::Measuring);
        EXPECT_EQ(monitor.Countdown(), int(count));
        EXPECT_EQ(monitor.Taken(), 0u);
        while (monitor.CurrentState() == CodeMonitor::Measuring) {
            monitor.Tick(ReadNumber(++read));
            EXPECT_EQ(monitor.LatestSample(), 1000 + read);
        }
        EXPECT_EQ(monitor.CurrentState(), CodeMonitor::Finished);
        EXPECT_EQ(read, int(count) + 5) << "reads before the monitor finished";
        // Read 6 went into the last element, the last read into the first.
        const auto& samples = monitor.Samples();
        ASSERT_EQ(samples.size(), count);
        EXPECT_EQ(samples.back(), 1006);
        EXPECT_EQ(samples.front(), 1000 + read);
        // Nothing more happens, and a late cancel leaves the result alone.
        EXPECT_EQ(monitor.Tick(ReadNumber(++read)), CodeMonitor::Finished);
        monitor.Cancel();
        EXPECT_EQ(monitor.CurrentState(), CodeMonitor::Finished);
        EXPECT_EQ(samples.front(), 1000 + read - 1);
    }
}

TEST(CodeMonitor, CancelOrAFailedReadClosesItInEitherPhase) {
    for (const int ticksBefore : {2, 8}) {
        for (const bool fail : {false, true}) {
            CodeMonitor monitor;
            monitor.Start(CodeMonitor::Temperature, 16);
            for (int n = 1; n <= ticksBefore; ++n) {
                monitor.Tick(ReadNumber(n));
            }
            if (fail) {
                EXPECT_EQ(monitor.Tick(std::nullopt), CodeMonitor::Closed);
            } else {
                monitor.Cancel();
            }
            EXPECT_EQ(monitor.CurrentState(), CodeMonitor::Closed);
            EXPECT_EQ(monitor.Tick(ReadNumber(99)), CodeMonitor::Closed);
        }
    }
}

TEST(CodeMonitor, ThePressureChannelKeepsTheSecondCodeAndAStartClearsTheSamples) {
    CodeMonitor monitor;
    monitor.Start(CodeMonitor::Pressure, 16);
    for (int n = 1; n <= 21; ++n) {
        monitor.Tick(ReadNumber(n));
    }
    ASSERT_EQ(monitor.CurrentState(), CodeMonitor::Finished);
    EXPECT_EQ(monitor.Samples().back(), 2006);
    EXPECT_EQ(monitor.Samples().front(), 2021);
    monitor.Start(CodeMonitor::Temperature, 20);
    EXPECT_EQ(monitor.Samples(), std::vector<double>(20, 0.0));
    EXPECT_EQ(monitor.LatestSample(), std::nullopt);
}

TEST(Calibration, MeansBecomeValuesWithTiesToEven) {
    struct Case {
        double Sum;
        double Mean;
        std::uint16_t Value;
    };
    const Case cases[] = {
        {292008.0, 18250.5, 18250},    {292024.0, 18251.5, 18252}, {292009.0, 18250.5625, 18251},
        {292007.0, 18250.4375, 18250}, {96000.0, 6000.0, 6000},    {480008.0, 30000.5, 30000},
    };
    for (const Case& c : cases) {
        // Sixteen samples with that sum: fifteen equal, the rest in the last.
        std::vector<double> samples(16, std::floor(c.Sum / 16));
        samples.back() += c.Sum - std::accumulate(samples.begin(), samples.end(), 0.0);
        EXPECT_DOUBLE_EQ(MeanCode(samples), c.Mean) << c.Sum;
        EXPECT_EQ(CalibrationValue(c.Mean), c.Value) << c.Sum;
    }
    EXPECT_EQ(CalibrationValue(0.5), 0);
    EXPECT_EQ(CalibrationValue(1.5), 2);
    EXPECT_EQ(CalibrationValue(-3.0), 0);
    EXPECT_EQ(CalibrationValue(70000.0), 65535);
}

TEST(Calibration, TheFirstTemperaturePointNeedsAMeanOf17500) {
    std::vector<double> samples(16, 17500.0);
    EXPECT_TRUE(FirstTermPointUsable(MeanCode(samples)));
    samples[0] = 17499.0; // mean 17 499.9375
    EXPECT_FALSE(FirstTermPointUsable(MeanCode(samples)));
    EXPECT_FALSE(FirstTermPointUsable(17499.94));
}

TEST(Calibration, ReferencesAndPromptsOfEachPoint) {
    EXPECT_EQ(TermReference(0, 1),
              (CalibrationReference{CalibrationReference::Resistance, 1, 92.16}));
    EXPECT_EQ(TermReference(0, 2),
              (CalibrationReference{CalibrationReference::Resistance, 2, 146.07}));
    EXPECT_EQ(TermReference(1, 1),
              (CalibrationReference{CalibrationReference::Resistance, 1, 92.04}));
    EXPECT_EQ(TermReference(1, 2),
              (CalibrationReference{CalibrationReference::Resistance, 2, 146.79}));
    EXPECT_EQ(PressReference(1), (CalibrationReference{CalibrationReference::Current, 1, 4.0}));
    EXPECT_EQ(PressReference(2), (CalibrationReference{CalibrationReference::Current, 2, 20.0}));

    // "Т" is the Cyrillic letter (D0 A2), "T" the Latin one.
    const std::string cyrillicT = "\xD0\xA2";
    const std::string letters =
        cyrillicT + "1, " + cyrillicT + "2, " + cyrillicT + "3, T4, T5, T6 = ";
    const std::vector<std::string> term11{"Установите значение сопротивления ",
                                          "R1 = 92,04 Ом",
                                          "",
                                          "соответствующее температурам",
                                          letters + "-20,00 °C",
                                          "и",
                                          "нажмите любую клавишу"};
    EXPECT_EQ(TermPromptLines(1, 1), term11);
    auto term02 = term11;
    term02[1] = "R1 = 146,07 Ом";
    term02[4] = letters + "120,00 °C";
    EXPECT_EQ(TermPromptLines(0, 2), term02);
    EXPECT_EQ(TermPromptLines(0, 1)[1], "R1 = 92,16 Ом");
    EXPECT_EQ(TermPromptLines(1, 2)[1], "R1 = 146,79 Ом");
    EXPECT_EQ(PressPromptLines(1),
              (std::vector<std::string>{"Установите ток 4 мА, соответствующий 0 %", "и",
                                        "нажмите любую клавишу"}));
    EXPECT_EQ(PressPromptLines(2)[0], "Установите ток 20 мА, соответствующий 100 %");
    EXPECT_EQ(
        ThermometerChoiceTexts(),
        (std::vector<std::string>{"        Pt100 W100=1.38", "        Pt100 W100=1.39        "}));
}

} // namespace
} // namespace kt41::device
