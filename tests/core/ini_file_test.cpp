#include "app/ini_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace zevo {
namespace {

// A settings file as a user may have left it: remarks, a blank line, a line before the first
// section, odd spacing and spelling, a duplicate key and a second section of the same name.
constexpr const char* HandMade = "; settings of the ZEVO tool\n"
                                 "orphan=1\n"
                                 "[FORM_HLAV]\n"
                                 "Left=10\n"
                                 "  top  =  20  \n"
                                 "LEFT=99\n"
                                 "File=\"C:\\maps\\race.ign\"\n"
                                 "Quoted='x'\n"
                                 "Mixed=\"x'\n"
                                 "Expr=a=b\n"
                                 "no equals sign here\n"
                                 "\n"
                                 "  [ Basic ]  \n"
                                 "ComPortAuto=3\n"
                                 "[form_hlav]\n"
                                 "Width=640\n"
                                 "Height=480\n";

struct ReadCase {
    const char* Name;
    const char* Section;
    const char* Key;
    std::optional<std::string> Expected;
};

class IniReadString : public testing::TestWithParam<ReadCase> {};

TEST_P(IniReadString, FindsTheValueAsTheSettingsFileHasAlwaysBeenRead) {
    const ReadCase& c = GetParam();
    const IniFile ini = IniFile::Parse(HandMade);
    EXPECT_EQ(ini.ReadString(c.Section, c.Key), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniReadString,
    testing::Values(ReadCase{"Plain", "FORM_HLAV", "Left", "10"},
                    ReadCase{"NamesIgnoreCase", "form_hlav", "LEFT", "10"},
                    ReadCase{"BlanksAroundKeyAndValue", "FORM_HLAV", "Top", "20"},
                    ReadCase{"DoubleQuotesStripped", "FORM_HLAV", "File", "C:\\maps\\race.ign"},
                    ReadCase{"SingleQuotesStripped", "FORM_HLAV", "Quoted", "x"},
                    ReadCase{"UnmatchedQuotesKept", "FORM_HLAV", "Mixed", "\"x'"},
                    ReadCase{"FirstEqualsSignSplits", "FORM_HLAV", "Expr", "a=b"},
                    ReadCase{"SectionNameTrimmed", "BASIC", "ComPortAuto", "3"},
                    ReadCase{"KeyBeforeAnySectionNeverMatches", "", "orphan", std::nullopt},
                    ReadCase{"KeyOfAnotherSection", "BASIC", "Left", std::nullopt},
                    ReadCase{"MissingKey", "FORM_HLAV", "Language", std::nullopt},
                    ReadCase{"MissingSection", "IGNITION", "Left", std::nullopt},
                    ReadCase{"SecondSectionOfSameNameNotSearched", "FORM_HLAV", "Width", std::nullopt},
                    ReadCase{"LineWithoutEqualsIsNoKey", "FORM_HLAV", "no equals sign here", std::nullopt}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(IniFile, FirstOfDuplicateKeysWinsForReadAndWrite) {
    IniFile ini = IniFile::Parse("[S]\nK=1\nk=2\n");
    EXPECT_EQ(ini.ReadInteger("S", "K", 0), 1);
    ini.WriteInteger("S", "K", 5);
    EXPECT_EQ(ini.Serialize(), "[S]\nK=5\nk=2\n");
}

struct IntegerCase {
    const char* Name;
    const char* Value; // nullptr: key missing
    int Expected;
};

class IniReadInteger : public testing::TestWithParam<IntegerCase> {};

TEST_P(IniReadInteger, ConvertsLikeThePlatform) {
    const IntegerCase& c = GetParam();
    const std::string text = c.Value ? std::string("[S]\nK=") + c.Value + "\n" : std::string("[S]\n");
    EXPECT_EQ(IniFile::Parse(text).ReadInteger("S", "K", -77), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniReadInteger,
    testing::Values(IntegerCase{"Plain", "42", 42}, IntegerCase{"LeadingBlanks", "  42", 42},
                    IntegerCase{"LeadingTab", "\t42", 42}, IntegerCase{"Negative", "-5", -5},
                    IntegerCase{"ExplicitPlus", "+7", 7}, IntegerCase{"TrailingLetters", "12abc", 12},
                    IntegerCase{"Quoted", "\"17\"", 17}, IntegerCase{"NoDigits", "abc", -77},
                    IntegerCase{"Empty", "", -77}, IntegerCase{"SignOnly", "-", -77},
                    IntegerCase{"BlankAfterSign", "- 5", -77}, IntegerCase{"Missing", nullptr, -77},
                    IntegerCase{"WrapsModulo2To32", "99999999999", 1215752191},
                    IntegerCase{"AllOnesIsMinusOne", "4294967295", -1},
                    IntegerCase{"Smallest", "-2147483648", -2147483647 - 1},
                    IntegerCase{"EndlessDigits", "000000000000000000000000000000000000000012", 12}),
    [](const auto& info) { return std::string(info.param.Name); });

struct WriteCase {
    const char* Name;
    const char* Before;
    const char* Section;
    const char* Key;
    const char* Value;
    const char* After;
};

class IniWriteString : public testing::TestWithParam<WriteCase> {};

TEST_P(IniWriteString, ChangesOnlyWhatItMust) {
    const WriteCase& c = GetParam();
    IniFile ini = IniFile::Parse(c.Before);
    ini.WriteString(c.Section, c.Key, c.Value);
    EXPECT_EQ(ini.Serialize(), c.After);
    EXPECT_EQ(IniFile::Parse(ini.Serialize()).ReadString(c.Section, c.Key), c.Value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWriteString,
    testing::Values(
        WriteCase{"ReplacesInPlace", "[A]\nx=1\ny=2\n[B]\nx=3\n", "A", "x", "9", "[A]\nx=9\ny=2\n[B]\nx=3\n"},
        WriteCase{"KeepsKeySpellingAndSpacing", "[A]\n  Left = 1  \n", "a", "LEFT", "7", "[A]\n  Left = 7\n"},
        WriteCase{"AppendsAfterLastKeyOfSection", "[A]\nx=1\n; remark\n\n[B]\n", "A", "y", "2",
                  "[A]\nx=1\ny=2\n; remark\n\n[B]\n"},
        WriteCase{"AppendsRightAfterHeaderOfEmptySection", "[A]\n\n[B]\nx=1\n", "A", "y", "2",
                  "[A]\ny=2\n\n[B]\nx=1\n"},
        WriteCase{"NewSectionAtEndAfterBlankLine", "[A]\nx=1\n", "B", "y", "2", "[A]\nx=1\n\n[B]\ny=2\n"},
        WriteCase{"NewSectionInEmptyFile", "", "Sec", "y", "2", "[Sec]\ny=2\n"},
        WriteCase{"NoSecondBlankBeforeNewSection", "[A]\nx=1\n\n", "B", "y", "2", "[A]\nx=1\n\n[B]\ny=2\n"},
        WriteCase{"ExistingHeaderKeepsItsSpelling", "[Form_Hlav]\n", "FORM_HLAV", "Left", "1",
                  "[Form_Hlav]\nLeft=1\n"},
        WriteCase{"OnlyFirstSectionOfSameName", "[A]\nx=1\n[B]\n[A]\ny=2\n", "A", "y", "3",
                  "[A]\nx=1\ny=3\n[B]\n[A]\ny=2\n"},
        WriteCase{"KeyBeforeAnySectionUntouched", "x=1\n", "A", "x", "2", "x=1\n\n[A]\nx=2\n"},
        WriteCase{"EmptyValue", "[A]\nx=1\n", "A", "x", "", "[A]\nx=\n"},
        WriteCase{"ValueWithBlanksAtEndsIsQuoted", "[A]\n", "A", "File", " my file ",
                  "[A]\nFile=\" my file \"\n"},
        WriteCase{"QuotedValueKeepsItsQuotes", "[A]\n", "A", "File", "'x'", "[A]\nFile=\"'x'\"\n"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(IniFile, LineEndInWrittenValueCannotStartANewLine) {
    // A file name may hold a newline on some systems; it must not plant a key of its own.
    IniFile ini = IniFile::Parse("[A]\n");
    ini.WriteString("A", "File", "x\n[A]\nComPort=5\r");
    const IniFile back = IniFile::Parse(ini.Serialize());
    EXPECT_EQ(back.ReadString("A", "File"), "x [A] ComPort=5 ");
    EXPECT_EQ(back.ReadString("A", "ComPort"), std::nullopt);
}

struct LayoutCase {
    const char* Name;
    const char* Input;
    const char* Serialized;
};

class IniLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(IniLayout, KeepsEveryLineAndIsStableAfterOneRoundTrip) {
    const LayoutCase& c = GetParam();
    const std::string once = IniFile::Parse(c.Input).Serialize();
    EXPECT_EQ(once, c.Serialized);
    EXPECT_EQ(IniFile::Parse(once).Serialize(), once);
}

INSTANTIATE_TEST_SUITE_P(Cases, IniLayout,
                         testing::Values(LayoutCase{"Empty", "", ""},
                                         LayoutCase{"HandMadeKeptVerbatim", HandMade, HandMade},
                                         LayoutCase{"NoFinalLineEnd", "[A]\nx=1", "[A]\nx=1\n"},
                                         LayoutCase{"CrLf", "[A]\r\nx=1\r\n", "[A]\nx=1\n"},
                                         LayoutCase{"LoneCrEndsLine", "[A]\rx=1\r", "[A]\nx=1\n"},
                                         LayoutCase{"CrCrLf", "a\r\r\nb", "a\n\nb\n"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(IniFile, AnyBytesInKeysAndValues) {
    constexpr char raw[] = "[A]\nk\0y=v\0al\xff\n";
    const std::string text(raw, sizeof raw - 1);
    const IniFile ini = IniFile::Parse(text);
    EXPECT_EQ(ini.Serialize(), text);
    EXPECT_EQ(ini.ReadString("A", std::string_view("k\0y", 3)), std::string("v\0al\xff", 5));
}

TEST(IniFile, ByteOrderMarkDoesNotHideFirstSection) {
    const std::string text = "\xEF\xBB\xBF[FORM_HLAV]\nLeft=5\n";
    IniFile ini = IniFile::Parse(text);
    EXPECT_EQ(ini.ReadInteger("FORM_HLAV", "Left", 0), 5);
    ini.WriteInteger("FORM_HLAV", "Top", 6);
    EXPECT_EQ(ini.Serialize(), text + "Top=6\n");
}

} // namespace
} // namespace zevo

namespace zevo {
namespace {

// A text the tool would merge its keys into, or one it sets aside whole.
TEST(IniFile, UnderstoodTextsAreThoseNotUtf16) {
    using namespace std::string_view_literals;
    const std::pair<std::string_view, bool> rows[] = {
        {"[FORM_HLAV]\r\nLanguage=1\r\n"sv, true},
        {"\xEF\xBB\xBF[FORM_HLAV]\nLanguage=1\n"sv, true}, // UTF-8 with its mark: read, the mark skipped
        {""sv, true},
        {"\xFF\xFE[\0F\0"sv, false}, // UTF-16 LE with its mark
        {"\xFE\xFF\0[\0F"sv, false}, // UTF-16 BE
        {"[\0F\0O\0R\0"sv, false},   // UTF-16 without a mark
        {"[FORM_HLAV]\nFile=a\0b\n"sv, false},
    };
    for (const auto& [text, understood] : rows)
        EXPECT_EQ(IniTextUnderstood(text), understood) << testing::PrintToString(std::string(text));
}

} // namespace
} // namespace zevo
