#include "DialogTest.h"
#include "app/TForm_Main.h"
#include "dialogs/TForm_Schedule_Tnorm.h"

#include <QComboBox>

namespace kt41::dialogs {
namespace {

using Schedule = std::array<std::int16_t, 8>;

class ScheduleDialogTest : public testing::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        dialog = Main().Form_Schedule_Tnorm;
        ASSERT_NE(dialog, nullptr);
        grid = dialog->AdvColumnGrid_Schedule;
        auto& c1 = Model().Contour1;
        c1.Tout = {-25, -15, -5, 0, 5, 8, 9, 15};
        c1.Tin = {95, 85, 75, 65, 55, 50, 45, 40};
        c1.Tback = {70, 65, 60, 50, 45, 40, 35, 30};
        c1.Qt_Points = 5;
        auto& c2 = Model().Contour2;
        c2.Tout = {-30, -20, -10, -5, 0, 5, 8, 10};
        c2.Tin = {110, 100, 90, 80, 70, 60, 50, 45};
        c2.Tback = {80, 75, 70, 60, 50, 45, 40, 35};
        c2.Qt_Points = 3;
    }

    int Open(int contour, std::function<void()> script) {
        return RunModal(*dialog, std::move(script), [&] { return dialog->EditContour(contour); });
    }

    TForm_Schedule_Tnorm* dialog = nullptr;
    gui::ParamGrid* grid = nullptr;
};

TEST_F(ScheduleDialogTest, ShowsEightPointsAndStoresAllOfThemWithTheBoundsOnOk) {
    const int result = Open(1, [&] {
        EXPECT_FALSE(dialog->ComboBox_Points->isEnabled());
        EXPECT_EQ(dialog->ComboBox_Points->currentText(), "8");
        ASSERT_EQ(grid->rowCount(), 9); // heading and eight points, though the model says 5
        EXPECT_EQ(grid->CellText(1, 0), "1");
        EXPECT_EQ(grid->CellText(8, 0), "8");
        EXPECT_EQ(grid->CellText(1, 1), "-25");
        EXPECT_EQ(grid->CellText(8, 1), "15");
        EXPECT_EQ(grid->CellText(8, 3), "30");
        EXPECT_EQ(grid->OpenEditor(3, 0), nullptr); // the point number is fixed

        TypeInto(*grid, 3, 2, "130"); // supply: 30..120
        TypeInto(*grid, 1, 1, "-9");  // outdoor at point 1: -50..-10
        TypeInto(*grid, 8, 1, "-60"); // outdoor at point 8: 0..15
        TypeInto(*grid, 2, 1, "-10"); // points 2..7 reach up to 10
        TypeInto(*grid, 4, 3, "19");  // return: 20..120
        EXPECT_EQ(grid->CellText(3, 2), "120");
        EXPECT_EQ(grid->CellText(1, 1), "-10");
        EXPECT_EQ(grid->CellText(8, 1), "0");
        dialog->Button_OK->click();
    });
    EXPECT_EQ(result, mrOk);

    const auto& c1 = Model().Contour1;
    EXPECT_EQ(c1.Qt_Points, 8);
    EXPECT_EQ(c1.Tout, (Schedule{-10, -10, -5, 0, 5, 8, 9, 0}));
    EXPECT_EQ(c1.Tin, (Schedule{95, 85, 120, 65, 55, 50, 45, 40}));
    EXPECT_EQ(c1.Tback, (Schedule{70, 65, 60, 20, 45, 40, 35, 30}));

    const auto reloaded = SavedAndReloaded();
    EXPECT_EQ(reloaded->Contour1.Tout, c1.Tout);
    EXPECT_EQ(reloaded->Contour1.Tin, c1.Tin);
    EXPECT_EQ(reloaded->Contour1.Tback, c1.Tback);
    EXPECT_EQ(reloaded->Contour1.Qt_Points, 8);
}

TEST_F(ScheduleDialogTest, CancelKeepsTheModelButSavesWidthsAndPlacement) {
    const auto before = Model().Contour1;
    const int result = Open(1, [&] {
        TypeInto(*grid, 2, 2, "100");
        grid->setColumnWidth(1, 90);
        dialog->Button_Cancel->click();
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(Model().Contour1.Tin, before.Tin);
    EXPECT_EQ(Model().Contour1.Qt_Points, 5);

    auto settings = UserSettings();
    EXPECT_EQ(settings->value("Table_Schedule_Tnorm/Col1").toInt(), 90);
    EXPECT_EQ(settings->value("Form_Schedule_Tnorm/Form_Options").toByteArray().size(), 44);

    // The next opening shows the model again, in the widths saved last time.
    Open(1, [&] {
        EXPECT_EQ(grid->CellText(2, 2), "85");
        EXPECT_EQ(grid->columnWidth(1), 90);
        dialog->close(); // the window's close button
    });
    EXPECT_EQ(Model().Contour1.Tin, before.Tin);
}

TEST_F(ScheduleDialogTest, ContourTwoIsEditedAlone) {
    const auto contour1 = Model().Contour1;
    Open(2, [&] {
        EXPECT_EQ(grid->CellText(1, 1), "-30");
        TypeInto(*grid, 5, 2, "72");
        dialog->Button_OK->click();
    });
    EXPECT_EQ(Model().Contour2.Tin[4], 72);
    EXPECT_EQ(Model().Contour2.Qt_Points, 8);
    EXPECT_EQ(Model().Contour1.Tin, contour1.Tin);
    EXPECT_EQ(Model().Contour1.Qt_Points, 5);
}

} // namespace
} // namespace kt41::dialogs
