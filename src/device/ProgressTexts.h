#pragma once

#include "ConfigWriteProgress.h"

#include "driver/SerialPortError.h"

#include <cstdint>
#include <string>

namespace kt41::device {

// What the main window does with a progress code: the one table that turns
// codes into status and log texts.
struct ProgressReaction {
    bool SetsStatus = false; // show Text in the activity panel
    bool Logs = false;       // append a log line with Text
    bool WithResult = false; // the log line ends in " Ok." or " Ошибка."
    bool Failed = false;     // the outcome in lParam's low word was nonzero
    std::string Text;

    bool Ignored() const { return !SetsStatus && !Logs; }
};

ProgressReaction DescribeProgress(int code, std::uint32_t lParam);

// " Ok." or " Ошибка." appended to a result text.
std::string ResultText(const std::string& text, bool failed);

// The log line that follows "Запись настройки ... Ошибка." when the write
// stopped after part of the configuration had reached the controller: it names
// the blocks written, as the pages call them, so that the engineer knows the
// controller holds a mixture. Empty when the write was complete or nothing
// reached the controller.
std::string PartialWriteText(const ConfigWriteProgress& progress);

// The log line that tells why the line failed, after the port-busy box the
// window shows for every port error: "Порт /dev/ttyUSB9: нет такого
// устройства." and the like.
std::string PortFaultText(driver::PortFault fault, const std::string& port);

} // namespace kt41::device
