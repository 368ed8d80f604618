// Commands of the main window whose work belongs to the calibration
// procedures. Those fill their handlers here; until then a command does nothing.
#include "TForm_Main.h"

#include <QAction>
#include <QMenu>

namespace kt41::app {

void TForm_Main::Calibr_TermExecute() {}

void TForm_Main::Calibr_PressExecute() {}

void TForm_Main::Calibr_TermUpdate() {
    Calibr_Term->setEnabled(Menu_Calibr->menuAction()->isVisible() && !AnyPageUsesLine());
}

void TForm_Main::Calibr_PressUpdate() {
    Calibr_Press->setEnabled(Menu_Calibr->menuAction()->isVisible() && !AnyPageUsesLine());
}

} // namespace kt41::app
