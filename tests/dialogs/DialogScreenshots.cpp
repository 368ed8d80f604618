// Grabs the schedule, calendar and pump-group dialogs, filled with the
// simulator's demo plant, the clock, calibration, comparison and scan windows,
// the template choice and About to PNG files, for looking at the layout. Not a
// test: it is built with the tests but not registered with CTest. Run it as
//   KT41_SCREENSHOT_DIR=$PWD/docs/screenshots xvfb-run -a build/tests/dialogs/dialog_screenshots
// (or with QT_QPA_PLATFORM=offscreen).
#include "app/StartUp.h"
#include "app/TForm_Main.h"
#include "device/Calibration.h"
#include "dialogs/TForm_About.h"
#include "dialogs/TForm_Calendar.h"
#include "dialogs/TForm_Compare.h"
#include "dialogs/TForm_Data_Time.h"
#include "dialogs/TForm_Dialog.h"
#include "dialogs/TForm_KodiCalibr.h"
#include "dialogs/TForm_Pumps_Conf.h"
#include "dialogs/TForm_Scan.h"
#include "dialogs/TForm_Schedule_Tnorm.h"
#include "dialogs/TForm_Sel.h"
#include "dialogs/TForm_SelPattern.h"
#include "driver/ModbusDriver.h"
#include "simulator/Configuration.h"
#include "simulator/Controller.h"
#include "simulator/PtyServer.h"
#include "support/FakeControllerDriver.h"
#include "support/ScreenshotTest.h"
#include "support/SimulatedProgram.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSpinBox>
#include <QTimer>

namespace kt41::testing {
namespace {

class DialogScreenshots : public ScreenshotTest {};

TEST_F(DialogScreenshots, EveryWorkingCopyDialog) {
    auto program = StartProgram();
    app::TForm_Main& main = program->Main();
    const sim::Configuration plant = sim::DemoConfiguration();
    main.Model().Contour1 = plant.Contour1; // heating
    main.Model().Contour2 = plant.Contour2; // hot water
    main.show();
    QApplication::processEvents();

    const std::tuple<dialogs::WorkingCopyDialog*, int, const char*> shots[] = {
        {main.Form_Schedule_Tnorm, 1, "dialog-schedule"},
        {main.Form_Calendar_Tlow, 1, "dialog-calendar-tlow"},
        {main.Form_Calendar_Pump, 2, "dialog-calendar-pump"},
        {main.Form_Pumps_Conf, 1, "dialog-pumps"},
    };
    for (const auto& [dialog, contour, name] : shots) {
        const QString path = QDir(folder).absoluteFilePath(QString(name) + ".png");
        QTimer::singleShot(0, dialog, [dialog, path] {
            QApplication::processEvents();
            EXPECT_TRUE(dialog->grab().save(path)) << path.toStdString();
            dialog->reject();
        });
        dialog->EditContour(contour);
    }
}

TEST_F(DialogScreenshots, TheCalibrationWindows) {
    SimulatedProgram::Options options;
    options.CommandLine = {"-C"};
    SimulatedProgram program(options);
    app::TForm_Main& main = program.Main();
    main.show();
    program.AnswerAddressDialog("1");
    main.Connect_Device->trigger();
    program.Controller.References().SetResistance(92.16);
    const auto save = [this](QWidget& window, const char* name) {
        QApplication::processEvents();
        const QString path = QDir(folder).absoluteFilePath(QString(name) + ".png");
        EXPECT_TRUE(window.grab().save(path)) << path.toStdString();
    };

    // The monitor in its measuring phase, seven samples taken.
    dialogs::TForm_KodiCalibr& monitor = *main.Form_KodiCalibr;
    monitor.setWindowTitle("Калиб-ка термометра");
    monitor.PointNumber = 1;
    monitor.Channel = device::CodeMonitor::Temperature;
    monitor.open();
    monitor.Timer_Calibr->stop();
    for (int tick = 0; tick < 12; ++tick) {
        monitor.Timer_CalibrTimer();
    }
    save(monitor, "dialog-calibration-monitor");
    monitor.reject();

    dialogs::TForm_Sel& type = *main.Form_Sel;
    QStringList choices;
    for (const std::string& text : device::ThermometerChoiceTexts()) {
        choices << QString::fromStdString(text);
    }
    type.setWindowTitle("Выбор типа термометра");
    type.PrepareChoices(choices, 1);
    type.open();
    save(type, "dialog-thermometer-type");
    type.reject();

    dialogs::TForm_Dialog& prompt = *main.Form_Dialog;
    prompt.SetLines(device::TermPromptLines(0, 1));
    prompt.open();
    save(prompt, "dialog-calibration-prompt");
    prompt.reject();
}

TEST_F(DialogScreenshots, ClockWindow) {
    SimulatedProgram program;
    app::TForm_Main& main = program.Main();
    main.show();
    program.AnswerAddressDialog("1");
    main.Connect_Device->trigger();
    program.Controller.SetClock({2025, 1, 1, 14, 5, 9});
    dialogs::TForm_Data_Time& window = *main.Form_Data_Time;
    const QString path = QDir(folder).absoluteFilePath("dialog-clock.png");
    QTimer::singleShot(300, &window, [&window, path] {
        EXPECT_TRUE(window.grab().save(path)) << path.toStdString();
        window.FormKeyPress(Qt::Key_Escape);
    });
    window.ShowModal();
}

// The comparison window after edits on the pages, and the scan window after a
// scan of a simulated line with three controllers.
TEST_F(DialogScreenshots, ComparisonAndScanWindows) {
    auto program = StartProgram();
    app::TForm_Main& main = program->Main();
    const sim::Configuration plant = sim::DemoConfiguration();
    FakeControllerDriver none;
    device::TKT41 controller(none);
    for (device::TKT41* m : {&main.Model(), &controller}) {
        m->Contour1 = plant.Contour1;
        m->Contour2 = plant.Contour2;
        m->Contour3 = plant.Contour3;
        m->Contour4 = plant.Contour4;
        m->Input_T = plant.InputsTerm;
        m->Input_P = plant.InputsAnalog;
        m->ParamDevice = plant.Device;
        m->CalibrTemperatureAndPressure = plant.Calibration;
    }
    main.Model().ParamDevice.SerialNumber = 12345;
    controller.ParamDevice.SerialNumber = 12346;
    main.Model().Contour1.Tnorm = 60;
    main.Model().Contour1.PK = 25;
    main.Model().Contour2.Tout[2] = -12;
    main.Model().Contour4.DavHigh_Feed1 = 150;
    main.Model().Input_T[2].Func = 3;
    main.Model().ParamDevice.MBS_speed = 1;
    main.Model().CalibrTemperatureAndPressure.K_P1 += 4;
    main.show();
    main.ShowComparison(controller, "В приборе", "Прибор с адресом 1");
    QApplication::processEvents();
    EXPECT_TRUE(
        main.Form_Compare->grab().save(QDir(folder).absoluteFilePath("dialog-compare.png")));
    main.Form_Compare->close();

    sim::ControllerOptions options;
    options.ArchiveDays = 0;
    sim::Controller first(options);
    options.Address = 5;
    options.SerialNumber = 12346;
    sim::Controller second(options);
    options.Address = 9;
    options.SerialNumber = 12347;
    sim::Controller third(options);
    first.ShareLine(second);
    first.ShareLine(third);
    sim::PtyServer pty(first);
    driver::ComPort port;
    port.PortName = pty.SlavePath();
    driver::ModbusDriver driver;
    dialogs::TForm_Scan scan(driver, port, nullptr, &main);
    scan.SpinEdit_Last->setValue(12);
    scan.show();
    scan.Button_ScanClick();
    QApplication::processEvents();
    EXPECT_EQ(scan.Found().size(), 3u);
    EXPECT_TRUE(scan.grab().save(QDir(folder).absoluteFilePath("dialog-scan.png")));
}

// The template choice over three templates beside the delivered one, and the
// About window.
TEST_F(DialogScreenshots, TemplateChoiceAndAbout) {
    auto program = StartProgram();
    app::TForm_Main& main = program->Main();
    main.show();
    QApplication::processEvents();

    const QString templates = Home() + "/templates/";
    QDir().mkpath(templates);
    for (const char* name :
         {"Архив KT-41.xltx", "Котельная №2.xltx", "Шаблон Orvald.xltx", "ЦТП ул. Садовая.xltx"}) {
        QFile(templates + name).open(QIODevice::WriteOnly);
    }
    dialogs::TForm_SelPattern& choice = *main.Form_SelPattern;
    const QString choicePath = QDir(folder).absoluteFilePath("dialog-template.png");
    QTimer::singleShot(0, &choice, [&choice, choicePath] {
        QApplication::processEvents();
        EXPECT_TRUE(choice.grab().save(choicePath)) << choicePath.toStdString();
        choice.reject();
    });
    choice.ChooseTemplate(templates);

    dialogs::TForm_About& about = *main.Form_About;
    const QString aboutPath = QDir(folder).absoluteFilePath("dialog-about.png");
    QTimer::singleShot(0, &about, [&about, aboutPath] {
        QApplication::processEvents();
        EXPECT_TRUE(about.grab().save(aboutPath)) << aboutPath.toStdString();
        about.reject();
    });
    main.AboutExecute();
}

} // namespace
} // namespace kt41::testing
