#pragma once
#include <cstdint>

namespace zevo {

// What the link is doing: TransferMode 0 idle, 1 program, 2 verify, 3 read.
enum class Transfer : std::uint8_t { Idle = 0, Program = 1, Verify = 2, Read = 3 };

// How one transfer the user (or zevo-cli) asked for ended.
struct TransferOutcome {
    // What was asked for: a Read and a Program end with their verify pass, a comparison reads aside.
    enum class Kind : std::uint8_t { Read, Compare, Verify, Program };
    enum class End : std::uint8_t {
        Ok,      // every page read, written or found equal
        Failed,  // a page went unanswered five times, or was not echoed intact
        Refused, // the unit runs another program version: nothing was written
    };
    Kind Asked = Kind::Read;
    End How = End::Ok;
    // Parameter pages (1 to 7) the unit took and echoed before the end; only a Program writes.
    int PagesWritten = 0;
    // It ended in a verify pass: a Verify, or the pass that ends a Read or a Program.
    bool InVerifyPass = false;
    // The unit had been silent for the connection watch's second when it ended: the outcome says
    // nothing about what it holds, it may be gone or another one.
    bool UnitSilent = false;
    // A comparison started quietly (the window's look at a unit that has just answered).
    bool Quiet = false;
    friend bool operator==(const TransferOutcome&, const TransferOutcome&) = default;
};

} // namespace zevo
