// Commands of the main window whose work belongs to the calibration
// procedures. Those fill their handlers here; until then a command does nothing.
#include "TForm_Main.h"

namespace kt41::app {

void TForm_Main::Calibr_TermExecute() {}

void TForm_Main::Calibr_PressExecute() {}

} // namespace kt41::app
