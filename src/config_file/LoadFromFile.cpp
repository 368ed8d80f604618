#include "ConfigFile.h"
#include "ConfigSchema.h"
#include "Utf8Path.h"

#include "device/TKT41.h"

#include <pugixml.hpp>

#include <array>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

namespace kt41::config_file {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A decimal integer with an optional sign and blanks around it, within the
// 32-bit range; anything else (an empty text included) is not a value.
std::optional<std::int32_t> ParseInteger(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The text of a value element, which must be one text and nothing else: an
// element, a comment or a processing instruction beside or inside it (as in
// "7<!-- c -->8") makes the value unreadable, which gives the empty text that
// no integer matches. The document is parsed with comments and processing
// instructions kept, so that they are seen here.
std::string_view SingleText(pugi::xml_node element) {
    const pugi::xml_node text = element.first_child();
    const bool single = text && !text.next_sibling() &&
                        (text.type() == pugi::node_pcdata || text.type() == pugi::node_cdata);
    return single ? std::string_view(text.value()) : std::string_view();
}

// Stores a value cut to the field's width: the low 8 bits for byte fields, the
// low 16 bits otherwise, without a range check.
template <class T>
void Store(T& field, std::int32_t value) {
    field = T(std::make_unsigned_t<T>(std::uint32_t(value)));
}

// Reads every key found under the current element; a missing key takes its
// default. The first value that is not an integer ends the reading: every
// later call does nothing.
class Reader {
public:
    Reader(driver::ProgressSink* window, pugi::xml_node root)
        : window_(window), root_(root), node_(root) {}

    bool Failed() const { return failed_; }

    template <class Body>
    void Section(const std::string& name, const std::string& missingWarning, Body body) {
        if (failed_) {
            return;
        }
        const pugi::xml_node element = root_.child(name.c_str());
        if (!element) {
            if (!missingWarning.empty() && window_ != nullptr) {
                window_->ShowMessage("Предупреждение", missingWarning,
                                     driver::MessageIcon::Warning);
            }
            return;
        }
        node_ = element;
        body();
        node_ = root_;
    }

    template <class T>
    void Value(const char* key, T& field, int fallback) {
        Get(node_, key, field, fallback);
    }

    template <class T, std::size_t N>
    void Array(const char* key, const char* itemKey, std::array<T, N>& points, int fallback) {
        const pugi::xml_node array = node_.child(key);
        for (std::size_t n = 0; n < N; ++n) {
            Get(array, (itemKey + std::to_string(n + 1)).c_str(), points[n], fallback);
        }
    }

    void Calendar(const char* key, device::TWeekCalendar& calendar) {
        const pugi::xml_node days = node_.child(key);
        for (std::size_t d = 0; d < calendar.Day.size(); ++d) {
            const pugi::xml_node day = days.child(("Day" + std::to_string(d + 1)).c_str());
            for (std::size_t p = 0; p < calendar.Day[d].size(); ++p) {
                Get(day, ("Point" + std::to_string(p + 1)).c_str(), calendar.Day[d][p],
                    schema::kCalendarPointDefault);
            }
        }
    }

private:
    // parent may be empty (an absent array, calendar or day): then the key is
    // absent as well.
    template <class T>
    void Get(pugi::xml_node parent, const char* key, T& field, int fallback) {
        if (failed_) {
            return;
        }
        const pugi::xml_node element = parent.child(key);
        if (!element) {
            Store(field, fallback);
            return;
        }
        const auto value = ParseInteger(SingleText(element));
        if (!value) {
            failed_ = true;
            return;
        }
        Store(field, *value);
    }

    driver::ProgressSink* window_;
    pugi::xml_node root_;
    pugi::xml_node node_;
    bool failed_ = false;
};

// The configuration part of the model, with the model's member names so that
// the schema walks it alike. The file is read into it first and replaces the
// model's records only when the whole file was read, so that a file refused
// half-way leaves the model, and the pages showing it, as they were.
struct ConfigurationImage {
    device::TParamContur Contour1;
    device::TParamContur Contour2;
    device::TParamConturEx Contour3;
    device::TParamConturEx Contour4;
    std::array<device::TInputTerm, 6> Input_T{};
    std::array<device::TInputAnalog, 4> Input_P{};
    device::TParamDevice ParamDevice;
    device::TCalibrTermDav CalibrTemperatureAndPressure;
};

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return content;
}

} // namespace

bool LoadFromFile(device::TKT41& model, const std::string& utf8Path) {
    const std::filesystem::path path = PathFromUtf8(utf8Path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return false;
    }
    const auto content = ReadWholeFile(path);
    if (!content) {
        return false;
    }
    pugi::xml_document doc;
    constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_pi;
    if (!doc.load_buffer(content->data(), content->size(), kParseOptions)) {
        return false;
    }
    const pugi::xml_node root = doc.document_element();
    if (std::string_view(root.name()) != schema::kRootName) {
        if (model.NotifyWindow != nullptr) {
            model.NotifyWindow->ShowMessage("Ошибка", "Не верный формат файла.",
                                            driver::MessageIcon::Error);
        }
        return false;
    }

    ConfigurationImage image;
    Reader reader(model.NotifyWindow, root);
    schema::VisitConfiguration(image, reader);
    if (reader.Failed()) {
        return false;
    }
    model.Reset(); // the manual state as well
    model.Contour1 = image.Contour1;
    model.Contour2 = image.Contour2;
    model.Contour3 = image.Contour3;
    model.Contour4 = image.Contour4;
    model.Input_T = image.Input_T;
    model.Input_P = image.Input_P;
    model.ParamDevice = image.ParamDevice;
    model.CalibrTemperatureAndPressure = image.CalibrTemperatureAndPressure;
    return true;
}

} // namespace kt41::config_file
