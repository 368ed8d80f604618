#pragma once

#include <QString>

#include <exception>
#include <utility>

class QWidget;

namespace kt41::gui {

// The program's general error display: shows the text of an error that no
// handler dealt with in an error box ("Ошибка"), after which the program goes
// on. The box belongs to the active window.
void ShowUnexpectedError(const QString& text);

// Runs action; an exception leaving it is shown by the general error display
// instead of travelling on. Returns false when that happened.
template <class Action>
bool RunGuarded(Action&& action) {
    try {
        std::forward<Action>(action)();
        return true;
    } catch (const std::exception& error) {
        ShowUnexpectedError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowUnexpectedError("Неизвестная ошибка");
    }
    return false;
}

} // namespace kt41::gui
