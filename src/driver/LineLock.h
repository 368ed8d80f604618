#pragma once

#include <string>

namespace kt41::driver {

// An exclusive advisory lock (flock) on a serial device, held for as long as
// the object lives. It is taken on a descriptor of its own before the line is
// configured, so a program that finds the line busy never touches its
// settings. Another program using the same kind of lock is refused with
// "busy".
class LineLock {
public:
    // Throws SerialPortError when the device cannot be opened or another
    // program holds its lock.
    explicit LineLock(const std::string& path);
    ~LineLock();
    LineLock(const LineLock&) = delete;
    LineLock& operator=(const LineLock&) = delete;

private:
    int fd_ = -1;
};

} // namespace kt41::driver
