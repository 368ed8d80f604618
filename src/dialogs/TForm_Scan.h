#pragma once

#include "device/BusScan.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace kt41::driver {
class ComPort;
class Kt41Driver;
class ProgressSink;
} // namespace kt41::driver

namespace kt41::gui {
class ParamGrid;
}

namespace kt41::dialogs {

// "Поиск приборов на линии": asks every address of a range for its identity
// at the chosen speeds (device::TBusScan) on the program's port, with a
// progress bar and a button that starts and stops the scan, and lists the
// controllers that answered with their speed. A double click on one asks the
// main window to connect to it (ConnectRequested). The scan lets the window's
// events run between two addresses, so that the stop click and closing the
// window get through; it holds no blocking operation.
class TForm_Scan : public QDialog {
    Q_OBJECT
public:
    // window: the receiver the driver keeps with the port (the main window).
    TForm_Scan(driver::Kt41Driver& driver, driver::ComPort& port, driver::ProgressSink* window,
               QWidget* parent = nullptr);

    // Called with the address and speed of the controller double-clicked.
    std::function<void(int address, std::uint32_t baud)> ConnectRequested;

    // Starts a scan, or stops the one running.
    void Button_ScanClick();
    bool Scanning() const { return scanning_; }
    const std::vector<device::TScanFinding>& Found() const { return found_; }
    // Double click on row (grid rows count from 1).
    void Grid_FoundDblClick(int row);

    QLabel* Label_Port = nullptr;
    QSpinBox* SpinEdit_First = nullptr;
    QSpinBox* SpinEdit_Last = nullptr;
    QCheckBox* CheckBox_9600 = nullptr;
    QCheckBox* CheckBox_19200 = nullptr;
    QPushButton* Button_Scan = nullptr;
    QProgressBar* ProgressBar_Scan = nullptr;
    QLabel* Label_State = nullptr;
    gui::ParamGrid* Grid_Found = nullptr;
    QPushButton* Button_Close = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override; // closing stops a scan first

private:
    void RunScan();
    void ShowFound();

    driver::Kt41Driver& driver_;
    driver::ComPort& port_;
    driver::ProgressSink* window_;
    bool scanning_ = false;
    bool stopRequested_ = false;
    std::vector<device::TScanFinding> found_;
};

} // namespace kt41::dialogs
