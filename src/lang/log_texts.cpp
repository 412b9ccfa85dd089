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
    {LogTextId::MenuCellTimes, "Zobrazit čas strávený v buňkách", "Show log time per cell",
     "Verweildauer je Zelle anzeigen"},
    {LogTextId::MenuCopyCellTimes, "Kopírovat čas strávený v buňkách", "Copy log time per cell",
     "Verweildauer je Zelle kopieren"},
    {LogTextId::MenuLiveChart, "Živý graf…", "Live chart…", "Live-Diagramm…"},
    {LogTextId::LogFilter, "Záznamy jízdy (*.csv)", "Ride logs (*.csv)", "Fahrtaufzeichnungen (*.csv)"},
    {LogTextId::RecordingSign, "REC %1 · řádků: %2", "REC %1 · rows: %2", "REC %1 · Zeilen: %2"},
    {LogTextId::RecordingStarted, "Záznam se zapisuje do %1", "Recording into %1",
     "Aufzeichnung wird in %1 geschrieben"},
    {LogTextId::RecordingSaved, "Záznam uložen: %1 (řádků: %2)", "Recording saved: %1 (rows: %2)",
     "Aufzeichnung gespeichert: %1 (Zeilen: %2)"},
    {LogTextId::RecordingFailed,
     "Záznam zastaven: do %1 se nepodařilo zapsat. Dosud zapsané řádky zůstávají v souboru: %2.",
     "Recording stopped: %1 could not be written. The rows written before are kept: %2.",
     "Aufzeichnung beendet: %1 konnte nicht geschrieben werden. "
     "Bereits geschriebene Zeilen bleiben erhalten: %2."},
    {LogTextId::RecordingNotStarted, "Záznam do %1 se nepodařilo spustit",
     "Recording to %1 could not be started",
     "Die Aufzeichnung konnte in %1 nicht gestartet werden"},
    {LogTextId::MarkerSet, "Značka %1 vložena", "Marker %1 set", "Markierung %1 gesetzt"},
    {LogTextId::MarkerNeedsRecording, "Značky se vkládají během záznamu (Zobrazit > Záznam jízdy > Spustit záznam…)",
     "Markers are set while recording (View > Ride log > Start recording…)",
     "Markierungen werden während der Aufzeichnung gesetzt (Ansicht > Fahrtaufzeichnung > Aufzeichnung starten…)"},
    {LogTextId::ReplaySign, "PŘEHRÁVÁNÍ %1 / %2", "REPLAY %1 / %2", "WIEDERGABE %1 / %2"},
    {LogTextId::ReplaySignTip,
     "Hodnoty a živá buňka ukazují záznam, ne zapalování; po zavření záznamu opět ukazují zapalování",
     "The values and the live cell show the log, not the unit; close the log to see the unit again",
     "Die Werte und der Betriebspunkt zeigen die Aufzeichnung, nicht die Zündung; nach dem Schließen "
     "der Aufzeichnung zeigen sie wieder die Zündung"},
    {LogTextId::ReplayTitle, "Přehrávání – %1", "Replay – %1", "Wiedergabe – %1"},
    {LogTextId::ReplayPlay, "Přehrát", "Play", "Abspielen"},
    {LogTextId::ReplayPause, "Pozastavit", "Pause", "Pausieren"},
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
    {LogTextId::LogBadRows,
     "Přeskočeno řádků, které neodpovídají formátu záznamu jízdy: %1 (první je řádek %2).",
     "Lines skipped, not rows of a ride log: %1 (the first is line %2).",
     "Übersprungene Zeilen, die nicht dem Format einer Fahrtaufzeichnung entsprechen: %1 "
     "(die erste ist Zeile %2)."},
    {LogTextId::LogRowLimit, "Načteno jen prvních %1 řádků.", "Only the first %1 rows were loaded.",
     "Nur die ersten %1 Zeilen wurden geladen."},
    {LogTextId::LogLoaded, "Záznam %1 (řádků: %2, délka %3)", "Log %1 (rows: %2, length %3)",
     "Aufzeichnung %1 (Zeilen: %2, Dauer %3)"},
    {LogTextId::CellTimesCopied, "Čas strávený v buňkách serva %1 zkopírován",
     "Log time per cell of servo %1 copied", "Verweildauer je Zelle von Servo %1 kopiert"},
    {LogTextId::CellTimesNeedLog, "Nejprve otevřete záznam (Zobrazit > Záznam jízdy > Otevřít záznam…)",
     "Open a log first (View > Ride log > Open log…)",
     "Öffnen Sie zuerst eine Aufzeichnung (Ansicht > Fahrtaufzeichnung > Aufzeichnung öffnen…)"},
    {LogTextId::CellTimesOnServoPages, "Čas strávený v buňkách je jen na záložkách serv",
     "The time per cell is shown on the servo pages",
     "Die Verweildauer je Zelle wird nur auf den Servo-Seiten angezeigt"},
    {LogTextId::CellTimesLegend, "Sekundy v buňce; · motor v buňce nebyl", "Seconds in each cell; · never visited",
     "Sekunden je Zelle; · nie erreicht"},
    {LogTextId::CellTimesSensorError, "Chyba snímače TP", "TP sensor error", "Fehler des TP-Sensors"},
    {LogTextId::ChartTitle, "Živý graf", "Live chart", "Live-Diagramm"},
    {LogTextId::ChartLogTitle, "Živý graf – %1", "Live chart – %1", "Live-Diagramm – %1"},
    {LogTextId::ChartSpan, "Rozsah", "Span", "Zeitraum"},
    {LogTextId::ChartPause, "Pozastavit", "Pause", "Pausieren"},
    {LogTextId::ChartTime, "Čas", "Time", "Zeit"},
    {LogTextId::ChartRpm, "Otáčky [RPM]", "Engine speed [RPM]", "Drehzahl [RPM]"},
    {LogTextId::ChartThrottle, "Plyn [%]", "Throttle [%]", "Gas [%]"},
    {LogTextId::ChartSupply, "Napájení [V]", "Supply [V]", "Versorgungsspannung [V]"},
    {LogTextId::ChartServoAxis, "Poloha serva [mV]", "Servo position [mV]", "Servoposition [mV]"},
    {LogTextId::ChartDesired, "Servo %1 požadované", "Servo %1 desired", "Servo %1 Soll"},
    {LogTextId::ChartMeasured, "Servo %1 měřené", "Servo %1 measured", "Servo %1 Ist"},
    {LogTextId::ChartSeconds, "%1 s", "%1 s", "%1 s"},
    {LogTextId::ChartMinutes, "%1 min", "%1 min", "%1 min"},
    {LogTextId::MenuReplayControls, "Ovládání přehrávání", "Replay controls", "Wiedergabesteuerung"},
}};
static_assert(RowsInIdOrder(Texts), "one row per LogTextId, in id order");

} // namespace

std::string_view LogText(LogTextId id, std::uint8_t language) {
    return TextIn(Texts, id, language);
}

} // namespace zevo
