#include "KeyboardLayouts.h"

#include <array>
#include <utility>

namespace kt41::gui {

namespace {

// Upper-case Russian letters and the Latin key of the same cap.
constexpr std::array<std::pair<char16_t, char>, 33> kRussianKeys{{
    {u'Й', 'Q'}, {u'Ц', 'W'},  {u'У', 'E'}, {u'К', 'R'}, {u'Е', 'T'}, {u'Н', 'Y'}, {u'Г', 'U'},
    {u'Ш', 'I'}, {u'Щ', 'O'},  {u'З', 'P'}, {u'Х', '['}, {u'Ъ', ']'}, {u'Ф', 'A'}, {u'Ы', 'S'},
    {u'В', 'D'}, {u'А', 'F'},  {u'П', 'G'}, {u'Р', 'H'}, {u'О', 'J'}, {u'Л', 'K'}, {u'Д', 'L'},
    {u'Ж', ';'}, {u'Э', '\''}, {u'Я', 'Z'}, {u'Ч', 'X'}, {u'С', 'C'}, {u'М', 'V'}, {u'И', 'B'},
    {u'Т', 'N'}, {u'Ь', 'M'},  {u'Б', ','}, {u'Ю', '.'}, {u'Ё', '`'},
}};

} // namespace

std::optional<int> LatinKeyOfRussianLetter(int key) {
    for (const auto& [russian, latin] : kRussianKeys) {
        if (key == int(russian)) {
            return int(latin);
        }
    }
    return std::nullopt;
}

} // namespace kt41::gui
