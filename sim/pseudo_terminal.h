#pragma once
// POSIX only: the simulator's end of a pseudo-terminal. Never part of the tool's own targets.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace zevo::sim {

// The master side of a pseudo-terminal whose slave side (/dev/pts/N) plays the unit's serial port.
// The slave is set to raw 57600 8N1 once at creation, so a client that does not configure the
// line still sees the bytes unchanged. The master is non-blocking.
class PseudoTerminal {
public:
    PseudoTerminal() = default;
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
    ~PseudoTerminal() { Close(); }

    bool Open(std::string* error);
    void Close();
    bool IsOpen() const { return Master >= 0; }
    int MasterFd() const { return Master; }
    const std::string& SlavePath() const { return Slave; }

    // What a read or write on the master found. With no client holding the slave open, Linux
    // answers EIO on the master (and poll reports a hang-up); that only means "nobody listens".
    enum class Status { Ok, WouldBlock, NoClient, Failed };
    struct Result {
        Status State = Status::Ok;
        std::size_t Count = 0;
    };
    Result Read(std::span<std::uint8_t> buffer);
    Result Write(std::span<const std::uint8_t> bytes);

private:
    int Master = -1;
    std::string Slave;
};

// A symbolic link at a fixed path that follows the pseudo-terminal across replugs. An existing
// symbolic link at the path is replaced; any other file there is left alone and reported.
bool CreateLink(const std::string& linkPath, const std::string& target, std::string* error);
// Removes the link only while it still points at target, so a newer simulator's link survives.
void RemoveLink(const std::string& linkPath, const std::string& target);

} // namespace zevo::sim
