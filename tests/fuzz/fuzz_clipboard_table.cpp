// Whatever the clipboard holds is pasted into the servo page: any bytes must be refused or applied
// whole, never write outside the cells the outcome names or the rows the page shows, and what was
// applied must copy out and paste back to the same bytes.
//
// Input: byte 0 picks the servo (bit 0), TP Enable (bit 1), the servo's unit (bit 2), the locale
// (bits 3..4: Czech, English, German, none) and a map operation run afterwards (bits 5..7); bytes 1
// and 2 the selection's corners (row in the high nibble, less one for the axis; column in the low).
// The rest is the clipboard text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "params/clipboard_table.h"
#include "params/map_operations.h"

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

struct Locale {
    std::string_view Decimal;
    std::string_view Group;
};
constexpr Locale Locales[] = {{",", "\xC2\xA0"}, {".", ","}, {",", "."}, {"", ""}};

bool Shown(int row, bool tpEnabled) {
    return row == zevo::AxisRow || row <= zevo::LastShownRow(tpEnabled);
}

void RequireOnlyInside(const zevo::DeviceImage& image, const zevo::DeviceImage& before, int servo,
                       const zevo::MapSelection& allowed) {
    for (int r = zevo::AxisRow; r < zevo::MapRows; ++r)
        for (int c = 0; c < zevo::MapColumns; ++c) {
            const int now = r == zevo::AxisRow ? image.RpmAxis(servo, c) : image.MapCell(servo, r, c);
            const int was = r == zevo::AxisRow ? before.RpmAxis(servo, c) : before.MapCell(servo, r, c);
            Require(now == was || allowed.Contains(r, c));
        }
    for (int k = 0; k < zevo::MapCells; ++k)
        Require(image.MapCell(1 - servo, k) == before.MapCell(1 - servo, k));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    const int servo = data[0] & 1;
    const bool tpEnabled = (data[0] & 2) != 0;
    const bool perCent = (data[0] & 4) != 0;
    const Locale& locale = Locales[(data[0] >> 3) & 3];
    const auto op = static_cast<zevo::MapOperation>((data[0] >> 5) % 7);
    const zevo::MapSelection selection =
        zevo::MapSelection::Spanning((data[1] >> 4) - 1, data[1] & 15, (data[2] >> 4) - 1, data[2] & 15);
    const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);

    zevo::DeviceImage image;
    image.PerCentMode(servo) = perCent ? 1 : 0;
    zevo::SetDefaults(image);
    for (int k = 0; k < zevo::MapCells; ++k)
        image.MapCell(servo, k) = static_cast<std::uint8_t>(k * 7);
    const zevo::DeviceImage before = image;

    const zevo::PasteOutcome outcome =
        zevo::PasteTable(image, servo, selection, tpEnabled, text, locale.Decimal, locale.Group);
    Require(outcome.Applied == (outcome.Error == zevo::PasteError::None));
    if (!outcome.Applied) {
        Require(image == before);
        Require(outcome.Text.size() <= 4 * zevo::PasteLimits::ShownCharacters + 3);
    } else {
        const zevo::MapSelection& changed = outcome.Changed;
        Require(!changed.IsEmpty() && Shown(changed.Row0, tpEnabled) && Shown(changed.Row1, tpEnabled));
        Require(changed == zevo::ClipToShown(changed, tpEnabled));
        RequireOnlyInside(image, before, servo, changed);
        const zevo::EditorRange range = zevo::SelectionRange(image, servo, changed);
        changed.ForEachCell([&](int r, int c) {
            const int shown = zevo::ShownValue(image, servo, r, c);
            const int byte = r == zevo::AxisRow ? image.RpmAxis(servo, c) : image.MapCell(servo, r, c);
            Require(shown >= range.Min && shown <= range.Max);
            Require(byte == (r == zevo::AxisRow ? zevo::RpmFromDisplay(shown)
                                                : zevo::MapCellFromDisplay(shown, perCent)));
        });

        // What was pasted copies out and pastes back to the same bytes, with and without axes.
        for (bool withAxes : {false, true}) {
            zevo::DeviceImage copy = before;
            const std::string table = zevo::CopyTable(image, servo, changed, withAxes);
            const zevo::PasteOutcome again =
                zevo::PasteTable(copy, servo, changed, tpEnabled, table, locale.Decimal, locale.Group);
            Require(again.Applied && again.Changed == changed);
            Require(copy == image);
        }
    }

    // An operation on the same selection keeps to the rows shown and to the field's range.
    const zevo::DeviceImage beforeOp = image;
    const double argument = size > 3 ? static_cast<double>(static_cast<std::int8_t>(data[3])) * 41.5 : 0;
    zevo::ApplyMapOperation(image, servo, selection, tpEnabled, op, argument);
    RequireOnlyInside(image, beforeOp, servo, zevo::ClipToShown(selection, tpEnabled));
    return 0;
}
