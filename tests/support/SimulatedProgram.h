#pragma once

#include "driver/LineTiming.h"
#include "simulator/Controller.h"

#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace kt41::app {
class ProgramWindows;
class TForm_Main;
} // namespace kt41::app

namespace kt41::dialogs {
class TNew_DeviceForm;
}

namespace kt41::sim {
class PtyServer;
class TcpServer;
} // namespace kt41::sim

namespace kt41::testing {

// The texts of the main window's log lines, each without its time stamp
// ("h:mm:ss.zzz" and two spaces); a line without a valid stamp fails the test.
QStringList LogTexts(app::TForm_Main& main);

// The program's windows, in start-up order, over the real Modbus driver and a
// simulated controller served in-process on a pseudo-terminal (or on TCP
// loopback as a gateway). The settings dialog finds the line as the one port
// of the machine and selects it, as with --demo. The driver waits briefly, so
// that a controller that does not answer costs a fraction of a second.
// Use it inside a GuiTest, which provides the application and clean settings.
class SimulatedProgram {
public:
    enum class Line { Pty, Tcp };
    struct Options {
        sim::ControllerOptions Controller;
        Line Transport = Line::Pty;
        // What the settings dialog finds on the machine; by default the line.
        std::optional<QStringList> Ports;
        QStringList CommandLine;
    };

    static driver::LineTimeouts ShortTimeouts();

    SimulatedProgram() : SimulatedProgram(Options{}) {}
    explicit SimulatedProgram(Options options);
    ~SimulatedProgram();
    SimulatedProgram(const SimulatedProgram&) = delete;
    SimulatedProgram& operator=(const SimulatedProgram&) = delete;

    app::TForm_Main& Main();
    dialogs::TNew_DeviceForm& AddressDialog();
    // The name under which the program reaches the simulated controller.
    QString PortName() const;

    // Answers the next showing of the address dialog as a user would: types
    // `typed` over the selected entry, presses Enter (the focus moves on to
    // "Есть") and Enter again. Without typed, the entry is kept.
    void AnswerAddressDialog(const QString& typed = {});
    // Closes the next address dialog with Esc.
    void CancelAddressDialog();
    // How often the address dialog was shown since the start.
    int AddressDialogShown() const;

    // Unplugs the line: the pseudo-terminal hangs up, the gateway goes away.
    void Unplug();

    sim::Controller Controller;
    std::unique_ptr<sim::PtyServer> Pty;
    std::unique_ptr<sim::TcpServer> Tcp;
    std::unique_ptr<app::ProgramWindows> Windows;

private:
    void WhenAddressDialogShows(std::function<void(dialogs::TNew_DeviceForm&)> answer);
    void AnswerIfShown();

    // Looks for the address dialog while an answer is pending.
    QTimer dialogWatch_;
    std::function<void(dialogs::TNew_DeviceForm&)> pendingAnswer_;
    class ShowCounter;
    std::unique_ptr<ShowCounter> showCounter_;
};

} // namespace kt41::testing
