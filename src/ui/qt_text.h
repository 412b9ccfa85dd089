#pragma once
#include <QLocale>
#include <QString>

#include <cstdint>
#include <string_view>

#include "lang/language_tables.h"

namespace zevo {

// The language tables' UTF-8 texts as the toolkit's strings.
inline QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The locale whose numbers the window writes and reads in a language: its thousands separator is
// GroupSeparator's, so the editor, the difference listing and the messages write one format.
inline QLocale LanguageLocale(std::uint8_t language) {
    switch (language) {
    case LanguageEnglish:
        return QLocale(QLocale::English, QLocale::UnitedStates);
    case LanguageGerman:
        return QLocale(QLocale::German, QLocale::Germany);
    default:
        return QLocale(QLocale::Czech, QLocale::Czechia);
    }
}

} // namespace zevo
