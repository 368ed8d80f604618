#pragma once

#include "device/TKT41.h"

#include <ctime>
#include <string>
#include <string_view>

namespace kt41::config_file {

// The folder of the backups, inside the configuration folder.
inline constexpr std::string_view kBackupFolderName = "Резервные копии";

// A copy of a connected controller's configuration, taken before a write
// replaces it. The copy is a model of its own on the connected model's driver,
// port, notification receiver and address; the connected model and the pages
// built from it are not touched.
class TConfigBackup {
public:
    explicit TConfigBackup(const device::TKT41& connected);

    // Reads the controller's whole configuration into the copy (one
    // configuration read, with its progress codes). A SerialPortError reaches
    // the caller.
    bool Read();
    const device::TKT41& Copy() const { return copy_; }

    // Saves the copy with the configuration file writer; the reason in *why on
    // false.
    bool SaveTo(const std::string& utf8Path, std::string* why) const;
    // Saves the copy as FileName(when) in the folder, which is created when
    // missing; *path receives the file's path (also on false).
    bool SaveInFolder(const std::string& utf8Folder, std::time_t when, std::string* path,
                      std::string* why) const;
    // "R50_№ 01234 2026-12-11 16-45-03.c50": the serial number of the copy and
    // the local time.
    std::string FileName(std::time_t when) const;

private:
    device::TKT41 copy_;
};

} // namespace kt41::config_file
