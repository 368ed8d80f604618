// kt41ctl write --backup FILE: the controller's configuration is saved before
// the write replaces it.
#include "Kt41Ctl.h"

#include "config_file/ConfigBackup.h"

namespace kt41::cli {

bool Kt41Ctl::SaveBackup(const device::TKT41& connected, const std::string& path) {
    config_file::TConfigBackup backup(connected);
    if (!backup.Read()) {
        Fail("не удалось прочитать настройку контроллера для резервной копии; запись не выполнена",
             true);
        return false;
    }
    std::string why;
    if (!backup.SaveTo(path, &why)) {
        Fail("резервная копия не сохранена в «" + path + "» (" + why + "); запись не выполнена",
             false);
        return false;
    }
    return true;
}

} // namespace kt41::cli
