#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "params/device_image.h"

namespace zevo {

// What the tool shows of the unit's identification page (page 0): the unit's name, the date and
// time its program was built, and the program version it runs.
struct Identification {
    std::string UnitName;      // at most 30 characters: "ABC07", or the unit's own text
    std::string UnitBuildDate; // always 10 characters: " 3. 6.2011"
    std::string UnitBuildTime; // always 5 characters: "09:05"
    std::uint8_t Version = 0;  // must equal PcProgramVersion before any parameter page moves

    friend bool operator==(const Identification&, const Identification&) = default;
};

// Byte offsets inside the identification page.
namespace idpage {
inline constexpr int Name = 0;   // three characters
inline constexpr int Number = 3; // shown as two digits after the name
inline constexpr int Day = 4;
inline constexpr int MonthCode = 5;
inline constexpr int Year = 6; // minus 2000
inline constexpr int Hour = 7;
inline constexpr int Minute = 8;
inline constexpr int Version = 10;
inline constexpr int Text = 16; // optional name text, bytes 16..45, used when byte 16 is not 0
inline constexpr int TextLength = 30;
} // namespace idpage

// Decodes the page. Any bytes are safe: every field keeps its width, a two-digit field whose byte is
// above 99 shows "??", and a character outside printable ASCII shows as '?'.
Identification DecodeIdentification(std::span<const std::uint8_t, PageSize> page);

// The month code the unit's build stamps carry: the sum (mod 256) of the characters of the month's
// English abbreviation ("Jun" -> 45). Returns the two characters shown, " 1".."12", or "00".
const char* MonthFromCode(std::uint8_t code);

} // namespace zevo
