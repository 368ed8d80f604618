#pragma once

#include <QApplication>

namespace kt41::app {

// The application object. No exception escapes into Qt's event loop: one that
// leaves an event handler is shown by the general error display and the
// program goes on.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace kt41::app
