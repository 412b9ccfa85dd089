#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "link/identification.h"

namespace zevo {
namespace {

using Page = std::array<std::uint8_t, PageSize>;

Page ExamplePage() {
    Page p{};
    p[0] = 'A';
    p[1] = 'B';
    p[2] = 'C';
    p[3] = 7;
    p[4] = 3;  // day
    p[5] = 45; // "Jun"
    p[6] = 11; // 2011
    p[7] = 9;
    p[8] = 5;
    p[10] = 56;
    return p;
}

TEST(Identification, DecodesTheUnitsStamp) {
    const Identification id = DecodeIdentification(ExamplePage());
    EXPECT_EQ(id.UnitName, "ABC07");
    EXPECT_EQ(id.UnitBuildDate, " 3. 6.2011");
    EXPECT_EQ(id.UnitBuildTime, "09:05");
    EXPECT_EQ(id.Version, 56);
}

TEST(Identification, MonthCodesAreTheSumsOfTheEnglishAbbreviations) {
    const std::array<const char*, 12> names = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::array<const char*, 12> shown = {" 1", " 2", " 3", " 4", " 5", " 6",
                                               " 7", " 8", " 9", "10", "11", "12"};
    for (std::size_t m = 0; m < 12; ++m) {
        const auto code = static_cast<std::uint8_t>(names[m][0] + names[m][1] + names[m][2]);
        EXPECT_STREQ(MonthFromCode(code), shown[m]) << names[m];
    }
    EXPECT_STREQ(MonthFromCode(0), "00");
    EXPECT_STREQ(MonthFromCode(26), "00");
    EXPECT_STREQ(MonthFromCode(255), "00");
}

TEST(Identification, DateAndTimeDigits) {
    struct Case {
        int Day, Year, Hour, Minute;
        const char* Date;
        const char* Time;
    };
    const Case cases[] = {
        {10, 0, 0, 0, "10. 6.2000", "00:00"},
        {31, 99, 23, 59, "31. 6.2099", "23:59"},
        {0, 5, 12, 30, " 0. 6.2005", "12:30"},
        {9, 9, 9, 9, " 9. 6.2009", "09:09"},
    };
    for (const Case& c : cases) {
        Page p = ExamplePage();
        p[4] = static_cast<std::uint8_t>(c.Day);
        p[6] = static_cast<std::uint8_t>(c.Year);
        p[7] = static_cast<std::uint8_t>(c.Hour);
        p[8] = static_cast<std::uint8_t>(c.Minute);
        const Identification id = DecodeIdentification(p);
        EXPECT_EQ(id.UnitBuildDate, c.Date) << c.Day;
        EXPECT_EQ(id.UnitBuildTime, c.Time) << c.Hour;
    }
}

TEST(Identification, UnitTextReplacesTheName) {
    struct Case {
        std::string Text; // written from byte 16 on
        std::string Name;
    };
    const Case cases[] = {
        {"Race bike", "Race bike"},
        {std::string(30, 'x'), std::string(30, 'x')},
        {std::string(30, 'y') + "TAIL", std::string(30, 'y')}, // bytes 46.. are not text
        {std::string("Z\0ABC", 5), "Z"},                       // up to the first zero
        {std::string("\0ABC", 4), "ABC07"},                    // byte 16 zero: no text
    };
    for (const Case& c : cases) {
        Page p = ExamplePage();
        for (std::size_t i = 0; i < c.Text.size() && 16 + i < p.size(); ++i)
            p[16 + i] = static_cast<std::uint8_t>(c.Text[i]);
        EXPECT_EQ(DecodeIdentification(p).UnitName, c.Name) << c.Text;
    }
}

TEST(Identification, DamagedPagesKeepTheFieldWidths) {
    // Every value of every two-digit field: the texts never grow and never carry control bytes.
    for (int field : {3, 4, 6, 7, 8}) {
        for (int value = 0; value < 256; ++value) {
            Page p = ExamplePage();
            p[static_cast<std::size_t>(field)] = static_cast<std::uint8_t>(value);
            const Identification id = DecodeIdentification(p);
            EXPECT_EQ(id.UnitName.size(), 5u);
            EXPECT_EQ(id.UnitBuildDate.size(), 10u);
            EXPECT_EQ(id.UnitBuildTime.size(), 5u);
            for (const std::string* text : {&id.UnitName, &id.UnitBuildDate, &id.UnitBuildTime})
                for (char ch : *text)
                    EXPECT_TRUE(ch >= 0x20 && ch < 0x7F) << field << "=" << value;
        }
    }
    Page p = ExamplePage();
    p[3] = 255;
    p[4] = 100;
    p[7] = 200;
    const Identification id = DecodeIdentification(p);
    EXPECT_EQ(id.UnitName, "ABC??");
    EXPECT_EQ(id.UnitBuildDate, "??. 6.2011");
    EXPECT_EQ(id.UnitBuildTime, "??:05");
}

TEST(Identification, BytesOutsidePrintableAsciiShowAsQuestionMarks) {
    Page p = ExamplePage();
    p[0] = 0;
    p[1] = 0x0A;
    p[2] = 0xC8;
    EXPECT_EQ(DecodeIdentification(p).UnitName, "???07");
    p[16] = 'O';
    p[17] = 0xFF;
    p[18] = 'K';
    EXPECT_EQ(DecodeIdentification(p).UnitName, "O?K");
}

} // namespace
} // namespace zevo
