#include "ConfigFileFixture.h"

#include "config_file/ConfigBackup.h"
#include "config_file/ConfigComparison.h"

#include <functional>

using namespace kt41;
using namespace kt41::device;
using config_file::CompareConfigurations;
using config_file::TComparison;
using config_file::TDifference;
using Fake = kt41::testing::FakeControllerDriver;

namespace {

void CopyConfiguration(const TKT41& from, TKT41& to) {
    to.Contour1 = from.Contour1;
    to.Contour2 = from.Contour2;
    to.Contour3 = from.Contour3;
    to.Contour4 = from.Contour4;
    to.ParamDevice = from.ParamDevice;
    to.CalibrTemperatureAndPressure = from.CalibrTemperatureAndPressure;
    to.Input_T = from.Input_T;
    to.Input_P = from.Input_P;
}

const TDifference* Find(const std::vector<TDifference>& list, const std::string& key) {
    for (const TDifference& d : list) {
        if (d.Key == key) {
            return &d;
        }
    }
    return nullptr;
}

} // namespace

class Comparison : public kt41::testing::ConfigFileTest {
protected:
    Fake otherDriver;
    TKT41 other{otherDriver};
};

TEST_F(Comparison, SameConfigurationsHaveNoDifference) {
    FillRandomly(model, 7);
    CopyConfiguration(model, other);
    const TComparison result = CompareConfigurations(model, other, ".");
    EXPECT_TRUE(result.SameSettings());
    EXPECT_TRUE(result.Identity.empty());
}

TEST_F(Comparison, NamesEachDifferenceByTheCatalogueOrByItsKey) {
    CopyConfiguration(model, other);
    model.Contour1.ContourType = 4; // heating
    other.Contour1.ContourType = 5;
    other.Contour1.PK = 25; // 2.5, shown on the pages
    other.Contour3.PumpGroup.Pump_Main = 1;
    other.Contour2.Tout[2] = -7; // schedule point: no catalogue entry
    other.Contour1.Calendar_Pump.Day[0][1] = 6;
    other.Contour4.DavHigh_Feed2 = 125; // hidden while contour 4 is off
    other.Input_T[2].Func = 2;
    other.Input_P[0].MaxVal = 1050;
    other.Input_P[0].InputType = 2; // derived, never written: not a difference
    other.ParamDevice.MBS_speed = 1;
    other.ParamDevice.SerialNumber = 42; // identity, apart
    other.ParamDevice.ID_Device = 12;
    other.CalibrTemperatureAndPressure.K_TERM_2 = 1234;
    other.CalibrTemperatureAndPressure.Type_T = 1;

    const TComparison result = CompareConfigurations(model, other, ",");
    struct Case {
        std::string Key, Page, Parameter, TextA, TextB;
    };
    for (const Case& c : {
             Case{"Contour1/ContourType", "Контур 1", "Тип контура", "Отопление", "ГВС"},
             Case{"Contour1/PK", "Контур 1", "Пропорциональный коэф. регулирования", "0,0", "2,5"},
             Case{"Contour1/Calendar_Pump/Day1/Point2", "Контур 1", "Calendar_Pump/Day1/Point2",
                  "0", "6"},
             Case{"Contour2/Array_Tout/Tout3", "Контур 2", "Array_Tout/Tout3", "0", "-7"},
             Case{"Contour3/Pump_Main", "Контур 3", "Основной насос", "Насос 2", "Насос 1"},
             Case{"Contour4/DavHigh_Feed2", "Контур 4",
                  "Верхнее давления 2-го канала подпитки (вход 4-20мА), МПа", "0,00", "1,25"},
             Case{"Input_T3/Func", "Входы", "T3: Функция", "Нет", ""},
             Case{"Input_P1/MaxVal", "Входы", "P1: Значение, соответ-щее 20 мА.", "0,00", "10,50"},
             Case{"ParamDevice/MBS_speed", "Настройки", "Cкорости связи, бит/сек ", "9600",
                  "19200"},
             Case{"CalibrTemperatureAndPressure/K_TERM_2", "Калибровка", "K_TERM_2", "0", "1234"},
             Case{"CalibrTemperatureAndPressure/Type_T", "Калибровка", "Тип термометра",
                  "Pt100 W = 1.3850", "Pt100 W = 1.3910"},
         }) {
        const TDifference* d = Find(result.Settings, c.Key);
        ASSERT_NE(d, nullptr) << c.Key;
        EXPECT_EQ(d->Page, c.Page) << c.Key;
        EXPECT_EQ(d->Parameter, c.Parameter) << c.Key;
        EXPECT_EQ(d->TextA, c.TextA) << c.Key;
        if (!c.TextB.empty()) {
            EXPECT_EQ(d->TextB, c.TextB) << c.Key;
        }
    }
    EXPECT_EQ(result.Settings.size(), 11u); // the cases above and nothing else
    EXPECT_EQ(Find(result.Settings, "Input_P1/InputType"), nullptr);

    ASSERT_EQ(result.Identity.size(), 2u);
    EXPECT_EQ(result.Identity[0].Parameter, "Сетевой адрес");
    EXPECT_EQ(result.Identity[1].Parameter, "Серийный номер");
    EXPECT_EQ(result.Identity[1].TextB, "00042");
}

// Whatever a configuration write sends is compared: every byte of every block
// that carries a field, changed at the controller and read back, shows as a
// difference, hidden rows and calibration codes included.
TEST_F(Comparison, CoversEveryFieldAConfigurationWriteSends) {
    FillRandomly(model, 3);
    ASSERT_TRUE(model.WriteConfiguration());
    ASSERT_TRUE(model.ReadConfiguration()); // as a controller holds it
    const Fake baseline = driver;
    Fake baselineCopy = driver;

    struct Block {
        const char* Name;
        std::function<std::span<std::uint8_t>(Fake&)> Bytes;
    };
    const std::vector<Block> blocks = {
        {"contour table", [](auto& d) { return std::span<std::uint8_t>(d.ContourTable); }},
        {"contour 1", [](auto& d) { return std::span<std::uint8_t>(d.Contours[0]); }},
        {"contour 2", [](auto& d) { return std::span<std::uint8_t>(d.Contours[1]); }},
        {"contour 3", [](auto& d) { return std::span<std::uint8_t>(d.ContoursEx[0]); }},
        {"contour 4", [](auto& d) { return std::span<std::uint8_t>(d.ContoursEx[1]); }},
        {"thermometer inputs", [](auto& d) { return std::span<std::uint8_t>(d.InputsTerm); }},
        {"4-20 mA inputs", [](auto& d) { return std::span<std::uint8_t>(d.InputsAnalog); }},
        {"device parameters", [](auto& d) { return std::span<std::uint8_t>(d.DeviceParams); }},
        {"calibration", [](auto& d) { return std::span<std::uint8_t>(d.Calibration); }},
    };
    int carried = 0;
    for (const Block& block : blocks) {
        for (std::size_t i = 0; i < block.Bytes(driver).size(); ++i) {
            // The controller holds the block with one byte changed ...
            otherDriver = baseline;
            block.Bytes(otherDriver)[i] ^= 0x21;
            ASSERT_TRUE(other.ReadConfiguration());
            // ... and a write of what was read back shows whether a field
            // carries that byte.
            ASSERT_TRUE(other.WriteConfiguration());
            const auto written = block.Bytes(otherDriver);
            const auto original = block.Bytes(baselineCopy);
            if (std::equal(written.begin(), written.end(), original.begin())) {
                continue; // a reserved word or the unused high byte of a byte field
            }
            ++carried;
            EXPECT_FALSE(CompareConfigurations(model, other, ".").SameSettings())
                << block.Name << ", byte " << i;
        }
    }
    EXPECT_GT(carried, 300); // the blocks were really changed
}

TEST_F(Comparison, BackupIsNamedAfterTheSerialNumberAndTheLocalTime) {
    model.ParamDevice.SerialNumber = 1234;
    driver.DeviceInfo[2] = 0x04; // serial number 1234 at the controller
    driver.DeviceInfo[3] = 0xD2;
    config_file::TConfigBackup backup(model);
    ASSERT_TRUE(backup.Read());
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(backup.FileName(1797007203), "R50_№ 01234 2026-12-11 16-40-03.c50");
    std::string path;
    std::string why;
    ASSERT_TRUE(backup.SaveInFolder(PathOf("CNF/Резервные копии"), 1797007203, &path, &why)) << why;
    EXPECT_EQ(path, PathOf("CNF/Резервные копии/R50_№ 01234 2026-12-11 16-40-03.c50"));
    TKT41 loaded(driver);
    ASSERT_TRUE(config_file::LoadFromFile(loaded, path));
    EXPECT_EQ(loaded.ParamDevice.SerialNumber, 1234);
}
