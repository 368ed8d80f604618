// Grabs every parameter page of the main window, filled with the simulator's
// demo plant, to PNG files, for looking at the layout. Not a test: it is built
// with the tests but not registered with CTest. Run it as
//   KT41_SCREENSHOT_DIR=$PWD/docs/screenshots xvfb-run -a build/tests/pages/page_screenshots
// (or with QT_QPA_PLATFORM=offscreen).
#include "app/StartUp.h"
#include "app/TForm_Main.h"
#include "pages/ArchivePage.h"
#include "pages/CurrentPage.h"
#include "pages/ManualPage.h"
#include "simulator/Configuration.h"
#include "simulator/Controller.h"
#include "support/ScreenshotTest.h"
#include "support/SimulatedProgram.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>

namespace kt41::testing {
namespace {

class PageScreenshots : public ScreenshotTest {};

void ShowDemoPlant(app::TForm_Main& main) {
    const sim::Configuration plant = sim::DemoConfiguration();
    device::TKT41& model = main.Model();
    model.Contour1 = plant.Contour1;
    model.Contour2 = plant.Contour2;
    model.Contour3 = plant.Contour3;
    model.Contour4 = plant.Contour4;
    model.Contour4.ContourType = 1; // every page shows rows
    model.Input_T = plant.InputsTerm;
    model.Input_P = plant.InputsAnalog;
    model.ParamDevice = plant.Device;
    model.ParamDevice.SerialNumber = 42;
    model.CalibrTemperatureAndPressure = plant.Calibration;
    main.ShowModelOnPages();
}

TEST_F(PageScreenshots, EveryParameterPage) {
    auto program = StartProgram();
    app::TForm_Main& main = program->Main();
    main.show();
    QApplication::processEvents();
    ShowDemoPlant(main);
    const char* names[] = {"device", "contour1", "contour2", "contour3", "contour4", "inputs"};
    for (int page = 0; page <= app::TForm_Main::kPageInputs; ++page) {
        main.PageControl1->setCurrentIndex(page);
        QApplication::processEvents();
        const QString path =
            QDir(folder).absoluteFilePath(QString("page-%1-%2.png").arg(page).arg(names[page]));
        EXPECT_TRUE(main.grab().save(path)) << path.toStdString();
    }
    // Contour 3 with two feed channels (the widest values), and held as
    // heating, which it cannot take.
    const std::pair<int, const char*> variants[] = {{3, "two-feeds"}, {4, "heating"}};
    for (const auto& [type, name] : variants) {
        main.Model().Contour3.ContourType = std::uint8_t(type);
        main.Model().Contour3.FeedMode = 3;
        main.ShowModelOnPages();
        main.PageControl1->setCurrentIndex(app::TForm_Main::kPageContour3);
        QApplication::processEvents();
        const QString path =
            QDir(folder).absoluteFilePath(QString("page-3-contour3-%1.png").arg(name));
        EXPECT_TRUE(main.grab().save(path)) << path.toStdString();
    }
}

// The archive page after reading the demo controller's last eight days.
TEST_F(PageScreenshots, ArchivePageAfterARead) {
    SimulatedProgram program;
    app::TForm_Main& main = program.Main();
    main.resize(1280, 640); // wide enough for the notes
    main.show();
    program.AnswerAddressDialog("1");
    main.Connect_Device->trigger();
    main.Read_Config->trigger();
    main.PageControl1->setCurrentIndex(app::TForm_Main::kPageArchive);
    auto* page = dynamic_cast<pages::ArchivePage*>(main.PageAt(app::TForm_Main::kPageArchive));
    ASSERT_NE(page, nullptr);
    page->AdvGlowButton_ReadArx->click();
    QApplication::processEvents();
    const QString path = QDir(folder).absoluteFilePath("page-6-archive.png");
    EXPECT_TRUE(main.grab().save(path)) << path.toStdString();
    // The same records on the "График" tab, at the window's design size.
    main.resize(794, 556);
    page->findChild<QTabWidget*>("TabControl_ArxView")->setCurrentIndex(1);
    QApplication::processEvents();
    const QString plot = QDir(folder).absoluteFilePath("page-6-archive-plot.png");
    EXPECT_TRUE(main.grab().save(plot)) << plot.toStdString();
}

// The readings page after a poll of the simulated demo plant, with events in
// its log (one of the plant's short episodes and a few events held).
TEST_F(PageScreenshots, CurrentReadingsPage) {
    SimulatedProgram program;
    app::TForm_Main& main = program.Main();
    main.show();
    program.AnswerAddressDialog("1");
    main.Connect_Device->trigger();
    main.Read_Config->trigger();
    // 10:12:20 on a Monday: the dry-running episode of contour 1 is under way.
    program.Controller.SetClock({2025, 12, 8, 10, 12, 20});
    main.PageControl1->setCurrentIndex(app::TForm_Main::kPageCurrent);
    auto* page = dynamic_cast<pages::CurrentPage*>(main.PageAt(app::TForm_Main::kPageCurrent));
    ASSERT_NE(page, nullptr);
    page->Timer_CurrentTimer();
    QApplication::processEvents();
    const QString path = QDir(folder).absoluteFilePath("page-8-current.png");
    EXPECT_TRUE(main.grab().save(path)) << path.toStdString();

    // Its trend over an hour of polls, 30 s apart on the controller's clock,
    // with one failed poll that leaves a gap.
    const auto controllerTime = [&program] {
        const driver::CivilDateTime c = program.Controller.Clock();
        return QDateTime(QDate(c.Year, c.Month, c.Day), QTime(c.Hour, c.Minute, c.Second));
    };
    page->Timer_Current->stop();
    page->TrendClock = controllerTime;
    page->ConnectionClosed(); // the trend starts with these polls
    QDateTime at(QDate(2025, 12, 8), QTime(9, 30));
    for (int poll = 0; poll < 120; ++poll) {
        program.Controller.SetClock({at.date().year(), at.date().month(), at.date().day(),
                                     at.time().hour(), at.time().minute(), at.time().second()});
        if (poll == 70) {
            program.Controller.AddFault({sim::FaultKind::NoAnswer, "Get_Current_Data_KT41", 0, 2});
        }
        page->Timer_CurrentTimer();
        at = at.addSecs(30);
    }
    page->TabControl_CurView->setCurrentIndex(1);
    QApplication::processEvents();
    const QString trend = QDir(folder).absoluteFilePath("page-8-current-trend.png");
    EXPECT_TRUE(main.grab().save(trend)) << trend.toStdString();
}

// The manual page against the simulated controller: contour 1 in manual mode
// with its valve opening and pump 1 on, analog output 1 at 12.5 mA.
TEST_F(PageScreenshots, ManualPage) {
    SimulatedProgram program;
    app::TForm_Main& main = program.Main();
    main.show();
    program.AnswerAddressDialog("1");
    main.Connect_Device->trigger();
    main.Read_Config->trigger();
    auto& page = *dynamic_cast<pages::ManualPage*>(main.PageAt(app::TForm_Main::kPageManual));
    page.Contours[0].ManualMode->click();
    page.Contours[0].Open->click();
    page.Pumps[0].On->click();
    page.AdvTrackBar_AnalogOut[0]->setValue(125);
    page.Timer_ManualTimer();
    QApplication::processEvents();
    const QString path = QDir(folder).absoluteFilePath("page-7-manual.png");
    EXPECT_TRUE(main.grab().save(path)) << path.toStdString();
}

} // namespace
} // namespace kt41::testing
