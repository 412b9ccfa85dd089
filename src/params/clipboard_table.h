#pragma once
// The servo page's cells as a text table on the clipboard, the form spreadsheets exchange: cells
// separated by tabs, one line per row. Values are in the units the page shows (mV or per cent for
// the map, RPM for the axis), so what is copied reads back as the same bytes.

#include <cstddef>
#include <string>
#include <string_view>

#include "params/device_image.h"
#include "params/map_selection.h"

namespace zevo {

// The top-left cell of a table copied with axes; any text that is not a number marks a header line.
inline constexpr std::string_view AxesCaption = "TP \\ RPM";

// The caption of map row 0..9 as the page shows it: "0%" .. "100%".
std::string RowCaption(int row);

// One line per selected row, cells separated by tabs, each line ending in "\n". Plain integers as
// the page shows them, without thousands separators, so that a spreadsheet in any locale takes them
// as numbers. With axes, a header line (AxesCaption, then the RPM of each selected column) and the
// row captions as a first column, for sharing a map with its axes. The axis line has no axes of its
// own: with or without them it copies as one line of RPM. Cells off the page are left out.
std::string CopyTable(const DeviceImage& image, int servo, const MapSelection& selection, bool withAxes);

// Why a paste changed nothing. Row and Column of the outcome name the first bad cell where the
// reason is a cell.
enum class PasteError {
    None,
    NoTarget,   // no shown cell is selected (or the servo is unknown)
    NotText,    // NUL or other control bytes, or bytes that are not UTF-8: not a text table
    TooLarge,   // more than PasteLimits allow, refused before any value is taken
    Empty,      // no values: empty text, blank lines, or a header line alone
    EmptyCell,  // a cell that lands on the map is empty, or missing from a line shorter than the block
    BadNumber,  // not a number in the locale's writing (also "1e3", "50%", a misplaced group separator)
    Negative,   // a number with a minus sign
    AboveRange, // above the field's range (e.g. mV pasted into a per-cent map)
};

// Far beyond any map (15 x 10 cells with axes is about 1 KB), and small enough that a text pasted by
// mistake (a whole spreadsheet column, a file) is refused at once.
struct PasteLimits {
    static constexpr std::size_t Bytes = 1 << 20;
    static constexpr int Lines = 1000;
    static constexpr int CellsPerLine = 1000;
    // The bad cell's text in a message is cut to this many characters.
    static constexpr int ShownCharacters = 24;
};

struct PasteOutcome {
    bool Applied = false;
    // The cells written (or, with Applied false, nothing).
    MapSelection Changed = MapSelection::Empty();
    PasteError Error = PasteError::None;
    // The first bad cell, where it lands on the page (Row AxisRow for the axis), and its text as
    // pasted: trimmed, cut to PasteLimits::ShownCharacters with "…" and always valid UTF-8.
    int Row = 0;
    int Column = 0;
    std::string Text;
    // Values the unit cannot keep as pasted, cut down to its step as a typed value is (2222 mV is
    // stored as 2220): how many, the first in reading order as pasted (shown as Text is) and what
    // it is stored as, and the step.
    int Adjusted = 0;
    std::string AdjustedText;
    int AdjustedStored = 0;
    int Step = 0;
};

// Pastes a text table at the top-left cell of `selection` (clipped to the shown rows first):
// - Cells are separated by tabs or semicolons (both, as spreadsheets of different locales write
//   them); lines end in LF, CR LF or CR. Blank lines at the end are dropped; a UTF-8 byte order mark
//   at the start is skipped.
// - A block copied with axes is recognised by its first line: two or more cells, the first not a
//   number and the others numbers (the RPM header). That line and the first cell of each further line
//   (the row captions) are skipped. Values land by position; the header's RPM does not move them, so
//   a map shared between engines with other axes pastes as it was laid out.
// - One value pasted into a selection of several cells fills the selection. A larger block is clipped
//   to the shown map, right and below; cells beyond it are not read. On the axis line the block's
//   first line goes into the axis points and the others are beyond the room.
// - A value is written in the locale's way: `groupSeparator` between groups of three digits (where it
//   is a space of any kind, every kind is taken, as users type a plain space), `decimalSeparator`
//   before decimals. Decimals are taken and cut down to the unit's step like a typed value (2612,5 mV
//   is stored as 2600 mV, as 2612 would be); so is a whole number between steps. A separator of the
//   other convention is not guessed at: "2,5" where "," groups digits is refused, not read as 25.
// - Every cell that lands is checked before any is written: the paste applies whole or changes
//   nothing, and names the first bad cell in reading order.
PasteOutcome PasteTable(DeviceImage& image, int servo, const MapSelection& selection, bool tpEnabled,
                        std::string_view text, std::string_view decimalSeparator,
                        std::string_view groupSeparator);

} // namespace zevo
