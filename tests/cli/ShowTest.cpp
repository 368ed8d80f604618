#include "CliFixture.h"

#include "config_file/ConfigFile.h"
#include "device/TKT41.h"

#include <algorithm>
#include <fstream>

using namespace kt41::cli;
using namespace kt41::device;

class Show : public kt41::testing::CliTest {
protected:
    std::string SaveModel(const TKT41& model) {
        const std::string path = PathOf("R50_№ 00042.c50");
        EXPECT_TRUE(kt41::config_file::SaveToFile(model, path));
        return path;
    }
    std::vector<std::string> ShownLines(const std::string& path) {
        EXPECT_EQ(Run({"show", path}), kExitOk) << err.str();
        return Lines(out.str());
    }
    static std::vector<std::string> OfPage(const std::vector<std::string>& lines,
                                           const std::string& page) {
        std::vector<std::string> of;
        for (const auto& line : lines) {
            if (line.rfind(page + "\t", 0) == 0) {
                of.push_back(line);
            }
        }
        return of;
    }
};

TEST_F(Show, ListsWhatThePagesShow) {
    TKT41 model{driver};
    model.ParamDevice.SerialNumber = 42;
    model.ParamDevice.Version = 0x0203;
    model.ParamDevice.Manufact_date = 0x1509;
    model.ParamDevice.ID_Device = 17;
    model.ParamDevice.MBS_speed = 1;
    model.SetContourType(1, 4);
    model.Contour1.PK = 12;
    model.Contour1.dBC_High = -3;
    model.SetContourType(2, 5);
    model.SetContourType(3, 2);
    model.Contour3.DavHigh_Feed1 = 29;
    model.SetInputParam(1, ioFunc, 1);
    model.SetInputParam(2, ioFunc, 0);
    model.SetAnalogInputParam(2, ioFunc, 7);
    model.SetAnalogInputParam(4, ioFunc, 3);
    model.SetAnalogInputParam(4, ioMaxValAnalog, 2550);
    model.CalibrTemperatureAndPressure.Type_T = 1;

    const auto lines = ShownLines(SaveModel(model));
    EXPECT_TRUE(err.str().empty()) << err.str();
    for (const auto& line : lines) {
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 2) << line;
    }

    const auto device = OfPage(lines, "Настройки");
    ASSERT_EQ(device.size(), 24u);
    EXPECT_EQ(device[0], "Настройки\tСерийный номер\t00042");
    EXPECT_EQ(device[1], "Настройки\tМодель контроллера\t------------------");
    EXPECT_EQ(device[2], "Настройки\tВерсия ПО\t3.2 ");
    EXPECT_EQ(device[3], "Настройки\tДата производства\t09.2021");
    EXPECT_EQ(device[4], "Настройки\tСетевой адрес\t17");
    EXPECT_EQ(device[5], "Настройки\tCкорости связи, бит/сек \t19200");

    // Each contour: its type first, then exactly the rows of the type.
    const auto c1 = OfPage(lines, "Контур 1");
    ASSERT_EQ(c1.size(), 17u);
    EXPECT_EQ(c1[0], "Контур 1\tТип контура\tОтопление ");
    EXPECT_EQ(c1[1], "Контур 1\tСпособ управления контуром\tДискретный (реле)");
    EXPECT_NE(
        std::find(c1.begin(), c1.end(), "Контур 1\tПропорциональный коэф. регулирования\t1.2"),
        c1.end());
    EXPECT_NE(std::find(c1.begin(), c1.end(),
                        "Контур 1\tВерхняя допустимая дельта темп-ры обратн. тепло-ля, град\t-0.3"),
              c1.end());
    EXPECT_EQ(OfPage(lines, "Контур 2").size(), 19u);
    const auto c3 = OfPage(lines, "Контур 3");
    ASSERT_EQ(c3.size(), 8u);
    EXPECT_EQ(c3[0], "Контур 3\tТип контура\tОдна подпитка ");
    EXPECT_EQ(c3[6], "Контур 3\tВерхнее давления 1-го канала подпитки (вход 4-20мА), МПа\t0.29");
    EXPECT_EQ(OfPage(lines, "Контур 4"),
              std::vector<std::string>{"Контур 4\tТип контура\tВыключен "});

    const auto inputs = OfPage(lines, "Входы");
    ASSERT_EQ(inputs.size(), 1u + 6 * 3 + 4 * 4);
    EXPECT_EQ(inputs[0], "Входы\tТермометры сопротивления\tPt100 W = 1.3910");
    EXPECT_EQ(inputs[1], "Входы\tT1 Назначение\tНет");
    EXPECT_EQ(inputs[2], "Входы\tT1 Функция\tНаружный (ОТП)");
    EXPECT_EQ(inputs[3], "Входы\tT1 «Аварийный»\tНет");
    EXPECT_EQ(inputs[6], "Входы\tT2 «Аварийный»\t---");
    EXPECT_EQ(inputs[19], "Входы\tP1 Назначение\tНет");
    EXPECT_EQ(inputs[25], "Входы\tP2 «Аварийный»\t---");
    EXPECT_EQ(inputs[26], "Входы\tP2 Значение, соответ-щее 20 мА.\t0.00 м3/ч");
    EXPECT_EQ(inputs[34], "Входы\tP4 Значение, соответ-щее 20 мА.\t25.50 МПа");
    EXPECT_EQ(lines.size(), 24u + 17 + 19 + 8 + 1 + 35);
}

// A reduced contour holding the heating type (only possible in data written
// elsewhere) lists the rows of that type its record has.
TEST_F(Show, ReducedContourWithAFullContourType) {
    TKT41 model{driver};
    model.Contour4.ContourType = 4;
    const auto c4 = OfPage(ShownLines(SaveModel(model)), "Контур 4");
    ASSERT_EQ(c4.size(), 7u);
    EXPECT_EQ(c4[0], "Контур 4\tТип контура\tОтопление ");
    EXPECT_EQ(c4[2], "Контур 4\tПропорциональный коэф. регулирования\t0.0");
}

TEST_F(Show, FileProblems) {
    EXPECT_EQ(Run({"show", PathOf("missing.c50")}), kExitFailure);
    EXPECT_NE(err.str().find("missing.c50"), std::string::npos);
    EXPECT_TRUE(out.str().empty());

    const std::string wrong = PathOf("wrong.c50");
    std::ofstream(wrong) << "<Other/>";
    EXPECT_EQ(Run({"show", wrong}), kExitFailure);
    EXPECT_NE(err.str().find("Ошибка: Не верный формат файла."), std::string::npos) << err.str();

    // Warnings go to standard error; the file is shown all the same.
    const std::string sparse = PathOf("sparse.c50");
    std::ofstream(sparse) << "<Config_KT-41><Contour1/><Contour2/><Contour3/><Contour4/>"
                             "<ParamDevice/></Config_KT-41>";
    EXPECT_EQ(Run({"show", sparse}), kExitOk);
    EXPECT_EQ(err.str(), "Предупреждение: Калибровки температуры и давления отсутствуют!\n");
    EXPECT_NE(out.str().find("Настройки\tСетевой адрес\t239\n"), std::string::npos);
}
