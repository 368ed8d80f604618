#pragma once

#include "Options.h"
#include "Records.h"

#include <cstdint>
#include <optional>
#include <variant>

namespace kt41::device {

// A reference to one integer field of a record, carrying the field's width and
// signedness, so that selector-based access (pages, catalogue, pump dialog)
// stores and reads every field the same way. An empty reference stands for a
// selector the record does not have.
class FieldRef {
public:
    FieldRef() = default;
    explicit FieldRef(std::uint8_t& f) : field_(&f) {}
    explicit FieldRef(std::uint16_t& f) : field_(&f) {}
    explicit FieldRef(std::int16_t& f) : field_(&f) {}

    bool Valid() const { return !std::holds_alternative<std::monostate>(field_); }
    bool IsSigned() const { return std::holds_alternative<std::int16_t*>(field_); }

    // The field's value, read as signed or unsigned by its type; 0 when empty.
    std::int32_t Get() const;
    // Stores the value cut to the field's width: the low 8 bits for byte fields,
    // the low 16 bits otherwise. Does nothing for an empty reference.
    void Set(std::int32_t value) const;

private:
    std::variant<std::monostate, std::uint8_t*, std::uint16_t*, std::int16_t*> field_;
};

FieldRef ContourField(TParamContur& contour, TConturOpt option);
FieldRef ContourField(TParamConturEx& contour, TConturOpt option); // empty for full-only members
FieldRef DeviceField(TParamDevice& device, TDeviceOpt option);
FieldRef PumpField(TPumpGroup& group, TNasosOpt option);

// Read-only views of the same fields: std::nullopt where the record has no such field.
std::optional<std::int32_t> ContourFieldValue(const TParamContur& contour, TConturOpt option);
std::optional<std::int32_t> ContourFieldValue(const TParamConturEx& contour, TConturOpt option);
std::optional<std::int32_t> DeviceFieldValue(const TParamDevice& device, TDeviceOpt option);
std::optional<std::int32_t> PumpFieldValue(const TPumpGroup& group, TNasosOpt option);

} // namespace kt41::device
