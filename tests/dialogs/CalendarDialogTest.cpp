#include "DialogTest.h"
#include "app/TForm_Main.h"
#include "dialogs/TForm_Calendar.h"

namespace kt41::dialogs {
namespace {

using device::TWeekCalendar;
using Day = std::array<std::uint16_t, 4>;

// The two calendars are one implementation; every case runs on both.
struct Calendar {
    const char* Name;
    TForm_Calendar* (*Dialog)(app::TForm_Main&);
    TWeekCalendar& (*Field)(device::TParamContur&);
    TWeekCalendar& (*Other)(device::TParamContur&);
};

const Calendar kCalendars[] = {
    {"Pump", [](app::TForm_Main& m) -> TForm_Calendar* { return m.Form_Calendar_Pump; },
     [](device::TParamContur& c) -> TWeekCalendar& { return c.Calendar_Pump; },
     [](device::TParamContur& c) -> TWeekCalendar& { return c.Calendar_Tlow; }},
    {"Tlow", [](app::TForm_Main& m) -> TForm_Calendar* { return m.Form_Calendar_Tlow; },
     [](device::TParamContur& c) -> TWeekCalendar& { return c.Calendar_Tlow; },
     [](device::TParamContur& c) -> TWeekCalendar& { return c.Calendar_Pump; }},
};

void PrintTo(const Calendar& calendar, std::ostream* os) {
    *os << calendar.Name;
}

class CalendarDialogTest : public testing::DialogTest,
                           public ::testing::WithParamInterface<Calendar> {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        dialog = GetParam().Dialog(Main());
        ASSERT_NE(dialog, nullptr);
        grid = dialog->AdvColumnGrid_Calendar;
        for (auto* contour : {&Model().Contour1, &Model().Contour2}) {
            TWeekCalendar& calendar = GetParam().Field(*contour);
            for (auto& day : calendar.Day) {
                day = {6, 9, 17, 22};
            }
            GetParam().Other(*contour).Day[0] = {1, 2, 3, 4};
        }
    }

    int Open(int contour, std::function<void()> script) {
        return RunModal(*dialog, std::move(script), [&] { return dialog->EditContour(contour); });
    }

    TWeekCalendar& Field(int contour) {
        return GetParam().Field(contour == 1 ? Model().Contour1 : Model().Contour2);
    }

    QStringList RowTexts(int row) const {
        QStringList texts;
        for (int column = 0; column < 5; ++column) {
            texts << grid->CellText(row, column);
        }
        return texts;
    }

    TForm_Calendar* dialog = nullptr;
    gui::ParamGrid* grid = nullptr;
};

TEST_P(CalendarDialogTest, PickingAnHourPushesTheNeighboursAndOkStoresTheWeek) {
    Field(2).Day[3] = {6, 9, 30, 24}; // values above 23 are off
    const int result = Open(2, [&] {
        EXPECT_EQ(RowTexts(1), (QStringList{"Пн", "06", "09", "17", "22"}));
        EXPECT_EQ(RowTexts(4), (QStringList{"Чт", "06", "09", "Выкл.", "Выкл."}));
        EXPECT_EQ(grid->CellText(7, 0), "Вс");
        auto* list = qobject_cast<QComboBox*>(grid->OpenEditor(1, 2));
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->count(), 25);
        EXPECT_EQ(list->itemText(0), "00");
        EXPECT_EQ(list->itemText(24), "Выкл.");
        EXPECT_EQ(list->currentIndex(), 9);
        grid->CancelEditor();

        Pick(*grid, 1, 4, 0);  // Monday: "00" in slot 4 lowers every slot
        Pick(*grid, 2, 1, 12); // Tuesday: "12" in slot 1 raises slot 2 only
        Pick(*grid, 3, 2, 24); // Wednesday: "Выкл." in slot 2 switches off 3 and 4
        EXPECT_EQ(RowTexts(1), (QStringList{"Пн", "00", "00", "00", "00"}));
        EXPECT_EQ(RowTexts(2), (QStringList{"Вт", "12", "12", "17", "22"}));
        EXPECT_EQ(RowTexts(3), (QStringList{"Ср", "06", "Выкл.", "Выкл.", "Выкл."}));
        dialog->Button_OK->click();
    });
    EXPECT_EQ(result, mrOk);

    const TWeekCalendar& stored = Field(2);
    EXPECT_EQ(stored.Day[0], (Day{0, 0, 0, 0})); // Monday is the first day
    EXPECT_EQ(stored.Day[1], (Day{12, 12, 17, 22}));
    EXPECT_EQ(stored.Day[2], (Day{6, 24, 24, 24}));
    EXPECT_EQ(stored.Day[3], (Day{6, 9, 30, 24})); // untouched "off" values are kept
    EXPECT_EQ(stored.Day[6], (Day{6, 9, 17, 22}));
    EXPECT_EQ(Field(1).Day[0], (Day{6, 9, 17, 22}));
    EXPECT_EQ(GetParam().Other(Model().Contour2).Day[0], (Day{1, 2, 3, 4}));

    const auto reloaded = SavedAndReloaded();
    EXPECT_EQ(GetParam().Field(reloaded->Contour2), stored);
}

TEST_P(CalendarDialogTest, CancelKeepsTheModelAndWidthsAreLoadedButNeverSaved) {
    auto machine = MachineSettings();
    machine->setValue("Install Data/Table_Calendar/Col1", 150);
    machine->sync();
    // Creation gave the user the machine-wide layout; a new program start sees it.
    program.reset();
    program = StartProgram();
    dialog = GetParam().Dialog(Main());
    grid = dialog->AdvColumnGrid_Calendar;
    for (auto* contour : {&Model().Contour1, &Model().Contour2}) {
        for (auto& day : GetParam().Field(*contour).Day) {
            day = {6, 9, 17, 22};
        }
    }

    const TWeekCalendar before = Field(1);
    const int result = Open(1, [&] {
        EXPECT_EQ(grid->columnWidth(1), 150);
        Pick(*grid, 5, 3, 2);
        grid->setColumnWidth(1, 60);
        dialog->Button_Cancel->click();
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(Field(1), before);

    auto settings = UserSettings();
    EXPECT_EQ(settings->value("Table_Calendar/Col1").toInt(), 150);
    EXPECT_FALSE(settings->contains("Table_Calendar/Col2"));
    EXPECT_EQ(settings->value(QString(dialog->objectName()) + "/Form_Options").toByteArray().size(),
              44);

    Open(1, [&] {
        EXPECT_EQ(grid->CellText(5, 3), "17"); // not the abandoned pick
        EXPECT_EQ(grid->columnWidth(1), 150);
        dialog->close();
    });
    EXPECT_EQ(Field(1), before);
}

INSTANTIATE_TEST_SUITE_P(BothCalendars, CalendarDialogTest, ::testing::ValuesIn(kCalendars),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace kt41::dialogs
