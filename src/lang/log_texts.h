#pragma once
// Texts of the ride log: recording, the live chart, the replay and the time per cell, in Czech,
// English and German. %1, %2, ... are filled with FillPlaceholders; no text carries an accelerator
// mark.

#include <cstdint>
#include <string_view>

namespace zevo {

enum class LogTextId : int {
    MenuLog,             // "Ride log"
    MenuStartRecording,  // "Start recording…"
    MenuStopRecording,   // "Stop recording"
    MenuMark,            // "Set marker"
    MenuOpenLog,         // "Open log…"
    MenuCloseLog,        // "Close log"
    MenuCellTimes,       // "Show log time per cell"
    MenuCopyCellTimes,   // "Copy log time per cell"
    MenuLiveChart,       // "Live chart…"
    LogFilter,           // "Ride logs (*.csv)"
    RecordingSign,       // "REC %1 · rows: %2"
    RecordingStarted,    // "Recording into %1"
    RecordingSaved,      // "Recording saved: %1 (rows: %2)"
    RecordingFailed,     // "Recording stopped: %1 could not be written. The rows written before are kept: %2."
    RecordingNotStarted, // "Recording to %1 could not be started"
    MarkerSet,           // "Marker %1 set"
    MarkerNeedsRecording,// "Markers are set while recording (View > Ride log > Start recording…)"
    ReplaySign,          // "REPLAY %1 / %2"
    ReplaySignTip,       // "The labels and the live cell show the log, not the unit; close the log to see the unit again"
    ReplayTitle,         // "Replay – %1"
    ReplayPlay,          // "Play"
    ReplayPause,         // "Pause"
    ReplayStepBack,      // "Previous frame"
    ReplayStepForward,   // "Next frame"
    ReplayPreviousMarker,// "Previous marker"
    ReplayNextMarker,    // "Next marker"
    ReplaySpeed,         // "Speed"
    ReplayMarker,        // "marker %1"
    LogReading,          // "Reading %1…"
    LogCancel,           // "Cancel"
    LogNotOpened,        // "%1 could not be opened"
    LogNoRows,           // "%1 holds no usable row of a ride log."
    LogMissingColumns,   // "The header has no column %1."
    LogBadRows,          // "Lines skipped, not rows of a ride log: %1 (the first is line %2)."
    LogRowLimit,         // "Only the first %1 rows were loaded."
    LogLoaded,           // "Log %1 (rows: %2, length %3)"
    CellTimesCopied,     // "Log time per cell of servo %1 copied"
    CellTimesNeedLog,    // "Open a log first (View > Ride log > Open log…)"
    CellTimesOnServoPages, // "The time per cell is shown on the servo pages"
    CellTimesLegend,     // "Seconds in each cell; · never visited"
    CellTimesSensorError, // "TP sensor error"
    ChartTitle,          // "Live chart"
    ChartLogTitle,       // "Live chart – %1"
    ChartSpan,           // "Span"
    ChartPause,          // "Pause"
    ChartTime,           // "Time"
    ChartRpm,            // "RPM"
    ChartThrottle,       // "Throttle [%]"
    ChartSupply,         // "Supply [V]"
    ChartServoAxis,      // "Servo position [mV]"
    ChartDesired,        // "Servo %1 desired"
    ChartMeasured,       // "Servo %1 measured"
    ChartSeconds,        // "%1 s"
    ChartMinutes,        // "%1 min"
    MenuReplayControls,  // "Replay controls": shows the replay's dock again after it was closed
    Count
};

std::string_view LogText(LogTextId id, std::uint8_t language);

} // namespace zevo
