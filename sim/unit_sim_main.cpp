// zevo-unit-sim: the unit model served on a pseudo-terminal, so that the tool (or a test) can talk
// to a unit through a real serial device without hardware.
#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pseudo_terminal.h"
#include "unit_model.h"

namespace {

using zevo::sim::PseudoTerminal;
using zevo::sim::UnitModel;
using zevo::sim::UnitOptions;

volatile sig_atomic_t StopRequested = 0;
volatile sig_atomic_t UnplugRequested = 0;
volatile sig_atomic_t ReplugRequested = 0;

void OnStopSignal(int) { StopRequested = 1; }
void OnUnplugSignal(int) { UnplugRequested = 1; }
void OnReplugSignal(int) { ReplugRequested = 1; }

constexpr const char* Usage = R"(Usage: zevo-unit-sim [options]

Serves a simulated ZEVO unit on a pseudo-terminal. The first line on standard output is the path
of the terminal's device (for example /dev/pts/3); the simulator then answers status requests and
page commands until SIGTERM, SIGINT or SIGHUP. After a replug the new path is printed as a further
line. SIGUSR1 pulls the cable at once (as --unplug-after does), SIGUSR2 plugs it back in (as
--replug-after does); the unit keeps its memory and its clock across both.

Options:
  --link PATH         also make PATH a symbolic link to the device (kept across replugs,
                      removed on exit); an existing symbolic link there is replaced
  --version N         the unit's program version, 0..255 (default 56)
  --counter N         the programming counter the unit starts with (default 0)
  --seed N            seed of the fault generator (default 1); the same seed and the same
                      traffic give the same faults
  --drop P            per cent of replies never sent
  --corrupt P         per cent of replies sent with an inverted check byte
  --truncate P        per cent of replies cut off after 1..51 bytes
  --delay P           per cent of replies sent late (see --delay-ms); later replies wait behind
  --delay-ms MS       how late a delayed reply is (default 300)
  --wrong-reply P     per cent of replies that are a whole frame for another command: a status
                      frame or the next page's answer in place of a page's answer, the
                      identification page in place of a status frame
                      The five shares are disjoint parts of all replies; together at most 100.
  --refuse-page K     writes to page K (1..7) are not stored: the unit echoes the old content
  --silent            the unit never answers
  --unplug-after MS   MS milliseconds after start the unit goes away: the terminal is closed and
                      the link removed, as when the cable is pulled
  --replug-after MS   MS milliseconds after unplugging it comes back on a new terminal, linked
                      again at --link PATH
  --help              this text
)";

struct CommandLine {
    UnitOptions Unit;
    std::string LinkPath;
    bool Help = false;
};

std::optional<long long> ParseInteger(std::string_view text, long long low, long long high) {
    if (text.empty())
        return std::nullopt;
    const std::string copy(text);
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(copy.c_str(), &end, 10);
    if (errno != 0 || end == copy.c_str() || *end != '\0' || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<double> ParseShare(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    const std::string copy(text);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(copy.c_str(), &end);
    if (errno != 0 || end == copy.c_str() || *end != '\0' || !(value >= 0.0 && value <= 100.0))
        return std::nullopt;
    return value;
}

// Returns an error text, or nothing when the command line is good.
std::optional<std::string> ParseCommandLine(int argc, char** argv, CommandLine& out) {
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        std::string_view value;
        bool hasValue = false;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
            hasValue = true;
        }
        auto next = [&]() -> std::optional<std::string_view> {
            if (hasValue)
                return value;
            if (i + 1 >= argc)
                return std::nullopt;
            return std::string_view(argv[++i]);
        };
        auto integer = [&](long long low, long long high) -> std::optional<long long> {
            const auto v = next();
            return v ? ParseInteger(*v, low, high) : std::nullopt;
        };
        auto share = [&](double& target) -> bool {
            const auto v = next();
            const auto p = v ? ParseShare(*v) : std::nullopt;
            if (p)
                target = *p;
            return p.has_value();
        };
        const std::string bad = std::string("bad or missing value for ") + std::string(arg);

        if (arg == "--help" || arg == "-h") {
            out.Help = true;
        } else if (arg == "--silent") {
            out.Unit.Silent = true;
        } else if (arg == "--link") {
            const auto v = next();
            if (!v || v->empty())
                return bad;
            out.LinkPath = std::string(*v);
        } else if (arg == "--version") {
            const auto v = integer(0, 255);
            if (!v)
                return bad;
            out.Unit.ProgramVersion = static_cast<int>(*v);
        } else if (arg == "--counter") {
            const auto v = integer(0, 0xFFFF);
            if (!v)
                return bad;
            out.Unit.ProgrammingCount = static_cast<int>(*v);
        } else if (arg == "--seed") {
            const auto v = integer(0, 0xFFFFFFFFLL);
            if (!v)
                return bad;
            out.Unit.Seed = static_cast<std::uint32_t>(*v);
        } else if (arg == "--drop") {
            if (!share(out.Unit.DropPercent))
                return bad;
        } else if (arg == "--corrupt") {
            if (!share(out.Unit.CorruptPercent))
                return bad;
        } else if (arg == "--truncate") {
            if (!share(out.Unit.TruncatePercent))
                return bad;
        } else if (arg == "--delay") {
            if (!share(out.Unit.DelayPercent))
                return bad;
        } else if (arg == "--wrong-reply") {
            if (!share(out.Unit.WrongReplyPercent))
                return bad;
        } else if (arg == "--delay-ms") {
            const auto v = integer(0, 600000);
            if (!v)
                return bad;
            out.Unit.DelayMs = static_cast<int>(*v);
        } else if (arg == "--refuse-page") {
            const auto v = integer(1, 7);
            if (!v)
                return bad;
            out.Unit.RefusedPage = static_cast<int>(*v);
        } else if (arg == "--unplug-after") {
            const auto v = integer(0, 1LL << 40);
            if (!v)
                return bad;
            out.Unit.UnplugAtMs = *v;
        } else if (arg == "--replug-after") {
            const auto v = integer(0, 1LL << 40);
            if (!v)
                return bad;
            out.Unit.ReplugAfterMs = *v;
        } else {
            return "unknown option " + std::string(arg);
        }
    }
    const UnitOptions& u = out.Unit;
    if (u.DropPercent + u.CorruptPercent + u.TruncatePercent + u.DelayPercent + u.WrongReplyPercent > 100.0)
        return std::string("--drop, --corrupt, --truncate, --delay and --wrong-reply add up to more than 100");
    return std::nullopt;
}

void InstallSignals() {
    struct sigaction stop {};
    stop.sa_handler = OnStopSignal;
    sigemptyset(&stop.sa_mask);
    stop.sa_flags = 0; // no SA_RESTART: poll() returns at once with EINTR
    sigaction(SIGTERM, &stop, nullptr);
    sigaction(SIGINT, &stop, nullptr);
    sigaction(SIGHUP, &stop, nullptr);
    struct sigaction unplug {};
    unplug.sa_handler = OnUnplugSignal;
    sigemptyset(&unplug.sa_mask);
    unplug.sa_flags = 0;
    sigaction(SIGUSR1, &unplug, nullptr);
    struct sigaction replug {};
    replug.sa_handler = OnReplugSignal;
    sigemptyset(&replug.sa_mask);
    replug.sa_flags = 0;
    sigaction(SIGUSR2, &replug, nullptr);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr); // a parent that stops reading stdout must not kill us
}

// The served line: the terminal, its link, and what the unit has sent that the terminal has not
// taken yet.
class Server {
public:
    Server(UnitModel& model, std::string linkPath) : Model(model), LinkPath(std::move(linkPath)) {}
    ~Server() { GoAway(); }

    bool ComeBack() {
        std::string error;
        if (!Terminal.Open(&error)) {
            std::fprintf(stderr, "zevo-unit-sim: %s\n", error.c_str());
            return false;
        }
        if (!LinkPath.empty() && !zevo::sim::CreateLink(LinkPath, Terminal.SlavePath(), &error)) {
            std::fprintf(stderr, "zevo-unit-sim: %s\n", error.c_str());
            Terminal.Close();
            return false;
        }
        LinkedTo = LinkPath.empty() ? std::string() : Terminal.SlavePath();
        ClientPresent = false;
        Backlog.clear();
        std::printf("%s\n", Terminal.SlavePath().c_str());
        std::fflush(stdout);
        return true;
    }

    void GoAway() {
        zevo::sim::RemoveLink(LinkPath, LinkedTo);
        LinkedTo.clear();
        Terminal.Close();
        Backlog.clear();
        ClientPresent = false;
    }

    bool IsOpen() const { return Terminal.IsOpen(); }

    // Waits up to timeoutMs for the client's bytes or room to write.
    void Wait(int timeoutMs) {
        pollfd fd{};
        int count = 0;
        // While nobody holds the slave open the master reports a hang-up without end; polling it
        // then would spin, so the loop only sleeps and tries a read each round.
        if (Terminal.IsOpen() && ClientPresent) {
            fd.fd = Terminal.MasterFd();
            fd.events = static_cast<short>(POLLIN | (Backlog.empty() ? 0 : POLLOUT));
            count = 1;
        }
        ::poll(count != 0 ? &fd : nullptr, static_cast<nfds_t>(count), timeoutMs);
    }

    void Serve() {
        if (!Terminal.IsOpen())
            return;
        std::uint8_t buffer[4096];
        for (;;) {
            const auto r = Terminal.Read(buffer);
            if (r.State == PseudoTerminal::Status::Ok) {
                ClientPresent = true;
                Model.Receive(std::span<const std::uint8_t>(buffer, r.Count));
                continue;
            }
            if (r.State == PseudoTerminal::Status::WouldBlock)
                ClientPresent = true;
            else if (r.State == PseudoTerminal::Status::NoClient)
                ClientPresent = false;
            break;
        }
        const std::vector<std::uint8_t> out = Model.TakeOutput();
        // Replies for a client that has gone are dropped, as the bytes of a real line would be.
        if (!ClientPresent) {
            Backlog.clear();
            return;
        }
        Backlog.insert(Backlog.end(), out.begin(), out.end());
        if (Backlog.size() > MaxBacklog)
            Backlog.erase(Backlog.begin(), Backlog.end() - static_cast<std::ptrdiff_t>(MaxBacklog));
        while (!Backlog.empty()) {
            const auto w = Terminal.Write(Backlog);
            if (w.State != PseudoTerminal::Status::Ok || w.Count == 0) {
                if (w.State == PseudoTerminal::Status::NoClient) {
                    ClientPresent = false;
                    Backlog.clear();
                }
                break;
            }
            Backlog.erase(Backlog.begin(), Backlog.begin() + static_cast<std::ptrdiff_t>(w.Count));
        }
    }

private:
    static constexpr std::size_t MaxBacklog = 65536;
    UnitModel& Model;
    PseudoTerminal Terminal;
    std::string LinkPath;
    std::string LinkedTo;
    bool ClientPresent = false;
    std::vector<std::uint8_t> Backlog;
};

} // namespace

int main(int argc, char** argv) {
    CommandLine options;
    if (const auto error = ParseCommandLine(argc, argv, options)) {
        std::fprintf(stderr, "zevo-unit-sim: %s\n%s", error->c_str(), Usage);
        return 2;
    }
    if (options.Help) {
        std::fputs(Usage, stdout);
        return 0;
    }
    InstallSignals();

    UnitModel model(options.Unit);
    Server server(model, options.LinkPath);
    if (!server.ComeBack())
        return 1;

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    bool plugged = true;
    while (StopRequested == 0) {
        server.Wait(5);
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        model.Advance(elapsed - model.NowMs());
        // One change of the cable per round, so that a pull and a plug in quick succession still
        // close the terminal in between. A signal asking for the state the unit is already in
        // changes nothing.
        if (UnplugRequested != 0) {
            UnplugRequested = 0;
            model.Unplug();
        } else if (ReplugRequested != 0) {
            ReplugRequested = 0;
            if (!model.Plugged())
                model.Replug();
        }
        if (plugged && !model.Plugged()) {
            server.GoAway();
            std::fprintf(stderr, "zevo-unit-sim: unplugged\n");
        } else if (!plugged && model.Plugged()) {
            std::fprintf(stderr, "zevo-unit-sim: plugged in again\n");
            if (!server.ComeBack())
                return 1;
        }
        plugged = model.Plugged();
        server.Serve();
    }
    server.GoAway();
    return 0;
}
