#pragma once

#include <string>

namespace kt41::device {
class TKT41;
}

namespace kt41::config_file {

// The configuration file: one controller's configuration as an XML document
// with the root Config_KT-41 (extension ".c50"). Paths are UTF-8.

// Writes the whole model (not the manual state). An existing file is first
// moved to the backup path (the extension replaced by ".bak"); when the new
// document cannot be written, the previous file is moved back and the result is
// false. The backup is removed once the target holds either document again; if
// the previous file cannot be put back, the backup is kept and named in an
// error message, so the previous content is never lost. A target that exists
// but is not a regular file, or that cannot be backed up, is left untouched
// and the result is false.
bool SaveToFile(const device::TKT41& model, const std::string& utf8Path);

// Replaces the model's configuration with the file's content.
//  - false, no message: no such file, or not XML;
//  - false after the error message "Не верный формат файла.": a root element
//    other than Config_KT-41;
//  - otherwise the elements are read: a missing contour, ParamDevice or
//    CalibrTemperatureAndPressure element shows its warning and stays zero, a
//    missing input element stays zero silently, and a missing key inside a
//    present element takes its default;
//  - a value that is not a decimal integer (an empty element included) ends the
//    reading with false.
// On true the model is Reset and holds the file's configuration; on false it
// is left exactly as it was (a file refused half-way never leaves a mixture).
// Messages go to the model's NotifyWindow; without one they are dropped.
bool LoadFromFile(device::TKT41& model, const std::string& utf8Path);

} // namespace kt41::config_file
