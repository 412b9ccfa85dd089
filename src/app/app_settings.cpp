#include "app/app_settings.h"

#include "params/device_image.h"

namespace zevo {

namespace {

constexpr const char* FormSection = "FORM_HLAV";
constexpr const char* BasicSection = "BASIC";
constexpr const char* IgnitionSection = "IGNITION";
constexpr const char* ActivePageKey = "PageControl1->ActivePageIndex";

constexpr int LanguageCount = 3;

// The one-byte settings keep the low 8 bits of the integer read, as the byte variables always did.
std::uint8_t LowByte(unsigned value) {
    return static_cast<std::uint8_t>(value & 0xFFu);
}

} // namespace

std::string SettingsFileName() {
    return "ZEVO_v" + std::to_string(PcProgramVersion) + ".ini";
}

std::string ParameterImageFileName() {
    // Appended rather than written as "_" + name: GCC 12 at -O3 warns falsely (-Wrestrict) about
    // the inlined concatenation of a literal and a temporary string.
    std::string name = "_";
    name += SettingsFileName();
    return name;
}

AppSettings LoadAppSettings(const IniFile& ini, const AppSettings& current) {
    AppSettings s = current;
    s.Window.Left = ini.ReadInteger(FormSection, "Left", current.Window.Left);
    s.Window.Top = ini.ReadInteger(FormSection, "Top", current.Window.Top);
    s.Window.Height = ini.ReadInteger(FormSection, "Height", current.Window.Height);
    s.Window.Width = ini.ReadInteger(FormSection, "Width", current.Window.Width);

    // Stored as COM numbers (index + 1); a stored 0 becomes index 255, which ValidateBlock repairs.
    const int comPort = ini.ReadInteger(FormSection, "ComPort", current.Ports.ComPortIndex + 1);
    s.Ports.ComPortIndex = LowByte(static_cast<unsigned>(comPort) - 1u);
    const int autoPort = ini.ReadInteger(BasicSection, "ComPortAuto", current.Ports.AutoPortNumber + 1);
    s.Ports.AutoPortNumber = LowByte(static_cast<unsigned>(autoPort) - 1u);

    // Every text table has three languages; a hand-edited value beyond them would index past the end.
    s.LanguageIndex =
        LowByte(static_cast<unsigned>(ini.ReadInteger(FormSection, "Language", current.LanguageIndex)));
    if (s.LanguageIndex >= LanguageCount) {
        s.LanguageIndex = 0;
    }

    s.File = ini.ReadString(FormSection, "File", current.File);
    s.IniDir = ini.ReadString(FormSection, "IniDir", current.IniDir);
    s.ActivePageIndex = ini.ReadInteger(IgnitionSection, ActivePageKey, current.ActivePageIndex);
    return s;
}

void SaveAppSettings(IniFile& ini, const AppSettings& settings) {
    ini.WriteInteger(FormSection, "Left", settings.Window.Left);
    ini.WriteInteger(FormSection, "Top", settings.Window.Top);
    ini.WriteInteger(FormSection, "Height", settings.Window.Height);
    ini.WriteInteger(FormSection, "Width", settings.Window.Width);
    ini.WriteInteger(FormSection, "ComPort", settings.Ports.ComPortIndex + 1);
    ini.WriteInteger(BasicSection, "ComPortAuto", settings.Ports.AutoPortNumber + 1);
    ini.WriteInteger(FormSection, "Language", settings.LanguageIndex);
    ini.WriteString(FormSection, "File", settings.File);
    ini.WriteString(FormSection, "IniDir", settings.IniDir);
    ini.WriteInteger(IgnitionSection, ActivePageKey, settings.ActivePageIndex);
}

} // namespace zevo
