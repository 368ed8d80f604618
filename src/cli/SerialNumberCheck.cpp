#include "SerialNumberCheck.h"

#include "device/TKT41.h"

#include <cstdio>

namespace kt41::cli {

namespace {

// Serial numbers are shown with five digits, as on the device page.
std::string FiveDigits(unsigned number) {
    char text[16];
    std::snprintf(text, sizeof text, "%05u", number);
    return text;
}

} // namespace

std::string SerialNumberMismatchText(unsigned file, unsigned controller) {
    return "kt41ctl: предупреждение: настройка в файле от контроллера № " + FiveDigits(file) +
           ", а подключён контроллер № " + FiveDigits(controller) + "; настройка записывается";
}

void WarnOnSerialNumberMismatch(device::TKT41& model, std::ostream& err) {
    device::TParamDevice identity;
    if (!model.ReadDeviceIdentity(identity)) {
        err << "kt41ctl: предупреждение: заводской номер контроллера не прочитан; настройка "
               "записывается без проверки\n";
        return;
    }
    if (identity.SerialNumber != model.ParamDevice.SerialNumber) {
        err << SerialNumberMismatchText(model.ParamDevice.SerialNumber, identity.SerialNumber)
            << '\n';
    }
}

} // namespace kt41::cli
