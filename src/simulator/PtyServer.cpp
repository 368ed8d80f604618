#include "PtyServer.h"

#include "RtuServer.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

namespace kt41::sim {

PtyServer::PtyServer(Controller& controller) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        const int error = errno;
        if (master_ >= 0) {
            ::close(master_);
        }
        throw std::runtime_error(std::string("cannot create a pseudo-terminal: ") +
                                 std::strerror(error));
    }
    char name[128] = {};
    if (::ptsname_r(master_, name, sizeof name) != 0) {
        ::close(master_);
        throw std::runtime_error("ptsname_r failed");
    }
    slavePath_ = name;
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    keepOpen_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (keepOpen_ >= 0) {
        termios tio{};
        ::tcgetattr(keepOpen_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(keepOpen_, TCSANOW, &tio);
    }
    server_ = std::make_unique<RtuServer>(controller, master_);
}

PtyServer::~PtyServer() {
    server_.reset();
    Hold(false);
    if (keepOpen_ >= 0) {
        ::close(keepOpen_);
    }
    ::close(master_);
}

bool PtyServer::Hold(bool held) {
    if (!held) {
        if (holdFd_ >= 0) {
            ::close(holdFd_);
            holdFd_ = -1;
        }
        return true;
    }
    if (holdFd_ >= 0) {
        return true;
    }
    const int fd = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    holdFd_ = fd;
    return true;
}

} // namespace kt41::sim
