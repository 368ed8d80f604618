#include "Application.h"

#include "gui/GeneralError.h"
#include "gui/ProgramIcon.h"
#include "gui/QtTranslations.h"

namespace kt41::app {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("kt41-config");
    setOrganizationName("Velmar");
    gui::InstallQtRussianTexts(*this);
    setWindowIcon(gui::ProgramIcon());
}

bool Application::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    gui::RunGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace kt41::app
