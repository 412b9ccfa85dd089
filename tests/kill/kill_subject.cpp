// The tool's window driven by a script, as a child process that kill_tests ends with SIGKILL at a
// random moment. It goes through the same code as a user: File > New, File > Open and File > Save
// with the dialogs answered from a script, and the window's close on SIGTERM as zevo's main() sets
// it up. Every step is announced on stdout (one flushed line each), so the parent knows which write
// the kill may have cut short.
//
//   kill_subject save TARGET SET_B COUNT   saves COUNT times into TARGET (0: until killed),
//                                          alternately the default set (File > New) and SET_B
//                                          (File > Open); lines "saving A 1", "saved A 1 T D"
//   kill_subject record TARGET             records status frames into TARGET as the window's
//                                          recording does, many times faster (a frame every
//                                          100 us, the rows written every 5 ms), until killed;
//                                          lines "flushed N" once N rows are in the file
//   kill_subject close [ARGUMENTS...]      the window as zevo starts it, in $ZEVO_CONFIG_DIR;
//                                          lines "ready", then "closing" when the window's close
//                                          begins and "closed D" once it has returned
//
// T is microseconds since start, D the microseconds the step took.
#include <QApplication>
#include <QCloseEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "fake_prompter.h"
#include "link/serial_line.h"
#include "offline_line.h"
#include "ui/close_on_signal.h"
#include "ui/config_files.h"
#include "ui/form_hlav.h"
#include "ui/log_recorder.h"

namespace zevo {
namespace {

using Clock = std::chrono::steady_clock;
const Clock::time_point Started = Clock::now();

long long MicrosecondsSince(Clock::time_point from) {
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - from).count();
}

// Written and flushed at once: the line must be in the pipe before the next file write starts.
void Say(const std::string& line) {
    std::fputs((line + '\n').c_str(), stdout);
    std::fflush(stdout);
}

StartOptions Options(FakePrompter& prompts, OfflineLine& line, const QStringList& arguments) {
    StartOptions options;
    options.Arguments = arguments;
    options.ConfigDir = ConfigDirectory();
    options.Prompts = &prompts;
    options.Line = &line;
    options.PrintPage = [](const QImage&) { return PrintOutcome{PrintResult::NoPrinter, QString()}; };
    options.OpenDocument = [](const QString&) { return DocumentOpening::Refused; };
    return options;
}

int RunSaves(const QString& target, const QString& setB, long long count) {
    FakePrompter prompts;
    OfflineLine line;
    TFormHlav window(Options(prompts, line, {}));
    for (long long n = 1; count == 0 || n <= count; ++n) {
        const bool isA = n % 2 == 1;
        if (isA) {
            prompts.Answers.push_back(PromptAnswer::Yes);
            window.MenuNewClick();
        } else {
            prompts.Paths.push_back(setB);
            window.MenuOpenClick();
        }
        const std::string name = std::string(isA ? "A " : "B ") + std::to_string(n);
        Say("saving " + name);
        const Clock::time_point begun = Clock::now();
        prompts.Paths.push_back(target);
        window.MenuSaveClick();
        const long long took = MicrosecondsSince(begun);
        // A message box means the save (or the open before it) failed: no set may be taken as saved.
        if (!prompts.Messages.isEmpty()) {
            Say("failed " + prompts.Messages.join(QLatin1Char(' ')).toStdString());
            return 1;
        }
        Say("saved " + name + ' ' + std::to_string(MicrosecondsSince(Started)) + ' ' + std::to_string(took));
    }
    return 0;
}

int RunRecording(const QString& target) {
    LogRecorder recorder(5);
    QString reason;
    auto steadyMs = [] { return static_cast<std::int64_t>(MicrosecondsSince(Started) / 1000); };
    if (!recorder.Start(target, steadyMs(), reason)) {
        Say("failed " + reason.toStdString());
        return 1;
    }
    std::int64_t said = -1;
    for (long long n = 0;; ++n) {
        StatusFrame status;
        status.Rpm = static_cast<std::uint16_t>(n % 12000);
        status.TpPercent = static_cast<std::uint8_t>(n % 102); // 101: a sensor error now and then
        status.TestValues[7] = static_cast<std::uint16_t>(n);
        if (n % 97 == 0)
            recorder.Mark();
        recorder.Add(status, 1'796'801'758'000LL + n, steadyMs());
        if (!recorder.Tick(steadyMs())) {
            Say("failed " + recorder.FailureReason().toStdString());
            return 1;
        }
        if (recorder.RowsOnDisk() != said) {
            said = recorder.RowsOnDisk();
            Say("flushed " + std::to_string(said));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
}

// Sees the close event before the window does, so "closing" is said before the first file write.
class CloseWatch final : public QObject {
public:
    Clock::time_point Begun{};
    bool Seen = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close && !Seen) {
            Seen = true;
            Begun = Clock::now();
            Say("closing");
        }
        return QObject::eventFilter(watched, event);
    }
};

int RunClose(const QStringList& arguments) {
    QApplication::setApplicationName(QStringLiteral("ZEVO"));
    FakePrompter prompts;
    OfflineLine line;
    TFormHlav window(Options(prompts, line, arguments));
    CloseWatch watch;
    window.installEventFilter(&watch);
    CloseOnTerminationSignals(&window);
    window.show();
    QTimer::singleShot(0, &window, [] { Say("ready"); });
    const int result = QApplication::exec();
    if (watch.Seen)
        Say("closed " + std::to_string(MicrosecondsSince(watch.Begun)));
    return result;
}

} // namespace
} // namespace zevo

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const QString mode = arguments.value(1);
    if (mode == QLatin1String("save") && arguments.size() == 5) {
        bool ok = false;
        const long long count = arguments[4].toLongLong(&ok);
        if (ok && count >= 0)
            return zevo::RunSaves(arguments[2], arguments[3], count);
    } else if (mode == QLatin1String("record") && arguments.size() == 3) {
        return zevo::RunRecording(arguments[2]);
    } else if (mode == QLatin1String("close")) {
        return zevo::RunClose(arguments.mid(2));
    }
    std::fputs("usage: kill_subject save TARGET SET_B COUNT | kill_subject close [ARGUMENTS...]\n", stderr);
    return 2;
}
