#include "lang/restore_texts.h"

#include <array>
#include <cstddef>

#include "lang/language_tables.h"
#include "lang/text_table.h"

namespace zevo {
namespace {

constexpr TextTable<RestoreTextId> Texts{{
    {RestoreTextId::DifferenceLine, "%1: zde %2, tam %3", "%1: %2 here, %3 there", "%1: hier %2, dort %3"},
    {RestoreTextId::Tps0, "Snímač TP při 0 %", "TP sensor at 0 %", "TP-Sensor bei 0 %"},
    {RestoreTextId::Tps100, "Snímač TP při 100 %", "TP sensor at 100 %", "TP-Sensor bei 100 %"},
    {RestoreTextId::On, "zapnuto", "on", "ein"},
    {RestoreTextId::Off, "vypnuto", "off", "aus"},
    {RestoreTextId::StateInUnit, "V zapalování", "In unit", "In der Zündung"},
    {RestoreTextId::StateDiffers, "Liší se od zapalování", "Differs from unit", "Weicht von der Zündung ab"},
    {RestoreTextId::StateUnknown, "Zapalování neznámé", "Unit not known", "Zündung unbekannt"},
    {RestoreTextId::StateInUnitTip, "Sada na obrazovce je ta, která byla naposledy načtena ze zapalování nebo do něj naprogramována",
     "The set on screen is the one last read from or programmed into the unit",
     "Der Satz auf dem Bildschirm ist der zuletzt aus der Zündung gelesene oder in sie programmierte"},
    {RestoreTextId::StateDiffersTip, "Sada na obrazovce se liší od té, která byla naposledy načtena ze zapalování nebo do něj naprogramována",
     "The set on screen differs from the one last read from or programmed into the unit",
     "Der Satz auf dem Bildschirm weicht vom zuletzt aus der Zündung gelesenen oder in sie programmierten ab"},
    {RestoreTextId::StateUnknownTip, "Ze zapalování, které je připojeno, nebyla dosud načtena ani do něj naprogramována žádná sada",
     "No set has been read from or programmed into the connected unit yet",
     "Aus der angeschlossenen Zündung wurde noch kein Satz gelesen oder in sie programmiert"},
    {RestoreTextId::BackupsNotWritten, "Body obnovení nelze ukládat do %1: %2", "Restore points cannot be kept in %1: %2",
     "Wiederherstellungspunkte können nicht in %1 abgelegt werden: %2"},
    {RestoreTextId::MenuRestorePoints, "Body obnovení…", "Restore points…", "Wiederherstellungspunkte…"},
    {RestoreTextId::RestoreTitle, "Body obnovení", "Restore points", "Wiederherstellungspunkte"},
    {RestoreTextId::RestoreFolder, "Uloženo v %1, posledních 500.", "Kept in %1, the newest 500.",
     "Abgelegt in %1, die neuesten 500."},
    {RestoreTextId::ColumnEvent, "Událost", "Event", "Ereignis"},
    {RestoreTextId::ColumnTime, "Čas", "Time", "Zeit"},
    {RestoreTextId::ColumnUnit, "Zapalování", "Unit", "Zündung"},
    {RestoreTextId::ColumnFile, "Soubor", "File", "Datei"},
    {RestoreTextId::EventRead, "načteno ze zapalování", "read from the unit", "aus der Zündung gelesen"},
    {RestoreTextId::EventProgrammed, "naprogramováno do zapalování", "programmed into the unit",
     "in die Zündung programmiert"},
    {RestoreTextId::EventOpened, "otevřeno", "opened", "geöffnet"},
    {RestoreTextId::EventBeforeNew, "před Nový", "before New", "vor Neu"},
    {RestoreTextId::EventClosed, "při zavření", "at close", "beim Schließen"},
    {RestoreTextId::Unreadable, "nečitelné", "unreadable", "unlesbar"},
    // German "Vergleichen" is the design's Verify (F8); what we added says "Unterschiede" instead, so
    // a German tuner never takes a listing of differences for the unit's verify pass.
    {RestoreTextId::ButtonCompare, "Porovnat", "Compare", "Unterschiede zeigen"},
    {RestoreTextId::ButtonRestore, "Obnovit", "Restore", "Wiederherstellen"},
    {RestoreTextId::MenuCompareUnit, "Porovnat se zapalováním", "Compare with unit", "Unterschiede zur Zündung"},
    {RestoreTextId::MenuCompareFile, "Porovnat se souborem…", "Compare with file…", "Unterschiede zu einer Datei…"},
    {RestoreTextId::DifferenceTitle, "Rozdíly oproti: %1", "Differences with %1", "Unterschiede zu %1"},
    {RestoreTextId::TheUnit, "zapalování", "the unit", "der Zündung"},
    {RestoreTextId::DifferenceCount, "Rozdílů: %1 (lišící se buňky jsou na záložkách serv růžové)",
     "Differences: %1 (the differing cells are marked pink on the servo pages)",
     "Unterschiede: %1 (die abweichenden Zellen sind auf den Servo-Seiten rosa markiert)"},
    {RestoreTextId::NoDifference, "Žádné rozdíly: sada na obrazovce je stejná", "No differences: the set on screen is the same",
     "Keine Unterschiede: der Satz auf dem Bildschirm ist gleich"},
    {RestoreTextId::TakeAll, "Převzít vše odtud", "Take all theirs", "Alle übernehmen"},
    {RestoreTextId::TakeSelected, "Převzít vybrané", "Take the selected", "Markierte übernehmen"},
    {RestoreTextId::ButtonClose, "Zavřít", "Close", "Schließen"},
    {RestoreTextId::VerifyOffer, "Zapalování obsahuje jinou sadu: F12 ukáže, kde se liší",
     "The unit holds another set: F12 shows where it differs", "Die Zündung enthält einen anderen Satz: F12 zeigt, wo er abweicht"},
    {RestoreTextId::SaveFirst, "Sada na obrazovce není uložena ani v zapalování. Uložit ji nejdřív?",
     "The set on screen is neither saved nor in the unit. Save it first?",
     "Der Satz auf dem Bildschirm ist weder gespeichert noch in der Zündung. Zuerst speichern?"},
    {RestoreTextId::LinkBusy, "Probíhá přenos: porovnejte, až skončí", "A transfer is running: compare when it has ended",
     "Eine Übertragung läuft: Unterschiede erst nach ihrem Ende anzeigen"},
    {RestoreTextId::NotInUnit, "Není v zapalování: F9 ji naprogramuje", "Not in the unit: F9 programs it",
     "Nicht in der Zündung: F9 programmiert ihn"},
    {RestoreTextId::NotInUnitTip,
     "Programování sady z obrazovky do zapalování nedoběhlo. S volbou „Programování po změně“ se sada pošle "
     "sama, jakmile se ozve totéž zapalování.",
     "A Program of the set on screen did not reach the unit. With \"Programming after change\" ticked it is sent "
     "by itself as soon as the same unit answers again.",
     "Das Programmieren des Satzes auf dem Bildschirm hat die Zündung nicht erreicht. Mit „Programmierung nach "
     "Änderung“ wird er von selbst gesendet, sobald sich dieselbe Zündung wieder meldet."},
    {RestoreTextId::MenuExportReport, "Exportovat protokol…", "Export report…", "Bericht exportieren…"},
    {RestoreTextId::ReportTitle, "Sada parametrů ZEVO", "ZEVO parameter set", "ZEVO-Parametersatz"},
    {RestoreTextId::ReportDate, "Vytvořeno", "Made", "Erstellt"},
    {RestoreTextId::ReportSaved, "Protokol uložen: %1", "Report written: %1", "Bericht geschrieben: %1"},
    {RestoreTextId::ReportNotSaved, "Protokol se nepodařilo uložit do %1", "The report could not be written to %1",
     "Der Bericht konnte nicht unter %1 gespeichert werden"},
}};
static_assert(RowsInIdOrder(Texts), "one row per RestoreTextId, in id order");

} // namespace

std::string_view RestoreText(RestoreTextId id, std::uint8_t language) {
    return TextIn(Texts, id, language);
}

} // namespace zevo
