#include "lang/language_tables.h"

#include <array>
#include <cstddef>

#include "lang/text_table.h"

namespace zevo {
namespace {

struct Texts {
    const char* czech;
    const char* english;
    const char* german;
};

// One row of a text table: its id (checked against its position at compile time) and its text in
// each language.
template <typename Id> using Row = TextRow<Id>;

// The texts are kept letter for letter as the unit's users know them, spelling slips, doubled blanks
// and trailing blanks included.
// "&" marks the accelerator letter of a menu item or button.
constexpr std::array<Row<CaptionId>, static_cast<std::size_t>(CaptionId::Count)> Captions{{
    {CaptionId::FormCaption, "Nastavování jednotky \"ZEVO\"", "Programming of \"ZEVO\" unit",
     "Adjustierung der \"ZEVO\" Steuereinheit"},
    {CaptionId::LabelSpojeni, "Není spojení s PC", "No connection with PC", "Keine Verbindung zum PC"},
    {CaptionId::MenuFile, "&Soubor", "&File", "&Datei"},
    {CaptionId::MenuNew, "&Nový", "&New", "&Neu"},
    {CaptionId::MenuOpen, "&Otevřít", "&Open", "&Öffnen"},
    {CaptionId::MenuOpenExeDir, "Otevřít z exe dir", "Open from exe dir", "Öffnen aus exe dir"},
    {CaptionId::MenuSaveExeDir, "Uložit do exe dir", "Save to exe dir", "Speichern in exe dir"},
    {CaptionId::MenuSave, "&Uložit", "&Save", "&Speichern"},
    {CaptionId::MenuPrint, "&Tisk", "&Print", "&Drucken"},
    {CaptionId::MenuExit, "&Konec", "E&xit", "&Beenden"},
    {CaptionId::MenuCom, "&Port", "&Com", "&COM-Anschluß"},
    {CaptionId::MenuDevice, "&Zapalování", "&Ignition", "&Zündung"},
    {CaptionId::MenuRead, "Čí&st", "&Read", "&Lesen"},
    {CaptionId::MenuVerify, "&Verifikace", "&Verify", "&Vergleichen"},
    {CaptionId::MenuProgram, "&Programovat", "&Program", "&Programmieren"},
    {CaptionId::MenuTools, "Pomůcky", "Tools", "Werkzeuge"},
    {CaptionId::MenuLanguage, "&Jazyk", "&Language", "&Sprache"},
    {CaptionId::MenuEnglish, "&Anglicky", "&English", "&Englisch"},
    {CaptionId::MenuGerman, "&Německy", "&German", "&Deutsch"},
    {CaptionId::MenuCzech, "Če&sky", "&Czech", "&Tschechisch"},
    {CaptionId::MenuHelp, "Nápověda", "&Help", "&Hilfe"},
    {CaptionId::MenuContens, "Obsah", "&Contents...", "&Inhalt..."},
    {CaptionId::MenuAbout, "&O programu...", "&About...", "&Über Programm..."},
    // The servo pages are "Servo" and their number in every language.
    {CaptionId::TabSheet_Servo1, "Servo 1", "Servo 1", "Servo 1"},
    {CaptionId::TabSheet_Servo2, "Servo 2", "Servo 2", "Servo 2"},
    {CaptionId::CheckBoxProgHned, "Programování po změně", "Programming after change",
     "Programmierung nach Änderung"},
    {CaptionId::LabelFile1, "Soubor:", "File:", "Datei:"},
    {CaptionId::CheckBoxServoEnable, "Servo povoleno", "Servo Enable", "Servo zulassen"},
    {CaptionId::TabSheet_Ruzne, "Různé", "Miscellaneous", "Verschiedene"},
    {CaptionId::CheckBoxProcenta, "Procenta", "per cent", "Prozent"},
    {CaptionId::LabelHystMv, "Hystereze [mV]", "Hysteresis [mV]", "Nachwirkung [mV]"},
    {CaptionId::LabelHystRpm, "Hystereze [RPM]", "Hysteresis [RPM]", "Nachwirkung [RPM]"},
    {CaptionId::RadioGroupPocPulsu, "Počet pulsů", "Number of pulses", "Pulszahl"},
    {CaptionId::MenuZpet, "Zpet", "Undo", "Zurück"},
    {CaptionId::MenuZnovu, "Znovu", "Redo", "Wieder"},
}};
static_assert(RowsInIdOrder(Captions));

// Only the English language hint has a short part ("Language", the tooltip) and a long part (the
// status bar), split at the '|'.
constexpr std::array<Row<HintId>, static_cast<std::size_t>(HintId::Count)> Hints{{
    {HintId::LabelVerze1, "Verze programu v zapalování", "Version of program in ignition",
     "Version des Programms der Zündung"},
    {HintId::LabelVerze2, "Datum zhotovení programu v zapalování", "Date of program in ignition",
     "Datum des Programms der Zündung"},
    {HintId::LabelVerze3, "Čas zhotovení programu v zapalování", "Time of program in ignition",
     "Programmierzeitpunkt der Zündung"},
    {HintId::MenuOpen, "Otevření souboru s parametry", "Open file with parametrs", "Kenndatendatei öffnen"},
    {HintId::MenuNew, "Nastavení výchozích parametrů", "Set default parametrs",
     "Neue Kenndatendaten erstellen"},
    {HintId::MenuSave, "Uložení parametrů do souboru", "Save parametrs to file",
     "Kenndaten in Datei speichern"},
    {HintId::MenuPrint, "Tisk parametrů", "Print parametrs", "Druck der Kenndaten"},
    {HintId::MenuProgram, "Programování nastavených parametrů do zapalování",
     "Programing  set parametrs to ignition", "Programmieren der Kenndaten auf die Zündbox"},
    {HintId::MenuVerify,
     "Ověření zda  nastavené parametry souhlasí s parametry naprogramovanými do zapalování",
     "Compare set parametrs  with parametrs of ignition", "Vergleich der Kenndaten mit Zündboxkenndaten"},
    {HintId::MenuRead, "Čtení parametrů ze zapalování", "Reading parametrs from ignition",
     "Kenndaten aus Zündung lesen"},
    {HintId::MenuExit, "Ukončení programu", "End of program", "Programm beenden"},
    {HintId::MenuLanguage, "Nastavení jazyka na angličtinu, češtinu nebo němčinu",
     "Language|Set English or German or French", "Sprache"},
    {HintId::CheckBoxProgHned, "Programování ihned po změně", "Programing at once after change",
     "Programmmierung gleich nach der Änderung"},
    {HintId::MenuCom, "Nastavení čísla serivého portu (Com) ", "Set number of com", "Com-Anschluß festlegen"},
}};
static_assert(RowsInIdOrder(Hints));

// MsgManualOpenError holds only the text in front of the manual's file name; the rest is composed.
constexpr std::array<Row<MsgId>, static_cast<std::size_t>(MsgId::Count)> Messages{{
    {MsgId::ManualFileName, "ZEVO_manual_cz.pdf", "ZEVO_manual_en.pdf", "ZEVO_manual_en.pdf"},
    {MsgId::MsgProgramError, "Chyba programování", "Program error!", "Programmierfehler!"},
    {MsgId::MsgVerifyError, "Chyba verifikace!", "Verify error!", "Vergleichsfehler"},
    {MsgId::MsgReadError, "Chyba čtení!", "Read error!", "Lesefehler"},
    {MsgId::MsgProgramDevice, "Programování:", "Program device:", "Programmieren:"},
    {MsgId::MsgUnmatchedVersion, "Neshodné verze proramu v PC a v zapalování!",
     "Unmatched version of PC and Ignition programs!",
     "Programm der Zündung ist nicht kompatibel mit dem Programm am PC!"},
    {MsgId::MsgVerify, "Verifikace:", "Verify:", "Vergleichen:"},
    {MsgId::MsgRead, "Čtení:", "Read:", "Lesen:"},
    {MsgId::MsgSaving, "Ukládání:", "Saving:", "Speicherung:"},
    {MsgId::MsgNumberOfProgramming,
     "Počet programování = ", "Number of Programing = ", "Programmierungsanzahl = "},
    {MsgId::MsgComOpeningError, "Chyba při otevírání portu Com!", "Com opening error!",
     "Falscher COM-Anschlußes!"},
    {MsgId::MsgOpenFileError, "Chyba při otevírání souboru!", "Open file error!",
     "Fehler beim öffnen der Datei!"},
    {MsgId::MsgDefaultSetting, "Chcete nastavit základní hodnoty?", "Do you want default setting?",
     "Wollen Sie Standardeinstellungen öffnen?"},
    {MsgId::MsgUnmatchedFileVersion, "Neshodná verze souboru *.ign!", "Unmatched version of *.ign file!",
     "Datendatei *.ign ist nicht kompatiebel!"},
    {MsgId::MsgManualOpenError, "Chyba při otevírání souboru ", "Error by opening file ",
     "Fehler beim öffnen der Datei "},
    {MsgId::MsgServoDesired, "Servo požadované", "Servo desired", "Servo Sollspannung"},
    {MsgId::MsgServoMeasured, "Servo měřené", "Servo measured", "Servo gemessene"},
}};
static_assert(RowsInIdOrder(Messages));

// Item 0 of the pulses-per-revolution group; items 1..12 are the number followed by the suffix.
constexpr Texts RadioItemZero{"1 za dvě otáčky", "1 per two revolution", "1 pro zwei Umdrehungen"};
constexpr Texts RadioItemSuffix{" za otáčku", " per one revolution", " pro eine Umdrehung"};

// The printout's header line ends in two blanks, before the date. German prints the English text.
constexpr std::array<Row<PrintTextId>, static_cast<std::size_t>(PrintTextId::Count)> PrintTexts{{
    {PrintTextId::Caption,
     "Datum a čas tisku:  ", "Date and Time of printing:  ", "Date and Time of printing:  "},
    {PrintTextId::NoPrinter, "Tisk se nezdařil: počítač nemá nastavenou výchozí tiskárnu.",
     "Printing failed: this computer has no default printer.",
     "Drucken fehlgeschlagen: auf diesem Rechner ist kein Standarddrucker eingerichtet."},
    {PrintTextId::PrinterFailed, "Tisk se nezdařil: tiskárna \"%1\" stránku nepřijala.",
     "Printing failed: the printer \"%1\" did not take the page.",
     "Drucken fehlgeschlagen: der Drucker \"%1\" hat die Seite nicht angenommen."},
    {PrintTextId::SaveAsPdf, "Uložit stránku místo toho do souboru PDF?",
     "Save the page as a PDF file instead?", "Die Seite stattdessen als PDF-Datei speichern?"},
    {PrintTextId::PdfWriteFailed, "Soubor PDF se nepodařilo zapsat.", "The PDF file could not be written.",
     "Die PDF-Datei konnte nicht geschrieben werden."},
}};
static_assert(RowsInIdOrder(PrintTexts));

constexpr std::array<Row<LinkNoteId>, static_cast<std::size_t>(LinkNoteId::Count)> LinkNotes{{
    {LinkNoteId::ReadWaitsForProgram, "Čtení počká, až skončí programování a jeho verifikace.",
     "The Read waits until the Program and its verify pass have ended.",
     "Das Lesen wartet, bis das Programmieren und sein Vergleich beendet sind."},
    {LinkNoteId::VerifyWaitsForProgram, "Verifikace počká, až skončí programování a jeho verifikace.",
     "The Verify waits until the Program and its verify pass have ended.",
     "Das Vergleichen wartet, bis das Programmieren und sein Vergleich beendet sind."},
    {LinkNoteId::MixedSetAfterFailedProgram,
     "Programování nedoběhlo: zapalování může mít část stránek nových a část starých. Naprogramujte sadu "
     "znovu.",
     "The Program did not finish: the unit may hold some new pages and some old ones. Program the set again.",
     "Das Programmieren wurde nicht beendet: die Zündung kann teils neue, teils alte Seiten enthalten. "
     "Bitte erneut programmieren."},
    {LinkNoteId::PortNotOpened, "%1 (%2) nelze otevřít: %3", "%1 (%2) could not be opened: %3",
     "%1 (%2) lässt sich nicht öffnen: %3"},
    {LinkNoteId::QueueDropped, "Čtení ani verifikace, o které jste mezitím požádali, se nespustily.",
     "The Read or Verify asked for meanwhile was not started.",
     "Das inzwischen angeforderte Lesen oder Vergleichen wurde nicht gestartet."},
}};
static_assert(RowsInIdOrder(LinkNotes));

constexpr std::array<Row<PortTextId>, static_cast<std::size_t>(PortTextId::Count)> PortTexts{{
    {PortTextId::MenuPortAssignments, "Přiřazení portů…", "Port assignments…", "Anschlusszuordnung…"},
    {PortTextId::Title, "Přiřazení portů", "Port assignments", "Anschlusszuordnung"},
    {PortTextId::ColumnCom, "COM", "COM", "COM"},
    {PortTextId::ColumnDevice, "Zařízení", "Device", "Gerät"},
    {PortTextId::ColumnById, "Stálý název (by-id)", "Stable name (by-id)", "Fester Name (by-id)"},
    {PortTextId::ColumnUsb, "USB výrobce:produkt", "USB vendor:product", "USB Hersteller:Produkt"},
    {PortTextId::ColumnMaker, "Výrobce a popis", "Maker and description", "Hersteller und Beschreibung"},
    {PortTextId::ColumnSerial, "Sériové číslo", "Serial number", "Seriennummer"},
    {PortTextId::LabelNumber, "Číslo:", "Number:", "Nummer:"},
    {PortTextId::LabelPath, "Cesta:", "Path:", "Pfad:"},
    {PortTextId::ButtonPin, "Přiřadit", "Pin", "Zuordnen"},
    {PortTextId::ButtonUnpin, "Zrušit přiřazení", "Remove pin", "Zuordnung aufheben"},
    {PortTextId::PinsCaption, "Přiřazení uložená v nastavení:", "Pins kept in the settings:",
     "In den Einstellungen gespeicherte Zuordnungen:"},
    {PortTextId::NotPresent, "(není připojen)", "(not present)", "(nicht vorhanden)"},
    {PortTextId::NotADevice, "%1 není sériové zařízení.", "%1 is not a serial device.",
     "%1 ist kein serielles Gerät."},
    {PortTextId::NotStorable, "Cestu %1 nelze uložit do nastavení.",
     "The path %1 cannot be kept in the settings.",
     "Der Pfad %1 lässt sich nicht in den Einstellungen speichern."},
    {PortTextId::ComHint, "%1: %2", "%1: %2", "%1: %2"},
    {PortTextId::ComHintNone, "%1: port není připojen", "%1: no port present",
     "%1: kein Anschluss vorhanden"},
}};
static_assert(RowsInIdOrder(PortTexts));

constexpr std::array<Row<ManualTextId>, static_cast<std::size_t>(ManualTextId::Count)> ManualTexts{{
    {ManualTextId::NoViewer,
     "nebyl nalezen žádný program, který otevírá soubory PDF; příručka je uložena v %1",
     "no program to open PDF files was found; the manual is at %1",
     "es wurde kein Programm zum Öffnen von PDF-Dateien gefunden; das Handbuch liegt unter %1"},
    {ManualTextId::Missing, "soubor %1 neexistuje", "the file %1 is not there",
     "die Datei %1 ist nicht vorhanden"},
    {ManualTextId::Refused, "prohlížeč PDF se nepodařilo spustit; příručka je uložena v %1",
     "the PDF viewer could not be started; the manual is at %1",
     "der PDF-Betrachter konnte nicht gestartet werden; das Handbuch liegt unter %1"},
}};
static_assert(RowsInIdOrder(ManualTexts));

constexpr Texts AboutCaption{"O programu ZEVO", "About ZEVO", "Über Programm ZEVO"};

template <typename T> std::string_view Pick(const T& row, std::uint8_t language) {
    switch (language) {
    case LanguageEnglish:
        return row.english;
    case LanguageGerman:
        return row.german;
    default:
        // An index from a hand-edited settings file may be anything; it reads as the start language.
        return row.czech;
    }
}

template <typename Id> std::string_view Lookup(const TextTable<Id>& rows, Id id, std::uint8_t language) {
    return TextIn(rows, id, language);
}

std::string LivePlaceholder(MsgId caption, int servoNumber, std::uint8_t language) {
    std::string text(Lookup(Messages, caption, language));
    text += ' ';
    text += std::to_string(servoNumber);
    text += " = --- mV";
    return text;
}

} // namespace

std::string_view GroupSeparator(std::uint8_t language) {
    switch (language) {
    case LanguageEnglish:
        return ",";
    case LanguageGerman:
        return ".";
    default:
        return "\u00A0";
    }
}

std::string_view CaptionText(CaptionId id, std::uint8_t language) {
    return Lookup(Captions, id, language);
}

std::string_view HintText(HintId id, std::uint8_t language) {
    return Lookup(Hints, id, language);
}

std::string MessageText(MsgId id, std::uint8_t language) {
    std::string text(Lookup(Messages, id, language));
    if (id == MsgId::MsgManualOpenError) {
        text += Lookup(Messages, MsgId::ManualFileName, language);
        text += " !";
    }
    return text;
}

std::string RadioItemText(int item, std::uint8_t language) {
    if (item == 0) {
        return std::string(Pick(RadioItemZero, language));
    }
    if (item < 1 || item >= RadioItemCount) {
        return {};
    }
    return std::to_string(item) + std::string(Pick(RadioItemSuffix, language));
}

std::string NumberOfProgrammingPlaceholder(std::uint8_t language) {
    // The message already ends in "= ", so the placeholder shows the equals sign twice; that is how
    // the label has always read before the first status frame.
    return std::string(Lookup(Messages, MsgId::MsgNumberOfProgramming, language)) + "= ---";
}

std::string ServoDesiredPlaceholder(int servoNumber, std::uint8_t language) {
    return LivePlaceholder(MsgId::MsgServoDesired, servoNumber, language);
}

std::string ServoMeasuredPlaceholder(int servoNumber, std::uint8_t language) {
    return LivePlaceholder(MsgId::MsgServoMeasured, servoNumber, language);
}

std::string_view PrintText(PrintTextId id, std::uint8_t language) {
    return Lookup(PrintTexts, id, language);
}

std::string LinkNoteText(LinkNoteId id, std::uint8_t language) {
    return std::string(Lookup(LinkNotes, id, language));
}

std::string_view PortText(PortTextId id, std::uint8_t language) {
    return Lookup(PortTexts, id, language);
}

std::string_view ManualText(ManualTextId id, std::uint8_t language) {
    return Lookup(ManualTexts, id, language);
}

std::optional<std::string_view> AboutCaptionText(std::uint8_t language) {
    if (language >= LanguageCount) {
        return std::nullopt;
    }
    return Pick(AboutCaption, language);
}

std::optional<std::uint8_t> LanguageFromArgument(std::string_view argument) {
    if (argument == "ENGLISH") {
        return LanguageEnglish;
    }
    if (argument == "CESKY") {
        return LanguageCzech;
    }
    if (argument == "DEUTSCH") {
        return LanguageGerman;
    }
    return std::nullopt;
}

} // namespace zevo
