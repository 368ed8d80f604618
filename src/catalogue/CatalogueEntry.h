#pragma once

#include "ChoiceLists.h"
#include "EditorKind.h"

#include <cstdint>
#include <string_view>

namespace kt41::catalogue {

// How the model stores the raw value of a field.
enum class TRawType : std::uint8_t {
    Byte,   // unsigned 8-bit
    UInt16, // unsigned 16-bit
    Int16,  // signed 16-bit
};

// How a raw value becomes its display text.
enum class TDisplayKind : std::uint8_t {
    Integer, // the value as a decimal integer, signed or unsigned by Raw
    Decimal, // value / Scale with one decimal (Scale 10) or two (Scale 100)
    Choice,  // the DisplayChoices entry at the value, or the value as a number
};

// One configurable parameter: everything a grid needs to show and edit it.
struct TCatalogueEntry {
    std::string_view Name; // the row name or column heading, byte for byte
    TEditorKind Editor = ekNone;
    std::int32_t RawMin = 0; // limits of the stored integer
    std::int32_t RawMax = 0;
    std::int32_t Scale = 1; // displayed value = raw value / Scale
    TDisplayKind Display = TDisplayKind::Integer;
    TRawType Raw = TRawType::UInt16;
    ChoiceList Choices{};        // the entries a choice editor offers
    ChoiceList DisplayChoices{}; // the entries the display text uses (may have more)
    // Choice display only: the value's bit 7 (128) is cleared before the look-up.
    bool ClearTopBit = false;
    // The model field, named as in the records; also the configuration-file key.
    // Empty for a selector that has no field in this kind of record.
    std::string_view Field;

    constexpr bool Exists() const { return !Field.empty(); }
    constexpr bool IsSigned() const { return Raw == TRawType::Int16; }
    // Number of decimals shown: 0, 1 (Scale 10) or 2 (Scale 100).
    constexpr int Decimals() const { return Scale == 100 ? 2 : Scale == 10 ? 1 : 0; }
    // The limits of a decimal editor: the raw limits divided by the scale.
    constexpr double EditorMinimum() const { return double(RawMin) / Scale; }
    constexpr double EditorMaximum() const { return double(RawMax) / Scale; }
};

} // namespace kt41::catalogue
