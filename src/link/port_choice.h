#pragma once
#include <cstdint>

namespace zevo {

// Which serial port the tool talks on. COM numbers 1..20 are the user's vocabulary; index 20 means
// "search": the tool then walks COM(AutoPortNumber + 1) through COM1..COM21 until a unit answers.
inline constexpr std::uint8_t AutoSearchPortIndex = 20;
inline constexpr std::uint8_t AutoPortCount = 21;

struct PortChoice {
    std::uint8_t ComPortIndex = AutoSearchPortIndex; // 0..19 = COM1..COM20, 20 = automatic search
    std::uint8_t AutoPortNumber = 0;                 // 0..20: the search is at COM(AutoPortNumber + 1)
    friend bool operator==(const PortChoice&, const PortChoice&) = default;
};

} // namespace zevo
