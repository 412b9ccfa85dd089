#pragma once
#include <string>

#include "app/ini_file.h"

namespace zevo {

// The ride log's choices, in a section [LOG] of the settings file beside the design's keys.
struct LogSettings {
    std::string Folder;     // where the last log was recorded or opened; empty: the home folder
    int ChartSeconds = 60;  // the live chart's span, one of ChartSpans
    // The live chart was open when the tool closed: it opens again after the first paint.
    bool LiveChart = false;
    friend bool operator==(const LogSettings&, const LogSettings&) = default;
};

// The spans the live chart offers, in seconds.
inline constexpr int ChartSpans[] = {10, 30, 60, 120, 300, 600};

// A missing key keeps its default; a span that is not offered reads as the default.
LogSettings ReadLogSettings(const IniFile& ini);
// Every other key of the file stays as it was.
void WriteLogSettings(IniFile& ini, const LogSettings& log);

} // namespace zevo
