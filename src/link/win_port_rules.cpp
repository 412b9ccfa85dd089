#include "link/win_port_rules.h"

#include <algorithm>
#include <cctype>

#include "link/port_map.h"

namespace zevo {

namespace {

// The system's error codes these rules tell apart (winerror.h), by number so the rules need no
// Windows header.
constexpr std::uint32_t ErrorFileNotFound = 2;
constexpr std::uint32_t ErrorPathNotFound = 3;
constexpr std::uint32_t ErrorAccessDenied = 5;
constexpr std::uint32_t ErrorInvalidHandle = 6;
constexpr std::uint32_t ErrorBadCommand = 22;
constexpr std::uint32_t ErrorGenFailure = 31;
constexpr std::uint32_t ErrorSharingViolation = 32;
constexpr std::uint32_t ErrorDevNotExist = 55;
constexpr std::uint32_t ErrorNoSuchDevice = 433;
constexpr std::uint32_t ErrorOperationAborted = 995;
constexpr std::uint32_t ErrorDeviceNotConnected = 1167;
constexpr std::uint32_t ErrorDeviceRemoved = 1617;

std::string Trimmed(std::string text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())) != 0)
        text.pop_back();
    return text;
}

} // namespace

std::string WinComPath(int portNumber) {
    return "\\\\.\\COM" + std::to_string(portNumber);
}

std::string WinOpenFailure(std::uint32_t errorCode, int portNumber, const std::string& systemText) {
    switch (errorCode) {
    case ErrorFileNotFound:
    case ErrorPathNotFound:
        // The same words as where the tool counts the ports itself.
        return "No serial port is present for COM" + std::to_string(portNumber) + ".";
    case ErrorAccessDenied:
    case ErrorSharingViolation:
        // A COM port is opened exclusively: the system refuses a second program with "access
        // denied", which would send the user looking for rights they already have.
        return "The serial port is in use by another program; close it there, and the tool takes the "
               "port by itself.";
    default:
        break;
    }
    std::string text = Trimmed(systemText);
    if (text.empty())
        text = "COM" + std::to_string(portNumber) + " cannot be opened (system error " +
               std::to_string(errorCode) + ").";
    return text;
}

bool WinPortGone(std::uint32_t errorCode) {
    switch (errorCode) {
    case ErrorAccessDenied: // what a USB serial driver answers once its device has been pulled out
    case ErrorInvalidHandle:
    case ErrorBadCommand:
    case ErrorGenFailure:
    case ErrorDevNotExist:
    case ErrorNoSuchDevice:
    case ErrorOperationAborted:
    case ErrorDeviceNotConnected:
    case ErrorDeviceRemoved:
        return true;
    default:
        return false;
    }
}

int ComNumberOf(const std::string& portName) {
    if (portName.size() < 4 || portName.size() > 6)
        return 0;
    for (std::size_t i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(portName[i])) != "COM"[i])
            return 0;
    int number = 0;
    for (std::size_t i = 3; i < portName.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(portName[i])) == 0)
            return 0;
        number = number * 10 + (portName[i] - '0');
    }
    return portName[3] == '0' ? 0 : number;
}

std::vector<PortDescription> DescribeWinPorts(const std::vector<SerialCommEntry>& entries,
                                              const std::map<std::string, std::string>& friendlyNames) {
    std::vector<PortDescription> ports;
    for (const SerialCommEntry& entry : entries) {
        const int number = ComNumberOf(entry.PortName);
        if (number < FirstPortNumber || number > LastPortNumber)
            continue;
        if (std::any_of(ports.begin(), ports.end(), [number](const PortDescription& p) { return p.Number == number; }))
            continue;
        PortDescription port;
        port.Number = number;
        port.Path = WinComPath(number);
        port.Present = true;
        const std::string name = "COM" + std::to_string(number);
        if (const auto friendly = friendlyNames.find(name); friendly != friendlyNames.end() && !friendly->second.empty())
            port.Description = friendly->second;
        else
            port.Description = entry.Device;
        ports.push_back(std::move(port));
    }
    std::sort(ports.begin(), ports.end(),
              [](const PortDescription& a, const PortDescription& b) { return a.Number < b.Number; });
    return ports;
}

} // namespace zevo
