#include "Program.h"

#include "SerialPorts.h"
#include "driver/ModbusDriver.h"
#include "gui/GeneralError.h"

#include <QApplication>

namespace kt41::app {

ProgramStart PrepareProgram(QStringList arguments) {
    ProgramStart start;
    const bool demo = arguments.removeAll("--demo") > 0;
    start.Windows.Driver = std::make_unique<driver::ModbusDriver>();
    start.Windows.CommandLine = arguments;
    if (demo) {
        // The simulated line is as fast as the port object's real one would be.
        const unsigned baud = driver::ComPort().BaudRate;
        gui::RunGuarded([&] { start.Demo = std::make_unique<DemoController>(baud); });
    }
    if (start.Demo) {
        const QString demoPort = start.Demo->PortName();
        start.Windows.Config.ListPorts = [demoPort] {
            return QStringList{demoPort} + SerialPortNames();
        };
        start.Windows.Config.PreferredPort = demoPort;
    }
    return start;
}

void PlayDemoReferences(DemoController* demo, TForm_Main& main) {
    if (demo == nullptr) {
        return;
    }
    main.ReferenceConfirmed = [demo](const device::CalibrationReference& reference) {
        demo->PlayReference(reference);
    };
}

int RunProgram(QStringList arguments) {
    ProgramStart start = PrepareProgram(std::move(arguments));
    ProgramWindows windows(std::move(start.Windows));
    PlayDemoReferences(start.Demo.get(), windows.Main());
    windows.Main().show();
    return QApplication::exec();
}

} // namespace kt41::app
