#include "PagesTest.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>

namespace kt41::testing {
namespace {

using namespace kt41::device;
using pages::ContourPage;

class ContourPageTest : public PagesTest {
protected:
    // Which of the four frames of contour 1 or 2 are shown, left to right.
    static std::vector<bool> FramesShown(const ContourPage& page) {
        return {!page.GroupBox_Pumps->isHidden(), !page.GroupBox_TlowCalendar->isHidden(),
                !page.GroupBox_Tnorm_Schedule->isHidden(), !page.GroupBox_PumpCalendar->isHidden()};
    }
};

TEST_F(ContourPageTest, EveryContourStartsSwitchedOffWithItsOwnTypeList) {
    const QStringList all{"Выключен ",     "РПД ",       "Одна подпитка ",
                          "Две подпитки ", "Отопление ", "ГВС "};
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        ContourPage& page = Contour(n);
        EXPECT_EQ(Main().findChild<QComboBox*>(QString("ComboBox_TipContur%1").arg(n)),
                  page.ComboBox_TipContur);
        EXPECT_EQ(Main().findChild<gui::ParamGrid*>(QString("AdvColumnGrid_Contour%1").arg(n)),
                  page.AdvColumnGrid_Contour);
        QStringList entries;
        for (int i = 0; i < page.ComboBox_TipContur->count(); ++i) {
            entries << page.ComboBox_TipContur->itemText(i);
        }
        EXPECT_EQ(entries, n <= 2 ? all : all.mid(0, 4));
        EXPECT_EQ(page.ComboBox_TipContur->currentIndex(), 0);
        EXPECT_FALSE(page.AdvColumnGrid_Contour->isEnabled());
        EXPECT_TRUE(Members(*page.AdvColumnGrid_Contour).empty());
        EXPECT_EQ(Model().GetContourType(n), 0);
        EXPECT_TRUE(page.GroupBox_Pumps->isHidden());
        EXPECT_FALSE(page.ButtonConf_Pumps->isEnabled());
    }
    EXPECT_NE(Main().findChild<QPushButton*>("ButtonConf_Pumps2"), nullptr);
    EXPECT_NE(Main().findChild<QCheckBox*>("CheckBox_PumpCalendar2"), nullptr);
    EXPECT_NE(Main().findChild<QPushButton*>("ButtonConf_Pumps4"), nullptr);
    EXPECT_EQ(Main().findChild<QCheckBox*>("CheckBox_TlowCalendar")->toolTip(),
              "Включить график понижения температуры");
}

TEST_F(ContourPageTest, EachTypeShowsItsRowsAndFrames) {
    struct Case {
        int Type;
        std::vector<int> Rows;
        std::vector<bool> Frames; // contour 1: pumps, lowering, schedule, pump calendar
    };
    const std::vector<Case> cases{
        {1, {0, 10, 11, 12, 13, 14, 15, 18, 19}, {false, false, false, false}},
        {2, {0, 23, 24, 25, 26, 27, 28}, {true, false, false, false}},
        {3, {0, 23, 24, 25, 26, 27, 28, 29, 30}, {true, false, false, false}},
        {4, {0, 1, 4, 6, 7, 8, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}, {true, true, true, false}},
        {5,
         {0, 2, 3, 4, 5, 6, 7, 9, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22},
         {true, true, false, true}},
        {0, {}, {false, false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Type);
        PickType(1, c.Type);
        const ContourPage& page = Contour(1);
        EXPECT_EQ(Model().Contour1.ContourType, c.Type);
        EXPECT_EQ(Members(*page.AdvColumnGrid_Contour), c.Rows);
        EXPECT_EQ(page.AdvColumnGrid_Contour->isEnabled(), c.Type != 0);
        EXPECT_EQ(FramesShown(page), c.Frames);
        EXPECT_EQ(page.ButtonConf_Pumps->isEnabled(), c.Frames[0]);
        EXPECT_EQ(page.ButtonConf_Tnorm_Schedule->isEnabled(), c.Frames[2]);
        EXPECT_EQ(page.CheckBox_TlowCalendar->isEnabled(), c.Frames[1]);
        EXPECT_EQ(page.CheckBox_PumpCalendar->isEnabled(), c.Frames[3]);
        // The names come from the catalogue, in the row of their member.
        if (!c.Rows.empty()) {
            EXPECT_EQ(page.AdvColumnGrid_Contour->CellText(1, 0), "Способ управления контуром");
        }
    }
    // Contours 3 and 4 have the pump-group frame for the feed types only.
    for (const int type : {0, 1, 2, 3}) {
        PickType(4, type);
        EXPECT_EQ(Model().Contour4.ContourType, type);
        EXPECT_EQ(!Contour(4).GroupBox_Pumps->isHidden(), type >= 2);
        EXPECT_EQ(Contour(4).ButtonConf_Pumps->isEnabled(), type >= 2);
    }
    EXPECT_EQ(Members(*Contour(4).AdvColumnGrid_Contour),
              (std::vector<int>{0, 23, 24, 25, 26, 27, 28, 29, 30}));
}

TEST_F(ContourPageTest, OneFeedChannelLowersATwoChannelFeedModeAndOffersThreeModes) {
    Model().Contour1.FeedMode = 4; // "2 канала с аналог. входом (4-20мА)"
    PickType(1, 4);
    PickType(1, 2);
    EXPECT_EQ(Model().Contour1.FeedMode, 2);
    gui::ParamGrid& grid = *Contour(1).AdvColumnGrid_Contour;
    EXPECT_EQ(Members(grid).size(), 7u);
    const int row = RowOf(grid, coFD_Mode);
    EXPECT_EQ(grid.CellText(row, 1), "1 канал с аналог. вх. (4-20мА)");

    QComboBox* list = ListEditor(grid, row, 1);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(2), "1 канал с аналог. вх. (4-20мА)");
    grid.CancelEditor();

    PickType(1, 3);
    list = ListEditor(grid, RowOf(grid, coFD_Mode), 1);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 5);
    grid.CancelEditor();
}

TEST_F(ContourPageTest, EditsStoreExactlyWhatWasEntered) {
    struct Case {
        int Contour;
        int Type;
        TConturOpt Member;
        QString Typed; // empty: pick entry Entry
        int Entry;
        std::int32_t Stored;
        QString Shown;
    };
    const std::vector<Case> cases{
        {1, 1, coRP_diff, "0.29", 0, 29, Shown("0.29")},
        {1, 4, coPK, "1.2", 0, 12, Shown("1.2")},
        {2, 5, coBC_delta_UP, "0.25", 0, 2, Shown("0.2")}, // cut toward zero
        {1, 1, coT_action, "-50", 0, -50, "-50"},
        {1, 1, coCycle, "5000", 0, 3600, "3600"}, // held at the limit
        {2, 4, coVLV_protect, {}, 2, 2, "Закрыть полностью"},
        {3, 3, coDN_threshold_2, "1.15", 0, 115, Shown("1.15")},
        {4, 1, coRP_diff_MX, "3.5", 0, 300, Shown("3.00")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Typed.toStdString() + " in member " + std::to_string(c.Member));
        PickType(c.Contour, c.Type);
        gui::ParamGrid& grid = *Contour(c.Contour).AdvColumnGrid_Contour;
        const int row = RowOf(grid, c.Member);
        ASSERT_GT(row, 0);
        if (c.Typed.isEmpty()) {
            Pick(grid, row, 1, c.Entry);
        } else {
            TypeInto(grid, row, 1, c.Typed);
        }
        EXPECT_EQ(Model().GetContourParam(c.Contour, c.Member), c.Stored);
        EXPECT_EQ(grid.CellText(row, 1), c.Shown);
    }
}

TEST_F(ContourPageTest, SwitchingOffKeepsTheValuesInTheModel) {
    Model().Contour1.PK = 7;
    Model().Contour1.Tnorm = 55;
    PickType(1, 5);
    PickType(1, 0);
    EXPECT_EQ(Model().Contour1.PK, 7);
    EXPECT_EQ(Model().Contour1.Tnorm, 55);
    EXPECT_FALSE(Contour(1).AdvColumnGrid_Contour->isEnabled());
    EXPECT_EQ(Contour(1).AdvColumnGrid_Contour->OpenEditor(1, 1), nullptr);
}

// Opening a file or reading again refills every grid from the model; the user
// stays where he was, on the page in view and on one he comes back to.
TEST_F(ContourPageTest, GridsKeepTheirPlaceWhenThePagesAreFilledAgain) {
    Model().Contour1.ContourType = 4; // heating: more rows than the grid shows
    Main().ShowModelOnPages();
    const std::pair<QWidget*, gui::ParamGrid*> grids[] = {
        {&Contour(1), Contour(1).AdvColumnGrid_Contour},
        {&Device(), Device().AdvColumnGrid_ConfDevice},
    };
    for (const auto& [page, grid] : grids) {
        for (const bool inView : {true, false}) {
            SCOPED_TRACE(grid->objectName().toStdString() + (inView ? " in view" : " hidden"));
            Main().PageControl1->setCurrentWidget(page);
            QApplication::processEvents();
            QScrollBar* bar = grid->verticalScrollBar();
            ASSERT_GT(bar->maximum(), 4);
            // The current cell scrolled out of view above.
            grid->setCurrentCell(2, 1);
            bar->setValue(4);
            if (!inView) {
                Main().PageControl1->setCurrentWidget(&Inputs());
            }
            Main().ShowModelOnPages();
            Main().PageControl1->setCurrentWidget(page);
            QApplication::processEvents();
            EXPECT_EQ(bar->value(), 4);
            EXPECT_EQ(grid->currentRow(), 2);
            EXPECT_EQ(grid->currentColumn(), 1);
            EXPECT_TRUE(grid->item(2, 1)->isSelected());
            // The whole row where the grid highlights the active row.
            EXPECT_EQ(grid->item(2, 0)->isSelected(), grid->ActiveRowShow());
        }
    }
}

TEST_F(ContourPageTest, CalendarBoxesFollowTheModelAndTheUser) {
    Model().Contour1.ContourType = 4;
    Model().Contour1.Week_ON_Tlow = 1;
    Model().Contour2.ContourType = 5;
    Model().Contour2.Week_ON_Pump = 1;
    Main().ShowModelOnPages();

    ContourPage& one = Contour(1);
    EXPECT_TRUE(one.CheckBox_TlowCalendar->isChecked());
    EXPECT_TRUE(one.CheckBox_TlowCalendar->isEnabled());
    EXPECT_TRUE(one.ButtonConf_TlowCalendar->isEnabled());
    EXPECT_EQ(one.CheckBox_TlowCalendar->toolTip(), "Выключить график понижения температуры");
    EXPECT_FALSE(one.CheckBox_PumpCalendar->isChecked());

    Main().PageControl1->setCurrentWidget(&one);
    QTest::mouseClick(one.CheckBox_TlowCalendar, Qt::LeftButton);
    EXPECT_FALSE(one.CheckBox_TlowCalendar->isChecked());
    EXPECT_FALSE(one.ButtonConf_TlowCalendar->isEnabled());
    EXPECT_EQ(Model().Contour1.Week_ON_Tlow, 0);
    EXPECT_EQ(one.CheckBox_TlowCalendar->toolTip(), "Включить график понижения температуры");

    ContourPage& two = Contour(2);
    EXPECT_TRUE(two.CheckBox_PumpCalendar->isChecked());
    EXPECT_TRUE(two.ButtonConf_PumpCalendar->isEnabled());
    EXPECT_FALSE(two.ButtonConf_TlowCalendar->isEnabled());
    Main().PageControl1->setCurrentWidget(&two);
    QTest::mouseClick(two.CheckBox_TlowCalendar, Qt::LeftButton);
    EXPECT_EQ(Model().Contour2.Week_ON_Tlow, 1);
    EXPECT_TRUE(two.ButtonConf_TlowCalendar->isEnabled());
    EXPECT_EQ(Model().Contour2.Week_ON_Pump, 1); // the other box is left alone
}

TEST_F(ContourPageTest, HotWaterShowsThePumpCalendarInTheSchedulesPlace) {
    ContourPage& page = Contour(2);
    PickType(2, 5);
    EXPECT_TRUE(page.GroupBox_Tnorm_Schedule->isHidden());
    EXPECT_TRUE(page.GroupBox_PumpCalendar->isVisible());
    EXPECT_EQ(page.GroupBox_PumpCalendar->geometry(), page.GroupBox_Tnorm_Schedule->geometry());
    // The frames keep their left-to-right order and do not overlap.
    EXPECT_LT(page.GroupBox_Pumps->geometry().right(), page.GroupBox_TlowCalendar->x());
    EXPECT_LT(page.GroupBox_TlowCalendar->geometry().right(), page.GroupBox_PumpCalendar->x());
    // The box sits on the frame's caption line, inside the frame.
    EXPECT_TRUE(
        page.GroupBox_PumpCalendar->rect().contains(page.CheckBox_PumpCalendar->geometry()));
    EXPECT_LT(page.CheckBox_PumpCalendar->y(), page.ButtonConf_PumpCalendar->y());

    PickType(2, 4);
    EXPECT_TRUE(page.GroupBox_Tnorm_Schedule->isVisible());
    EXPECT_TRUE(page.GroupBox_PumpCalendar->isHidden());
    EXPECT_FALSE(page.ButtonConf_PumpCalendar->isEnabled());
}

TEST_F(ContourPageTest, AContourHeldAsHeatingWhereItCannotBeKeepsItsTypeUntilTheUserPicks) {
    Model().Contour3.ContourType = 4;
    Model().Contour3.PK = 9;
    Main().ShowModelOnPages();
    ContourPage& page = Contour(3);
    EXPECT_EQ(page.ComboBox_TipContur->currentIndex(), -1);
    EXPECT_TRUE(page.ComboBox_TipContur->toolTip().contains("Отопление"));
    EXPECT_FALSE(page.AdvColumnGrid_Contour->isEnabled());
    EXPECT_TRUE(Members(*page.AdvColumnGrid_Contour).empty());
    EXPECT_TRUE(page.GroupBox_Pumps->isHidden());
    EXPECT_EQ(Model().Contour3.ContourType, 4);

    PickType(3, 1);
    EXPECT_EQ(Model().Contour3.ContourType, 1);
    EXPECT_TRUE(page.ComboBox_TipContur->toolTip().isEmpty());
    EXPECT_EQ(page.AdvColumnGrid_Contour->CellText(RowOf(*page.AdvColumnGrid_Contour, coPK), 1),
              Shown("0.9"));
}

} // namespace
} // namespace kt41::testing
