// The connection workflow of the main window against a simulated controller
// on a real line, through the real Modbus driver.
#include "app/StartUp.h"
#include "app/TForm_Main.h"
#include "dialogs/TNew_DeviceForm.h"
#include "pages/MainWindowPage.h"
#include "simulator/PtyServer.h"
#include "support/FakeControllerDriver.h"
#include "support/GuiTest.h"
#include "support/PageMoves.h"
#include "support/SimulatedProgram.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

#include <atomic>
#include <functional>

namespace kt41::app {
namespace {

using testing::ExpectPagesShow;
using testing::GuiTest;
using testing::LogTexts;
using testing::SimulatedProgram;

// What the simulated controller holds, as a model filled without the window:
// what a read must bring onto the pages.
struct ControllerImage {
    ControllerImage(const SimulatedProgram& program, std::uint8_t address) {
        const sim::Configuration held = program.Controller.CurrentConfiguration();
        Model.Contour1 = held.Contour1;
        Model.Contour2 = held.Contour2;
        Model.Contour3 = held.Contour3;
        Model.Contour4 = held.Contour4;
        Model.Input_T = held.InputsTerm;
        Model.Input_P = held.InputsAnalog;
        for (device::TInputAnalog& input : Model.Input_P) {
            device::ApplyAnalogDerivationRule(input); // as every read does
        }
        Model.ParamDevice = held.Device;
        Model.ParamDevice.SerialNumber = program.Controller.Options().SerialNumber;
        Model.ParamDevice.ID_Device = address;
        Model.CalibrTemperatureAndPressure = held.Calibration;
    }
    testing::FakeControllerDriver Unused;
    device::TKT41 Model{Unused};
};

class ConnectionWorkflowTest : public GuiTest {
protected:
    static SimulatedProgram::Options AtAddress(std::uint8_t address) {
        SimulatedProgram::Options options;
        options.Controller.Address = address;
        options.Controller.SerialNumber = 1234;
        return options;
    }

    // What the window shows of the connection and the configuration commands.
    struct Shown {
        bool PortOpen, PagesVisible, Read, Write, Open, Save;
        QString Connection, ConnectTip, ConnectStatusTip;
        bool operator==(const Shown&) const = default;
        friend void PrintTo(const Shown& s, std::ostream* os) {
            *os << "port " << s.PortOpen << " pages " << s.PagesVisible << " read " << s.Read
                << " write " << s.Write << " open " << s.Open << " save " << s.Save << " "
                << s.Connection.toStdString() << " / " << s.ConnectTip.toStdString();
        }
    };
    static Shown StateOf(TForm_Main& main) {
        return {main.ComPort1.Connected(),       main.PageControl1->isVisible(),
                main.Read_Config->isEnabled(),   main.Write_Config->isEnabled(),
                main.FileOpen1->isEnabled(),     main.FileSaveAs1->isEnabled(),
                main.StatusPanel2->text(),       main.Connect_Device->toolTip(),
                main.Connect_Device->statusTip()};
    }
    static Shown Start() {
        return {false,           true,         false,
                false,           true,         true,
                "Не подключено", "Подключить", "Установить связь с прибором"};
    }
    static Shown ConnectedNotRead() {
        return {true,         true,        true,
                false,        true,        true,
                "Подключено", "Отключить", "Завершить связь с прибором"};
    }
    static Shown ConfigurationRead() {
        return {true,         true,        true,
                true,         true,        true,
                "Подключено", "Отключить", "Завершить связь с прибором"};
    }
    static Shown ReadFailed() {
        return {true,         false,       true,
                false,        false,       false,
                "Подключено", "Отключить", "Завершить связь с прибором"};
    }
    static Shown Disconnected() {
        return {false,           false,        false,
                false,           false,        false,
                "Не подключено", "Подключить", "Установить связь с прибором"};
    }

    static QString VersionText(TForm_Main& main) {
        auto* label = main.findChild<QLabel*>("StaticText_VerInfo");
        return label != nullptr ? label->text() : QString();
    }

    // The log lines written from now on.
    // Shows the program's window and connects through the address dialog
    // with address 1, as a user does.
    static TForm_Main& ShownAndConnected(SimulatedProgram& program) {
        TForm_Main& main = program.Main();
        main.show();
        program.AnswerAddressDialog("1");
        main.Connect_Device->trigger();
        return main;
    }

    struct LogMark {
        explicit LogMark(TForm_Main& m) : Main(m), Before(LogTexts(m).size()) {}
        QStringList New() const { return LogTexts(Main).mid(Before); }
        TForm_Main& Main;
        qsizetype Before;
    };
};

TEST_F(ConnectionWorkflowTest, ConnectsThroughTheAddressDialogReadsAndDisconnects) {
    SimulatedProgram program(AtAddress(17));
    TForm_Main& main = program.Main();
    main.show();
    ASSERT_EQ(StateOf(main), Start());

    // The dialog is shown centred on the main window.
    QPoint dialogCentre;
    QObject::connect(main.New_DeviceForm, &QDialog::finished,
                     [&] { dialogCentre = main.New_DeviceForm->frameGeometry().center(); });
    program.AnswerAddressDialog("17");
    LogMark connectLog(main);
    main.Connect_Device->trigger();
    EXPECT_EQ(program.AddressDialogShown(), 1);
    EXPECT_LE((dialogCentre - main.frameGeometry().center()).manhattanLength(), 4);
    EXPECT_EQ(connectLog.New(),
              (QStringList{"Ввод сетевого адреса прибора ...", "Установление связи ...",
                           "Есть соединение с прибором."}));
    EXPECT_EQ(StateOf(main), ConnectedNotRead());
    // The version the connect call returned, low byte first, before any read.
    const std::uint16_t version = program.Controller.CurrentConfiguration().Device.Version;
    ASSERT_NE(version & 0xFF, version >> 8);
    EXPECT_EQ(VersionText(main), QString("%1.%2 ").arg(version & 0xFF).arg(version >> 8));
    EXPECT_EQ(program.Controller.CallCount("Connect_Device_KT41"), 1);
    EXPECT_EQ(program.Controller.Calls().back().Unit, 17);
    EXPECT_TRUE(Prompt.History.empty());

    LogMark readLog(main);
    main.Read_Config->trigger();
    EXPECT_EQ(readLog.New(), QStringList{"Чтение настройки ... Ok."});
    EXPECT_EQ(StateOf(main), ConfigurationRead());
    EXPECT_EQ(main.PageControl1->currentIndex(), TForm_Main::kPageManual);
    EXPECT_EQ(main.StatusPanel1->text(), "Простой ...");
    const ControllerImage held(program, 17);
    const device::TKT41& model = main.Model();
    EXPECT_EQ(model.Contour1, held.Model.Contour1);
    EXPECT_EQ(model.Contour3, held.Model.Contour3);
    EXPECT_EQ(model.Input_P, held.Model.Input_P);
    EXPECT_EQ(model.ParamDevice, held.Model.ParamDevice);
    EXPECT_EQ(model.Address, 17);
    ExpectPagesShow(main, held.Model);
    EXPECT_EQ(testing::DevicePageOf(main).StaticText_NumInfo->text(), "01234");

    LogMark closeLog(main);
    main.Connect_Device->trigger();
    EXPECT_EQ(closeLog.New(), QStringList{"Сеанс связи завершен."});
    EXPECT_EQ(StateOf(main), Disconnected());
    EXPECT_EQ(main.StatusPanel1->text(), "Простой ...");
    EXPECT_EQ(VersionText(main), "");

    // The file commands stay off until a configuration has been read again;
    // the dialog offers the address of the last time.
    program.AnswerAddressDialog();
    main.Connect_Device->trigger();
    EXPECT_EQ(program.Controller.Calls().back().Unit, 17);
    Shown reconnected = ConnectedNotRead();
    reconnected.PagesVisible = reconnected.Open = reconnected.Save = false;
    EXPECT_EQ(StateOf(main), reconnected);
    main.Read_Config->trigger();
    EXPECT_EQ(StateOf(main), ConfigurationRead());
}

TEST_F(ConnectionWorkflowTest, ReadConfigReadsAtOnceAndZeroNumIDAsksForNoAddress) {
    UserSettings()->setValue("ReadConfig", 1);
    UserSettings()->setValue("ZeroNumID", 1);
    SimulatedProgram program(AtAddress(1));
    TForm_Main& main = program.Main();
    main.show();
    program.CancelAddressDialog(); // should it be shown after all

    LogMark log(main);
    main.Connect_Device->trigger();
    EXPECT_EQ(program.AddressDialogShown(), 0);
    EXPECT_EQ(program.Controller.Calls().front().Unit, 1);
    EXPECT_EQ(log.New(), (QStringList{"Установление связи ...", "Есть соединение с прибором.",
                                      "Чтение настройки ... Ok."}));
    EXPECT_EQ(StateOf(main), ConfigurationRead());
    EXPECT_EQ(main.PageControl1->currentIndex(), TForm_Main::kPageManual);
    EXPECT_EQ(main.PageControl1->tabText(main.PageControl1->currentIndex()), "Ручное управление");
    ExpectPagesShow(main, ControllerImage(program, 1).Model);
}

TEST_F(ConnectionWorkflowTest, EditsOnTheContourAndInputsPagesReachTheController) {
    SimulatedProgram program(AtAddress(3));
    TForm_Main& main = program.Main();
    main.show();
    program.AnswerAddressDialog("3");
    main.Connect_Device->trigger();
    main.Read_Config->trigger();
    ASSERT_EQ(StateOf(main), ConfigurationRead());
    const sim::Configuration before = program.Controller.CurrentConfiguration();

    // Contour 1: the proportional factor, shown and stored in tenths.
    gui::ParamGrid& contour = *testing::ContourPageOf(main, 1).AdvColumnGrid_Contour;
    const int pk = testing::RowOf(contour, device::coPK);
    ASSERT_GT(pk, 0);
    ASSERT_NE(before.Contour1.PK, 13);
    testing::TypeIntoCell(main, contour, pk, 1, "1.3");
    // Inputs: thermometer 5 goes to another contour.
    gui::ParamGrid& inputs = *testing::InputsPageOf(main).AdvColumnGrid_Input_T;
    const int assignment = before.InputsTerm[4].Contour == 2 ? 1 : 2;
    testing::PickInCell(main, inputs, 5, 1, assignment);
    ASSERT_EQ(main.Model().Input_T[4].Contour, assignment);
    EXPECT_EQ(program.Controller.CurrentConfiguration().Contour1.PK, before.Contour1.PK)
        << "nothing reaches the controller before Write";

    LogMark log(main);
    main.Write_Config->trigger();
    EXPECT_EQ(log.New(), QStringList{"Запись настройки ... Ok."});
    EXPECT_EQ(main.StatusPanel1->text(), "Простой ...");
    const sim::Configuration after = program.Controller.CurrentConfiguration();
    EXPECT_EQ(after.Contour1.PK, 13);
    EXPECT_EQ(after.InputsTerm[4].Contour, assignment);
    sim::Configuration expected = before;
    expected.Contour1.PK = 13;
    expected.InputsTerm[4].Contour = std::uint8_t(assignment);
    EXPECT_EQ(after.Contour1, expected.Contour1);
    EXPECT_EQ(after.Contour2, expected.Contour2);
    EXPECT_EQ(after.InputsTerm, expected.InputsTerm);
    EXPECT_EQ(after.InputsAnalog, expected.InputsAnalog);
    EXPECT_EQ(StateOf(main), ConfigurationRead()) << "a write changes no state";
}

// The controller refuses contour 3: the log names what it already took.
TEST_F(ConnectionWorkflowTest, AWriteThatStopsHalfWayNamesTheBlocksWritten) {
    SimulatedProgram program(AtAddress(1));
    TForm_Main& main = ShownAndConnected(program);
    main.Read_Config->trigger();
    ASSERT_EQ(StateOf(main), ConfigurationRead());
    main.Model().Contour2.Cycle = 123;
    main.Model().Contour3.Cycle = 321;

    program.Controller.AddFault({sim::FaultKind::Exception, "Write_ParamConturEx_KT41", 0, 1});
    LogMark log(main);
    main.Write_Config->trigger();
    EXPECT_EQ(log.New(), (QStringList{"Запись настройки ... Ошибка.",
                                      "Записаны только: входы, контур 1, контур 2. Прибор "
                                      "содержит смесь прежней и новой настройки."}));
    EXPECT_EQ(main.StatusPanel1->text(), "Простой ...");
    EXPECT_EQ(program.Controller.CurrentConfiguration().Contour2.Cycle, 123);
    EXPECT_NE(program.Controller.CurrentConfiguration().Contour3.Cycle, 321);

    // Written in full, the configuration needs no second line.
    LogMark again(main);
    main.Write_Config->trigger();
    EXPECT_EQ(again.New(), QStringList{"Запись настройки ... Ok."});
}

TEST_F(ConnectionWorkflowTest, TwoConnectAttemptsAtMost) {
    SimulatedProgram program(AtAddress(5));
    TForm_Main& main = program.Main();
    main.show();

    // Silent twice: no connection, and the port the driver opened is closed.
    // Each attempt is a request and the driver's retry.
    program.Controller.AddFault({sim::FaultKind::NoAnswer, "Connect_Device_KT41", 0, 4});
    program.AnswerAddressDialog("5");
    LogMark failed(main);
    main.Connect_Device->trigger();
    EXPECT_EQ(program.Controller.CallCount("Connect_Device_KT41"), 4);
    EXPECT_EQ(failed.New(),
              (QStringList{"Ввод сетевого адреса прибора ...", "Установление связи ...",
                           "Связь не установлена ...", "Сеанс связи завершен."}));
    EXPECT_EQ(StateOf(main), Disconnected());
    EXPECT_EQ(VersionText(main), "");

    // Silent once: the second attempt connects at its first request, and no
    // third is made.
    program.Controller.ClearFaults();
    program.Controller.ClearCalls();
    program.Controller.AddFault({sim::FaultKind::NoAnswer, "Connect_Device_KT41", 0, 2});
    program.AnswerAddressDialog();
    main.Connect_Device->trigger();
    EXPECT_EQ(program.Controller.CallCount("Connect_Device_KT41"), 3);
    EXPECT_EQ(main.StatusPanel2->text(), "Подключено");
    EXPECT_TRUE(main.Read_Config->isEnabled());
    EXPECT_TRUE(Prompt.History.empty());
}

TEST_F(ConnectionWorkflowTest, AReadThatFailsAtContour3KeepsWhatItReadAndOffersAnotherTry) {
    SimulatedProgram program(AtAddress(1));
    TForm_Main& main = ShownAndConnected(program);
    ASSERT_TRUE(main.ComPort1.Connected());

    program.Controller.AddFault({sim::FaultKind::Exception, "Read_ParamConturEx_KT41", 0, 1});
    LogMark log(main);
    main.Read_Config->trigger();
    EXPECT_EQ(log.New(), QStringList{"Чтение настройки ... Ошибка."});
    EXPECT_EQ(StateOf(main), ReadFailed());
    EXPECT_FALSE(main.PageControl1->isVisible());
    EXPECT_EQ(main.StatusPanel1->text(), "Простой ...");
    const sim::Configuration held = program.Controller.CurrentConfiguration();
    const device::TKT41& model = main.Model();
    EXPECT_EQ(model.Contour1, held.Contour1);
    EXPECT_EQ(model.Contour2, held.Contour2);
    EXPECT_EQ(model.Contour3.ContourType, held.Contour3.ContourType);
    EXPECT_EQ(model.Contour3.ConturCtrlMode, held.Contour3.ConturCtrlMode);
    EXPECT_EQ(model.Contour3.DavHigh_Feed1, 0) << "its own block was not read";
    EXPECT_EQ(model.Contour4, device::TParamConturEx{});
    EXPECT_EQ(model.ParamDevice, device::TParamDevice{});
    EXPECT_EQ(model.CalibrTemperatureAndPressure, device::TCalibrTermDav{});

    main.Read_Config->trigger();
    EXPECT_EQ(StateOf(main), ConfigurationRead());
    ExpectPagesShow(main, ControllerImage(program, 1).Model);
}

TEST_F(ConnectionWorkflowTest, APortHeldByAnotherProgramIsReportedAndChangesNothing) {
    SimulatedProgram program(AtAddress(1));
    TForm_Main& main = program.Main();
    main.show();
    main.Model().Contour1.Tnorm = 77;
    const device::TParamContur before = main.Model().Contour1;
    ASSERT_TRUE(program.Pty->Hold(true));

    program.AnswerAddressDialog("1");
    main.Connect_Device->trigger();
    ASSERT_EQ(Prompt.Messages().size(), 1u);
    const gui::MessageRequest box = Prompt.Messages()[0];
    EXPECT_EQ(box.Text, "Последовательный порт занят другим приложением ...    ");
    EXPECT_EQ(box.Caption, "Ошибка");
    EXPECT_EQ(box.Icon, gui::PromptIcon::Error);
    EXPECT_TRUE(box.Topmost);
    EXPECT_EQ(main.StatusPanel1->text(), "Простой ...");
    EXPECT_EQ(StateOf(main), Start());
    EXPECT_EQ(main.Model().Contour1, before);
    EXPECT_EQ(program.Controller.Calls().size(), 0u);
    EXPECT_TRUE(
        LogTexts(main).contains("Порт " + program.PortName() + ": занят другой программой."))
        << LogTexts(main).join("\n").toStdString();

    // Once the other program lets go, the same command connects.
    program.Pty->Hold(false);
    program.AnswerAddressDialog();
    main.Connect_Device->trigger();
    EXPECT_EQ(main.StatusPanel2->text(), "Подключено");
}

// Every port error shows the one box; the log line after it says which error
// it was, so that a missing adapter is told from a refusing gateway.
TEST_F(ConnectionWorkflowTest, APortThatCannotBeOpenedIsLoggedWithItsCause) {
    SimulatedProgram program(AtAddress(1));
    TForm_Main& main = program.Main();
    main.show();
    const QString missing = Home() + "/ttyUSB9";
    const struct {
        QString Port;
        QString Logged;
    } cases[] = {
        {missing, "Порт " + missing + ": нет такого устройства (адаптер не подключён?)."},
        // Nothing listens on port 1 of this machine.
        {"tcp://127.0.0.1:1", "Шлюз tcp://127.0.0.1:1: соединение отклонено."},
        {"tcp://gateway", "Неверное имя порта tcp://gateway (шлюз задаётся как tcp://узел:порт)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Port.toStdString());
        Prompt.Clear();
        main.ComPort1.PortName = c.Port.toStdString();
        program.AnswerAddressDialog("1");
        LogMark log(main);
        main.Connect_Device->trigger();
        ASSERT_EQ(Prompt.Messages().size(), 1u);
        EXPECT_EQ(Prompt.Messages()[0].Text,
                  "Последовательный порт занят другим приложением ...    ");
        EXPECT_TRUE(log.New().contains(c.Logged)) << log.New().join("\n").toStdString();
        EXPECT_FALSE(main.ComPort1.Connected());
    }
}

TEST_F(ConnectionWorkflowTest, ALineThatGoesAwayIsReportedAndTheWindowGoesOn) {
    SimulatedProgram program(AtAddress(1));
    TForm_Main& main = ShownAndConnected(program);
    main.Read_Config->trigger();
    ASSERT_EQ(StateOf(main), ConfigurationRead());
    const device::TParamContur before = main.Model().Contour1;
    const QString port = program.PortName();

    program.Unplug();
    LogMark writeLog(main);
    main.Write_Config->trigger();
    ASSERT_EQ(Prompt.Messages().size(), 1u);
    EXPECT_EQ(Prompt.Messages()[0].Text, "Последовательный порт занят другим приложением ...    ");
    EXPECT_EQ(writeLog.New(),
              (QStringList{"Порт " + port + ": связь с линией потеряна.", "Простой ..."}));
    EXPECT_EQ(main.StatusPanel1->text(), "Простой ...");
    EXPECT_EQ(main.Model().Contour1, before);

    Prompt.Clear();
    main.Read_Config->trigger();
    ASSERT_EQ(Prompt.Messages().size(), 1u);
    EXPECT_EQ(Prompt.Messages()[0].Text, "Последовательный порт занят другим приложением ...    ");
    EXPECT_EQ(main.StatusPanel1->text(), "Простой ...");
    // The interrupted read left a reset model behind: nothing may write or save it.
    EXPECT_FALSE(main.Write_Config->isEnabled());
    EXPECT_FALSE(main.FileSaveAs1->isEnabled());
    EXPECT_TRUE(main.Read_Config->isEnabled());
    EXPECT_FALSE(main.PageControl1->isVisible());

    main.Connect_Device->trigger(); // disconnects
    EXPECT_EQ(StateOf(main), Disconnected());
}

TEST_F(ConnectionWorkflowTest, NoSerialPortAtAll) {
    SimulatedProgram::Options options;
    options.Ports = QStringList{};
    SimulatedProgram program(options);
    TForm_Main& main = program.Main();
    main.show();
    program.CancelAddressDialog(); // should it be shown after all

    LogMark log(main);
    main.Connect_Device->trigger();
    EXPECT_EQ(program.AddressDialogShown(), 0);
    ASSERT_EQ(Prompt.Messages().size(), 1u);
    EXPECT_EQ(Prompt.Messages()[0].Text, "Нет свободных последовательных портов...");
    EXPECT_EQ(Prompt.Messages()[0].Caption, "Ошибка");
    EXPECT_EQ(Prompt.Messages()[0].Icon, gui::PromptIcon::Error);
    EXPECT_TRUE(log.New().isEmpty());
    EXPECT_EQ(main.StatusPanel1->text(), "Простой ...");
    EXPECT_EQ(StateOf(main), Disconnected());
}

TEST_F(ConnectionWorkflowTest, CancellingTheAddressDialogConnectsNothing) {
    SimulatedProgram program(AtAddress(1));
    TForm_Main& main = program.Main();
    main.show();
    program.CancelAddressDialog();
    LogMark log(main);
    main.Connect_Device->trigger();
    EXPECT_EQ(program.AddressDialogShown(), 1);
    EXPECT_EQ(log.New(), (QStringList{"Ввод сетевого адреса прибора ...", "Простой ..."}));
    EXPECT_EQ(StateOf(main), Disconnected());
    EXPECT_EQ(program.Controller.Calls().size(), 0u);
}

TEST_F(ConnectionWorkflowTest, ModbusTcpGatewayTypedIntoThePortList) {
    SimulatedProgram::Options options = AtAddress(9);
    options.Transport = SimulatedProgram::Line::Tcp;
    options.Ports = QStringList{"/dev/ttyS0"};
    SimulatedProgram program(options);
    TForm_Main& main = program.Main();
    auto* ports = main.Form_Config->findChild<QComboBox*>("ComComboBox1");
    ASSERT_TRUE(ports->isEditable());
    ports->setEditText(program.PortName());
    main.Form_Config->Button3Click(); // Применить
    EXPECT_EQ(QString::fromStdString(main.ComPort1.PortName), program.PortName());
    EXPECT_EQ(UserSettings()->value("ComPort").toString(), program.PortName());

    program.AnswerAddressDialog("9");
    main.Connect_Device->trigger();
    main.Read_Config->trigger();
    EXPECT_EQ(StateOf(main).Connection, "Подключено");
    EXPECT_EQ(main.Model().Contour1, program.Controller.CurrentConfiguration().Contour1);
    main.Connect_Device->trigger();

    // At the next start the gateway is an entry of the list, selected, and
    // counts as a port present even without serial ports.
    SimulatedProgram::Options again = options;
    again.Ports = QStringList{};
    program.Windows.reset();
    SimulatedProgram restarted(again);
    EXPECT_EQ(QString::fromStdString(restarted.Main().ComPort1.PortName), program.PortName());
    EXPECT_TRUE(restarted.Main().Settings.PortsPresent);
}

// A page that uses the line while asked to: the archive page's read, stopped
// through its read/cancel button, or a page's poll timer.
class LinePage : public QWidget, public pages::MainWindowPage {
public:
    std::function<bool()> Using;
    std::function<void()> Stop;
    void PrepareAtStart() override {}
    bool UsesLine() const override { return Using(); }
    void StopUsingLine() override { Stop(); }
};

LinePage* TimerPage(TForm_Main& main, int index, const char* timerName) {
    auto* page = new LinePage;
    auto* timer = new QTimer(page);
    timer->setObjectName(timerName);
    page->Using = [timer] { return timer->isActive(); };
    page->Stop = [timer] { timer->stop(); };
    main.SetPage(index, page);
    return page;
}

// Closing the connection stops what the pages run on the line first: the
// archive read (through its read/cancel button) and both page timers.
TEST_F(ConnectionWorkflowTest, ClosingTheConnectionStopsTheArchiveReadAndThePageTimers) {
    SimulatedProgram program(AtAddress(1));
    TForm_Main& main = program.Main();
    auto* archive = new LinePage;
    auto* readButton = new QPushButton("Отмена", archive);
    readButton->setObjectName("AdvGlowButton_ReadArx");
    bool reading = false;
    archive->Using = [&reading] { return reading; };
    archive->Stop = [readButton] { readButton->click(); };
    bool portOpenAtCancel = false;
    QObject::connect(readButton, &QPushButton::clicked, [&] {
        portOpenAtCancel = main.ComPort1.Connected();
        reading = false;
    });
    main.SetPage(TForm_Main::kPageArchive, archive);
    auto* current = TimerPage(main, TForm_Main::kPageCurrent, "Timer_Current")
                        ->findChild<QTimer*>("Timer_Current");
    auto* manual = TimerPage(main, TForm_Main::kPageManual, "Timer_Manual")
                       ->findChild<QTimer*>("Timer_Manual");
    main.show();

    program.AnswerAddressDialog("1");
    main.Connect_Device->trigger();
    ASSERT_TRUE(main.ComPort1.Connected());
    reading = true;
    current->start(5000);
    manual->start(1000);
    main.Connect_Device->trigger();
    EXPECT_TRUE(portOpenAtCancel) << "the read is cancelled before the port closes";
    EXPECT_FALSE(reading);
    EXPECT_FALSE(current->isActive());
    EXPECT_FALSE(manual->isActive());
    EXPECT_FALSE(main.ComPort1.Connected());

    // Without a read in progress the button is left alone.
    program.AnswerAddressDialog();
    main.Connect_Device->trigger();
    portOpenAtCancel = false;
    int clicks = 0;
    QObject::connect(readButton, &QPushButton::clicked, [&] { ++clicks; });
    main.Exit_Prog->trigger();
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(main.ComPort1.Connected());
    EXPECT_FALSE(main.isVisible());
}

// The calibration commands wait while a page uses the line, and need the menu.
TEST_F(ConnectionWorkflowTest, CalibrationWaitsWhileAPageUsesTheLine) {
    SimulatedProgram program(AtAddress(1));
    TForm_Main& main = program.Main();
    auto* timer = TimerPage(main, TForm_Main::kPageCurrent, "Timer_Current")
                      ->findChild<QTimer*>("Timer_Current");
    main.ShowCalibrationMenu(true);
    EXPECT_TRUE(main.Calibr_Term->isEnabled());
    timer->start(5000);
    main.Calibr_TermUpdate();
    main.Calibr_PressUpdate();
    EXPECT_FALSE(main.Calibr_Term->isEnabled());
    EXPECT_FALSE(main.Calibr_Press->isEnabled());
    timer->stop();
    main.Calibr_TermUpdate();
    main.Calibr_PressUpdate();
    EXPECT_TRUE(main.Calibr_Term->isEnabled());
    EXPECT_TRUE(main.Calibr_Press->isEnabled());
    main.ShowCalibrationMenu(false);
    EXPECT_FALSE(main.Calibr_Term->isEnabled());
}

// A click as the window system queues it: a press and a release at the
// middle of `rect` of the widget, posted (from any thread).
void PostClick(QWidget* widget, const QRect& rect) {
    const QPointF at = rect.center();
    const QPointF global = widget->mapToGlobal(at);
    QCoreApplication::postEvent(widget,
                                new QMouseEvent(QEvent::MouseButtonPress, at, global,
                                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(widget,
                                new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

int WritesSeen(const sim::Controller& controller) {
    int writes = 0;
    for (const sim::CallRecord& call : controller.Calls()) {
        writes += call.Function.rfind("Write_", 0) == 0 ? 1 : 0;
    }
    return writes;
}

// Clicks made while the line is busy (here: on "Записать" and on the
// "Настройки" tab during a configuration read) are dropped when the read
// ends instead of being replayed: no unintended write reaches the controller.
TEST_F(ConnectionWorkflowTest, ClicksMadeDuringAReadAreDroppedNotReplayed) {
    SimulatedProgram program(AtAddress(1));
    TForm_Main& main = ShownAndConnected(program);
    ASSERT_TRUE(main.ComPort1.Connected());
    QWidget* writeButton = main.ToolBar1->widgetForAction(main.Write_Config);
    QTabBar* tabs = main.PageControl1->tabBar();
    ASSERT_NE(writeButton, nullptr);

    // The user clicks while the controller is being read.
    std::atomic<bool> clicked = false;
    program.Controller.SetCallObserver([&](const sim::CallRecord& call) {
        if (call.Function == "Read_ParamContur_KT41" && !clicked.exchange(true)) {
            PostClick(writeButton, writeButton->rect());
            PostClick(tabs, tabs->tabRect(TForm_Main::kPageDevice));
        }
    });
    main.Read_Config->trigger();
    program.Controller.SetCallObserver({});
    ASSERT_TRUE(clicked);
    QCoreApplication::processEvents();
    EXPECT_EQ(WritesSeen(program.Controller), 0);
    EXPECT_EQ(main.PageControl1->currentIndex(), TForm_Main::kPageManual);

    // The same clicks made while the line is free do what they say.
    PostClick(tabs, tabs->tabRect(TForm_Main::kPageDevice));
    PostClick(writeButton, writeButton->rect());
    QCoreApplication::processEvents();
    EXPECT_EQ(main.PageControl1->currentIndex(), TForm_Main::kPageDevice);
    EXPECT_GT(WritesSeen(program.Controller), 0);
}

// Closing the window is never dropped, even in the middle of a read.
TEST_F(ConnectionWorkflowTest, AWindowClosedDuringAReadCloses) {
    SimulatedProgram program(AtAddress(1));
    TForm_Main& main = ShownAndConnected(program);
    std::atomic<bool> closed = false;
    program.Controller.SetCallObserver([&](const sim::CallRecord& call) {
        if (call.Function == "Read_ParamContur_KT41" && !closed.exchange(true)) {
            // As the window system closes a window: the event goes to its QWindow.
            QCoreApplication::postEvent(main.windowHandle(), new QCloseEvent);
        }
    });
    main.Read_Config->trigger();
    program.Controller.SetCallObserver({});
    ASSERT_TRUE(closed);
    EXPECT_FALSE(main.isVisible());
}

} // namespace
} // namespace kt41::app
