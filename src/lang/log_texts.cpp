#include "lang/log_texts.h"

#include "lang/text_table.h"

namespace zevo {
namespace {

constexpr TextTable<LogTextId> Texts{{
    {LogTextId::MenuLog, "Záznam jízdy", "Ride log", "Fahrtaufzeichnung"},
    {LogTextId::MenuStartRecording, "Spustit záznam…", "Start recording…", "Aufzeichnung starten…"},
    {LogTextId::MenuStopRecording, "Zastavit záznam", "Stop recording", "Aufzeichnung beenden"},
    {LogTextId::MenuMark, "Vložit značku", "Set marker", "Markierung setzen"},
    {LogTextId::MenuOpenLog, "Otevřít záznam…", "Open log…", "Aufzeichnung öffnen…"},
    {LogTextId::MenuCloseLog, "Zavřít záznam", "Close log", "Aufzeichnung schließen"},
    {LogTextId::MenuCellTimes, "Zobrazit čas v buňkách", "Show log time per cell", "Zeit je Zelle zeigen"},
    {LogTextId::MenuCopyCellTimes, "Kopírovat čas v buňkách", "Copy log time per cell", "Zeit je Zelle kopieren"},
    {LogTextId::MenuLiveChart, "Živý graf…", "Live chart…", "Live-Diagramm…"},
    {LogTextId::LogFilter, "Záznamy jízdy (*.csv)", "Ride logs (*.csv)", "Fahrtaufzeichnungen (*.csv)"},
    {LogTextId::RecordingSign, "REC %1 · %2 řádků", "REC %1 · %2 rows", "REC %1 · %2 Zeilen"},
    {LogTextId::RecordingStarted, "Záznam do %1", "Recording into %1", "Aufzeichnung nach %1"},
    {LogTextId::RecordingSaved, "Záznam uložen: %1 (%2 řádků)", "Recording saved: %1 (%2 rows)",
     "Aufzeichnung gespeichert: %1 (%2 Zeilen)"},
    {LogTextId::RecordingFailed, "Záznam zastaven: do %1 nelze zapisovat. Dříve zapsané řádky (%2) zůstávají.",
     "Recording stopped: %1 could not be written. The %2 rows written before are kept.",
     "Aufzeichnung beendet: %1 konnte nicht geschrieben werden. Die %2 zuvor geschriebenen Zeilen bleiben erhalten."},
    {LogTextId::RecordingNotStarted, "Záznam nelze spustit v %1", "The recording could not be started in %1",
     "Die Aufzeichnung konnte in %1 nicht gestartet werden"},
    {LogTextId::MarkerSet, "Značka %1 vložena", "Marker %1 set", "Markierung %1 gesetzt"},
    {LogTextId::MarkerNeedsRecording, "Značky se vkládají během záznamu (Zobrazit > Záznam jízdy > Spustit záznam…)",
     "Markers are set while recording (View > Ride log > Start recording…)",
     "Markierungen werden während der Aufzeichnung gesetzt (Ansicht > Fahrtaufzeichnung > Aufzeichnung starten…)"},
    {LogTextId::ReplaySign, "PŘEHRÁVÁNÍ %1 / %2", "REPLAY %1 / %2", "WIEDERGABE %1 / %2"},
    {LogTextId::ReplaySignTip,
     "Hodnoty a živá buňka ukazují záznam, ne zapalování; po zavření záznamu se ukáže opět zapalování",
     "The values and the live cell show the log, not the unit; close the log to see the unit again",
     "Werte und Live-Zelle zeigen die Aufzeichnung, nicht die Zündung; nach dem Schließen der Aufzeichnung "
     "erscheint wieder die Zündung"},
    {LogTextId::ReplayTitle, "Přehrávání – %1", "Replay – %1", "Wiedergabe – %1"},
    {LogTextId::ReplayPlay, "Přehrát", "Play", "Abspielen"},
    {LogTextId::ReplayPause, "Pozastavit", "Pause", "Anhalten"},
    {LogTextId::ReplayStepBack, "Předchozí snímek", "Previous frame", "Vorheriger Datensatz"},
    {LogTextId::ReplayStepForward, "Další snímek", "Next frame", "Nächster Datensatz"},
    {LogTextId::ReplayPreviousMarker, "Předchozí značka", "Previous marker", "Vorherige Markierung"},
    {LogTextId::ReplayNextMarker, "Další značka", "Next marker", "Nächste Markierung"},
    {LogTextId::ReplaySpeed, "Rychlost", "Speed", "Tempo"},
    {LogTextId::ReplayMarker, "značka %1", "marker %1", "Markierung %1"},
    {LogTextId::LogReading, "Načítám %1…", "Reading %1…", "%1 wird gelesen…"},
    {LogTextId::LogCancel, "Zrušit", "Cancel", "Abbrechen"},
    {LogTextId::LogNotOpened, "%1 nelze otevřít", "%1 could not be opened", "%1 konnte nicht geöffnet werden"},
    {LogTextId::LogNoRows, "%1 neobsahuje žádný použitelný řádek záznamu jízdy.",
     "%1 holds no usable row of a ride log.", "%1 enthält keine verwendbare Zeile einer Fahrtaufzeichnung."},
    {LogTextId::LogMissingColumns, "V záhlaví chybí sloupec %1.", "The header has no column %1.",
     "In der Kopfzeile fehlt die Spalte %1."},
    {LogTextId::LogBadRows, "Řádky, které nejsou záznamem jízdy, byly přeskočeny: %1 (první je řádek %2).",
     "%1 lines were not rows of a ride log and were skipped (the first is line %2).",
     "Zeilen, die keine Fahrtaufzeichnung sind, wurden übersprungen: %1 (die erste ist Zeile %2)."},
    {LogTextId::LogRowLimit, "Načteno jen prvních %1 řádků.", "Only the first %1 rows were loaded.",
     "Nur die ersten %1 Zeilen wurden geladen."},
    {LogTextId::LogLoaded, "Záznam %1: %2 řádků, %3", "Log %1: %2 rows, %3", "Aufzeichnung %1: %2 Zeilen, %3"},
    {LogTextId::CellTimesCopied, "Čas v buňkách serva %1 zkopírován", "Log time per cell of servo %1 copied",
     "Zeit je Zelle von Servo %1 kopiert"},
    {LogTextId::CellTimesNeedLog, "Nejprve otevřete záznam (Zobrazit > Záznam jízdy > Otevřít záznam…)",
     "Open a log first (View > Ride log > Open log…)",
     "Öffnen Sie zuerst eine Aufzeichnung (Ansicht > Fahrtaufzeichnung > Aufzeichnung öffnen…)"},
    {LogTextId::CellTimesOnServoPages, "Čas v buňkách je na záložkách serv",
     "The time per cell is shown on the servo pages", "Die Zeit je Zelle steht auf den Servo-Seiten"},
    {LogTextId::CellTimesLegend, "Sekundy v buňce; · motor v buňce nebyl", "Seconds in each cell; · never visited",
     "Sekunden je Zelle; · nie besucht"},
    {LogTextId::ChartTitle, "Živý graf", "Live chart", "Live-Diagramm"},
    {LogTextId::ChartLogTitle, "Živý graf – %1", "Live chart – %1", "Live-Diagramm – %1"},
    {LogTextId::ChartSpan, "Rozsah", "Span", "Zeitraum"},
    {LogTextId::ChartPause, "Pozastavit", "Pause", "Anhalten"},
    {LogTextId::ChartTime, "Čas", "Time", "Zeit"},
    {LogTextId::ChartRpm, "Otáčky [RPM]", "Engine speed [RPM]", "Drehzahl [RPM]"},
    {LogTextId::ChartThrottle, "Plyn [%]", "Throttle [%]", "Gas [%]"},
    {LogTextId::ChartSupply, "Napájení [V]", "Supply [V]", "Versorgung [V]"},
    {LogTextId::ChartServoAxis, "Poloha serva [mV]", "Servo position [mV]", "Servoposition [mV]"},
    {LogTextId::ChartDesired, "Servo %1 požadovaná", "Servo %1 desired", "Servo %1 Soll"},
    {LogTextId::ChartMeasured, "Servo %1 měřená", "Servo %1 measured", "Servo %1 Ist"},
    {LogTextId::ChartSeconds, "%1 s", "%1 s", "%1 s"},
    {LogTextId::ChartMinutes, "%1 min", "%1 min", "%1 min"},
}};
static_assert(RowsInIdOrder(Texts), "one row per LogTextId, in id order");

} // namespace

std::string_view LogText(LogTextId id, std::uint8_t language) {
    return TextIn(Texts, id, language);
}

} // namespace zevo
