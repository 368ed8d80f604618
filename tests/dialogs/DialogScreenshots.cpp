// Grabs the schedule, calendar and pump-group dialogs, filled with the
// simulator's demo plant, to PNG files, for looking at the layout. Not a test:
// it is built with the tests but not registered with CTest. Run it as
//   KT41_SCREENSHOT_DIR=docs/screenshots xvfb-run -a build/tests/dialogs/dialog_screenshots
// (or with QT_QPA_PLATFORM=offscreen).
#include "app/StartUp.h"
#include "app/TForm_Main.h"
#include "dialogs/TForm_Calendar.h"
#include "dialogs/TForm_Pumps_Conf.h"
#include "dialogs/TForm_Schedule_Tnorm.h"
#include "simulator/Configuration.h"
#include "support/GuiTest.h"

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

} // namespace
} // namespace kt41::testing
