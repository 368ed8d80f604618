#include "ConfigComparison.h"

#include "ConfigSchema.h"

#include "catalogue/Catalogue.h"
#include "catalogue/ModelTexts.h"
#include "catalogue/TextRules.h"
#include "device/TKT41.h"

#include <array>
#include <optional>

namespace kt41::config_file {

namespace {

using catalogue::TCatalogueEntry;

// One key of the configuration file with its raw value.
struct FlatField {
    std::string Section; // "Contour1", "Input_T3", "ParamDevice", ...
    std::string Key;     // "Tnorm", "Array_Tout/Tout3", "Calendar_Pump/Day1/Point2"
    std::int32_t Raw = 0;
};

// Walks the file's element tree and lists every key in the writer's order,
// so that both models give the same list and the lists can be zipped.
class Flattener {
public:
    explicit Flattener(std::vector<FlatField>& out) : out_(out) {}

    template <class Body>
    void Section(const std::string& name, const std::string& /*missingWarning*/, Body body) {
        section_ = name;
        body();
    }

    template <class T>
    void Value(const char* key, const T& field, int /*fallback*/) {
        Add(key, field);
    }

    template <class T, std::size_t N>
    void Array(const char* key, const char* itemKey, const std::array<T, N>& points,
               int /*fallback*/) {
        for (std::size_t n = 0; n < N; ++n) {
            Add(std::string(key) + "/" + itemKey + std::to_string(n + 1), points[n]);
        }
    }

    void Calendar(const char* key, const device::TWeekCalendar& calendar) {
        for (std::size_t d = 0; d < calendar.Day.size(); ++d) {
            for (std::size_t p = 0; p < calendar.Day[d].size(); ++p) {
                Add(std::string(key) + "/Day" + std::to_string(d + 1) + "/Point" +
                        std::to_string(p + 1),
                    calendar.Day[d][p]);
            }
        }
    }

private:
    template <class T>
    void Add(std::string key, T value) {
        out_.push_back({section_, std::move(key), std::int32_t(value)});
    }

    std::vector<FlatField>& out_;
    std::string section_;
};

std::vector<FlatField> Flatten(const device::TKT41& model) {
    std::vector<FlatField> fields;
    Flattener flattener(fields);
    schema::VisitConfiguration(model, flattener);
    return fields;
}

// The catalogue entry of an enumeration whose Field is the key; null when none.
template <class Option, class Lookup>
const TCatalogueEntry* EntryByField(int count, std::string_view key, Lookup lookup) {
    for (int n = 0; n < count; ++n) {
        const TCatalogueEntry& entry = lookup(Option(n));
        if (entry.Exists() && entry.Field == key) {
            return &entry;
        }
    }
    return nullptr;
}

const TCatalogueEntry* ContourOrPumpEntry(std::string_view key) {
    if (const auto* entry = EntryByField<device::TConturOpt>(device::kConturOptCount, key,
                                                             catalogue::ContourEntry)) {
        return entry;
    }
    return EntryByField<device::TNasosOpt>(device::kNasosOptCount, key, catalogue::PumpEntry);
}

std::string WithoutTrailingBlank(std::string text) {
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

// What the comparison makes of one differing key.
struct Naming {
    std::string Page;
    std::string Parameter;
    std::string TextA;
    std::string TextB;
    bool Identity = false;
};

class Namer {
public:
    Namer(const device::TKT41& a, const device::TKT41& b, std::string_view separator)
        : a_(a), b_(b), separator_(separator) {}

    // nullopt for a key a configuration write does not send and that is no
    // part of the identity.
    std::optional<Naming> Name(const FlatField& fa, std::int32_t rawB) const {
        Naming n;
        n.Parameter = fa.Key;
        n.TextA = std::to_string(fa.Raw);
        n.TextB = std::to_string(rawB);
        const std::string_view section = fa.Section;
        if (section.starts_with("Contour")) {
            n.Page = "Контур " + std::string(section.substr(7));
            NameContourKey(fa.Key, fa.Raw, rawB, n);
        } else if (section.starts_with("Input_")) {
            if (fa.Key == "InputType") {
                return std::nullopt; // follows from Func, never sent
            }
            n.Page = "Входы";
            NameInputKey(section, fa.Key, fa.Raw, rawB, n);
        } else if (section == "ParamDevice") {
            n.Page = "Настройки";
            NameDeviceKey(fa.Key, fa.Raw, rawB, n);
        } else {
            n.Page = "Калибровка";
            if (fa.Key == "Type_T") {
                n.Parameter = "Тип термометра";
                n.TextA = catalogue::GetThermometerTypeText(a_);
                n.TextB = catalogue::GetThermometerTypeText(b_);
            }
        }
        return n;
    }

private:
    void UseEntry(const TCatalogueEntry& entry, std::int32_t rawA, std::int32_t rawB,
                  Naming& n) const {
        n.Parameter = std::string(entry.Name);
        n.TextA = catalogue::DisplayText(entry, rawA, separator_);
        n.TextB = catalogue::DisplayText(entry, rawB, separator_);
    }

    void NameContourKey(const std::string& key, std::int32_t rawA, std::int32_t rawB,
                        Naming& n) const {
        if (key == "ContourType") {
            n.Parameter = "Тип контура";
            n.TextA = catalogue::ChoiceText(catalogue::kContourTypeNames, rawA);
            n.TextB = catalogue::ChoiceText(catalogue::kContourTypeNames, rawB);
        } else if (const TCatalogueEntry* entry = ContourOrPumpEntry(key)) {
            UseEntry(*entry, rawA, rawB, n);
        }
    }

    void NameInputKey(std::string_view section, const std::string& key, std::int32_t rawA,
                      std::int32_t rawB, Naming& n) const {
        const bool thermometer = section.starts_with("Input_T");
        const auto kind =
            thermometer ? catalogue::TInputKind::Thermometer : catalogue::TInputKind::Analog;
        const std::string input(section.substr(6)); // "T3", "P1"
        const TCatalogueEntry* entry = EntryByField<device::TInputOpt>(
            device::kInputOptCount, key,
            [kind](device::TInputOpt option) -> const TCatalogueEntry& {
                return catalogue::InputEntry(kind, option);
            });
        if (entry != nullptr) {
            UseEntry(*entry, rawA, rawB, n);
        }
        n.Parameter = input + ": " + n.Parameter;
    }

    void NameDeviceKey(const std::string& key, std::int32_t rawA, std::int32_t rawB,
                       Naming& n) const {
        n.Identity = true;
        if (key == "Model") {
            n.Parameter = "Модель контроллера";
        } else if (key == "SerialNumber") {
            n.Parameter = "Серийный номер";
            n.TextA = catalogue::GetSerialNumberText(a_);
            n.TextB = catalogue::GetSerialNumberText(b_);
        } else if (key == "Version") {
            n.Parameter = "Версия ПО";
            n.TextA = WithoutTrailingBlank(catalogue::GetVersionText(a_));
            n.TextB = WithoutTrailingBlank(catalogue::GetVersionText(b_));
        } else if (key == "Manufact_date") {
            n.Parameter = "Дата производства";
            n.TextA = catalogue::GetManufactureDateText(a_);
            n.TextB = catalogue::GetManufactureDateText(b_);
        } else if (const TCatalogueEntry* entry = EntryByField<device::TDeviceOpt>(
                       device::kDeviceOptCount, key, catalogue::DeviceEntry)) {
            UseEntry(*entry, rawA, rawB, n);
            // The network address is the one the controller is reached at; the
            // device parameter block does not carry it.
            n.Identity = key == "ID_Device";
        } else {
            n.Identity = false;
        }
    }

    const device::TKT41& a_;
    const device::TKT41& b_;
    std::string_view separator_;
};

} // namespace

TComparison CompareConfigurations(const device::TKT41& a, const device::TKT41& b,
                                  std::string_view decimalSeparator) {
    const std::vector<FlatField> fieldsA = Flatten(a);
    const std::vector<FlatField> fieldsB = Flatten(b);
    const Namer namer(a, b, decimalSeparator);
    TComparison result;
    for (std::size_t n = 0; n < fieldsA.size() && n < fieldsB.size(); ++n) {
        const FlatField& fa = fieldsA[n];
        const std::int32_t rawB = fieldsB[n].Raw;
        if (fa.Raw == rawB) {
            continue;
        }
        std::optional<Naming> naming = namer.Name(fa, rawB);
        if (!naming) {
            continue;
        }
        TDifference d{.Page = std::move(naming->Page),
                      .Parameter = std::move(naming->Parameter),
                      .TextA = std::move(naming->TextA),
                      .TextB = std::move(naming->TextB),
                      .Key = fa.Section + "/" + fa.Key,
                      .RawA = fa.Raw,
                      .RawB = rawB};
        (naming->Identity ? result.Identity : result.Settings).push_back(std::move(d));
    }
    return result;
}

} // namespace kt41::config_file
