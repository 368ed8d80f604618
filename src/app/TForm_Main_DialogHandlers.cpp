// The pump-group, temperature-schedule and weekly calendar dialogs that the
// contour pages open: each edits a copy of the contour's data and stores it
// back on OK.
#include "TForm_Main.h"
#include "dialogs/TForm_Calendar.h"
#include "dialogs/TForm_Pumps_Conf.h"
#include "dialogs/TForm_Schedule_Tnorm.h"

namespace kt41::app {

void TForm_Main::OpenContourDialog(pages::ContourDialog dialog, int contour) {
    dialogs::WorkingCopyDialog* window = nullptr;
    switch (dialog) {
    case pages::ContourDialog::Pumps:
        window = Form_Pumps_Conf;
        break;
    case pages::ContourDialog::TnormSchedule:
        window = Form_Schedule_Tnorm;
        break;
    case pages::ContourDialog::PumpCalendar:
        window = Form_Calendar_Pump;
        break;
    case pages::ContourDialog::TlowCalendar:
        window = Form_Calendar_Tlow;
        break;
    }
    if (window != nullptr) {
        window->EditContour(contour);
    }
}

} // namespace kt41::app
