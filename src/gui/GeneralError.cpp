#include "GeneralError.h"

#include "Prompt.h"

#include <QApplication>

namespace kt41::gui {

void ShowUnexpectedError(const QString& text) {
    // An error raised while its own box is being shown is not shown again.
    static bool showing = false;
    if (showing) {
        return;
    }
    showing = true;
    try {
        ShowErrorBox(QApplication::activeWindow(), text);
    } catch (...) {
    }
    showing = false;
}

} // namespace kt41::gui
