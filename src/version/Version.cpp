#include "Version.h"

#include <cstring>

namespace kt41::version {

Numbers Current() {
    return {KT41_VERSION_MAJOR, KT41_VERSION_MINOR, KT41_VERSION_PATCH, KT41_VERSION_TWEAK};
}

std::string Text() {
    const Numbers n = Current();
    return std::to_string(n.Major) + "." + std::to_string(n.Minor) + "." +
           std::to_string(n.Release) + "." + std::to_string(n.Build);
}

std::string VersionLine(const std::string& program) {
    return program + " " + Text() + "\n";
}

bool AskedForVersion(int argc, const char* const* argv) {
    return argc == 2 && std::strcmp(argv[1], "--version") == 0;
}

} // namespace kt41::version
