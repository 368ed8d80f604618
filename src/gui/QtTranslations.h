#pragma once

class QCoreApplication;
class QTranslator;

namespace kt41::gui {

// Qt's own texts (the file and folder dialogs, the context menus of text
// fields) in Russian, whatever the system's locale: the program speaks
// Russian throughout. Returns the installed translator, owned by the
// application, or null when Qt's Russian translation is not installed (the
// qt6-translations-l10n package).
QTranslator* InstallQtRussianTexts(QCoreApplication& application);

} // namespace kt41::gui
