#include "SerialPortError.h"

#include <cerrno>

namespace kt41::driver {

PortFault PortFaultOfOpenError(int error) {
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
        return PortFault::NoDevice;
    case EACCES:
    case EPERM:
    case EROFS:
        return PortFault::NoPermission;
    case EBUSY:
    case EWOULDBLOCK:
        return PortFault::Busy;
    case ECONNREFUSED:
        return PortFault::Refused;
    case EHOSTUNREACH:
    case ENETUNREACH:
    case EHOSTDOWN:
    case ENETDOWN:
    case ETIMEDOUT:
        return PortFault::Unreachable;
    default:
        return PortFault::Other;
    }
}

PortFault PortFaultOfLineError(int error) {
    const PortFault fault = PortFaultOfOpenError(error);
    return fault == PortFault::Refused || fault == PortFault::Unreachable ? fault : PortFault::Lost;
}

} // namespace kt41::driver
