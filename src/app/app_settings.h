#pragma once
#include <cstdint>
#include <string>

#include "app/ini_file.h"
#include "link/port_choice.h"

namespace zevo {

// File names of the three files the tool keeps in its config directory.
std::string SettingsFileName();       // "ZEVO_v56.ini"
std::string ParameterImageFileName(); // "_ZEVO_v56.ini"
inline constexpr const char* TestModeFileName = "test_tolmek.txt";

struct WindowRect {
    int Left = 0;
    int Top = 0;
    int Height = 0;
    int Width = 0;
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

// Everything the settings file holds. Values are kept as the window uses them (ComPortIndex is the
// stored ComPort minus 1, and so on).
struct AppSettings {
    WindowRect Window;
    PortChoice Ports;
    std::uint8_t LanguageIndex = 0; // 0 Czech, 1 English, 2 German
    std::string File;               // caption of LabelFile2
    std::string IniDir;             // full path of the parameter file last saved or opened
    int ActivePageIndex = 0;        // PageControl1->ActivePageIndex
    friend bool operator==(const AppSettings&, const AppSettings&) = default;
};

// Reads every key of the settings file; a missing or unreadable key keeps the value of `current`.
// One-byte values keep the low 8 bits of what was read (range repair is ValidateBlock's). A language
// outside 0..2 falls back to Czech (0), so no text table is ever indexed out of range.
AppSettings LoadAppSettings(const IniFile& ini, const AppSettings& current);

// Writes every key, in the order the settings file has always had them.
void SaveAppSettings(IniFile& ini, const AppSettings& settings);

} // namespace zevo
