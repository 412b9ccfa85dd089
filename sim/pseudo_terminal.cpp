#include "pseudo_terminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace zevo::sim {
namespace {

std::string SystemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// Raw line: no echo, no line editing, no character translation either way, 8 data bits, no
// parity, one stop bit. Spelled out instead of cfmakeraw() so it stays plain POSIX.
bool MakeRaw(int fd, std::string* error) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        *error = SystemError("tcgetattr");
        return false;
    }
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
    tio.c_cflag |= static_cast<tcflag_t>(CS8 | CREAD | CLOCAL);
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, B57600);
    cfsetospeed(&tio, B57600);
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        *error = SystemError("tcsetattr");
        return false;
    }
    return true;
}

} // namespace

bool PseudoTerminal::Open(std::string* error) {
    Close();
    const int fd = posix_openpt(O_RDWR | O_NOCTTY);
    if (fd < 0) {
        *error = SystemError("posix_openpt");
        return false;
    }
    if (grantpt(fd) != 0 || unlockpt(fd) != 0) {
        *error = SystemError("grantpt/unlockpt");
        ::close(fd);
        return false;
    }
    const char* name = ptsname(fd);
    if (name == nullptr) {
        *error = SystemError("ptsname");
        ::close(fd);
        return false;
    }
    std::string slave = name;
    if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK) != 0 || fcntl(fd, F_SETFD, FD_CLOEXEC) != 0) {
        *error = SystemError("fcntl");
        ::close(fd);
        return false;
    }
    // The line settings belong to the slave side; they stay with the pair after this close.
    const int slaveFd = ::open(slave.c_str(), O_RDWR | O_NOCTTY);
    if (slaveFd < 0) {
        *error = SystemError(slave.c_str());
        ::close(fd);
        return false;
    }
    const bool raw = MakeRaw(slaveFd, error);
    ::close(slaveFd);
    if (!raw) {
        ::close(fd);
        return false;
    }
    Master = fd;
    Slave = std::move(slave);
    return true;
}

void PseudoTerminal::Close() {
    if (Master >= 0)
        ::close(Master);
    Master = -1;
    Slave.clear();
}

PseudoTerminal::Result PseudoTerminal::Read(std::span<std::uint8_t> buffer) {
    if (Master < 0)
        return {Status::Failed, 0};
    for (;;) {
        const ssize_t n = ::read(Master, buffer.data(), buffer.size());
        if (n > 0)
            return {Status::Ok, static_cast<std::size_t>(n)};
        if (n == 0)
            return {Status::NoClient, 0};
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return {Status::WouldBlock, 0};
        if (errno == EIO)
            return {Status::NoClient, 0};
        return {Status::Failed, 0};
    }
}

PseudoTerminal::Result PseudoTerminal::Write(std::span<const std::uint8_t> bytes) {
    if (Master < 0)
        return {Status::Failed, 0};
    for (;;) {
        const ssize_t n = ::write(Master, bytes.data(), bytes.size());
        if (n >= 0)
            return {Status::Ok, static_cast<std::size_t>(n)};
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return {Status::WouldBlock, 0};
        if (errno == EIO)
            return {Status::NoClient, 0};
        return {Status::Failed, 0};
    }
}

bool CreateLink(const std::string& linkPath, const std::string& target, std::string* error) {
    struct stat st {};
    if (::lstat(linkPath.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            *error = linkPath + ": exists and is not a symbolic link";
            return false;
        }
        ::unlink(linkPath.c_str());
    }
    if (::symlink(target.c_str(), linkPath.c_str()) != 0) {
        *error = SystemError(linkPath.c_str());
        return false;
    }
    return true;
}

void RemoveLink(const std::string& linkPath, const std::string& target) {
    if (linkPath.empty() || target.empty())
        return;
    char buffer[4096];
    const ssize_t n = ::readlink(linkPath.c_str(), buffer, sizeof buffer - 1);
    if (n < 0)
        return;
    if (std::string(buffer, static_cast<std::size_t>(n)) == target)
        ::unlink(linkPath.c_str());
}

} // namespace zevo::sim
