// The readings page against the simulated controller over the real driver.
#include "pages/CurrentPage.h"
#include "app/StartUp.h"
#include "app/TForm_Main.h"
#include "gui/ParamGrid.h"
#include "pages/TrendPlot.h"
#include "simulator/Controller.h"
#include "support/GuiTest.h"
#include "support/SimulatedProgram.h"

#include <QAction>
#include <QLabel>
#include <QLocale>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <QLineSeries>

#include <vector>

namespace kt41::testing {
namespace {

using pages::CurrentPage;

class CurrentPageTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::Russian)); // a comma as decimal separator
        program_ = std::make_unique<SimulatedProgram>();
        app::TForm_Main& main = Main();
        main.show();
        program_->AnswerAddressDialog("1");
        main.Connect_Device->trigger();
        main.Read_Config->trigger(); // the input types decide the 4-20 mA units
        ASSERT_TRUE(main.PageControl1->isVisible());
    }
    void TearDown() override {
        program_.reset();
        QLocale::setDefault(QLocale::c());
        GuiTest::TearDown();
    }

    app::TForm_Main& Main() { return program_->Main(); }
    sim::Controller& Controller() { return program_->Controller; }
    CurrentPage& Page() {
        return *dynamic_cast<CurrentPage*>(Main().PageAt(app::TForm_Main::kPageCurrent));
    }
    int Polls() { return Controller().CallCount("Get_Current_Data_KT41"); }
    void ShowPage() { Main().PageControl1->setCurrentIndex(app::TForm_Main::kPageCurrent); }

    // The current data the controller answers from now on: word k = words[k].
    void Freeze(std::vector<std::pair<int, std::uint16_t>> words) {
        std::vector<std::uint16_t> block(21, 0);
        for (const auto& [k, value] : words) {
            block[std::size_t(k)] = value;
        }
        Controller().SetWords(sim::Block::CurrentData, block);
    }

    // The value row of a reading grid.
    static QStringList Values(const gui::ParamGrid& grid) {
        QStringList values;
        for (int column = 0; column < grid.columnCount(); ++column) {
            values << grid.CellText(1, column);
        }
        return values;
    }
    // The event rows of the log: date, kind and description of each.
    std::vector<QStringList> LogRows() {
        const gui::ParamGrid& log = *Page().AdvColumnGrid_LogErr;
        std::vector<QStringList> rows;
        for (int row = 1; row < log.rowCount(); ++row) {
            rows.push_back({log.CellText(row, 0), log.CellText(row, 1), log.CellText(row, 2)});
        }
        return rows;
    }

    std::unique_ptr<SimulatedProgram> program_;
};

TEST_F(CurrentPageTest, PollsWhileShownFirstSoonThenEveryFiveSeconds) {
    CurrentPage& page = Page();
    EXPECT_FALSE(page.UsesLine());
    EXPECT_EQ(page.Timer_Current->objectName(), "Timer_Current");

    ShowPage();
    EXPECT_TRUE(page.UsesLine());
    EXPECT_EQ(page.Timer_Current->interval(), CurrentPage::kFirstPollDelay);
    EXPECT_EQ(page.Timer_CurrentTag, CurrentPage::kPollInterval);
    EXPECT_EQ(Values(*page.AdvColumnGrid_CurIndicat), QStringList(12, "---"));
    // The quick first tick comes by itself and puts the design interval back.
    QTRY_COMPARE_WITH_TIMEOUT(Polls(), 1, 5000);
    EXPECT_EQ(page.Timer_Current->interval(), CurrentPage::kPollInterval);
    EXPECT_NE(page.AdvColumnGrid_CurIndicat->CellText(1, 0), "---");
    EXPECT_FALSE(LogRows().empty());
    page.Timer_CurrentTimer();
    EXPECT_EQ(Polls(), 2);
    EXPECT_EQ(page.Timer_Current->interval(), CurrentPage::kPollInterval);

    // Hidden, the page asks nothing more of the controller.
    Main().PageControl1->setCurrentIndex(app::TForm_Main::kPageDevice);
    EXPECT_FALSE(page.UsesLine());
    EXPECT_EQ(Main().StatusPanel1->text(), "Простой ...");
    QTest::qWait(200);
    EXPECT_EQ(Polls(), 2);

    // Shown again it polls again; closing the connection stops it.
    ShowPage();
    QTRY_COMPARE_WITH_TIMEOUT(Polls(), 3, 5000);
    Main().Connect_Device->trigger();
    EXPECT_FALSE(Main().ComPort1.Connected());
    EXPECT_FALSE(page.UsesLine());
}

TEST_F(CurrentPageTest, FillsTheGridsAndTheLogFromOnePoll) {
    // The demo plant's 4-20 mA inputs: 1 and 2 pressure, 3 position, 4 flow.
    Freeze({{0, 0x0001},
            {3, 0x8000},
            {4, std::uint16_t(-253)},
            {9, 0xFF9C},
            {12, 250},
            {13, 250},
            {14, 250},
            {15, 250},
            {16, 0x0201},
            {20, 1234}});
    CurrentPage& page = Page();
    ShowPage();
    page.Timer_CurrentTimer();

    const QStringList readings = Values(*page.AdvColumnGrid_CurIndicat);
    EXPECT_EQ(readings[0], "-25,3");
    EXPECT_EQ(readings[5], "-10,0");
    EXPECT_EQ(readings.mid(8), (QStringList{"2,50", "2,50", "250", "2,50"}));
    const gui::ParamGrid& first = *page.AdvColumnGrid_CurIndicat;
    EXPECT_EQ(first.CellText(0, 0), "Т1, °C");
    EXPECT_EQ(first.CellText(0, 8), "P, \nМПа");
    EXPECT_EQ(first.CellText(0, 10), "Поз., \n%");
    EXPECT_EQ(first.CellText(0, 11), "Расход, м3/ч");

    QStringList sensors(10, "Норма");
    sensors[0] = sensors[9] = "Авария";
    const QStringList second = Values(*page.AdvColumnGrid_CurIndicat2);
    EXPECT_EQ(second.mid(0, 10), sensors);
    EXPECT_EQ(second.mid(10), (QStringList{"0", "0", "0", "1234"}));

    // One row per event in bit order, one stamp for all, no empty row below.
    auto rows = LogRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].mid(1), (QStringList{"Авария", "Насос в первом канале подпитки "
                                                     "остановлен по таймауту"}));
    EXPECT_EQ(rows[1].mid(1), (QStringList{"Событие", "4-й контур отключен пользователем"}));
    EXPECT_EQ(rows[0][0], rows[1][0]);
    EXPECT_TRUE(
        QRegularExpression(R"(^\d\d\.\d\d\.\d{4} \d{1,2}:\d\d:\d\d$)").match(rows[0][0]).hasMatch())
        << rows[0][0].toStdString();

    Freeze({{0, 0x8001}});
    page.Timer_CurrentTimer();
    rows = LogRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][2], "Насос в первом канале подпитки остановлен по таймауту");
    EXPECT_EQ(rows[1][2], "Остановка 2-го насоса насосной группы в 1-м контуре");

    Freeze({});
    page.Timer_CurrentTimer();
    rows = LogRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].mid(1), (QStringList{"Сообщение", "Ошибки отсутствуют"}));
    EXPECT_FALSE(rows[0][0].isEmpty());
}

TEST_F(CurrentPageTest, AFailedPollShowsDashesAndKeepsHeadersAndLog) {
    Freeze({{3, 0x8000}, {12, 45}});
    CurrentPage& page = Page();
    ShowPage();
    page.Timer_CurrentTimer();
    const auto log = LogRows();
    ASSERT_EQ(log.size(), 1u);

    // The driver asks twice before it gives up.
    Controller().AddFault({sim::FaultKind::NoAnswer, "Get_Current_Data_KT41", 0, 2});
    page.Timer_CurrentTimer();
    EXPECT_EQ(Values(*page.AdvColumnGrid_CurIndicat), QStringList(12, "---"));
    EXPECT_EQ(Values(*page.AdvColumnGrid_CurIndicat2), QStringList(14, "---"));
    EXPECT_EQ(page.AdvColumnGrid_CurIndicat->CellText(0, 8), "P, \nМПа");
    EXPECT_EQ(LogRows(), log);
    EXPECT_TRUE(page.UsesLine()); // no retry counter: the next tick tries again

    page.Timer_CurrentTimer();
    EXPECT_EQ(page.AdvColumnGrid_CurIndicat->CellText(1, 8), "0,45");
}

TEST_F(CurrentPageTest, TrendGainsAPointPerPollAGapPerFailureAndIsClearedOnDisconnect) {
    Freeze({{4, 215}}); // T1 21.5 °C
    CurrentPage& page = Page();
    const QDateTime start(QDate(2025, 12, 8), QTime(10, 0));
    qint64 seconds = 0;
    page.TrendClock = [&] { return start.addSecs(seconds); };
    ShowPage();
    page.Timer_Current->stop(); // every poll below is one call of the handler
    const auto poll = [&](qint64 at) {
        seconds = at;
        page.Timer_CurrentTimer();
    };
    const device::TrendTime t0 = pages::TrendTimeOf(start);
    // The start times and sizes of T1's segments, in the data and on the chart.
    const auto segments = [&] {
        std::vector<std::pair<device::TrendTime, std::size_t>> shape;
        for (const device::TrendSegment& s : page.TrendPlot_Current->Data().Series(0).Segments()) {
            shape.emplace_back(s.front().Time - t0, s.size());
        }
        std::vector<std::pair<device::TrendTime, std::size_t>> drawn;
        for (QLineSeries* part : page.TrendPlot_Current->SegmentsOf(device::tcTemp1)) {
            drawn.emplace_back(
                pages::TrendTimeOf(QDateTime::fromMSecsSinceEpoch(qint64(part->at(0).x()))) - t0,
                std::size_t(part->count()));
        }
        EXPECT_EQ(drawn, shape);
        return shape;
    };
    using Shape = std::vector<std::pair<device::TrendTime, std::size_t>>;

    poll(0);
    poll(5);
    EXPECT_EQ(segments(), (Shape{{0, 2}}));
    EXPECT_EQ(page.TrendPlot_Current->Data().Series(0).Segments()[0][1],
              (device::TrendPoint{t0 + 5, 21.5}));
    // A failed poll (the driver asks twice) breaks the line.
    Controller().AddFault({sim::FaultKind::NoAnswer, "Get_Current_Data_KT41", 0, 2});
    poll(10);
    poll(15);
    poll(20);
    EXPECT_EQ(segments(), (Shape{{0, 2}, {15, 2}}));
    // So does the time the page was hidden.
    Main().PageControl1->setCurrentIndex(app::TForm_Main::kPageDevice);
    ShowPage();
    page.Timer_Current->stop();
    poll(25);
    EXPECT_EQ(segments(), (Shape{{0, 2}, {15, 2}, {25, 1}}));
    // Polls a day later push out what is older than 24 hours.
    poll(24 * 3600 + 16);
    EXPECT_EQ(segments(), (Shape{{20, 1}, {25, 1}, {24 * 3600 + 16, 1}}));

    // Closing the connection clears the trend, whether the page polls or not.
    Main().Connect_Device->trigger();
    ASSERT_FALSE(Main().ComPort1.Connected());
    EXPECT_TRUE(page.TrendPlot_Current->Data().Empty());
    EXPECT_TRUE(page.TrendPlot_Current->SegmentsOf(device::tcTemp1).empty());
}

} // namespace
} // namespace kt41::testing
