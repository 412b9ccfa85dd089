#include "link/identification.h"

#include <array>

namespace zevo {

namespace {

char Printable(std::uint8_t byte) {
    // Labels take UTF-8; the unit's texts are plain ASCII. A byte outside it is not worth guessing
    // a code page for, and a zero or control byte must not cut or break the label.
    return (byte >= 0x20 && byte < 0x7F) ? static_cast<char>(byte) : '?';
}

// Two digits of a byte; the unit writes these fields as 0..99, anything above is a damaged page.
void AppendTwoDigits(std::string& text, std::uint8_t value, char tensIfZero = '0') {
    if (value > 99) {
        text += "??";
        return;
    }
    text += (value / 10 == 0) ? tensIfZero : static_cast<char>('0' + value / 10);
    text += static_cast<char>('0' + value % 10);
}

} // namespace

const char* MonthFromCode(std::uint8_t code) {
    struct Month {
        std::uint8_t Code;
        const char* Shown;
    };
    static constexpr std::array<Month, 12> Months = {{{25, " 1"},
                                                      {13, " 2"},
                                                      {32, " 3"},
                                                      {35, " 4"},
                                                      {39, " 5"},
                                                      {45, " 6"},
                                                      {43, " 7"},
                                                      {29, " 8"},
                                                      {40, " 9"},
                                                      {38, "10"},
                                                      {51, "11"},
                                                      {12, "12"}}};
    for (const Month& m : Months)
        if (m.Code == code)
            return m.Shown;
    return "00";
}

Identification DecodeIdentification(std::span<const std::uint8_t, PageSize> page) {
    Identification id;
    for (int i = 0; i < 3; ++i)
        id.UnitName += Printable(page[static_cast<std::size_t>(idpage::Name + i)]);
    AppendTwoDigits(id.UnitName, page[idpage::Number]);

    AppendTwoDigits(id.UnitBuildDate, page[idpage::Day], ' ');
    id.UnitBuildDate += '.';
    id.UnitBuildDate += MonthFromCode(page[idpage::MonthCode]);
    id.UnitBuildDate += ".20";
    AppendTwoDigits(id.UnitBuildDate, page[idpage::Year]);

    AppendTwoDigits(id.UnitBuildTime, page[idpage::Hour]);
    id.UnitBuildTime += ':';
    AppendTwoDigits(id.UnitBuildTime, page[idpage::Minute]);

    id.Version = page[idpage::Version];

    if (page[idpage::Text] != 0) {
        id.UnitName.clear();
        for (int i = 0; i < idpage::TextLength; ++i) {
            const std::uint8_t byte = page[static_cast<std::size_t>(idpage::Text + i)];
            if (byte == 0)
                break;
            id.UnitName += Printable(byte);
        }
    }
    return id;
}

} // namespace zevo
