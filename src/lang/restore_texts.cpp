#include "lang/restore_texts.h"

#include <array>
#include <cstddef>

#include "lang/language_tables.h"

namespace zevo {
namespace {

struct Row {
    RestoreTextId id;
    const char* czech;
    const char* english;
    const char* german;
};

// Checked against the ids at compile time, so a row dropped or inserted by mistake stops the build.
template <std::size_t N> constexpr bool RowsInIdOrder(const std::array<Row, N>& rows) {
    for (std::size_t i = 0; i < N; ++i)
        if (static_cast<std::size_t>(rows[i].id) != i)
            return false;
    return N == static_cast<std::size_t>(RestoreTextId::Count);
}

constexpr std::array<Row, static_cast<std::size_t>(RestoreTextId::Count)> Texts{{
    {RestoreTextId::DifferenceLine, "%1: zde %2, tam %3", "%1: %2 here, %3 there", "%1: hier %2, dort %3"},
    {RestoreTextId::Tps0, "Snímač TP při 0 %", "TP sensor at 0 %", "TP-Sensor bei 0 %"},
    {RestoreTextId::Tps100, "Snímač TP při 100 %", "TP sensor at 100 %", "TP-Sensor bei 100 %"},
    {RestoreTextId::On, "zapnuto", "on", "ein"},
    {RestoreTextId::Off, "vypnuto", "off", "aus"},
    {RestoreTextId::StateInUnit, "V zapalování", "In unit", "In der Zündung"},
    {RestoreTextId::StateDiffers, "Liší se od zapalování", "Differs from unit", "Weicht von der Zündung ab"},
    {RestoreTextId::StateUnknown, "Zapalování neznámé", "Unit not known", "Zündung unbekannt"},
    {RestoreTextId::StateInUnitTip, "Sada na obrazovce je ta, která byla naposledy načtena ze zapalování nebo do něj naprogramována",
     "The set on screen is the one last read from or programmed into the unit",
     "Der Satz auf dem Bildschirm ist der zuletzt aus der Zündung gelesene oder in sie programmierte"},
    {RestoreTextId::StateDiffersTip, "Sada na obrazovce se liší od té, která byla naposledy načtena ze zapalování nebo do něj naprogramována",
     "The set on screen differs from the one last read from or programmed into the unit",
     "Der Satz auf dem Bildschirm weicht vom zuletzt aus der Zündung gelesenen oder in sie programmierten ab"},
    {RestoreTextId::StateUnknownTip, "Ze zapalování, které je připojeno, nebyla dosud načtena ani do něj naprogramována žádná sada",
     "No set has been read from or programmed into the connected unit yet",
     "Aus der angeschlossenen Zündung wurde noch kein Satz gelesen oder in sie programmiert"},
    {RestoreTextId::BackupsNotWritten, "Body obnovení nelze ukládat do %1: %2", "Restore points cannot be kept in %1: %2",
     "Wiederherstellungspunkte können nicht in %1 abgelegt werden: %2"},
}};
static_assert(RowsInIdOrder(Texts), "one row per RestoreTextId, in id order");

} // namespace

std::string_view RestoreText(RestoreTextId id, std::uint8_t language) {
    const auto index = static_cast<std::size_t>(id);
    if (index >= Texts.size())
        return {};
    const Row& row = Texts[index];
    switch (language) {
    case LanguageEnglish:
        return row.english;
    case LanguageGerman:
        return row.german;
    default:
        return row.czech;
    }
}

} // namespace zevo
