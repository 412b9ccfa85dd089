#include "app/view_settings.h"

namespace zevo {

namespace {
constexpr const char* ViewSection = "VIEW";
} // namespace

ViewSettings ReadViewSettings(const IniFile& ini) {
    const ViewSettings defaults;
    ViewSettings view;
    view.ColourByValue = ini.ReadInteger(ViewSection, "ColourByValue", defaults.ColourByValue ? 1 : 0) != 0;
    view.Trail = ini.ReadInteger(ViewSection, "Trail", defaults.Trail ? 1 : 0) != 0;
    view.ServoCurves = ini.ReadInteger(ViewSection, "ServoCurves", defaults.ServoCurves ? 1 : 0) != 0;
    return view;
}

void WriteViewSettings(IniFile& ini, const ViewSettings& view) {
    ini.WriteInteger(ViewSection, "ColourByValue", view.ColourByValue ? 1 : 0);
    ini.WriteInteger(ViewSection, "Trail", view.Trail ? 1 : 0);
    ini.WriteInteger(ViewSection, "ServoCurves", view.ServoCurves ? 1 : 0);
}

} // namespace zevo
