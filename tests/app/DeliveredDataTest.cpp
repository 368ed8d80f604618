#include "config_file/ConfigFile.h"
#include "device/TKT41.h"
#include "support/FakeControllerDriver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace kt41::app {
namespace {

// Collects the model's messages; the rescue file must load without any.
class MessageLog : public driver::ProgressSink {
public:
    std::vector<std::string> Texts;
    void Progress(int, std::uint32_t) override {}
    void ShowMessage(const std::string&, const std::string& text, driver::MessageIcon) override {
        Texts.push_back(text);
    }
};

std::string Tags(const std::string& path) {
    std::ifstream in(path);
    std::stringstream stream;
    stream << in.rdbuf();
    const std::string text = stream.str();
    // element names in document order, whitespace and formatting aside
    static const std::regex tag("<(/?[A-Za-z_][A-Za-z0-9_.-]*)");
    std::string names;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), tag);
         it != std::sregex_iterator(); ++it) {
        names += (*it)[1].str() + " ";
    }
    return names;
}

TEST(DeliveredDataTest, RescueConfigurationIsACompleteSafeConfiguration) {
    const std::string rescue = std::string(KT41_SOURCE_DATA_DIR) + "/CNF/R50_№ Rescue.c50";
    testing::FakeControllerDriver driver;
    device::TKT41 model(driver);
    MessageLog log;
    model.NotifyWindow = &log;
    ASSERT_TRUE(config_file::LoadFromFile(model, rescue));
    EXPECT_TRUE(log.Texts.empty());

    for (int contour = 1; contour <= 4; ++contour) {
        EXPECT_EQ(model.GetContourType(contour), 0) << "contour " << contour << " switched off";
    }
    for (const auto* c : {&model.Contour1, &model.Contour2}) {
        EXPECT_EQ(c->Qt_Points, 8);
        EXPECT_LE(c->Tout[0], -10);
        EXPECT_GE(c->Tout[7], 0);
        for (int point = 0; point < 8; ++point) {
            EXPECT_GE(c->Tin[point], 30);
            EXPECT_GE(c->Tback[point], 20);
            EXPECT_LT(c->Tback[point], c->Tin[point]);
        }
    }
    EXPECT_GE(model.CalibrTemperatureAndPressure.K_TERM_1, 17500) << "a sound temperature code";
    EXPECT_GT(model.CalibrTemperatureAndPressure.K_TERM_2,
              model.CalibrTemperatureAndPressure.K_TERM_1);
    EXPECT_GT(model.CalibrTemperatureAndPressure.K_P2, model.CalibrTemperatureAndPressure.K_P1);

    // Every element is there, in the order the program itself writes them.
    const std::string saved =
        (std::filesystem::temp_directory_path() / "kt41-rescue-roundtrip.c50").string();
    ASSERT_TRUE(config_file::SaveToFile(model, saved));
    EXPECT_EQ(Tags(rescue), Tags(saved));
    std::remove(saved.c_str());
}

} // namespace
} // namespace kt41::app
