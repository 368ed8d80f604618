#include "DesktopServices.h"

#include <QDesktopServices>

namespace kt41::gui {

namespace {

UrlOpener& Installed() {
    static UrlOpener opener;
    return opener;
}

} // namespace

bool OpenOnDesktop(const QUrl& url) {
    const UrlOpener& opener = Installed();
    return opener ? opener(url) : QDesktopServices::openUrl(url);
}

UrlOpener InstallUrlOpener(UrlOpener opener) {
    return std::exchange(Installed(), std::move(opener));
}

} // namespace kt41::gui
