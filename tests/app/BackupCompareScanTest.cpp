// The backup before a write, the two comparisons and the scan window, over
// the real driver and simulated controllers.
#include "app/TForm_Main.h"
#include "config_file/ConfigFile.h"
#include "device/TKT41.h"
#include "dialogs/TForm_Compare.h"
#include "dialogs/TForm_Scan.h"
#include "gui/ParamGrid.h"
#include "simulator/PtyServer.h"
#include "support/FakeControllerDriver.h"
#include "support/GuiTest.h"
#include "support/SimulatedProgram.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QSpinBox>
#include <QTimer>

namespace kt41::app {
namespace {

using testing::GuiTest;
using testing::LogTexts;
using testing::SimulatedProgram;

class BackupCompareScanTest : public GuiTest {
protected:
    static SimulatedProgram::Options Options() {
        SimulatedProgram::Options options;
        options.Controller.Address = 1;
        options.Controller.SerialNumber = 4321;
        return options;
    }

    static TForm_Main& ConnectedAndRead(SimulatedProgram& program) {
        TForm_Main& main = program.Main();
        main.show();
        program.AnswerAddressDialog("1");
        main.Connect_Device->trigger();
        main.Read_Config->trigger();
        return main;
    }

    static QStringList Backups(TForm_Main& main) {
        return QDir(main.BackupFolder()).entryList({"*.c50"}, QDir::Files);
    }

    // The comparison table's rows: page, parameter, on the pages, in the other.
    static std::vector<QStringList> Rows(TForm_Main& main) {
        std::vector<QStringList> rows;
        gui::ParamGrid* grid = main.Form_Compare->Grid_Compare;
        for (int row = 1; row < grid->rowCount(); ++row) {
            rows.push_back({grid->CellText(row, 0), grid->CellText(row, 1), grid->CellText(row, 2),
                            grid->CellText(row, 3)});
        }
        return rows;
    }
};

TEST_F(BackupCompareScanTest, EveryWriteLeavesTheReplacedConfigurationInTheBackupFolder) {
    SimulatedProgram program(Options());
    TForm_Main& main = ConnectedAndRead(program);
    ASSERT_TRUE(main.Settings.BackupBeforeWrite); // on by default
    EXPECT_EQ(main.BackupFolder(), QDir(main.Settings.ConfigFolder).filePath("Резервные копии"));
    const std::uint16_t oldCycle = program.Controller.CurrentConfiguration().Contour1.Cycle;
    main.Model().Contour1.Cycle = std::uint16_t(oldCycle + 7);

    main.Write_Config->trigger();
    const QStringList files = Backups(main);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files[0].startsWith("R50_№ 04321 ")) << files[0].toStdString();
    testing::FakeControllerDriver none;
    device::TKT41 saved(none);
    ASSERT_TRUE(config_file::LoadFromFile(
        saved, QDir(main.BackupFolder()).filePath(files[0]).toStdString()));
    EXPECT_EQ(saved.Contour1.Cycle, oldCycle); // what the write replaced
    EXPECT_EQ(program.Controller.CurrentConfiguration().Contour1.Cycle, oldCycle + 7);
    EXPECT_TRUE(LogTexts(main).contains("Настройка прибора сохранена в файл " +
                                        QDir(main.BackupFolder()).filePath(files[0])));
    EXPECT_TRUE(Prompt.Messages().empty());
}

TEST_F(BackupCompareScanTest, AFailingBackupAsksAndNoWritesNothing) {
    SimulatedProgram program(Options());
    TForm_Main& main = ConnectedAndRead(program);
    main.Model().Contour2.Cycle = 77;
    // The backup's read fails (the fault twice: no answer, then no answer to
    // the retry).
    program.Controller.AddFault({sim::FaultKind::Exception, "Read_CalibrTermDav_KT41", 0, 1});
    program.Controller.ClearCalls();
    Prompt.MessageAnswers = {gui::PromptButton::No};
    main.Write_Config->trigger();
    ASSERT_EQ(Prompt.Messages().size(), 1u);
    EXPECT_EQ(Prompt.Messages()[0].Buttons,
              (QList<gui::PromptButton>{gui::PromptButton::Yes, gui::PromptButton::No}));
    EXPECT_TRUE(Prompt.Messages()[0].Text.contains("без резервной копии"));
    EXPECT_EQ(program.Controller.CallCount("Write_ParamInput_Term_KT41"), 0);
    EXPECT_NE(program.Controller.CurrentConfiguration().Contour2.Cycle, 77);
    EXPECT_TRUE(LogTexts(main).contains("Запись настройки отменена."));
    EXPECT_TRUE(Backups(main).isEmpty());

    // "Да" writes without one; with the setting off nothing is asked.
    program.Controller.AddFault({sim::FaultKind::Exception, "Read_CalibrTermDav_KT41", 0, 1});
    Prompt.Clear();
    Prompt.MessageAnswers = {gui::PromptButton::Yes};
    main.Write_Config->trigger();
    EXPECT_EQ(Prompt.Messages().size(), 1u);
    EXPECT_EQ(program.Controller.CurrentConfiguration().Contour2.Cycle, 77);

    main.Settings.BackupBeforeWrite = false;
    Prompt.Clear();
    program.Controller.ClearCalls();
    main.Write_Config->trigger();
    EXPECT_TRUE(Prompt.Messages().empty());
    EXPECT_EQ(program.Controller.CallCount("Read_CalibrTermDav_KT41"), 0);
}

TEST_F(BackupCompareScanTest, ComparesThePagesWithTheControllerAndWithAFile) {
    SimulatedProgram program(Options());
    TForm_Main& main = ConnectedAndRead(program);
    ASSERT_TRUE(main.Compare_Device->isEnabled());

    main.Compare_Device->trigger();
    ASSERT_NE(main.Form_Compare, nullptr);
    EXPECT_TRUE(main.Form_Compare->isVisible());
    EXPECT_EQ(main.Form_Compare->Label_Summary->text(), "Нет различий");

    const std::uint16_t held = program.Controller.CurrentConfiguration().Contour1.Tnorm;
    main.Model().SetContourParam(1, device::coT_water_NR, held + 3); // an edit on the pages
    const device::TParamContur before = main.Model().Contour1;
    main.Compare_Device->trigger();
    EXPECT_EQ(main.Form_Compare->Label_Summary->text(), "Различий: 1");
    EXPECT_EQ(Rows(main),
              (std::vector<QStringList>{{"Контур 1", "Нормальная темп-ра горячей воды, град",
                                         QString::number(held + 3), QString::number(held)}}));
    EXPECT_EQ(main.Form_Compare->Grid_Compare->CellText(0, 3), "В приборе");
    EXPECT_EQ(main.Model().Contour1, before); // the pages' model is left alone

    // A file with another calibration code.
    testing::FakeControllerDriver none;
    device::TKT41 file(none);
    file.Contour1 = before;
    file.Contour2 = main.Model().Contour2;
    file.Contour3 = main.Model().Contour3;
    file.Contour4 = main.Model().Contour4;
    file.Input_T = main.Model().Input_T;
    file.Input_P = main.Model().Input_P;
    file.ParamDevice = main.Model().ParamDevice;
    file.CalibrTemperatureAndPressure = main.Model().CalibrTemperatureAndPressure;
    file.CalibrTemperatureAndPressure.K_P2 += 1;
    const QString path = QDir(Home()).filePath("other.c50");
    ASSERT_TRUE(config_file::SaveToFile(file, path.toStdString()));
    Prompt.FileAnswers = {path};
    main.Compare_File->trigger();
    const std::vector<QStringList> rows = Rows(main);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "Калибровка");
    EXPECT_EQ(rows[0][1], "K_P2");
    EXPECT_EQ(main.Form_Compare->Grid_Compare->CellText(0, 3), "В файле");
    EXPECT_EQ(main.Form_Compare->Label_Source->text(), "Файл: other.c50");
}

TEST_F(BackupCompareScanTest, ScanWindowFindsTheControllersAndConnectsOnDoubleClick) {
    SimulatedProgram::Options options = Options();
    options.Controller.Address = 3;
    SimulatedProgram program(options);
    sim::ControllerOptions at245 = options.Controller;
    at245.Address = 245; // beyond the address dialog's range
    at245.SerialNumber = 4545;
    sim::Controller second(at245);
    program.Controller.ShareLine(second);

    TForm_Main& main = program.Main();
    main.show();
    ASSERT_TRUE(main.Scan_Line->isEnabled());
    main.Scan_Line->trigger();
    dialogs::TForm_Scan& scan = *main.Form_Scan;
    ASSERT_TRUE(scan.isVisible());
    scan.CheckBox_19200->setChecked(false);
    scan.SpinEdit_First->setValue(1);
    scan.SpinEdit_Last->setValue(4);
    scan.Button_ScanClick();
    ASSERT_EQ(scan.Found().size(), 1u);
    EXPECT_EQ(scan.Found()[0].Address, 3);
    EXPECT_EQ(scan.ProgressBar_Scan->value(), scan.ProgressBar_Scan->maximum());
    EXPECT_FALSE(main.ComPort1.Connected()); // the scan closed the line again

    // A stop click during the scan ends it at once.
    scan.SpinEdit_First->setValue(1);
    scan.SpinEdit_Last->setValue(247);
    QTimer::singleShot(0, &scan, [&scan] { scan.Button_ScanClick(); });
    scan.Button_ScanClick();
    EXPECT_FALSE(scan.Scanning());
    EXPECT_LT(scan.ProgressBar_Scan->value(), 10);
    EXPECT_TRUE(scan.Label_State->text().startsWith("Поиск остановлен"));

    scan.SpinEdit_First->setValue(244);
    scan.SpinEdit_Last->setValue(246);
    scan.Button_ScanClick();
    ASSERT_EQ(scan.Found().size(), 1u);
    EXPECT_EQ(scan.Found()[0].SerialNumber, 4545);

    // The double click connects to 245 without the address dialog.
    const int dialogsBefore = program.AddressDialogShown();
    scan.Grid_FoundDblClick(1);
    EXPECT_FALSE(scan.isVisible());
    EXPECT_TRUE(main.ComPort1.Connected());
    EXPECT_EQ(main.Model().Address, 245);
    EXPECT_EQ(program.AddressDialogShown(), dialogsBefore);
    EXPECT_FALSE(main.Scan_Line->isEnabled());
}

} // namespace
} // namespace kt41::app
