#include "cli/SerialNumberCheck.h"
#include "config_file/ConfigFile.h"
#include "device/TKT41.h"
#include "simulator/Controller.h"
#include "simulator/TcpServer.h"
#include "support/FakeControllerDriver.h"

#include "support/OpenpyxlReader.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace kt41::device;
using kt41::cli::SerialNumberMismatchText;
namespace fs = std::filesystem;

// The kt41ctl program itself against the simulator over Modbus TCP.
class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kt41_e2e_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string PathOf(const std::string& name) const { return (dir / name).string(); }

    static std::string ReadText(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    static std::string Quoted(const std::string& text) {
        std::string quoted = "'";
        for (const char c : text) {
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        return quoted + "'";
    }

    // Runs kt41ctl with the arguments, after the shell command `before` when
    // given; out and err receive what it printed.
    int Kt41ctl(const std::vector<std::string>& args, const std::string& before = {}) {
        std::string command = (before.empty() ? "" : before + "; ") + Quoted(KT41CTL_PROGRAM);
        for (const auto& a : args) {
            command += " " + Quoted(a);
        }
        command += " >" + Quoted(PathOf("out.txt")) + " 2>" + Quoted(PathOf("err.txt"));
        const int status = std::system(command.c_str());
        out = ReadText(PathOf("out.txt"));
        err = ReadText(PathOf("err.txt"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::vector<std::string> Line(const char* command) const {
        return {command, "--port", tcp.PortName(), "--address", "1"};
    }

    // A configuration unlike the simulator's own, as a controller keeps it:
    // thermometer alarms 0 or 1, each 4-20 mA unit the one its function implies.
    static void Prepare(TKT41& m) {
        m.SetContourType(1, 5);
        m.Contour1.Tnorm = 58;
        m.Contour1.Tout = {-30, -20, -10, 0, 5, 10, 15, 20};
        m.Contour1.Calendar_Pump.Day[6] = {6, 9, 17, 22};
        m.Contour1.PumpGroup.Pump_Reset = 2;
        m.Contour1.PumpGroup.Pump_PeriodReset = 720;
        m.SetContourType(2, 1);
        m.Contour2.RP_diff = 29;
        m.Contour2.T_action = -15;
        m.SetContourType(3, 3);
        m.Contour3.DavLow_Feed2 = 115;
        m.Contour3.ConturCtrlMode = 2;
        m.SetContourType(4, 2);
        m.Contour4.FeedMode = 1;
        m.Contour4.PumpGroup.Pump_Main = 1;
        for (int n = 1; n <= 6; ++n) {
            m.SetInputParam(n, ioFunc, std::uint8_t(n));
            m.SetInputParam(n, ioJoinContour, std::uint8_t(n % 4));
        }
        m.SetInputParam(2, ioAlarm, 1);
        for (int n = 1; n <= 4; ++n) {
            m.SetAnalogInputParam(n, ioFunc, 2 * n - 1);
            m.SetAnalogInputParam(n, ioMaxValAnalog, 1000 + n);
        }
        m.ParamDevice.ID_Device = 1;
        m.ParamDevice.MBS_speed = 1;
        m.ParamDevice.VLV_stroke2 = 333;
        m.ParamDevice.NO_M5 = 1;
        m.ParamDevice.PMP2_time_2 = 64000;
        m.CalibrTemperatureAndPressure = {1234, 2345, 1, 3456, 4567};
    }

    fs::path dir;
    kt41::sim::Controller controller;
    kt41::sim::TcpServer tcp{controller};
    kt41::testing::FakeControllerDriver unused;
    std::string out, err;
};

TEST_F(EndToEnd, WriteAFileAndReadItBack) {
    TKT41 written{unused};
    Prepare(written);
    written.ParamDevice.SerialNumber = 777;
    const std::string file = PathOf("R50_№ 00777.c50");
    ASSERT_TRUE(kt41::config_file::SaveToFile(written, file));

    auto write = Line("write");
    write.push_back(file);
    ASSERT_EQ(Kt41ctl(write), 0) << err;
    // The file came from another controller: a warning, and the write goes on.
    EXPECT_EQ(err, SerialNumberMismatchText(777, controller.Options().SerialNumber) + "\n");

    auto read = Line("read");
    read.insert(read.end(), {"-o", PathOf("back.c50")});
    ASSERT_EQ(Kt41ctl(read), 0) << err;
    TKT41 back{unused};
    ASSERT_TRUE(kt41::config_file::LoadFromFile(back, PathOf("back.c50")));

    EXPECT_EQ(back.Contour1, written.Contour1);
    EXPECT_EQ(back.Contour2, written.Contour2);
    EXPECT_EQ(back.Contour3, written.Contour3);
    EXPECT_EQ(back.Contour4, written.Contour4);
    EXPECT_EQ(back.Input_T, written.Input_T);
    EXPECT_EQ(back.Input_P, written.Input_P);
    EXPECT_EQ(back.CalibrTemperatureAndPressure, written.CalibrTemperatureAndPressure);
    // The identity is the controller's own; everything else came from the file.
    EXPECT_EQ(back.ParamDevice.SerialNumber, controller.Options().SerialNumber);
    TParamDevice device = back.ParamDevice;
    device.Model = device.SerialNumber = device.Version = device.Manufact_date = 0;
    TParamDevice sent = written.ParamDevice;
    sent.SerialNumber = 0;
    EXPECT_EQ(device, sent);

    // The pages of both files agree but for the identity lines.
    ASSERT_EQ(Kt41ctl({"show", file}), 0) << err;
    const std::string shownWritten = out.substr(out.find("Настройки\tСетевой адрес"));
    ASSERT_EQ(Kt41ctl({"show", PathOf("back.c50")}), 0) << err;
    EXPECT_EQ(out.substr(out.find("Настройки\tСетевой адрес")), shownWritten);
    EXPECT_NE(out.find("Контур 1\tТип контура\tГВС \n"), std::string::npos);
    EXPECT_NE(out.find("Контур 2\tПерепад давления для поддержания, МПа\t0.29\n"),
              std::string::npos);
}

// A disk that fills up (the file-size limit stands in for it) fails the save
// with the reason instead of killing the program, and the previous file stays.
TEST_F(EndToEnd, ASaveThatDoesNotFitFailsWithTheReason) {
    const std::string file = PathOf("R50_№ 00777.c50");
    const std::string previous = "previous configuration";
    std::ofstream(file, std::ios::binary) << previous;
    auto read = Line("read");
    read.insert(read.end(), {"-o", file});
    EXPECT_EQ(Kt41ctl(read, "ulimit -f 2"), 1) << err; // 1 or 2 KiB, the document is larger
    EXPECT_NE(err.find("(файл больше допустимого размера)"), std::string::npos) << err;
    EXPECT_EQ(ReadText(file), previous);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"R50_№ 00777.c50", "err.txt", "out.txt"}));
}

TEST_F(EndToEnd, CurrentReadings) {
    ASSERT_EQ(Kt41ctl(Line("current")), 0) << err;
    EXPECT_EQ(out.rfind("Текущие показания\tТ1, °C\t", 0), 0u) << out;
    EXPECT_NE(out.find("Фиксируемые ошибки и события\t"), std::string::npos) << out;
}

TEST_F(EndToEnd, AGatewayRepeatingItsPreviousAnswerDoesNotMixTheBlocks) {
    auto clean = Line("read");
    clean.insert(clean.end(), {"-o", PathOf("clean.c50")});
    ASSERT_EQ(Kt41ctl(clean), 0) << err;
    // The thermometer and the 4-20 mA settings, and the identity and the
    // device parameters, are read one after the other as blocks of the same
    // size: the repeated answer of the first would fit the second.
    controller.AddFault({kt41::sim::FaultKind::RepeatPrevious, "Read_ParamInput_Analog_KT41"});
    controller.AddFault({kt41::sim::FaultKind::RepeatPrevious, "Read_ParamDevice_KT41"});
    auto repeated = Line("read");
    repeated.insert(repeated.end(), {"-o", PathOf("repeated.c50")});
    ASSERT_EQ(Kt41ctl(repeated), 0) << err;

    TKT41 expected{unused};
    TKT41 back{unused};
    ASSERT_TRUE(kt41::config_file::LoadFromFile(expected, PathOf("clean.c50")));
    ASSERT_TRUE(kt41::config_file::LoadFromFile(back, PathOf("repeated.c50")));
    EXPECT_EQ(back.Input_T, expected.Input_T);
    EXPECT_EQ(back.Input_P, expected.Input_P);
    EXPECT_EQ(back.ParamDevice, expected.ParamDevice);
}

TEST_F(EndToEnd, LineFailures) {
    // Nobody answers at address 2.
    auto other = Line("read");
    other[4] = "2";
    other.insert(other.end(), {"-o", PathOf("x.c50")});
    EXPECT_EQ(Kt41ctl(other), 1);
    EXPECT_NE(err.find("не отвечает"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(PathOf("x.c50")));

    // A held line is busy.
    tcp.Hold(true);
    EXPECT_EQ(Kt41ctl(Line("current")), 1);
    EXPECT_EQ(err.rfind("Последовательный порт занят другим приложением ...    \n", 0), 0u) << err;
    tcp.Hold(false);

    EXPECT_EQ(Kt41ctl({"read", "--port", tcp.PortName()}), 2);
}

// --- kt41ctl archive -------------------------------------------------------------------

// A record of the archive as the controller keeps it: 5 March 2020 at `hour`,
// with the given event words.
kt41::sim::Controller::ArchiveWords ArchiveWordsAt(int hour, std::array<std::uint16_t, 4> status) {
    kt41::sim::Controller::ArchiveWords w{};
    w[0] = std::uint16_t((3 << 8) | 20);
    w[1] = std::uint16_t((hour << 8) | 5);
    for (std::size_t k = 0; k < 8; ++k) {
        w[2 + k] = std::uint16_t(215 + k);
    }
    std::copy(status.begin(), status.end(), w.begin() + 14);
    return w;
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(separator, from)) != std::string::npos;
         from = at + separator.size()) {
        parts.push_back(text.substr(from, at - from));
    }
    parts.push_back(text.substr(from));
    return parts;
}

// Long before the simulator's own archive: only these two records exist.
class ArchiveEndToEnd : public EndToEnd {
protected:
    void SetUp() override {
        EndToEnd::SetUp();
        controller.SetArchiveRecord({2020, 3, 5, 7, 0, 0},
                                    ArchiveWordsAt(7, {1u << 10, 0, 0, 1u << 5}));
        controller.SetArchiveRecord({2020, 3, 5, 3, 0, 0}, ArchiveWordsAt(3, {}));
    }
    std::vector<std::string> Archive(std::vector<std::string> more) {
        auto args = Line("archive");
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
};

TEST_F(ArchiveEndToEnd, OneTabSeparatedLinePerRecordNewestFirst) {
    ASSERT_EQ(Kt41ctl(Archive({"--from", "2020-03-05", "--to", "2020-03-05"})), 0) << err;
    EXPECT_EQ(controller.CallCount("Read_ArxRecord_KT41"), 24);
    const auto lines = Split(out, "\n");
    ASSERT_EQ(lines.size(), 3u) << out; // two records and the end of the last line
    const auto first = Split(lines[0], "\t");
    ASSERT_EQ(first.size(), 15u) << lines[0];
    EXPECT_EQ(first[0], "05.03.20");
    EXPECT_EQ(first[1], "07");
    EXPECT_EQ(first[2], "21.5");
    EXPECT_EQ(first[9], "22.2");
    // The notes stay on the line: one entry after the other.
    EXPECT_EQ(Split(first[14], "; ").size(), 2u) << first[14];
    EXPECT_EQ(first[14].back(), ';');
    EXPECT_EQ(lines[1].substr(0, 12), "05.03.20\t03\t");
    EXPECT_EQ(lines[1].back(), '\t') << "no notes";
    EXPECT_TRUE(lines[2].empty());
}

TEST_F(ArchiveEndToEnd, CsvFileWithHeaderAndQuotedNotes) {
    const std::string csv = PathOf("archive.csv");
    ASSERT_EQ(Kt41ctl(Archive({"--from", "2020-03-01", "--to", "2020-03-05", "-o", csv})), 0)
        << err;
    EXPECT_TRUE(out.empty()) << out;
    const std::string text = ReadText(csv);
    const auto lines = Split(text, "\r\n");
    ASSERT_GE(lines.size(), 4u) << text;
    EXPECT_EQ(lines[0].rfind("Дата  (Дн.Мс.Год),Час,\"Т1, °C\",", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(",Примечание"), std::string::npos) << lines[0];
    // The notes of the first record are one quoted field over two lines.
    EXPECT_EQ(lines[1].substr(0, 12), "05.03.20,07,");
    EXPECT_EQ(lines[1].back(), ';');
    EXPECT_NE(lines[1].find(",\"Событие: Сработал датчик"), std::string::npos) << lines[1];
    EXPECT_EQ(lines[2].rfind("Событие: Включался перезапуск", 0), 0u) << lines[2];
    EXPECT_EQ(lines[2].back(), '"');
    EXPECT_EQ(lines[3].substr(0, 12), "05.03.20,03,");
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST_F(ArchiveEndToEnd, WorkbookFromTheTemplate) {
    const std::string book = PathOf("archive.xlsx");
    const std::string templ =
        std::string(KT41_SOURCE_DATA_DIR) + "/Шаблоны_Архива/Шаблон Orvald.xltx";
    ASSERT_EQ(Kt41ctl(Archive(
                  {"--from", "2020-03-01", "--to", "2020-03-05", "-o", book, "--template", templ})),
              0)
        << err;
    const kt41::testing::ReadWorkbook workbook = kt41::testing::ReadWithOpenpyxl(book);
    ASSERT_EQ(workbook.ExitCode, 0) << "openpyxl had to mend the workbook";
    EXPECT_EQ(workbook.At("K2").Value, "12345"); // the simulator's serial number
    EXPECT_EQ(workbook.At("B11").Value, "№\nп/п");
    // Two records, newest first, numbered as the grid numbers them.
    EXPECT_EQ(workbook.At("B12").Value, "1");
    EXPECT_EQ(workbook.At("C12").Type, "date");
    EXPECT_EQ(workbook.At("D12").Value, "07:00");
    EXPECT_EQ(workbook.At("E12").Type, "number");
    EXPECT_EQ(workbook.At("D13").Value, "03:00");
    EXPECT_EQ(workbook.At("B14").Type, "");
    // A template that is not a workbook: the records are read, the file is not made.
    const std::string broken = PathOf("broken.xltx");
    std::ofstream(broken) << "not a zip";
    EXPECT_EQ(Kt41ctl(Archive({"--from", "2020-03-05", "--to", "2020-03-05", "-o",
                               PathOf("other.xlsx"), "--template", broken})),
              1);
    EXPECT_FALSE(std::filesystem::exists(PathOf("other.xlsx")));
}

TEST_F(ArchiveEndToEnd, RangesItRefuses) {
    const struct {
        const char* From;
        const char* To;
        const char* Says;
    } cases[] = {
        {"2020-03-01", "2020-03-09", "восьми календарных дней"},
        {"2020-03-05", "2020-03-04", "раньше первого"},
        {"2020-02-30", "2020-03-04", "ГГГГ-ММ-ДД"},
        {"05.03.2020", "2020-03-04", "ГГГГ-ММ-ДД"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Kt41ctl(Archive({"--from", c.From, "--to", c.To})), 2) << c.From << " " << c.To;
        EXPECT_NE(err.find(c.Says), std::string::npos) << err;
    }
    EXPECT_EQ(Kt41ctl(Archive({"--from", "2020-03-01"})), 2);
    EXPECT_EQ(controller.CallCount("Read_ArxRecord_KT41"), 0);
    // Eight calendar days are fine.
    EXPECT_EQ(Kt41ctl(Archive({"--from", "2020-02-27", "--to", "2020-03-05"})), 0) << err;
    EXPECT_EQ(controller.CallCount("Read_ArxRecord_KT41"), 192);
}

TEST_F(ArchiveEndToEnd, CtrlCStopsTheReadAndKeepsTheRecords) {
    // A slow line with a record in every hour: the read takes many seconds.
    kt41::sim::ControllerOptions options;
    options.EmulatedBaud = 9600;
    kt41::sim::Controller slow(options);
    kt41::sim::TcpServer line(slow);
    const std::string outFile = PathOf("out.txt");
    const std::string command = Quoted(KT41CTL_PROGRAM) + " archive --port " +
                                Quoted(line.PortName()) +
                                " --address 1 --from $(date -d '-8 days' +%F) --to $(date -d "
                                "'-1 day' +%F) >" +
                                Quoted(outFile) + " 2>" + Quoted(PathOf("err.txt")) +
                                " & pid=$!; while [ ! -s " + Quoted(outFile) +
                                " ] && kill -0 $pid 2>/dev/null; do sleep 0.05; done; "
                                "kill -INT $pid; wait $pid";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    out = ReadText(outFile);
    err = ReadText(PathOf("err.txt"));
    const auto lines = Split(out, "\n");
    EXPECT_GE(lines.size(), 2u);
    EXPECT_LT(lines.size(), 100u);
    EXPECT_TRUE(lines.back().empty()) << "every record line is whole";
    EXPECT_NE(err.find("Чтение архива прервано"), std::string::npos) << err;
}
