#include "PagesTest.h"

#include <QLabel>

namespace kt41::testing {
namespace {

using namespace kt41::device;
using pages::InputsPage;

constexpr int kContour = 1, kFunction = 2, kAlarm = 3, kValue = 4, kUnit = 5;

class InputsPageTest : public PagesTest {
protected:
    gui::ParamGrid& T() { return *Inputs().AdvColumnGrid_Input_T; }
    gui::ParamGrid& P() { return *Inputs().AdvColumnGrid_Input_P; }
    bool Editable(gui::ParamGrid& grid, int row, int column) {
        const bool open = OpenEditor(grid, row, column) != nullptr;
        grid.CancelEditor();
        return open;
    }
};

TEST_F(InputsPageTest, GridsHaveTheirHeadingsInputsAndColumnMap) {
    InputsPage& page = Inputs();
    EXPECT_EQ(page.RowOption, (std::array<int, 4>{ioJoinContour, ioFunc, ioAlarm, ioMaxValAnalog}));
    EXPECT_EQ(T().CellText(0, 0), "№\nтсп");
    EXPECT_EQ(T().CellText(0, 1), "\nНазначение");
    EXPECT_EQ(T().CellText(0, 2), "\nФункция");
    EXPECT_EQ(T().CellText(0, 3), "\n«Аварийный»");
    EXPECT_EQ(P().CellText(0, 0), "№\nвхода");
    EXPECT_EQ(P().CellText(0, kValue), "Значение\nсоответ-щее\n20 мА");
    EXPECT_EQ(P().columnSpan(0, kValue), 2);
    EXPECT_EQ(T().HeadingHeight(), 55);
    EXPECT_EQ(P().HeadingHeight(), 54);
    ASSERT_EQ(T().rowCount(), 7);
    ASSERT_EQ(P().rowCount(), 5);
    EXPECT_EQ(T().CellText(6, 0), "T6");
    EXPECT_EQ(P().CellText(4, 0), "P4");
    EXPECT_EQ(Editable(T(), 1, 0), false);

    Model().CalibrTemperatureAndPressure.Type_T = 1;
    Model().Input_P[1] = {.Contour = 3, .Func = 7, .Alarm = 2, .InputType = 2, .MaxVal = 1234};
    Main().ShowModelOnPages();
    EXPECT_EQ(Main().findChild<QLabel*>("StaticText_ResistTermInfo")->text(), "Pt100 W = 1.3910");
    EXPECT_EQ(P().CellText(2, kContour), "Контур 3");
    EXPECT_EQ(P().CellText(2, kFunction), "Контрольный (расход)");
    EXPECT_EQ(P().CellText(2, kAlarm), "---");
    EXPECT_EQ(P().CellText(2, kValue), Shown("12.34"));
    EXPECT_EQ(P().CellText(2, kUnit), "м3/ч");
}

TEST_F(InputsPageTest, AThermometersAlarmFollowsItsFunction) {
    Pick(T(), 3, kFunction, 0); // "Нет"
    EXPECT_EQ(Model().Input_T[2].Func, 0);
    EXPECT_EQ(T().CellText(3, kAlarm), "---");
    EXPECT_FALSE(Editable(T(), 3, kAlarm));

    Pick(T(), 3, kFunction, 2); // "Смесь (ОТП)"
    EXPECT_EQ(T().CellText(3, kFunction), "Смесь (ОТП)");
    EXPECT_EQ(T().CellText(3, kAlarm), "Нет");
    Pick(T(), 3, kAlarm, 1);
    EXPECT_EQ(Model().Input_T[2].Alarm, 1);
    EXPECT_EQ(T().CellText(3, kAlarm), "Есть");
    Pick(T(), 3, kContour, 3);
    EXPECT_EQ(Model().Input_T[2].Contour, 3);
    EXPECT_EQ(T().CellText(3, kContour), "Контур 1 и 2");
}

TEST_F(InputsPageTest, AnAnalogFunctionSetsTheUnitAndTheAlarmRole) {
    Pick(P(), 2, kFunction, 7); // "Контрольный (расход)"
    EXPECT_EQ(P().CellText(2, kUnit), "м3/ч");
    EXPECT_EQ(P().CellText(2, kAlarm), "---");
    EXPECT_FALSE(Editable(P(), 2, kAlarm));
    Pick(P(), 2, kFunction, 6); // "Контрольный (положение)"
    EXPECT_EQ(P().CellText(2, kUnit), "%");
    EXPECT_FALSE(Editable(P(), 2, kAlarm));

    Pick(P(), 2, kFunction, 3); // "Подпитка 1 (давление)"
    EXPECT_EQ(P().CellText(2, kUnit), "МПа");
    EXPECT_EQ(P().CellText(2, kAlarm), "Нет");
    EXPECT_TRUE(Editable(P(), 2, kAlarm));
    EXPECT_FALSE(Editable(P(), 2, kUnit));
}

TEST_F(InputsPageTest, TheSameTextTwiceInTheFunctionListKeepsItsOwnIndex) {
    Model().Input_P[0].Func = 2;
    Main().ShowModelOnPages();
    QComboBox* list = ListEditor(P(), 1, kFunction);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 8);
    EXPECT_EQ(list->currentIndex(), 2); // not the first "РПД (давление)"
    emit list->activated(1);
    EXPECT_EQ(Model().Input_P[0].Func, 1);
    EXPECT_EQ(ListEditor(T(), 1, kFunction)->count(), 7);
    T().CancelEditor();
    EXPECT_EQ(ListEditor(P(), 1, kContour)->count(), 5);
    P().CancelEditor();
}

TEST_F(InputsPageTest, OneAnalogAlarmInputLocksTheOthers) {
    Pick(P(), 1, kFunction, 1);
    Pick(P(), 1, kAlarm, 1); // P1 "Есть"
    EXPECT_EQ(Model().Input_P[0].Alarm, 1);
    for (int row = 2; row <= 4; ++row) {
        for (int column = kContour; column <= kValue; ++column) {
            EXPECT_FALSE(Editable(P(), row, column)) << row << "," << column;
        }
    }
    EXPECT_TRUE(Editable(P(), 1, kValue));
    EXPECT_TRUE(Editable(T(), 1, kContour)); // thermometers are not concerned

    Pick(P(), 1, kAlarm, 0);
    EXPECT_TRUE(Editable(P(), 3, kContour));
    EXPECT_TRUE(Editable(P(), 4, kValue));
}

TEST_F(InputsPageTest, TheTwentyMilliampValueIsStoredInHundredthsAndANonNumberIsRefused) {
    TypeInto(P(), 4, kValue, "25.5");
    EXPECT_EQ(Model().Input_P[3].MaxVal, 2550);
    EXPECT_EQ(P().CellText(4, kValue), Shown("25.50"));
    EXPECT_TRUE(Prompt.Messages().empty());

    TypeInto(P(), 4, kValue, "0,29");
    EXPECT_EQ(Model().Input_P[3].MaxVal, 29);

    TypeInto(P(), 4, kValue, "abc");
    EXPECT_EQ(Model().Input_P[3].MaxVal, 29);
    EXPECT_EQ(P().CellText(4, kValue), Shown("0.29"));
    ASSERT_EQ(Prompt.Messages().size(), 1u);
    EXPECT_EQ(Prompt.Messages()[0].Text, "Cell does not contain a float value");
    EXPECT_EQ(Prompt.Messages()[0].Caption, "Ошибка");

    TypeInto(P(), 4, kValue, "-3");
    EXPECT_EQ(Model().Input_P[3].MaxVal, 0);
    TypeInto(P(), 4, kValue, "1000");
    EXPECT_EQ(Model().Input_P[3].MaxVal, 65535);
}

} // namespace
} // namespace kt41::testing
