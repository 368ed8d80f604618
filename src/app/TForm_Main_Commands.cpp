// Commands of the main window whose work belongs to the connection workflow,
// the configuration file commands and the calibration procedures. Each of those
// fills its handlers here; until then a command does nothing.
#include "TForm_Main.h"

namespace kt41::app {

void TForm_Main::Connect_DeviceExecute() {}

void TForm_Main::Read_ConfigExecute() {}

void TForm_Main::Write_ConfigExecute() {}

void TForm_Main::FileOpen1Execute() {}

void TForm_Main::FileSaveAs1Execute() {}

void TForm_Main::Calibr_TermExecute() {}

void TForm_Main::Calibr_PressExecute() {}

void TForm_Main::CloseConnection() {
    if (ComPort1.Connected()) {
        ComPort1.Close();
        LogMessage("Сеанс связи завершен.");
    }
}

} // namespace kt41::app
