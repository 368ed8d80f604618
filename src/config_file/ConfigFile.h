#pragma once

#include <string>

namespace kt41::device {
class TKT41;
}

namespace kt41::config_file {

// The configuration file: one controller's configuration as an XML document
// with the root Config_KT-41 (extension ".c50"). Paths are UTF-8.

// Writes the whole model (not the manual state) so that the file at the path
// is at every instant either the complete previous file or the complete new
// one, even when the program is killed or the disk fills up half-way: the
// document goes to a temporary file in the same folder, is flushed to disk and
// then renamed over the path (see ReplaceFile.h). No backup file is made or
// touched. A path that is a folder, or an existing file that may not be
// written, is refused; a symbolic link keeps pointing to the saved file; an
// existing file keeps its permissions.
// On false the previous file is in place, unchanged, and `why` (when given)
// receives the reason as the user reads it ("нет места на диске", "нет прав
// на запись", ...). Shows no message.
bool SaveToFile(const device::TKT41& model, const std::string& utf8Path,
                std::string* why = nullptr);

// Makes a write past the file-size limit (RLIMIT_FSIZE, `ulimit -f`) fail with
// EFBIG, so that SaveToFile returns false with its reason, instead of the
// kernel killing the process with SIGXFSZ. Programs that save configuration
// files call it once at start; it changes the disposition for the whole process.
void IgnoreFileSizeSignal();

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
