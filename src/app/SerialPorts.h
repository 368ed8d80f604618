#pragma once

#include <QStringList>

#include <functional>

namespace kt41::app {

// Lists the serial ports present on the machine, by the names the port object
// takes (COM3 on Windows, /dev/ttyUSB0 elsewhere).
using PortLister = std::function<QStringList()>;

QStringList SerialPortNames();

} // namespace kt41::app
