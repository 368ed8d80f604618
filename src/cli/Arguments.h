#pragma once

#include "device/ArchiveReader.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kt41::cli {

enum class TCommand { Help, Read, Write, Show, Current, Archive };

// One kt41ctl invocation.
struct Arguments {
    TCommand Command = TCommand::Help;
    std::string Port;          // --port: a serial device or tcp://host:port
    int Address = 0;           // --address: the controller's network address
    std::uint32_t Baud = 9600; // --baud
    std::string File;          // read, archive: the -o file; write and show: the file argument
    bool Verbose = false;      // --verbose: the progress log on standard error
    device::ArchiveDate From;  // archive: --from, the first day
    device::ArchiveDate To;    // archive: --to, the last day
};

// Either the arguments or the reason they are not a valid invocation.
struct ParseResult {
    std::optional<Arguments> Parsed;
    std::string Error;
};

// args: the command line without the program name.
ParseResult ParseArguments(const std::vector<std::string>& args);

extern const std::string_view kHelpText;

} // namespace kt41::cli
