#include "app/Application.h"
#include "app/Program.h"
#include "config_file/ConfigFile.h"
#include "version/Version.h"

#include <iostream>

int main(int argc, char** argv) {
    // Answered before Qt starts, so it works without a display.
    if (kt41::version::AskedForVersion(argc, argv)) {
        std::cout << kt41::version::VersionLine("kt41-config");
        return 0;
    }
    kt41::config_file::IgnoreFileSizeSignal(); // a save past `ulimit -f` fails, it does not kill
    kt41::app::Application application(argc, argv);
    return kt41::app::RunProgram(application.arguments().mid(1));
}
