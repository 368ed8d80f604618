#pragma once

#include "device/CodeMonitor.h"

#include <QDialog>
#include <QStringList>

#include <cstdint>

class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace kt41::device {
class TKT41;
}

namespace kt41::gui {
struct RunTimeSettings;
}

namespace kt41::dialogs {

// The converter-code monitor: shown modally once per calibration reference
// point. Once a second it reads the controller's two converter codes, first
// counts five ticks down while the reading settles, then keeps one code of its
// channel per tick until the configured number of samples (amount_measure) is
// taken, and closes with kModalResultOk. "Отмена", the close button or a
// failed read close it with kModalResultCancel. The phases are
// device::CodeMonitor; the caller averages Monitor.Samples().
class TForm_KodiCalibr : public QDialog {
    Q_OBJECT
public:
    static constexpr int kModalResultOk = 1;
    static constexpr int kModalResultCancel = 2;
    static constexpr int kTimerInterval = 1000;

    TForm_KodiCalibr(device::TKT41& model, const gui::RunTimeSettings& settings,
                     QWidget* parent = nullptr);

    // Set by the caller before each showing: the point number (1 or 2) and the
    // channel (device::CodeMonitor::Temperature or Pressure).
    int PointNumber = 1;
    int Channel = device::CodeMonitor::Temperature;
    // The phases and the measured codes of the latest showing.
    device::CodeMonitor Monitor;
    // The two codes of the latest successful read.
    std::uint16_t TemperatureCode = 0;
    std::uint16_t PressureCode = 0;

    // --- handlers --------------------------------------------------------------
    // Keeps the row-header sets of the two channels.
    void FormCreate();
    // Sizes and clears the samples, starts the countdown at 5, lays out the
    // stabilising view and starts Timer_Calibr.
    void FormShow();
    // One read of the converter codes and, on success, one step of the phase;
    // a failed read closes the window with kModalResultCancel.
    void Timer_CalibrTimer();
    void AdvGlowButton3Click(); // "Отмена"
    void FormClose();           // stops Timer_Calibr

    // The text of the left cell: eleven blanks, CR LF, the point and " точка".
    QString PointLabel() const;
    // "   Стабилизация показаний" CR LF and the countdown.
    static QString StabilisingText(int countdown);

    void done(int result) override;

    QTableWidget* AdvStringGrid1 = nullptr;
    QProgressBar* AdvProgressBar1 = nullptr;
    QPushButton* AdvGlowButton3 = nullptr; // "Отмена"
    QTimer* Timer_Calibr = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The step handler: a stabilising or a measuring step by the state.
    void StepHandler();
    void LayOutStabilisingView();
    void LayOutMeasuringView();
    // Row headers, point label, fixed rows and the sizes shared by both views.
    void LayOutCommon(int fixedRows);
    void SetCell(int row, int column, const QString& text);

    device::TKT41& model_;
    const gui::RunTimeSettings& settings_;
    QStringList termHeaders_;
    QStringList pressHeaders_;
};

} // namespace kt41::dialogs
