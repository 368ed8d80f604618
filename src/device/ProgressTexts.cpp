#include "ProgressTexts.h"

#include "ProgressCodes.h"

namespace kt41::device {

namespace {

enum class Kind { Status, Log, LogResult, LogAndStatus };

ProgressReaction Make(Kind kind, std::string text) {
    ProgressReaction r;
    r.SetsStatus = kind == Kind::Status || kind == Kind::LogAndStatus;
    r.Logs = kind != Kind::Status;
    r.WithResult = kind == Kind::LogResult;
    r.Text = std::move(text);
    return r;
}

const char* BlockName(ConfigBlock block) {
    switch (block) {
    case ConfigBlock::Inputs:
        return "входы";
    case ConfigBlock::Contour1:
        return "контур 1";
    case ConfigBlock::Contour2:
        return "контур 2";
    case ConfigBlock::Contour3:
        return "контур 3";
    case ConfigBlock::Contour4:
        return "контур 4";
    case ConfigBlock::DeviceParams:
        return "параметры прибора";
    case ConfigBlock::Calibration:
        return "калибровка";
    }
    return "";
}

std::string ContourText(std::uint32_t lParam) {
    return "Запись Управления контуром " + std::to_string(lParam >> 16) + " ...";
}

} // namespace

ProgressReaction DescribeProgress(int code, std::uint32_t lParam) {
    ProgressReaction r;
    switch (code) {
    case 1:
        r = Make(Kind::Status, "Простой ...");
        break;
    case 2:
        r = Make(Kind::Status, "Идет калибровка ...");
        break;
    case 3:
        r = Make(Kind::Status, "Проверка соединения ...");
        break;
    case 4:
        r = Make(Kind::LogResult, "Чтение настройки ...");
        break;
    case 5:
        r = Make(Kind::LogResult, "Запись настройки ...");
        break;
    case 6:
        r = Make(Kind::Status, "Сохранение настроек ...");
        break;
    case 9:
        r = Make(Kind::LogResult, "Запись даты и времени ...");
        break;
    case 10:
        r = Make(Kind::LogResult, "Чтение текущих показаний ...");
        break;
    case 11:
        r = Make(Kind::LogResult, "Чтение архива ...");
        break;
    case 12:
        r = Make(Kind::LogResult, "Чтение ручных настроек ...");
        break;
    case 13:
        r = Make(Kind::LogResult, "Запись режима работы контуров ...");
        break;
    case 14:
        r = Make(Kind::LogResult, ContourText(lParam));
        break;
    case 15:
        r = Make(Kind::LogResult, "Запись значений тока на аналоговых выходах 1 и 2 ...");
        break;
    case 16:
        r = Make(Kind::LogResult, "Запись ручного режима насосов ...");
        break;
    case 17:
        r = Make(Kind::Log, lParam == 0 ? "Архивные данных успешно переданы в MS Excel ..."
                                        : "Ошибка передачи Архивные данных в MS Excel ...");
        break;
    case 18:
        r = Make(Kind::LogResult, "Чтение кодов АЦП ...");
        break;
    case 19:
        r = Make(Kind::LogResult, "Запись калибровки ...");
        break;
    case 31:
        r = Make(Kind::Status, "Простой ...");
        break;
    case 34:
        r = Make(Kind::Status, "Чтение настройки ...");
        break;
    case 35:
        r = Make(Kind::Status, "Запись настройки ...");
        break;
    case 39:
        r = Make(Kind::Status, "Запись даты и времени ...");
        break;
    case 40:
        r = Make(Kind::Status, "Чтение текущих показаний ...");
        break;
    case 41:
        r = Make(Kind::Status, "Чтение архива ...");
        break;
    case 42:
        r = Make(Kind::Status, "Чтение ручных настроек ...");
        break;
    case 43:
        r = Make(Kind::Status, "Запись режима работы контуров ...");
        break;
    case 44:
        r = Make(Kind::Status, ContourText(lParam));
        break;
    case 45:
        r = Make(Kind::Status, "Запись тока на аналоговых выходах ...");
        break;
    case 46:
        r = Make(Kind::Status, "Запись ручного режима насосов ...");
        break;
    case 47:
        r = Make(Kind::LogAndStatus, "Калибровка температуры ...");
        break;
    case 48:
        r = Make(Kind::LogAndStatus, "Калибровка давления ...");
        break;
    case 49:
        r = Make(Kind::Status, "Запись калибровки ...");
        break;
    default:
        return r; // every other code is ignored
    }
    r.Failed = (lParam & 0xFFFF) != 0;
    return r;
}

std::string ResultText(const std::string& text, bool failed) {
    return text + (failed ? " Ошибка." : " Ok.");
}

std::string PartialWriteText(const ConfigWriteProgress& progress) {
    if (!progress.Mixed()) {
        return {};
    }
    std::string names;
    const auto add = [&names](const std::string& name) {
        names += (names.empty() ? "" : ", ") + name;
    };
    for (const ConfigBlock block : progress.Completed) {
        add(BlockName(block));
    }
    if (progress.Partial) {
        add(std::string(BlockName(*progress.Partial)) + " (частично)");
    }
    return "Записаны только: " + names + ". Прибор содержит смесь прежней и новой настройки.";
}

std::string PortFaultText(driver::PortFault fault, const std::string& port) {
    using driver::PortFault;
    switch (fault) {
    case PortFault::NoDevice:
        return "Порт " + port + ": нет такого устройства (адаптер не подключён?).";
    case PortFault::NoPermission:
        return "Порт " + port +
               ": нет прав доступа (пользователь должен входить в группу dialout).";
    case PortFault::Busy:
        return "Порт " + port + ": занят другой программой.";
    case PortFault::Refused:
        return "Шлюз " + port + ": соединение отклонено.";
    case PortFault::Unreachable:
        return "Шлюз " + port + ": узел недоступен.";
    case PortFault::Lost:
        return "Порт " + port + ": связь с линией потеряна.";
    case PortFault::BadName:
        return "Неверное имя порта " + port + " (шлюз задаётся как tcp://узел:порт).";
    case PortFault::Other:
        break;
    }
    return "Порт " + port + ": ошибка порта.";
}

} // namespace kt41::device
