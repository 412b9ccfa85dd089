#pragma once
#include <QElapsedTimer>
#include <memory>
#include <string>
#include <vector>

#include "link/port_map.h"
#include "link/serial_line.h"

class QSerialPort;

namespace zevo {

// The serial line on QSerialPort. COM n is "\\.\COMn" on Windows; elsewhere the device the port
// map gives for n among the ports present (pins from the settings file win). The line never needs
// a running event loop: BytesWaiting() collects what the system has already received.
class QtSerialLine final : public SerialLine {
public:
    explicit QtSerialLine(PortPins pins = {});
    ~QtSerialLine() override;
    QtSerialLine(const QtSerialLine&) = delete;
    QtSerialLine& operator=(const QtSerialLine&) = delete;

    void SetPins(PortPins pins);
    const PortPins& Pins() const { return PinnedPorts; }

    bool Open(int portNumber, std::string* error) override;
    void Close() override;
    bool IsOpen() const override;
    std::string PortName(int portNumber) const override;
    int BytesWaiting() override;
    int Read(std::span<std::uint8_t> buffer) override;
    void WriteFrame(const Frame& frame) override;

    // The device behind COM portNumber, empty when there is none.
    std::string DevicePath(int portNumber) const override;
    // The system's handle of the open port (a file descriptor on Unix), -1 when none is open; for
    // the test that reads the line settings back.
    long long NativeHandle() const;

private:
    bool DeviceGone() const;

    static constexpr qint64 PortListLifetimeMs = 2000;
    PortPins PinnedPorts;
    mutable std::vector<std::string> PortList; // the present ports, as last listed
    mutable QElapsedTimer PortListAge;
    std::unique_ptr<QSerialPort> Port;
};

} // namespace zevo
