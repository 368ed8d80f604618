#pragma once

#include "DemoController.h"
#include "StartUp.h"

#include <QStringList>

#include <memory>

namespace kt41::app {

// What the command line asks for. "--demo" starts a simulated controller whose
// port the settings dialog lists first and selects; the other arguments are
// the main window's command line (-C shows the calibration menu).
struct ProgramStart {
    std::unique_ptr<DemoController> Demo; // must outlive the windows
    ProgramWindows::Options Windows;
};

// Reads the arguments after the program's name and prepares the start: the
// Modbus driver, the port list and, for --demo, the simulated controller (a
// failure to start it is shown and the program starts without it).
ProgramStart PrepareProgram(QStringList arguments);

// With --demo, a confirmed calibration prompt connects its reference source
// to the simulated controller; nothing without it.
void PlayDemoReferences(DemoController* demo, TForm_Main& main);

// The whole program: PrepareProgram, the windows in start-up order, the main
// window shown, the message loop.
int RunProgram(QStringList arguments);

} // namespace kt41::app
