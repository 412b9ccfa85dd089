#include "lang/editing_texts.h"

#include <array>
#include <cstddef>

#include "lang/language_tables.h"
#include "lang/text_table.h"
#include "params/conversions.h"
#include "params/map_operations.h"

namespace zevo {
namespace {

// "RPM" is the same word in every language of the tool, as on the page's own captions.
constexpr TextTable<EditingTextId> Texts{{
    {EditingTextId::MenuSetValue, "Nastavit hodnotu…", "Set value…", "Wert setzen…"},
    {EditingTextId::MenuAdd, "Přičíst…", "Add…", "Addieren…"},
    {EditingTextId::MenuScale, "Vynásobit v %…", "Scale by %…", "Prozentual skalieren…"},
    {EditingTextId::MenuInterpolateRpm, "Interpolovat podle otáček", "Interpolate across RPM",
     "Über die Drehzahl interpolieren"},
    {EditingTextId::MenuInterpolateThrottle, "Interpolovat podle polohy plynu", "Interpolate across throttle",
     "Über die Gasstellung interpolieren"},
    {EditingTextId::MenuInterpolateCorners, "Interpolovat mezi čtyřmi rohy",
     "Interpolate between the four corners", "Zwischen den vier Ecken interpolieren"},
    {EditingTextId::MenuSmooth, "Vyhladit", "Smooth", "Glätten"},
    {EditingTextId::MenuCopy, "Kopírovat", "Copy", "Kopieren"},
    {EditingTextId::MenuCopyWithAxes, "Kopírovat s osami", "Copy with axes", "Mit Achsen kopieren"},
    {EditingTextId::MenuPaste, "Vložit", "Paste", "Einfügen"},
    {EditingTextId::PromptSetValue, "Hodnota pro vybrané buňky [%1]:", "Value for the selected cells [%1]:",
     "Wert für die markierten Zellen [%1]:"},
    {EditingTextId::PromptAdd, "Přičíst k vybraným buňkám [%1]:", "Add to the selected cells [%1]:",
     "Zu den markierten Zellen addieren [%1]:"},
    {EditingTextId::PromptScale, "Násobek pro vybrané buňky [%] (100 = beze změny):",
     "Scale the selected cells by per cent (100 = unchanged):",
     "Markierte Zellen prozentual skalieren (100 = unverändert):"},
    {EditingTextId::FieldNotNumber, "\"%1\" není číslo; v poli zůstává %2",
     "\"%1\" is not a number; the field keeps %2", "\"%1\" ist keine Zahl; das Feld behält %2"},
    {EditingTextId::FieldOutOfRange, "%1 je mimo rozsah %2 až %3; v poli zůstává %4",
     "%1 is outside %2 to %3; the field keeps %4",
     "%1 liegt außerhalb des Bereichs %2 bis %3; das Feld behält %4"},
    {EditingTextId::FieldAdjusted, "%1 se uloží jako %2 (zapalování ukládá po krocích %3)",
     "%1 is stored as %2 (the unit keeps steps of %3)",
     "%1 wird als %2 gespeichert (die Zündung speichert in Schritten von %3)"},
    {EditingTextId::NoCellSelected, "Není vybrána žádná buňka", "No cell selected", "Keine Zelle markiert"},
    {EditingTextId::NeedTwoColumns, "Vyberte alespoň dva sloupce", "Select at least two columns",
     "Bitte mindestens zwei Spalten markieren"},
    {EditingTextId::NeedTwoRows, "Vyberte alespoň dva řádky", "Select at least two rows",
     "Bitte mindestens zwei Zeilen markieren"},
    {EditingTextId::NeedTwoCells, "Vyberte alespoň dvě buňky", "Select at least two cells",
     "Bitte mindestens zwei Zellen markieren"},
    {EditingTextId::CellInMap, "buňka %1 při %2 RPM", "the cell at %1 and %2 RPM",
     "die Zelle bei %1 und %2 RPM"},
    {EditingTextId::CellOnAxis, "bod osy otáček %1", "RPM point %1", "Drehzahlpunkt %1"},
    {EditingTextId::PasteNoTarget, "Nic nevloženo: není vybrána žádná buňka",
     "Nothing pasted: no cell selected", "Nichts eingefügt: keine Zelle markiert"},
    {EditingTextId::PasteNotText, "Nic nevloženo: schránka neobsahuje text",
     "Nothing pasted: the clipboard holds no text",
     "Nichts eingefügt: die Zwischenablage enthält keinen Text"},
    {EditingTextId::PasteTooLarge, "Nic nevloženo: tabulka ve schránce je mnohem větší než mapa",
     "Nothing pasted: the table in the clipboard is far larger than a map",
     "Nichts eingefügt: die Tabelle in der Zwischenablage ist viel größer als ein Kennfeld"},
    {EditingTextId::PasteEmpty, "Nic nevloženo: schránka neobsahuje žádné hodnoty",
     "Nothing pasted: the clipboard holds no values",
     "Nichts eingefügt: die Zwischenablage enthält keine Werte"},
    {EditingTextId::PasteEmptyCell, "Nic nevloženo: %1 nemá hodnotu", "Nothing pasted: %1 is empty",
     "Nichts eingefügt: %1 ist leer"},
    {EditingTextId::PasteBadNumber, "Nic nevloženo: %1 obsahuje \"%2\", což není číslo",
     "Nothing pasted: %1 holds \"%2\", which is not a number",
     "Nichts eingefügt: %1 enthält \"%2\", das ist keine Zahl"},
    {EditingTextId::PasteNegative, "Nic nevloženo: %1 obsahuje %2; hodnoty nemohou být záporné",
     "Nothing pasted: %1 holds %2; values cannot be negative",
     "Nichts eingefügt: %1 enthält %2; Werte dürfen nicht negativ sein"},
    {EditingTextId::PasteAboveRange, "Nic nevloženo: %1 obsahuje %2, nejvyšší možná hodnota je %3",
     "Nothing pasted: %1 holds %2, above the highest value %3",
     "Nichts eingefügt: %1 enthält %2, mehr als der Höchstwert %3"},
    {EditingTextId::PasteDone, "Vloženo buněk: %1", "Cells pasted: %1", "Eingefügte Zellen: %1"},
    {EditingTextId::PasteAdjusted,
     "Vloženo buněk: %1; %2 z nich jinak, než byly vloženy: %3 se uloží jako %4 (zapalování ukládá po krocích %5)",
     "Cells pasted: %1; %2 not as pasted: %3 is stored as %4 (the unit keeps steps of %5)",
     "Eingefügte Zellen: %1; %2 davon anders als eingefügt: %3 wird als %4 gespeichert (die Zündung speichert "
     "in Schritten von %5)"},
    {EditingTextId::MenuView, "Zobrazit", "View", "Ansicht"},
    {EditingTextId::MenuColourByValue, "Barvy podle hodnot", "Colour by value", "Nach Wert einfärben"},
    {EditingTextId::MenuTrail, "Stopa motoru", "Engine trail", "Spur des Betriebspunkts"},
    {EditingTextId::MenuJumpToLive, "Přejít na živou buňku", "Go to the live cell",
     "Zum Betriebspunkt springen"},
    {EditingTextId::MenuServoCurves, "Křivky serv…", "Servo curves…", "Servokurven…"},
    {EditingTextId::LiveCellOnServoPages, "Živá buňka je jen na záložkách serv",
     "The live cell is shown on the servo pages",
     "Der Betriebspunkt wird nur auf den Servo-Seiten angezeigt"},
    {EditingTextId::CurvesTitle, "Křivky serv – servo %1", "Servo curves – servo %1", "Servokurven – Servo %1"},
    {EditingTextId::CurvesRpm, "Otáčky [RPM]", "Engine speed [RPM]", "Drehzahl [RPM]"},
    {EditingTextId::CurvesTarget, "Požadovaná poloha [%1]", "Target [%1]", "Sollwert [%1]"},
    {EditingTextId::CurvesRow, "Plyn %1 %", "Throttle %1 %", "Gas %1 %"},
    {EditingTextId::CurvesSelected, "Vybrané buňky", "Selected cells", "Markierte Zellen"},
    {EditingTextId::CurvesLive, "Aktuální pracovní bod", "Engine now", "Aktueller Betriebspunkt"},
    {EditingTextId::CurvesSave, "Uložit jako PNG…", "Save as PNG…", "Als PNG speichern…"},
    {EditingTextId::CurvesSaved, "Graf uložen: %1", "Chart saved: %1", "Diagramm gespeichert: %1"},
    {EditingTextId::CurvesNotSaved, "Graf se nepodařilo uložit do %1", "The chart could not be saved to %1",
     "Das Diagramm konnte nicht unter %1 gespeichert werden"},
}};
static_assert(RowsInIdOrder(Texts));

EditingTextId PasteTextId(PasteError error) {
    switch (error) {
    case PasteError::None:
        return EditingTextId::PasteDone;
    case PasteError::NoTarget:
        return EditingTextId::PasteNoTarget;
    case PasteError::NotText:
        return EditingTextId::PasteNotText;
    case PasteError::TooLarge:
        return EditingTextId::PasteTooLarge;
    case PasteError::Empty:
        return EditingTextId::PasteEmpty;
    case PasteError::EmptyCell:
        return EditingTextId::PasteEmptyCell;
    case PasteError::BadNumber:
        return EditingTextId::PasteBadNumber;
    case PasteError::Negative:
        return EditingTextId::PasteNegative;
    case PasteError::AboveRange:
        return EditingTextId::PasteAboveRange;
    }
    return EditingTextId::PasteNoTarget;
}

std::string WithUnit(const EditorRange& range, bool axis) {
    std::string text = std::to_string(range.Max);
    if (axis)
        return text + " RPM";
    return text + (range.Max == MapPerCentRange.Max ? "%" : " mV");
}

} // namespace

std::string_view EditingText(EditingTextId id, std::uint8_t language) {
    return TextIn(Texts, id, language);
}

std::string FillPlaceholders(std::string_view text, std::initializer_list<std::string_view> arguments) {
    std::string out;
    out.reserve(text.size() + 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const auto number = static_cast<std::size_t>(next - '0');
        if (text[i] == '%' && next >= '1' && next <= '9' && number <= arguments.size()) {
            out += *(arguments.begin() + (number - 1));
            ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

std::string PasteMessage(const PasteOutcome& outcome, const DeviceImage& image, int servo,
                         std::uint8_t language, std::string_view groupSeparator) {
    if (outcome.Applied && outcome.Adjusted > 0) {
        std::string stored = std::to_string(outcome.AdjustedStored);
        for (auto at = static_cast<std::ptrdiff_t>(stored.size()) - 3; at > 0; at -= 3)
            stored.insert(static_cast<std::size_t>(at), groupSeparator);
        return FillPlaceholders(EditingText(EditingTextId::PasteAdjusted, language),
                                {std::to_string(outcome.Changed.Cells()), std::to_string(outcome.Adjusted),
                                 outcome.AdjustedText, stored, std::to_string(outcome.Step)});
    }
    if (outcome.Applied)
        return FillPlaceholders(EditingText(EditingTextId::PasteDone, language),
                                {std::to_string(outcome.Changed.Cells())});
    const std::string_view text = EditingText(PasteTextId(outcome.Error), language);
    const bool validCell = servo >= 0 && servo < ServoCount && outcome.Row >= AxisRow &&
                           outcome.Row < MapRows && outcome.Column >= 0 && outcome.Column < MapColumns;
    if (!validCell)
        return FillPlaceholders(text, {});
    const bool axis = outcome.Row == AxisRow;
    const std::string cell =
        axis ? FillPlaceholders(EditingText(EditingTextId::CellOnAxis, language),
                                {std::to_string(outcome.Column + 1)})
             : FillPlaceholders(EditingText(EditingTextId::CellInMap, language),
                                {RowCaption(outcome.Row),
                                 std::to_string(ShownValue(image, servo, AxisRow, outcome.Column))});
    const std::string highest =
        WithUnit(SelectionRange(image, servo, MapSelection::Single(outcome.Row, outcome.Column)), axis);
    return FillPlaceholders(text, {cell, outcome.Text, highest});
}

} // namespace zevo
