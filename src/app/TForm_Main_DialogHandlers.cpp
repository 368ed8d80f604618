// The handlers that open the pump-group, temperature-schedule and weekly
// calendar dialogs from the contour pages. Each works out the contour from the
// sender's name, opens its dialog on a copy of the contour's data and stores
// the copy back on OK; until the dialogs exist a handler does nothing.
#include "TForm_Main.h"

namespace kt41::app {

void TForm_Main::ButtonConf_PumpsClick(QObject* /*sender*/) {}

void TForm_Main::ButtonConf_Tnorm_ScheduleClick(QObject* /*sender*/) {}

void TForm_Main::ButtonConf_PumpCalendarClick(QObject* /*sender*/) {}

void TForm_Main::ButtonConf_TlowCalendarClick(QObject* /*sender*/) {}

} // namespace kt41::app
