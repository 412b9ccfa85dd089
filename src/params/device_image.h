#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "link/port_choice.h"

namespace zevo {

// The program version this tool speaks. The unit's identification page must carry the same number,
// parameter files carry it as their format number and it is part of the settings file name.
inline constexpr int PcProgramVersion = 56;

inline constexpr int PageSize = 50;
inline constexpr int PageCount = 8;
inline constexpr int ImageSize = PageSize * PageCount; // 400
inline constexpr int BlockOffset = PageSize;           // the parameter block starts at page 1
inline constexpr int BlockSize = ImageSize - BlockOffset;
inline constexpr int ServoCount = 2;
inline constexpr int MapRows = 10;
inline constexpr int MapColumns = 15;
inline constexpr int MapCells = MapRows * MapColumns;
inline constexpr int RpmPoints = MapColumns;

// The fixed throttle positions (per cent) of the ten map rows; they are not stored in the unit.
inline constexpr std::array<int, MapRows> TpRows = {0, 2, 5, 10, 20, 30, 40, 60, 80, 100};

// Offsets of the fields inside the parameter block (block byte b is image byte 50 + b). Fields that
// exist once per servo are stored as a pair: servo 1 first, servo 2 in the next byte.
namespace block {
inline constexpr int HysteresisMv = 0;     // 0/1: hysteresis in mV = 5 x byte
inline constexpr int HysteresisRpm = 2;    // 2/3: hysteresis in RPM = 5 x byte
inline constexpr int ServoEnable = 4;      // 4/5
inline constexpr int TpEnable = 6;         // 6/7: map depends on throttle too (else row 0 only)
inline constexpr int Tps0 = 8;             // throttle sensor at 0 %: mV = 10 x byte
inline constexpr int Tps100 = 9;           // throttle sensor at 100 %: mV = 10 x byte + 2500
inline constexpr int PulsesPerRevIndex = 10; // 0 = one pulse per two turns, k = k pulses per turn
inline constexpr int PerCentMode = 15;     // 15/16: map unit, 0 = 20 mV steps, else per cent
inline constexpr int RpmAxis = 20;         // 20..34 servo 1, 35..49 servo 2: RPM = 100 x byte
inline constexpr int ServoMap = 50;        // 50..199 servo 1, 200..349 servo 2: cell (r, c) at 15r + c
} // namespace block

// The unit's memory as the wire sees it: eight pages of 50 bytes. Page 0 is the unit's
// identification (read-only for the tool), pages 1..7 are the parameter block. Servo numbers in the
// accessors are 0 (servo 1) and 1 (servo 2).
class DeviceImage {
public:
    std::array<std::uint8_t, ImageSize> Bytes{};

    std::span<std::uint8_t, PageSize> Page(int page) {
        return std::span<std::uint8_t, PageSize>(Bytes.data() + PageSize * page, PageSize);
    }
    std::span<const std::uint8_t, PageSize> Page(int page) const {
        return std::span<const std::uint8_t, PageSize>(Bytes.data() + PageSize * page, PageSize);
    }
    std::span<std::uint8_t, PageSize> IdentificationPage() { return Page(0); }
    std::span<const std::uint8_t, PageSize> IdentificationPage() const { return Page(0); }

    std::uint8_t& BlockByte(int b) { return Bytes[static_cast<std::size_t>(BlockOffset + b)]; }
    std::uint8_t BlockByte(int b) const { return Bytes[static_cast<std::size_t>(BlockOffset + b)]; }

    std::uint8_t& HysteresisMv(int servo) { return BlockByte(block::HysteresisMv + servo); }
    std::uint8_t HysteresisMv(int servo) const { return BlockByte(block::HysteresisMv + servo); }
    std::uint8_t& HysteresisRpm(int servo) { return BlockByte(block::HysteresisRpm + servo); }
    std::uint8_t HysteresisRpm(int servo) const { return BlockByte(block::HysteresisRpm + servo); }
    std::uint8_t& ServoEnable(int servo) { return BlockByte(block::ServoEnable + servo); }
    std::uint8_t ServoEnable(int servo) const { return BlockByte(block::ServoEnable + servo); }
    std::uint8_t& TpEnable(int servo) { return BlockByte(block::TpEnable + servo); }
    std::uint8_t TpEnable(int servo) const { return BlockByte(block::TpEnable + servo); }
    std::uint8_t& PerCentMode(int servo) { return BlockByte(block::PerCentMode + servo); }
    std::uint8_t PerCentMode(int servo) const { return BlockByte(block::PerCentMode + servo); }
    std::uint8_t& Tps0() { return BlockByte(block::Tps0); }
    std::uint8_t Tps0() const { return BlockByte(block::Tps0); }
    std::uint8_t& Tps100() { return BlockByte(block::Tps100); }
    std::uint8_t Tps100() const { return BlockByte(block::Tps100); }
    std::uint8_t& PulsesPerRevIndex() { return BlockByte(block::PulsesPerRevIndex); }
    std::uint8_t PulsesPerRevIndex() const { return BlockByte(block::PulsesPerRevIndex); }

    std::uint8_t& RpmAxis(int servo, int point) { return BlockByte(block::RpmAxis + RpmPoints * servo + point); }
    std::uint8_t RpmAxis(int servo, int point) const {
        return BlockByte(block::RpmAxis + RpmPoints * servo + point);
    }
    std::uint8_t& MapCell(int servo, int cell) { return BlockByte(block::ServoMap + MapCells * servo + cell); }
    std::uint8_t MapCell(int servo, int cell) const {
        return BlockByte(block::ServoMap + MapCells * servo + cell);
    }
    std::uint8_t& MapCell(int servo, int row, int column) { return MapCell(servo, MapColumns * row + column); }
    std::uint8_t MapCell(int servo, int row, int column) const {
        return MapCell(servo, MapColumns * row + column);
    }

    friend bool operator==(const DeviceImage&, const DeviceImage&) = default;
};

// The "All" switches of the editing tools, one per servo. They live beside the block: never sent to
// the unit, never in parameter files, but kept in the image file between runs.
using AllCellsFlags = std::array<std::uint8_t, ServoCount>;

// Loads the default parameter set. Map defaults are scaled by each servo's current PerCentMode;
// TpEnable, PerCentMode, the unused bytes and the identification page keep their values.
void SetDefaults(DeviceImage& image);

// Repairs the two RPM axes so that each is strictly increasing within 0..250, and resets serial
// port indexes that name no port. Never reports anything: it only corrects.
void ValidateBlock(DeviceImage& image, PortChoice& ports);

} // namespace zevo
