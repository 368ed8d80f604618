#pragma once

#include <QString>

#include <cstdint>

namespace kt41::gui {

// The stored settings as the running program uses them. The settings dialog
// fills them when it loads and changes them on OK / Применить; the main window
// owns the one instance and the pages and dialogs read it.
struct RunTimeSettings {
    QString ArchiveFolder;           // exported archive workbooks
    QString ConfigFolder;            // open and save dialogs of configuration files
    bool ReadConfig = false;         // read the configuration right after connecting
    bool ZeroNumID = false;          // connect with address 1, without asking
    std::uint8_t AmountMeasure = 16; // samples per calibration point, 16..100
    bool PortsPresent = false;       // the serial port list was not empty
    // Save the controller's configuration in the backup folder before every
    // configuration write.
    bool BackupBeforeWrite = true;
};

} // namespace kt41::gui
