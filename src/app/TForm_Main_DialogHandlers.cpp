// The handlers that open the pump-group, temperature-schedule and weekly
// calendar dialogs from the contour pages. Each works out the contour from the
// sender's name, opens its dialog on a copy of the contour's data and stores
// the copy back on OK.
#include "TForm_Main.h"
#include "dialogs/TForm_Calendar.h"
#include "dialogs/TForm_Pumps_Conf.h"
#include "dialogs/TForm_Schedule_Tnorm.h"

namespace kt41::app {

namespace {

// The contour whose page holds the button: N for the button named base + N
// (N from 2 to highest), otherwise 1 (the button of contour 1 has no suffix).
int ContourOf(const QObject* sender, const QString& base, int highest) {
    const QString name = sender != nullptr ? sender->objectName() : QString();
    for (int contour = highest; contour >= 2; --contour) {
        if (name == base + QString::number(contour)) {
            return contour;
        }
    }
    return 1;
}

void Open(dialogs::WorkingCopyDialog* dialog, int contour) {
    if (dialog != nullptr) {
        dialog->EditContour(contour);
    }
}

} // namespace

void TForm_Main::ButtonConf_PumpsClick(QObject* sender) {
    Open(Form_Pumps_Conf, ContourOf(sender, "ButtonConf_Pumps", 4));
}

void TForm_Main::ButtonConf_Tnorm_ScheduleClick(QObject* sender) {
    Open(Form_Schedule_Tnorm, ContourOf(sender, "ButtonConf_Tnorm_Schedule", 2));
}

void TForm_Main::ButtonConf_PumpCalendarClick(QObject* sender) {
    Open(Form_Calendar_Pump, ContourOf(sender, "ButtonConf_PumpCalendar", 2));
}

void TForm_Main::ButtonConf_TlowCalendarClick(QObject* sender) {
    Open(Form_Calendar_Tlow, ContourOf(sender, "ButtonConf_TlowCalendar", 2));
}

} // namespace kt41::app
