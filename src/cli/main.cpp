#include "Kt41Ctl.h"
#include "config_file/ConfigFile.h"
#include "driver/ModbusDriver.h"
#include "version/Version.h"

#include <iostream>

#include <unistd.h>

int main(int argc, char** argv) {
    if (kt41::version::AskedForVersion(argc, argv)) {
        std::cout << kt41::version::VersionLine("kt41ctl");
        return 0;
    }
    kt41::config_file::IgnoreFileSizeSignal(); // a save past `ulimit -f` fails, it does not kill
    kt41::driver::ModbusDriver driver;
    kt41::cli::Kt41Ctl ctl(driver, std::cout, std::cerr);
    ctl.DriverError = [&driver] { return driver.LastError(); };
    ctl.ErrIsTerminal = isatty(STDERR_FILENO) != 0;
    return ctl.Run(std::vector<std::string>(argv + 1, argv + argc));
}
