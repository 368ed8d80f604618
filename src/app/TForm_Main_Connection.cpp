// The connection workflow of the main window: connecting and disconnecting,
// reading and writing the whole configuration, and the availability of the
// configuration commands that follows from them.
#include "ActionIcons.h"
#include "TForm_Main.h"
#include "device/ManualControl.h"
#include "device/ProgressCodes.h"
#include "device/ProgressTexts.h"
#include "dialogs/TNew_DeviceForm.h"
#include "driver/SerialPortError.h"
#include "gui/BlockingOperation.h"
#include "gui/Prompt.h"
#include "gui/WindowPlacement.h"
#include "pages/DevicePage.h"

#include <QAction>
#include <QTabWidget>

namespace kt41::app {

namespace {

const QString kPortBusy = "Последовательный порт занят другим приложением ...    ";
const QString kNoPorts = "Нет свободных последовательных портов...";
const QString kConnected = "Подключено";
const QString kDisconnected = "Не подключено";
const QString kConnectHint = "Подключить|Установить связь с прибором";
const QString kDisconnectHint = "Отключить|Завершить связь с прибором";
constexpr int kConnectAttempts = 2;
constexpr int kAddressWithoutDialog = 1;

} // namespace

// One box for every port error, then the log line that says what happened.
void TForm_Main::ReportPortError(const driver::SerialPortError& error) {
    gui::ShowErrorBox(this, kPortBusy);
    LogMessage(QString::fromStdString(device::PortFaultText(error.Fault(), error.Port())));
}

void TForm_Main::ShowConnectAction(bool connected) {
    Connect_Device->setIcon(connected ? DisconnectIcon() : ConnectIcon());
    const HintParts hint = SplitHint(connected ? kDisconnectHint : kConnectHint);
    Connect_Device->setToolTip(hint.Short);
    Connect_Device->setStatusTip(hint.Long);
}

void TForm_Main::SetVersionText(const QString& text) {
    if (devicePage_ != nullptr) {
        devicePage_->ShowVersion(text);
    }
}

void TForm_Main::SetConfigurationAvailable(bool on) {
    PageControl1->setVisible(on);
    Read_Config->setEnabled(on);
    Write_Config->setEnabled(on);
    FileSaveAs1->setEnabled(on);
    FileOpen1->setEnabled(on);
}

void TForm_Main::Connect_DeviceExecute() {
    const gui::BlockingOperation busy;
    bool connected = false;
    try {
        if (ComPort1.Connected()) {
            CloseConnection();
            SetVersionText("");
            ShowConnectAction(false);
            SetConnectionText(kDisconnected);
            Read_Config->setEnabled(false);
            Write_Config->setEnabled(false);
            PostProgress(device::progress::Idle, 0);
            return;
        }
        if (EstablishConnection()) {
            connected = true;
            SetConnectionText(kConnected);
            ShowConnectAction(true);
            Read_Config->setEnabled(true);
            Compare_Device->setEnabled(true);
            Scan_Line->setEnabled(false); // the scan needs the line to itself
            LogMessage("Есть соединение с прибором.");
            if (Settings.ReadConfig) {
                Read_ConfigExecute();
            }
        } else {
            CloseConnection();
            SetVersionText("");
            ShowConnectAction(false);
            SetConnectionText(kDisconnected);
        }
    } catch (const driver::SerialPortError& error) {
        ReportPortError(error);
        PostProgress(device::progress::Idle, 0);
        // A line that failed after the driver had opened it is closed again, so
        // that the window, which still shows "Не подключено", and the port agree.
        if (!connected && ComPort1.Connected()) {
            CloseConnection();
            SetVersionText("");
        }
    }
}

bool TForm_Main::EstablishConnection() {
    if (!Settings.PortsPresent) {
        gui::ShowErrorBox(this, kNoPorts);
        PostProgress(device::progress::Idle, 0);
        return false;
    }
    int address = kAddressWithoutDialog;
    if (foundAddress_) {
        address = *foundAddress_; // picked in the scan window
        foundAddress_.reset();
    } else if (!Settings.ZeroNumID) {
        LogMessage("Ввод сетевого адреса прибора ...");
        bool accepted = false;
        if (New_DeviceForm != nullptr) {
            gui::CenterWindow(*New_DeviceForm, this);
            accepted = New_DeviceForm->exec() == dialogs::TNew_DeviceForm::kModalResultYes;
        }
        if (!accepted) {
            PageControl1->hide();
            LogMessage("Простой ...");
            SetConnectionText(kDisconnected);
            return false;
        }
        address = New_DeviceForm->Address();
    }
    repaint();
    LogMessage("Установление связи ...");
    std::array<std::uint8_t, 2> version{};
    bool answered = false;
    for (int attempt = 0; attempt < kConnectAttempts && !answered; ++attempt) {
        answered = Model().ConnectDevice(std::uint8_t(address), version);
    }
    if (!answered) {
        LogMessage("Связь не установлена ...");
        return false;
    }
    // The version word's low byte is the major number and comes first.
    SetVersionText(QString("%1.%2 ").arg(version[0]).arg(version[1]));
    return true;
}

void TForm_Main::CloseConnection() {
    if (ComPort1.Connected()) {
        // The archive read and the page timers end, and an exchange they have
        // under way finishes, before the port closes under them.
        ForEachPage([](pages::MainWindowPage& page) {
            if (page.UsesLine()) {
                page.StopUsingLine();
            }
        });
        LogContoursLeftInManualMode();
        ComPort1.Close();
        LogMessage("Сеанс связи завершен.");
    }
    ForEachPage([](pages::MainWindowPage& page) { page.ConnectionClosed(); });
    SetConfigurationAvailable(false);
    Compare_Device->setEnabled(false);
    Scan_Line->setEnabled(true);
}

void TForm_Main::LogContoursLeftInManualMode() {
    // Manual mode stays on the controller on purpose; the engineer is told.
    if (const std::string left = device::ManualModeLeftText(Model()); !left.empty()) {
        LogMessage(QString::fromStdString(left));
    }
}

void TForm_Main::Read_ConfigExecute() {
    const gui::BlockingOperation busy;
    try {
        if (Model().ReadConfiguration()) {
            ShowModelOnPages();
            SetConfigurationAvailable(true);
            PageControl1->setCurrentIndex(kPageManual);
        } else {
            SetConfigurationAvailable(false);
            Read_Config->setEnabled(true); // the user may try again
        }
    } catch (const driver::SerialPortError& error) {
        ReportPortError(error);
        // The read had already reset the model, so it no longer matches the
        // pages: the same state as a failed read, or a following write or save
        // would send the half-read configuration.
        SetConfigurationAvailable(false);
        Read_Config->setEnabled(true);
    }
    PostProgress(device::progress::IdleAfter, 0);
}

void TForm_Main::Write_ConfigExecute() {
    const gui::BlockingOperation busy;
    try {
        // The configuration the write replaces is kept first (TForm_Main_Backup.cpp).
        if (!BackUpBeforeWrite()) {
            PostProgress(device::progress::Idle, 0);
            return;
        }
        // The model's own progress codes log the outcome.
        Model().WriteConfiguration();
    } catch (const driver::SerialPortError& error) {
        ReportPortError(error);
        LogMessage("Простой ...");
    }
    // A write that stopped half-way: which blocks the controller now holds.
    if (const std::string mixture = device::PartialWriteText(Model().LastConfigWrite());
        !mixture.empty()) {
        LogMessage(QString::fromStdString(mixture));
    }
    PostProgress(device::progress::Idle, 0);
}

} // namespace kt41::app
