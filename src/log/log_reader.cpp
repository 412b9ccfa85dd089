#include "log/log_reader.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace zevo {

namespace {

// Positions in LogColumns.
enum Column : std::size_t {
    Time, Elapsed, Rpm, TpPercent, TpMv, SupplyMv, Servo1Desired, Servo1Measured, Servo2Desired,
    Servo2Measured, Servo1State, Servo2State, ProgrammingCount, StoringCountdown, DataError, Version,
    Test1, Marker = Test1 + 8
};
static_assert(Marker + 1 == LogColumns.size());

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    // A spreadsheet that saved the file again may have quoted every field.
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return text;
}

void Split(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    for (;;) {
        const std::size_t comma = line.find(',');
        fields.push_back(Trimmed(line.substr(0, comma)));
        if (comma == std::string_view::npos)
            return;
        line.remove_prefix(comma + 1);
    }
}

// A plain decimal integer of at most 15 digits within 0..maximum.
bool Number(std::string_view text, std::int64_t maximum, std::int64_t& value) {
    if (text.empty() || text.size() > 15)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return value <= maximum;
}

bool SameName(std::string_view field, std::string_view column) {
    if (field.size() != column.size())
        return false;
    for (std::size_t i = 0; i < field.size(); ++i) {
        char c = field[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != column[i])
            return false;
    }
    return true;
}

} // namespace

LogReader::LogReader() {
    for (std::size_t i = 0; i < FieldOf.size(); ++i)
        FieldOf[i] = static_cast<int>(i);
    Fields.reserve(LogColumns.size() + 8);
}

void LogReader::Feed(std::string_view bytes) {
    while (!bytes.empty()) {
        const void* found = std::memchr(bytes.data(), '\n', bytes.size());
        if (!found) {
            // The rest of a line, to be finished by the next piece.
            if (Partial.size() + bytes.size() > MaxLineBytes)
                PartialTooLong = true;
            else
                Partial.append(bytes);
            return;
        }
        const auto end = static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
        if (PartialTooLong || Partial.size() + end > MaxLineBytes) {
            ++LineNumber;
            ++Data.BadRows;
            if (Data.FirstBadLine == 0)
                Data.FirstBadLine = LineNumber;
        } else if (Partial.empty()) {
            Line(bytes.substr(0, end));
        } else {
            Partial.append(bytes.substr(0, end));
            Line(Partial);
        }
        Partial.clear();
        PartialTooLong = false;
        bytes.remove_prefix(end + 1);
    }
}

LogData LogReader::Finish() {
    if (PartialTooLong) {
        ++LineNumber;
        ++Data.BadRows;
        if (Data.FirstBadLine == 0)
            Data.FirstBadLine = LineNumber;
    } else if (!Partial.empty()) {
        Line(Partial);
    }
    Partial.clear();
    PartialTooLong = false;
    if (!FirstLineSeen)
        Data.HeaderFound = false;
    return std::move(Data);
}

void LogReader::Line(std::string_view line) {
    ++LineNumber;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (!FirstLineSeen && line.substr(0, 3) == "\xEF\xBB\xBF")
        line.remove_prefix(3); // a byte order mark, as some editors write
    if (Trimmed(line).empty())
        return;
    Split(line, Fields);
    if (!FirstLineSeen) {
        FirstLineSeen = true;
        Header(Fields);
        if (Data.HeaderFound)
            return;
    }
    LogRow row;
    if (Data.MissingColumns.empty() && Fields.size() == FieldCount && Row(Fields, row)) {
        if (Data.Rows.size() < MaxRows)
            Data.Rows.push_back(row);
        else
            Data.RowLimitReached = true;
        return;
    }
    ++Data.BadRows;
    if (Data.FirstBadLine == 0)
        Data.FirstBadLine = LineNumber;
}

void LogReader::Header(const std::vector<std::string_view>& fields) {
    std::array<int, LogColumns.size()> found;
    found.fill(-1);
    bool any = false;
    for (std::size_t f = 0; f < fields.size(); ++f)
        for (std::size_t c = 0; c < LogColumns.size(); ++c)
            if (found[c] < 0 && SameName(fields[f], LogColumns[c])) {
                found[c] = static_cast<int>(f);
                any = true;
            }
    // A first line that names none of the columns is a row of a file without a header, in the
    // writer's order.
    if (!any)
        return;
    Data.HeaderFound = true;
    FieldOf = found;
    for (std::size_t f = 0; f < fields.size(); ++f)
        if (SameName(fields[f], "supply_v"))
            SupplyVoltsField = static_cast<int>(f);
    FieldCount = fields.size();
    if (FieldOf[Rpm] < 0)
        Data.MissingColumns.emplace_back(LogColumns[Rpm]);
    if (FieldOf[Time] < 0 && FieldOf[Elapsed] < 0)
        Data.MissingColumns.emplace_back("time/elapsed_ms");
}

bool LogReader::Row(const std::vector<std::string_view>& fields, LogRow& row) {
    // A column the file lacks reads as empty; only tp_percent and marker may be empty.
    auto text = [&](std::size_t column) -> std::string_view {
        const int at = FieldOf[column];
        return at < 0 ? std::string_view() : fields[static_cast<std::size_t>(at)];
    };
    auto number = [&](std::size_t column, std::int64_t maximum, auto& out) {
        if (FieldOf[column] < 0)
            return true;
        std::int64_t value = 0;
        if (!Number(text(column), maximum, value))
            return false;
        out = static_cast<std::remove_reference_t<decltype(out)>>(value);
        return true;
    };
    // The time is the clock only without elapsed_ms; beside it, a time another program rewrote (a
    // spreadsheet saving "09.12.2026 07:35:58") is just not known.
    bool timeKnown = false;
    if (FieldOf[Time] >= 0) {
        timeKnown = ParseIsoUtcMs(text(Time), row.TimeMs);
        if (!timeKnown && FieldOf[Elapsed] < 0)
            return false;
    }
    std::int64_t elapsed = 0;
    // Up to about 285 years: far beyond any ride, far inside 64 bits.
    constexpr std::int64_t LongestMs = 9'000'000'000'000LL;
    if (FieldOf[Elapsed] >= 0) {
        if (!Number(text(Elapsed), LongestMs, elapsed))
            return false;
    } else if (timeKnown) {
        elapsed = row.TimeMs;
    }
    constexpr std::int64_t U16 = 0xFFFF, U8 = 0xFF;
    bool ok = number(Rpm, U16, row.Rpm) && number(TpMv, U16, row.TpMv) &&
              number(SupplyMv, 0x7FFFFFFF, row.SupplyMv) && SupplyVolts(fields, row.SupplyMv) && number(Servo1Desired, U16, row.ServoDesiredMv[0]) &&
              number(Servo1Measured, U16, row.ServoMeasuredMv[0]) &&
              number(Servo2Desired, U16, row.ServoDesiredMv[1]) &&
              number(Servo2Measured, U16, row.ServoMeasuredMv[1]) && number(Servo1State, U8, row.ServoState[0]) &&
              number(Servo2State, U8, row.ServoState[1]) && number(ProgrammingCount, U16, row.ProgrammingCount) &&
              number(StoringCountdown, U16, row.StoringCountdown) && number(DataError, U8, row.DataError) &&
              number(Version, U8, row.Version);
    for (std::size_t t = 0; ok && t < 8; ++t)
        ok = number(Test1 + t, U16, row.Test[t]);
    if (!ok)
        return false;
    row.DataError = row.DataError != 0 ? 1 : 0;
    // No throttle column, or an empty field: the throttle is not known (the unit's sensor error,
    // which zevo-cli wrote as "error" before it wrote these rows).
    row.TpValid = !text(TpPercent).empty() && text(TpPercent) != "error";
    if (row.TpValid && !number(TpPercent, 100, row.TpPercent))
        return false;
    if (!text(Marker).empty() && !number(Marker, 0x7FFFFFFF, row.Marker))
        return false;

    if (!HaveFirst) {
        HaveFirst = true;
        FirstElapsed = elapsed;
    }
    // Elapsed times taken from the clock (no elapsed_ms column) keep to the same bounds as written
    // ones, so every row read can be written and read back.
    if (elapsed < FirstElapsed || elapsed - FirstElapsed > LongestMs)
        return false;
    row.ElapsedMs = elapsed - FirstElapsed;
    // Rows come in the order of their frames: one that goes back in time belongs to no replay.
    if (!Data.Rows.empty() && row.ElapsedMs < Data.Rows.back().ElapsedMs)
        return false;
    if (!timeKnown)
        row.TimeMs = 0;
    return true;
}

bool LogReader::SupplyVolts(const std::vector<std::string_view>& fields, std::int32_t& millivolts) const {
    // zevo-cli's earlier rows gave the supply in volts with one decimal ("13.8").
    if (SupplyVoltsField < 0 || FieldOf[SupplyMv] >= 0)
        return true;
    const std::string_view text = fields[static_cast<std::size_t>(SupplyVoltsField)];
    const std::size_t dot = text.find('.');
    std::int64_t whole = 0, tenths = 0;
    if (!Number(text.substr(0, dot), 99, whole))
        return false;
    if (dot != std::string_view::npos && !Number(text.substr(dot + 1, 1), 9, tenths))
        return false;
    if (dot != std::string_view::npos && text.size() != dot + 2)
        return false;
    millivolts = static_cast<std::int32_t>(whole * 1000 + tenths * 100);
    return true;
}

LogData ReadLog(std::string_view bytes) {
    LogReader reader;
    reader.Feed(bytes);
    return reader.Finish();
}

} // namespace zevo
