#pragma once

#include <QStringList>

#include <functional>

namespace kt41::app {

// Lists the serial ports present on the machine, by the names the port object
// takes (COM3 on Windows, /dev/ttyUSB0 elsewhere).
using PortLister = std::function<QStringList()>;

QStringList SerialPortNames();

// A port name "tcp://host:port" stands for a Modbus TCP gateway rather than a
// serial device. The settings dialog keeps such a name in its port list, where
// it counts as a port present.
inline bool IsGatewayPortName(const QString& name) {
    return name.startsWith("tcp://");
}

} // namespace kt41::app
