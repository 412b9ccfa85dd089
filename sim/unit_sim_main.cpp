// zevo-unit-sim: the unit model served on a pseudo-terminal, so that the tool (or a test) can talk
// to a unit through a real serial device without hardware.
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "paced_wire.h"
#include "pseudo_terminal.h"
#include "unit_model.h"

namespace {

using zevo::sim::PacedWire;
using zevo::sim::PseudoTerminal;
using zevo::sim::UnitModel;
using zevo::sim::UnitOptions;

volatile sig_atomic_t StopRequested = 0;
volatile sig_atomic_t UnplugRequested = 0;
volatile sig_atomic_t ReplugRequested = 0;

void OnStopSignal(int) {
    StopRequested = 1;
}
void OnUnplugSignal(int) {
    UnplugRequested = 1;
}
void OnReplugSignal(int) {
    ReplugRequested = 1;
}

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
  --baud N            the line's rate, 300..4000000: every byte takes ten bit times, in both
                      directions, as on a real serial line (57600 for the unit; default: no
                      pacing, whole frames at once)
  --latency-ms N      0..255: bytes for the tool are handed on in chunks every N ms, as a USB
                      adapter's latency timer does (FTDI's default is 16); needs --baud
  --rpm N             hold the engine at N RPM (0..20000) instead of sweeping, for practice
  --tp P              hold the throttle at P per cent (0..100); either option holds the engine
                      (the other value then starts at 3000 RPM or 20 %)

  --help              this text

Keys on standard input move a held engine (type them, then Enter): + and - change the engine
speed by 100 RPM, > and < the throttle by 1 %, h holds the engine where it is, s lets it sweep
again.
)";

struct CommandLine {
    UnitOptions Unit;
    std::string LinkPath;
    bool Help = false;
    int Baud = 0; // 0: no pacing
    int LatencyMs = 0;
    std::optional<int> Rpm;
    std::optional<int> TpPercent;
};

constexpr int HeldRpmAtStart = 3000;
constexpr int HeldTpAtStart = 20;
constexpr int HighestRpm = 20000;

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
        } else if (arg == "--baud") {
            const auto v = integer(300, 4000000);
            if (!v)
                return bad + " (300..4000000)";
            out.Baud = static_cast<int>(*v);
        } else if (arg == "--rpm") {
            const auto v = integer(0, HighestRpm);
            if (!v)
                return bad + " (0..20000)";
            out.Rpm = static_cast<int>(*v);
        } else if (arg == "--tp") {
            const auto v = integer(0, 100);
            if (!v)
                return bad + " (0..100)";
            out.TpPercent = static_cast<int>(*v);
        } else if (arg == "--latency-ms") {
            const auto v = integer(0, 255);
            if (!v)
                return bad + " (0..255)";
            out.LatencyMs = static_cast<int>(*v);
        } else {
            return "unknown option " + std::string(arg);
        }
    }
    if (out.LatencyMs > 0 && out.Baud == 0)
        return std::string("--latency-ms needs --baud");
    const UnitOptions& u = out.Unit;
    if (u.DropPercent + u.CorruptPercent + u.TruncatePercent + u.DelayPercent + u.WrongReplyPercent > 100.0)
        return std::string(
            "--drop, --corrupt, --truncate, --delay and --wrong-reply add up to more than 100");
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

// The engine's operating point as the keys on standard input move it.
class EngineKeys {
public:
    EngineKeys(UnitModel& model, const CommandLine& options) : Model(model) {
        if (options.Rpm || options.TpPercent) {
            Held = true;
            Rpm = options.Rpm.value_or(HeldRpmAtStart);
            Tp = options.TpPercent.value_or(HeldTpAtStart);
            Model.HoldEngine(Rpm, Tp);
        }
    }

    // Reads what is waiting on standard input; false once it has ended (a closed or empty input).
    bool ReadKeys() {
        char buffer[256];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0)
            return got < 0 && (errno == EAGAIN || errno == EINTR);
        for (ssize_t i = 0; i < got; ++i)
            Key(buffer[i]);
        return true;
    }

private:
    void Key(char key) {
        switch (key) {
        case '+':
            Move(100, 0);
            break;
        case '-':
            Move(-100, 0);
            break;
        case '>':
            Move(0, 1);
            break;
        case '<':
            Move(0, -1);
            break;
        case 'h':
            Move(0, 0);
            break;
        case 's':
            Held = false;
            Model.ResumeSweep();
            std::fprintf(stderr, "zevo-unit-sim: the engine sweeps\n");
            break;
        default:
            break;
        }
    }
    void Move(int rpm, int tp) {
        if (!Held) {
            // From where the sweeping engine is now.
            const auto now = Model.Telemetry();
            Rpm = now.Rpm;
            Tp = now.TpPercent;
            Held = true;
        }
        Rpm = std::clamp(Rpm + rpm, 0, HighestRpm);
        Tp = std::clamp(Tp + tp, 0, 100);
        Model.HoldEngine(Rpm, Tp);
        std::fprintf(stderr, "zevo-unit-sim: engine held at %d RPM, %d %%\n", Rpm, Tp);
    }

    UnitModel& Model;
    bool Held = false;
    int Rpm = HeldRpmAtStart;
    int Tp = HeldTpAtStart;
};

// The served line: the terminal, its link, and what the unit has sent that the terminal has not
// taken yet.
class Server {
public:
    Server(UnitModel& model, std::string linkPath, int baud, int latencyMs)
        : Model(model), LinkPath(std::move(linkPath)), ToUnit(baud, 0), ToTool(baud, latencyMs) {}
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
        ToUnit.Take(std::numeric_limits<std::int64_t>::max());
        ToTool.Take(std::numeric_limits<std::int64_t>::max());
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

    // How long the loop may sleep before a byte on a paced wire is due, at most `longest` ms.
    int SleepMs(std::int64_t nowUs, int longest) const {
        std::int64_t wake = nowUs + static_cast<std::int64_t>(longest) * 1000;
        for (const PacedWire* wire : {&ToUnit, &ToTool})
            if (const auto due = wire->NextHandOverUs())
                wake = std::min(wake, *due);
        return static_cast<int>(std::max<std::int64_t>(0, (wake - nowUs + 999) / 1000));
    }

    // Waits up to timeoutMs for the client's bytes, room to write, or (when `keys`) a key on
    // standard input. Returns whether standard input has something (or has ended).
    bool Wait(int timeoutMs, bool keys) {
        pollfd fds[2]{};
        int count = 0;
        // While nobody holds the slave open the master reports a hang-up without end; polling it
        // then would spin, so the loop only sleeps and tries a read each round.
        if (Terminal.IsOpen() && ClientPresent) {
            fds[count].fd = Terminal.MasterFd();
            fds[count].events = static_cast<short>(POLLIN | (Backlog.empty() ? 0 : POLLOUT));
            ++count;
        }
        const int keyIndex = keys ? count : -1;
        if (keys) {
            fds[count].fd = STDIN_FILENO;
            fds[count].events = POLLIN;
            ++count;
        }
        ::poll(count != 0 ? fds : nullptr, static_cast<nfds_t>(count), timeoutMs);
        return keyIndex >= 0 && (fds[keyIndex].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
    }

    void Serve(std::int64_t nowUs) {
        if (!Terminal.IsOpen())
            return;
        std::uint8_t buffer[4096];
        for (;;) {
            const auto r = Terminal.Read(buffer);
            if (r.State == PseudoTerminal::Status::Ok) {
                ClientPresent = true;
                ToUnit.Send(std::span<const std::uint8_t>(buffer, r.Count), nowUs);
                continue;
            }
            if (r.State == PseudoTerminal::Status::WouldBlock)
                ClientPresent = true;
            else if (r.State == PseudoTerminal::Status::NoClient)
                ClientPresent = false;
            break;
        }
        // The unit hears the tool's bytes as the wire delivers them, and its replies go out on the
        // wire the same way (both at once without --baud).
        const std::vector<std::uint8_t> heard = ToUnit.Take(nowUs);
        if (!heard.empty())
            Model.Receive(heard);
        const std::vector<std::uint8_t> sent = Model.TakeOutput();
        ToTool.Send(sent, nowUs);
        const std::vector<std::uint8_t> out = ToTool.Take(nowUs);
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
    PacedWire ToUnit;
    PacedWire ToTool;
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
    EngineKeys engine(model, options);
    bool keys = true; // until standard input ends (it is /dev/null under a test or a script)
    Server server(model, options.LinkPath, options.Baud, options.LatencyMs);
    if (!server.ComeBack())
        return 1;

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    bool plugged = true;
    auto nowUs = [&start] {
        return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
    };
    while (StopRequested == 0) {
        if (server.Wait(server.SleepMs(nowUs(), 5), keys))
            keys = engine.ReadKeys();
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
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
        server.Serve(nowUs());
    }
    server.GoAway();
    return 0;
}
