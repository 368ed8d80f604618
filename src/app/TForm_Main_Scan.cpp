// Сервис / Поиск приборов на линии...: the scan window and the connection to
// a controller found there.
#include "TForm_Main.h"
#include "dialogs/TForm_Scan.h"
#include "gui/WindowPlacement.h"

namespace kt41::app {

void TForm_Main::Scan_LineExecute() {
    if (ComPort1.Connected()) {
        return; // the scan needs the line to itself; the action is off meanwhile
    }
    if (Form_Scan == nullptr) {
        Form_Scan = new dialogs::TForm_Scan(*driver_, ComPort1, this, this);
        Form_Scan->setModal(true);
        Form_Scan->ConnectRequested = [this](int address, std::uint32_t baud) {
            ConnectToFound(address, baud);
        };
    }
    gui::CenterWindow(*Form_Scan, this);
    Form_Scan->show();
    Form_Scan->raise();
}

void TForm_Main::ConnectToFound(int address, std::uint32_t baud) {
    if (ComPort1.Connected()) {
        Connect_DeviceExecute(); // disconnects
    }
    // For this connection only: the stored speed is back after the next
    // "Применить" or start.
    ComPort1.BaudRate = baud;
    LogMessage(QString("Прибор с адресом %1, %2 бит/с.").arg(address).arg(baud));
    foundAddress_ = address;
    Connect_DeviceExecute();
    foundAddress_.reset();
}

} // namespace kt41::app
