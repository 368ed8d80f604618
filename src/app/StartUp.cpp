#include "StartUp.h"

#include "dialogs/TForm_Calendar.h"
#include "dialogs/TForm_Dialog.h"
#include "dialogs/TForm_KodiCalibr.h"
#include "dialogs/TForm_Pumps_Conf.h"
#include "dialogs/TForm_Schedule_Tnorm.h"
#include "dialogs/TForm_Sel.h"
#include "dialogs/TNew_DeviceForm.h"
#include "driver/Kt41Driver.h"
#include "gui/GeneralError.h"

namespace kt41::app {

namespace {

// Creates one window and runs its FormCreate under the general error display.
template <class Window, class... Args>
Window* Create(Args&&... args) {
    auto* window = new Window(std::forward<Args>(args)...);
    gui::RunGuarded([window] { window->FormCreate(); });
    return window;
}

} // namespace

ProgramWindows::ProgramWindows(Options options) {
    // The start-up list. Each window takes its place here, in this order, when
    // it is built; the main window's FormCreate runs before the settings
    // dialog exists, and the settings dialog's FormCreate gives the port its name.
    main_.reset(Create<TForm_Main>(std::move(options.Driver), options.CommandLine));
    TForm_Main& main = *main_;
    // TForm_About           About window
    main.Form_Config =
        Create<TForm_Config>(main.ComPort1, main.Settings, std::move(options.Config), &main);
    main.Form_Pumps_Conf = Create<dialogs::TForm_Pumps_Conf>(main.Model(), &main);
    main.Form_Schedule_Tnorm = Create<dialogs::TForm_Schedule_Tnorm>(main.Model(), &main);
    main.Form_Calendar_Pump = Create<dialogs::TForm_Calendar_Pump>(main.Model(), &main);
    main.Form_Calendar_Tlow = Create<dialogs::TForm_Calendar_Tlow>(main.Model(), &main);
    // TForm_Data_Time       device clock
    main.New_DeviceForm = Create<dialogs::TNew_DeviceForm>(&main);
    // TForm_SelPattern      archive template choice
    main.Form_Sel = Create<dialogs::TForm_Sel>(&main);
    main.Form_Dialog = Create<dialogs::TForm_Dialog>(&main);
    main.Form_KodiCalibr = Create<dialogs::TForm_KodiCalibr>(main.Model(), main.Settings, &main);
}

ProgramWindows::~ProgramWindows() = default;

} // namespace kt41::app
