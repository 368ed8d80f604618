// The archive page over the in-process simulator, whose archive is empty but
// for the records each test puts in.
#include "pages/ArchivePage.h"
#include "app/StartUp.h"
#include "app/TForm_Main.h"
#include "catalogue/EventTable.h"
#include "device/TKT41.h"
#include "dialogs/TForm_SelPattern.h"
#include "gui/GridEditing.h"
#include "gui/ParamGrid.h"
#include "support/GuiTest.h"
#include "support/SimulatedProgram.h"

#include <QAction>
#include <QDateEdit>
#include <QFileInfo>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <mutex>

namespace kt41::testing {
namespace {

using app::TForm_Main;
using driver::CivilDateTime;
using sim::Controller;

constexpr QColor kEventRowColour{243, 172, 101};

// An archive record as the controller keeps it.
Controller::ArchiveWords Words(const QDate& date, int hour,
                               std::array<std::uint16_t, 4> analog = {},
                               std::array<std::uint16_t, 4> status = {}) {
    Controller::ArchiveWords w{};
    w[0] = std::uint16_t((date.month() << 8) | (date.year() % 100));
    w[1] = std::uint16_t((hour << 8) | date.day());
    for (std::size_t k = 0; k < 8; ++k) {
        w[2 + k] = std::uint16_t(200 + 10 * k + 3); // 20.3, 21.3, ...
    }
    std::copy(analog.begin(), analog.end(), w.begin() + 10);
    std::copy(status.begin(), status.end(), w.begin() + 14);
    return w;
}

class ArchivePageTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        SimulatedProgram::Options options;
        options.Controller.ArchiveDays = 0; // only the records a test puts in
        program_ = std::make_unique<SimulatedProgram>(options);
        TForm_Main& main = Main();
        main.show();
        program_->AnswerAddressDialog("1");
        main.Connect_Device->trigger();
        main.Read_Config->trigger();
        ASSERT_TRUE(main.ComPort1.Connected());
        main.PageControl1->setCurrentIndex(TForm_Main::kPageArchive);
        Sim().SetCallObserver([this](const sim::CallRecord& call) {
            if (call.Function == "Read_ArxRecord_KT41") {
                const auto w = Sim().Words(sim::Block::ArchiveRequest);
                std::lock_guard lock(mutex_);
                asked_.push_back(QDateTime(QDate(w[0], w[1], w[2]), QTime(w[3], 0)));
            }
        });
    }
    void TearDown() override {
        Sim().SetCallObserver(nullptr);
        program_.reset();
        GuiTest::TearDown();
    }

    TForm_Main& Main() { return program_->Main(); }
    Controller& Sim() { return program_->Controller; }
    pages::ArchivePage& Page() {
        return *dynamic_cast<pages::ArchivePage*>(Main().PageAt(TForm_Main::kPageArchive));
    }
    gui::ParamGrid& Grid() { return *Page().AdvColumnGrid_Arx; }

    void Put(const QDate& date, int hour, const Controller::ArchiveWords& words) {
        Sim().SetArchiveRecord({date.year(), date.month(), date.day(), hour, 0, 0}, words);
    }
    void Put(const QDate& date, int hour) { Put(date, hour, Words(date, hour)); }

    // The user picks the range and presses "Прочитать".
    void Read(const QDate& start, const QDate& end) {
        Page().AdvDateTimePickerArx_End->setDate(end);
        Page().AdvDateTimePickerArx_Start->setDate(start);
        Page().AdvGlowButton_ReadArx->click();
    }
    // Runs `move` once, queued, when the first record is listed: it takes
    // effect while the read loop lets events run.
    void AtFirstRecord(std::function<void()> move) {
        auto once = std::make_shared<bool>(false);
        QObject::connect(&Page(), &pages::ArchivePage::RecordListed, &Page(), [=, this] {
            if (!*once) {
                *once = true;
                QMetaObject::invokeMethod(&Page(), move, Qt::QueuedConnection);
            }
        });
    }

    std::vector<QDateTime> Asked() {
        std::lock_guard lock(mutex_);
        return asked_;
    }
    QString LastLog() { return LogTexts(Main()).value(LogTexts(Main()).size() - 1); }
    QStringList Column(int column) {
        QStringList texts;
        for (int row = 1; row < Grid().rowCount(); ++row) {
            texts << Grid().CellText(row, column);
        }
        return texts;
    }
    // The page is idle again: caption, hint, pickers, progress bar.
    void ExpectIdle() {
        EXPECT_FALSE(Page().ReadingFlag);
        EXPECT_EQ(Page().AdvGlowButton_ReadArx->text(), "Прочитать");
        EXPECT_EQ(Page().AdvGlowButton_ReadArx->toolTip(), "Прочитать архив за указанный период");
        EXPECT_TRUE(Page().AdvDateTimePickerArx_Start->isEnabled());
        EXPECT_TRUE(Page().AdvDateTimePickerArx_End->isEnabled());
        EXPECT_FALSE(Page().AdvProgressBarArx->isVisible());
    }

    const QDate today = QDate::currentDate();
    const QDate day = today.addDays(-10); // a past day

    std::unique_ptr<SimulatedProgram> program_;

private:
    std::mutex mutex_;
    std::vector<QDateTime> asked_;
};

TEST_F(ArchivePageTest, OnePastDayIsReadHourByHourNewestFirst) {
    Put(day, 7);
    Put(day, 3);
    Put(day.addDays(1), 0); // outside the range
    bool readingSeen = false;
    AtFirstRecord([&] {
        readingSeen = Page().AdvGlowButton_ReadArx->text() == "Отмена" &&
                      !Page().AdvDateTimePickerArx_End->isEnabled() &&
                      Page().AdvProgressBarArx->isVisible() &&
                      !Page().AdvGlowButton_ExportExcel->isVisible() && Page().UsesLine();
    });
    Read(day, day);

    std::vector<QDateTime> expected;
    for (int hour = 23; hour >= 0; --hour) {
        expected.emplace_back(day, QTime(hour, 0));
    }
    EXPECT_EQ(Asked(), expected);
    EXPECT_TRUE(readingSeen);
    EXPECT_EQ(Column(0), QStringList({"1", "2"})) << "the trailing empty row is gone";
    EXPECT_EQ(Column(2), QStringList({"07", "03"}));
    EXPECT_EQ(Column(1).value(0), day.toString("dd.MM.yy"));
    EXPECT_EQ(Page().AdvProgressBarArx->maximum(), 23);
    EXPECT_TRUE(Page().AdvGlowButton_ExportExcel->isVisible());
    EXPECT_EQ(LastLog(), "Чтение архива ... Ok.");
    ExpectIdle();
    EXPECT_TRUE(Prompt.Messages().empty());

    const auto table = Page().ValueTable();
    EXPECT_EQ(table.Headers.value(0), "№\nп/п");
    ASSERT_EQ(table.Rows.size(), 2);
    EXPECT_EQ(table.Rows[1].value(2), "03");
    EXPECT_EQ(table.Rows[1].size(), 16);
}

// The export button hands the grid to the window: the template choice, then
// the workbook of the listed records, opened on the desktop.
TEST_F(ArchivePageTest, TheExportButtonWritesTheListedRecordsToAWorkbook) {
    Put(day, 7);
    Put(day, 3);
    Read(day, day);
    ASSERT_TRUE(Page().AdvGlowButton_ExportExcel->isVisible());
    dialogs::TForm_SelPattern& choice = *Main().Form_SelPattern;
    QTimer::singleShot(0, &choice, [&choice] {
        QTest::keyClick(choice.ListBox1, Qt::Key_Return); // the first template
    });
    Page().AdvGlowButton_ExportExcel->click();
    ASSERT_EQ(Desktop.Opened.size(), 1) << LastLog().toStdString();
    const QString workbook = Desktop.Opened[0].toLocalFile();
    EXPECT_TRUE(QFileInfo(workbook).isFile());
    EXPECT_TRUE(workbook.endsWith(" № 12345.xlsx")) << workbook.toStdString();
    EXPECT_TRUE(workbook.contains("/Год_" + QString::number(QDate::currentDate().year()) + "/"))
        << workbook.toStdString();
}

TEST_F(ArchivePageTest, RowTextsNotesAndColourFollowTheRecord) {
    device::TKT41& model = Main().Model();
    model.Input_P[0].InputType = 0; // position
    model.Input_P[1].InputType = 1; // pressure
    model.Input_P[2].InputType = 2; // flow
    model.Input_P[3].InputType = 0;
    // Dry-running sensor of contour 1 (word 0 bit 10) and a pump group restart
    // (word 3 bit 5); the record says 5 March 2022, 07 h.
    const QDate march5(2022, 3, 5);
    Put(day, 9, Words(march5, 7, {57, 45, 1234, 99}, {1u << 10, 0, 0, 1u << 5}));
    Put(day, 8, Words(day, 8));
    Read(day, day);

    ASSERT_EQ(Grid().rowCount(), 3);
    const std::string sep = gui::DecimalSeparator();
    const QString s = QString::fromStdString(sep);
    QStringList first;
    for (int column = 0; column < Grid().columnCount(); ++column) {
        first << Grid().CellText(1, column);
    }
    const auto event = [](int word, int bit) {
        const auto& e = catalogue::EventText(word, bit);
        return QString::fromUtf8(e.Kind.data(), e.Kind.size()) + ": " +
               QString::fromUtf8(e.Description.data(), e.Description.size()) + ";";
    };
    const QStringList expected{"1",
                               "05.03.22",
                               "07",
                               "20" + s + "3",
                               "21" + s + "3",
                               "22" + s + "3",
                               "23" + s + "3",
                               "24" + s + "3",
                               "25" + s + "3",
                               "26" + s + "3",
                               "27" + s + "3",
                               "57",
                               "0" + s + "45",
                               "12" + s + "34",
                               "99",
                               event(0, 10) + "\n" + event(3, 5)};
    EXPECT_EQ(first, expected);
    EXPECT_EQ(Grid().CellText(0, 11), "Поз., \n%");
    EXPECT_EQ(Grid().CellText(0, 12), "P, \nМПа");
    EXPECT_EQ(Grid().CellText(0, 13), "Расход, м3/ч");
    for (int column = 0; column < Grid().columnCount(); ++column) {
        EXPECT_EQ(Grid().item(1, column)->background().color(), kEventRowColour) << column;
        EXPECT_NE(Grid().item(2, column)->background().color(), kEventRowColour) << column;
    }
    EXPECT_EQ(Grid().CellText(2, 15), "");
    EXPECT_GT(Grid().rowHeight(1), Grid().rowHeight(2)) << "two lines of notes";
}

TEST_F(ArchivePageTest, EndDateTodayEndsNow) {
    Page().CurrentTime = [this] { return QDateTime(today, QTime(14, 20, 0)); };
    const QDate yesterday = today.addDays(-1);
    Read(yesterday, today);
    const std::vector<QDateTime> asked = Asked();
    // 38 whole hours from 00:00 yesterday to 14:20 today, plus one.
    ASSERT_EQ(asked.size(), 39u);
    EXPECT_EQ(asked.front(), QDateTime(today, QTime(14, 0)));
    EXPECT_EQ(asked.back(), QDateTime(yesterday, QTime(0, 0)));
    EXPECT_EQ(Page().AdvProgressBarArx->maximum(), 38);
}

TEST_F(ArchivePageTest, TheStartDateFollowsTheEndDate) {
    QDateEdit* start = Page().AdvDateTimePickerArx_Start;
    QDateEdit* end = Page().AdvDateTimePickerArx_End;
    EXPECT_EQ(end->date(), today);
    EXPECT_EQ(end->maximumDate(), today);
    EXPECT_EQ(start->date(), today.addDays(-7));

    end->setDate(QDate(2026, 3, 10));
    EXPECT_EQ(start->date(), QDate(2026, 3, 3));
    EXPECT_EQ(start->minimumDate(), QDate(2026, 3, 3));
    EXPECT_EQ(start->maximumDate(), QDate(2026, 3, 10));
    start->setDate(QDate(2026, 3, 2));
    EXPECT_EQ(start->date(), QDate(2026, 3, 3));
    start->setDate(QDate(2026, 3, 11));
    EXPECT_EQ(start->date(), QDate(2026, 3, 10));
    start->setDate(QDate(2026, 3, 6));
    end->setDate(QDate(2026, 3, 9)); // the start moves, whatever it was
    EXPECT_EQ(start->date(), QDate(2026, 3, 2));

    end->setDate(today.addDays(3));
    EXPECT_EQ(end->date(), today) << "the end is not later than today";
}

TEST_F(ArchivePageTest, CancelAfterTheFirstRecordKeepsIt) {
    for (int hour = 23; hour >= 0; --hour) {
        Put(day, hour);
    }
    AtFirstRecord([this] { Page().AdvGlowButton_ReadArx->click(); });
    Read(day, day);
    EXPECT_EQ(Asked().size(), 1u);
    EXPECT_EQ(Column(2), QStringList({"23"}));
    EXPECT_TRUE(Page().AdvGlowButton_ExportExcel->isVisible());
    EXPECT_EQ(LastLog(), "Чтение архива ... Ok.");
    ExpectIdle();
}

TEST_F(ArchivePageTest, NoRecordAtAllShowsTheBox) {
    Read(day.addDays(-2), day);
    EXPECT_EQ(Asked().size(), 72u);
    ASSERT_EQ(Prompt.Messages().size(), 1u);
    const gui::MessageRequest box = Prompt.Messages()[0];
    EXPECT_EQ(box.Text, "Нет ни одной записи !!!");
    EXPECT_EQ(box.Caption, "Сообщение ... ");
    EXPECT_EQ(box.Icon, gui::PromptIcon::Warning);
    EXPECT_TRUE(box.Topmost);
    EXPECT_EQ(Grid().rowCount(), 2) << "the heading and the empty row";
    EXPECT_FALSE(Page().AdvGlowButton_ExportExcel->isVisible());
    EXPECT_EQ(LastLog(), "Чтение архива ... Ok.");
    ExpectIdle();
}

TEST_F(ArchivePageTest, AFailedReadEndsTheReadAndKeepsTheRows) {
    for (int hour = 23; hour >= 0; --hour) {
        Put(day, hour);
    }
    // An exception reply is not repeated by the driver: the fifth read fails.
    Sim().AddFault({sim::FaultKind::Exception, "Read_ArxRecord_KT41", 4, 1});
    Read(day, day);
    EXPECT_EQ(Asked().size(), 5u);
    EXPECT_EQ(Column(2), QStringList({"23", "22", "21", "20"}));
    EXPECT_TRUE(Page().AdvGlowButton_ExportExcel->isVisible());
    EXPECT_TRUE(Prompt.Messages().empty());
    EXPECT_EQ(LastLog(), "Чтение архива ... Ошибка.");
    ExpectIdle();
}

TEST_F(ArchivePageTest, ALineLostDuringTheReadIsShownAndTheRowsStay) {
    Put(day, 23);
    Put(day, 22);
    AtFirstRecord([this] { program_->Unplug(); });
    Read(day, day);
    EXPECT_EQ(Column(2), QStringList({"23"}));
    ASSERT_EQ(Prompt.Messages().size(), 1u);
    EXPECT_EQ(Prompt.Messages()[0].Text, "Последовательный порт занят другим приложением ...    ");
    EXPECT_TRUE(LogTexts(Main()).contains("Чтение архива ... Ошибка."));
    ExpectIdle();
}

TEST_F(ArchivePageTest, ClosingTheConnectionEndsTheRead) {
    for (int hour = 23; hour >= 0; --hour) {
        Put(day, hour);
    }
    AtFirstRecord([this] { Main().Connect_Device->trigger(); });
    Read(day, day);
    EXPECT_EQ(Asked().size(), 1u) << "no read after the cancel";
    EXPECT_FALSE(Main().ComPort1.Connected());
    EXPECT_EQ(Column(2), QStringList({"23"}));
    EXPECT_EQ(LastLog(), "Чтение архива ... Ok.");
    ExpectIdle();
}

TEST_F(ArchivePageTest, ClosingTheWindowEndsTheRead) {
    for (int hour = 23; hour >= 0; --hour) {
        Put(day, hour);
    }
    AtFirstRecord([this] { Main().close(); });
    Read(day, day);
    EXPECT_FALSE(Main().isVisible());
    EXPECT_EQ(Asked().size(), 1u);
    EXPECT_FALSE(Page().ReadingFlag);
    EXPECT_EQ(Page().AdvGlowButton_ReadArx->text(), "Прочитать");
}

TEST_F(ArchivePageTest, CalibrationWaitsWhileThePageIsShown) {
    Main().ShowCalibrationMenu(true);
    Main().Calibr_TermUpdate();
    EXPECT_TRUE(Page().UsesLine());
    EXPECT_FALSE(Main().Calibr_Term->isEnabled());
    Main().PageControl1->setCurrentIndex(TForm_Main::kPageDevice);
    EXPECT_FALSE(Page().UsesLine());
    Main().Calibr_TermUpdate();
    EXPECT_TRUE(Main().Calibr_Term->isEnabled());
}

} // namespace
} // namespace kt41::testing
