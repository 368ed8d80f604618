#pragma once

#include "Fault.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kt41::sim {

// The options of the kt41-sim program.
struct SimCommandLine {
    enum class Transport { None, Pty, Tcp, Device };
    Transport Mode = Transport::None;
    std::uint16_t TcpPort = 0;
    std::string DevicePath;
    std::uint32_t Baud = 0; // 0: not given
    std::uint8_t Address = 1;
    bool AnyAddress = false;
    std::uint16_t SerialNumber = 12345;
    int ArchiveDays = 40;
    bool Hold = false;
    // Reference sources on the converters: ohms on the thermometer inputs,
    // milliamperes on the 4-20 mA inputs.
    std::optional<double> Resistance;
    std::optional<double> Current;
    bool Verbose = false;
    bool Help = false;
    std::vector<Fault> Faults;
};

// Parses the arguments (without the program name); nullopt with the reason in
// *error when they are not valid.
std::optional<SimCommandLine> ParseSimCommandLine(const std::vector<std::string>& args,
                                                  std::string* error);

// The text of kt41-sim --help.
std::string SimHelpText();

} // namespace kt41::sim
