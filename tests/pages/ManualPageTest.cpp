// The page "Ручное управление" over the real driver and a simulated
// controller: what each handler and each tick of Timer_Manual puts on the
// wire, counted at the controller.
#include "pages/ManualPage.h"
#include "app/StartUp.h"
#include "app/TForm_Main.h"
#include "pages/IndicatorShape.h"
#include "support/GuiTest.h"
#include "support/SimulatedProgram.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <vector>

namespace kt41::testing {
namespace {

using pages::ManualPage;
using Words = std::vector<std::uint16_t>;

constexpr const char* kValveWrite = "Write_ConturManualStatus_KT41";
// The controller's manual state at start: all automatic, outputs at 4 mA.
const Words kAtRest{0, 0, 0, 0, 0, 40, 40, 0, 0, 0, 0, 0};

class ManualPageTest : public GuiTest {
protected:
    void TearDown() override {
        program_.reset();
        GuiTest::TearDown();
    }

    // Connects at address 1 and reads the configuration, which opens the
    // manual page; the controller holds `manualState` before.
    ManualPage& Shown(const Words& manualState = kAtRest, const QStringList& commandLine = {}) {
        SimulatedProgram::Options options;
        options.CommandLine = commandLine;
        program_ = std::make_unique<SimulatedProgram>(options);
        Controller().SetWords(sim::Block::ManualState, manualState);
        Main().show();
        program_->AnswerAddressDialog("1");
        Main().Connect_Device->trigger();
        Controller().ClearCalls();
        Main().Read_Config->trigger();
        EXPECT_EQ(Main().PageControl1->currentIndex(), app::TForm_Main::kPageManual);
        EXPECT_TRUE(Page().Timer_Manual->isActive());
        EXPECT_EQ(Page().Timer_Manual->interval(), 1000);
        HoldTimer();
        return Page();
    }
    // The tests tick by hand: the running timer is kept from firing while
    // events run (a loaded machine can take a second between two steps).
    void HoldTimer() { Page().Timer_Manual->setInterval(24 * 3600 * 1000); }

    app::TForm_Main& Main() { return program_->Main(); }
    sim::Controller& Controller() { return program_->Controller; }
    ManualPage& Page() {
        return *dynamic_cast<ManualPage*>(Main().PageAt(app::TForm_Main::kPageManual));
    }

    // Write transactions since the last ClearCalls.
    int Writes() {
        int writes = 0;
        for (const sim::CallRecord& call : Controller().Calls()) {
            writes += call.FunctionCode == 16 ? 1 : 0;
        }
        return writes;
    }
    // One tick of Timer_Manual; the drive blocks it wrote.
    int Tick() {
        Controller().ClearCalls();
        Page().Timer_ManualTimer();
        return Controller().CallCount(kValveWrite);
    }
    Words DriveBlock() { return Controller().Words(sim::Block::ValveCommand); }
    static Words Drive(int contour, std::uint16_t command) {
        Words w(10, 0);
        w[0] = 1000;
        w[std::size_t(contour)] = command;
        return w;
    }
    static QString Decimal(QString number) { return number.replace('.', QLocale().decimalPoint()); }

    std::unique_ptr<SimulatedProgram> program_;
};

TEST_F(ManualPageTest, ShowingThePageSetsTheControlsFromTheControllerAndWritesNothing) {
    // Contour 2 in manual mode, pump 1 of contour 2 on, outputs 12.0 and 8.0 mA.
    ManualPage& page = Shown({0b0010, 0, 0, 1, 0, 120, 80, 0, 0, 0, 0, 0});
    EXPECT_EQ(Controller().CallCount("Read_ParamManual_KT41"), 1);
    EXPECT_EQ(Writes(), 0);

    for (int contour = 1; contour <= 4; ++contour) {
        const auto& c = page.Contours[std::size_t(contour - 1)];
        const bool manual = contour == 2;
        EXPECT_EQ(c.ManualMode->isChecked(), manual) << contour;
        for (QWidget* w : {static_cast<QWidget*>(c.Close), static_cast<QWidget*>(c.Open),
                           static_cast<QWidget*>(c.CloseLabel), static_cast<QWidget*>(c.Closing)}) {
            EXPECT_EQ(w->isEnabled(), manual) << contour << " " << w->objectName().toStdString();
        }
        EXPECT_TRUE(c.ManualMode->isEnabled());
        EXPECT_FALSE(c.Open->isChecked());
        EXPECT_EQ(c.Opening->Color(), ManualPage::DriveInactiveColor());
    }
    EXPECT_FALSE(page.PumpGroups[0]->isEnabled());
    EXPECT_TRUE(page.PumpGroups[1]->isEnabled());
    EXPECT_TRUE(page.Pumps[2].On->isChecked());
    EXPECT_EQ(page.Pumps[2].State->Color(), ManualPage::PumpOnColor());
    EXPECT_TRUE(page.Pumps[3].Off->isChecked());
    EXPECT_EQ(page.Pumps[3].State->Color(), ManualPage::PumpOffColor());
    EXPECT_EQ(page.AdvTrackBar_AnalogOut[0]->value(), 120);
    EXPECT_EQ(page.AnalogOutLabels[1]->text(), Decimal("8.00 мА"));

    // The sliders were set, but to what the model holds: the tick writes nothing.
    EXPECT_EQ(Tick(), 0);
    EXPECT_EQ(Writes(), 0);
}

TEST_F(ManualPageTest, ADriveButtonHeldDownRepeatsItsCommandAndItsReleaseStopsOnce) {
    ManualPage& page = Shown();
    auto& c = page.Contours[0];
    c.ManualMode->click();
    EXPECT_EQ(Controller().Words(sim::Block::ManualState)[0], 1u);
    EXPECT_TRUE(c.Open->isEnabled());

    c.Open->click(); // ">>"
    EXPECT_EQ(c.Opening->Color(), ManualPage::DriveActiveColor());
    EXPECT_EQ(c.Closing->Color(), ManualPage::DriveInactiveColor());
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_EQ(Tick(), 1);
        EXPECT_EQ(DriveBlock(), Drive(1, 1));
    }
    EXPECT_EQ(Controller().Words(sim::Block::ManualState)[8], 1u); // the drive runs

    c.Close->click(); // "<<" takes over
    EXPECT_FALSE(c.Open->isChecked());
    EXPECT_EQ(c.Closing->Color(), ManualPage::DriveActiveColor());
    EXPECT_EQ(c.Opening->Color(), ManualPage::DriveInactiveColor());
    for (int tick = 0; tick < 2; ++tick) {
        EXPECT_EQ(Tick(), 1);
        EXPECT_EQ(DriveBlock(), Drive(1, 2));
    }

    c.Close->click(); // released
    EXPECT_EQ(c.Closing->Color(), ManualPage::DriveInactiveColor());
    EXPECT_EQ(Tick(), 1);
    EXPECT_EQ(DriveBlock(), Drive(1, 0));
    EXPECT_EQ(Controller().Words(sim::Block::ManualState)[8], 0u);
    EXPECT_EQ(Tick(), 0);
    EXPECT_EQ(Tick(), 0);
}

TEST_F(ManualPageTest, ClearingAManualBoxWithItsDriveRunningStopsItOnce) {
    ManualPage& page = Shown();
    auto& c = page.Contours[0];
    c.ManualMode->click();
    c.Open->click();
    EXPECT_EQ(Tick(), 1);

    Controller().ClearCalls();
    c.ManualMode->click();
    EXPECT_EQ(Controller().CallCount("Write_ConturManualMode_KT41"), 1);
    EXPECT_EQ(Controller().Words(sim::Block::ManualState)[0], 0u);
    EXPECT_FALSE(c.Open->isChecked());
    EXPECT_FALSE(c.Open->isEnabled());
    EXPECT_FALSE(page.PumpGroups[0]->isEnabled());
    EXPECT_EQ(c.Opening->Color(), ManualPage::DriveInactiveColor());
    EXPECT_EQ(Tick(), 1);
    EXPECT_EQ(DriveBlock(), Drive(1, 0));
    EXPECT_EQ(Tick(), 0);
}

TEST_F(ManualPageTest, SliderMovesWithinASecondAreOneWriteAtTheNextTick) {
    ManualPage& page = Shown();
    QSlider* slider = page.AdvTrackBar_AnalogOut[0];
    for (const int position : {60, 95, 110, 125}) {
        slider->setValue(position);
    }
    EXPECT_EQ(Writes(), 0);
    EXPECT_EQ(ManualPage::AdvTrackBar_AnalogOut1GetTrackHint(125), Decimal("12.5 мА"));
    EXPECT_EQ(page.AnalogOutLabels[0]->text(), Decimal("12.50 мА"));

    Tick();
    EXPECT_EQ(Controller().CallCount("Write_AnalogOutPut_KT41"), 1);
    EXPECT_EQ(Writes(), 1);
    const Words state = Controller().Words(sim::Block::ManualState);
    EXPECT_EQ(state[5], 125u);
    EXPECT_EQ(state[6], 40u);
    Tick();
    EXPECT_EQ(Writes(), 0);

    // Away and back to what the model holds within one second: no write.
    slider->setValue(150);
    slider->setValue(125);
    Tick();
    EXPECT_EQ(Writes(), 0);
}

TEST_F(ManualPageTest, RefusedSwitchesSnapBack) {
    ManualPage& page = Shown();
    const QStringList before = LogTexts(Main());

    // A refused manual mode: the box is cleared again, the contour stays disabled.
    Controller().AddFault({sim::FaultKind::Exception, "Write_ConturManualMode_KT41", 0, 1});
    page.Contours[0].ManualMode->click();
    EXPECT_FALSE(page.Contours[0].ManualMode->isChecked());
    EXPECT_FALSE(page.PumpGroups[0]->isEnabled());

    page.Contours[0].ManualMode->click();
    ASSERT_TRUE(page.PumpGroups[0]->isEnabled());
    Controller().AddFault({sim::FaultKind::Exception, "Write_PumpsManualOn_KT41", 0, 1});
    page.Pumps[0].On->click();
    EXPECT_FALSE(page.Pumps[0].On->isChecked());
    EXPECT_TRUE(page.Pumps[0].Off->isChecked());
    EXPECT_EQ(page.Pumps[0].State->Color(), ManualPage::PumpOffColor());
    EXPECT_TRUE(LogTexts(Main()).contains("Запись ручного режима насосов ... Ошибка."));

    page.Pumps[0].On->click();
    EXPECT_TRUE(page.Pumps[0].On->isChecked());
    EXPECT_EQ(page.Pumps[0].State->Color(), ManualPage::PumpOnColor());
    EXPECT_EQ(Controller().Words(sim::Block::ManualState)[1], 1u);
}

TEST_F(ManualPageTest, TheHiddenRegisterPanelLogsItsExchanges) {
    ManualPage& page = Shown();
    for (QWidget* w :
         {static_cast<QWidget*>(page.SpinEditAddr), static_cast<QWidget*>(page.SpinEditCount),
          static_cast<QWidget*>(page.ButtonRead), static_cast<QWidget*>(page.ButtonWrite)}) {
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    }
    EXPECT_EQ(page.SpinEditAddr->value(), 10);
    EXPECT_EQ(page.SpinEditCount->value(), 20);
    EXPECT_EQ(page.SpinEditCount->maximum(), 30);
    EXPECT_FALSE(page.ButtonWrite->isEnabled());

    Words general(256, 0);
    general[10] = 0xBEEF;
    Controller().SetWords(sim::Block::General, general);
    page.SpinEditCount->setValue(2);
    const qsizetype before = LogTexts(Main()).size();
    page.ButtonReadClick();
    EXPECT_EQ(LogTexts(Main()).mid(before),
              (QStringList{"С 10 адреса прочитано 2 регистров.", " BE EF 00 00"}));
    EXPECT_TRUE(page.ButtonWrite->isEnabled());
    page.SpinEditAddr->setValue(11);
    EXPECT_FALSE(page.ButtonWrite->isEnabled());
}

TEST_F(ManualPageTest, TheLineIsHeldWhileThePageRunsAndContoursLeftInManualModeAreLogged) {
    ManualPage& page = Shown(kAtRest, {"-C"});
    Main().Calibr_TermUpdate();
    EXPECT_FALSE(Main().Calibr_Term->isEnabled());
    EXPECT_TRUE(page.UsesLine());

    // Another page: the timer stops, the calibration may begin.
    Main().PageControl1->setCurrentIndex(app::TForm_Main::kPageDevice);
    EXPECT_FALSE(page.Timer_Manual->isActive());
    Main().Calibr_TermUpdate();
    EXPECT_TRUE(Main().Calibr_Term->isEnabled());

    Main().PageControl1->setCurrentIndex(app::TForm_Main::kPageManual);
    HoldTimer();
    page.Contours[0].ManualMode->click();
    page.Contours[2].ManualMode->click();
    const qsizetype before = LogTexts(Main()).size();
    Main().Connect_Device->trigger(); // disconnect
    EXPECT_FALSE(page.Timer_Manual->isActive());
    EXPECT_EQ(LogTexts(Main()).mid(before),
              (QStringList{"Контуры 1, 3 остаются в ручном режиме.", "Сеанс связи завершен."}));
    // Manual mode is kept on purpose.
    EXPECT_EQ(Controller().Words(sim::Block::ManualState)[0], 0b0101u);
}

// A read resets the model, manual state included; the page on view reads it
// again, or clearing the box would write nothing and leave the contour in
// manual mode on the controller.
TEST_F(ManualPageTest, ASecondReadOnThePageReadsTheManualStateAgain) {
    ManualPage& page = Shown();
    page.Contours[0].ManualMode->click();
    Controller().ClearCalls();
    Main().Read_Config->trigger();
    HoldTimer();
    EXPECT_EQ(Controller().CallCount("Read_ParamManual_KT41"), 1);
    EXPECT_EQ(Main().Model().GetManualMode(1), 1);
    EXPECT_TRUE(page.Contours[0].ManualMode->isChecked());
    page.Contours[0].ManualMode->click();
    EXPECT_EQ(Controller().Words(sim::Block::ManualState)[0], 0u);
}

TEST_F(ManualPageTest, TheProgramEndingWithAContourInManualModeSaysSo) {
    ManualPage& page = Shown();
    page.Contours[3].ManualMode->click();
    const qsizetype before = LogTexts(Main()).size();
    Main().close();
    EXPECT_EQ(LogTexts(Main()).mid(before), QStringList{"Контур 4 остается в ручном режиме."});
}

} // namespace
} // namespace kt41::testing
