#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kt41::catalogue {

// The kind words of the event table.
inline constexpr std::string_view kEventKindAlarm = "Авария";
inline constexpr std::string_view kEventKindError = "Ошибка";
inline constexpr std::string_view kEventKindEvent = "Событие";

inline constexpr int kEventWordCount = 4;
inline constexpr int kEventBitsPerWord = 16;

// What bit `Bit` of event word `Word` reports.
struct TEventText {
    int Word = 0;
    int Bit = 0;
    std::string_view Kind;
    std::string_view Description; // byte for byte; two descriptions end in a blank
};

// The entry of bit 0..15 of event word 0..3; an entry with empty texts for
// another word or bit.
const TEventText& EventText(int word, int bit);

// The events whose bits are set in the words (at most four are looked at), in
// the order word 0 bit 0 first, the last word's bit 15 last.
std::vector<TEventText> ActiveEvents(std::span<const std::uint16_t> words);

} // namespace kt41::catalogue
