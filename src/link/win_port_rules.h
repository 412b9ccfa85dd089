#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "link/port_description.h"

namespace zevo {

// How a Windows serial port is named and listed, without the system calls, so the rules are tested on
// every platform. COM n is the system's own COMn ("\\.\COMn": the form that also reaches COM10 and
// above).

// The path CreateFileA opens for COM portNumber.
std::string WinComPath(int portNumber);

// What the user is told when COM portNumber does not open: the system's error code and its own text
// (FormatMessage's, trailing line breaks allowed). A port held by another program and a number with
// no port behind it get words of their own; any other error keeps the system's words.
std::string WinOpenFailure(std::uint32_t errorCode, int portNumber, const std::string& systemText);

// True when an error of ReadFile, WriteFile or ClearCommError means the port has gone (a USB adapter
// pulled out) rather than a passing fault of the line.
bool WinPortGone(std::uint32_t errorCode);

// One value of the registry key HARDWARE\DEVICEMAP\SERIALCOMM: the driver's device name and the port
// name it was given ("\Device\VCP0" -> "COM3").
struct SerialCommEntry {
    std::string Device;
    std::string PortName;
};

// The ports COM1..COM21 the registry lists, in COM order, each once; friendly names ("USB Serial
// Port (COM3)") by port name where the system has them. Other names ("COM22", "CNCA0") are left out:
// the tool cannot choose them.
std::vector<PortDescription> DescribeWinPorts(const std::vector<SerialCommEntry>& entries,
                                              const std::map<std::string, std::string>& friendlyNames);

// "COM7" -> 7, "com7" -> 7; 0 for anything else.
int ComNumberOf(const std::string& portName);

} // namespace zevo
