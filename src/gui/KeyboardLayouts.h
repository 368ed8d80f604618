#pragma once

#include <optional>

namespace kt41::gui {

// The Latin key that shares its key cap with a Russian (ЙЦУКЕН) letter on a
// standard keyboard: 0x0421 "С" gives 'C', "Щ" gives 'O', "Х" gives '['. Keys
// are Qt key codes, which for letters are the upper-case character. Nothing
// for a key that is not a Russian letter.
std::optional<int> LatinKeyOfRussianLetter(int key);

} // namespace kt41::gui
