#pragma once

#include "gui/RunTimeSettings.h"

#include <QString>

#include <cstdint>

namespace kt41::device {
class TKT41;
}

namespace kt41::driver {
class SerialPortError;
}

namespace kt41::pages {

// The dialogs a contour page opens on its contour's data.
enum class ContourDialog {
    Pumps,         // "Насосная группа"
    TnormSchedule, // "Температурный график" (contours 1 and 2)
    PumpCalendar,  // the pump calendar (contours 1 and 2)
    TlowCalendar,  // the temperature-lowering calendar (contours 1 and 2)
};

// What a page may ask of the window that holds it: the one device model, the
// settings the program runs with, the progress and log of the window, the text
// height the grids size their rows by, and the dialogs of a contour. The main
// window implements it; a page holds nothing else of the window.
class PageHost {
public:
    virtual device::TKT41& Model() = 0;
    virtual const gui::RunTimeSettings& CurrentSettings() const = 0;

    // A progress code handled at once, as the model's notifications are.
    virtual void PostProgress(int code, std::uint32_t lParam) = 0;
    // Appends "h:mm:ss.zzz", two spaces and text to the log.
    virtual void LogMessage(const QString& text) = 0;

    // The text height H the device page measured when it was last shown; 0
    // before it was first shown.
    virtual int MeasuredTextHeight() const = 0;

    // A failure of the line itself, shown as the window's commands show it: the
    // port-busy box, then the log line with its cause.
    virtual void ReportPortError(const driver::SerialPortError& error) = 0;

    // Opens the dialog on a working copy of the contour's data (1-based); the
    // model gets the copy back when the user confirms it.
    virtual void OpenContourDialog(ContourDialog dialog, int contour) = 0;

protected:
    ~PageHost() = default;
};

} // namespace kt41::pages
