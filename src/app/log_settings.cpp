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
    log.LiveChart = ini.ReadInteger(LogSection, "LiveChart", 0) != 0;
    return log;
}

void WriteLogSettings(IniFile& ini, const LogSettings& log) {
    ini.WriteString(LogSection, "Folder", log.Folder);
    ini.WriteInteger(LogSection, "ChartSeconds", log.ChartSeconds);
    ini.WriteInteger(LogSection, "LiveChart", log.LiveChart ? 1 : 0);
}

} // namespace zevo
