#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zevo {

// An ini file with the semantics of the Windows private-profile functions, which the settings file
// has always had: section and key names match case-insensitively (ASCII), the first of duplicate
// keys wins, a write replaces the value in place or appends the key at the end of its section (a new
// section at the end of the file), and every line the tool does not know is kept as it was.
class IniFile {
public:
    // Takes any bytes. LF and CR LF line ends are both accepted.
    static IniFile Parse(std::string_view text);
    // The whole file, lines joined by '\n' (the caller's text-mode file adds the platform's ends).
    std::string Serialize() const;

    // The value after the first '=' of the key, with surrounding blanks removed and one matching
    // pair of surrounding quotes (" or ') stripped; nullopt when section or key is missing.
    std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;

    // An integer as the platform reads it: optional blanks and sign, then the leading decimal
    // digits (wrapping modulo 2^32 like the platform's 32-bit conversion); a missing key or a
    // value without leading digits gives def.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);

private:
    struct Line {
        std::string Text;    // the line as it stands in the file (without its line end)
        std::string Section; // for a section header: the name; empty otherwise
        std::string Key;     // for a key line: the key (trimmed); empty otherwise
        bool IsSection = false;
        bool IsKey = false;
    };
    std::vector<Line> Lines;
};

} // namespace zevo
