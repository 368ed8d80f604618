#pragma once

#include <optional>
#include <vector>

namespace kt41::device {

// The blocks of a configuration write, in the order WriteConfiguration sends
// them.
enum class ConfigBlock {
    Inputs,
    Contour1,
    Contour2,
    Contour3,
    Contour4,
    DeviceParams,
    Calibration
};

inline constexpr int kConfigBlockCount = 7;

// How far the latest WriteConfiguration got, recorded block by block as it
// goes, so that it is known also when a SerialPortError ends the write.
struct ConfigWriteProgress {
    // Blocks whose every driver call succeeded, in write order.
    std::vector<ConfigBlock> Completed;
    // The block the write stopped in, when part of it had already been
    // accepted by the controller (the thermometer inputs but not the 4-20 mA
    // ones, a contour's parameters but not its entry in the contour table).
    std::optional<ConfigBlock> Partial;

    bool Finished() const { return int(Completed.size()) == kConfigBlockCount; }
    // The controller holds part of the new configuration and part of the old.
    bool Mixed() const { return !Finished() && (!Completed.empty() || Partial.has_value()); }
};

} // namespace kt41::device
