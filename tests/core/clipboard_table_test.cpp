#include "params/clipboard_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lang/editing_texts.h"
#include "lang/language_tables.h"
#include "params/map_operations.h"

namespace zevo {
namespace {

// Servo 1 (index 0) with the default axis and map (2000 + 100 x column mV); servo 2 all zero.
DeviceImage Defaults(bool perCent = false) {
    DeviceImage image;
    image.PerCentMode(0) = perCent ? 1 : 0;
    SetDefaults(image);
    for (int k = 0; k < MapCells; ++k)
        image.MapCell(1, k) = 0;
    return image;
}

constexpr std::string_view Nbsp = "\xC2\xA0";

TEST(ClipboardTable, CopyWritesPlainNumbersInDisplayUnits) {
    DeviceImage image = Defaults();
    image.MapCell(0, 1, 1) = 255; // beyond the field: copied as the page shows it
    struct Row {
        MapSelection selection;
        bool withAxes;
        const char* expected;
    };
    const Row rows[] = {
        {{0, 0, 1, 2}, false, "2000\t2100\t2200\n2000\t5000\t2200\n"},
        {{0, 13, 0, 14}, true, "TP \\ RPM\t11000\t12000\n0%\t3300\t3400\n"},
        {{8, 0, 9, 0}, true, "TP \\ RPM\t0\n80%\t2000\n100%\t2000\n"},
        {{AxisRow, 9, AxisRow, 11}, false, "8000\t8500\t9000\n"},
        {{AxisRow, 9, AxisRow, 11}, true, "8000\t8500\t9000\n"}, // the axis is its own header
        {MapSelection::Empty(), true, ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CopyTable(image, 0, row.selection, row.withAxes), row.expected);
    EXPECT_EQ(CopyTable(image, 2, MapSelection{0, 0, 0, 0}, false), "");

    DeviceImage perCent = Defaults(true);
    EXPECT_EQ(CopyTable(perCent, 0, MapSelection{0, 0, 0, 2}, false), "40\t42\t44\n");
}

TEST(ClipboardTable, CopyThenPasteGivesTheSameBytes) {
    for (bool perCent : {false, true})
        for (bool withAxes : {false, true})
            for (const MapSelection& s :
                 {MapSelection::WholeMap(true), MapSelection{3, 4, 7, 12}, MapSelection::WholeAxis()}) {
                DeviceImage source = Defaults(perCent);
                for (int k = 0; k < MapCells; ++k)
                    source.MapCell(0, k) = static_cast<std::uint8_t>((k * 37) % (perCent ? 101 : 251));
                DeviceImage target = Defaults(perCent);
                for (int k = 0; k < MapCells; ++k)
                    target.MapCell(0, k) = 0;
                const std::string text = CopyTable(source, 0, s, withAxes);
                const PasteOutcome outcome = PasteTable(target, 0, s, true, text, ",", Nbsp);
                ASSERT_TRUE(outcome.Applied) << text;
                EXPECT_EQ(outcome.Changed, s);
                s.ForEachCell([&](int r, int c) {
                    EXPECT_EQ(ShownValue(target, 0, r, c), ShownValue(source, 0, r, c)) << r << "," << c;
                });
            }
}

struct PasteCase {
    const char* what;
    std::string text;
    MapSelection selection;
    bool tpEnabled = true;
    bool perCent = false;
    std::string_view decimal = ",";
    std::string_view group = Nbsp;
    // Expected: the cells written and their shown values row by row, or the refusal.
    MapSelection changed = MapSelection::Empty();
    std::vector<int> values = {};
    PasteError error = PasteError::None;
    int row = 0, column = 0;
    std::string cellText = {};
};

void Check(const PasteCase& t) {
    DeviceImage image = Defaults(t.perCent);
    const DeviceImage before = image;
    const PasteOutcome outcome = PasteTable(image, 0, t.selection, t.tpEnabled, t.text, t.decimal, t.group);
    EXPECT_EQ(outcome.Error, t.error) << t.what;
    EXPECT_EQ(outcome.Applied, t.error == PasteError::None) << t.what;
    if (t.error != PasteError::None) {
        EXPECT_EQ(image, before) << t.what << ": a refused paste changes nothing";
        EXPECT_EQ(outcome.Row, t.row) << t.what;
        EXPECT_EQ(outcome.Column, t.column) << t.what;
        EXPECT_EQ(outcome.Text, t.cellText) << t.what;
        return;
    }
    EXPECT_EQ(outcome.Changed, t.changed) << t.what;
    std::vector<int> values;
    t.changed.ForEachCell([&](int r, int c) { values.push_back(ShownValue(image, 0, r, c)); });
    EXPECT_EQ(values, t.values) << t.what;
    // Nothing outside the cells written, and nothing of the other servo.
    for (int r = AxisRow; r < MapRows; ++r)
        for (int c = 0; c < MapColumns; ++c) {
            if (!t.changed.Contains(r, c)) {
                EXPECT_EQ(ShownValue(image, 0, r, c), ShownValue(before, 0, r, c))
                    << t.what << " " << r << "," << c;
            }
        }
    for (int k = 0; k < MapCells; ++k)
        EXPECT_EQ(image.MapCell(1, k), 0) << t.what;
}

TEST(ClipboardTable, PastePlacesAndClipsBlocks) {
    const PasteCase cases[] = {
        {.what = "one line",
         .text = "2600\t2700\n",
         .selection = {2, 3, 2, 3},
         .changed = {2, 3, 2, 4},
         .values = {2600, 2700}},
        {.what = "CR LF and semicolons, clipped right",
         .text = "2600;2700;2800\r\n2900;3000;3100\r\n",
         .selection = {0, 13, 0, 13},
         .changed = {0, 13, 1, 14},
         .values = {2600, 2700, 2900, 3000}},
        {.what = "lone CR",
         .text = "100\r200",
         .selection = {0, 0, 0, 0},
         .changed = {0, 0, 1, 0},
         .values = {100, 200}},
        {.what = "clipped below at row 9",
         .text = "1000\n1100\n1200\n",
         .selection = {8, 0, 8, 0},
         .changed = {8, 0, 9, 0},
         .values = {1000, 1100}},
        {.what = "without TP Enable only row 0",
         .text = "1000\t1100\n1200\t1300\n",
         .selection = {0, 0, 0, 0},
         .tpEnabled = false,
         .changed = {0, 0, 0, 1},
         .values = {1000, 1100}},
        {.what = "a bad cell beyond the room is not read",
         .text = "1000\t1100\tx\ny\n",
         .selection = {9, 13, 9, 13},
         .changed = {9, 13, 9, 14},
         .values = {1000, 1100}},
        {.what = "one value fills the selection",
         .text = "2400\n",
         .selection = {1, 1, 2, 3},
         .changed = {1, 1, 2, 3},
         .values = {2400, 2400, 2400, 2400, 2400, 2400}},
        {.what = "one value fills only shown rows",
         .text = "2400",
         .selection = {0, 1, 5, 2},
         .tpEnabled = false,
         .changed = {0, 1, 0, 2},
         .values = {2400, 2400}},
        {.what = "block with axes: header and captions skipped",
         .text = "TP \\ RPM\t9000\t9500\n0%\t1000\t1100\n2%\t1200\t1300\n",
         .selection = {4, 0, 4, 0},
         .changed = {4, 0, 5, 1},
         .values = {1000, 1100, 1200, 1300}},
        {.what = "byte order mark and trailing blank lines",
         .text = "\xEF\xBB\xBF"
                 "1000\n\n  \n",
         .selection = {0, 0, 0, 0},
         .changed = {0, 0, 0, 0},
         .values = {1000}},
        {.what = "axis line: first line only",
         .text = "1000\t2000\n3000\t4000\n",
         .selection = {AxisRow, 0, AxisRow, 0},
         .changed = {AxisRow, 0, AxisRow, 1},
         .values = {1000, 2000}},
        {.what = "axis RPM cut to 100",
         .text = "6050",
         .selection = {AxisRow, 5, AxisRow, 5},
         .changed = {AxisRow, 5, AxisRow, 5},
         .values = {6000}},
    };
    for (const PasteCase& t : cases)
        Check(t);
}

TEST(ClipboardTable, PasteReadsTheLocalesNumbers) {
    const std::string_view comma = ",", dot = ".";
    const PasteCase cases[] = {
        {.what = "plain space groups",
         .text = "2 600",
         .selection = {0, 0, 0, 0},
         .changed = {0, 0, 0, 0},
         .values = {2600}},
        {.what = "no-break space",
         .text = "2\xC2\xA0"
                 "600",
         .selection = {0, 0, 0, 0},
         .changed = {0, 0, 0, 0},
         .values = {2600}},
        {.what = "narrow no-break space",
         .text = "2\xE2\x80\xAF"
                 "600",
         .selection = {0, 0, 0, 0},
         .changed = {0, 0, 0, 0},
         .values = {2600}},
        {.what = "Czech decimal, cut to the step",
         .text = "2612,5",
         .selection = {0, 0, 0, 0},
         .changed = {0, 0, 0, 0},
         .values = {2600}},
        {.what = "Czech per cent",
         .text = "2,5\t99,9",
         .selection = {0, 0, 0, 0},
         .perCent = true,
         .changed = {0, 0, 0, 1},
         .values = {2, 99}},
        {.what = "whole number between steps",
         .text = "2619",
         .selection = {0, 0, 0, 0},
         .changed = {0, 0, 0, 0},
         .values = {2600}},
        {.what = "English groups",
         .text = "2,600",
         .selection = {0, 0, 0, 0},
         .decimal = dot,
         .group = comma,
         .changed = {0, 0, 0, 0},
         .values = {2600}},
        {.what = "English decimal",
         .text = "2612.5",
         .selection = {0, 0, 0, 0},
         .decimal = dot,
         .group = comma,
         .changed = {0, 0, 0, 0},
         .values = {2600}},
        {.what = "German groups",
         .text = "2.600\t+4.980,0",
         .selection = {0, 0, 0, 0},
         .decimal = comma,
         .group = dot,
         .changed = {0, 0, 0, 1},
         .values = {2600, 4980}},
        {.what = "top of the range",
         .text = "5000\t5000,0",
         .selection = {0, 0, 0, 0},
         .changed = {0, 0, 0, 1},
         .values = {5000, 5000}},
    };
    for (const PasteCase& t : cases)
        Check(t);
}

TEST(ClipboardTable, PasteRefusesAndNamesTheFirstBadCell) {
    const std::string_view comma = ",", dot = ".";
    using E = PasteError;
    const PasteCase cases[] = {
        {.what = "\"2,5\" where the comma groups",
         .text = "2,5",
         .selection = {0, 0, 0, 0},
         .decimal = dot,
         .group = comma,
         .error = E::BadNumber,
         .cellText = "2,5"},
        {.what = "a dot in a Czech locale",
         .text = "2612.5",
         .selection = {0, 0, 0, 0},
         .error = E::BadNumber,
         .cellText = "2612.5"},
        {.what = "groups of two",
         .text = "26 00",
         .selection = {0, 0, 0, 0},
         .error = E::BadNumber,
         .cellText = "26 00"},
        {.what = "first bad cell in reading order",
         .text = "1000\t1100\nabc\t1e3\n",
         .selection = {2, 3, 2, 3},
         .error = E::BadNumber,
         .row = 3,
         .column = 3,
         .cellText = "abc"},
        {.what = "exponent",
         .text = "1e3",
         .selection = {0, 4, 0, 4},
         .error = E::BadNumber,
         .column = 4,
         .cellText = "1e3"},
        {.what = "per cent sign",
         .text = "50%",
         .selection = {0, 0, 0, 0},
         .perCent = true,
         .error = E::BadNumber,
         .cellText = "50%"},
        {.what = "decimal without digits",
         .text = "2600,",
         .selection = {0, 0, 0, 0},
         .error = E::BadNumber,
         .cellText = "2600,"},
        {.what = "negative",
         .text = "1000\t-20",
         .selection = {0, 0, 0, 0},
         .error = E::Negative,
         .column = 1,
         .cellText = "-20"},
        {.what = "minus sign",
         .text = "\xE2\x88\x92"
                 "20",
         .selection = {0, 0, 0, 0},
         .error = E::Negative,
         .cellText = "\xE2\x88\x92"
                     "20"},
        {.what = "empty cell",
         .text = "1000\t\t1200",
         .selection = {0, 0, 0, 0},
         .error = E::EmptyCell,
         .column = 1},
        {.what = "short line",
         .text = "1000\t1100\n1200\n",
         .selection = {0, 0, 0, 0},
         .error = E::EmptyCell,
         .row = 1,
         .column = 1},
        {.what = "blank line inside",
         .text = "1000\n\n1200\n",
         .selection = {0, 0, 0, 0},
         .error = E::EmptyCell,
         .row = 1},
        {.what = "mV into a per-cent map",
         .text = "2600",
         .selection = {0, 0, 0, 0},
         .perCent = true,
         .error = E::AboveRange,
         .cellText = "2600"},
        {.what = "just above 5000 mV",
         .text = "5000,5",
         .selection = {0, 0, 0, 0},
         .error = E::AboveRange,
         .cellText = "5000,5"},
        {.what = "axis above 25000 RPM",
         .text = "25100",
         .selection = {AxisRow, 2, AxisRow, 2},
         .error = E::AboveRange,
         .row = AxisRow,
         .column = 2,
         .cellText = "25100"},
        {.what = "huge number",
         .text = "99999999999999999999999",
         .selection = {0, 0, 0, 0},
         .error = E::AboveRange,
         .cellText = "99999999999999999999999"},
        {.what = "long text cut for the message",
         .text = "abcdefghijklmnopqrstuvwxyz0123",
         .selection = {0, 0, 0, 0},
         .error = E::BadNumber,
         .cellText = "abcdefghijklmnopqrstuvwx\xE2\x80\xA6"},
        {.what = "a lone header line",
         .text = "TP \\ RPM\t1000\t2000\n",
         .selection = {0, 0, 0, 0},
         .error = E::Empty},
        {.what = "header and captions only",
         .text = "TP \\ RPM\t1000\n0%\n",
         .selection = {0, 0, 0, 0},
         .error = E::Empty},
        {.what = "empty", .text = "", .selection = {0, 0, 0, 0}, .error = E::Empty},
        {.what = "blank lines", .text = "\n \r\n\n", .selection = {0, 0, 0, 0}, .error = E::Empty},
        {.what = "NUL byte",
         .text = std::string("12\0"
                             "34",
                             5),
         .selection = {0, 0, 0, 0},
         .error = E::NotText},
        {.what = "not UTF-8", .text = "12\xFF", .selection = {0, 0, 0, 0}, .error = E::NotText},
        {.what = "overlong UTF-8", .text = "\xC0\xB1", .selection = {0, 0, 0, 0}, .error = E::NotText},
        {.what = "control byte", .text = "12\x01", .selection = {0, 0, 0, 0}, .error = E::NotText},
        {.what = "hidden rows only",
         .text = "1000",
         .selection = {3, 0, 5, 5},
         .tpEnabled = false,
         .error = E::NoTarget},
        {.what = "too many lines",
         .text = std::string(1001, '\n').insert(0, "1"),
         .selection = {0, 0, 0, 0},
         .error = E::TooLarge},
        {.what = "too many columns",
         .text = std::string(1000, '\t'),
         .selection = {0, 0, 0, 0},
         .error = E::TooLarge},
        {.what = "over a megabyte",
         .text = std::string((1 << 20) + 1, '1'),
         .selection = {0, 0, 0, 0},
         .error = E::TooLarge},
    };
    for (const PasteCase& t : cases)
        Check(t);
}

TEST(ClipboardTable, HugeInputIsRefusedAtOnce) {
    // Ten megabytes of digits and tabs: refused before any cell is read.
    std::string text;
    text.reserve(10u << 20);
    while (text.size() < (10u << 20))
        text += "2600\t2700\n";
    DeviceImage image = Defaults();
    const DeviceImage before = image;
    const PasteOutcome outcome = PasteTable(image, 0, MapSelection{0, 0, 0, 0}, true, text, ",", Nbsp);
    EXPECT_EQ(outcome.Error, PasteError::TooLarge);
    EXPECT_EQ(image, before);

    // A long line just inside the limits reads only what lands.
    std::string wide = "1000";
    for (int i = 0; i < PasteLimits::CellsPerLine - 1; ++i)
        wide += "\t1000";
    const PasteOutcome clipped = PasteTable(image, 0, MapSelection{0, 0, 0, 0}, true, wide, ",", Nbsp);
    EXPECT_TRUE(clipped.Applied);
    EXPECT_EQ(clipped.Changed, (MapSelection{0, 0, 0, 14}));
}

// A paste says what the unit keeps otherwise than pasted, as typing does: how many values, the first
// of them as pasted and as stored.
TEST(ClipboardTable, PasteCountsTheValuesCutToTheStep) {
    struct Case {
        const char* What;
        std::string Text;
        bool PerCent;
        int Adjusted;
        std::string First;
        int Stored;
        std::string Message;
    };
    const Case cases[] = {
        {"two between steps", "2222\t2333", false, 2, "2222", 2220,
         "Cells pasted: 2; 2 not as pasted: 2222 is stored as 2,220 (the unit keeps steps of 20)"},
        {"on the steps", "2220\t2340", false, 0, "", 0, "Cells pasted: 2"},
        {"a decimal on a step", "2220,5\t2340", false, 1, "2220,5", 2220,
         "Cells pasted: 2; 1 not as pasted: 2220,5 is stored as 2,220 (the unit keeps steps of 20)"},
        {"the second only", "2220\t2339", false, 1, "2339", 2320,
         "Cells pasted: 2; 1 not as pasted: 2339 is stored as 2,320 (the unit keeps steps of 20)"},
        {"per cent takes whole numbers", "45\t46,5", true, 1, "46,5", 46,
         "Cells pasted: 2; 1 not as pasted: 46,5 is stored as 46 (the unit keeps steps of 1)"},
    };
    for (const Case& c : cases) {
        DeviceImage image = Defaults(c.PerCent);
        const PasteOutcome outcome = PasteTable(image, 0, MapSelection::Single(0, 0), true, c.Text, ",", Nbsp);
        ASSERT_TRUE(outcome.Applied) << c.What;
        EXPECT_EQ(outcome.Adjusted, c.Adjusted) << c.What;
        EXPECT_EQ(outcome.AdjustedText, c.First) << c.What;
        EXPECT_EQ(outcome.AdjustedStored, c.Stored) << c.What;
        EXPECT_EQ(PasteMessage(outcome, image, 0, LanguageEnglish, ","), c.Message) << c.What;
    }
}

} // namespace
} // namespace zevo
