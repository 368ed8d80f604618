#include "LineLock.h"

#include "SerialPortError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kt41::driver {

LineLock::LineLock(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        const int error = errno;
        if (error == EBUSY) {
            throw SerialPortError("Port " + path + " is busy: it is held by another program",
                                  PortFault::Busy, path);
        }
        throw SerialPortError("Cannot open port " + path + ": " + std::strerror(error),
                              PortFaultOfOpenError(error), path);
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd_);
        fd_ = -1;
        if (error == EWOULDBLOCK) {
            throw SerialPortError("Port " + path + " is busy: it is held by another program",
                                  PortFault::Busy, path);
        }
        throw SerialPortError("Cannot lock port " + path + ": " + std::strerror(error),
                              PortFault::Other, path);
    }
}

LineLock::~LineLock() {
    if (fd_ >= 0) {
        ::close(fd_); // releases the lock
    }
}

} // namespace kt41::driver
