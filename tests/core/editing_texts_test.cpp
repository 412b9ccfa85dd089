#include "lang/editing_texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "lang/language_tables.h"

namespace zevo {
namespace {

// The placeholder numbers a text carries: "%1 ... %3" gives {1, 3}.
std::set<int> Placeholders(std::string_view text) {
    std::set<int> found;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9')
            found.insert(text[i + 1] - '0');
    return found;
}

TEST(EditingTexts, EveryIdHasThreeTextsWithTheSamePlaceholders) {
    for (int id = 0; id < static_cast<int>(EditingTextId::Count); ++id) {
        const auto text = [&](std::uint8_t language) {
            return EditingText(static_cast<EditingTextId>(id), language);
        };
        const std::set<int> english = Placeholders(text(LanguageEnglish));
        for (std::uint8_t language : {LanguageCzech, LanguageEnglish, LanguageGerman}) {
            EXPECT_FALSE(text(language).empty()) << "id " << id << " language " << int(language);
            EXPECT_EQ(Placeholders(text(language)), english) << "id " << id << " language " << int(language);
            EXPECT_EQ(text(language).find('&'), std::string_view::npos) << "id " << id;
        }
        // Placeholders are numbered from 1 without gaps, as the window fills them.
        int expected = 1;
        for (int n : english)
            EXPECT_EQ(n, expected++) << "id " << id;
        EXPECT_NE(text(LanguageCzech), text(LanguageGerman)) << "id " << id << " left untranslated";
        EXPECT_EQ(text(7), text(LanguageCzech)) << "an unknown language reads Czech";
    }
    EXPECT_TRUE(EditingText(EditingTextId::Count, LanguageEnglish).empty());
}

TEST(EditingTexts, FillPlaceholders) {
    struct Row {
        const char* text;
        const char* expected;
    };
    const Row rows[] = {
        {"%1 is stored as %2 (steps of %3)", "a is stored as b (steps of c)"},
        {"%2 before %1", "b before a"},
        {"Scale by %…", "Scale by %…"}, // not a placeholder
        {"%4 has no argument", "%4 has no argument"},
        {"100%", "100%"},
        {"%1%2", "ab"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FillPlaceholders(row.text, {"a", "b", "c"}), row.expected) << row.text;
    EXPECT_EQ(FillPlaceholders("%1", {"%2"}), "%2") << "an argument is not filled again";
}

TEST(EditingTexts, PasteMessagesNameTheCell) {
    DeviceImage image;
    SetDefaults(image);
    image.PerCentMode(1) = 1;
    struct Row {
        int servo;
        PasteError error;
        int row, column;
        const char* text;
        std::uint8_t language;
        const char* expected;
    };
    const Row rows[] = {
        {0, PasteError::BadNumber, 4, 3, "x", LanguageEnglish,
         "Nothing pasted: the cell at 20% and 3000 RPM holds \"x\", which is not a number"},
        {0, PasteError::BadNumber, 4, 3, "x", LanguageCzech,
         "Nic nevloženo: buňka 20% při 3000 RPM obsahuje \"x\", což není číslo"},
        {0, PasteError::EmptyCell, AxisRow, 3, "", LanguageGerman,
         "Nichts eingefügt: Drehzahlpunkt 4 ist leer"},
        {0, PasteError::AboveRange, 0, 0, "6000", LanguageEnglish,
         "Nothing pasted: the cell at 0% and 0 RPM holds 6000, above the highest value 5000 mV"},
        {1, PasteError::AboveRange, 9, 14, "2600", LanguageEnglish,
         "Nothing pasted: the cell at 100% and 12000 RPM holds 2600, above the highest value 100%"},
        {0, PasteError::AboveRange, AxisRow, 0, "30000", LanguageEnglish,
         "Nothing pasted: RPM point 1 holds 30000, above the highest value 25000 RPM"},
        {0, PasteError::TooLarge, 0, 0, "", LanguageEnglish,
         "Nothing pasted: the table in the clipboard is far larger than a map"},
    };
    for (const Row& row : rows) {
        PasteOutcome outcome;
        outcome.Error = row.error;
        outcome.Row = row.row;
        outcome.Column = row.column;
        outcome.Text = row.text;
        EXPECT_EQ(PasteMessage(outcome, image, row.servo, row.language), row.expected);
    }
    PasteOutcome done;
    done.Applied = true;
    done.Changed = MapSelection{0, 0, 1, 2};
    EXPECT_EQ(PasteMessage(done, image, 0, LanguageEnglish), "Cells pasted: 6");
}

} // namespace
} // namespace zevo
