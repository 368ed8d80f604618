#pragma once

#include <string>

namespace kt41::version {

// The four numbers of the program's version: major.minor.release.build. The
// main window's caption shows major.minor, the About window all four.
struct Numbers {
    int Major;
    int Minor;
    int Release;
    int Build;
};

Numbers Current();

// "1.0.0.7": what every program prints for --version.
std::string Text();

// "<program> <Text()>\n", the whole --version output of a program.
std::string VersionLine(const std::string& program);

// True when the arguments (without the program name) are exactly "--version".
bool AskedForVersion(int argc, const char* const* argv);

} // namespace kt41::version
