#include "lang/file_texts.h"

#include "lang/text_table.h"

namespace zevo {
namespace {

constexpr TextTable<FileTextId> Texts{{
    {FileTextId::SettingsSetAside,
     "Soubor nastavení nešlo přečíst celý; byl odložen jako %1 a nastavení se ukládá do nového.",
     "The settings file could not be read whole; it was set aside as %1 and new settings are kept.",
     "Die Einstellungsdatei ließ sich nicht vollständig lesen; sie wurde als %1 beiseitegelegt, die "
     "Einstellungen werden neu angelegt."},
    {FileTextId::SettingsNotWritten, "Nastavení nešlo zapsat do %1. Soubor si ponechává předchozí obsah.",
     "The settings could not be written to %1. The file keeps what it held before.",
     "Die Einstellungen konnten nicht in %1 geschrieben werden. Die Datei behält ihren bisherigen Inhalt."},
    {FileTextId::SetNotKept,
     "Sadu na obrazovce nešlo zapsat do %1 pro příští spuštění; příští spuštění ukáže předchozí sadu.",
     "The set on screen could not be written to %1 for the next start; the next start shows the set from before.",
     "Der Satz auf dem Bildschirm konnte nicht für den nächsten Start in %1 geschrieben werden; der nächste "
     "Start zeigt den vorigen Satz."},
    {FileTextId::IgnDamaged,
     "Soubor je poškozený: bajt %1 (řádek %2) je řídicí znak %3, který žádný textový editor nezapíše.",
     "The file is damaged: byte %1 (line %2) is the control character %3, which no text editor writes.",
     "Die Datei ist beschädigt: Byte %1 (Zeile %2) ist das Steuerzeichen %3, das kein Texteditor schreibt."},
    {FileTextId::IgnUtf16,
     "Soubor je text v kódování UTF-16; soubor parametrů je prostý text (uložte jej jako ANSI nebo UTF-8).",
     "The file is UTF-16 text; a parameter file is plain text (save it as ANSI or UTF-8).",
     "Die Datei ist UTF-16-Text; eine Parameterdatei ist reiner Text (als ANSI oder UTF-8 speichern)."},
    {FileTextId::IgnTooLarge, "Soubor je větší než %1 MiB; soubor parametrů má několik kilobajtů.",
     "The file is larger than %1 MiB; a parameter file is a few kilobytes.",
     "Die Datei ist größer als %1 MiB; eine Parameterdatei hat wenige Kilobyte."},
}};
static_assert(RowsInIdOrder(Texts), "every file text at the position of its id");

} // namespace

std::string_view FileText(FileTextId id, std::uint8_t language) {
    return TextIn(Texts, id, language);
}

} // namespace zevo
