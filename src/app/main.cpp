#include "app/Application.h"
#include "app/Program.h"

int main(int argc, char** argv) {
    kt41::app::Application application(argc, argv);
    return kt41::app::RunProgram(application.arguments().mid(1));
}
