// zevo-cli: the link engine and the parameter files without the window. The engine is ticked every
// 55 ms from a plain loop, exactly as the window's timer ticks it; this file only chooses the port,
// watches what the engine shows and turns it into lines, files and exit codes.
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#ifdef Q_OS_WIN
#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX // std::min and std::max, not the macros
#endif
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "app/app_settings.h"
#include "app/image_file.h"
#include "app/ini_file.h"
#include "app/project_version.h"
#include "cli/cli_options.h"
#include "cli/cli_report.h"
#include "files/checked_write.h"
#include "files/ign_format.h"
#include "files/ign_load.h"
#include "files/restore_store.h"
#include "lang/language_tables.h"
#include "link/link_engine.h"
#include "log/log_format.h"
#include "link/system_serial_line.h"
#include "ui/config_files.h"

namespace zevo::cli {
namespace {

volatile std::sig_atomic_t Interrupted = 0;
extern "C" void OnInterrupt(int) {
    Interrupted = 1;
}
#ifdef _WIN32
// Ctrl+C, Ctrl+Break, a closed console window, a logoff or a shutdown: the transfer stops as on
// SIGINT elsewhere (the unit is left in a known state, no half file is written).
BOOL WINAPI OnConsoleEvent(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        Interrupted = 1;
        return TRUE;
    default:
        return FALSE;
    }
}
#endif

constexpr std::uint8_t English = 1;
constexpr int TickMs = 55;
constexpr qint64 InputFileLimit = 1024 * 1024;

bool StderrIsTerminal() {
#ifdef Q_OS_WIN
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(STDERR_FILENO) != 0;
#endif
}

void Say(const std::string& text) {
    std::fprintf(stderr, "zevo-cli: %s\n", text.c_str());
}

int Fail(int code, const std::string& text) {
    Say(text);
    return code;
}

// ---- files -------------------------------------------------------------------------------------

std::optional<std::string> ReadInputFile(const std::string& path, std::string* error) {
    const QString name = QString::fromStdString(path);
    const QFileInfo info(name);
    if (!info.exists()) {
        *error = path + ": no such file";
        return std::nullopt;
    }
    if (info.isDir()) {
        *error = path + ": is a directory, not a file";
        return std::nullopt;
    }
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + ": " + file.errorString().toStdString();
        return std::nullopt;
    }
    const QByteArray bytes = file.read(InputFileLimit);
    if (file.error() != QFileDevice::NoError) {
        *error = path + ": " + file.errorString().toStdString();
        return std::nullopt;
    }
    return bytes.toStdString();
}

// Reads an ign file onto `image` through the window's own loader and repairs the block as the
// window's Open does.
int ApplyIgnFile(const std::string& path, DeviceImage& image) {
    const QFileInfo info(QString::fromStdString(path));
    if (!info.exists())
        return Fail(ExitUsage, path + ": no such file");
    if (info.isDir())
        return Fail(ExitUsage, path + ": is a directory, not a file");
    const IgnLoad load = LoadIgnFile(QString::fromStdString(path), image, English);
    switch (load.Result) {
    case IgnReadResult::Ok:
        break;
    case IgnReadResult::UnmatchedVersion:
        return Fail(ExitFileVersion,
                    path + ": not a parameter file of format version " + std::to_string(PcProgramVersion));
    case IgnReadResult::ReadError:
    case IgnReadResult::Damaged:
    case IgnReadResult::TooLarge:
        return Fail(ExitUsage, path + ": " + load.Reason.toStdString());
    }
    PortChoice unused;
    ValidateBlock(image, unused);
    return ExitDone;
}

std::string IgnText(const DeviceImage& image) {
    std::ostringstream out(std::ios::binary);
    WriteIgnFile(out, image);
    return out.str();
}

// An output file that appears only whole: tried first (so an unwritable path is reported before the
// unit is touched, and nothing is left behind), then written once the data is good, through the
// checked write: a full disk is an error, never a short file.
class OutputFile {
public:
    explicit OutputFile(const std::string& path, bool text) : Path(path), Text(text) {}
    bool Open(std::string* error) const {
        const QString name = QString::fromStdString(Path);
        if (QFileInfo(name).isDir()) {
            *error = Path + ": is a directory, not a file";
            return false;
        }
        QSaveFile probe(name);
        if (!probe.open(QIODevice::WriteOnly)) {
            *error = Path + ": " + probe.errorString().toStdString();
            return false;
        }
        probe.cancelWriting();
        return true;
    }
    bool Commit(const std::string& bytes, std::string* error) const {
        const WriteResult written = WriteFileChecked(
            QString::fromStdString(Path), QByteArray::fromStdString(bytes), Text);
        if (!written)
            *error = Path + ": " + written.Reason.toStdString();
        return written.Landed;
    }

private:
    std::string Path;
    bool Text = false;
};

// ---- the link ----------------------------------------------------------------------------------

// The serial line, noting what became of each port the automatic search tried (the status lines
// this tool prints come from the engine's own last status frame).
class StatusTap final : public SerialLine {
public:
    explicit StatusTap(PortPins pins) : Real(std::move(pins)) {}
    bool Open(int portNumber, std::string* error) override {
        std::string reason;
        const bool opened = Real.Open(portNumber, &reason);
        if (OnFirstTry && !Real.DevicePath(portNumber).empty() && !Tried.contains(portNumber))
            OnFirstTry(portNumber);
        // What became of each port, for the list a search that found no unit ends with.
        if (!Real.DevicePath(portNumber).empty())
            Tried[portNumber] =
                opened ? std::string("opened, no unit answered") : "could not be opened: " + reason;
        if (error != nullptr)
            *error = reason;
        return opened;
    }
    void Close() override { Real.Close(); }
    bool IsOpen() const override { return Real.IsOpen(); }
    std::string PortName(int portNumber) const override { return Real.PortName(portNumber); }
    std::string DevicePath(int portNumber) const override { return Real.DevicePath(portNumber); }
    int BytesWaiting() override { return Real.BytesWaiting(); }
    int Read(std::span<std::uint8_t> buffer) override { return Real.Read(buffer); }
    void WriteFrame(const Frame& frame) override { Real.WriteFrame(frame); }

    SystemSerialLine Real;
    std::map<int, std::string> Tried; // COM number -> outcome of its last open
    std::function<void(int)> OnFirstTry; // a present port tried for the first time
};

struct StatusLine {
    MsgId Text = MsgId::MsgRead;
    std::string Suffix;
    LabelColour Colour = LabelColour::Normal;
};

class ConsoleView final : public LinkView {
public:
    std::uint8_t LanguageIndex() const override { return English; }
    int ActivePage() const override { return 0; }
    void SetStatusLine(MsgId text, std::string_view suffix, LabelColour colour) override {
        Status = StatusLine{text, std::string(suffix), colour};
        DrawProgress();
    }
    void SetStatusLineVisible(bool) override {}
    void SetProgramGauge(int maximum, int progress) override {
        GaugeMaximum = maximum;
        GaugeProgress = progress;
        DrawProgress();
    }
    void SetProgramGaugeVisible(bool) override {}
    void SetConnectionLost(bool lost) override { Lost = lost; }
    void ShowTelemetry(const TelemetryCaptions&) override {
        ++Frames;
        if (OnStatus)
            OnStatus();
    }
    void HideVersionWarning() override {}
    void ShowLiveCell(int, int) override {}
    void SetPortLabel(const std::string&, const std::string&) override {}
    void CheckComMenuItem(int) override {}
    void BlockToEditor() override {}
    void ShowIdentification(const Identification&) override {}
    void ClearFileName() override {}
    void RecordReadSet() override {}
    void ShowNote(const std::string& text) override { Say(text); }
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    void TransferEnded(const TransferOutcome& outcome) override { LastOutcome = outcome; }
    void ProgramStored(int) override { Stored = true; }

    // Ends the bar: a transfer that went well leaves its last line standing (the user sees what
    // was done); one that did not is wiped for the message that follows.
    void EndProgress(bool keep = false) {
        if (!Drawn)
            return;
        if (keep)
            std::fprintf(stderr, "\r%-60s\n", (MessageText(Status.Text, English) + Status.Suffix).c_str());
        else
            std::fprintf(stderr, "\r%-60s\r", "");
        std::fflush(stderr);
        Drawn = false;
    }

    bool Progress = false; // draw a bar on stderr
    StatusLine Status;
    int GaugeMaximum = 0;
    int GaugeProgress = 0;
    bool Lost = true;
    int Frames = 0;
    std::vector<std::string> Messages;
    std::function<void()> OnStatus;
    // How the last transfer ended, and whether the unit has stored the last Program's set.
    std::optional<TransferOutcome> LastOutcome;
    bool Stored = false;

private:
    void DrawProgress() {
        if (!Progress || GaugeMaximum <= 0)
            return;
        constexpr int Width = 28;
        const int filled = GaugeProgress * Width / GaugeMaximum;
        const std::string caption = MessageText(Status.Text, English) + Status.Suffix;
        char bar[96];
        std::snprintf(bar, sizeof bar, "\r%-22.22s [%s%s] %3d%%", caption.c_str(),
                      std::string(static_cast<std::size_t>(filled), '#').c_str(),
                      std::string(static_cast<std::size_t>(Width - filled), '.').c_str(),
                      GaugeProgress * 100 / GaugeMaximum);
        // The engine sets the gauge on every storing tick; the terminal hears only of changes.
        if (Drawn && LastBar == bar)
            return;
        LastBar = bar;
        std::fputs(bar, stderr);
        std::fflush(stderr);
        Drawn = true;
    }
    bool Drawn = false;
    std::string LastBar;
};

// COM numbers count as the window counts them: the pins of the settings file's [PORTS] win. A
// device path given on the command line is pinned as COM1 for this run only.
PortPins PinsFor(const std::optional<PortArgument>& port) {
    if (port && !port->Path.empty()) {
        // QSerialPort takes a bare name for a name under /dev: a path relative to the working
        // directory is made whole first.
        const QFileInfo info(QString::fromStdString(port->Path));
        return {{1, info.exists() ? info.absoluteFilePath().toStdString() : port->Path}};
    }
    const QString settings =
        ConfigDirectory() + QLatin1Char('/') + QString::fromStdString(SettingsFileName());
    const WholeFile file = ReadWholeFile(settings);
    const std::string_view bytes(file.Bytes.constData(), static_cast<std::size_t>(file.Bytes.size()));
    if (file.Is == WholeFile::State::Missing)
        return {};
    // The window sets such a file aside at its next start; this tool only reads, and says so.
    if (file.Is != WholeFile::State::Read || !IniTextUnderstood(bytes)) {
        Say(settings.toStdString() + ": the settings file cannot be read whole; its [PORTS] pins are not used");
        return {};
    }
    return ReadPortPins(IniFile::Parse(bytes));
}

PortChoice ChoiceFor(const std::optional<PortArgument>& port) {
    if (!port)
        return PortChoice{AutoSearchPortIndex, 0};
    const int number = port->Path.empty() ? port->Number : 1;
    return PortChoice{static_cast<std::uint8_t>(number - 1), 0};
}

enum class Outcome { Done, Failed, Refused, Interrupted };

class Session {
public:
    explicit Session(const Options& options)
        : Opts(options), Ports(ChoiceFor(options.Port)), Line(PinsFor(options.Port)),
          Engine(Image, Ports, Line, View) {
        SetDefaults(Image);
    }

    // Opens the port and waits for the unit's first status frame.
    int Connect() {
        Clock.start();
        // The search takes up to half a minute: on a terminal each present port is named as it is
        // tried, so the wait is not silent.
        if (!Opts.Port && StderrIsTerminal())
            Line.OnFirstTry = [this](int number) {
                Say("trying COM" + std::to_string(number) + " (" + Line.Real.DevicePath(number) + ")");
            };
        Engine.OpenPort();
        if (!View.Messages.empty()) {
            std::string text = View.Messages.front();
            for (char& c : text)
                if (c == '\n')
                    c = ' ';
            return Fail(ExitNoUnit, PortText() + ": " + text);
        }
        // A fixed port has a couple of seconds; the automatic search one round over every number.
        const int deadline =
            Opts.Port ? 3 * linktime::LostAfterTicks
                      : AutoPortCount * (linktime::ReopenEveryTicks + 1) + linktime::LostAfterTicks;
        for (int tick = 0; tick < deadline; ++tick) {
            if (Interrupted != 0)
                return Fail(ExitNoUnit, "interrupted before a unit answered");
            Tick();
            if (View.Frames > 0)
                return ExitDone;
        }
        if (!Opts.Port) {
            // Each port the search found, and what became of it, so the user learns whether a port
            // was busy, not permitted, or there and silent.
            if (Line.Tried.empty())
                Say("no serial port is present");
            for (const auto& [number, outcome] : Line.Tried)
                Say("COM" + std::to_string(number) + " (" + Line.Real.DevicePath(number) + "): " + outcome);
        }
        return Fail(ExitNoUnit, "no unit answered on " + PortText());
    }

    void Tick() {
        NextTickAt += TickMs;
        if (Clock.elapsed() > NextTickAt + TickMs)
            NextTickAt = Clock.elapsed(); // after a stall, no bunched ticks
        const qint64 wait = NextTickAt - Clock.elapsed();
        if (wait > 0)
            QThread::msleep(static_cast<unsigned long>(wait));
        Engine.Tick();
    }

    // Runs the transfer begun by start() until the engine is idle again.
    Outcome Transfer(void (LinkEngine::*start)()) {
        View.Messages.clear();
        View.LastOutcome.reset();
        View.Stored = false;
        View.Progress = StderrIsTerminal();
        (Engine.*start)();
        while (Engine.State().TransferMode != zevo::Transfer::Idle) {
            if (Interrupted != 0) {
                View.EndProgress();
                Engine.ClosePort();
                return Outcome::Interrupted;
            }
            Tick();
        }
        if (View.LastOutcome && View.LastOutcome->How == TransferOutcome::End::Refused) {
            View.EndProgress();
            return Outcome::Refused;
        }
        const bool ok = View.LastOutcome && View.LastOutcome->How == TransferOutcome::End::Ok;
        View.EndProgress(ok);
        return ok ? Outcome::Done : Outcome::Failed;
    }

    // The exit code for a transfer that did not end well, with its message.
    int Report(Outcome outcome, const std::string& what) {
        switch (outcome) {
        case Outcome::Done:
            return ExitDone;
        case Outcome::Refused:
            return Fail(ExitUnitVersion,
                        "the unit runs program version " + std::to_string(Engine.Unit().Version) +
                            ", this tool speaks version " + std::to_string(PcProgramVersion) +
                            "; nothing was written to it");
        case Outcome::Interrupted:
            return Fail(ExitFailed, what + " interrupted");
        case Outcome::Failed:
            return Fail(ExitFailed, what + " failed: the unit did not answer correctly after " +
                                        std::to_string(linktime::Transmissions) + " tries (" +
                                        MessageText(View.Status.Text, English) + ")");
        }
        return ExitFailed;
    }

    std::string PortText() const {
        if (!Opts.Port)
            return "any port (automatic search)";
        const int number = Opts.Port->Path.empty() ? Opts.Port->Number : 1;
        const std::string path = Line.Real.DevicePath(number);
        if (!Opts.Port->Path.empty())
            return Opts.Port->Path;
        return "COM" + std::to_string(number) + (path.empty() ? "" : " (" + path + ")");
    }

    const Options& Opts;
    DeviceImage Image;
    PortChoice Ports;
    ConsoleView View;
    StatusTap Line;
    LinkEngine Engine;
    QElapsedTimer Clock;
    qint64 NextTickAt = 0;
};

// ---- commands ----------------------------------------------------------------------------------

int RunPorts() {
    const SystemSerialLine ports(PinsFor(std::nullopt));
    const std::vector<PortDescription> listed = DescribePorts(ports);
    for (const PortDescription& port : listed) {
        std::string line = "COM" + std::to_string(port.Number) + "  " + port.Path;
        if (port.Vendor >= 0) {
            line += QString::asprintf("  vendor %04x", port.Vendor).toStdString();
            if (port.Product >= 0)
                line += QString::asprintf("  product %04x", port.Product).toStdString();
            if (!port.Manufacturer.empty())
                line += "  \"" + port.Manufacturer + "\"";
            if (!port.Description.empty())
                line += "  \"" + port.Description + "\"";
            if (!port.Serial.empty())
                line += "  serial " + port.Serial;
        }
        if (!port.ById.empty() && port.ById != port.Path)
            line += "  " + port.ById;
        std::printf("%s\n", line.c_str());
    }
    if (listed.empty())
        Say("no serial port is present");
    return ExitDone;
}

int RunStatus(const Options& options) {
    Session session(options);
    // The rows are the window's recording rows: the same log, read back by the same replay.
    QElapsedTimer steady;
    std::string row;
    session.View.OnStatus = [&] {
        const std::optional<StatusFrame>& status = session.Engine.LastStatusFrame();
        if (!status)
            return;
        if (options.Csv) {
            if (!steady.isValid())
                steady.start();
            row.clear();
            AppendLogRow(row, LogRowFrom(*status, QDateTime::currentMSecsSinceEpoch(),
                                         steady.elapsed(), 0));
            std::fwrite(row.data(), 1, row.size(), stdout);
        } else {
            const QString time = QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz"));
            std::printf("%s\n", FormatStatus(*status, time.toStdString()).c_str());
        }
        std::fflush(stdout);
    };
    if (options.Csv)
        std::printf("%s\n", LogHeader().c_str());
    if (const int code = session.Connect(); code != ExitDone)
        return code;
    bool lost = false;
    while (options.Count == 0 || session.View.Frames < options.Count) {
        if (Interrupted != 0)
            return ExitDone;
        session.Tick();
        if (session.View.Lost != lost) {
            lost = session.View.Lost;
            Say(lost ? "the unit is silent; waiting for it" : "the unit answers again");
        }
    }
    return ExitDone;
}

// A restore point of the set the session holds, in the same folder the window keeps them in. One
// that cannot be written is said and stops nothing.
// `counted`: the unit's last status frame counts the set (a read, or a programming it has stored).
void KeepRestorePoint(const Session& session, RestoreEvent event, const std::string& file = {},
                      bool counted = true) {
    RestoreStore store(RestoreFolder(ConfigDirectory()));
    RestoreInfo info;
    info.Event = event;
    info.Image = session.Image;
    info.UnitName = session.Engine.Unit().UnitName;
    info.UnitBuildDate = session.Engine.Unit().UnitBuildDate;
    if (const auto& status = session.Engine.LastStatusFrame(); status && counted)
        info.ProgrammingCount = status->ProgrammingCount;
    info.FileName = file;
    const RestoreStore::Outcome outcome = store.Take(std::move(info));
    if (!outcome.Error.isEmpty())
        Say("no restore point kept: " + outcome.Error.toStdString());
}

int RunRead(const Options& options) {
    OutputFile ign(options.File, false);
    std::optional<OutputFile> image;
    std::string error;
    if (!ign.Open(&error))
        return Fail(ExitUsage, error);
    if (!options.Image.empty()) {
        image.emplace(options.Image, true);
        if (!image->Open(&error))
            return Fail(ExitUsage, error);
    }
    Session session(options);
    if (const int code = session.Connect(); code != ExitDone)
        return code;
    if (const int code = session.Report(session.Transfer(&LinkEngine::StartRead), "read"); code != ExitDone)
        return code;
    KeepRestorePoint(session, RestoreEvent::Read);
    if (!ign.Commit(IgnText(session.Image), &error))
        return Fail(ExitUsage, error);
    if (image) {
        std::ostringstream out;
        WriteImageFile(out, session.Image, AllCellsFlags{});
        if (!image->Commit(out.str(), &error))
            return Fail(ExitUsage, error);
    }
    return ExitDone;
}

// Verify and program both start alike: the file is checked before the unit is asked anything, then
// the unit's own set is read, so its identification page and the bytes no file carries are known.
int CheckFileAndReadUnit(const Options& options, Session& session) {
    DeviceImage check;
    SetDefaults(check);
    if (const int code = ApplyIgnFile(options.File, check); code != ExitDone)
        return code;
    if (const int code = session.Connect(); code != ExitDone)
        return code;
    return session.Report(session.Transfer(&LinkEngine::StartRead), "read");
}

int RunVerify(const Options& options) {
    Session session(options);
    if (const int code = CheckFileAndReadUnit(options, session); code != ExitDone)
        return code;
    // The file laid over the unit's own set: what it does not carry stays the unit's and never differs.
    DeviceImage expected = session.Image;
    ApplyIgnFile(options.File, expected);
    const std::vector<std::string> differences = ListDifferences(expected, session.Image);
    for (const std::string& line : differences)
        std::printf("%s\n", line.c_str());
    std::printf("%zu difference%s\n", differences.size(), differences.size() == 1 ? "" : "s");
    return differences.empty() ? ExitDone : ExitFailed;
}

int RunProgram(const Options& options) {
    Session session(options);
    // The unit's own set first: its identification page and the bytes no file carries are kept.
    if (const int code = CheckFileAndReadUnit(options, session); code != ExitDone)
        return code;
    // What the unit held before the file goes in, so it can always be put back.
    KeepRestorePoint(session, RestoreEvent::Read);
    if (const int code = ApplyIgnFile(options.File, session.Image); code != ExitDone)
        return code;
    const Outcome programmed = session.Transfer(&LinkEngine::StartProgram);
    if (programmed == Outcome::Interrupted)
        return Fail(ExitFailed, "program interrupted: the unit may hold a partly written set");
    if (const int code = session.Report(programmed, "program"); code != ExitDone)
        return code;
    // The unit stores the set in its EEPROM after the last page; the engine reports "Program device:
    // OK" once a status frame shows the storing has ended. The restore point waits for that frame:
    // only then does the unit's programming counter count this programming. A set verified in the
    // unit is kept even when the storing is not seen to end, its counter then unknown.
    session.View.Progress = StderrIsTerminal();
    const int storingTicks = 60 * 1000 / TickMs;
    const auto kept = [&](bool stored) { KeepRestorePoint(session, RestoreEvent::Programmed, options.File, stored); };
    int silentTicks = 0;
    for (int tick = 0; tick < storingTicks; ++tick) {
        if (session.View.Stored) {
            session.View.EndProgress(/*keep=*/true);
            kept(true);
            return ExitDone;
        }
        if (Interrupted != 0) {
            session.View.EndProgress();
            kept(false);
            return Fail(ExitFailed, "interrupted while the unit was storing the set");
        }
        // The connection watch marks the unit lost after a second without a frame, which a noisy
        // line can give while the unit stores; silence for three seconds, longer than the storing
        // itself, is a unit gone.
        silentTicks = session.View.Lost ? silentTicks + 1 : 0;
        if (silentTicks > 3 * linktime::LostAfterTicks) {
            session.View.EndProgress();
            kept(false);
            return Fail(ExitFailed, "the unit went silent before it reported that storing had ended");
        }
        session.Tick();
    }
    session.View.EndProgress();
    kept(false);
    return Fail(ExitFailed, "the unit did not report the end of storing within a minute");
}

int RunIgnNormalize(const Options& options) {
    DeviceImage image;
    SetDefaults(image);
    if (!options.Base.empty()) {
        std::string error;
        const std::optional<std::string> text = ReadInputFile(options.Base, &error);
        if (!text)
            return Fail(ExitUsage, error);
        std::istringstream in(*text);
        AllCellsFlags unused{};
        ReadImageFile(in, image, unused);
    }
    if (const int code = ApplyIgnFile(options.File, image); code != ExitDone)
        return code;
    const std::string text = IgnText(image);
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (std::fflush(stdout) != 0)
        return Fail(ExitUsage, "standard output cannot be written");
    return ExitDone;
}

} // namespace
} // namespace zevo::cli

int main(int argc, char** argv) {
    using namespace zevo::cli;
    QCoreApplication app(argc, argv);
    // The window's name: the settings folder (and its [PORTS] pins) is the window's.
    QCoreApplication::setApplicationName(QStringLiteral("ZEVO"));
    std::vector<std::string> args(argv + 1, argv + argc);
    const ParseResult parsed = ParseArguments(args);
    if (!parsed.Parsed) {
        Say(parsed.Error + " (zevo-cli --help for usage)");
        return ExitUsage;
    }
    const Options& options = *parsed.Parsed;
    if (options.Version) {
        std::printf("zevo-cli %s\n", zevo::ProjectVersion);
        return ExitDone;
    }
    if (options.Help) {
        const bool named = !args.empty() && args.front() != "--help" && args.front() != "-h";
        std::fputs(HelpText(named ? std::optional<Command>(options.Cmd) : std::nullopt).c_str(), stdout);
        return ExitDone;
    }
    std::signal(SIGINT, OnInterrupt);
#ifdef _WIN32
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
#endif
    switch (options.Cmd) {
    case Command::Ports:
        return RunPorts();
    case Command::Status:
        return RunStatus(options);
    case Command::Read:
        return RunRead(options);
    case Command::Verify:
        return RunVerify(options);
    case Command::Program:
        return RunProgram(options);
    case Command::IgnNormalize:
        return RunIgnNormalize(options);
    }
    return ExitUsage;
}
