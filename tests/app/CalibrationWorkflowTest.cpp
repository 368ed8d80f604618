// The calibration procedures and the converter-code monitor against a
// simulated controller that plays the engineer's reference sources, through
// the real driver and the real windows. The monitor's timer is driven by
// calling its handler.
#include "app/TForm_Main.h"
#include "device/Calibration.h"
#include "dialogs/TForm_Dialog.h"
#include "dialogs/TForm_KodiCalibr.h"
#include "dialogs/TForm_Sel.h"
#include "pages/InputsPage.h"
#include "pages/MainWindowPage.h"
#include "support/GuiTest.h"
#include "support/SimulatedProgram.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>

namespace kt41::app {
namespace {

using dialogs::TForm_KodiCalibr;
using testing::GuiTest;
using testing::LogTexts;
using testing::SimulatedProgram;

// Plays the engineer at the calibration windows: each step waits for its
// window to be shown (inside that window's modal loop) and acts there.
class Engineer {
public:
    explicit Engineer(TForm_Main& main) : main_(main) {
        watch_.setInterval(1);
        QObject::connect(&watch_, &QTimer::timeout, [this] { Act(); });
    }
    ~Engineer() { EXPECT_TRUE(steps_.empty()) << steps_.size() << " steps not taken"; }

    // The type window: records the highlighted row, then Enter on `row`.
    void ChoosesType(int row) {
        Add(main_.Form_Sel, [this, row] {
            PreselectedRows.push_back(main_.Form_Sel->ListBox1->currentRow());
            main_.Form_Sel->ListBox1->setCurrentRow(row);
            QTest::keyClick(main_.Form_Sel->ListBox1, Qt::Key_Return);
        });
    }
    // The type window: Esc.
    void CancelsType() {
        Add(main_.Form_Sel, [this] { QTest::keyClick(main_.Form_Sel->ListBox1, Qt::Key_Escape); });
    }
    // A prompt: records its lines and presses `key` (Space continues).
    void AnswersPrompt(Qt::Key key = Qt::Key_Space) {
        Add(main_.Form_Dialog, [this, key] {
            Prompts.push_back(main_.Form_Dialog->Lines());
            QTest::keyClick(main_.Form_Dialog, key);
        });
    }
    // The monitor: ticks Timer_Calibr's handler until the window closes, or
    // `ticks` times and then "Отмена".
    void WatchesMonitor(int ticks = -1) {
        Add(main_.Form_KodiCalibr, [this, ticks] {
            TForm_KodiCalibr& monitor = *main_.Form_KodiCalibr;
            EXPECT_TRUE(monitor.Timer_Calibr->isActive());
            EXPECT_EQ(monitor.Timer_Calibr->interval(), 1000);
            monitor.Timer_Calibr->stop(); // the test ticks, not the clock
            MonitorCaptions.push_back(monitor.windowTitle());
            int n = 0;
            while (monitor.isVisible() && n != ticks && n < 1000) {
                monitor.Timer_CalibrTimer();
                ++n;
            }
            Ticks.push_back(n);
            if (monitor.isVisible()) {
                monitor.AdvGlowButton3->click();
            }
        });
    }

    std::vector<int> PreselectedRows;
    std::vector<QStringList> Prompts;
    std::vector<QString> MonitorCaptions;
    std::vector<int> Ticks;

private:
    struct Step {
        QWidget* Window;
        std::function<void()> Action;
    };
    void Add(QWidget* window, std::function<void()> action) {
        steps_.push_back({window, std::move(action)});
        watch_.start();
    }
    void Act() {
        if (acting_ || steps_.empty()) {
            return;
        }
        if (!steps_.front().Window->isVisible()) {
            // A window that is not the next one is closed, so that a test
            // whose procedure went another way fails instead of hanging.
            for (QWidget* other :
                 {static_cast<QWidget*>(main_.Form_Sel), static_cast<QWidget*>(main_.Form_Dialog),
                  static_cast<QWidget*>(main_.Form_KodiCalibr)}) {
                if (other->isVisible() && other != steps_.front().Window) {
                    ADD_FAILURE() << "unexpected window " << other->objectName().toStdString();
                    other->close();
                }
            }
            return;
        }
        acting_ = true;
        Step step = std::move(steps_.front());
        steps_.pop_front();
        step.Action();
        acting_ = false;
        if (steps_.empty()) {
            watch_.stop();
        }
    }

    TForm_Main& main_;
    QTimer watch_;
    std::deque<Step> steps_;
    bool acting_ = false;
};

class CalibrationWorkflowTest : public GuiTest {
protected:
    static SimulatedProgram::Options WithCalibrationMenu() {
        SimulatedProgram::Options options;
        options.CommandLine = {"-C"};
        return options;
    }

    void SetUp() override {
        GuiTest::SetUp();
        program = std::make_unique<SimulatedProgram>(WithCalibrationMenu());
        TForm_Main& main = Main();
        main.show();
        program->AnswerAddressDialog("1");
        main.Connect_Device->trigger();
        main.Read_Config->trigger();
        ASSERT_TRUE(main.PageControl1->isVisible());
        // A read ends on the manual page, whose timer keeps the calibration
        // commands disabled: the engineer goes to the device page first.
        main.PageControl1->setCurrentIndex(TForm_Main::kPageDevice);
        // The engineer's resistor box and current source, as in --demo.
        main.ReferenceConfirmed = [this](const device::CalibrationReference& reference) {
            Confirmed.push_back(reference);
            auto& sources = program->Controller.References();
            if (reference.Source == device::CalibrationReference::Resistance) {
                sources.SetResistance(reference.Value);
            } else {
                sources.SetCurrent(reference.Value);
            }
        };
        held = Main().Model().CalibrTemperatureAndPressure;
        program->Controller.ClearCalls();
    }
    void TearDown() override {
        program.reset();
        GuiTest::TearDown();
    }

    TForm_Main& Main() { return program->Main(); }
    sim::Controller& Controller() { return program->Controller; }
    device::TCalibrTermDav Model() { return Main().Model().CalibrTemperatureAndPressure; }
    device::TCalibrTermDav Held() const { return held; }
    std::vector<std::uint16_t> ControllerBlock() {
        return Controller().Words(sim::Block::Calibration);
    }
    static std::vector<std::uint16_t> Words(const device::TCalibrTermDav& c) {
        return {c.K_TERM_1, c.K_TERM_2, c.Type_T, c.K_P1, c.K_P2};
    }
    void RunTemperature() {
        Main().Calibr_TermUpdate();
        ASSERT_TRUE(Main().Calibr_Term->isEnabled());
        Main().Calibr_Term->trigger();
    }
    void RunPressure() {
        Main().Calibr_PressUpdate();
        ASSERT_TRUE(Main().Calibr_Press->isEnabled());
        Main().Calibr_Press->trigger();
    }
    // The log since the procedure began, without the converter reads.
    QStringList LogWithoutReads() {
        QStringList lines;
        for (const QString& line : LogTexts(Main())) {
            if (line != "Чтение кодов АЦП ... Ok.") {
                lines << line;
            }
        }
        return lines.mid(lines.lastIndexOf(QRegularExpression("Калибровка .*")));
    }

    std::unique_ptr<SimulatedProgram> program;
    std::vector<device::CalibrationReference> Confirmed;

private:
    device::TCalibrTermDav held;
};

TEST_F(CalibrationWorkflowTest, ATemperatureCalibrationWritesTheTwoMeanCodesAndTheType) {
    Main().Model().CalibrTemperatureAndPressure.Type_T = 1;
    Engineer engineer(Main());
    engineer.ChoosesType(1);
    engineer.AnswersPrompt();
    engineer.WatchesMonitor();
    engineer.AnswersPrompt(Qt::Key_Return);
    engineer.WatchesMonitor();
    RunTemperature();

    EXPECT_EQ(engineer.PreselectedRows, std::vector<int>{1}) << "Type_T = 1 is highlighted";
    ASSERT_EQ(engineer.Prompts.size(), 2u);
    EXPECT_EQ(engineer.Prompts[0][1], "R1 = 92,04 Ом");
    EXPECT_EQ(engineer.Prompts[1][1], "R1 = 146,79 Ом");
    EXPECT_EQ(Confirmed, (std::vector{device::TermReference(1, 1), device::TermReference(1, 2)}));
    EXPECT_EQ(engineer.Ticks, (std::vector<int>{21, 21})) << "5 settling reads, 16 samples";
    EXPECT_EQ(engineer.MonitorCaptions,
              (std::vector<QString>{"Калиб-ка термометра", "Калиб-ка термометра"}));
    EXPECT_EQ(Controller().CallCount("Get_ADC_Cod_KT41"), 42);

    // The settled codes of the two resistors, averaged and rounded.
    const device::TCalibrTermDav now = Model();
    EXPECT_NEAR(now.K_TERM_1, sim::ReferenceSources::CodeOfResistance(92.04), 4);
    EXPECT_NEAR(now.K_TERM_2, sim::ReferenceSources::CodeOfResistance(146.79), 4);
    EXPECT_EQ(now.Type_T, 1);
    EXPECT_EQ(now.K_P1, Held().K_P1);
    EXPECT_EQ(now.K_P2, Held().K_P2);
    // One write of the five words, which a following read brings back.
    EXPECT_EQ(Controller().CallCount("Write_CalibrTermDav_KT41"), 1);
    EXPECT_EQ(ControllerBlock(), Words(now));
    EXPECT_EQ(LogWithoutReads(),
              (QStringList{"Калибровка температуры ...", "Запись калибровки ... Ok."}));
    EXPECT_EQ(Main().StatusPanel1->text(), "Простой ...");
    auto* inputs = dynamic_cast<pages::InputsPage*>(Main().PageAt(TForm_Main::kPageInputs));
    ASSERT_NE(inputs, nullptr);
    EXPECT_EQ(inputs->StaticText_ResistTermInfo->text(), "Pt100 W = 1.3910");
    Main().Read_Config->trigger();
    EXPECT_EQ(Words(Model()), Words(now));
}

TEST_F(CalibrationWorkflowTest, APressureCalibrationWritesTheCodesOfTheSecondChannel) {
    Engineer engineer(Main());
    engineer.AnswersPrompt();
    engineer.WatchesMonitor();
    engineer.AnswersPrompt();
    engineer.WatchesMonitor();
    RunPressure();

    ASSERT_EQ(engineer.Prompts.size(), 2u);
    EXPECT_EQ(engineer.Prompts[0][0], "Установите ток 4 мА, соответствующий 0 %");
    EXPECT_EQ(engineer.Prompts[1][0], "Установите ток 20 мА, соответствующий 100 %");
    EXPECT_EQ(engineer.MonitorCaptions,
              (std::vector<QString>{"Калиб-ка давления", "Калиб-ка давления"}));
    EXPECT_EQ(Main().Form_KodiCalibr->AdvStringGrid1->item(3, 0)->text(), "P1 = ");
    EXPECT_EQ(Main().Form_KodiCalibr->AdvStringGrid1->item(0, 0)->text(),
              QString(11, ' ') + "\r\n2 точка");
    const device::TCalibrTermDav now = Model();
    EXPECT_NEAR(now.K_P1, 6000, 4);
    EXPECT_NEAR(now.K_P2, 30000, 4);
    EXPECT_EQ(now.K_TERM_1, Held().K_TERM_1);
    EXPECT_EQ(now.K_TERM_2, Held().K_TERM_2);
    EXPECT_EQ(now.Type_T, Held().Type_T);
    EXPECT_EQ(ControllerBlock(), Words(now));
    EXPECT_EQ(LogWithoutReads(),
              (QStringList{"Калибровка давления ...", "Запись калибровки ... Ok."}));
}

TEST_F(CalibrationWorkflowTest, ACancelAnywhereChangesNothing) {
    struct Case {
        const char* Where;
        std::function<void(Engineer&)> Script;
        std::size_t Confirmed;
    };
    const Case cases[] = {
        {"type window", [](Engineer& e) { e.CancelsType(); }, 0},
        {"first prompt",
         [](Engineer& e) {
             e.ChoosesType(0);
             e.AnswersPrompt(Qt::Key_Escape);
         },
         0},
        {"first monitor while settling",
         [](Engineer& e) {
             e.ChoosesType(0);
             e.AnswersPrompt();
             e.WatchesMonitor(3);
         },
         1},
        {"second monitor while measuring",
         [](Engineer& e) {
             e.ChoosesType(1);
             e.AnswersPrompt();
             e.WatchesMonitor();
             e.AnswersPrompt();
             e.WatchesMonitor(12);
         },
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Where);
        Confirmed.clear();
        {
            Engineer engineer(Main());
            c.Script(engineer);
            RunTemperature();
        }
        EXPECT_EQ(Confirmed.size(), c.Confirmed);
        EXPECT_EQ(Words(Model()), Words(Held()));
        EXPECT_EQ(ControllerBlock(), Words(Held()));
        EXPECT_EQ(Controller().CallCount("Write_CalibrTermDav_KT41"), 0);
        EXPECT_EQ(LogWithoutReads(), QStringList{"Калибровка температуры ..."});
        EXPECT_EQ(Main().StatusPanel1->text(), "Простой ...");
    }
}

TEST_F(CalibrationWorkflowTest, AFaultyTemperatureChannelStopsAfterTheFirstPoint) {
    // A resistor far too low plays the broken channel: its code is below 17500.
    Main().ReferenceConfirmed = [this](const device::CalibrationReference&) {
        Controller().References().SetResistance(85.0);
    };
    Engineer engineer(Main());
    engineer.ChoosesType(0);
    engineer.AnswersPrompt();
    engineer.WatchesMonitor();
    RunTemperature();

    ASSERT_EQ(Prompt.Messages().size(), 1u);
    const gui::MessageRequest box = Prompt.Messages()[0];
    EXPECT_EQ(box.Caption, "Неисправность канала температуры …");
    EXPECT_EQ(box.Text, "    Неисправен канал температуры, дальнейшая калибровка канала     \r\n"
                        "температуры не возможна!!!\r\n\r\n"
                        "   Проверьте подключение сопротивлений  или отремонтируйте регулятор.");
    EXPECT_EQ(box.Icon, gui::PromptIcon::Warning);
    EXPECT_TRUE(box.Topmost);
    EXPECT_EQ(engineer.Prompts.size(), 1u) << "no prompt for the second point";
    EXPECT_EQ(Words(Model()), Words(Held()));
    EXPECT_EQ(Controller().CallCount("Write_CalibrTermDav_KT41"), 0);
    EXPECT_EQ(Main().StatusPanel1->text(), "Простой ...");
}

TEST_F(CalibrationWorkflowTest, AFailedWriteKeepsTheNewCodesInTheModel) {
    Controller().AddFault({sim::FaultKind::Exception, "Write_CalibrTermDav_KT41", 0, 1});
    Engineer engineer(Main());
    engineer.AnswersPrompt();
    engineer.WatchesMonitor();
    engineer.AnswersPrompt();
    engineer.WatchesMonitor();
    RunPressure();

    const device::TCalibrTermDav now = Model();
    EXPECT_NEAR(now.K_P1, 6000, 4);
    EXPECT_NEAR(now.K_P2, 30000, 4);
    EXPECT_EQ(ControllerBlock(), Words(Held())) << "the controller refused the block";
    EXPECT_EQ(LogWithoutReads(),
              (QStringList{"Калибровка давления ...", "Запись калибровки ... Ошибка."}));
    EXPECT_TRUE(Prompt.Messages().empty()) << "no box for a failed write";
    // The next configuration write carries them.
    Main().Write_Config->trigger();
    EXPECT_EQ(ControllerBlock(), Words(now));
}

class CodeMonitorWindowTest : public CalibrationWorkflowTest {
protected:
    // Opens the monitor modally without a loop of its own, as the procedure
    // shows it for a point and a channel.
    TForm_KodiCalibr& Open(int point, int channel) {
        TForm_KodiCalibr& monitor = *Main().Form_KodiCalibr;
        monitor.PointNumber = point;
        monitor.Channel = channel;
        monitor.open();
        return monitor;
    }
    QString Cell(int row, int column) {
        return Main().Form_KodiCalibr->AdvStringGrid1->item(row, column)->text();
    }
};

TEST_F(CodeMonitorWindowTest, CountsDownFiveThenKeepsSixteenSamplesOfItsChannel) {
    Controller().SetWords(sim::Block::AdcCodes, std::vector<std::uint16_t>{18250, 6000});
    TForm_KodiCalibr& monitor = Open(1, device::CodeMonitor::Temperature);
    EXPECT_TRUE(monitor.Timer_Calibr->isActive());
    monitor.Timer_Calibr->stop();
    EXPECT_EQ(Cell(0, 0), QString(11, ' ') + "\r\n1 точка");
    EXPECT_EQ(Cell(3, 0), "T1 = ");
    EXPECT_EQ(Cell(0, 1), "   Стабилизация показаний\r\n5");
    EXPECT_FALSE(monitor.AdvProgressBar1->isVisible());
    for (const char* countdown : {"4", "3", "2", "1"}) {
        monitor.Timer_CalibrTimer();
        EXPECT_EQ(Cell(0, 1), QString("   Стабилизация показаний\r\n") + countdown);
    }
    monitor.Timer_CalibrTimer(); // the fifth read switches to measuring
    EXPECT_EQ(Cell(0, 1), "Калибровка");
    EXPECT_EQ(Cell(2, 1), "Код");
    EXPECT_EQ(Cell(3, 1), "0");
    EXPECT_TRUE(monitor.AdvProgressBar1->isVisible());
    EXPECT_EQ(monitor.AdvProgressBar1->maximum(), 16);
    EXPECT_EQ(monitor.AdvProgressBar1->value(), 0);
    for (int sample = 1; sample <= 16; ++sample) {
        const std::uint16_t code = std::uint16_t(18240 + sample);
        Controller().SetWords(sim::Block::AdcCodes, std::vector<std::uint16_t>{code, 6000});
        ASSERT_TRUE(monitor.isVisible()) << sample;
        monitor.Timer_CalibrTimer();
        EXPECT_EQ(Cell(3, 1), QString::number(code));
        EXPECT_EQ(monitor.AdvProgressBar1->value(), sample);
    }
    EXPECT_FALSE(monitor.isVisible());
    EXPECT_EQ(monitor.result(), TForm_KodiCalibr::kModalResultOk);
    EXPECT_EQ(monitor.Monitor.Samples().back(), 18241.0) << "the first sample is the last element";
    EXPECT_EQ(monitor.Monitor.Samples().front(), 18256.0);
    EXPECT_FALSE(monitor.Timer_Calibr->isActive());
    EXPECT_EQ(LogTexts(Main()).count("Чтение кодов АЦП ... Ok."), 21);
}

TEST_F(CodeMonitorWindowTest, AFailedReadOrTheCloseButtonEndItWithCancel) {
    for (const bool failedRead : {true, false}) {
        SCOPED_TRACE(failedRead ? "failed read" : "close button");
        TForm_KodiCalibr& monitor = Open(2, device::CodeMonitor::Pressure);
        monitor.Timer_Calibr->stop();
        for (int tick = 0; tick < 8; ++tick) {
            monitor.Timer_CalibrTimer();
        }
        ASSERT_EQ(monitor.Monitor.CurrentState(), device::CodeMonitor::Measuring);
        if (failedRead) {
            Controller().AddFault({sim::FaultKind::Exception, "Get_ADC_Cod_KT41", 0, 1});
            monitor.Timer_CalibrTimer();
            EXPECT_TRUE(LogTexts(Main()).endsWith("Чтение кодов АЦП ... Ошибка."));
        } else {
            monitor.close();
        }
        EXPECT_FALSE(monitor.isVisible());
        EXPECT_EQ(monitor.result(), TForm_KodiCalibr::kModalResultCancel);
        EXPECT_EQ(monitor.Monitor.CurrentState(), device::CodeMonitor::Closed);
        EXPECT_FALSE(monitor.Timer_Calibr->isActive());
    }
}

// A page whose use of the line the test sets: the current readings and manual
// pages use it while their timers run, the archive page while it is shown.
class LineUsingPage : public QWidget, public pages::MainWindowPage {
public:
    void PrepareAtStart() override {}
    bool UsesLine() const override { return Using; }
    bool Using = false;
};

TEST_F(CalibrationWorkflowTest, TheCommandsNeedTheMenuAndNoPageOnTheLine) {
    TForm_Main& main = Main();
    std::vector<LineUsingPage*> pages;
    for (const int tab :
         {TForm_Main::kPageCurrent, TForm_Main::kPageManual, TForm_Main::kPageArchive}) {
        pages.push_back(new LineUsingPage);
        main.SetPage(tab, pages.back());
    }
    const auto enabled = [&main] {
        main.Calibr_TermUpdate();
        main.Calibr_PressUpdate();
        EXPECT_EQ(main.Calibr_Term->isEnabled(), main.Calibr_Press->isEnabled());
        return main.Calibr_Term->isEnabled();
    };
    EXPECT_TRUE(enabled());
    for (LineUsingPage* page : pages) {
        page->Using = true;
        EXPECT_FALSE(enabled());
        page->Using = false;
        EXPECT_TRUE(enabled());
    }
    main.ShowCalibrationMenu(false);
    EXPECT_FALSE(enabled());
}

} // namespace
} // namespace kt41::app
