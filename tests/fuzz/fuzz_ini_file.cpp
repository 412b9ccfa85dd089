// The settings file is outside bytes: any of them must parse, serialize to a text that parses back to
// itself, and carry settings that read back exactly as they were saved.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/app_settings.h"
#include "app/ini_file.h"
#include "app/view_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    zevo::IniFile ini = zevo::IniFile::Parse(text);

    const std::string once = ini.Serialize();
    if (zevo::IniFile::Parse(once).Serialize() != once) {
        std::abort();
    }
    // What the tool writes is always a text it would merge into again.
    if (zevo::IniTextUnderstood(text) && !zevo::IniTextUnderstood(once)) {
        std::abort();
    }

    const zevo::AppSettings loaded = zevo::LoadAppSettings(ini, zevo::AppSettings{});
    const zevo::ViewSettings view = zevo::ReadViewSettings(ini);
    if (loaded.LanguageIndex > 2) {
        std::abort();
    }

    zevo::SaveAppSettings(ini, loaded);
    zevo::WriteViewSettings(ini, view);
    const zevo::IniFile reparsed = zevo::IniFile::Parse(ini.Serialize());
    // Different defaults, so a key the save failed to write would show.
    zevo::AppSettings other;
    other.Window = {1, 2, 3, 4};
    other.Ports = {5, 6};
    other.LanguageIndex = 1;
    other.File = "other";
    other.IniDir = "other";
    other.ActivePageIndex = 9;
    if (zevo::LoadAppSettings(reparsed, other) != loaded || zevo::ReadViewSettings(reparsed) != view) {
        std::abort();
    }
    return 0;
}
