// The difference of two parameter sets: which fields, in which words, and taking the other side's
// value; and the texts it is told in.
#include "files/set_difference.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "files/set_report.h"
#include "lang/language_tables.h"
#include "lang/log_texts.h"
#include "lang/restore_texts.h"

namespace zevo {
namespace {

// "6 500" with the no-break space the window writes, for readable expectations.
std::string Spaced(const std::string& text) {
    const std::string space = "\u00A0";
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        if (text.compare(at, space.size(), space) == 0) {
            out += ' ';
            at += space.size();
        } else {
            out += text[at++];
        }
    }
    return out;
}

TEST(SetDifference, NumbersAreGroupedAsTheLanguageWritesThem) {
    DeviceImage there;
    SetDefaults(there);
    DeviceImage here = there;
    here.Tps100() = 200;
    const std::vector<SetDifference> differences = DifferencesBetween(here, there);
    ASSERT_EQ(differences.size(), 1u);
    const struct {
        std::uint8_t Language;
        const char* Amount; // 4 500 mV, as the editor of that language shows it
    } cases[] = {{LanguageCzech, "4\u00A0500\u00A0mV"}, {LanguageEnglish, "4,500\u00A0mV"}, {LanguageGerman, "4.500\u00A0mV"}};
    for (const auto& c : cases)
        EXPECT_NE(DifferenceLine(differences[0], c.Language).find(c.Amount), std::string::npos)
            << DifferenceLine(differences[0], c.Language) << " in language " << int(c.Language);
}

TEST(SetDifference, EachFieldInTheWindowsWordsAndTakenBack) {
    DeviceImage there;
    SetDefaults(there);
    const struct {
        const char* Name;
        std::function<void(DeviceImage&)> Change;
        SetField Field;
        const char* Line;
    } cases[] = {
        {"pulses", [](DeviceImage& i) { i.PulsesPerRevIndex() = 3; }, SetField::PulsesPerRev, nullptr},
        {"tps 0", [](DeviceImage& i) { i.Tps0() = 50; }, SetField::Tps0, "TP sensor at 0 %: 500 mV here, 480 mV there"},
        {"tps 100", [](DeviceImage& i) { i.Tps100() = 200; }, SetField::Tps100,
         "TP sensor at 100 %: 4,500 mV here, 4,470 mV there"},
        {"enable", [](DeviceImage& i) { i.ServoEnable(1) = 0; }, SetField::ServoEnable,
         "Servo 2, Servo Enable: off here, on there"},
        {"tp enable", [](DeviceImage& i) { i.TpEnable(0) = 1; }, SetField::TpEnable, "Servo 1, TP Enable: on here, off there"},
        {"hysteresis", [](DeviceImage& i) { i.HysteresisMv(0) = 90; }, SetField::HysteresisMv,
         "Servo 1, Hysteresis [mV]: 450 mV here, 400 mV there"},
        {"rpm hysteresis", [](DeviceImage& i) { i.HysteresisRpm(1) = 30; }, SetField::HysteresisRpm,
         "Servo 2, Hysteresis [RPM]: 150 RPM here, 100 RPM there"},
        {"axis", [](DeviceImage& i) { i.RpmAxis(0, 6) = 66; }, SetField::RpmPoint,
         "Servo 1, RPM point 7: 6,600 RPM here, 6,500 RPM there"},
        {"cell", [](DeviceImage& i) { i.MapCell(0, 6, 6) = 135; }, SetField::MapCell,
         "Servo 1, 40 %, 6,500 RPM: 2,700 mV here, 2,600 mV there"},
    };
    for (const auto& c : cases) {
        DeviceImage here = there;
        c.Change(here);
        const std::vector<SetDifference> differences = DifferencesBetween(here, there);
        ASSERT_EQ(differences.size(), 1u) << c.Name;
        EXPECT_EQ(differences[0].Field, c.Field) << c.Name;
        if (c.Line) {
            EXPECT_EQ(Spaced(DifferenceLine(differences[0], LanguageEnglish)), c.Line) << c.Name;
        }
        for (std::uint8_t language : {LanguageCzech, LanguageGerman})
            EXPECT_NE(DifferenceLine(differences[0], language), DifferenceLine(differences[0], LanguageEnglish))
                << c.Name << " in language " << int(language);
        TakeTheirs(here, there, differences[0]);
        EXPECT_TRUE(DifferencesBetween(here, there).empty()) << c.Name;
        EXPECT_EQ(here, there) << c.Name;
    }
}

TEST(SetDifference, WhatCountsAsDifferent) {
    DeviceImage a;
    SetDefaults(a);
    DeviceImage b = a;
    // The identification page and the unused bytes are no parameters.
    b.Bytes[3] ^= 0xFF;
    b.Bytes[BlockOffset + 12] ^= 0xFF;
    EXPECT_TRUE(DifferencesBetween(a, b).empty());
    EXPECT_FALSE(SameParameters(a, b)) << "the block's bytes do differ";
    b.Bytes[BlockOffset + 12] = a.Bytes[BlockOffset + 12];
    EXPECT_TRUE(SameParameters(a, b)) << "page 0 is not compared";

    // A switch reads as on for any byte but 0.
    b.TpEnable(1) = 1;
    a.TpEnable(1) = 2;
    EXPECT_TRUE(DifferencesBetween(a, b).empty());

    // Another map unit: the unit itself and every cell, each in its own side's unit.
    a = b;
    b.PerCentMode(0) = 1;
    const auto differences = DifferencesBetween(a, b);
    ASSERT_EQ(differences.size(), 1u + MapCells);
    EXPECT_EQ(differences[0].Field, SetField::MapUnit);
    EXPECT_EQ(Spaced(DifferenceLine(differences[1], LanguageEnglish)),
              "Servo 1, 0 %, 0 RPM: 2,000 mV here, 100 % there");

    // The editor's order, servo 1 before servo 2, the map row by row.
    a = b;
    b.MapCell(1, 0, 0) = 1;
    b.MapCell(0, 9, 14) = 1;
    b.MapCell(0, 2, 3) = 1;
    b.Tps0() = 1;
    const auto ordered = DifferencesBetween(a, b);
    ASSERT_EQ(ordered.size(), 4u);
    EXPECT_EQ(ordered[0].Field, SetField::Tps0);
    EXPECT_EQ(std::make_pair(ordered[1].Row, ordered[1].Column), std::make_pair(2, 3));
    EXPECT_EQ(std::make_pair(ordered[2].Row, ordered[2].Column), std::make_pair(9, 14));
    EXPECT_EQ(ordered[3].Servo, 1);
}

TEST(SetReport, BothMapsWithTheirAxesTheSettingsAndWhatTheyCameFrom) {
    ReportInput input;
    SetDefaults(input.Image);
    input.Image.TpEnable(0) = 1;
    input.Image.PerCentMode(1) = 1;
    input.Image.MapCell(1, 0, 3) = 47;
    input.Image.MapCell(0, 9, 14) = 245;
    input.FileName = "<race & rain>.ign";
    input.UnitName = "ABC07";
    input.Date = "2026-12-09 06:00";
    const std::string html = ReportHtml(input);
    auto count = [&html](const std::string& part) {
        std::size_t n = 0;
        for (std::size_t at = html.find(part); at != std::string::npos; at = html.find(part, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("&lt;race &amp; rain&gt;.ign"), 1u) << "the file name cannot break the page";
    EXPECT_EQ(count("<race"), 0u);
    EXPECT_EQ(count("ABC07"), 1u);
    EXPECT_EQ(count("<th>12000</th>"), 2u) << "each map's RPM axis";
    EXPECT_EQ(count("<th>TP 100%</th>"), 1u) << "all ten rows of servo 1, row 0 alone of servo 2";
    EXPECT_EQ(count("<th>TP 0%</th>"), 2u);
    EXPECT_EQ(count(">4900</td>"), 1u) << "servo 1 in mV";
    EXPECT_EQ(count(">47</td>"), 1u) << "servo 2 in per cent";
    EXPECT_EQ(count("<th>% \\ RPM</th>"), 1u);
    EXPECT_EQ(count("480 mV"), 1u);
    input.Language = LanguageGerman;
    EXPECT_NE(ReportHtml(input).find("ZEVO-Parametersatz"), std::string::npos);
}

// Every id of a text table has a text in each language with the same placeholders, and is
// translated (units such as "%1 s" excepted).
template <typename Id, typename Lookup>
void CheckTextTable(Lookup lookup, std::set<Id> same = {}) {
    auto placeholders = [](std::string_view text) {
        std::set<std::string> found;
        for (std::size_t at = 0; at + 1 < text.size(); ++at)
            if (text[at] == '%' && text[at + 1] >= '0' && text[at + 1] <= '9')
                found.insert(std::string(text.substr(at, 2)));
        return found;
    };
    for (int id = 0; id < static_cast<int>(Id::Count); ++id) {
        const auto text = [&](std::uint8_t language) { return lookup(static_cast<Id>(id), language); };
        for (std::uint8_t language : {LanguageCzech, LanguageEnglish, LanguageGerman}) {
            EXPECT_FALSE(text(language).empty()) << id;
            EXPECT_EQ(placeholders(text(language)), placeholders(text(LanguageEnglish))) << id;
        }
        if (!same.contains(static_cast<Id>(id))) {
            EXPECT_NE(text(LanguageCzech), text(LanguageGerman)) << "id " << id << " left untranslated";
        }
        EXPECT_EQ(text(9), text(LanguageCzech));
    }
    EXPECT_TRUE(lookup(Id::Count, LanguageEnglish).empty());
}

TEST(RestoreTexts, EveryIdHasThreeTextsWithTheSamePlaceholders) {
    CheckTextTable<RestoreTextId>(RestoreText);
}

TEST(LogTexts, EveryIdHasThreeTextsWithTheSamePlaceholders) {
    CheckTextTable<LogTextId>(LogText, {LogTextId::ChartSeconds, LogTextId::ChartMinutes});
}

} // namespace
} // namespace zevo
