#include "link/port_map.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <set>

#include "app/ini_file.h"

namespace zevo {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Text compared piecewise: runs of digits by their value, everything else character by character.
int NaturalCompare(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            std::size_t ei = i;
            std::size_t ej = j;
            while (ei < a.size() && IsDigit(a[ei]))
                ++ei;
            while (ej < b.size() && IsDigit(b[ej]))
                ++ej;
            std::string_view na = a.substr(i, ei - i);
            std::string_view nb = b.substr(j, ej - j);
            while (na.size() > 1 && na.front() == '0')
                na.remove_prefix(1);
            while (nb.size() > 1 && nb.front() == '0')
                nb.remove_prefix(1);
            if (na.size() != nb.size())
                return na.size() < nb.size() ? -1 : 1;
            if (const int c = na.compare(nb); c != 0)
                return c;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

// USB adapters come first: they are what a user plugs in for the unit.
constexpr std::array<std::string_view, 3> UsbPrefixes = {"ttyUSB", "ttyACM", "cu.usb"};

std::size_t Group(std::string_view path) {
    const std::string name = ShortPortName(path);
    for (std::size_t g = 0; g < UsbPrefixes.size(); ++g)
        if (std::string_view(name).starts_with(UsbPrefixes[g]))
            return g;
    return UsbPrefixes.size();
}

} // namespace

std::vector<std::string> OrderPorts(std::vector<std::string> present) {
    std::sort(present.begin(), present.end(), [](const std::string& a, const std::string& b) {
        const std::size_t ga = Group(a);
        const std::size_t gb = Group(b);
        if (ga != gb)
            return ga < gb;
        const int byName = NaturalCompare(ShortPortName(a), ShortPortName(b));
        if (byName != 0)
            return byName < 0;
        return a < b; // same name in two directories: any fixed order will do
    });
    present.erase(std::unique(present.begin(), present.end()), present.end());
    return present;
}

std::string PortDevicePath(int portNumber, const std::vector<std::string>& present, const PortPins& pins) {
    if (portNumber < FirstPortNumber || portNumber > LastPortNumber)
        return {};
    std::set<std::string> pinnedPaths;
    for (const auto& [number, path] : pins) {
        if (number < FirstPortNumber || number > LastPortNumber || path.empty())
            continue;
        if (number == portNumber)
            return path;
        pinnedPaths.insert(path);
    }
    // Unpinned numbers, counted upwards, take the unpinned ports in order.
    std::vector<std::string> free;
    for (std::string& path : OrderPorts(present))
        if (!pinnedPaths.contains(path))
            free.push_back(std::move(path));
    std::size_t index = 0;
    for (int n = FirstPortNumber; n < portNumber; ++n) {
        const auto pin = pins.find(n);
        if (pin == pins.end() || pin->second.empty())
            ++index;
    }
    return index < free.size() ? free[index] : std::string();
}

std::string ShortPortName(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

void WritePortPins(IniFile& ini, const PortPins& pins) {
    for (int n = FirstPortNumber; n <= LastPortNumber; ++n) {
        const std::string key = "COM" + std::to_string(n);
        const auto pin = pins.find(n);
        if (pin != pins.end() && !pin->second.empty())
            ini.WriteString("PORTS", key, pin->second);
        else if (ini.ReadString("PORTS", key))
            ini.WriteString("PORTS", key, "");
    }
}

bool PinReadsBack(std::string_view path) {
    if (path.empty())
        return false;
    for (const char c : path)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    IniFile ini;
    ini.WriteString("PORTS", "COM1", path);
    const auto back = IniFile::Parse(ini.Serialize()).ReadString("PORTS", "COM1");
    return back && *back == path;
}

PortPins ReadPortPins(const IniFile& ini) {
    PortPins pins;
    for (int n = FirstPortNumber; n <= LastPortNumber; ++n) {
        const auto value = ini.ReadString("PORTS", "COM" + std::to_string(n));
        if (value && !value->empty())
            pins[n] = *value;
    }
    return pins;
}

} // namespace zevo
