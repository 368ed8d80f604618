#include "CliFixture.h"

#include "config_file/ConfigFile.h"
#include "device/TKT41.h"

#include <algorithm>

using namespace kt41::cli;
using namespace kt41::device;
using kt41::testing::FakeControllerDriver;

// The device commands over a driver that keeps the controller's memory; the
// real line is covered by the end-to-end test against the simulator.
class DeviceCommands : public kt41::testing::CliTest {
protected:
    std::vector<std::string> Line(const char* command) {
        return {command, "--port", "/dev/ttyUSB7", "--address", "17"};
    }
    int Connects() const {
        return int(std::count_if(driver.Calls.begin(), driver.Calls.end(), [](const auto& c) {
            return c.rfind("Connect_Device_KT41(17)", 0) == 0;
        }));
    }
};

TEST_F(DeviceCommands, ReadSavesTheControllersConfiguration) {
    FakeControllerDriver::SetWord(driver.DeviceInfo, 1, 4242);       // serial number
    FakeControllerDriver::SetWord(driver.ContourTable, 0, 4);        // contour 1 heating
    FakeControllerDriver::SetWord(driver.Contours[0], 74, 57);       // Tnorm
    FakeControllerDriver::SetWord(driver.ContoursEx[1], 19, 0xFFFB); // contour 4 T_action -5
    driver.ConnectFailures = 1;                                      // answers the second try
    auto args = Line("read");
    args.insert(args.end(), {"-o", PathOf("R50_№ 04242.c50")});
    ASSERT_EQ(Run(args), kExitOk) << err.str();
    EXPECT_EQ(Connects(), 2);
    EXPECT_TRUE(out.str().empty());

    TKT41 loaded{driver};
    ASSERT_TRUE(kt41::config_file::LoadFromFile(loaded, PathOf("R50_№ 04242.c50")));
    EXPECT_EQ(loaded.ParamDevice.SerialNumber, 4242);
    EXPECT_EQ(loaded.Contour1.ContourType, 4);
    EXPECT_EQ(loaded.Contour1.Tnorm, 57);
    EXPECT_EQ(loaded.Contour4.T_action, -5);
}

TEST_F(DeviceCommands, WriteSendsTheFile) {
    TKT41 model{driver};
    model.SetContourType(2, 5);
    model.Contour2.Tnorm = 61;
    model.ParamDevice.VLV_stroke3 = 240;
    const std::string path = PathOf("config.c50");
    ASSERT_TRUE(kt41::config_file::SaveToFile(model, path));
    auto args = Line("write");
    args.push_back(path);
    args.push_back("--verbose");
    ASSERT_EQ(Run(args), kExitOk) << err.str();
    EXPECT_EQ(FakeControllerDriver::WordAt(driver.ContourTable, 1), 5);
    EXPECT_EQ(FakeControllerDriver::WordAt(driver.Contours[1], 74), 61);
    EXPECT_EQ(FakeControllerDriver::WordAt(driver.DeviceParams, 3), 240);
    // --verbose: the log lines of the main window.
    EXPECT_NE(err.str().find("Запись настройки ... Ok."), std::string::npos) << err.str();
}

// The file's serial number against the controller's: another one is warned
// about and written all the same (a rescue configuration fits any controller);
// an identity that cannot be read is warned about too.
TEST_F(DeviceCommands, WriteWarnsWhenTheFileIsAnotherControllers) {
    TKT41 model{driver};
    model.ParamDevice.SerialNumber = 4242;
    model.Contour1.Tnorm = 58;
    const std::string path = PathOf("config.c50");
    ASSERT_TRUE(kt41::config_file::SaveToFile(model, path));
    auto write = Line("write");
    write.push_back(path);
    struct Case {
        std::uint16_t Controller;
        int FailAt;
        std::string Warning;
    };
    for (const Case& c : {
             Case{4242, 0, ""},
             Case{777, 0,
                  "kt41ctl: предупреждение: настройка в файле от контроллера № 04242, а "
                  "подключён контроллер № 00777; настройка записывается\n"},
             Case{4242, 2,
                  "kt41ctl: предупреждение: заводской номер контроллера не прочитан; "
                  "настройка записывается без проверки\n"},
         }) {
        SCOPED_TRACE(c.Controller);
        driver.Calls.clear();
        driver.FailAtCall = c.FailAt;
        FakeControllerDriver::SetWord(driver.DeviceInfo, 1, c.Controller);
        FakeControllerDriver::SetWord(driver.Contours[0], 74, 0);
        ASSERT_EQ(Run(write), kExitOk) << err.str();
        EXPECT_EQ(err.str(), c.Warning);
        EXPECT_EQ(FakeControllerDriver::WordAt(driver.Contours[0], 74), 58);
        EXPECT_EQ(driver.Calls.at(1).rfind("Read_DeviceInfo_KT41", 0), 0u) << driver.Calls.at(1);
    }
}

TEST_F(DeviceCommands, Failures) {
    // No answer to either connect: exit 1, nothing saved, no third try.
    driver.ConnectFailures = 2;
    auto read = Line("read");
    read.insert(read.end(), {"-o", PathOf("out.c50")});
    EXPECT_EQ(Run(read), kExitFailure);
    EXPECT_EQ(Connects(), 2);
    EXPECT_NE(err.str().find("не отвечает"), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(PathOf("out.c50")));

    // A read that fails part-way saves nothing.
    driver.Calls.clear();
    driver.FailAtCall = 4;
    EXPECT_EQ(Run(read), kExitFailure);
    EXPECT_NE(err.str().find("прочитать настройку"), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(PathOf("out.c50")));

    // The file is checked before the line is touched.
    driver.Calls.clear();
    driver.FailAtCall = 0;
    auto write = Line("write");
    write.push_back(PathOf("missing.c50"));
    EXPECT_EQ(Run(write), kExitFailure);
    EXPECT_TRUE(driver.Calls.empty());
    EXPECT_NE(err.str().find("missing.c50"), std::string::npos) << err.str();

    // A file that cannot be saved: the reason follows the message.
    std::filesystem::create_directory(PathOf("folder.c50"));
    auto intoFolder = Line("read");
    intoFolder.insert(intoFolder.end(), {"-o", PathOf("folder.c50")});
    EXPECT_EQ(Run(intoFolder), kExitFailure);
    EXPECT_NE(err.str().find("не удалось сохранить файл «" + PathOf("folder.c50") +
                             "» (это папка, а не файл)\n"),
              std::string::npos)
        << err.str();
}

// A write that stops half-way ends with the line that names the blocks the
// controller already holds; one that stops at its first call has none.
TEST_F(DeviceCommands, AWriteCutShortNamesTheBlocksWritten) {
    const std::string path = PathOf("config.c50");
    ASSERT_TRUE(kt41::config_file::SaveToFile(TKT41{driver}, path));
    auto write = Line("write");
    write.push_back(path);
    const std::string mixture = "Прибор содержит смесь прежней и новой настройки.";
    struct Case {
        int FailAt, ThrowAt; // calls after the connect and the identity read
        std::vector<std::string> Lines;
    };
    for (const Case& c : {
             Case{6,
                  0,
                  {"kt41ctl: не удалось записать настройку в контроллер",
                   "Записаны только: входы, контур 1. " + mixture}},
             Case{0,
                  7,
                  {std::string(kPortBusyText), "port failed",
                   "Записаны только: входы, контур 1, контур 2 (частично). " + mixture}},
             Case{1, 0, {"kt41ctl: не удалось записать настройку в контроллер"}},
         }) {
        driver.Calls.clear();
        driver.FailAtCall = c.FailAt != 0 ? c.FailAt + 2 : 0;
        driver.ThrowAtCall = c.ThrowAt != 0 ? c.ThrowAt + 2 : 0;
        EXPECT_EQ(Run(write), kExitFailure);
        EXPECT_EQ(Lines(err.str()), c.Lines) << err.str();
    }
}

TEST_F(DeviceCommands, PortErrorShowsThePortBusyText) {
    for (const char* command : {"read", "current"}) {
        driver.Calls.clear();
        driver.ThrowAtCall = 1;
        auto args = Line(command);
        if (std::string(command) == "read") {
            args.insert(args.end(), {"-o", PathOf("x.c50")});
        }
        EXPECT_EQ(Run(args), kExitFailure) << command;
        EXPECT_EQ(err.str().rfind(std::string(kPortBusyText) + "\n", 0), 0u) << err.str();
    }
}

TEST_F(DeviceCommands, CurrentPrintsReadingsAndEvents) {
    // Input P1 measures pressure, P2 a valve position.
    FakeControllerDriver::SetWord(driver.InputsAnalog, 1, 3);
    FakeControllerDriver::SetWord(driver.InputsAnalog, 3, 6);
    FakeControllerDriver::SetWord(driver.CurrentData, 0, 0x0001);
    FakeControllerDriver::SetWord(driver.CurrentData, 3, 0x8000);
    FakeControllerDriver::SetWord(driver.CurrentData, 4, 0xFF9C);  // T1 -10.0
    FakeControllerDriver::SetWord(driver.CurrentData, 12, 45);     // P1 0.45 MPa
    FakeControllerDriver::SetWord(driver.CurrentData, 13, 57);     // P2 57 %
    FakeControllerDriver::SetWord(driver.CurrentData, 16, 0x0201); // sensors 0 and 9
    FakeControllerDriver::SetWord(driver.CurrentData, 20, 1234);   // hours
    ASSERT_EQ(Run(Line("current")), kExitOk) << err.str();
    const auto lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 8u + 4 + 10 + 4 + 2);
    EXPECT_EQ(lines[0], "Текущие показания\tТ1, °C\t-10.0");
    EXPECT_EQ(lines[8], "Текущие показания\tP1 P, МПа\t0.45");
    EXPECT_EQ(lines[9], "Текущие показания\tP2 Поз., %\t57");
    EXPECT_EQ(lines[12], "Текущие показания\tДЗС конт. 1\tАвария");
    EXPECT_EQ(lines[13], "Текущие показания\tДКР конт. 1\tНорма");
    EXPECT_EQ(lines[21], "Текущие показания\tПодпитка низ.\tАвария");
    EXPECT_EQ(lines[25], "Текущие показания\ttнар 2н-2к, час\t1234");
    EXPECT_EQ(lines[26], "Фиксируемые ошибки и события\tАвария\tНасос в первом канале подпитки "
                         "остановлен по таймауту");
    EXPECT_EQ(lines[27],
              "Фиксируемые ошибки и события\tСобытие\t4-й контур отключен пользователем");

    FakeControllerDriver::SetWord(driver.CurrentData, 0, 0);
    FakeControllerDriver::SetWord(driver.CurrentData, 3, 0);
    ASSERT_EQ(Run(Line("current")), kExitOk);
    EXPECT_EQ(Lines(out.str()).back(),
              "Фиксируемые ошибки и события\tСообщение\tОшибки отсутствуют");
}
