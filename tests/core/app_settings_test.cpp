#include "app/app_settings.h"

#include <gtest/gtest.h>

#include <string>

namespace zevo {
namespace {

// A window state unlike any default, so that a value taken from the wrong place shows.
AppSettings Sample() {
    AppSettings s;
    s.Window = {-12, 34, 567, 890};
    s.Ports.ComPortIndex = 3;
    s.Ports.AutoPortNumber = 7;
    s.LanguageIndex = 2;
    s.File = "race.ign";
    s.IniDir = "/home/rider/maps/race.ign";
    s.ActivePageIndex = 1;
    return s;
}

TEST(AppSettings, FileNamesCarryTheProgramVersion) {
    EXPECT_EQ(SettingsFileName(), "ZEVO_v56.ini");
    EXPECT_EQ(ParameterImageFileName(), "_ZEVO_v56.ini");
}

TEST(AppSettings, SaveIntoEmptyFileGivesTheKnownLayout) {
    IniFile ini;
    SaveAppSettings(ini, Sample());
    EXPECT_EQ(ini.Serialize(), "[FORM_HLAV]\n"
                               "Left=-12\n"
                               "Top=34\n"
                               "Height=567\n"
                               "Width=890\n"
                               "ComPort=4\n"
                               "Language=2\n"
                               "File=race.ign\n"
                               "IniDir=/home/rider/maps/race.ign\n"
                               "\n"
                               "[BASIC]\n"
                               "ComPortAuto=8\n"
                               "\n"
                               "[IGNITION]\n"
                               "PageControl1->ActivePageIndex=1\n");
}

TEST(AppSettings, SavedSettingsReadBack) {
    IniFile ini;
    AppSettings saved = Sample();
    saved.File = " spaced name ";
    SaveAppSettings(ini, saved);
    EXPECT_EQ(LoadAppSettings(IniFile::Parse(ini.Serialize()), AppSettings{}), saved);
}

TEST(AppSettings, MissingFileKeepsEverythingCurrent) {
    EXPECT_EQ(LoadAppSettings(IniFile::Parse(""), Sample()), Sample());
}

TEST(AppSettings, MissingKeysKeepTheirCurrentValues) {
    const AppSettings loaded = LoadAppSettings(IniFile::Parse("[FORM_HLAV]\nTop=5\n[BASIC]\n"), Sample());
    AppSettings expected = Sample();
    expected.Window.Top = 5;
    EXPECT_EQ(loaded, expected);
}

struct ByteCase {
    const char* Name;
    const char* File;
    std::uint8_t ComPortIndex;
    std::uint8_t AutoPortNumber;
    std::uint8_t LanguageIndex;
};

class AppSettingsBytes : public testing::TestWithParam<ByteCase> {};

// The load keeps the low byte and leaves the port range to ValidateBlock; only the language is
// repaired here, because a text table must never be indexed past its three languages.
TEST_P(AppSettingsBytes, KeepLowByteOfWhatWasRead) {
    const ByteCase& c = GetParam();
    const AppSettings loaded = LoadAppSettings(IniFile::Parse(c.File), Sample());
    EXPECT_EQ(loaded.Ports.ComPortIndex, c.ComPortIndex);
    EXPECT_EQ(loaded.Ports.AutoPortNumber, c.AutoPortNumber);
    EXPECT_EQ(loaded.LanguageIndex, c.LanguageIndex);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AppSettingsBytes,
    testing::Values(ByteCase{"ComPortZeroIs255", "[FORM_HLAV]\nComPort=0\n", 255, 7, 2},
                    ByteCase{"ComPort22Is21", "[FORM_HLAV]\nComPort=22\n", 21, 7, 2},
                    ByteCase{"ComPort257IsLowByteOf256", "[FORM_HLAV]\nComPort=257\n", 0, 7, 2},
                    ByteCase{"ComPortAuto21Is20", "[BASIC]\nComPortAuto=21\n", 3, 20, 2},
                    ByteCase{"ComPortAutoNegative", "[BASIC]\nComPortAuto=-1\n", 3, 254, 2},
                    ByteCase{"ComPortGarbageKeepsCurrent", "[FORM_HLAV]\nComPort=x\n", 3, 7, 2},
                    ByteCase{"LanguageEnglish", "[FORM_HLAV]\nLanguage=1\n", 3, 7, 1},
                    ByteCase{"LanguageBeyondTablesIsCzech", "[FORM_HLAV]\nLanguage=7\n", 3, 7, 0},
                    ByteCase{"LanguageLowByteInRange", "[FORM_HLAV]\nLanguage=257\n", 3, 7, 1},
                    ByteCase{"LanguageNegativeIsCzech", "[FORM_HLAV]\nLanguage=-1\n", 3, 7, 0},
                    ByteCase{"KeysInWrongSectionIgnored", "[BASIC]\nComPort=1\n[FORM_HLAV]\nComPortAuto=1\n",
                             3, 7, 2}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(AppSettings, SaveIntoExistingFileKeepsWhatItDoesNotOwn) {
    const std::string before = "; kept\n"
                               "[FORM_HLAV]\n"
                               "Width=1\n"
                               "Left=2\n"
                               "Extra=keep me\n"
                               "\n"
                               "[PORTS]\n"
                               "COM3=/dev/ttyUSB1\n"
                               "\n"
                               "[IGNITION]\n"
                               "PageControl1->ActivePageIndex=2\n";
    IniFile ini = IniFile::Parse(before);
    const AppSettings loaded = LoadAppSettings(ini, AppSettings{});
    SaveAppSettings(ini, loaded);
    EXPECT_EQ(ini.Serialize(), "; kept\n"
                               "[FORM_HLAV]\n"
                               "Width=1\n"
                               "Left=2\n"
                               "Extra=keep me\n"
                               "Top=0\n"
                               "Height=0\n"
                               "ComPort=21\n"
                               "Language=0\n"
                               "File=\n"
                               "IniDir=\n"
                               "\n"
                               "[PORTS]\n"
                               "COM3=/dev/ttyUSB1\n"
                               "\n"
                               "[IGNITION]\n"
                               "PageControl1->ActivePageIndex=2\n"
                               "\n"
                               "[BASIC]\n"
                               "ComPortAuto=1\n");
    EXPECT_EQ(ini.ReadString("PORTS", "COM3"), "/dev/ttyUSB1");
}

} // namespace
} // namespace zevo
