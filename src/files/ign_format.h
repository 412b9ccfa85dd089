#pragma once
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
};

// Reads white-space separated words, LF and CR LF alike. Everything before the first key word that
// is followed by 56 is ignored; after it, each known key takes its fixed number of values and every
// other word is skipped. Numbers keep their low 16 bits, fields their low 8 bits. A value the file
// does not supply (end of file, or a word that is not a number) leaves its field unchanged. Words
// longer than 255 characters never match a key.
//
// The image changes only when the result is Ok (the window's IgnVersionMatched); otherwise it is
// left exactly as it was. Validation is the caller's: a file may hold values ValidateBlock repairs.
IgnReadResult ReadIgnFile(std::istream& in, DeviceImage& image);

} // namespace zevo
