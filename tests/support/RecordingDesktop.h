#pragma once

#include "gui/DesktopServices.h"

#include <QList>
#include <QUrl>

namespace kt41::testing {

// Installed while it lives: records what the program asks the desktop to open
// instead of starting a program, and answers with Accepts.
class RecordingDesktop {
public:
    RecordingDesktop()
        : previous_(gui::InstallUrlOpener([this](const QUrl& url) {
              Opened.append(url);
              return Accepts;
          })) {}
    ~RecordingDesktop() { gui::InstallUrlOpener(std::move(previous_)); }
    RecordingDesktop(const RecordingDesktop&) = delete;
    RecordingDesktop& operator=(const RecordingDesktop&) = delete;

    QList<QUrl> Opened;
    bool Accepts = true;

private:
    gui::UrlOpener previous_;
};

} // namespace kt41::testing
