#pragma once

#include <QUrl>

#include <functional>

namespace kt41::gui {

// Hands a file or an address to the desktop, which opens it with the user's
// program for it (the spreadsheet program, the browser, the mail program).
// Everything the program opens on the desktop goes through here, so that
// tests can install an opener of their own and never start a program.
using UrlOpener = std::function<bool(const QUrl&)>;

// True when the desktop took the request.
bool OpenOnDesktop(const QUrl& url);

// Installs opener (an empty one returns to QDesktopServices::openUrl) and
// returns the one installed before.
UrlOpener InstallUrlOpener(UrlOpener opener);

} // namespace kt41::gui
