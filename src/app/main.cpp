#include "app/Application.h"
#include "app/Program.h"
#include "config_file/ConfigFile.h"

int main(int argc, char** argv) {
    kt41::config_file::IgnoreFileSizeSignal(); // a save past `ulimit -f` fails, it does not kill
    kt41::app::Application application(argc, argv);
    return kt41::app::RunProgram(application.arguments().mid(1));
}
