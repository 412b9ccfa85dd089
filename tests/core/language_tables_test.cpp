#include "lang/language_tables.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zevo {
namespace {

constexpr std::uint8_t Cz = LanguageCzech;
constexpr std::uint8_t En = LanguageEnglish;
constexpr std::uint8_t De = LanguageGerman;

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t code = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, code = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, code = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, code = lead & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

TEST(LanguageUtf8Check, RejectsBrokenSequences) {
    // The checker itself, so that the table test below cannot pass vacuously.
    EXPECT_TRUE(IsValidUtf8("Čí&st Zündung …"));
    EXPECT_FALSE(IsValidUtf8("\xC8"));         // truncated
    EXPECT_FALSE(IsValidUtf8("Z\xFCndung"));   // Latin-1 byte
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));     // overlong '/'
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")); // surrogate
}

// Every text of every table, with a name to report it by.
struct NamedText {
    std::string name;
    std::string text;
};

std::vector<NamedText> AllTexts(std::uint8_t language) {
    std::vector<NamedText> all;
    const std::string suffix = "/" + std::to_string(language);
    for (int id = 0; id < static_cast<int>(CaptionId::Count); ++id) {
        all.push_back({"caption " + std::to_string(id) + suffix,
                       std::string(CaptionText(static_cast<CaptionId>(id), language))});
    }
    for (int id = 0; id < static_cast<int>(HintId::Count); ++id) {
        all.push_back({"hint " + std::to_string(id) + suffix,
                       std::string(HintText(static_cast<HintId>(id), language))});
    }
    for (int id = 0; id < static_cast<int>(MsgId::Count); ++id) {
        all.push_back(
            {"message " + std::to_string(id) + suffix, MessageText(static_cast<MsgId>(id), language)});
    }
    for (int item = 0; item < RadioItemCount; ++item) {
        all.push_back({"radio item " + std::to_string(item) + suffix, RadioItemText(item, language)});
    }
    all.push_back({"programming placeholder" + suffix, NumberOfProgrammingPlaceholder(language)});
    for (int servo = 1; servo <= 2; ++servo) {
        all.push_back({"desired placeholder " + std::to_string(servo) + suffix,
                       ServoDesiredPlaceholder(servo, language)});
        all.push_back({"measured placeholder " + std::to_string(servo) + suffix,
                       ServoMeasuredPlaceholder(servo, language)});
    }
    return all;
}

TEST(LanguageTables, HoldOneEntryPerTranslatedControlAndMessage) {
    EXPECT_EQ(static_cast<int>(CaptionId::Count), 35);
    EXPECT_EQ(static_cast<int>(HintId::Count), 14);
    EXPECT_EQ(static_cast<int>(MsgId::Count), 17);
    EXPECT_EQ(RadioItemCount, 13);
}

TEST(LanguageTables, EveryTextIsPresentAndValidUtf8InEveryLanguage) {
    for (std::uint8_t language : {Cz, En, De}) {
        for (const auto& [name, text] : AllTexts(language)) {
            EXPECT_FALSE(text.empty()) << name;
            EXPECT_TRUE(IsValidUtf8(text)) << name;
        }
    }
}

TEST(LanguageTables, OnlyTheEnglishLanguageHintIsSplitIntoShortAndLongPart) {
    // A '|' anywhere else would cut a hint in two or put a stray bar into a caption.
    for (std::uint8_t language : {Cz, En, De}) {
        for (const auto& [name, text] : AllTexts(language)) {
            const bool expected =
                name == "hint " + std::to_string(static_cast<int>(HintId::MenuLanguage)) + "/1";
            EXPECT_EQ(text.find('|') != std::string::npos, expected) << name << ": " << text;
        }
    }
}

TEST(LanguageTables, CaptionsCarryAtMostOneAcceleratorMark) {
    for (std::uint8_t language : {Cz, En, De}) {
        for (int id = 0; id < static_cast<int>(CaptionId::Count); ++id) {
            const std::string_view text = CaptionText(static_cast<CaptionId>(id), language);
            const auto first = text.find('&');
            EXPECT_TRUE(first == std::string_view::npos ||
                        text.find('&', first + 1) == std::string_view::npos)
                << "caption " << id << "/" << int(language) << ": " << text;
        }
    }
}

struct ExpectedText {
    std::string_view what;
    std::function<std::string()> actual;
    std::string_view expected;
};

void CheckAll(const std::vector<ExpectedText>& cases) {
    for (const auto& c : cases) {
        EXPECT_EQ(c.actual(), c.expected) << c.what;
    }
}

std::function<std::string()> Caption(CaptionId id, std::uint8_t language) {
    return [=] { return std::string(CaptionText(id, language)); };
}
std::function<std::string()> Hint(HintId id, std::uint8_t language) {
    return [=] { return std::string(HintText(id, language)); };
}
std::function<std::string()> Message(MsgId id, std::uint8_t language) {
    return [=] { return MessageText(id, language); };
}

TEST(LanguageTables, CaptionsReadExactly) {
    CheckAll({
        {"window caption keeps its inner quotes, en", Caption(CaptionId::FormCaption, En),
         "Programming of \"ZEVO\" unit"},
        {"window caption, cz", Caption(CaptionId::FormCaption, Cz), "Nastavování jednotky \"ZEVO\""},
        {"window caption, de", Caption(CaptionId::FormCaption, De),
         "Adjustierung der \"ZEVO\" Steuereinheit"},
        {"connection label, de", Caption(CaptionId::LabelSpojeni, De), "Keine Verbindung zum PC"},
        {"exit accelerator inside the word", Caption(CaptionId::MenuExit, En), "E&xit"},
        {"port menu, de", Caption(CaptionId::MenuCom, De), "&COM-Anschluß"},
        {"device menu, en", Caption(CaptionId::MenuDevice, En), "&Ignition"},
        {"read accelerator after a diacritic", Caption(CaptionId::MenuRead, Cz), "Čí&st"},
        {"read button, en", Caption(CaptionId::MenuRead, En), "&Read"},
        {"verify button, en", Caption(CaptionId::MenuVerify, En), "&Verify"},
        {"program button, en", Caption(CaptionId::MenuProgram, En), "&Program"},
        {"czech menu item, cz", Caption(CaptionId::MenuCzech, Cz), "Če&sky"},
        {"help menu has no accelerator in czech", Caption(CaptionId::MenuHelp, Cz), "Nápověda"},
        {"contents, en", Caption(CaptionId::MenuContens, En), "&Contents..."},
        {"about, de", Caption(CaptionId::MenuAbout, De), "&Über Programm..."},
        {"servo page 1, cz", Caption(CaptionId::TabSheet_Servo1, Cz), "Servo 1"},
        {"servo page 1, en", Caption(CaptionId::TabSheet_Servo1, En), "Servo 1"},
        {"servo page 1, de", Caption(CaptionId::TabSheet_Servo1, De), "Servo 1"},
        {"servo page 2, cz", Caption(CaptionId::TabSheet_Servo2, Cz), "Servo 2"},
        {"servo page 2, en", Caption(CaptionId::TabSheet_Servo2, En), "Servo 2"},
        {"servo page 2, de", Caption(CaptionId::TabSheet_Servo2, De), "Servo 2"},
        {"servo enable, en", Caption(CaptionId::CheckBoxServoEnable, En), "Servo Enable"},
        {"page 0, cz", Caption(CaptionId::TabSheet_Ruzne, Cz), "Různé"},
        {"per cent, en", Caption(CaptionId::CheckBoxProcenta, En), "per cent"},
        {"radio group caption, cz", Caption(CaptionId::RadioGroupPocPulsu, Cz), "Počet pulsů"},
        {"undo without accent, cz", Caption(CaptionId::MenuZpet, Cz), "Zpet"},
        {"undo, de", Caption(CaptionId::MenuZpet, De), "Zurück"},
        {"redo, en", Caption(CaptionId::MenuZnovu, En), "Redo"},
    });
}

TEST(LanguageTables, HintsReadExactly) {
    CheckAll({
        {"first hint, en", Hint(HintId::LabelVerze1, En), "Version of program in ignition"},
        {"new, de", Hint(HintId::MenuNew, De), "Neue Kenndatendaten erstellen"},
        {"program, double blank", Hint(HintId::MenuProgram, En), "Programing  set parametrs to ignition"},
        {"verify, double blank, en", Hint(HintId::MenuVerify, En),
         "Compare set parametrs  with parametrs of ignition"},
        {"verify, double blank, cz", Hint(HintId::MenuVerify, Cz),
         "Ověření zda  nastavené parametry souhlasí s parametry naprogramovanými do zapalování"},
        {"language, en, short|long", Hint(HintId::MenuLanguage, En),
         "Language|Set English or German or French"},
        {"language, cz", Hint(HintId::MenuLanguage, Cz),
         "Nastavení jazyka na angličtinu, češtinu nebo němčinu"},
        {"language, de", Hint(HintId::MenuLanguage, De), "Sprache"},
        {"program at once, triple m, de", Hint(HintId::CheckBoxProgHned, De),
         "Programmmierung gleich nach der Änderung"},
        {"port, trailing blank, cz", Hint(HintId::MenuCom, Cz), "Nastavení čísla serivého portu (Com) "},
        {"port, no trailing blank, en", Hint(HintId::MenuCom, En), "Set number of com"},
    });
}

TEST(LanguageTables, MessagesReadExactly) {
    CheckAll({
        {"manual, cz", Message(MsgId::ManualFileName, Cz), "ZEVO_manual_cz.pdf"},
        {"manual, en", Message(MsgId::ManualFileName, En), "ZEVO_manual_en.pdf"},
        {"manual, de opens the english one", Message(MsgId::ManualFileName, De), "ZEVO_manual_en.pdf"},
        {"manual error, cz", Message(MsgId::MsgManualOpenError, Cz),
         "Chyba při otevírání souboru ZEVO_manual_cz.pdf !"},
        {"manual error, en", Message(MsgId::MsgManualOpenError, En),
         "Error by opening file ZEVO_manual_en.pdf !"},
        {"manual error, de", Message(MsgId::MsgManualOpenError, De),
         "Fehler beim öffnen der Datei ZEVO_manual_en.pdf !"},
        {"programming count, cz", Message(MsgId::MsgNumberOfProgramming, Cz), "Počet programování = "},
        {"programming count, en", Message(MsgId::MsgNumberOfProgramming, En), "Number of Programing = "},
        {"programming count, de", Message(MsgId::MsgNumberOfProgramming, De), "Programmierungsanzahl = "},
        {"program error without '!', cz", Message(MsgId::MsgProgramError, Cz), "Chyba programování"},
        {"program error, en", Message(MsgId::MsgProgramError, En), "Program error!"},
        {"verify error without '!', de", Message(MsgId::MsgVerifyError, De), "Vergleichsfehler"},
        {"unit version, cz", Message(MsgId::MsgUnmatchedVersion, Cz),
         "Neshodné verze proramu v PC a v zapalování!"},
        {"port error, de", Message(MsgId::MsgComOpeningError, De), "Falscher COM-Anschlußes!"},
        {"file version, de", Message(MsgId::MsgUnmatchedFileVersion, De),
         "Datendatei *.ign ist nicht kompatiebel!"},
        {"servo desired, de", Message(MsgId::MsgServoDesired, De), "Servo Sollspannung"},
        {"servo measured, cz", Message(MsgId::MsgServoMeasured, Cz), "Servo měřené"},
    });
}

TEST(LanguagePlaceholders, ReadExactlyInEveryLanguage) {
    CheckAll({
        {"count, cz", [] { return NumberOfProgrammingPlaceholder(Cz); }, "Počet programování = = ---"},
        {"count, en", [] { return NumberOfProgrammingPlaceholder(En); }, "Number of Programing = = ---"},
        {"count, de", [] { return NumberOfProgrammingPlaceholder(De); }, "Programmierungsanzahl = = ---"},
        {"desired 1, cz", [] { return ServoDesiredPlaceholder(1, Cz); }, "Servo požadované 1 = --- mV"},
        {"desired 2, en", [] { return ServoDesiredPlaceholder(2, En); }, "Servo desired 2 = --- mV"},
        {"desired 1, de", [] { return ServoDesiredPlaceholder(1, De); }, "Servo Sollspannung 1 = --- mV"},
        {"measured 2, cz", [] { return ServoMeasuredPlaceholder(2, Cz); }, "Servo měřené 2 = --- mV"},
        {"measured 1, en", [] { return ServoMeasuredPlaceholder(1, En); }, "Servo measured 1 = --- mV"},
        {"measured 2, de", [] { return ServoMeasuredPlaceholder(2, De); }, "Servo gemessene 2 = --- mV"},
    });
}

TEST(LanguageRadioItems, ReadExactlyAndStayInsideTheGroup) {
    CheckAll({
        {"item 0, cz", [] { return RadioItemText(0, Cz); }, "1 za dvě otáčky"},
        {"item 0, en", [] { return RadioItemText(0, En); }, "1 per two revolution"},
        {"item 0, de", [] { return RadioItemText(0, De); }, "1 pro zwei Umdrehungen"},
        {"item 1, cz", [] { return RadioItemText(1, Cz); }, "1 za otáčku"},
        {"item 1, en", [] { return RadioItemText(1, En); }, "1 per one revolution"},
        {"item 1, de", [] { return RadioItemText(1, De); }, "1 pro eine Umdrehung"},
        {"item 3, cz", [] { return RadioItemText(3, Cz); }, "3 za otáčku"},
        {"item 3, en", [] { return RadioItemText(3, En); }, "3 per one revolution"},
        {"item 3, de", [] { return RadioItemText(3, De); }, "3 pro eine Umdrehung"},
        {"item 12, cz", [] { return RadioItemText(12, Cz); }, "12 za otáčku"},
        {"item 12, en", [] { return RadioItemText(12, En); }, "12 per one revolution"},
        {"item 12, de", [] { return RadioItemText(12, De); }, "12 pro eine Umdrehung"},
        {"item -1", [] { return RadioItemText(-1, En); }, ""},
        {"item 13", [] { return RadioItemText(13, En); }, ""},
    });
}

TEST(LanguageIndex, AnyIndexBeyondGermanReadsCzech) {
    // A hand-edited settings file can hold any byte; it must still give a full, readable interface.
    for (std::uint8_t language : {std::uint8_t{3}, std::uint8_t{7}, std::uint8_t{255}}) {
        const auto czech = AllTexts(Cz);
        const auto other = AllTexts(language);
        ASSERT_EQ(czech.size(), other.size());
        for (std::size_t i = 0; i < czech.size(); ++i) {
            EXPECT_EQ(other[i].text, czech[i].text) << other[i].name;
        }
    }
    EXPECT_EQ(MessageText(MsgId::MsgManualOpenError, 3), "Chyba při otevírání souboru ZEVO_manual_cz.pdf !");
}

TEST(LanguageIndex, IdsOutsideTheTablesGiveNoText) {
    EXPECT_EQ(CaptionText(CaptionId::Count, En), "");
    EXPECT_EQ(HintText(HintId::Count, En), "");
    EXPECT_EQ(MessageText(MsgId::Count, En), "");
}

TEST(LanguageFromArgument, AcceptsOnlyTheExactUpperCaseWords) {
    const struct {
        std::string_view argument;
        std::optional<std::uint8_t> expected;
    } cases[] = {
        {"ENGLISH", En},           {"CESKY", Cz},
        {"DEUTSCH", De},           {"english", std::nullopt},
        {"English", std::nullopt}, {"ENGLISH ", std::nullopt},
        {" CESKY", std::nullopt},  {"ENGL", std::nullopt},
        {"GERMAN", std::nullopt},  {"CZECH", std::nullopt},
        {"ČESKY", std::nullopt},   {"", std::nullopt},
        {"1", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LanguageFromArgument(c.argument), c.expected) << '"' << c.argument << '"';
    }
}

} // namespace
} // namespace zevo
