#pragma once

#include <stdexcept>
#include <string>

namespace kt41::spreadsheet {

// A template that cannot be filled or a workbook that cannot be written. The
// text is the reason in the words the program's user reads (it goes to the log
// and to kt41ctl's error line).
class WorkbookError : public std::runtime_error {
public:
    explicit WorkbookError(const std::string& reason) : std::runtime_error(reason) {}
};

} // namespace kt41::spreadsheet
