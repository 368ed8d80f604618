#pragma once

#include "MainWindowPage.h"
#include "PageHost.h"
#include "device/ManualControl.h"
#include "device/RegisterPanel.h"

#include <QColor>
#include <QWidget>

#include <array>
#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class QTimer;
class QToolButton;

namespace kt41::pages {

class IndicatorShape;

// The page "Ручное управление" (tab 7). For each contour in manual mode the
// engineer drives its valve open or closed and, on contours 1 and 2, switches
// its two pumps; the two sliders set the 4-20 mA analog outputs. Mode and
// pump switches are written at once; drive commands and output currents are
// sent by Timer_Manual every second while the page is shown. The rules
// (what a contour enables, the pending drive requests, the coalesced slider
// writes) are device::ManualControl's; this page shows them.
//
// Buttons, per contour n: "<<" and ">>" (close, open) are SpeedButton5 /
// SpeedButton3, SpeedButton1 / SpeedButton2, SpeedButton4 / SpeedButton6,
// SpeedButton7 / SpeedButton8. Per pump p = 1..4 (pumps 1, 2 of contour 1,
// then of contour 2): "Вкл." is SpeedButton(7 + 2p), "Выкл." SpeedButton(8 + 2p)
// (SpeedButton9 / SpeedButton10 for pump 1, ..., SpeedButton15 / 16 for pump 4).
class ManualPage : public QWidget, public MainWindowPage {
    Q_OBJECT
public:
    static constexpr int kContours = device::ManualControl::kContours;
    static constexpr int kPumps = device::ManualControl::kPumps;

    // Indicator colours.
    static QColor DriveActiveColor() { return {0, 255, 0}; }
    static QColor DriveInactiveColor() { return {221, 221, 221}; }
    static QColor PumpOnColor() { return {0, 255, 0}; }
    static QColor PumpOffColor() { return {255, 0, 0}; }

    explicit ManualPage(PageHost& host, QWidget* parent = nullptr);
    ~ManualPage() override;

    // --- handlers -----------------------------------------------------------------
    // The page is shown: reads the manual state, sets every control from the
    // model (sending nothing) and starts Timer_Manual.
    void TabSheet_ManualShow();
    // The page is hidden: stops Timer_Manual.
    void TabSheet_ManualHide();
    // The manual-mode box of a contour (CheckBox_ManualContur1Click ...).
    void CheckBox_ManualConturClick(int contour);
    // The drive pair of a contour (SpeedButton3Click, SpeedButton2Click,
    // SpeedButton6Click, SpeedButton8Click): the request for the next tick
    // and the indicators.
    void DriveButtonClick(int contour);
    // The radio pair of pump 1..4 (SpeedButton9Click, SpeedButton11Click,
    // SpeedButton13Click, SpeedButton15Click).
    void PumpButtonClick(int pump);
    // Either slider moved (AdvTrackBar_AnalogOut2Change).
    void AdvTrackBar_AnalogOut2Change();
    // The texts of a slider position: the moving hint "%0.1f мА" and the
    // label "%0.2f мА", position / 10 in the user's locale.
    static QString AdvTrackBar_AnalogOut1GetTrackHint(int position);
    static QString AdvTrackBar_AnalogOut1GetTrackLabelText(int position);
    // Every second while the page is shown.
    void Timer_ManualTimer();
    // The register panel.
    void SpinEditAddrChange();
    void ButtonReadClick();
    void ButtonWriteClick();

    // MainWindowPage.
    void PrepareAtStart() override;
    void PrepareClose() override;
    // A configuration read or a file load resets the model's manual state;
    // a page on view reads it again, so that it shows what the controller holds.
    void ShowModel() override;
    // While Timer_Manual runs.
    bool UsesLine() const override;
    void StopUsingLine() override;

    // The page's rules over the model (made on first use, once the model exists).
    device::ManualControl& Control();

    // --- controls -------------------------------------------------------------------
    struct ContourControls {
        QGroupBox* Group = nullptr;
        QCheckBox* ManualMode = nullptr; // CheckBox_ManualConturN
        QLabel* CloseLabel = nullptr;    // "Закр."
        QLabel* OpenLabel = nullptr;     // "Откр."
        QToolButton* Close = nullptr;    // "<<"
        QToolButton* Open = nullptr;     // ">>"
        IndicatorShape* Closing = nullptr;
        IndicatorShape* Opening = nullptr;
    };
    struct PumpControls {
        QLabel* Label = nullptr;    // "Насос 1" / "Насос 2"
        QToolButton* On = nullptr;  // "Вкл."
        QToolButton* Off = nullptr; // "Выкл."
        IndicatorShape* State = nullptr;
    };
    // Index 0 is contour 1, pump 1, output 1.
    std::array<ContourControls, kContours> Contours;
    std::array<PumpControls, kPumps> Pumps;
    std::array<QGroupBox*, 2> PumpGroups{};
    std::array<QSlider*, 2> AdvTrackBar_AnalogOut{};
    std::array<QLabel*, 2> AnalogOutLabels{};
    QTimer* Timer_Manual = nullptr;
    QSpinBox* SpinEditAddr = nullptr;
    QSpinBox* SpinEditCount = nullptr;
    QPushButton* ButtonRead = nullptr;
    QPushButton* ButtonWrite = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QGroupBox* BuildContourGroup(int contour);
    QGroupBox* BuildPumpGroup(int group);
    QGroupBox* BuildOutputGroup(int output);
    QWidget* BuildRegisterPanel();
    void EnableContourControls(int contour, bool on);
    void ShowDriveIndicators(int contour, std::uint8_t command);
    void ShowPump(int pump);
    void ShowSliderLabel(int output);
    void LogLines(const std::vector<std::string>& lines);
    device::RegisterPanel& Registers();

    PageHost& host_;
    std::unique_ptr<device::ManualControl> control_;
    std::unique_ptr<device::RegisterPanel> registers_;
    // Step 5 of the show detaches the boxes' click handlers.
    bool boxHandlersAttached_ = true;
};

} // namespace kt41::pages
