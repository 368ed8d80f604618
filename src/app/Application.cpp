#include "Application.h"

#include "gui/GeneralError.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kt41::app {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("kt41-config");
    setOrganizationName("Velmar");
    // Qt's own texts (file dialogs, context menus) in Russian where installed.
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Russian), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        installTranslator(translator);
    }
}

bool Application::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    gui::RunGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace kt41::app
