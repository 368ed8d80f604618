#include "DialogTest.h"

#include "config_file/ConfigFile.h"
#include "support/FakeControllerDriver.h"

namespace kt41::testing {

std::unique_ptr<device::TKT41> DialogTest::SavedAndReloaded() {
    const std::string path = (Home() + "/R50_№ 00001.c50").toStdString();
    EXPECT_TRUE(config_file::SaveToFile(Model(), path));
    reloadDrivers_.push_back(std::make_unique<FakeControllerDriver>());
    auto reloaded = std::make_unique<device::TKT41>(*reloadDrivers_.back());
    EXPECT_TRUE(config_file::LoadFromFile(*reloaded, path));
    return reloaded;
}

} // namespace kt41::testing
