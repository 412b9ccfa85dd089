#pragma once
#include <cstdint>

namespace zevo {

// What an editor field allows, in displayed units.
struct EditorRange {
    int Min;
    int Max;
    int Step;
};

inline constexpr EditorRange HysteresisRange{0, 1250, 5};
inline constexpr EditorRange Tps0Range{100, 2500, 10};
inline constexpr EditorRange Tps100Range{2500, 4900, 10};
inline constexpr EditorRange RpmRange{0, 25000, 100};
inline constexpr EditorRange MapMillivoltRange{0, 5000, 20};
inline constexpr EditorRange MapPerCentRange{0, 100, 1};
inline constexpr int PulsesPerRevItems = 13; // radio items 0..12

inline constexpr EditorRange MapRange(bool perCent) { return perCent ? MapPerCentRange : MapMillivoltRange; }

// Displayed values become bytes by truncating division; the byte keeps the low 8 bits. The editor's
// ranges keep real values inside a byte, except where a range end is wider than the byte (a map cell
// of 5000 mV is 250, an RPM point of 25000 is 250).
inline constexpr std::uint8_t LowByte(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

inline constexpr int HysteresisToDisplay(std::uint8_t b) { return 5 * b; }
inline constexpr std::uint8_t HysteresisFromDisplay(int v) { return LowByte(v / 5); }

inline constexpr int Tps0ToDisplay(std::uint8_t b) { return 10 * b; }
inline constexpr std::uint8_t Tps0FromDisplay(int v) { return LowByte(v / 10); }

// The 100 % calibration is stored above 2500 mV, where every real sensor lies.
inline constexpr int Tps100ToDisplay(std::uint8_t b) { return 10 * b + 2500; }
inline constexpr std::uint8_t Tps100FromDisplay(int v) { return LowByte(v / 10 - 250); }

inline constexpr int RpmToDisplay(std::uint8_t b) { return 100 * b; }
inline constexpr std::uint8_t RpmFromDisplay(int v) { return LowByte(v / 100); }

// A map cell is a servo target signal: 20 mV steps, or per cent (one per cent is 50 mV).
inline constexpr int MapCellToDisplay(std::uint8_t b, bool perCent) { return perCent ? b : 20 * b; }
inline constexpr std::uint8_t MapCellFromDisplay(int v, bool perCent) { return LowByte(perCent ? v : v / 20); }

inline constexpr bool FlagToDisplay(std::uint8_t b) { return b != 0; }
inline constexpr std::uint8_t FlagFromDisplay(bool ticked) { return ticked ? 1 : 0; }

// An index above the last radio item shows the last item.
inline constexpr int PulsesItemToDisplay(std::uint8_t b) { return b < PulsesPerRevItems ? b : PulsesPerRevItems - 1; }
inline constexpr std::uint8_t PulsesItemFromDisplay(int item) { return LowByte(item); }

// What a spinner shows for a stored value that lies outside its range: the nearest end.
inline constexpr int ClampToRange(int v, const EditorRange& range) {
    return v < range.Min ? range.Min : (v > range.Max ? range.Max : v);
}

} // namespace zevo
