#pragma once
// A table of texts in the tool's three languages, one row per id of an enum that ends in Count.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "lang/language_tables.h"

namespace zevo {

template <typename Id> struct TextRow {
    Id id;
    const char* czech;
    const char* english;
    const char* german;
};

template <typename Id> using TextTable = std::array<TextRow<Id>, static_cast<std::size_t>(Id::Count)>;

// Every row at the position of its id: checked at compile time, so a row dropped or inserted by
// mistake stops the build instead of shifting every later text.
template <typename Id> constexpr bool RowsInIdOrder(const TextTable<Id>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (static_cast<std::size_t>(rows[i].id) != i)
            return false;
    return true;
}

// The text in language 0 Czech, 1 English, 2 German; any other index reads Czech. Empty for an id
// outside the table.
template <typename Id> std::string_view TextIn(const TextTable<Id>& rows, Id id, std::uint8_t language) {
    const auto index = static_cast<std::size_t>(id);
    if (index >= rows.size())
        return {};
    const TextRow<Id>& row = rows[index];
    switch (language) {
    case LanguageEnglish:
        return row.english;
    case LanguageGerman:
        return row.german;
    default:
        return row.czech;
    }
}

} // namespace zevo
