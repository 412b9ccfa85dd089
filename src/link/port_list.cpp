#include "link/port_list.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

#include "link/qt_serial_line.h"

namespace zevo {

namespace {

// The by-id links udev makes for USB serial adapters, by the device each points to.
std::string ByIdName(const QString& device) {
#ifdef Q_OS_LINUX
    const QString target = QFileInfo(device).canonicalFilePath();
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& link : byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        if (link.absoluteFilePath() == device)
            return device.toStdString(); // the pin is the by-id name itself
        if (!target.isEmpty() && link.canonicalFilePath() == target)
            return link.absoluteFilePath().toStdString();
    }
#else
    (void)device;
#endif
    return {};
}

} // namespace

std::vector<PortDescription> DescribePorts(const QtSerialLine& line) {
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    std::vector<PortDescription> ports;
    for (int number = FirstPortNumber; number <= LastPortNumber; ++number) {
        const std::string path = line.DevicePath(number);
        if (path.empty())
            continue;
        PortDescription port;
        port.Number = number;
        port.Path = path;
        port.Pinned = line.Pins().count(number) != 0;
        // A pin may name a link (a udev by-id name); the system lists the device it points to.
        const QString location = QString::fromStdString(path);
        const QString target = QFileInfo(location).canonicalFilePath();
        const QSerialPortInfo* found = nullptr;
        for (const QSerialPortInfo& info : infos)
            if (info.systemLocation() == location || (!target.isEmpty() && info.systemLocation() == target))
                found = &info;
        // Windows names every COM number whether or not a port is behind it: only the present and
        // the pinned ones are ports.
        if (found == nullptr && !port.Pinned)
            continue;
        port.Present = found != nullptr || QFileInfo::exists(location);
        port.ById = ByIdName(location);
        if (found != nullptr) {
            if (found->hasVendorIdentifier())
                port.Vendor = found->vendorIdentifier();
            if (found->hasProductIdentifier())
                port.Product = found->productIdentifier();
            port.Manufacturer = found->manufacturer().toStdString();
            port.Description = found->description().toStdString();
            port.Serial = found->serialNumber().toStdString();
        }
        ports.push_back(port);
    }
    return ports;
}

} // namespace zevo
