#include "SerialPorts.h"

#include <QSerialPortInfo>

namespace kt41::app {

QStringList SerialPortNames() {
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
        names << info.portName();
#else
        names << info.systemLocation();
#endif
    }
    names.sort();
    return names;
}

} // namespace kt41::app
