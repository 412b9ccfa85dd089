#pragma once
#include <string>

namespace zevo {

// A serial port as the user needs to know it to pick it: the COM number the tool gives it, its
// device, the stable /dev/serial/by-id name that survives replugging into another USB socket, and
// what the USB adapter says of itself.
struct PortDescription {
    int Number = 0;
    std::string Path;     // the device (or the pinned path)
    std::string ById;     // /dev/serial/by-id/... pointing at it, empty when there is none
    bool Present = false; // the system lists the device
    bool Pinned = false;  // [PORTS] names this number
    int Vendor = -1;      // USB vendor and product id, -1 when not USB
    int Product = -1;
    std::string Manufacturer;
    std::string Description;
    std::string Serial;
};

} // namespace zevo
