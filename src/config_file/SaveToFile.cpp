#include "ConfigFile.h"
#include "ConfigSchema.h"
#include "ReplaceFile.h"
#include "Utf8Path.h"

#include "device/TKT41.h"

#include <pugixml.hpp>

#include <cerrno>
#include <exception>
#include <new>
#include <sstream>
#include <system_error>

namespace kt41::config_file {

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

} // namespace

bool SaveToFile(const device::TKT41& model, const std::string& utf8Path, std::string* why) {
    try {
        return ReplaceFile(PathFromUtf8(utf8Path), BuildDocument(model), why);
    } catch (const std::bad_alloc&) {
        if (why != nullptr) {
            *why = std::generic_category().message(ENOMEM);
        }
        return false; // the file is as it was
    } catch (const std::exception& e) {
        if (why != nullptr) {
            *why = e.what();
        }
        return false;
    }
}

} // namespace kt41::config_file
