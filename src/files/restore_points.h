#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "params/device_image.h"

namespace zevo {

// A restore point: a copy of a set the tool has seen, kept in the config folder's `backups` as an
// `.ign` file (the tool's own writer) and a small text file beside it with the same stem, named
// YYYYMMDD-HHMMSS-<event>. The text file holds what the `.ign` cannot: all 400 image bytes (the
// identification page and the unused bytes included), the unit and the file involved.
enum class RestoreEvent { Read, Programmed, Opened, BeforeNew, Closed };

// "read", "programmed", "opened", "before-new", "closed".
std::string_view RestoreEventName(RestoreEvent event);
std::optional<RestoreEvent> RestoreEventFromName(std::string_view name);

struct RestoreInfo {
    RestoreEvent Event = RestoreEvent::Read;
    std::string Time; // local time, "2026-12-09 05:40:12.345"
    DeviceImage Image;
    // The unit involved (empty when none was), and its programming counter when known.
    std::string UnitName;
    std::string UnitBuildDate;
    std::optional<int> ProgrammingCount;
    std::string FileName; // the file involved, empty when none was
    friend bool operator==(const RestoreInfo&, const RestoreInfo&) = default;
};

// The folder's newest restore points kept; older ones are removed as new ones come.
inline constexpr std::size_t RestorePointsKept = 500;

// "20261209-054012-read" from the time's digits ("2026-12-09 05:40:12") and the event.
std::string RestoreStem(std::string_view time, RestoreEvent event);
// The side file's text, and back. Reading takes any bytes: anything but a whole, well-formed file
// (all eight image lines among them) gives nothing. Lines it does not know are skipped.
std::string WriteRestoreInfo(const RestoreInfo& info);
std::optional<RestoreInfo> ReadRestoreInfo(std::string_view text);
inline constexpr std::size_t RestoreInfoReadLimit = 64 * 1024;

// A key that sorts restore points by the time they were taken: the digits of a time or of a stem,
// to the millisecond (a stem has none, so it counts as the start of its second).
std::string RestoreSortKey(std::string_view timeOrStem);

// The stems to remove so that the newest `keep` stay (stems sort by time, so by name).
std::vector<std::string> StemsToRemove(std::vector<std::string> stems, std::size_t keep = RestorePointsKept);

} // namespace zevo
