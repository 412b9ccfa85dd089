#pragma once
#include <istream>
#include <ostream>

#include "params/device_image.h"

namespace zevo {

// The parameter image file keeps the whole device image and the two "All" flags between runs:
// 400 + 2 numbers, each "%5u ", ten to a line, an empty line after every 50-byte page, the two flags
// last without a line end. Line ends are '\n'; open the file in text mode for the platform's ends.
void WriteImageFile(std::ostream& out, const DeviceImage& image, const AllCellsFlags& allCells);

// Reads unsigned decimal numbers separated by any white space, at most 400 into the image and then
// at most two into the flags, each stored as its low 8 bits. Reading stops at the end of the input
// or at the first word that is not a number; bytes not reached keep their values.
void ReadImageFile(std::istream& in, DeviceImage& image, AllCellsFlags& allCells);

} // namespace zevo
