#pragma once
// Texts about the tool's own files: the settings and image files, and parameter files refused as
// damaged. In Czech, English and German; %1, %2, ... are filled with FillPlaceholders.

#include <cstdint>
#include <string_view>

namespace zevo {

enum class FileTextId : int {
    SettingsSetAside,   // "The settings file could not be read whole; it was set aside as %1 and new settings are kept."
    SettingsNotWritten, // "The settings could not be written to %1. The file keeps what it held before."
    SetNotKept,         // "The set on screen could not be written to %1 for the next start; ..."
    IgnDamaged,         // "The file is damaged: byte %1 (line %2) is the control character %3, ..."
    IgnUtf16,           // "The file is UTF-16 text; ..."
    IgnTooLarge,        // "The file is larger than %1 MiB; ..."
    Count
};

// The text in language 0 Czech, 1 English, 2 German; any other index reads Czech. UTF-8.
std::string_view FileText(FileTextId id, std::uint8_t language);

} // namespace zevo
