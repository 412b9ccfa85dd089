#include "log/log_format.h"

#include <algorithm>
#include <charconv>

namespace zevo {

namespace {

// Days since 1970-01-01 for a date of the proleptic Gregorian calendar, and back (H. Hinnant's
// algorithms: exact for every date, no time zone database involved).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

constexpr std::int64_t MsPerDay = 86'400'000;
// 0000-01-01 and 9999-12-31 23:59:59.999: the years four digits can write.
const std::int64_t EarliestMs = DaysFromCivil(0, 1, 1) * MsPerDay;
const std::int64_t LatestMs = DaysFromCivil(10000, 1, 1) * MsPerDay - 1;

void AppendDigits(std::string& out, std::int64_t value, int width) {
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    (void)error;
    for (auto n = static_cast<int>(end - digits); n < width; ++n)
        out += '0';
    out.append(digits, end);
}

void AppendNumber(std::string& out, std::int64_t value) {
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    (void)error;
    out.append(digits, end);
}

// Exactly `width` decimal digits at `at`.
bool Digits(std::string_view text, std::size_t at, std::size_t width, unsigned& value) {
    if (at + width > text.size())
        return false;
    value = 0;
    for (std::size_t i = at; i < at + width; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
    }
    return true;
}

} // namespace

std::string LogHeader() {
    std::string header;
    for (std::string_view column : LogColumns) {
        if (!header.empty())
            header += ',';
        header += column;
    }
    return header;
}

LogRow LogRowFrom(const StatusFrame& s, std::int64_t timeMs, std::int64_t elapsedMs, std::int32_t marker) {
    LogRow row;
    row.TimeMs = timeMs;
    row.ElapsedMs = elapsedMs;
    row.Rpm = s.Rpm;
    row.TpValid = s.TpPercent <= 100;
    row.TpPercent = row.TpValid ? s.TpPercent : 0;
    row.TpMv = TpMillivoltsFromCount(s.TpCount);
    row.SupplyMv = SupplyMillivoltsFromCount(s.SupplyCount);
    row.ServoDesiredMv = s.ServoDesired;
    row.ServoMeasuredMv = s.ServoMeasured;
    row.ServoState = s.ServoState;
    row.ProgrammingCount = s.ProgrammingCount;
    row.StoringCountdown = s.SaveCountdown;
    row.DataError = s.EeDataError != 0 ? 1 : 0;
    row.Version = s.Version;
    row.Test = s.TestValues;
    row.Marker = marker;
    return row;
}

std::string IsoUtcMs(std::int64_t timeMs) {
    timeMs = std::clamp(timeMs, EarliestMs, LatestMs);
    std::int64_t days = timeMs / MsPerDay;
    std::int64_t inDay = timeMs % MsPerDay;
    if (inDay < 0) {
        inDay += MsPerDay;
        --days;
    }
    std::int64_t year = 0;
    unsigned month = 0, day = 0;
    CivilFromDays(days, year, month, day);
    std::string out;
    out.reserve(24);
    AppendDigits(out, year, 4);
    out += '-';
    AppendDigits(out, month, 2);
    out += '-';
    AppendDigits(out, day, 2);
    out += 'T';
    AppendDigits(out, inDay / 3'600'000, 2);
    out += ':';
    AppendDigits(out, inDay / 60'000 % 60, 2);
    out += ':';
    AppendDigits(out, inDay / 1000 % 60, 2);
    out += '.';
    AppendDigits(out, inDay % 1000, 3);
    out += 'Z';
    return out;
}

bool ParseIsoUtcMs(std::string_view t, std::int64_t& timeMs) {
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
    if (!Digits(t, 0, 4, year) || t.size() < 19 || t[4] != '-' || !Digits(t, 5, 2, month) || t[7] != '-' ||
        !Digits(t, 8, 2, day) || (t[10] != 'T' && t[10] != ' ') || !Digits(t, 11, 2, hour) || t[13] != ':' ||
        !Digits(t, 14, 2, minute) || t[16] != ':' || !Digits(t, 17, 2, second))
        return false;
    std::string_view rest = t.substr(19);
    if (!rest.empty() && rest.front() == '.') {
        if (!Digits(rest, 1, 3, ms))
            return false;
        rest.remove_prefix(4);
    }
    if (rest != "Z" && rest != "+00:00")
        return false;
    if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || second > 59)
        return false;
    // A day the month does not have (2026-02-30) comes back as another date.
    const std::int64_t days = DaysFromCivil(year, month, day);
    std::int64_t y = 0;
    unsigned m = 0, d = 0;
    CivilFromDays(days, y, m, d);
    if (m != month || d != day)
        return false;
    timeMs = days * MsPerDay + ((hour * 60 + minute) * 60 + second) * 1000LL + ms;
    return true;
}

void AppendLogRow(std::string& out, const LogRow& r) {
    out += IsoUtcMs(r.TimeMs);
    auto field = [&out](std::int64_t value) {
        out += ',';
        AppendNumber(out, value);
    };
    field(r.ElapsedMs);
    field(r.Rpm);
    out += ',';
    if (r.TpValid)
        AppendNumber(out, r.TpPercent);
    field(r.TpMv);
    field(r.SupplyMv);
    for (std::size_t servo = 0; servo < ServoCount; ++servo) {
        field(r.ServoDesiredMv[servo]);
        field(r.ServoMeasuredMv[servo]);
    }
    for (std::uint8_t state : r.ServoState)
        field(state);
    field(r.ProgrammingCount);
    field(r.StoringCountdown);
    field(r.DataError);
    field(r.Version);
    for (std::uint16_t test : r.Test)
        field(test);
    out += ',';
    if (r.Marker > 0)
        AppendNumber(out, r.Marker);
    out += '\n';
}

TelemetryCaptions ComposeTelemetryOf(const LogRow& row, const std::array<bool, ServoCount>& servoEnabled,
                                     std::uint8_t language) {
    StatusFrame s;
    s.Rpm = row.Rpm;
    s.TpPercent = static_cast<std::uint8_t>(HighlightTpPercent(row));
    s.ServoMeasured = row.ServoMeasuredMv;
    s.ServoDesired = row.ServoDesiredMv;
    s.ServoState = row.ServoState;
    s.ProgrammingCount = row.ProgrammingCount;
    s.TestValues = row.Test;
    s.SaveCountdown = row.StoringCountdown;
    s.EeDataError = row.DataError;
    s.Version = row.Version;
    return ComposeTelemetryFrom(s, row.TpMv, row.SupplyMv, servoEnabled, language);
}

int HighlightTpPercent(const LogRow& row) {
    return row.TpValid ? row.TpPercent : 255;
}

EngineReading ReadingOf(const LogRow& row) {
    return EngineReading{row.Rpm, HighlightTpPercent(row), row.TpMv};
}

} // namespace zevo
