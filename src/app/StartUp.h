#pragma once

#include "TForm_Config.h"
#include "TForm_Main.h"

#include <QStringList>

#include <memory>

namespace kt41::driver {
class Kt41Driver;
}

namespace kt41::app {

// The windows of the program. Each is created once, in the fixed start-up
// order, and lives until the program ends; the main window comes first and is
// the parent of every dialog, so that dialogs never appear on the task bar and
// are destroyed with it. Dialogs are shown modally and hidden again.
class ProgramWindows {
public:
    struct Options {
        std::unique_ptr<driver::Kt41Driver> Driver;
        QStringList CommandLine;      // the arguments after the program name
        TForm_Config::Options Config; // where the settings dialog lists ports
    };

    // Creates every window in start-up order. An error raised by a window's
    // FormCreate is shown by the general error display and start-up goes on.
    explicit ProgramWindows(Options options);
    ~ProgramWindows();

    TForm_Main& Main() { return *main_; }

private:
    std::unique_ptr<TForm_Main> main_;
};

} // namespace kt41::app
