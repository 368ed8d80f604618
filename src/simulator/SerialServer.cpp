#include "SerialServer.h"

#include "RtuServer.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

namespace kt41::sim {

namespace {

speed_t SpeedOf(std::uint32_t baud) {
    switch (baud) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        throw std::runtime_error("unsupported baud rate " + std::to_string(baud));
    }
}

} // namespace

SerialServer::SerialServer(Controller& controller, const std::string& path, std::uint32_t baud)
    : path_(path) {
    const speed_t speed = SpeedOf(baud);
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        throw std::runtime_error(path + " is held by another program");
    }
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) {
        const int error = errno;
        ::close(fd_);
        throw std::runtime_error(path + " is not a serial device: " + std::strerror(error));
    }
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(PARENB | CSTOPB | CRTSCTS);
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    ::tcsetattr(fd_, TCSANOW, &tio);
    ::tcflush(fd_, TCIOFLUSH);
    server_ = std::make_unique<RtuServer>(controller, fd_);
}

SerialServer::~SerialServer() {
    server_.reset();
    ::close(fd_);
}

} // namespace kt41::sim
