#pragma once
// Texts of the map editing and viewing commands: the menu items, the prompts of the value dialogs and the
// status-bar messages, in Czech, English and German. %1, %2, ... are filled by the window (see
// FillPlaceholders); no text carries an accelerator mark, the window chooses those.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "params/clipboard_table.h"
#include "params/device_image.h"

namespace zevo {

enum class EditingTextId : int {
    // Menu items.
    MenuSetValue,            // "Set value…"
    MenuAdd,                 // "Add…"
    MenuScale,               // "Scale by %…"
    MenuInterpolateRpm,      // "Interpolate across RPM"
    MenuInterpolateThrottle, // "Interpolate across throttle"
    MenuInterpolateCorners,  // "Interpolate between the four corners"
    MenuSmooth,              // "Smooth"
    MenuCopy,                // "Copy"
    MenuCopyWithAxes,        // "Copy with axes"
    MenuPaste,               // "Paste"
    // Prompts of the value dialogs; %1 is the unit ("mV", "%", "RPM").
    PromptSetValue, // "Value for the selected cells [%1]:"
    PromptAdd,      // "Add to the selected cells [%1]:"
    PromptScale,    // "Scale the selected cells by per cent (100 = unchanged):"
    // An entry typed into a field. %1 the entry, %2 and %3 the field's range, %4 (or %2) the value
    // the field keeps; for FieldAdjusted %2 is what is stored and %3 the unit's step.
    FieldNotNumber,  // "\"%1\" is not a number; the field keeps %2"
    FieldOutOfRange, // "%1 is outside %2 to %3; the field keeps %4"
    FieldAdjusted,   // "%1 is stored as %2 (the unit keeps steps of %3)"
    // Operations that had nothing to work on.
    NoCellSelected, // "No cell selected"
    NeedTwoColumns, // "Select at least two columns"
    NeedTwoRows,    // "Select at least two rows"
    NeedTwoCells,   // "Select at least two cells"
    // How a paste names a cell: a map cell by row caption (%1, "20%") and RPM (%2), an axis point by
    // its number 1..15 (%1). They fill %1 of the Paste texts below.
    CellInMap,  // "the cell at %1 and %2 RPM"
    CellOnAxis, // "RPM point %1"
    // Paste outcomes, one per PasteError; %1 the cell, %2 its text, %3 the field's highest value.
    PasteNoTarget,   // "Nothing pasted: no cell selected"
    PasteNotText,    // "Nothing pasted: the clipboard holds no text"
    PasteTooLarge,   // "Nothing pasted: the table in the clipboard is far larger than a map"
    PasteEmpty,      // "Nothing pasted: the clipboard holds no values"
    PasteEmptyCell,  // "Nothing pasted: %1 is empty"
    PasteBadNumber,  // "Nothing pasted: %1 holds \"%2\", which is not a number"
    PasteNegative,   // "Nothing pasted: %1 holds %2; values cannot be negative"
    PasteAboveRange, // "Nothing pasted: %1 holds %2, above the highest value %3"
    PasteDone,       // "Cells pasted: %1"
    // A paste some of whose values the unit keeps only to its step: %1 cells, %2 values adjusted, the
    // first as pasted (%3) and as stored (%4), %5 the step.
    PasteAdjusted, // "Cells pasted: %1; %2 not as pasted: %3 is stored as %4 (the unit keeps steps of %5)"
    // The View menu and the servo curves window.
    MenuView,          // "View"
    MenuColourByValue, // "Colour by value"
    MenuTrail,         // "Engine trail"
    MenuJumpToLive,    // "Go to the live cell"
    MenuServoCurves,   // "Servo curves…"
    LiveCellOnServoPages, // "The live cell is shown on the servo pages"
    CurvesTitle,       // "Servo curves – servo %1"
    CurvesRpm,         // "Engine speed [RPM]"
    CurvesTarget,      // "Target [%1]"
    CurvesRow,         // "Throttle %1 %"
    CurvesSelected,    // "Selected cells"
    CurvesLive,        // "Engine now"
    CurvesSave,        // "Save as PNG…"
    CurvesSaved,       // "Chart saved: %1"
    CurvesNotSaved,    // "The chart could not be saved to %1"
    Count
};

// The text in language 0 Czech, 1 English, 2 German; any other index reads Czech, as the language
// tables do. UTF-8.
std::string_view EditingText(EditingTextId id, std::uint8_t language);

// Replaces %1, %2, ... (up to %9) by the arguments in order; a placeholder without an argument and
// any other '%' stay as they are, so "Scale by %…" passes through unchanged.
std::string FillPlaceholders(std::string_view text, std::initializer_list<std::string_view> arguments);

// The status-bar message for a paste, with the cell named and the range taken from the block:
// PasteDone with the number of cells written (PasteAdjusted when values were cut to the unit's
// step, the stored value with `groupSeparator` between groups of three digits, as the editor shows
// it), or the error's text.
std::string PasteMessage(const PasteOutcome& outcome, const DeviceImage& image, int servo,
                         std::uint8_t language, std::string_view groupSeparator = {});

} // namespace zevo
