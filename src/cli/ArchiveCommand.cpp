#include "ArchiveCommand.h"

#include "Kt41Ctl.h"
#include "catalogue/ArchiveTexts.h"
#include "device/ArchiveReader.h"
#include "device/TKT41.h"
#include "driver/SerialPortError.h"

#include <exception>
#include <fstream>
#include <string>
#include <vector>

namespace kt41::cli {

namespace {

using Row = std::array<std::string, catalogue::kArchiveColumnCount - 1>;

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + "\"";
}

std::string Joined(const Row& fields, char separator, bool csv) {
    std::string line;
    for (std::size_t k = 0; k < fields.size(); ++k) {
        if (k > 0) {
            line += separator;
        }
        line += csv ? CsvField(fields[k]) : fields[k];
    }
    return line;
}

std::string CsvLine(const Row& fields) {
    return Joined(fields, ',', true) + "\r\n";
}

// The headings of columns 1..15 on one line each.
Row CsvHeadings(const catalogue::AnalogTypes& types) {
    Row headings;
    for (std::size_t k = 0; k < headings.size(); ++k) {
        std::string text = catalogue::ArchiveHeading(int(k) + 1, types);
        std::erase(text, '\n');
        headings[k] = text;
    }
    return headings;
}

bool WriteCsv(const std::string& path, const catalogue::AnalogTypes& types,
              const std::vector<Row>& rows, std::string& why) {
    std::string text = CsvLine(CsvHeadings(types));
    for (const Row& row : rows) {
        text += CsvLine(row);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.flush();
    if (!file) {
        why = "запись не удалась";
        return false;
    }
    return true;
}

} // namespace

int RunArchiveCommand(device::TKT41& model, const Arguments& a, const ArchiveOutput& io) {
    catalogue::AnalogTypes types{};
    for (int n = 1; n <= 4; ++n) {
        types[std::size_t(n - 1)] = model.GetAnalogInputType(n);
    }
    const bool toFile = !a.File.empty();
    // Tab-separated lines keep a record on one line; the CSV keeps the breaks.
    const std::string lineBreak = toFile ? "\r\n" : " ";

    device::ArchiveReader reader(model, a.From, a.To, io.Now);
    std::vector<Row> rows;
    std::exception_ptr portError;
    bool interrupted = false;
    while (reader.HasNext()) {
        if (io.Interrupt && io.Interrupt()) {
            interrupted = true;
            reader.Cancel();
            break;
        }
        device::ArchiveStep step;
        try {
            step = reader.ReadNext();
        } catch (const driver::SerialPortError&) {
            portError = std::current_exception();
            break;
        }
        if (!step.Ok) {
            break;
        }
        if (step.Found) {
            rows.push_back(catalogue::ArchiveRecordTexts(step.Record, types, ".", lineBreak));
            if (!toFile) {
                io.Out << Joined(rows.back(), '\t', false) << '\n' << std::flush;
            }
        }
        if (io.ProgressLine) {
            io.Err << "\rЧтение архива: " << step.Index + 1 << " из " << reader.HourCount() + 1
                   << ", записей: " << rows.size() << std::flush;
        }
    }
    if (io.ProgressLine) {
        io.Err << '\n';
    }

    int status = kExitOk;
    if (toFile) {
        std::string why;
        if (!WriteCsv(a.File, types, rows, why)) {
            io.Err << "kt41ctl: не удалось сохранить файл «" << a.File << "» (" << why << ")\n";
            status = kExitFailure;
        }
    }
    if (portError) {
        std::rethrow_exception(portError);
    }
    if (interrupted) {
        io.Err << "Чтение архива прервано, прочитано записей: " << rows.size() << '\n';
        return kExitInterrupted;
    }
    if (reader.Failed()) {
        io.Err << "kt41ctl: чтение архива прервано: контроллер не ответил (прочитано записей: "
               << rows.size() << ")\n";
        return kExitFailure;
    }
    if (rows.empty()) {
        io.Err << "Нет ни одной записи !!!\n";
    }
    return status;
}

} // namespace kt41::cli
