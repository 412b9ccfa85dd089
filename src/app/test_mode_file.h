#pragma once
#include <istream>

namespace zevo {

// The test-mode file turns on the eight diagnostic labels when any of its white-space separated
// words is exactly "DIAG_SHOWON" (case-sensitive). Words longer than 255 characters are skipped whole.
bool ReadTestModeFile(std::istream& in);

} // namespace zevo
