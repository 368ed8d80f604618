#pragma once

#include <ostream>
#include <string>

namespace kt41::device {
class TKT41;
}

namespace kt41::cli {

// Before a configuration from a file is written: reads the connected
// controller's identity and, when its serial number is not the one in the
// model (the file's), writes a warning line on `err`. The write goes ahead
// either way, since a rescue configuration is written to any controller; an
// identity that cannot be read gets a warning of its own. One driver call.
void WarnOnSerialNumberMismatch(device::TKT41& model, std::ostream& err);

// The warning line for a file of serial number `file` written to controller
// `controller`, without the newline.
std::string SerialNumberMismatchText(unsigned file, unsigned controller);

} // namespace kt41::cli
