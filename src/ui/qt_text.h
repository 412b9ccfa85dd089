#pragma once
#include <QString>

#include <string_view>

namespace zevo {

// The language tables' UTF-8 texts as the toolkit's strings.
inline QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace zevo
