#include "params/conversions.h"

#include <gtest/gtest.h>

namespace zevo {
namespace {

// One row: a value as the editor shows it (after clamping to the field's range) and the byte it
// stores, and the value the byte displays again.
struct Row {
    const char* field;
    int stored;   // the byte in the block
    int shown;    // what the spinner shows for it (clamped to the range)
    int written;  // the byte written back from what is shown
};

int Shown(const char* field, std::uint8_t b) {
    const std::string f = field;
    if (f == "hyst")
        return ClampToRange(HysteresisToDisplay(b), HysteresisRange);
    if (f == "tps0")
        return ClampToRange(Tps0ToDisplay(b), Tps0Range);
    if (f == "tps100")
        return ClampToRange(Tps100ToDisplay(b), Tps100Range);
    if (f == "rpm")
        return ClampToRange(RpmToDisplay(b), RpmRange);
    if (f == "mapMv")
        return ClampToRange(MapCellToDisplay(b, false), MapMillivoltRange);
    if (f == "mapPct")
        return ClampToRange(MapCellToDisplay(b, true), MapPerCentRange);
    return PulsesItemToDisplay(b);
}

std::uint8_t Written(const char* field, int v) {
    const std::string f = field;
    if (f == "hyst")
        return HysteresisFromDisplay(v);
    if (f == "tps0")
        return Tps0FromDisplay(v);
    if (f == "tps100")
        return Tps100FromDisplay(v);
    if (f == "rpm")
        return RpmFromDisplay(v);
    if (f == "mapMv")
        return MapCellFromDisplay(v, false);
    if (f == "mapPct")
        return MapCellFromDisplay(v, true);
    return PulsesItemFromDisplay(v);
}

TEST(Conversions, StoredBytesShowClampedAndWriteBackClamped) {
    const Row rows[] = {
        {"hyst", 80, 400, 80},      {"hyst", 255, 1250, 250},    {"hyst", 0, 0, 0},
        {"tps0", 48, 480, 48},      {"tps0", 5, 100, 10},        {"tps0", 250, 2500, 250},
        {"tps0", 255, 2500, 250},   {"tps100", 197, 4470, 197},  {"tps100", 0, 2500, 0},
        {"tps100", 240, 4900, 240}, {"tps100", 255, 4900, 240},  {"rpm", 250, 25000, 250},
        {"rpm", 255, 25000, 250},   {"mapMv", 130, 2600, 130},   {"mapMv", 250, 5000, 250},
        {"mapMv", 251, 5000, 250},  {"mapMv", 255, 5000, 250},   {"mapPct", 100, 100, 100},
        {"mapPct", 101, 100, 100},  {"mapPct", 40, 40, 40},      {"pulses", 12, 12, 12},
        {"pulses", 13, 12, 12},     {"pulses", 200, 12, 12},     {"pulses", 0, 0, 0},
    };
    for (const Row& r : rows) {
        const int shown = Shown(r.field, static_cast<std::uint8_t>(r.stored));
        EXPECT_EQ(shown, r.shown) << r.field << " " << r.stored;
        EXPECT_EQ(Written(r.field, shown), r.written) << r.field << " " << r.stored;
    }
}

TEST(Conversions, TypedValuesTruncate) {
    struct Typed {
        const char* field;
        int typed;
        int byte;
    };
    const Typed rows[] = {
        {"mapMv", 2610, 130}, {"mapMv", 19, 0},     {"mapMv", 5000, 250}, {"hyst", 404, 80},
        {"tps0", 109, 10},    {"tps100", 2500, 0},  {"tps100", 4900, 240}, {"tps100", 2509, 0},
        {"rpm", 9999, 99},    {"mapPct", 55, 55},
    };
    for (const Typed& r : rows)
        EXPECT_EQ(Written(r.field, r.typed), r.byte) << r.field << " " << r.typed;
}

TEST(Conversions, BytesKeepTheLowEightBits) {
    // Values the ranges never produce still convert without undefined behaviour.
    EXPECT_EQ(Tps100FromDisplay(2490), 255); // -1 modulo 256
    EXPECT_EQ(RpmFromDisplay(25600), 0);
    EXPECT_EQ(MapCellFromDisplay(300, true), 44);
    EXPECT_EQ(FlagFromDisplay(true), 1);
    EXPECT_TRUE(FlagToDisplay(7));
}

} // namespace
} // namespace zevo
