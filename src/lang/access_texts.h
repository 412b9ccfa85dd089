#pragma once
// What a screen reader says for the controls whose captions alone do not name them: the map's
// fields (which servo, which throttle row and engine speed, and the unit of the value), the arrows
// beside them and under the columns, in Czech, English and German. %1, %2, ... are filled with
// FillPlaceholders (lang/editing_texts.h).

#include <cstdint>
#include <string_view>

namespace zevo {

enum class AccessTextId : int {
    // Where a field is; its name adds the value and unit ("Servo 1, 40%, 4,000 RPM, 2,300 mV").
    MapCell,          // "Servo %1, %2, %3 RPM": servo, row caption, RPM
    MapCellOneRow,    // "Servo %1, %2 RPM": the same while the map has its one row only (TP Enable off)
    AxisPoint,        // "Servo %1, RPM point %2"
    Column,           // "Servo %1, the column at %2 RPM"
    Hysteresis,       // "Servo %1, %2": the servo and the field's caption
    Higher,           // "%1, higher": the up arrow of the field or column named %1
    Lower,            // "%1, lower"
    MapUnit,          // "Unit of the map: %1"
    Count
};

// The text in language 0 Czech, 1 English, 2 German; any other index reads Czech. UTF-8.
std::string_view AccessText(AccessTextId id, std::uint8_t language);

} // namespace zevo
