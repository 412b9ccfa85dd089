#include "link/qt_serial_line.h"

#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace zevo {
namespace {

constexpr int WriteWaitMs = 100; // a frame takes about 9 ms on the wire at 57600 baud

#ifndef Q_OS_WIN
// The present serial devices. A pin that is a link to one of them (a udev by-id name, say) takes
// that device out of the count, exactly as if the device itself had been pinned.
std::vector<std::string> PresentPorts(const PortPins& pins) {
    std::vector<std::string> present;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        present.push_back(info.systemLocation().toStdString());
    for (const auto& [number, path] : pins) {
        const std::string target = QFileInfo(QString::fromStdString(path)).canonicalFilePath().toStdString();
        if (target.empty() || target == path)
            continue;
        std::replace(present.begin(), present.end(), target, path);
    }
    return present;
}
#endif

} // namespace

QtSerialLine::QtSerialLine(PortPins pins) : PinnedPorts(std::move(pins)) {}

QtSerialLine::~QtSerialLine() {
    Close();
}

void QtSerialLine::SetPins(PortPins pins) {
    PinnedPorts = std::move(pins);
    PortListAge.invalidate();
}

std::string QtSerialLine::DevicePath(int portNumber) const {
#ifdef Q_OS_WIN
    if (portNumber < FirstPortNumber || portNumber > LastPortNumber)
        return {};
    return QString::asprintf("\\\\.\\COM%d", portNumber).toStdString();
#else
    // A pinned number needs no look at the system at all.
    if (const auto pin = PinnedPorts.find(portNumber); pin != PinnedPorts.end() && !pin->second.empty())
        return pin->second;
    // Listing the system's serial ports takes tens of milliseconds, and the automatic search asks
    // on every tick while it walks through the numbers: the list is taken at most every two
    // seconds, so a search never stalls the UI thread tick after tick.
    if (!PortListAge.isValid() || PortListAge.hasExpired(PortListLifetimeMs)) {
        PortList = PresentPorts(PinnedPorts);
        PortListAge.start();
    }
    return PortDevicePath(portNumber, PortList, PinnedPorts);
#endif
}

std::string QtSerialLine::PortName(int portNumber) const {
    const std::string path = DevicePath(portNumber);
    // A number with no device behind it keeps its COM name, so an automatic search can be followed
    // number by number in the label.
    if (path.empty())
        return "COM" + std::to_string(portNumber);
    return ShortPortName(path);
}

bool QtSerialLine::Open(int portNumber, std::string* error) {
    Close();
    const std::string path = DevicePath(portNumber);
    if (path.empty()) {
        if (error != nullptr)
            *error = "No serial port is present for COM" + std::to_string(portNumber) + ".";
        return false;
    }
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(QString::fromStdString(path));
    // Unbounded: the port takes whatever the system holds, the tick takes what it needs.
    port->setReadBufferSize(0);
    const bool ok = port->open(QIODevice::ReadWrite) && port->setBaudRate(QSerialPort::Baud57600) &&
                    port->setDataBits(QSerialPort::Data8) && port->setParity(QSerialPort::NoParity) &&
                    port->setStopBits(QSerialPort::OneStop) &&
                    port->setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
        if (error != nullptr) {
            std::string reason = port->errorString().toStdString();
#ifdef Q_OS_UNIX
            // Qt reports a port that another program holds (its lock file, or the device opened
            // exclusively) as a permission error too. A device this user may read and write was
            // not refused for want of rights: it is in use, and joining dialout would not help.
            const QFileInfo device(QString::fromStdString(path));
            if (port->error() == QSerialPort::PermissionError && device.exists()) {
                // Qt's own words here ("Permission error while locking the device") would send the
                // user to the dialout group again: they add nothing true, so they are left out.
                if (device.isReadable() && device.isWritable())
                    reason = "The serial port is in use by another program; close it there, and the tool "
                             "takes the port by itself.";
#ifdef Q_OS_LINUX
                // Serial devices belong to the group dialout; a user outside it can see the port but
                // not open it, and "Permission denied" alone does not tell them what to do.
                else
                    reason += " (the serial port is not accessible to this user: add the user to the group "
                              "that owns the port, usually dialout, with \"sudo usermod -aG dialout $USER\", "
                              "then log in again)";
#endif
            }
#endif
            *error = reason;
        }
        port->close();
        return false;
    }
    // Bytes from before this open (an answer to an earlier session) would put the first frame out
    // of step; a freshly opened port starts with empty queues.
    port->clear(QSerialPort::AllDirections);
    Port = std::move(port);
    return true;
}

void QtSerialLine::Close() {
    if (!Port)
        return;
    // QSerialPort puts the line settings it found back when it closes.
    if (Port->isOpen())
        Port->close();
    Port.reset();
}

bool QtSerialLine::IsOpen() const {
    return Port && Port->isOpen();
}

long long QtSerialLine::NativeHandle() const {
    if (!IsOpen())
        return -1;
#ifdef Q_OS_WIN
    return static_cast<long long>(reinterpret_cast<std::intptr_t>(Port->handle()));
#else
    return Port->handle();
#endif
}

bool QtSerialLine::DeviceGone() const {
    // An unplugged adapter (or a simulator that went away) makes reads fail: Qt reports that as
    // ResourceError, or as ReadError when the system only signals the end of the line.
    const QSerialPort::SerialPortError e = Port->error();
    return e == QSerialPort::ResourceError || e == QSerialPort::ReadError;
}

int QtSerialLine::BytesWaiting() {
    if (!IsOpen())
        return -1;
    // Take over what the system has already received, without waiting and without an event loop:
    // the tick must see the bytes even when no event was processed since the last one.
    Port->clearError();
    Port->waitForReadyRead(0);
    if (DeviceGone()) {
        Close();
        return -1;
    }
    const qint64 n = Port->bytesAvailable();
    return static_cast<int>(std::min<qint64>(n, 0x7FFFFFFF));
}

int QtSerialLine::Read(std::span<std::uint8_t> buffer) {
    if (!IsOpen() || buffer.empty())
        return 0;
    const qint64 n = Port->read(reinterpret_cast<char*>(buffer.data()), static_cast<qint64>(buffer.size()));
    return n > 0 ? static_cast<int>(n) : 0;
}

void QtSerialLine::WriteFrame(const Frame& frame) {
    if (!IsOpen())
        return;
    Port->clearError();
    Port->write(reinterpret_cast<const char*>(frame.data()), static_cast<qint64>(frame.size()));
    Port->waitForBytesWritten(WriteWaitMs);
    // A line that disappeared is noticed here already; the next BytesWaiting() reports it.
    if (Port->error() == QSerialPort::ResourceError)
        Close();
}

} // namespace zevo
