#pragma once
// The parameter set's text files (the .ign file and the parameter image file) write every value as
// C's "%<width>u " does: right-aligned in `width` columns, then one blank. Formatting into a small
// buffer and appending once keeps writing a whole set cheap.
#include <cstddef>
#include <string>

namespace zevo {

inline void AppendNumberField(std::string& text, unsigned value, std::size_t width) {
    char field[24];
    std::size_t first = sizeof field - 1;
    field[first] = ' ';
    do {
        field[--first] = static_cast<char>('0' + value % 10u);
        value /= 10u;
    } while (value != 0);
    while (first > 0 && sizeof field - 1 - first < width)
        field[--first] = ' ';
    text.append(field + first, sizeof field - first);
}

} // namespace zevo
