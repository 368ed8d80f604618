#include "DialogTest.h"
#include "app/TForm_Main.h"
#include "dialogs/TForm_Pumps_Conf.h"

namespace kt41::dialogs {
namespace {

using device::TPumpGroup;

TPumpGroup SampleGroup() {
    TPumpGroup group;
    group.Pump_ON = 1;
    group.Pump_Main = 1;
    group.Pump_SensProtect = 0;
    group.Pump_SensWork = 1;
    group.Pump_AVR = 1;
    group.Pump_VarWork = 0;
    group.Pump_DelayOn = 5;
    group.Pump_TimeSensWork = 10;
    group.Pump_Reset = 7; // beyond its list
    group.Pump_PeriodReset = 120;
    return group;
}

class PumpsDialogTest : public testing::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        dialog = Main().Form_Pumps_Conf;
        ASSERT_NE(dialog, nullptr);
        grid = dialog->AdvColumnGrid_Pumps;
        Model().Contour1.PumpGroup = SampleGroup();
        Model().Contour3.PumpGroup = SampleGroup();
        Model().Contour4.PumpGroup = SampleGroup();
    }

    int Open(int contour, std::function<void()> script) {
        return RunModal(*dialog, std::move(script), [&] { return dialog->EditContour(contour); });
    }

    TForm_Pumps_Conf* dialog = nullptr;
    gui::ParamGrid* grid = nullptr;
};

TEST_F(PumpsDialogTest, ContourFourEditsItsReducedRecordAndKeepsAnUnlistedRestartMode) {
    const int result = Open(4, [&] {
        ASSERT_EQ(grid->rowCount(), 11);
        EXPECT_EQ(grid->CellText(1, 0), "Включение режима работы насосов");
        EXPECT_EQ(grid->CellText(10, 0), "Период перезапуска насосов в режиме «Произвольный», мин");
        EXPECT_EQ(grid->CellText(2, 1), "Насос 1");
        EXPECT_EQ(grid->CellText(3, 1), "Нет");
        EXPECT_EQ(grid->CellText(9, 1), "7");
        EXPECT_EQ(grid->CellText(10, 1), "120");
        EXPECT_EQ(grid->RowOption[9], device::noRST_Mode);

        auto* restart = qobject_cast<QComboBox*>(grid->OpenEditor(9, 1));
        ASSERT_NE(restart, nullptr);
        EXPECT_EQ(restart->count(), 3);
        grid->CancelEditor();

        Pick(*grid, 2, 1, 0);           // "Насос 2"
        Pick(*grid, 3, 1, 1);           // dry-running sensor: "Есть"
        TypeInto(*grid, 10, 1, "2000"); // period: 10..1440
        TypeInto(*grid, 7, 1, "0");     // delay: 1..30
        TypeInto(*grid, 8, 1, "25");
        EXPECT_EQ(grid->CellText(2, 1), "Насос 2");
        EXPECT_EQ(grid->CellText(10, 1), "1440");
        EXPECT_EQ(grid->CellText(7, 1), "1");
        dialog->Button_OK->click();
    });
    EXPECT_EQ(result, mrOk);

    TPumpGroup expected = SampleGroup();
    expected.Pump_Main = 0;
    expected.Pump_SensProtect = 1;
    expected.Pump_PeriodReset = 1440;
    expected.Pump_DelayOn = 1;
    expected.Pump_TimeSensWork = 25;
    EXPECT_EQ(Model().Contour4.PumpGroup, expected);
    EXPECT_EQ(Model().Contour4.PumpGroup.Pump_Reset, 7);
    EXPECT_EQ(Model().Contour3.PumpGroup, SampleGroup());
    EXPECT_EQ(Model().Contour1.PumpGroup, SampleGroup());

    const auto reloaded = SavedAndReloaded();
    EXPECT_EQ(reloaded->Contour4.PumpGroup, expected);
}

TEST_F(PumpsDialogTest, CancelKeepsTheModelButSavesWidthsAndPlacement) {
    const int result = Open(1, [&] {
        Pick(*grid, 9, 1, 2);
        TypeInto(*grid, 10, 1, "5");
        EXPECT_EQ(grid->CellText(10, 1), "10");
        grid->setColumnWidth(0, 300);
        dialog->Button_Cancel->click();
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(Model().Contour1.PumpGroup, SampleGroup());

    auto settings = UserSettings();
    EXPECT_EQ(settings->value("Table_Pumps/Col0").toInt(), 300);
    EXPECT_EQ(settings->value("Form_Pumps_Conf/Form_Options").toByteArray().size(), 44);

    // The same dialog then edits contour 3 with nothing carried over.
    Model().Contour3.PumpGroup.Pump_Reset = 1;
    Open(3, [&] {
        EXPECT_EQ(grid->CellText(9, 1), "Фиксированный");
        EXPECT_EQ(grid->CellText(10, 1), "120");
        EXPECT_EQ(grid->columnWidth(0), 300);
        dialog->close();
    });
}

} // namespace
} // namespace kt41::dialogs
