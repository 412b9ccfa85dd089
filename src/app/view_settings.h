#pragma once
#include "app/ini_file.h"

namespace zevo {

// The View menu's choices, kept in a section [VIEW] of the settings file beside the design's keys.
struct ViewSettings {
    bool ColourByValue = false; // the design's white fields stay the default look
    bool Trail = false;
    // The servo curves window was open when the tool closed: it opens again after the first paint.
    bool ServoCurves = false;
    friend bool operator==(const ViewSettings&, const ViewSettings&) = default;
};

// A missing or unreadable key keeps its default; any number other than 0 means on.
ViewSettings ReadViewSettings(const IniFile& ini);
// Writes the keys as 0 or 1; every other key of the file stays as it was.
void WriteViewSettings(IniFile& ini, const ViewSettings& view);

} // namespace zevo
