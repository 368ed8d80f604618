#include "ManualPage.h"

#include "CaptionCheckFrame.h"
#include "IndicatorShape.h"
#include "device/ProgressCodes.h"
#include "device/TKT41.h"
#include "driver/SerialPortError.h"
#include "gui/BlockingOperation.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QCursor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <climits>

namespace kt41::pages {

namespace {

constexpr int kTimerInterval = 1000; // ms
// Names of the drive buttons of contours 1..4: "<<", ">>".
constexpr const char* kCloseButtons[] = {"SpeedButton5", "SpeedButton1", "SpeedButton4",
                                         "SpeedButton7"};
constexpr const char* kOpenButtons[] = {"SpeedButton3", "SpeedButton2", "SpeedButton6",
                                        "SpeedButton8"};

struct PumpTexts {
    const char* Off;
    const char* On;
    const char* State;
};
// The double blanks are part of the hints.
constexpr PumpTexts kPumpHints[] = {
    {"Выключение 1 насоса 1 контура.", "Включение 1 насоса 1 контура.",
     "Состояние 1 насоса  1 контура"},
    {"Выключение 2 насоса 1 контура.", "Включение 2 насоса  1 контура.",
     "Состояние 2 насоса 1 контура"},
    {"Выключение 1 насоса  2 контура.", "Включение 1 насоса  2 контура.",
     "Состояние 1 насоса  2 контура"},
    {"Выключение 2 насоса  2 контура.", "Включение 2 насоса  2 контура.",
     "Состояние 2 насоса  2 контура"},
};

// An exchange under way when the line is to close gets this long to finish.
void LetPendingWorkRun() {
    for (int k = 0; k < 21; ++k) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
}

QToolButton* ToggleButton(const QString& name, const QString& text, const QString& hint,
                          QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(hint);
    button->setCheckable(true);
    button->setMinimumWidth(40);
    return button;
}

QString Milliamps(int position, int decimals) {
    return QLocale().toString(position / 10.0, 'f', decimals) + " мА";
}

} // namespace

ManualPage::ManualPage(PageHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    auto* grid = new QGridLayout(this);
    for (int contour = 1; contour <= kContours; ++contour) {
        grid->addWidget(BuildContourGroup(contour), 0, contour - 1);
    }
    grid->addWidget(BuildPumpGroup(1), 1, 0);
    grid->addWidget(BuildPumpGroup(2), 1, 1);
    auto* outputs = new QVBoxLayout;
    outputs->addWidget(BuildOutputGroup(1));
    outputs->addWidget(BuildOutputGroup(2));
    grid->addLayout(outputs, 1, 2, 1, 2);
    grid->addWidget(BuildRegisterPanel(), 2, 0, 1, 4);
    grid->setRowStretch(3, 1);

    Timer_Manual = new QTimer(this);
    Timer_Manual->setObjectName("Timer_Manual");
    Timer_Manual->setInterval(kTimerInterval);
    connect(Timer_Manual, &QTimer::timeout, this, &ManualPage::Timer_ManualTimer);
}

ManualPage::~ManualPage() = default;

device::ManualControl& ManualPage::Control() {
    if (!control_) {
        control_ = std::make_unique<device::ManualControl>(host_.Model());
    }
    return *control_;
}

device::RegisterPanel& ManualPage::Registers() {
    if (!registers_) {
        registers_ = std::make_unique<device::RegisterPanel>(host_.Model().Driver());
    }
    return *registers_;
}

QGroupBox* ManualPage::BuildContourGroup(int contour) {
    ContourControls& c = Contours[std::size_t(contour - 1)];
    const QString n = QString::number(contour);
    auto* frame =
        new CaptionCheckFrame("        Контур " + n + " ", "CheckBox_ManualContur" + n, this);
    c.Group = frame;
    c.ManualMode = frame->CheckBox();
    c.CloseLabel = new QLabel("Закр.", frame);
    c.OpenLabel = new QLabel("Откр.", frame);
    c.Close = ToggleButton(kCloseButtons[contour - 1], "<<",
                           "Направление движения \"обратное\" " + n + " контура.", frame);
    c.Open = ToggleButton(kOpenButtons[contour - 1], ">>",
                          "Направление движения \"прямое\" " + n + " контура.", frame);
    c.Closing = new IndicatorShape("Shape_Closing" + n,
                                   "Движение привода " + n + " контура на закрытие", frame);
    c.Opening = new IndicatorShape("Shape_Opening" + n,
                                   "Движение привода " + n + " контура на открытие", frame);
    auto* layout = new QGridLayout(frame);
    layout->addWidget(c.CloseLabel, 0, 0, Qt::AlignCenter);
    layout->addWidget(c.OpenLabel, 0, 1, Qt::AlignCenter);
    layout->addWidget(c.Close, 1, 0, Qt::AlignCenter);
    layout->addWidget(c.Open, 1, 1, Qt::AlignCenter);
    layout->addWidget(c.Closing, 2, 0, Qt::AlignCenter);
    layout->addWidget(c.Opening, 2, 1, Qt::AlignCenter);

    connect(c.ManualMode, &QCheckBox::toggled, this, [this, contour] {
        if (boxHandlersAttached_) {
            CheckBox_ManualConturClick(contour);
        }
    });
    // A toggle pair: at most one button is down; a click on the down one
    // releases it.
    auto pair = [this, contour](QToolButton* clicked, QToolButton* other) {
        connect(clicked, &QToolButton::clicked, this, [this, contour, clicked, other] {
            if (clicked->isChecked()) {
                other->setChecked(false);
            }
            DriveButtonClick(contour);
        });
    };
    pair(c.Close, c.Open);
    pair(c.Open, c.Close);
    return frame;
}

QGroupBox* ManualPage::BuildPumpGroup(int group) {
    auto* frame = new QGroupBox(" Насосы контур " + QString::number(group) + " ", this);
    PumpGroups[std::size_t(group - 1)] = frame;
    auto* layout = new QGridLayout(frame);
    for (int k = 0; k < 2; ++k) {
        const int pump = 2 * (group - 1) + k + 1;
        PumpControls& p = Pumps[std::size_t(pump - 1)];
        const PumpTexts& hints = kPumpHints[pump - 1];
        p.Label = new QLabel("Насос " + QString::number(k + 1), frame);
        p.Off =
            ToggleButton("SpeedButton" + QString::number(8 + 2 * pump), "Выкл.", hints.Off, frame);
        p.On = ToggleButton("SpeedButton" + QString::number(7 + 2 * pump), "Вкл.", hints.On, frame);
        p.Off->setChecked(true);
        p.State = new IndicatorShape("Shape_Pump" + QString::number(pump), hints.State, frame);
        p.State->SetColor(PumpOffColor());
        layout->addWidget(p.Label, k, 0);
        layout->addWidget(p.Off, k, 1);
        layout->addWidget(p.On, k, 2);
        layout->addWidget(p.State, k, 3);
        // A radio pair: one button is always down.
        auto pick = [this, pump](QToolButton* clicked, QToolButton* other) {
            connect(clicked, &QToolButton::clicked, this, [this, pump, clicked, other] {
                clicked->setChecked(true);
                other->setChecked(false);
                PumpButtonClick(pump);
            });
        };
        pick(p.Off, p.On);
        pick(p.On, p.Off);
    }
    return frame;
}

QGroupBox* ManualPage::BuildOutputGroup(int output) {
    const QString n = QString::number(output);
    auto* frame = new QGroupBox(" Аналоговый выход (4-20 мА) № " + n + " ", this);
    auto* slider = new QSlider(Qt::Horizontal, frame);
    slider->setObjectName("AdvTrackBar_AnalogOut" + n);
    slider->setRange(device::ManualControl::kOutputMin, device::ManualControl::kOutputMax);
    slider->setValue(device::ManualControl::kOutputMin);
    slider->setPageStep(10);
    auto* label = new QLabel(frame);
    label->setObjectName("Label_AnalogOut" + n);
    label->setAlignment(Qt::AlignCenter);
    AdvTrackBar_AnalogOut[std::size_t(output - 1)] = slider;
    AnalogOutLabels[std::size_t(output - 1)] = label;
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(slider);
    layout->addWidget(label);
    ShowSliderLabel(output);
    connect(slider, &QSlider::valueChanged, this, [this, output] {
        ShowSliderLabel(output);
        AdvTrackBar_AnalogOut2Change();
    });
    connect(slider, &QSlider::sliderMoved, this, [slider](int position) {
        QToolTip::showText(QCursor::pos(), AdvTrackBar_AnalogOut1GetTrackHint(position), slider);
    });
    return frame;
}

QWidget* ManualPage::BuildRegisterPanel() {
    // Present but not shown: a service tool of the controller's makers.
    auto* panel = new QWidget(this);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    SpinEditAddr = new QSpinBox(panel);
    SpinEditAddr->setObjectName("SpinEditAddr");
    SpinEditAddr->setRange(INT_MIN, INT_MAX);
    SpinEditAddr->setValue(10);
    SpinEditCount = new QSpinBox(panel);
    SpinEditCount->setObjectName("SpinEditCount");
    SpinEditCount->setRange(1, device::RegisterPanel::kMaxCount);
    SpinEditCount->setValue(20);
    ButtonRead = new QPushButton("Чтение", panel);
    ButtonRead->setObjectName("ButtonRead");
    ButtonWrite = new QPushButton("Запись", panel);
    ButtonWrite->setObjectName("ButtonWrite");
    ButtonWrite->setEnabled(false);
    layout->addWidget(new QLabel("Адрес регистров", panel));
    layout->addWidget(SpinEditAddr);
    layout->addWidget(new QLabel("Кол-во регистров", panel));
    layout->addWidget(SpinEditCount);
    layout->addWidget(ButtonRead);
    layout->addWidget(ButtonWrite);
    connect(SpinEditAddr, &QSpinBox::valueChanged, this, &ManualPage::SpinEditAddrChange);
    connect(SpinEditCount, &QSpinBox::valueChanged, this, &ManualPage::SpinEditAddrChange);
    connect(ButtonRead, &QPushButton::clicked, this, &ManualPage::ButtonReadClick);
    connect(ButtonWrite, &QPushButton::clicked, this, &ManualPage::ButtonWriteClick);
    panel->setVisible(false);
    return panel;
}

// --- showing and hiding ------------------------------------------------------------

void ManualPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        TabSheet_ManualShow();
    }
}

void ManualPage::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        TabSheet_ManualHide();
    }
}

void ManualPage::TabSheet_ManualShow() {
    // Held over the whole show, so that a tick cannot come between its steps.
    const gui::BlockingOperation busy;
    device::ManualControl& control = Control();
    bool lineFailed = false;
    try {
        control.ReadState();
    } catch (const driver::SerialPortError& error) {
        // The page shows the reset values; the timer does not start on a line
        // that failed.
        lineFailed = true;
        host_.ReportPortError(error);
    }
    for (int pump = 1; pump <= kPumps; ++pump) {
        ShowPump(pump);
    }
    // Setting a slider marks the outputs as moved; the next tick then writes
    // nothing, since the model holds these values.
    AdvTrackBar_AnalogOut[0]->setValue(host_.Model().GetAnalogOutput(1));
    AdvTrackBar_AnalogOut[1]->setValue(host_.Model().GetAnalogOutput(2));
    for (ContourControls& c : Contours) {
        c.Close->setChecked(false);
        c.Open->setChecked(false);
    }
    boxHandlersAttached_ = false;
    for (int contour = 1; contour <= kContours; ++contour) {
        Contours[std::size_t(contour - 1)].ManualMode->setChecked(false);
        EnableContourControls(contour, false);
        ShowDriveIndicators(contour, device::valve::Stop);
    }
    control.ClearDriveRequests();
    boxHandlersAttached_ = true;
    // A box that becomes ticked runs its handler, which enables the
    // contour's controls; the mode it writes is already in force, so nothing
    // is sent.
    for (int contour = 1; contour <= kContours; ++contour) {
        Contours[std::size_t(contour - 1)].ManualMode->setChecked(control.ManualMode(contour));
    }
    if (!lineFailed) {
        Timer_Manual->setInterval(kTimerInterval);
        Timer_Manual->start();
    }
}

void ManualPage::TabSheet_ManualHide() {
    Timer_Manual->stop();
}

// --- handlers ------------------------------------------------------------------------

void ManualPage::CheckBox_ManualConturClick(int contour) {
    // Held over the whole handler, so that a tick cannot come between its steps.
    const gui::BlockingOperation busy;
    ContourControls& c = Contours[std::size_t(contour - 1)];
    bool inForce = false;
    try {
        inForce = Control().ChangeManualMode(contour, c.ManualMode->isChecked());
    } catch (const driver::SerialPortError& error) {
        inForce = Control().ManualMode(contour);
        host_.ReportPortError(error);
    }
    {
        const QSignalBlocker quiet(c.ManualMode);
        c.ManualMode->setChecked(inForce);
    }
    EnableContourControls(contour, inForce);
    if (!inForce) {
        c.Close->setChecked(false);
        c.Open->setChecked(false);
        DriveButtonClick(contour);
    }
}

void ManualPage::DriveButtonClick(int contour) {
    const ContourControls& c = Contours[std::size_t(contour - 1)];
    const std::uint8_t command =
        device::ManualControl::DriveCommand(c.Close->isChecked(), c.Open->isChecked());
    Control().RequestDrive(contour, command);
    ShowDriveIndicators(contour, command);
}

void ManualPage::PumpButtonClick(int pump) {
    const gui::BlockingOperation busy;
    const PumpControls& p = Pumps[std::size_t(pump - 1)];
    try {
        Control().ChangePumpSwitch(pump, p.On->isChecked());
    } catch (const driver::SerialPortError& error) {
        host_.ReportPortError(error);
    }
    ShowPump(pump);
}

void ManualPage::AdvTrackBar_AnalogOut2Change() {
    Control().AnalogOutMoved();
}

QString ManualPage::AdvTrackBar_AnalogOut1GetTrackHint(int position) {
    return Milliamps(position, 1);
}

QString ManualPage::AdvTrackBar_AnalogOut1GetTrackLabelText(int position) {
    return Milliamps(position, 2);
}

void ManualPage::Timer_ManualTimer() {
    const gui::BlockingOperation busy;
    try {
        Control().Tick(AdvTrackBar_AnalogOut[0]->value(), AdvTrackBar_AnalogOut[1]->value());
    } catch (const driver::SerialPortError& error) {
        // The line is gone: one box, not one a second.
        Timer_Manual->stop();
        host_.ReportPortError(error);
    }
    host_.PostProgress(device::progress::IdleAfter, 0);
}

void ManualPage::SpinEditAddrChange() {
    ButtonWrite->setEnabled(false);
}

void ManualPage::ButtonReadClick() {
    const gui::BlockingOperation busy;
    try {
        const auto outcome =
            Registers().Read(std::uint16_t(SpinEditAddr->value()), SpinEditCount->value());
        ButtonWrite->setEnabled(outcome.Ok);
        LogLines(outcome.Lines);
    } catch (const driver::SerialPortError& error) {
        ButtonWrite->setEnabled(false);
        host_.ReportPortError(error);
    }
}

void ManualPage::ButtonWriteClick() {
    const gui::BlockingOperation busy;
    try {
        LogLines(
            Registers().Write(std::uint16_t(SpinEditAddr->value()), SpinEditCount->value()).Lines);
    } catch (const driver::SerialPortError& error) {
        host_.ReportPortError(error);
    }
}

// --- main window steps ---------------------------------------------------------------

void ManualPage::PrepareAtStart() {
    Timer_Manual->stop();
}

void ManualPage::PrepareClose() {
    Timer_Manual->stop();
}

void ManualPage::ShowModel() {
    if (isVisible()) {
        TabSheet_ManualShow();
    }
}

bool ManualPage::UsesLine() const {
    return Timer_Manual->isActive();
}

void ManualPage::StopUsingLine() {
    Timer_Manual->stop();
    LetPendingWorkRun();
}

// --- showing the model ---------------------------------------------------------------

void ManualPage::EnableContourControls(int contour, bool on) {
    const ContourControls& c = Contours[std::size_t(contour - 1)];
    for (QWidget* w : std::initializer_list<QWidget*>{c.CloseLabel, c.OpenLabel, c.Close, c.Open,
                                                      c.Closing, c.Opening}) {
        w->setEnabled(on);
    }
    if (contour <= 2) {
        PumpGroups[std::size_t(contour - 1)]->setEnabled(on);
    }
}

void ManualPage::ShowDriveIndicators(int contour, std::uint8_t command) {
    const ContourControls& c = Contours[std::size_t(contour - 1)];
    c.Opening->SetColor(command == device::valve::Open ? DriveActiveColor() : DriveInactiveColor());
    c.Closing->SetColor(command == device::valve::Close ? DriveActiveColor()
                                                        : DriveInactiveColor());
}

void ManualPage::ShowPump(int pump) {
    const PumpControls& p = Pumps[std::size_t(pump - 1)];
    const bool on = Control().PumpSwitch(pump);
    p.On->setChecked(on);
    p.Off->setChecked(!on);
    p.State->SetColor(on ? PumpOnColor() : PumpOffColor());
}

void ManualPage::ShowSliderLabel(int output) {
    AnalogOutLabels[std::size_t(output - 1)]->setText(AdvTrackBar_AnalogOut1GetTrackLabelText(
        AdvTrackBar_AnalogOut[std::size_t(output - 1)]->value()));
}

void ManualPage::LogLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        host_.LogMessage(QString::fromStdString(line));
    }
}

} // namespace kt41::pages
