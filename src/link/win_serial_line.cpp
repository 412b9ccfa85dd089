#include "link/win_serial_line.h"

#ifndef NOMINMAX
#define NOMINMAX // std::min and std::max, not the macros
#endif
#include <windows.h>
#include <setupapi.h>

#include <algorithm>
#include <map>
#include <memory>

#include "link/win_port_rules.h"

namespace zevo {

namespace {

constexpr DWORD InputQueueBytes = 10000;
constexpr DWORD OutputQueueBytes = 1024;
constexpr DWORD WriteTimeoutMs = 100; // a frame takes about 9 ms on the wire at 57600 baud

HANDLE AsHandle(void* handle) {
    return static_cast<HANDLE>(handle);
}

std::string SystemText(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string said = length > 0 && text != nullptr ? std::string(text, length) : std::string();
    if (text != nullptr)
        LocalFree(text);
    return said;
}

// The values of HARDWARE\DEVICEMAP\SERIALCOMM: one per port the drivers have made.
std::vector<SerialCommEntry> SerialCommEntries() {
    std::vector<SerialCommEntry> entries;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return entries;
    for (DWORD index = 0; index < 256; ++index) {
        char name[256];
        BYTE data[256];
        DWORD nameLength = sizeof name;
        DWORD dataLength = sizeof data - 1;
        DWORD type = 0;
        const LONG result = RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataLength);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue;
        data[dataLength] = 0;
        entries.push_back({std::string(name, nameLength), std::string(reinterpret_cast<const char*>(data))});
    }
    RegCloseKey(key);
    return entries;
}

// The friendly names the device manager shows ("USB Serial Port (COM3)"), by port name.
std::map<std::string, std::string> FriendlyNames() {
    std::map<std::string, std::string> names;
    static const GUID portsClass = {0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
    HDEVINFO devices = SetupDiGetClassDevsA(&portsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE)
        return names;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        char friendly[256] = {};
        if (!SetupDiGetDeviceRegistryPropertyA(devices, &device, SPDRP_FRIENDLYNAME, nullptr,
                                               reinterpret_cast<PBYTE>(friendly), sizeof friendly - 1, nullptr))
            continue;
        HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE)
            continue;
        char port[64] = {};
        DWORD length = sizeof port - 1;
        DWORD type = 0;
        if (RegQueryValueExA(key, "PortName", nullptr, &type, reinterpret_cast<LPBYTE>(port), &length) ==
                ERROR_SUCCESS &&
            type == REG_SZ)
            names[port] = friendly;
        RegCloseKey(key);
    }
    SetupDiDestroyDeviceInfoList(devices);
    return names;
}

} // namespace

struct WinSerialLine::SavedState {
    DCB Control{};
    COMMTIMEOUTS Timeouts{};
};

WinSerialLine::WinSerialLine(PortPins pins) : PinnedPorts(std::move(pins)) {}

WinSerialLine::~WinSerialLine() {
    Close();
}

std::string WinSerialLine::PortName(int portNumber) const {
    return "COM" + std::to_string(portNumber);
}

std::string WinSerialLine::DevicePath(int portNumber) const {
    for (const SerialCommEntry& entry : SerialCommEntries())
        if (ComNumberOf(entry.PortName) == portNumber)
            return WinComPath(portNumber);
    return {};
}

bool WinSerialLine::Open(int portNumber, std::string* error) {
    Close();
    const std::string path = WinComPath(portNumber);
    // Exclusive: a COM port has one owner; no sharing, no overlapped I/O.
    HANDLE port = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (error != nullptr)
            *error = WinOpenFailure(code, portNumber, SystemText(code));
        return false;
    }
    auto saved = std::make_unique<SavedState>();
    saved->Control.DCBlength = sizeof(DCB);
    DCB control{};
    control.DCBlength = sizeof(DCB);
    COMMTIMEOUTS timeouts{};
    // Never wait on a read: whatever has arrived comes back at once. A write may take its frame's
    // time and a little more.
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = WriteTimeoutMs;
    bool ok = SetupComm(port, InputQueueBytes, OutputQueueBytes) && GetCommState(port, &saved->Control) &&
                    GetCommTimeouts(port, &saved->Timeouts) && GetCommState(port, &control) &&
                    BuildCommDCBA("baud=57600 parity=N data=8 stop=1", &control);
    if (ok) {
        // No handshake of any kind: the unit's cable carries the data lines and ground only. DTR and
        // RTS are held on, which some adapters need to power the line.
        control.fBinary = TRUE;
        control.fParity = FALSE;
        control.fOutxCtsFlow = FALSE;
        control.fOutxDsrFlow = FALSE;
        control.fDtrControl = DTR_CONTROL_ENABLE;
        control.fDsrSensitivity = FALSE;
        control.fOutX = FALSE;
        control.fInX = FALSE;
        control.fRtsControl = RTS_CONTROL_ENABLE;
        control.fAbortOnError = FALSE;
    }
    ok = ok && SetCommState(port, &control) && SetCommTimeouts(port, &timeouts);
    if (!ok) {
        const DWORD code = GetLastError();
        if (error != nullptr)
            *error = WinOpenFailure(code, portNumber, SystemText(code));
        CloseHandle(port);
        return false;
    }
    // Bytes from before this open (an answer to an earlier session) would put the first frame out
    // of step; a freshly opened port starts with empty queues.
    PurgeComm(port, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    Handle = port;
    Saved = saved.release();
    return true;
}

void WinSerialLine::Close() {
    if (Handle == nullptr)
        return;
    HANDLE port = AsHandle(Handle);
    PurgeComm(port, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    if (Saved != nullptr) {
        SetCommState(port, &Saved->Control);
        SetCommTimeouts(port, &Saved->Timeouts);
    }
    CloseHandle(port);
    delete Saved;
    Saved = nullptr;
    Handle = nullptr;
}

bool WinSerialLine::IsOpen() const {
    return Handle != nullptr;
}

int WinSerialLine::BytesWaiting() {
    if (Handle == nullptr)
        return -1;
    DWORD errors = 0;
    COMSTAT status{};
    // Also clears a line error (a framing or overrun error), which would stop further reading.
    if (!ClearCommError(AsHandle(Handle), &errors, &status)) {
        if (WinPortGone(GetLastError())) {
            Close();
            return -1;
        }
        return 0;
    }
    return static_cast<int>(std::min<DWORD>(status.cbInQue, 0x7FFFFFFF));
}

int WinSerialLine::Read(std::span<std::uint8_t> buffer) {
    if (Handle == nullptr || buffer.empty())
        return 0;
    DWORD read = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), 0x7FFFFFFF));
    if (!ReadFile(AsHandle(Handle), buffer.data(), wanted, &read, nullptr)) {
        if (WinPortGone(GetLastError()))
            Close();
        return 0;
    }
    return static_cast<int>(read);
}

void WinSerialLine::WriteFrame(const Frame& frame) {
    if (Handle == nullptr)
        return;
    DWORD written = 0;
    HANDLE port = AsHandle(Handle);
    // Returns once the frame has left the computer: the unit answers only a whole frame.
    if (!WriteFile(port, frame.data(), static_cast<DWORD>(frame.size()), &written, nullptr) ||
        !FlushFileBuffers(port)) {
        // A line that disappeared is noticed here already; the next BytesWaiting() reports it.
        if (WinPortGone(GetLastError()))
            Close();
    }
}

std::vector<PortDescription> DescribePorts(const WinSerialLine& line) {
    std::vector<PortDescription> ports = DescribeWinPorts(SerialCommEntries(), FriendlyNames());
    for (PortDescription& port : ports)
        port.Pinned = line.Pins().count(port.Number) != 0;
    return ports;
}

} // namespace zevo
