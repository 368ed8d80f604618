#include "Arguments.h"

#include "catalogue/Catalogue.h"

#include <charconv>
#include <chrono>

namespace kt41::cli {

const std::string_view kHelpText =
    R"(kt41ctl - конфигурация контроллера KT-41 из командной строки

Использование:
  kt41ctl read    --port ПОРТ --address АДРЕС -o ФАЙЛ  [--baud СКОРОСТЬ] [--verbose]
  kt41ctl write   --port ПОРТ --address АДРЕС ФАЙЛ     [--baud СКОРОСТЬ] [--verbose]
  kt41ctl show    ФАЙЛ
  kt41ctl current --port ПОРТ --address АДРЕС          [--baud СКОРОСТЬ] [--verbose]
  kt41ctl archive --port ПОРТ --address АДРЕС --from ДАТА --to ДАТА [-o ФАЙЛ.csv]
                                                       [--baud СКОРОСТЬ] [--verbose]
  kt41ctl --help
  kt41ctl --version

Команды:
  read     связаться с контроллером (две попытки), прочитать всю настройку
           и сохранить её в файл конфигурации (*.c50)
  write    прочитать файл конфигурации и записать всю настройку в контроллер
  show     показать параметры файла так, как их показывают страницы
           программы: по строке на параметр, "страница<TAB>параметр<TAB>значение"
  current  один опрос текущих показаний: показания и активные события
  archive  прочитать часовой архив за период до восьми календарных дней,
           от нового часа к старому: по строке на запись, поля через TAB;
           с -o - файл CSV со строкой заголовка; Ctrl+C прерывает чтение,
           прочитанные записи остаются

Параметры:
  --port ПОРТ       последовательный порт (/dev/ttyUSB0, COM3)
                    или шлюз Modbus TCP: tcp://узел:порт
  --address АДРЕС   сетевой адрес контроллера, 1..239
  -o, --output ФАЙЛ файл, в который read сохраняет настройку (archive - таблицу CSV)
  --from ДАТА       archive: первый день, ГГГГ-ММ-ДД
  --to ДАТА         archive: последний день, ГГГГ-ММ-ДД, не позже чем через 7 дней
                    после первого
  --baud СКОРОСТЬ   скорость последовательного порта, бит/с (по умолчанию 9600)
  --verbose         журнал обмена в стандартный поток ошибок
  -h, --help        эта справка
  --version         номер версии программы

Предупреждения и ошибки выводятся в стандартный поток ошибок.
Код завершения: 0 - успех, 1 - ошибка связи или файла, 2 - ошибка в командной строке,
130 - чтение архива прервано (Ctrl+C).
)";

namespace {

// A whole decimal number and nothing else.
bool ParseNumber(const std::optional<std::string>& text, long long& value) {
    if (!text || text->empty()) {
        return false;
    }
    const char* first = text->data();
    const char* last = first + text->size();
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last;
}

// A date "YYYY-MM-DD" that exists in the calendar.
bool ParseDate(const std::optional<std::string>& text, device::ArchiveDate& date) {
    if (!text || text->size() != 10 || (*text)[4] != '-' || (*text)[7] != '-') {
        return false;
    }
    long long year = 0, month = 0, day = 0;
    if (!ParseNumber(text->substr(0, 4), year) || !ParseNumber(text->substr(5, 2), month) ||
        !ParseNumber(text->substr(8, 2), day)) {
        return false;
    }
    using namespace std::chrono;
    const year_month_day ymd{std::chrono::year(int(year)), std::chrono::month(unsigned(month)),
                             std::chrono::day(unsigned(day))};
    if (year < 1900 || !ymd.ok()) {
        return false;
    }
    date = {int(year), int(month), int(day)};
    return true;
}

struct CommandRule {
    std::string_view Name;
    TCommand Command;
    bool UsesLine;    // --port, --address, --baud, --verbose
    bool TakesOutput; // -o FILE
    bool TakesFile;   // one file argument
    bool NeedsOutput; // -o is required
    bool TakesRange;  // --from DATE --to DATE, both required
};

constexpr CommandRule kRules[] = {
    {"read", TCommand::Read, true, true, false, true, false},
    {"write", TCommand::Write, true, false, true, false, false},
    {"show", TCommand::Show, false, false, true, false, false},
    {"current", TCommand::Current, true, false, false, false, false},
    {"archive", TCommand::Archive, true, true, false, false, true},
};

} // namespace

ParseResult ParseArguments(const std::vector<std::string>& args) {
    const auto fail = [](std::string reason) {
        return ParseResult{std::nullopt, std::move(reason)};
    };
    if (args.empty()) {
        return fail("не задана команда");
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        if (args.size() > 1) {
            return fail("лишний аргумент «" + args[1] + "»");
        }
        return {Arguments{}, {}};
    }
    const CommandRule* rule = nullptr;
    for (const CommandRule& r : kRules) {
        if (args[0] == r.Name) {
            rule = &r;
        }
    }
    if (rule == nullptr) {
        return fail("неизвестная команда «" + args[0] + "»");
    }

    Arguments a;
    a.Command = rule->Command;
    bool havePort = false, haveAddress = false, haveOutput = false, haveFile = false;
    bool haveFrom = false, haveTo = false;
    for (std::size_t n = 1; n < args.size(); ++n) {
        std::string option = args[n];
        std::optional<std::string> value;
        if (option.rfind("--", 0) == 0 && option.find('=') != std::string::npos) {
            value = option.substr(option.find('=') + 1);
            option.resize(option.find('='));
        }
        const auto takeValue = [&]() -> std::optional<std::string> {
            if (value) {
                return value;
            }
            if (n + 1 < args.size()) {
                return args[++n];
            }
            return std::nullopt;
        };
        if (option == "--help" || option == "-h") {
            return {Arguments{}, {}};
        }
        if (rule->UsesLine && option == "--port") {
            const auto port = takeValue();
            if (!port || port->empty()) {
                return fail("после --port нужно имя порта");
            }
            a.Port = *port;
            havePort = true;
        } else if (rule->UsesLine && option == "--address") {
            long long number = 0;
            const auto& range = catalogue::DeviceEntry(device::doID_Device);
            if (!ParseNumber(takeValue(), number) || number < range.RawMin ||
                number > range.RawMax) {
                return fail("сетевой адрес должен быть числом от " + std::to_string(range.RawMin) +
                            " до " + std::to_string(range.RawMax));
            }
            a.Address = int(number);
            haveAddress = true;
        } else if (rule->UsesLine && option == "--baud") {
            long long number = 0;
            if (!ParseNumber(takeValue(), number) || number < 300 || number > 921600) {
                return fail("скорость порта должна быть числом от 300 до 921600");
            }
            a.Baud = std::uint32_t(number);
        } else if (rule->UsesLine && option == "--verbose" && !value) {
            a.Verbose = true;
        } else if (rule->TakesOutput && (option == "-o" || option == "--output")) {
            const auto file = takeValue();
            if (!file || file->empty()) {
                return fail("после " + option + " нужно имя файла");
            }
            a.File = *file;
            haveOutput = true;
        } else if (rule->TakesRange && (option == "--from" || option == "--to")) {
            const bool from = option == "--from";
            if (!ParseDate(takeValue(), from ? a.From : a.To)) {
                return fail("после " + option + " нужна дата в виде ГГГГ-ММ-ДД");
            }
            (from ? haveFrom : haveTo) = true;
        } else if (rule->TakesFile && !haveFile && (option.empty() || option[0] != '-')) {
            a.File = args[n];
            haveFile = true;
        } else if (option.size() > 1 && option[0] == '-') {
            return fail("неизвестный параметр «" + args[n] + "» команды " +
                        std::string(rule->Name));
        } else {
            return fail("лишний аргумент «" + args[n] + "»");
        }
    }
    if (rule->UsesLine && !havePort) {
        return fail("не задан порт (--port)");
    }
    if (rule->UsesLine && !haveAddress) {
        return fail("не задан сетевой адрес (--address)");
    }
    if (rule->NeedsOutput && !haveOutput) {
        return fail("не задан файл для сохранения (-o)");
    }
    if (rule->TakesFile && !haveFile) {
        return fail("не задан файл конфигурации");
    }
    if (rule->TakesRange) {
        if (!haveFrom || !haveTo) {
            return fail(haveFrom ? "не задан последний день (--to)"
                                 : "не задан первый день (--from)");
        }
        switch (device::CheckArchiveRange(a.From, a.To)) {
        case device::ArchiveRangeError::EndBeforeStart:
            return fail("последний день (--to) раньше первого (--from)");
        case device::ArchiveRangeError::MoreThanEightDays:
            return fail("период длиннее восьми календарных дней: --to может быть не позже "
                        "чем через 7 дней после --from");
        case device::ArchiveRangeError::None:
            break;
        }
    }
    return {a, {}};
}

} // namespace kt41::cli
