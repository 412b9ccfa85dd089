#include "params/clipboard_table.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

#include "params/conversions.h"
#include "params/map_operations.h"

namespace zevo {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
// The spaces locales group digits with (U+00A0, U+202F, U+2009), besides the plain one users type.
constexpr std::array<std::string_view, 4> Spaces = {" ", "\xC2\xA0", "\xE2\x80\xAF", "\xE2\x80\x89"};
constexpr std::string_view MinusSign = "\xE2\x88\x92"; // U+2212, as some spreadsheets write it
constexpr std::string_view Ellipsis = "\xE2\x80\xA6";

void AppendNumber(std::string& out, int value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

// Strict UTF-8 without control characters other than the table's tab and line ends. Anything else
// is not a table a person or a spreadsheet wrote.
bool IsTableText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            if ((lead < 0x20 && lead != '\t' && lead != '\n' && lead != '\r') || lead == 0x7F)
                return false;
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t code = 0;
        char32_t minimum = 0;
        if ((lead & 0xE0) == 0xC0)
            length = 2, code = lead & 0x1Fu, minimum = 0x80;
        else if ((lead & 0xF0) == 0xE0)
            length = 3, code = lead & 0x0Fu, minimum = 0x800;
        else if ((lead & 0xF8) == 0xF0)
            length = 4, code = lead & 0x07u, minimum = 0x10000;
        else
            return false;
        if (text.size() - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ||
            (code >= 0x80 && code < 0xA0))
            return false;
        i += length;
    }
    return true;
}

std::size_t SpaceAt(std::string_view s, std::size_t at) {
    for (std::string_view space : Spaces)
        if (s.substr(at).starts_with(space))
            return space.size();
    return 0;
}

std::string_view Trim(std::string_view s) {
    for (std::size_t n = SpaceAt(s, 0); n != 0 && !s.empty(); n = SpaceAt(s, 0))
        s.remove_prefix(n);
    for (bool trimmed = true; trimmed && !s.empty();) {
        trimmed = false;
        for (std::string_view space : Spaces) {
            if (s.ends_with(space)) {
                s.remove_suffix(space.size());
                trimmed = true;
                break;
            }
        }
    }
    return s;
}

// The first of two characters: one plain loop, where find_first_of searches its set for every byte.
std::size_t FindEither(std::string_view s, char a, char b) {
    for (std::size_t i = 0; i < s.size(); ++i)
        if (s[i] == a || s[i] == b)
            return i;
    return std::string_view::npos;
}

// Lines end in LF, CR LF or a lone CR (older spreadsheets on the Mac).
class LineReader {
public:
    explicit LineReader(std::string_view text) : Rest(text) {}
    bool Next(std::string_view& line) {
        if (Done)
            return false;
        const std::size_t end = FindEither(Rest, '\r', '\n');
        if (end == std::string_view::npos) {
            line = Rest;
            Done = true;
            return true;
        }
        line = Rest.substr(0, end);
        const std::size_t skip = Rest[end] == '\r' && end + 1 < Rest.size() && Rest[end + 1] == '\n' ? 2 : 1;
        Rest.remove_prefix(end + skip);
        // A text that ends in a line end has no empty line after it.
        Done = Rest.empty();
        return true;
    }

private:
    std::string_view Rest;
    bool Done = false;
};

class CellReader {
public:
    explicit CellReader(std::string_view line) : Rest(line) {}
    bool Next(std::string_view& cell) {
        if (Done)
            return false;
        const std::size_t end = FindEither(Rest, '\t', ';');
        if (end == std::string_view::npos) {
            cell = Rest;
            Done = true;
            return true;
        }
        cell = Rest.substr(0, end);
        Rest.remove_prefix(end + 1);
        return true;
    }

private:
    std::string_view Rest;
    bool Done = false;
};

int CountCells(std::string_view line, int limit) {
    int cells = 1;
    for (char ch : line)
        if ((ch == '\t' || ch == ';') && ++cells > limit)
            break;
    return cells;
}

struct Number {
    enum Kind { Ok, Empty, Bad, Negative } Kind = Bad;
    long long Whole = 0;   // saturates far above every range
    bool Fraction = false; // a decimal part other than zero
};

class NumberReader {
public:
    NumberReader(std::string_view decimal, std::string_view group) : Decimal(decimal), Group(group) {
        GroupIsSpace = !group.empty();
        for (std::size_t at = 0; GroupIsSpace && at < group.size();) {
            const std::size_t n = SpaceAt(group, at);
            GroupIsSpace = n != 0;
            at += n;
        }
        // A locale that claims the same mark for both cannot be read unambiguously: no grouping then.
        if (Group == Decimal)
            Group = {};
    }

    Number Read(std::string_view cell) const {
        Number n;
        std::string_view s = Trim(cell);
        if (s.empty()) {
            n.Kind = Number::Empty;
            return n;
        }
        bool minus = false;
        if (s.starts_with('-') || s.starts_with(MinusSign)) {
            minus = true;
            s.remove_prefix(s.starts_with('-') ? 1 : MinusSign.size());
        } else if (s.starts_with('+')) {
            s.remove_prefix(1);
        }
        std::size_t at = 0;
        // Digits, and group separators only between groups of exactly three after a first of one to
        // three: "2 600" and "12,345,678" read, "26 00" and "2,5" (where "," groups) do not.
        int firstGroup = 0;
        int group = -1; // digits since the last separator; -1 before any separator
        for (; at < s.size(); ++at) {
            const char ch = s[at];
            if (ch >= '0' && ch <= '9') {
                n.Whole = n.Whole < Saturated ? n.Whole * 10 + (ch - '0') : Saturated;
                if (group < 0)
                    ++firstGroup;
                else
                    ++group;
                continue;
            }
            const std::size_t separator = GroupAt(s, at);
            if (separator == 0)
                break;
            if (firstGroup == 0 || firstGroup > 3 || (group >= 0 && group != 3))
                return n;
            group = 0;
            at += separator - 1;
        }
        if (firstGroup == 0 || (group >= 0 && group != 3))
            return n;
        if (at < s.size()) {
            if (Decimal.empty() || !s.substr(at).starts_with(Decimal))
                return n;
            at += Decimal.size();
            const std::size_t digits = at;
            for (; at < s.size() && s[at] >= '0' && s[at] <= '9'; ++at)
                n.Fraction = n.Fraction || s[at] != '0';
            if (at == digits || at != s.size())
                return n;
        }
        n.Kind = minus ? Number::Negative : Number::Ok;
        return n;
    }

private:
    static constexpr long long Saturated = 1'000'000'000'000LL;

    std::size_t GroupAt(std::string_view s, std::size_t at) const {
        if (GroupIsSpace)
            return SpaceAt(s, at);
        return !Group.empty() && s.substr(at).starts_with(Group) ? Group.size() : 0;
    }

    std::string_view Decimal;
    std::string_view Group;
    bool GroupIsSpace = false;
};

// The cell's text for a message: trimmed, at most a few characters. The whole text was checked to be
// UTF-8, so cutting at a character boundary keeps it so.
std::string Shown(std::string_view cell) {
    const std::string_view s = Trim(cell);
    int characters = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
            continue;
        if (characters++ == PasteLimits::ShownCharacters)
            return std::string(s.substr(0, i)) + std::string(Ellipsis);
    }
    return std::string(s);
}

bool IsBlank(std::string_view line) {
    return Trim(line).empty();
}

// A header line as CopyTable writes it with axes: a caption that is not a number, then numbers.
bool IsHeader(std::string_view line, const NumberReader& numbers) {
    if (CountCells(line, 2) < 2)
        return false;
    CellReader cells(line);
    std::string_view cell;
    cells.Next(cell);
    if (numbers.Read(cell).Kind != Number::Bad)
        return false;
    while (cells.Next(cell)) {
        if (numbers.Read(cell).Kind != Number::Ok)
            return false;
    }
    return true;
}

PasteOutcome Refused(PasteError error, int row = 0, int column = 0, std::string text = {}) {
    PasteOutcome outcome;
    outcome.Error = error;
    outcome.Row = row;
    outcome.Column = column;
    outcome.Text = std::move(text);
    return outcome;
}

// The byte a pasted value becomes, or the reason it cannot.
PasteError Checked(const Number& n, const EditorRange& range, bool perCent, bool axis, std::uint8_t& byte) {
    switch (n.Kind) {
    case Number::Empty:
        return PasteError::EmptyCell;
    case Number::Bad:
        return PasteError::BadNumber;
    case Number::Negative:
        return PasteError::Negative;
    case Number::Ok:
        break;
    }
    if (n.Whole > range.Max || (n.Whole == range.Max && n.Fraction))
        return PasteError::AboveRange;
    // Decimals are cut off as the editor cuts a typed value down to its step.
    const int value = static_cast<int>(n.Whole);
    byte = axis ? RpmFromDisplay(value) : MapCellFromDisplay(value, perCent);
    return PasteError::None;
}

} // namespace

std::string RowCaption(int row) {
    if (row < 0 || row >= MapRows)
        return {};
    std::string caption;
    AppendNumber(caption, TpRows[static_cast<std::size_t>(row)]);
    caption += '%';
    return caption;
}

std::string CopyTable(const DeviceImage& image, int servo, const MapSelection& selection, bool withAxes) {
    const MapSelection s = ClipToShown(selection, true);
    if (servo < 0 || servo >= ServoCount || s.IsEmpty())
        return {};
    withAxes = withAxes && !s.IsAxis();
    std::string out;
    out.reserve(static_cast<std::size_t>((s.Rows() + 1) * (s.Columns() + 1) * 6 + 16));
    if (withAxes) {
        out += AxesCaption;
        for (int c = s.Col0; c <= s.Col1; ++c) {
            out += '\t';
            AppendNumber(out, ShownValue(image, servo, AxisRow, c));
        }
        out += '\n';
    }
    for (int r = s.Row0; r <= s.Row1; ++r) {
        if (withAxes) {
            out += RowCaption(r);
            out += '\t';
        }
        for (int c = s.Col0; c <= s.Col1; ++c) {
            if (c > s.Col0)
                out += '\t';
            AppendNumber(out, ShownValue(image, servo, r, c));
        }
        out += '\n';
    }
    return out;
}

PasteOutcome PasteTable(DeviceImage& image, int servo, const MapSelection& selection, bool tpEnabled,
                        std::string_view text, std::string_view decimalSeparator,
                        std::string_view groupSeparator) {
    const MapSelection target = ClipToShown(selection, tpEnabled);
    if (servo < 0 || servo >= ServoCount || target.IsEmpty())
        return Refused(PasteError::NoTarget);
    if (text.size() > PasteLimits::Bytes)
        return Refused(PasteError::TooLarge);
    if (text.starts_with(ByteOrderMark))
        text.remove_prefix(ByteOrderMark.size());
    if (!IsTableText(text))
        return Refused(PasteError::NotText);

    const NumberReader numbers(decimalSeparator, groupSeparator);

    // First pass: the block's shape, and the limits, without reading a value. Blank lines hold a
    // single cell, so counting them in the width never widens the block.
    bool header = false;
    int lines = 0;
    int lastFilled = -1;
    int blockColumns = 0;
    {
        LineReader reader(text);
        std::string_view line;
        while (reader.Next(line)) {
            if (lines == PasteLimits::Lines)
                return Refused(PasteError::TooLarge);
            const int cells = CountCells(line, PasteLimits::CellsPerLine);
            if (cells > PasteLimits::CellsPerLine)
                return Refused(PasteError::TooLarge);
            if (lines == 0)
                header = IsHeader(line, numbers);
            else if (header)
                blockColumns = std::max(blockColumns, cells - 1);
            if (!header)
                blockColumns = std::max(blockColumns, cells);
            if (!IsBlank(line))
                lastFilled = lines;
            ++lines;
        }
    }
    const int skipLines = header ? 1 : 0;
    const int skipCells = header ? 1 : 0;
    const int blockRows = lastFilled + 1 - skipLines;
    if (blockRows <= 0 || blockColumns <= 0)
        return Refused(PasteError::Empty);

    // Where the block lands: one value fills the selection, a block starts at its top left and is
    // clipped to the room the page shows to the right and below.
    const bool fill = blockRows == 1 && blockColumns == 1;
    const int lastRow = target.IsAxis() ? AxisRow : LastShownRow(tpEnabled);
    const MapSelection landed =
        fill ? target
             : MapSelection{target.Row0, target.Col0, std::min(target.Row0 + blockRows - 1, lastRow),
                            std::min(target.Col0 + blockColumns - 1, MapColumns - 1)};

    const bool axis = landed.IsAxis();
    const bool perCent = image.PerCentMode(servo) != 0;
    const EditorRange range = SelectionRange(image, servo, landed);
    std::array<std::uint8_t, MapCells> bytes{};
    const auto at = [&](int row, int column) {
        return static_cast<std::size_t>((row - landed.Row0) * MapColumns + (column - landed.Col0));
    };

    // Second pass: every value that lands, checked before any is written.
    int adjusted = 0;
    std::string adjustedText;
    int adjustedStored = 0;
    LineReader reader(text);
    std::string_view line;
    for (int i = 0; reader.Next(line) && i - skipLines < landed.Rows(); ++i) {
        if (i < skipLines)
            continue;
        const int row = fill ? landed.Row0 : landed.Row0 + i - skipLines;
        CellReader cells(line);
        std::string_view cell;
        for (int k = 0; k < skipCells; ++k)
            cells.Next(cell);
        for (int column = landed.Col0; column <= (fill ? landed.Col0 : landed.Col1); ++column) {
            if (!cells.Next(cell))
                return Refused(PasteError::EmptyCell, row, column);
            std::uint8_t byte = 0;
            const Number number = numbers.Read(cell);
            const PasteError error = Checked(number, range, perCent, axis, byte);
            if (error != PasteError::None)
                return Refused(error, row, column, Shown(cell));
            bytes[at(row, column)] = byte;
            const int stored = axis ? RpmToDisplay(byte) : MapCellToDisplay(byte, perCent);
            if (number.Fraction || stored != number.Whole) {
                if (adjusted++ == 0) {
                    adjustedText = Shown(cell);
                    adjustedStored = stored;
                }
            }
        }
        if (fill)
            break;
    }
    if (fill) {
        const std::uint8_t value = bytes[0];
        landed.ForEachCell([&](int r, int c) { bytes[at(r, c)] = value; });
    }

    landed.ForEachCell([&](int r, int c) {
        std::uint8_t& cell = axis ? image.RpmAxis(servo, c) : image.MapCell(servo, r, c);
        cell = bytes[at(r, c)];
    });
    PasteOutcome outcome;
    outcome.Applied = true;
    outcome.Changed = landed;
    outcome.Adjusted = adjusted;
    outcome.AdjustedText = std::move(adjustedText);
    outcome.AdjustedStored = adjustedStored;
    outcome.Step = range.Step;
    return outcome;
}

} // namespace zevo
