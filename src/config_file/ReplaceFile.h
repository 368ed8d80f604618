#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kt41::config_file {

// Gives the file at `path` the new `content` so that at every instant the path
// names either the complete previous file (or none, when there was none) or the
// complete new one, also when the program is killed or the machine stops
// half-way:
//  1. the content is written to a new temporary file in the same folder,
//     a hidden name ending in ".tmp" that never replaces an existing file;
//  2. the temporary file is flushed to disk and closed;
//  3. it is renamed over the path, which is atomic within one folder;
//  4. the folder is flushed, so that the rename itself survives a power loss.
// An existing file keeps its permissions (and its owner where the process may
// set it). A path that is a symbolic link keeps the link: the file it points to
// is replaced. A path that names a folder or another kind of non-regular file,
// or an existing file the process may not write, is refused.
//
// Returns true when the path holds the new content. On false nothing at the
// path has changed, no temporary file is left, and `why` (when given) receives
// the reason in the words the program's user reads ("нет места на диске",
// "нет прав на запись", "диск или папка только для чтения", ...; the operating
// system's words for a rare error).
//
// A write past the process's file-size limit fails with EFBIG only
// when SIGXFSZ is ignored (IgnoreFileSizeSignal in ConfigFile.h); otherwise the kernel ends
// the process, and the previous file is still intact.
bool ReplaceFile(const std::filesystem::path& path, std::string_view content, std::string* why);

} // namespace kt41::config_file
