#pragma once
#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>

#include "params/device_image.h"

namespace zevo {

// Parameter files ("*.ign") carry the fields of the parameter block that have a key, in the units the
// editor shows, behind the key word "VORTALEX_KEY" and the format number PcProgramVersion. The
// identification page, the unused block bytes and the "All" switches are never in them.

// Writes the block in the one fixed layout: every value "%5u " (the format number "%3u "), CR LF
// line ends on every platform so a file written here is the same file everywhere. Open the stream
// in binary mode: a text-mode stream on Windows would double the CR. Errors are left in the
// stream's state.
void WriteIgnFile(std::ostream& out, const DeviceImage& image);

enum class IgnReadResult {
    Ok,               // the key word with format number 56 was found; fields met after it were read
    UnmatchedVersion, // no key word with 56 anywhere (another version, another kind of file, empty)
    ReadError,        // the stream failed before or while reading
    Damaged,          // UTF-16 text, or a byte no text editor writes after the key word: refused whole
    TooLarge,         // more than IgnFileLimit bytes: no parameter file, refused whole
};

// A parameter file is about 3 kB; a file this large is none, and is not read in part.
inline constexpr std::size_t IgnFileLimit = 16 * 1024 * 1024;

// Where a damaged file is damaged.
struct IgnDamage {
    bool Utf16 = false;        // the whole file is UTF-16 text
    std::uint64_t Offset = 0;  // the byte's offset in the file, from 0
    std::uint64_t Line = 0;    // its line, from 1
    std::uint8_t Byte = 0;     // the control character
};

// Reads white-space separated words, LF and CR LF alike. Everything before the first key word that
// is followed by 56 is ignored; after it, each known key takes its fixed number of values and every
// other word is skipped. Numbers keep their low 16 bits, fields their low 8 bits. A value the file
// does not supply (end of file, or a word that is not a number) leaves its field unchanged. Words
// longer than 255 characters never match a key. A UTF-8 byte order mark in front is skipped.
//
// From the first key word on, the file is the data: a control character there that no text editor
// writes (NUL and the other C0 controls but TAB, CR and LF, and DEL) means the file was damaged on its way,
// and the whole file is refused, never read as another set. A DOS end-of-file mark (Ctrl+Z) is taken
// only as the file's last bytes. UTF-16 text and files over IgnFileLimit are refused too.
//
// The image changes only when the result is Ok (the window's IgnVersionMatched); otherwise it is
// left exactly as it was. Validation is the caller's: a file may hold values ValidateBlock repairs.
IgnReadResult ReadIgnFile(std::istream& in, DeviceImage& image, IgnDamage* damage = nullptr);

} // namespace zevo
