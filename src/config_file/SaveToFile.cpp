#include "ConfigFile.h"
#include "ConfigSchema.h"
#include "Utf8Path.h"

#include "device/TKT41.h"

#include <pugixml.hpp>

#include <cctype>
#include <fstream>
#include <sstream>
#include <system_error>

namespace kt41::config_file {

namespace fs = std::filesystem;

namespace {

// Appends every key as an element whose text is the decimal value: signed for
// the int16 fields, unsigned for all others (the field types say which).
class Writer {
public:
    explicit Writer(pugi::xml_node root) : root_(root), node_(root) {}

    template <class Body>
    void Section(const std::string& name, const std::string& /*missingWarning*/, Body body) {
        node_ = root_.append_child(name.c_str());
        body();
        node_ = root_;
    }

    template <class T>
    void Value(const char* key, const T& field, int /*fallback*/) {
        Put(node_, key, field);
    }

    template <class T, std::size_t N>
    void Array(const char* key, const char* itemKey, const std::array<T, N>& points,
               int /*fallback*/) {
        pugi::xml_node array = node_.append_child(key);
        for (std::size_t n = 0; n < N; ++n) {
            Put(array, (itemKey + std::to_string(n + 1)).c_str(), points[n]);
        }
    }

    void Calendar(const char* key, const device::TWeekCalendar& calendar) {
        pugi::xml_node days = node_.append_child(key);
        for (std::size_t d = 0; d < calendar.Day.size(); ++d) {
            pugi::xml_node day = days.append_child(("Day" + std::to_string(d + 1)).c_str());
            for (std::size_t p = 0; p < calendar.Day[d].size(); ++p) {
                Put(day, ("Point" + std::to_string(p + 1)).c_str(), calendar.Day[d][p]);
            }
        }
    }

private:
    template <class T>
    static void Put(pugi::xml_node parent, const char* key, T value) {
        // Unary plus widens uint8 to int, so it is written as a number.
        parent.append_child(key).text().set(std::to_string(+value).c_str());
    }

    pugi::xml_node root_;
    pugi::xml_node node_;
};

std::string BuildDocument(const device::TKT41& model) {
    pugi::xml_document doc;
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = doc.append_child(std::string(schema::kRootName).c_str());
    root.append_attribute("SerialNumber") = unsigned(model.ParamDevice.SerialNumber);
    root.append_attribute("Version") = std::string(schema::kFormatVersion).c_str();
    Writer writer(root);
    schema::VisitConfiguration(model, writer);

    std::ostringstream text;
    doc.save(text, "", pugi::format_raw, pugi::encoding_utf8);
    return text.str();
}

// The target with its extension replaced by ".bak". A target that is itself a
// ".bak" file gets a second ".bak", so that the backup never is the target.
fs::path BackupPathFor(const fs::path& target) {
    fs::path backup = target;
    backup.replace_extension(".bak");
    std::string extension = Utf8FromPath(target.extension());
    for (char& c : extension) {
        c = char(std::tolower(static_cast<unsigned char>(c)));
    }
    if (extension == ".bak") {
        backup = target;
        backup += ".bak";
    }
    return backup;
}

bool WriteWholeFile(const fs::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out.write(content.data(), std::streamsize(content.size()));
    out.flush();
    const bool written = bool(out);
    out.close();
    return written && !out.fail();
}

void ShowError(const device::TKT41& model, const std::string& text) {
    if (model.NotifyWindow != nullptr) {
        model.NotifyWindow->ShowMessage("Ошибка", text, driver::MessageIcon::Error);
    }
}

} // namespace

bool SaveToFile(const device::TKT41& model, const std::string& utf8Path) {
    const fs::path target = PathFromUtf8(utf8Path);
    std::string document;
    try {
        document = BuildDocument(model);
    } catch (const std::bad_alloc&) {
        return false; // nothing has been touched yet
    }

    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    const bool hadPrevious = fs::exists(status);
    if (hadPrevious && !fs::is_regular_file(status)) {
        return false; // never move a folder or a device out of the way
    }
    const fs::path backup = BackupPathFor(target);
    if (hadPrevious) {
        fs::rename(target, backup, ec); // replaces an older backup of that name
        if (ec) {
            return false; // no backup, so the previous file must not be overwritten
        }
    }

    if (WriteWholeFile(target, document)) {
        if (hadPrevious) {
            fs::remove(backup, ec); // a leftover backup is harmless; the save stands
        }
        return true;
    }

    fs::remove(target, ec); // whatever part of the new document was written
    if (hadPrevious) {
        fs::rename(backup, target, ec);
        if (ec) {
            // The backup is now the only copy of the previous content: keep it.
            ShowError(model, "Не удалось восстановить файл \"" + utf8Path +
                                 "\". Прежнее содержимое файла сохранено в \"" +
                                 Utf8FromPath(backup) + "\".");
        }
    }
    return false;
}

} // namespace kt41::config_file
