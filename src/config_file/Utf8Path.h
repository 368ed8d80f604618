#pragma once

#include <filesystem>
#include <string>

namespace kt41::config_file {

// File names arrive and leave as UTF-8 (they hold Cyrillic letters and "№"),
// whatever the platform's narrow encoding is.
inline std::filesystem::path PathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace kt41::config_file
