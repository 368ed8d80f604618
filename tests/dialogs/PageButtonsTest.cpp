#include "DialogTest.h"
#include "app/TForm_Main.h"
#include "dialogs/TForm_Calendar.h"
#include "dialogs/TForm_Pumps_Conf.h"
#include "dialogs/TForm_Schedule_Tnorm.h"
#include "pages/ContourPage.h"

#include <QCheckBox>
#include <QTabWidget>

namespace kt41::dialogs {
namespace {

using app::TForm_Main;

struct Contours {
    device::TParamContur C1, C2;
    device::TParamConturEx C3, C4;
    bool operator==(const Contours&) const = default;
};

Contours Of(const device::TKT41& model) {
    return {model.Contour1, model.Contour2, model.Contour3, model.Contour4};
}

// A button of a contour page, the edit made in the dialog it opens, and the
// change that edit makes to the model's contours.
struct Case {
    const char* Button;
    int Contour;
    int Type;             // the contour type that shows the button
    const char* CheckBox; // the in-force box that enables it, or null
    WorkingCopyDialog* (*Dialog)(TForm_Main&);
    void (*Edit)(TForm_Main&);
    void (*Change)(Contours&);
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.Button;
}

const Case kCases[] = {
    {"ButtonConf_Pumps", 1, 2, nullptr,
     [](TForm_Main& m) -> WorkingCopyDialog* { return m.Form_Pumps_Conf; },
     [](TForm_Main& m) {
         testing::DialogTest::Pick(*m.Form_Pumps_Conf->AdvColumnGrid_Pumps, 2, 1, 0);
     },
     [](Contours& c) { c.C1.PumpGroup.Pump_Main = 0; }},
    {"ButtonConf_Pumps4", 4, 3, nullptr,
     [](TForm_Main& m) -> WorkingCopyDialog* { return m.Form_Pumps_Conf; },
     [](TForm_Main& m) {
         testing::DialogTest::Pick(*m.Form_Pumps_Conf->AdvColumnGrid_Pumps, 2, 1, 0);
     },
     [](Contours& c) { c.C4.PumpGroup.Pump_Main = 0; }},
    {"ButtonConf_Tnorm_Schedule2", 2, 4, nullptr,
     [](TForm_Main& m) -> WorkingCopyDialog* { return m.Form_Schedule_Tnorm; },
     [](TForm_Main& m) {
         testing::DialogTest::TypeInto(*m.Form_Schedule_Tnorm->AdvColumnGrid_Schedule, 5, 2, "72");
     },
     [](Contours& c) {
         c.C2.Tin[4] = 72;
         c.C2.Qt_Points = 8;
     }},
    {"ButtonConf_PumpCalendar2", 2, 5, "CheckBox_PumpCalendar2",
     [](TForm_Main& m) -> WorkingCopyDialog* { return m.Form_Calendar_Pump; },
     [](TForm_Main& m) {
         testing::DialogTest::Pick(*m.Form_Calendar_Pump->AdvColumnGrid_Calendar, 1, 1, 12);
     },
     [](Contours& c) {
         c.C2.Calendar_Pump.Day[0] = {12, 12, 17, 22};
     }},
    {"ButtonConf_TlowCalendar", 1, 4, "CheckBox_TlowCalendar",
     [](TForm_Main& m) -> WorkingCopyDialog* { return m.Form_Calendar_Tlow; },
     [](TForm_Main& m) {
         testing::DialogTest::Pick(*m.Form_Calendar_Tlow->AdvColumnGrid_Calendar, 7, 2, 24);
     },
     [](Contours& c) {
         c.C1.Calendar_Tlow.Day[6] = {6, 24, 24, 24};
     }},
};

class PageButtonsTest : public testing::DialogTest, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        device::TKT41& m = Model();
        device::TPumpGroup group;
        group.Pump_Main = 1;
        group.Pump_DelayOn = 5;
        for (device::TPumpGroup* g : {&m.Contour1.PumpGroup, &m.Contour2.PumpGroup,
                                      &m.Contour3.PumpGroup, &m.Contour4.PumpGroup}) {
            *g = group;
        }
        for (device::TParamContur* c : {&m.Contour1, &m.Contour2}) {
            c->Tout = {-25, -15, -5, 0, 5, 8, 9, 15};
            c->Tin = {95, 85, 75, 65, 55, 50, 45, 40};
            c->Tback = {70, 65, 60, 50, 45, 40, 35, 30};
            c->Qt_Points = 8;
            for (device::TWeekCalendar* calendar : {&c->Calendar_Pump, &c->Calendar_Tlow}) {
                for (auto& day : calendar->Day) {
                    day = {6, 9, 17, 22};
                }
            }
        }
        Main().show();
    }
};

TEST_P(PageButtonsTest, TheButtonEditsItsOwnContourOnly) {
    const Case& c = GetParam();
    auto& page = *dynamic_cast<pages::ContourPage*>(
        Main().PageAt(TForm_Main::kPageContour1 + c.Contour - 1));
    Main().PageControl1->setCurrentWidget(&page);
    page.ComboBox_TipContur->setCurrentIndex(c.Type);
    emit page.ComboBox_TipContur->activated(c.Type);
    if (c.CheckBox != nullptr) {
        auto* box = Main().findChild<QCheckBox*>(c.CheckBox);
        ASSERT_NE(box, nullptr);
        QTest::mouseClick(box, Qt::LeftButton);
        ASSERT_TRUE(box->isChecked());
    }
    auto* button = Main().findChild<QPushButton*>(c.Button);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());
    ASSERT_TRUE(button->isVisible());

    Contours expected = Of(Model());
    c.Change(expected);
    WorkingCopyDialog* dialog = c.Dialog(Main());
    bool shown = false;
    RunModal(
        *dialog,
        [&] {
            shown = dialog->isVisible();
            c.Edit(Main());
            dialog->Button_OK->click();
        },
        [&] {
            QTest::mouseClick(button, Qt::LeftButton);
            return 0;
        });
    EXPECT_TRUE(shown);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(Of(Model()) == expected);
}

INSTANTIATE_TEST_SUITE_P(ContourPages, PageButtonsTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Button); });

} // namespace
} // namespace kt41::dialogs
