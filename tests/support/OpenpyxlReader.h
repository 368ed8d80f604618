#pragma once

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace kt41::testing {

// A cell as openpyxl reads it (support/read_workbook.py).
struct ReadCell {
    std::string Type; // "text", "number", "date", "none"
    std::string Value;
    std::string Format;
    std::string LeftBorder; // "thin", "None", ...
    std::string Horizontal; // "center", "None", ...
    bool Wrapped = false;
};

// A workbook as openpyxl sees it: its cells by coordinate ("K2"), whether it
// is a template, and what the reader said (its exit code: 0 read cleanly).
struct ReadWorkbook {
    int ExitCode = -1;
    bool Template = false;
    int Sheets = 0;
    std::map<std::string, ReadCell> Cells;

    // The cell, or an empty one (Type "") when openpyxl has nothing there.
    ReadCell At(const std::string& coordinate) const {
        const auto found = Cells.find(coordinate);
        return found == Cells.end() ? ReadCell{} : found->second;
    }
};

inline std::string Unescaped(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            result += next == 'n' ? '\n' : next == 't' ? '\t' : next;
        } else {
            result += text[i];
        }
    }
    return result;
}

inline ReadWorkbook ReadWithOpenpyxl(const std::filesystem::path& workbook) {
    ReadWorkbook result;
    const std::string command = std::string("/usr/bin/python3 '") + KT41_READ_WORKBOOK_SCRIPT +
                                "' '" + workbook.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    std::string output;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) {
        output.append(buffer, n);
    }
    const int status = pclose(pipe);
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        std::string field;
        while (std::getline(parts, field, '\t')) {
            fields.push_back(field);
        }
        if (fields.size() == 3 && fields[0] == "book") {
            result.Template = fields[1] == "1";
            result.Sheets = std::stoi(fields[2]);
        } else if (fields.size() == 7) {
            result.Cells[fields[0]] = {fields[1], Unescaped(fields[2]), fields[3], fields[4],
                                       fields[5], fields[6] == "1"};
        }
    }
    return result;
}

} // namespace kt41::testing
