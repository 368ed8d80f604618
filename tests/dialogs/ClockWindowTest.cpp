// The device clock window, opened by the device page's "Время" button, against
// the simulated controller over the real driver.
#include "app/StartUp.h"
#include "app/TForm_Main.h"
#include "dialogs/TForm_Data_Time.h"
#include "pages/DevicePage.h"
#include "simulator/Controller.h"
#include "support/GuiTest.h"
#include "support/PageMoves.h"
#include "support/SimulatedProgram.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace kt41::testing {
namespace {

using dialogs::TForm_Data_Time;

class ClockWindowTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        program_ = std::make_unique<SimulatedProgram>();
        app::TForm_Main& main = program_->Main();
        main.show();
        program_->AnswerAddressDialog("1");
        main.Connect_Device->trigger();
        ASSERT_TRUE(main.ComPort1.Connected());
        Controller().SetClock({2025, 1, 1, 14, 5, 9}); // a Wednesday
    }
    void TearDown() override {
        program_.reset();
        GuiTest::TearDown();
    }

    sim::Controller& Controller() { return program_->Controller; }
    TForm_Data_Time& Window() { return *program_->Main().Form_Data_Time; }
    int Reads() { return Controller().CallCount("Read_DateTime_KT41"); }

    // Clicks "Время" on the device page; `whileOpen` runs once the window is
    // shown and its first read is over (the read ends by letting pending
    // events run, so the first look that finds the read done waits for one
    // more tick), and the click returns when the window has closed.
    void ClickTime(std::function<void(TForm_Data_Time&)> whileOpen) {
        TForm_Data_Time& window = Window();
        bool ran = false;
        bool readDone = false;
        const int readsBefore = Reads();
        QTimer watch;
        watch.setInterval(10);
        QObject::connect(&watch, &QTimer::timeout, &window, [&] {
            if (!readDone) {
                readDone = window.isVisible() && Reads() > readsBefore;
                return;
            }
            watch.stop();
            ran = true;
            whileOpen(window);
        });
        watch.start();
        DevicePageOf(program_->Main()).Button1->click();
        watch.stop();
        EXPECT_TRUE(ran);
        EXPECT_FALSE(window.isVisible());
        EXPECT_FALSE(window.Timer1->isActive());
    }

    std::unique_ptr<SimulatedProgram> program_;
};

TEST_F(ClockWindowTest, ReadsFourTimesASecondApartThenClosesItself) {
    ClickTime([&](TForm_Data_Time& window) {
        EXPECT_EQ(Reads(), 1);
        EXPECT_EQ(window.Label_Date->text(), "1 января 2025 года, Среда");
        EXPECT_TRUE(window.Label_Time->text().startsWith("14:05:"))
            << window.Label_Time->text().toStdString();
        EXPECT_TRUE(window.Timer1->isActive());
        EXPECT_EQ(window.Timer1->interval(), TForm_Data_Time::kRefreshInterval);
        EXPECT_EQ(program_->Main().StatusPanel1->text(), "Запись даты и времени ...");
        for (int tick = 1; tick <= 3; ++tick) {
            window.Timer1Timer();
            EXPECT_EQ(Reads(), 1 + tick);
            EXPECT_TRUE(window.isVisible());
        }
        window.Timer1Timer(); // the countdown is over: the window closes
        EXPECT_EQ(Reads(), 4);
    });
    EXPECT_EQ(program_->Main().StatusPanel1->text(), "Простой ...");
}

TEST_F(ClockWindowTest, EscEnterAndTheCloseButtonCloseItWithoutAnotherRead) {
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        const int before = Reads();
        ClickTime([&](TForm_Data_Time& window) { EXPECT_TRUE(window.FormKeyPress(key)); });
        EXPECT_EQ(Reads(), before + 1) << key;
    }
    const int before = Reads();
    ClickTime([&](TForm_Data_Time& window) { window.close(); });
    EXPECT_EQ(Reads(), before + 1);
}

TEST_F(ClockWindowTest, AReadWithoutAnswerSaysSo) {
    // The driver asks twice before it gives up.
    Controller().AddFault({sim::FaultKind::NoAnswer, "Read_DateTime_KT41", 0, 2});
    ClickTime([&](TForm_Data_Time& window) {
        EXPECT_EQ(window.Label_Time->text(), "--:--:--");
        EXPECT_EQ(window.Label_Date->text(), "Нет ответа от прибора");
        window.Timer1Timer(); // the controller answers again
        EXPECT_EQ(window.Label_Date->text(), "1 января 2025 года, Среда");
        window.FormKeyPress(Qt::Key_Escape);
    });
}

} // namespace
} // namespace kt41::testing
