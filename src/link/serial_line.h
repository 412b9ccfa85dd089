#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "link/frame.h"

namespace zevo {

// The serial line to the unit as the link engine sees it: a port is opened by its COM number
// (1..21), set to 57600 baud, 8 data bits, no parity, 1 stop bit. Nothing here ever blocks the UI
// thread beyond sending one frame (about 9 ms at 57600 baud).
class SerialLine {
public:
    virtual ~SerialLine() = default;

    // Opens COM<portNumber>. On failure returns false and gives the system's reason in *error.
    virtual bool Open(int portNumber, std::string* error) = 0;
    // Closes the port and restores what Open changed; nothing happens when no port is open.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // The short name of the device behind COM<portNumber> for the port label ("COM3", "ttyUSB0").
    virtual std::string PortName(int portNumber) const = 0;
    // The whole device path behind COM<portNumber> ("/dev/serial/by-id/usb-FTDI_..."), empty when no
    // device is there or the line has no paths.
    virtual std::string DevicePath(int /*portNumber*/) const { return {}; }

    // Bytes waiting in the input queue (clearing a pending error condition), or -1 when no port is
    // open or the query fails.
    virtual int BytesWaiting() = 0;
    // Reads up to buffer.size() waiting bytes without waiting for more; returns how many were read.
    virtual int Read(std::span<std::uint8_t> buffer) = 0;
    // Writes one frame and returns once it has left the computer (or failed; failures are not
    // reported: the unit's silence is noticed by the time-outs).
    virtual void WriteFrame(const Frame& frame) = 0;
};

} // namespace zevo
