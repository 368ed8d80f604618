#pragma once

#include <stdexcept>
#include <string>

namespace kt41::driver {

// Raised when the serial line itself fails: the port cannot be opened (missing,
// busy, no permission) or an I/O error occurs on an open port. A controller that
// does not answer, a bad checksum or an exception reply is not an error of the
// port; those are plain false results of the driver functions.
class SerialPortError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace kt41::driver
