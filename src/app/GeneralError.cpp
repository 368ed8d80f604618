#include "GeneralError.h"

#include "dialogs/Prompt.h"

#include <QApplication>

namespace kt41::app {

void ShowUnexpectedError(const QString& text) {
    // An error raised while its own box is being shown is not shown again.
    static bool showing = false;
    if (showing) {
        return;
    }
    showing = true;
    try {
        dialogs::ShowErrorBox(QApplication::activeWindow(), text);
    } catch (...) {
    }
    showing = false;
}

} // namespace kt41::app
