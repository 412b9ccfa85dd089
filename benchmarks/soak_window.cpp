// The tool as a tuner leaves it for a ride: the real window on the real serial line to the unit (the
// settings in ZEVO_CONFIG_DIR pin it), the live chart open and a recording running into the file
// named as the first argument. Only the recording's Save dialog is answered by this program; the
// chart and the recording are started through their menu items. scripts/bench --soak measures it.
#include <QAction>
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "ui/close_on_signal.h"
#include "ui/config_files.h"
#include "ui/form_hlav.h"
#include "ui/prompter.h"

namespace {

// Every box as the tool shows it, but the recording's file name, which is given.
class RecordingPrompter final : public zevo::Prompter {
public:
    explicit RecordingPrompter(QString path) : Path(std::move(path)) {}
    zevo::PromptAnswer ConfirmYesNoCancel(QWidget* parent, const QString& text) override {
        return Real.ConfirmYesNoCancel(parent, text);
    }
    zevo::PromptAnswer ConfirmYesNo(QWidget* parent, const QString& text) override {
        return Real.ConfirmYesNo(parent, text);
    }
    void ShowMessage(QWidget*, const QString& text, const QString& details) override {
        std::fprintf(stderr, "soak_window: %s %s\n", qUtf8Printable(text), qUtf8Printable(details));
    }
    QString OpenFileName(QWidget* parent, const zevo::FileDialogSettings& settings) override {
        return Real.OpenFileName(parent, settings);
    }
    QString SaveFileName(QWidget*, const zevo::FileDialogSettings&) override { return Path; }
    std::optional<double> AskNumber(QWidget* parent, const QString& label, double value, int decimals) override {
        return Real.AskNumber(parent, label, value, decimals);
    }
    std::optional<zevo::PortPins> AssignPorts(QWidget* parent, const std::vector<zevo::PortDescription>& ports,
                                              const zevo::PortPins& pins, std::uint8_t language) override {
        return Real.AssignPorts(parent, ports, pins, language);
    }

private:
    zevo::QtPrompter Real;
    QString Path;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: soak_window RECORDING.csv\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    RecordingPrompter prompter(QString::fromLocal8Bit(argv[1]));
    zevo::StartOptions options;
    options.ConfigDir = zevo::ConfigDirectory();
    options.Prompts = &prompter;
    zevo::TFormHlav window(options);
    zevo::CloseOnTerminationSignals(&window);
    window.show();
    // As a person would, once the window is up: the chart, then the recording.
    QTimer::singleShot(500, &window, [&window] {
        window.findChild<QAction*>(QStringLiteral("MenuLiveChart"))->trigger();
        window.findChild<QAction*>(QStringLiteral("MenuStartRecording"))->trigger();
    });
    return QApplication::exec();
}
