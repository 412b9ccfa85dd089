#include "app/log_settings.h"

#include <algorithm>
#include <iterator>

namespace zevo {

namespace {
constexpr const char* LogSection = "LOG";
} // namespace

LogSettings ReadLogSettings(const IniFile& ini) {
    LogSettings log;
    log.Folder = ini.ReadString(LogSection, "Folder", "");
    const int seconds = ini.ReadInteger(LogSection, "ChartSeconds", log.ChartSeconds);
    if (std::find(std::begin(ChartSpans), std::end(ChartSpans), seconds) != std::end(ChartSpans))
        log.ChartSeconds = seconds;
    return log;
}

void WriteLogSettings(IniFile& ini, const LogSettings& log) {
    ini.WriteString(LogSection, "Folder", log.Folder);
    ini.WriteInteger(LogSection, "ChartSeconds", log.ChartSeconds);
}

} // namespace zevo
