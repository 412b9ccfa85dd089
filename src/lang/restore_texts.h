#pragma once
// Texts of the restore points, the difference listing and the state of the set, in Czech, English and
// German. %1, %2, ... are filled with FillPlaceholders; no text carries an accelerator mark.

#include <cstdint>
#include <string_view>

namespace zevo {

enum class RestoreTextId : int {
    // One line of a difference: %1 the field, %2 its value on screen, %3 the other side's.
    DifferenceLine,  // "%1: %2 here, %3 there"
    Tps0,            // "TP sensor at 0 %"
    Tps100,          // "TP sensor at 100 %"
    On,              // "on"
    Off,             // "off"
    // The set on screen against the unit, in the status bar.
    StateInUnit,     // "In unit"
    StateDiffers,    // "Differs from unit"
    StateUnknown,    // "Unit not known"
    StateInUnitTip,  // "The set on screen is the one last read from or programmed into the unit"
    StateDiffersTip, // "The set on screen differs from the one last read from or programmed into the unit"
    StateUnknownTip, // "No set has been read from or programmed into the connected unit"
    // Restore points.
    BackupsNotWritten, // "Restore points cannot be kept in %1: %2"
    MenuRestorePoints, // "Restore points…"
    RestoreTitle,      // "Restore points"
    RestoreFolder,     // "Kept in %1, the newest 500."
    ColumnEvent,       // "Event"
    ColumnTime,        // "Time"
    ColumnUnit,        // "Unit"
    ColumnFile,        // "File"
    EventRead,         // "read from the unit"
    EventProgrammed,   // "programmed into the unit"
    EventOpened,       // "opened"
    EventBeforeNew,    // "before New"
    EventClosed,       // "at close"
    Unreadable,        // "unreadable"
    ButtonCompare,     // "Compare"
    ButtonRestore,     // "Restore"
    // The difference view.
    MenuCompareUnit,   // "Compare with unit"
    MenuCompareFile,   // "Compare with file…"
    DifferenceTitle,   // "Differences with %1"
    TheUnit,           // "the unit"
    DifferenceCount,   // "Differences: %1 (the differing cells are marked pink on the servo pages)"
    NoDifference,      // "No differences: the set on screen is the same"
    TakeAll,           // "Take all theirs"
    TakeSelected,      // "Take the selected"
    ButtonClose,       // "Close"
    VerifyOffer,       // "The unit holds another set: F12 shows where it differs"
    SaveFirst,         // "The set on screen is neither saved nor in the unit. Save it first?"
    LinkBusy,          // "A transfer is running: compare when it has ended"
    NotInUnit,         // "Not in the unit: F9 programs it"
    NotInUnitTip,      // "A Program of the set on screen did not reach the unit ..."
    // The report.
    MenuExportReport,  // "Export report…"
    ReportTitle,       // "ZEVO parameter set"
    ReportDate,        // "Made"
    ReportSaved,       // "Report written: %1"
    ReportNotSaved,    // "The report could not be written to %1"
    Count
};

// The text in language 0 Czech, 1 English, 2 German; any other index reads Czech. UTF-8.
std::string_view RestoreText(RestoreTextId id, std::uint8_t language);

} // namespace zevo
