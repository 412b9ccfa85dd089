#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "link/frame.h"
#include "params/device_image.h"

namespace zevo {

// Colours of the monitoring labels. Normal is the window's face colour (clBtnFace on the unit's
// original tool), Lime marks the live map cell.
enum class LabelColour : std::uint8_t { Normal, Red, Yellow };

// The unit's answer to the status request (0x30 -> 0xB0), field by field. 16-bit fields are sent
// low byte first. The unit sends it about three times a second while the tool is idle, and status
// frames that were already on their way are still decoded during a transfer.
struct StatusFrame {
    std::uint16_t Rpm = 0;
    std::uint16_t TpCount = 0;     // throttle sensor, 10-bit converter count of 0..5 V
    std::uint16_t SupplyCount = 0; // supply through an 11:1 divider, 10-bit count of 0..5 V
    std::array<std::uint16_t, ServoCount> ServoMeasured{}; // mV
    std::array<std::uint16_t, ServoCount> ServoDesired{};  // mV
    std::uint16_t ProgrammingCount = 0;                    // how many times the unit was programmed
    std::array<std::uint16_t, 8> TestValues{};
    std::uint8_t TpPercent = 0;                        // 0..100; above 100 the unit reports a sensor fault
    std::array<std::uint8_t, ServoCount> ServoState{}; // 0 while the servo is not where it should be
    std::uint16_t SaveCountdown = 0; // the unit's store-to-EEPROM countdown, 0 when not storing
    std::uint8_t EeDataError = 0;    // non-zero: the unit found its stored data damaged
    std::uint8_t Version = 0;        // the unit's program version
};

// Decodes a status frame; nothing when the check byte is wrong. The caller has seen 0xB0 in byte 0.
std::optional<StatusFrame> DecodeStatusFrame(std::span<const std::uint8_t, FrameSize> frame);

// Builds the 52 bytes the unit would send for these values (check byte included). Used by tests,
// the benchmark and anything that plays the unit's part.
Frame EncodeStatusFrame(const StatusFrame& status);

// Throttle sensor in mV from its converter count: count x 5000 / 1023, kept in 16 bits as the unit's
// tool always has.
std::uint16_t TpMillivoltsFromCount(std::uint16_t count);
// Supply in mV: the sensor millivolts times the divider ratio 11.
int SupplyMillivoltsFromCount(std::uint16_t count);
// The supply label's colour: red outside 7001..17998 mV (battery flat or regulator gone), yellow
// outside 11001..14998 mV (charging system suspect), otherwise normal.
LabelColour SupplyColour(int millivolts);

// Every text and colour the monitoring area shows for one status frame, ready to be copied to the
// labels. Texts are UTF-8.
struct TelemetryCaptions {
    std::string Rpm;  // LabelRpm
    int RpmGauge = 0; // CGaugeRpm, 0..100 (full from 10000 RPM on)
    std::string Tps;  // LabelTpsMon
    LabelColour TpsColour = LabelColour::Normal;
    int TpsGauge = 0;   // CGaugeTps, 0..100
    std::string Supply; // LabelNapeti
    LabelColour SupplyColour = LabelColour::Normal;
    std::array<std::string, ServoCount> ServoDesired;  // LabelServoPoz1/2
    std::array<std::string, ServoCount> ServoMeasured; // LabelServoMer1/2
    std::array<LabelColour, ServoCount> ServoColour{}; // both labels of a servo share it
    std::string NumberOfProgramming;                   // LabelPocetProgramovani
    bool EeDataError = false;                          // LabelEeDataErr visible
    std::array<std::string, 8> Test;                   // LabelTest1..8 (shown only in test mode)
    std::string VersionWarning; // LabelVersion; empty when the unit runs this tool's version
};

// The version warning for a unit that reports another program version than this tool's.
std::string VersionWarningText(int unitVersion, std::uint8_t language);

// Composes the captions. servoEnabled tells which servos the parameter set switches on: only an
// enabled servo that the unit reports out of position turns its labels red.
TelemetryCaptions ComposeTelemetry(const StatusFrame& status,
                                   const std::array<bool, ServoCount>& servoEnabled, std::uint8_t language);
// The same from the two voltages in millivolts instead of the frame's converter counts (TpCount and
// SupplyCount are not read): a recorded row keeps the voltages.
TelemetryCaptions ComposeTelemetryFrom(const StatusFrame& status, int tpMillivolts, int supplyMillivolts,
                                       const std::array<bool, ServoCount>& servoEnabled, std::uint8_t language);
} // namespace zevo
