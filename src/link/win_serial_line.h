#pragma once
#include <string>
#include <vector>

#include "link/port_description.h"
#include "link/port_map.h"
#include "link/serial_line.h"

namespace zevo {

// The serial line on Windows, with the system's communications functions: COM n is the system's own
// COMn, opened exclusively for reading and writing, 57600 baud, 8 data bits, no parity, one stop bit,
// an input queue of 10 000 bytes and an output queue of 1 024. Reads never wait: the tick takes what
// the system has received.
class WinSerialLine final : public SerialLine {
public:
    // Pins name devices by path, which Windows does not need: COM n is always COMn. They are kept so
    // that the settings file and the port assignments read the same on every platform.
    explicit WinSerialLine(PortPins pins = {});
    ~WinSerialLine() override;
    WinSerialLine(const WinSerialLine&) = delete;
    WinSerialLine& operator=(const WinSerialLine&) = delete;

    void SetPins(PortPins pins) { PinnedPorts = std::move(pins); }
    const PortPins& Pins() const { return PinnedPorts; }

    bool Open(int portNumber, std::string* error) override;
    void Close() override;
    bool IsOpen() const override;
    std::string PortName(int portNumber) const override;
    // "\\.\COMn" when the system lists COMn, else empty.
    std::string DevicePath(int portNumber) const override;
    int BytesWaiting() override;
    int Read(std::span<std::uint8_t> buffer) override;
    void WriteFrame(const Frame& frame) override;

private:
    PortPins PinnedPorts;
    void* Handle = nullptr; // the port's HANDLE; none while closed
    struct SavedState;
    SavedState* Saved = nullptr; // the line settings found at open, put back at close
};

// The ports the system lists (the registry's SERIALCOMM key), with their friendly names.
std::vector<PortDescription> DescribePorts(const WinSerialLine& line);

} // namespace zevo
