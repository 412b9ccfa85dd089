#pragma once
#include <cstddef>
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
    // Takes any bytes. A line ends at LF, CR LF or a lone CR; the last line needs no end.
    static IniFile Parse(std::string_view text);
    // The whole file, every line ended by '\n' (the caller's text-mode file adds the platform's
    // ends). Parse(Serialize()) serializes to the same text.
    std::string Serialize() const;

    // The value after the first '=' of the key, with surrounding blanks removed and one matching
    // pair of surrounding quotes (" or ') stripped; nullopt when section or key is missing.
    std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;

    // An integer as the platform reads it: optional blanks and sign, then the leading decimal
    // digits (wrapping modulo 2^32 like the platform's 32-bit conversion); a missing key or a
    // value without leading digits gives def.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;

    // A value that reading would change (blanks at either end, or a pair of quotes around it) is
    // written inside double quotes so that it reads back exactly; a line end in it becomes a blank.
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

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    struct Lookup {
        std::size_t Header = npos;  // the first header of the section
        std::size_t LastKey = npos; // its last key line (the header when it has none)
        std::size_t Key = npos;     // the first line of the key in that section
    };
    Lookup Find(std::string_view section, std::string_view key) const;
};

// Whether Parse understands the text as it stands. UTF-16 (a byte order mark FF FE or FE FF, or the
// NUL bytes of its ASCII letters) is not understood: its lines would parse as nothing, and merging
// keys into it would append UTF-8 lines to UTF-16 bytes. Such a file is never merged into.
bool IniTextUnderstood(std::string_view text);

} // namespace zevo
