#include "Application.h"

#include "gui/GeneralError.h"
#include "gui/QtTranslations.h"

#include <QIcon>

namespace kt41::app {

namespace {

// The program's icon at the sizes drawn for it; windows and the About window
// show it, and the desktop entry names the same picture.
QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QString(":/icons/kt41-config-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("kt41-config");
    setOrganizationName("Velmar");
    // Ties the windows to the installed desktop entry kt41-config.desktop.
    setDesktopFileName("kt41-config");
    setWindowIcon(ProgramIcon());
    gui::InstallQtRussianTexts(*this);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    gui::RunGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace kt41::app
