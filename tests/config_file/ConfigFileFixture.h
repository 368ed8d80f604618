#pragma once

#include "config_file/ConfigFile.h"
#include "device/TKT41.h"
#include "support/FakeControllerDriver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace kt41::testing {

// The message boxes the model asked for, in order, with their icons.
class MessageRecorder : public driver::ProgressSink {
public:
    struct Message {
        std::string Caption;
        std::string Text;
        driver::MessageIcon Icon;
    };
    std::vector<Message> Messages;

    void Progress(int, std::uint32_t) override {}
    void ShowMessage(const std::string& caption, const std::string& text,
                     driver::MessageIcon icon) override {
        Messages.push_back({caption, text, icon});
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Message& m : Messages) {
            texts.push_back(m.Text);
        }
        return texts;
    }
};

// A fresh folder per test, with file names as the program makes them
// (Cyrillic letters and "№").
class ConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "kt41_cfg_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        model.NotifyWindow = &sink;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string PathOf(const std::string& name) const { return (dir / name).string(); }

    static void WriteText(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string ReadText(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    // Every configuration field of the model set to a random value.
    static void FillRandomly(device::TKT41& m, unsigned seed) {
        std::mt19937 random(seed);
        const auto fill = [&random](auto& record) {
            static_assert(std::is_trivially_copyable_v<std::remove_reference_t<decltype(record)>>);
            std::vector<unsigned char> bytes(sizeof record);
            for (auto& b : bytes) {
                b = static_cast<unsigned char>(random());
            }
            std::memcpy(&record, bytes.data(), bytes.size());
        };
        fill(m.Contour1);
        fill(m.Contour2);
        fill(m.Contour3);
        fill(m.Contour4);
        fill(m.ParamDevice);
        fill(m.CalibrTemperatureAndPressure);
        fill(m.Input_T);
        fill(m.Input_P);
    }

    static void ExpectSameConfiguration(const device::TKT41& a, const device::TKT41& b) {
        EXPECT_EQ(a.Contour1, b.Contour1);
        EXPECT_EQ(a.Contour2, b.Contour2);
        EXPECT_EQ(a.Contour3, b.Contour3);
        EXPECT_EQ(a.Contour4, b.Contour4);
        EXPECT_EQ(a.ParamDevice, b.ParamDevice);
        EXPECT_EQ(a.CalibrTemperatureAndPressure, b.CalibrTemperatureAndPressure);
        EXPECT_EQ(a.Input_T, b.Input_T);
        EXPECT_EQ(a.Input_P, b.Input_P);
    }

    std::filesystem::path dir;
    FakeControllerDriver driver;
    MessageRecorder sink;
    device::TKT41 model{driver};
};

} // namespace kt41::testing
