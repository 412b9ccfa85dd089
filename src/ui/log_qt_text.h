#pragma once
// The ride log's texts as the toolkit's strings, placeholders filled.
#include <QString>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "lang/editing_texts.h"
#include "lang/log_texts.h"
#include "ui/qt_text.h"

namespace zevo {

inline QString LogString(LogTextId id, std::uint8_t language) {
    return Text(LogText(id, language));
}

// %1 .. %3 filled from `arguments` (no text of the log's has more).
inline QString LogFilled(LogTextId id, std::uint8_t language, std::initializer_list<QString> arguments) {
    std::vector<std::string> texts;
    for (const QString& a : arguments)
        texts.push_back(a.toStdString());
    texts.resize(3);
    return Text(FillPlaceholders(LogText(id, language), {texts[0], texts[1], texts[2]}));
}

inline QString LogFilled(LogTextId id, std::uint8_t language, const QString& argument) {
    return LogFilled(id, language, {argument});
}

} // namespace zevo
