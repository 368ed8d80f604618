// The calibration commands of the main window (CalibrationProcedure).
#include "CalibrationProcedure.h"
#include "TForm_Main.h"

#include <QAction>
#include <QMenu>

namespace kt41::app {

void TForm_Main::Calibr_TermExecute() {
    CalibrationProcedure(*this).Temperature();
}

void TForm_Main::Calibr_PressExecute() {
    CalibrationProcedure(*this).Pressure();
}

void TForm_Main::Calibr_TermUpdate() {
    Calibr_Term->setEnabled(Menu_Calibr->menuAction()->isVisible() && !AnyPageUsesLine());
}

void TForm_Main::Calibr_PressUpdate() {
    Calibr_Press->setEnabled(Menu_Calibr->menuAction()->isVisible() && !AnyPageUsesLine());
}

} // namespace kt41::app
