#include "lang/access_texts.h"

#include "lang/text_table.h"

namespace zevo {
namespace {

// "RPM" is the same word in every language of the tool, as on the page's own captions.
constexpr TextTable<AccessTextId> Texts{{
    {AccessTextId::MapCell, "Servo %1, %2, %3 RPM", "Servo %1, %2, %3 RPM", "Servo %1, %2, %3 RPM"},
    {AccessTextId::MapCellOneRow, "Servo %1, %2 RPM", "Servo %1, %2 RPM", "Servo %1, %2 RPM"},
    {AccessTextId::AxisPoint, "Servo %1, bod osy otáček %2", "Servo %1, RPM point %2", "Servo %1, Drehzahlpunkt %2"},
    {AccessTextId::Column, "Servo %1, sloupec při %2 RPM", "Servo %1, the column at %2 RPM",
     "Servo %1, Spalte bei %2 RPM"},
    {AccessTextId::Hysteresis, "Servo %1, %2", "Servo %1, %2", "Servo %1, %2"},
    {AccessTextId::Higher, "%1, zvýšit", "%1, higher", "%1, erhöhen"},
    {AccessTextId::Lower, "%1, snížit", "%1, lower", "%1, verringern"},
    {AccessTextId::MapUnit, "Jednotka mapy: %1", "Unit of the map: %1", "Einheit des Kennfelds: %1"},
}};
static_assert(RowsInIdOrder(Texts));

} // namespace

std::string_view AccessText(AccessTextId id, std::uint8_t language) {
    return TextIn(Texts, id, language);
}

} // namespace zevo
