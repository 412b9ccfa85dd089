#pragma once
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zevo {

class IniFile;

// Off Windows there are no COM numbers, yet COM1..COM21 stay the user's vocabulary. COM n is the
// n-th serial port present, counted in a stable order: USB adapters first (ttyUSB*, ttyACM*,
// cu.usb*, in that order, numbers compared as numbers so ttyUSB2 comes before ttyUSB10), then the
// others in the same natural order. The section [PORTS] of the settings file may pin a number to a
// device path (COM3=/dev/ttyUSB1, or a simulator's pseudo-terminal); a pinned number always gets
// its path, and a pinned path is not counted again among the present ports. The numbers that are
// not pinned take the remaining ports in order, so pinning one port never hides another.
inline constexpr int FirstPortNumber = 1;
inline constexpr int LastPortNumber = 21;

using PortPins = std::map<int, std::string>; // COM number -> device path

// The present ports in COM order (duplicates removed).
std::vector<std::string> OrderPorts(std::vector<std::string> present);

// The device path behind COM portNumber, or an empty text when there is none.
std::string PortDevicePath(int portNumber, const std::vector<std::string>& present, const PortPins& pins);

// The name shown in the port label: the last part of a path ("/dev/ttyUSB0" -> "ttyUSB0",
// "\\.\COM3" -> "COM3").
std::string ShortPortName(std::string_view path);

// The pins of the section [PORTS], keys COM1..COM21; empty values pin nothing.
PortPins ReadPortPins(const IniFile& ini);

// Writes the pins into the section [PORTS]: a pinned number gets its path, a number that had a key
// and is no longer pinned an empty value (which pins nothing); other keys stay as they are.
void WritePortPins(IniFile& ini, const PortPins& pins);

// Whether a pin to `path` would read back as exactly this path (no line ends or other control
// characters, nothing the reader trims or unquotes differently). Only such pins are written.
bool PinReadsBack(std::string_view path);

} // namespace zevo
