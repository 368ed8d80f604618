#include "device/ProgressTexts.h"

#include <gtest/gtest.h>

using namespace kt41::device;

TEST(ProgressTexts, ContourCodesCarryTheContourInTheHighWord) {
    const auto ok = DescribeProgress(14, 3u << 16);
    EXPECT_TRUE(ok.Logs);
    EXPECT_TRUE(ok.WithResult);
    EXPECT_FALSE(ok.Failed);
    EXPECT_EQ(ResultText(ok.Text, ok.Failed), "Запись Управления контуром 3 ... Ok.");
    const auto bad = DescribeProgress(14, (3u << 16) | 1);
    EXPECT_EQ(ResultText(bad.Text, bad.Failed), "Запись Управления контуром 3 ... Ошибка.");
    const auto start = DescribeProgress(44, 2u << 16);
    EXPECT_TRUE(start.SetsStatus);
    EXPECT_FALSE(start.Logs);
    EXPECT_EQ(start.Text, "Запись Управления контуром 2 ...");
}

TEST(ProgressTexts, ExportCodeLogsWithoutResultSuffix) {
    const auto ok = DescribeProgress(17, 0);
    EXPECT_TRUE(ok.Logs);
    EXPECT_FALSE(ok.WithResult);
    EXPECT_EQ(ok.Text, "Архивные данных успешно переданы в MS Excel ...");
    EXPECT_EQ(DescribeProgress(17, 5).Text, "Ошибка передачи Архивные данных в MS Excel ...");
}

TEST(ProgressTexts, ReactionKindsAndIgnoredCodes) {
    EXPECT_TRUE(DescribeProgress(47, 0).Logs);
    EXPECT_TRUE(DescribeProgress(47, 0).SetsStatus);
    EXPECT_EQ(DescribeProgress(45, 0).Text, "Запись тока на аналоговых выходах ...");
    EXPECT_EQ(DescribeProgress(15, 0).Text, "Запись значений тока на аналоговых выходах 1 и 2 ...");
    EXPECT_TRUE(DescribeProgress(4, 0x10000).WithResult);
    EXPECT_FALSE(DescribeProgress(4, 0x10000).Failed); // only the low word is the outcome
    for (int code : {0, 7, 8, 20, 30, 32, 33, 36, 38, 50, 1129}) {
        EXPECT_TRUE(DescribeProgress(code, 0).Ignored()) << code;
    }
}
