#include "app/ini_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zevo {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool NamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

bool HasQuotePair(std::string_view s) {
    return s.size() >= 2 && IsQuote(s.front()) && s.front() == s.back();
}

// The value as a reader sees it: blanks around it removed, then one pair of matching quotes.
std::string_view ValueAsRead(std::string_view raw) {
    std::string_view v = Trim(raw);
    if (HasQuotePair(v)) {
        v = v.substr(1, v.size() - 2);
    }
    return v;
}

// A line of the file never holds a line end, so one in a name or value written by the tool (a file
// name on a system that allows a newline in it) becomes a blank instead of starting a line of its own.
std::string OneLine(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return out;
}

// The text after '=' that reads back as exactly `value`. Reading strips surrounding blanks and one
// pair of quotes, so a value that starts or ends with a blank, or that is itself wrapped in a pair of
// quotes, is written inside double quotes; everything else is written as it is.
std::string ValueAsWritten(std::string_view value) {
    std::string v = OneLine(value);
    const bool needsQuotes = !v.empty() && (IsBlank(v.front()) || IsBlank(v.back()) || HasQuotePair(v));
    return needsQuotes ? "\"" + v + "\"" : v;
}

} // namespace

bool IniTextUnderstood(std::string_view text) {
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF"))
        return false;
    return text.find('\0') == std::string_view::npos;
}

IniFile IniFile::Parse(std::string_view text) {
    IniFile ini;
    std::size_t pos = 0;
    bool first = true;
    // A line ends at LF, at CR LF, or at a CR on its own (the old Macintosh end, which the platform's
    // reader also splits at). The last line needs no line end. No line text keeps a CR or LF, which
    // is what makes Serialize a fixed point.
    // The next CR and the next LF are each found once with memchr and kept until passed, so the
    // split stays linear and costs little per character.
    const auto find = [&](char c) {
        if (pos >= text.size())
            return text.size();
        const void* hit = std::memchr(text.data() + pos, c, text.size() - pos);
        return hit != nullptr ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data())
                              : text.size();
    };
    std::size_t nextCr = find('\r');
    std::size_t nextLf = find('\n');
    const auto next = [&](std::size_t& cached, char c) {
        if (cached < pos)
            cached = find(c);
        return cached;
    };
    while (pos < text.size()) {
        std::size_t end = std::min(next(nextCr, '\r'), next(nextLf, '\n'));
        Line line;
        line.Text.assign(text.substr(pos, end - pos));
        if (end < text.size()) {
            end += (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
        }
        pos = end;

        // An editor may start the file with a UTF-8 byte order mark; it stays in the text but does
        // not hide the first section header.
        std::string_view body = line.Text;
        if (first && body.starts_with(Utf8Bom)) {
            body.remove_prefix(Utf8Bom.size());
        }
        first = false;

        const std::string_view trimmed = Trim(body);
        if (trimmed.starts_with(';')) {
            // a comment: kept as it is
        } else if (trimmed.starts_with('[') && trimmed.find(']') != std::string_view::npos) {
            // "[name]"; anything after the closing bracket (a remark) is ignored, as the platform does.
            line.IsSection = true;
            line.Section.assign(Trim(trimmed.substr(1, trimmed.find(']') - 1)));
        } else if (const std::size_t eq = trimmed.find('='); eq != std::string_view::npos) {
            const std::string_view key = Trim(trimmed.substr(0, eq));
            if (!key.empty()) {
                line.IsKey = true;
                line.Key.assign(key);
            }
        }
        ini.Lines.push_back(std::move(line));
    }
    return ini;
}

std::string IniFile::Serialize() const {
    std::size_t size = 0;
    for (const Line& line : Lines) {
        size += line.Text.size() + 1;
    }
    std::string out;
    out.reserve(size);
    for (const Line& line : Lines) {
        out += line.Text;
        out += '\n';
    }
    return out;
}

// Only the first section of a name is searched, for reading and writing alike, as the platform's
// profile functions do: a hand-made second "[FORM_HLAV]" further down is never consulted.
IniFile::Lookup IniFile::Find(std::string_view section, std::string_view key) const {
    Lookup found;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        const Line& line = Lines[i];
        if (found.Header == npos) {
            if (line.IsSection && NamesEqual(line.Section, section)) {
                found.Header = i;
                found.LastKey = i;
            }
            continue;
        }
        if (line.IsSection) {
            break;
        }
        if (line.IsKey) {
            found.LastKey = i;
            if (NamesEqual(line.Key, key)) {
                found.Key = i;
                break;
            }
        }
    }
    return found;
}

std::optional<std::string> IniFile::ReadString(std::string_view section, std::string_view key) const {
    const Lookup found = Find(section, key);
    if (found.Key == npos) {
        return std::nullopt;
    }
    const std::string& text = Lines[found.Key].Text;
    return std::string(ValueAsRead(std::string_view(text).substr(text.find('=') + 1)));
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    std::optional<std::string> value = ReadString(section, key);
    return value ? std::move(*value) : std::string(def);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
    const std::optional<std::string> value = ReadString(section, key);
    if (!value) {
        return def;
    }
    std::string_view s = *value;
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    // Unsigned arithmetic wraps modulo 2^32 like the platform's conversion, without overflow.
    std::uint32_t magnitude = 0;
    bool anyDigit = false;
    while (!s.empty() && s.front() >= '0' && s.front() <= '9') {
        magnitude = magnitude * 10u + static_cast<std::uint32_t>(s.front() - '0');
        anyDigit = true;
        s.remove_prefix(1);
    }
    if (!anyDigit) {
        return def;
    }
    if (negative) {
        magnitude = 0u - magnitude;
    }
    return static_cast<std::int32_t>(magnitude);
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const Lookup found = Find(section, key);
    const std::string written = ValueAsWritten(value);
    if (found.Key != npos) {
        // Keep the key and the blanks around '=' as the file had them; only the value changes.
        Line& line = Lines[found.Key];
        std::size_t valueStart = line.Text.find('=') + 1;
        while (valueStart < line.Text.size() && IsBlank(line.Text[valueStart])) {
            ++valueStart;
        }
        line.Text.replace(valueStart, std::string::npos, written);
        return;
    }

    Line keyLine;
    keyLine.Key = OneLine(key);
    keyLine.Text = keyLine.Key + "=" + written;
    keyLine.IsKey = true;
    if (found.Header != npos) {
        // After the section's last key, so that a blank line or a remark closing the section stays
        // at its end.
        Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(found.LastKey + 1), std::move(keyLine));
        return;
    }

    if (!Lines.empty() && !Trim(Lines.back().Text).empty()) {
        Lines.push_back(Line{});
    }
    Line header;
    header.Section = OneLine(section);
    header.Text = "[" + header.Section + "]";
    header.IsSection = true;
    Lines.push_back(std::move(header));
    Lines.push_back(std::move(keyLine));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

} // namespace zevo
