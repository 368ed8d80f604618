#include "TextRules.h"

#include <algorithm>
#include <limits>

namespace kt41::catalogue {

namespace {

// The raw value as the field holds it.
std::int32_t AsRawType(std::int32_t raw, TRawType type) {
    switch (type) {
    case TRawType::Byte:
        return raw & 0xFF;
    case TRawType::Int16:
        return std::int16_t(std::uint16_t(raw & 0xFFFF));
    case TRawType::UInt16:
        break;
    }
    return raw & 0xFFFF;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int DigitsOf(std::int32_t scale) {
    int digits = 0;
    for (std::int32_t s = scale; s >= 10; s /= 10) {
        ++digits;
    }
    return digits;
}

} // namespace

std::string ChoiceText(ChoiceList list, std::int32_t index) {
    if (index >= 0 && std::size_t(index) < list.size()) {
        return std::string(list[std::size_t(index)]);
    }
    return std::to_string(index);
}

std::string FormatScaled(std::int32_t raw, std::int32_t scale, std::string_view decimalSeparator) {
    const int decimals = DigitsOf(scale);
    const std::int64_t value = raw;
    const std::int64_t magnitude = value < 0 ? -value : value;
    std::string text = value < 0 ? "-" : "";
    if (decimals == 0) {
        return text + std::to_string(magnitude);
    }
    const std::int64_t divisor = scale;
    std::string fraction = std::to_string(magnitude % divisor);
    fraction.insert(0, std::size_t(decimals) - fraction.size(), '0');
    text += std::to_string(magnitude / divisor);
    text += decimalSeparator;
    text += fraction;
    return text;
}

std::string DisplayText(const TCatalogueEntry& entry, std::int32_t raw,
                        std::string_view decimalSeparator) {
    std::int32_t value = AsRawType(raw, entry.Raw);
    switch (entry.Display) {
    case TDisplayKind::Choice:
        if (entry.ClearTopBit) {
            value &= ~0x80;
        }
        return ChoiceText(entry.DisplayChoices, value);
    case TDisplayKind::Decimal:
        return FormatScaled(value, entry.Scale, decimalSeparator);
    case TDisplayKind::Integer:
        break;
    }
    return std::to_string(value);
}

std::optional<std::int32_t> StoredIntegerFromText(std::string_view text, std::int32_t scale) {
    std::size_t pos = 0;
    std::size_t end = text.size();
    while (pos < end && IsBlank(text[pos])) {
        ++pos;
    }
    while (end > pos && IsBlank(text[end - 1])) {
        --end;
    }

    bool negative = false;
    if (pos < end && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // All digits of the number, and how many of them stand before the separator.
    std::string digits;
    std::int64_t integerDigits = 0;
    while (pos < end && IsDigit(text[pos])) {
        digits += text[pos++];
        ++integerDigits;
    }
    if (pos < end && (text[pos] == '.' || text[pos] == ',')) {
        ++pos;
        while (pos < end && IsDigit(text[pos])) {
            digits += text[pos++];
        }
    }
    if (digits.empty()) {
        return std::nullopt;
    }
    std::int64_t exponent = 0;
    if (pos < end && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        bool negativeExponent = false;
        if (pos < end && (text[pos] == '-' || text[pos] == '+')) {
            negativeExponent = text[pos] == '-';
            ++pos;
        }
        if (pos == end || !IsDigit(text[pos])) {
            return std::nullopt;
        }
        while (pos < end && IsDigit(text[pos])) {
            // Held far beyond any digit count, so it cannot overflow.
            exponent = std::min<std::int64_t>(exponent * 10 + (text[pos++] - '0'), 1'000'000);
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    if (pos != end) {
        return std::nullopt;
    }

    // Multiplying by the scale moves the separator right by its digit count;
    // the digits left of it form the result, the rest is cut off.
    const std::int64_t kept = integerDigits + exponent + DigitsOf(scale);
    constexpr std::int64_t limit = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
    std::int64_t magnitude = 0;
    for (std::int64_t k = 0; k < kept && magnitude < limit; ++k) {
        const int digit = std::size_t(k) < digits.size() ? digits[std::size_t(k)] - '0' : 0;
        magnitude = magnitude * 10 + digit;
    }
    if (magnitude >= limit) {
        return negative ? std::numeric_limits<std::int32_t>::min()
                        : std::numeric_limits<std::int32_t>::max();
    }
    return std::int32_t(negative ? -magnitude : magnitude);
}

} // namespace kt41::catalogue
