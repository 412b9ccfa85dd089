#include "files/restore_points.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace zevo {

namespace {

constexpr std::string_view Header = "ZEVO restore point";

struct EventName {
    RestoreEvent Event;
    std::string_view Name;
};
constexpr std::array<EventName, 5> Events{{{RestoreEvent::Read, "read"},
                                           {RestoreEvent::Programmed, "programmed"},
                                           {RestoreEvent::Opened, "opened"},
                                           {RestoreEvent::BeforeNew, "before-new"},
                                           {RestoreEvent::Closed, "closed"}}};

constexpr char HexDigits[] = "0123456789abcdef";

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One value per line: a name or a path never holds a line break in the file.
std::string OneLine(std::string_view text) {
    std::string out(text);
    std::replace(out.begin(), out.end(), '\n', ' ');
    std::replace(out.begin(), out.end(), '\r', ' ');
    return out;
}

} // namespace

std::string_view RestoreEventName(RestoreEvent event) {
    for (const EventName& e : Events)
        if (e.Event == event)
            return e.Name;
    return "read";
}

std::optional<RestoreEvent> RestoreEventFromName(std::string_view name) {
    for (const EventName& e : Events)
        if (e.Name == name)
            return e.Event;
    return std::nullopt;
}

std::string RestoreStem(std::string_view time, RestoreEvent event) {
    std::string digits;
    for (char c : time)
        if (c >= '0' && c <= '9')
            digits += c;
    digits.resize(14, '0');
    return digits.substr(0, 8) + "-" + digits.substr(8, 6) + "-" + std::string(RestoreEventName(event));
}

std::string WriteRestoreInfo(const RestoreInfo& info) {
    std::string out(Header);
    out += "\nevent=" + std::string(RestoreEventName(info.Event));
    out += "\ntime=" + OneLine(info.Time);
    out += "\nunit=" + OneLine(info.UnitName);
    out += "\nbuild=" + OneLine(info.UnitBuildDate);
    out += "\nprogramming_count=" + (info.ProgrammingCount ? std::to_string(*info.ProgrammingCount) : std::string());
    out += "\nfile=" + OneLine(info.FileName);
    for (int page = 0; page < PageCount; ++page) {
        out += "\npage" + std::to_string(page) + "=";
        for (int i = 0; i < PageSize; ++i) {
            const std::uint8_t b = info.Image.Bytes[static_cast<std::size_t>(page * PageSize + i)];
            out += HexDigits[b >> 4];
            out += HexDigits[b & 0x0F];
        }
    }
    out += "\n";
    return out;
}

std::optional<RestoreInfo> ReadRestoreInfo(std::string_view text) {
    if (text.size() > RestoreInfoReadLimit)
        return std::nullopt;
    RestoreInfo info;
    bool header = false, event = false;
    std::array<bool, PageCount> pages{};
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!header) {
            if (line != Header)
                return std::nullopt;
            header = true;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (key == "event") {
            const auto e = RestoreEventFromName(value);
            if (!e)
                return std::nullopt;
            info.Event = *e;
            event = true;
        } else if (key == "time") {
            info.Time = OneLine(value);
        } else if (key == "unit") {
            info.UnitName = OneLine(value);
        } else if (key == "build") {
            info.UnitBuildDate = OneLine(value);
        } else if (key == "programming_count") {
            int count = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), count);
            if (!value.empty() && error == std::errc() && end == value.data() + value.size() && count >= 0)
                info.ProgrammingCount = count;
        } else if (key == "file") {
            // A carriage return inside a line reads as the space the writer makes of it.
            info.FileName = OneLine(value);
        } else if (key.size() == 5 && key.substr(0, 4) == "page" && key[4] >= '0' && key[4] < '0' + PageCount) {
            const int page = key[4] - '0';
            if (value.size() != 2 * PageSize)
                return std::nullopt;
            for (int i = 0; i < PageSize; ++i) {
                const int high = HexValue(value[static_cast<std::size_t>(2 * i)]);
                const int low = HexValue(value[static_cast<std::size_t>(2 * i + 1)]);
                if (high < 0 || low < 0)
                    return std::nullopt;
                info.Image.Bytes[static_cast<std::size_t>(page * PageSize + i)] = static_cast<std::uint8_t>(16 * high + low);
            }
            pages[static_cast<std::size_t>(page)] = true;
        }
    }
    if (!header || !event || !std::all_of(pages.begin(), pages.end(), [](bool seen) { return seen; }))
        return std::nullopt;
    return info;
}

std::string RestoreSortKey(std::string_view timeOrStem) {
    std::string digits;
    for (char c : timeOrStem) {
        if (c >= '0' && c <= '9')
            digits += c;
        else if (digits.size() >= 14 && c != '.' && c != ':')
            break; // the event's name, or a collision's number, follows the time
    }
    digits.resize(17, '0');
    return digits.substr(0, 17);
}

std::vector<std::string> StemsToRemove(std::vector<std::string> stems, std::size_t keep) {
    std::sort(stems.begin(), stems.end());
    stems.erase(std::unique(stems.begin(), stems.end()), stems.end());
    if (stems.size() <= keep)
        return {};
    stems.resize(stems.size() - keep);
    return stems;
}

} // namespace zevo
