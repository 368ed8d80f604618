#include "ConfigBackup.h"

#include "ConfigFile.h"
#include "Utf8Path.h"

#include "catalogue/ModelTexts.h"

#include <filesystem>
#include <system_error>

namespace kt41::config_file {

TConfigBackup::TConfigBackup(const device::TKT41& connected) : copy_(connected.Driver()) {
    copy_.AttachPort(connected.PortRef, connected.NotifyWindow);
    copy_.Address = connected.Address;
}

bool TConfigBackup::Read() {
    return copy_.ReadConfiguration();
}

bool TConfigBackup::SaveTo(const std::string& utf8Path, std::string* why) const {
    return SaveToFile(copy_, utf8Path, why);
}

std::string TConfigBackup::FileName(std::time_t when) const {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H-%M-%S", &local);
    return "R50_№ " + catalogue::GetSerialNumberText(copy_) + " " + stamp + ".c50";
}

bool TConfigBackup::SaveInFolder(const std::string& utf8Folder, std::time_t when, std::string* path,
                                 std::string* why) const {
    const std::filesystem::path folder = PathFromUtf8(utf8Folder);
    const std::string file = Utf8FromPath(folder / PathFromUtf8(FileName(when)));
    if (path != nullptr) {
        *path = file;
    }
    // A folder that cannot be made lets the save fail with its reason in the
    // user's words ("нет прав на запись", "нет такой папки").
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return SaveTo(file, why);
}

} // namespace kt41::config_file
