// zevo: sets up and watches the ZEVO servo unit over a serial line.
#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/project_version.h"
#include "ui/close_on_signal.h"
#include "ui/config_files.h"
#include "ui/form_hlav.h"
#include "ui/prompter.h"

namespace {

const char* const Usage =
    "usage: zevo [CESKY | ENGLISH | DEUTSCH]\n"
    "  CESKY, ENGLISH, DEUTSCH  start in Czech, English or German (remembered)\n"
    "  --help                   show this text\n"
    "  --version                print the release\n"
    "environment:\n"
    "  ZEVO_CONFIG_DIR  folder of the settings files (default: the per-user config folder)\n";

// Without a display Qt would abort with a long message; one line says what is wrong.
bool HasDisplay() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
#else
    return true;
#endif
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("zevo %s\n", zevo::ProjectVersion);
            return 0;
        }
    }
    if (!HasDisplay()) {
        std::fputs(
            "zevo: no display (DISPLAY and WAYLAND_DISPLAY are not set); start it in a desktop session "
            "or under xvfb-run\n",
            stderr);
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEVO"));
    QApplication::setApplicationDisplayName(QStringLiteral("ZEVO"));
    // Ties the window to its desktop entry (and the AppStream id), on Wayland too.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.zevo"));

    zevo::QtPrompter prompter;
    zevo::StartOptions options;
    options.Arguments = QApplication::arguments().mid(1);
    options.ConfigDir = zevo::ConfigDirectory();
    options.Prompts = &prompter;

    zevo::TFormHlav window(options);
    zevo::CloseOnTerminationSignals(&window);
    window.show();
    return QApplication::exec();
}
