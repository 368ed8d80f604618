// Grabs the schedule, calendar and pump-group dialogs, filled with the
// simulator's demo plant, and the calibration windows to PNG files, for looking at the layout. Not
// a test: it is built with the tests but not registered with CTest. Run it as
//   KT41_SCREENSHOT_DIR=$PWD/docs/screenshots xvfb-run -a build/tests/dialogs/dialog_screenshots
// (or with QT_QPA_PLATFORM=offscreen).
#include "app/StartUp.h"
#include "app/TForm_Main.h"
#include "device/Calibration.h"
#include "dialogs/TForm_Calendar.h"
#include "dialogs/TForm_Dialog.h"
#include "dialogs/TForm_KodiCalibr.h"
#include "dialogs/TForm_Pumps_Conf.h"
#include "dialogs/TForm_Schedule_Tnorm.h"
#include "dialogs/TForm_Sel.h"
#include "simulator/Configuration.h"
#include "support/GuiTest.h"
#include "support/SimulatedProgram.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

namespace kt41::testing {
namespace {

class DialogScreenshots : public GuiTest {};

TEST_F(DialogScreenshots, EveryWorkingCopyDialog) {
    const QString folder = qEnvironmentVariable("KT41_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        GTEST_SKIP() << "KT41_SCREENSHOT_DIR is not set";
    }
    QDir().mkpath(folder);
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
    const QString folder = qEnvironmentVariable("KT41_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        GTEST_SKIP() << "KT41_SCREENSHOT_DIR is not set";
    }
    QDir().mkpath(folder);
    SimulatedProgram::Options options;
    options.CommandLine = {"-C"};
    SimulatedProgram program(options);
    app::TForm_Main& main = program.Main();
    main.show();
    program.AnswerAddressDialog("1");
    main.Connect_Device->trigger();
    program.Controller.References().SetResistance(92.16);
    const auto save = [&folder](QWidget& window, const char* name) {
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

} // namespace
} // namespace kt41::testing
