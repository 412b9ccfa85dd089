// zevo-cli as its users run it: the executable against zevo-unit-sim on a pseudo-terminal, with
// the exit codes, the files it leaves (or does not leave) and what the unit holds afterwards.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <sstream>
#include <string>

#include "files/ign_format.h"
#include "files/ign_load.h"
#include "files/restore_store.h"
#include "files/set_difference.h"
#include "link_rig.h"
#include "log/log_reader.h"

#ifndef ZEVO_CLI_PATH
#error "ZEVO_CLI_PATH must name the zevo-cli executable"
#endif

namespace zevo {
namespace {

using test::ChangedSet;
using test::SimProcess;

struct CliRun {
    int Exit = -1;
    QString Out;
    QString Err;
};

// Starts zevo-cli; Finish() waits for it. A test that must act while it runs (Ctrl+C) uses both.
class Cli {
public:
    explicit Cli(const QStringList& args, const QString& configDir = {}, const QString& workDir = {}) {
        if (!workDir.isEmpty())
            Process.setWorkingDirectory(workDir);
        if (!configDir.isEmpty()) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("ZEVO_CONFIG_DIR"), configDir);
            Process.setProcessEnvironment(env);
        }
        Process.setProgram(QStringLiteral(ZEVO_CLI_PATH));
        Process.setArguments(args);
        Process.start();
        Process.waitForStarted(5000);
    }
    CliRun Finish(int timeoutMs = 60000) {
        CliRun r;
        if (!Process.waitForFinished(timeoutMs)) {
            Process.kill();
            Process.waitForFinished(3000);
            r.Err = QStringLiteral("(timed out) ");
        }
        r.Exit = Process.exitStatus() == QProcess::NormalExit ? Process.exitCode() : -1;
        r.Out = QString::fromUtf8(Process.readAllStandardOutput());
        r.Err += QString::fromUtf8(Process.readAllStandardError());
        return r;
    }
    QProcess Process;
};

CliRun RunCli(const QStringList& args, const QString& configDir = {}) {
    return Cli(args, configDir).Finish();
}

std::string Describe(const CliRun& r) {
    return "exit " + std::to_string(r.Exit) + "\nstdout: " + r.Out.toStdString() +
           "\nstderr: " + r.Err.toStdString();
}

QByteArray IgnOf(const DeviceImage& image) {
    std::ostringstream out(std::ios::binary);
    WriteIgnFile(out, image);
    return QByteArray::fromStdString(out.str());
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class CliOnLine : public ::testing::Test {
protected:
    QString Path(const char* name) const { return Dir.filePath(QString::fromLatin1(name)); }
    QStringList Port() const { return {QStringLiteral("--port"), Sim.LinkPath()}; }
    QStringList With(const QString& command, QStringList rest) const {
        return QStringList{command} + Port() + rest;
    }

    QTemporaryDir Dir;
    SimProcess Sim;
};

// The whole round: a set programmed, verified, one cell changed and found, read back the same as the
// file normalised.
TEST_F(CliOnLine, ProgramVerifyFindTheChangedCellAndReadBack) {
    ASSERT_TRUE(Sim.Start()) << Sim.Diagnostics().toStdString();
    const DeviceImage set = ChangedSet(3);
    ASSERT_TRUE(WriteBytes(Path("set.ign"), IgnOf(set)));

    const CliRun programmed = RunCli(With("program", {Path("set.ign")}));
    ASSERT_EQ(programmed.Exit, 0) << Describe(programmed);
    const CliRun same = RunCli(With("verify", {Path("set.ign")}));
    EXPECT_EQ(same.Exit, 0) << Describe(same);
    EXPECT_EQ(same.Out, QStringLiteral("0 differences\n"));

    DeviceImage changed = set;
    changed.MapCell(1, 4, 6) = static_cast<std::uint8_t>(set.MapCell(1, 4, 6) + 1);
    ASSERT_TRUE(WriteBytes(Path("changed.ign"), IgnOf(changed)));
    const CliRun differs = RunCli(With("verify", {Path("changed.ign")}));
    EXPECT_EQ(differs.Exit, 1) << Describe(differs);
    const QString cell = QStringLiteral("servo 2 map, TP 20%, %1 RPM: file %2 mV, unit %3 mV\n1 difference\n")
                             .arg(100 * set.RpmAxis(1, 6))
                             .arg(20 * changed.MapCell(1, 4, 6))
                             .arg(20 * set.MapCell(1, 4, 6));
    EXPECT_EQ(differs.Out, cell);

    const CliRun read = RunCli(With("read", {Path("back.ign"), QStringLiteral("--image"), Path("back.img")}));
    ASSERT_EQ(read.Exit, 0) << Describe(read);
    const CliRun normal = RunCli({QStringLiteral("ign-normalize"), Path("set.ign")});
    ASSERT_EQ(normal.Exit, 0) << Describe(normal);
    EXPECT_EQ(ReadBytes(Path("back.ign")), normal.Out.toLatin1());
    // The image file: the unit's whole memory, identification page included, and the two flags.
    const QStringList numbers = QString::fromLatin1(ReadBytes(Path("back.img")))
                                    .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    ASSERT_EQ(numbers.size(), ImageSize + 2);
    EXPECT_EQ(numbers[idpage::Version].toInt(), PcProgramVersion);
    EXPECT_EQ(numbers[BlockOffset + block::ServoMap + MapCells + 4 * MapColumns + 6].toInt(),
              set.MapCell(1, 4, 6));
}

// Program keeps what the unit held before the file went in, and the set it wrote; read keeps what
// it read. The window lists the same folder.
TEST_F(CliOnLine, ProgramAndReadKeepRestorePoints) {
    ASSERT_TRUE(Sim.Start()) << Sim.Diagnostics().toStdString();
    const QString config = Path("config");
    const CliRun before = RunCli(With("read", {Path("before.ign")}), config);
    ASSERT_EQ(before.Exit, 0) << Describe(before);
    const DeviceImage set = ChangedSet(5);
    ASSERT_TRUE(WriteBytes(Path("set.ign"), IgnOf(set)));
    const CliRun programmed = RunCli(With("program", {Path("set.ign")}), config);
    ASSERT_EQ(programmed.Exit, 0) << Describe(programmed);

    const std::vector<RestoreStore::Entry> entries = RestoreStore(RestoreFolder(config)).List();
    // Newest first: programmed, then the unit's set read before it (the same as the first read's,
    // so kept once).
    ASSERT_EQ(entries.size(), 2u);
    ASSERT_TRUE(entries[0].Info && entries[1].Info);
    EXPECT_EQ(entries[0].Info->Event, RestoreEvent::Programmed);
    EXPECT_EQ(entries[0].Info->FileName, Path("set.ign").toStdString());
    EXPECT_TRUE(SameParameters(entries[0].Info->Image, [&] {
        DeviceImage expected = entries[1].Info->Image;
        std::istringstream in(IgnOf(set).toStdString());
        ReadIgnFile(in, expected);
        return expected;
    }()));
    EXPECT_EQ(entries[1].Info->Event, RestoreEvent::Read);
    EXPECT_EQ(entries[1].Info->Image.Bytes[idpage::Version], PcProgramVersion) << "the whole memory, page 0 too";
    EXPECT_FALSE(entries[1].Info->UnitName.empty());
    ASSERT_TRUE(entries[1].Info->ProgrammingCount) << "the unit's counter as its status frames said";
    EXPECT_EQ(entries[0].Info->ProgrammingCount, *entries[1].Info->ProgrammingCount + 1)
        << "the counter the unit reports once it has stored this programming";
    EXPECT_TRUE(QFile::exists(RestoreFolder(config) + QLatin1Char('/') + entries[0].Stem + QStringLiteral(".ign")));
}

TEST_F(CliOnLine, AUnitOfAnotherVersionIsRefusedAndReceivesNoProgramFrame) {
    ASSERT_TRUE(Sim.Start({QStringLiteral("--version"), QStringLiteral("55")}))
        << Sim.Diagnostics().toStdString();
    const std::optional<DeviceImage> before = test::ReadUnitDirectly(Sim);
    ASSERT_TRUE(before);
    ASSERT_TRUE(WriteBytes(Path("set.ign"), IgnOf(ChangedSet(5))));

    const CliRun refused = RunCli(With("program", {Path("set.ign")}));
    EXPECT_EQ(refused.Exit, 5) << Describe(refused);
    EXPECT_TRUE(refused.Err.contains(QStringLiteral("version 55"))) << Describe(refused);

    const std::optional<DeviceImage> after = test::ReadUnitDirectly(Sim);
    ASSERT_TRUE(after);
    EXPECT_EQ(test::FirstDifferentPage(*before, *after), std::nullopt) << "a page was written";
    const CliRun status =
        RunCli(With("status", {QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--csv")}));
    ASSERT_EQ(status.Exit, 0) << Describe(status);
    const LogData log = ReadLog(status.Out.toStdString());
    ASSERT_EQ(log.Rows.size(), 1u) << status.Out.toStdString();
    EXPECT_EQ(log.Rows[0].ProgrammingCount, 0) << "programming counter moved";
    EXPECT_EQ(log.Rows[0].Version, 55);
}

// The rows are the recording's log format: the log reader takes every one of them.
TEST_F(CliOnLine, StatusCsvPrintsAHeaderAndOneRowPerFrame) {
    ASSERT_TRUE(Sim.Start()) << Sim.Diagnostics().toStdString();
    const CliRun r =
        RunCli(With("status", {QStringLiteral("--csv"), QStringLiteral("--count"), QStringLiteral("5")}));
    ASSERT_EQ(r.Exit, 0) << Describe(r);
    const QStringList lines = r.Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6) << r.Out.toStdString();
    EXPECT_EQ(lines[0].toStdString(), LogHeader());
    const LogData log = ReadLog(r.Out.toStdString());
    EXPECT_TRUE(log.HeaderFound);
    EXPECT_EQ(log.BadRows, 0) << "first bad line " << log.FirstBadLine << ": " << r.Out.toStdString();
    ASSERT_EQ(log.Rows.size(), 5u);
    EXPECT_EQ(log.Rows[0].ElapsedMs, 0);
    for (const LogRow& row : log.Rows) {
        EXPECT_NEAR(row.SupplyMv, 13800, 60);
        EXPECT_EQ(row.Version, 56);
        EXPECT_NEAR(static_cast<double>(row.TimeMs), static_cast<double>(QDateTime::currentMSecsSinceEpoch()),
                    60'000.0);
    }
    // About three frames a second: four gaps of about a third of a second each.
    EXPECT_GT(log.Rows.back().ElapsedMs, 600);
}

// A held engine for practice: the status frames show it still, and keys on the simulator's standard
// input move it.
TEST_F(CliOnLine, AHeldEngineStaysWhereItIsAndKeysMoveIt) {
    ASSERT_TRUE(Sim.Start(
        {QStringLiteral("--rpm"), QStringLiteral("4500"), QStringLiteral("--tp"), QStringLiteral("30")}))
        << Sim.Diagnostics().toStdString();
    auto points = [this](int frames) {
        const CliRun r = RunCli(
            With("status", {QStringLiteral("--csv"), QStringLiteral("--count"), QString::number(frames)}));
        EXPECT_EQ(r.Exit, 0) << Describe(r);
        QStringList seen;
        for (const LogRow& row : ReadLog(r.Out.toStdString()).Rows)
            seen << QStringLiteral("%1/%2").arg(row.Rpm).arg(row.TpPercent);
        return seen;
    };
    EXPECT_EQ(points(4), QStringList(4, QStringLiteral("4500/30")));
    Sim.Type("++>\n");
    QThread::msleep(300);
    EXPECT_EQ(points(2), QStringList(2, QStringLiteral("4700/31")));
}

// Every exit code the help documents, each from a cause a user meets.
TEST_F(CliOnLine, ExitCodesForFailuresLeaveNoFileBehind) {
    ASSERT_TRUE(WriteBytes(Path("v55.ign"), QByteArrayLiteral("VORTALEX_KEY 55\r\nTPS 500 4000\r\n")));
    ASSERT_TRUE(WriteBytes(Path("good.ign"), IgnOf(ChangedSet(2))));
    ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("folder")));
    const QString nowhere = Path("missing-folder/out.ign");
    struct Case {
        const char* Name;
        QStringList Args;
        int Exit;
        const char* Says;
    };
    const Case offline[] = {
        {"unknown option",
         {QStringLiteral("read"), QStringLiteral("--fast"), Path("x.ign")},
         2,
         "unknown option"},
        {"missing file", {QStringLiteral("ign-normalize"), Path("none.ign")}, 2, "no such file"},
        {"directory as file", {QStringLiteral("verify"), Path("folder")}, 2, "is a directory"},
        {"another format version",
         {QStringLiteral("ign-normalize"), Path("v55.ign")},
         3,
         "format version 56"},
        {"program refuses the file before the port",
         {QStringLiteral("program"), QStringLiteral("--port"), Path("no-such-device"), Path("v55.ign")},
         3,
         "format version"},
        {"no port",
         {QStringLiteral("status"), QStringLiteral("--port"), Path("no-such-device")},
         4,
         "no-such-device"},
    };
    for (const Case& c : offline) {
        const CliRun r = RunCli(c.Args);
        EXPECT_EQ(r.Exit, c.Exit) << c.Name << "\n" << Describe(r);
        EXPECT_TRUE(r.Err.contains(QLatin1String(c.Says))) << c.Name << "\n" << Describe(r);
        EXPECT_EQ(r.Err.count(QLatin1Char('\n')), 1) << c.Name << ": one line\n" << Describe(r);
        EXPECT_TRUE(r.Out.isEmpty()) << c.Name;
    }

    ASSERT_TRUE(Sim.Start({QStringLiteral("--silent")})) << Sim.Diagnostics().toStdString();
    const CliRun silent = RunCli(With("read", {Path("silent.ign")}));
    EXPECT_EQ(silent.Exit, 4) << Describe(silent);
    EXPECT_FALSE(QFileInfo::exists(Path("silent.ign")));

    ASSERT_TRUE(Sim.Start()) << Sim.Diagnostics().toStdString();
    const CliRun unwritable = RunCli(With("read", {nowhere}));
    EXPECT_EQ(unwritable.Exit, 2) << Describe(unwritable);
    const CliRun intoFolder =
        RunCli(With("read", {Path("out.ign"), QStringLiteral("--image"), Path("folder")}));
    EXPECT_EQ(intoFolder.Exit, 2) << Describe(intoFolder);
    EXPECT_FALSE(QFileInfo::exists(Path("out.ign"))) << "nothing written when one output cannot be";

    // A page the unit will not take: Program fails after its retries.
    ASSERT_TRUE(Sim.Start({QStringLiteral("--refuse-page"), QStringLiteral("4")}))
        << Sim.Diagnostics().toStdString();
    const CliRun refusedPage = RunCli(With("program", {Path("good.ign")}));
    EXPECT_EQ(refusedPage.Exit, 1) << Describe(refusedPage);
    EXPECT_TRUE(refusedPage.Err.contains(QStringLiteral("Program error!"))) << Describe(refusedPage);
}

// COM numbers as the window counts them: a pin in the settings file's [PORTS] section names the port.
TEST_F(CliOnLine, ComNumbersFollowTheSettingsFilePins) {
    ASSERT_TRUE(Sim.Start()) << Sim.Diagnostics().toStdString();
    ASSERT_TRUE(WriteBytes(Path("ZEVO_v56.ini"), ("[PORTS]\nCOM7=" + Sim.LinkPath() + "\n").toUtf8()));
    const CliRun ports = RunCli({QStringLiteral("ports")}, Dir.path());
    ASSERT_EQ(ports.Exit, 0) << Describe(ports);
    EXPECT_TRUE(ports.Out.contains(QStringLiteral("COM7  ") + Sim.LinkPath() + QLatin1Char('\n')))
        << Describe(ports);
    const CliRun status = RunCli({QStringLiteral("status"), QStringLiteral("--port"), QStringLiteral("7"),
                                  QStringLiteral("--count"), QStringLiteral("1")},
                                 Dir.path());
    EXPECT_EQ(status.Exit, 0) << Describe(status);
    EXPECT_EQ(status.Out.count(QStringLiteral("version 56")), 1) << Describe(status);
    // A device path relative to the working directory.
    Cli relative({QStringLiteral("status"), QStringLiteral("--port"), QFileInfo(Sim.LinkPath()).fileName(),
                  QStringLiteral("--count"), QStringLiteral("1")},
                 {}, QFileInfo(Sim.LinkPath()).path());
    const CliRun byName = relative.Finish();
    EXPECT_EQ(byName.Exit, 0) << Describe(byName);
    // Without --port the automatic search walks the numbers until the unit answers.
    const CliRun searched =
        RunCli({QStringLiteral("status"), QStringLiteral("--count"), QStringLiteral("1")}, Dir.path());
    EXPECT_EQ(searched.Exit, 0) << Describe(searched);
    EXPECT_EQ(searched.Out.count(QStringLiteral("version 56")), 1) << Describe(searched);
}

// The unit vanishes half way, or the user presses Ctrl+C: exit 1 and no output file.
TEST_F(CliOnLine, ReadCutShortLeavesNoFile) {
    // Every reply late: the Read takes several seconds, time enough to pull the cable or interrupt.
    const QStringList slow = {QStringLiteral("--delay"), QStringLiteral("100"), QStringLiteral("--delay-ms"),
                              QStringLiteral("150")};
    ASSERT_TRUE(Sim.Start(slow)) << Sim.Diagnostics().toStdString();
    Cli interrupted(With("read", {Path("a.ign")}));
    QThread::msleep(1500);
    ::kill(static_cast<pid_t>(interrupted.Process.processId()), SIGINT);
    const CliRun r = interrupted.Finish();
    EXPECT_EQ(r.Exit, 1) << Describe(r);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("interrupted"))) << Describe(r);
    EXPECT_FALSE(QFileInfo::exists(Path("a.ign")));

    ASSERT_TRUE(Sim.Start(slow)) << Sim.Diagnostics().toStdString();
    Cli vanishing(With("read", {Path("b.ign")}));
    QThread::msleep(1500);
    Sim.Kill();
    const CliRun v = vanishing.Finish();
    EXPECT_EQ(v.Exit, 1) << Describe(v);
    EXPECT_TRUE(v.Err.contains(QStringLiteral("Read error!"))) << Describe(v);
    EXPECT_FALSE(QFileInfo::exists(Path("b.ign")));
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files).size(), 0) << "no temporary file left either";
}

// zevo-cli and the window read a file through one loader: for every row, ign-normalize gives the set
// the window's loader gives, or refuses what it refuses, with the same reason.
TEST_F(CliOnLine, ReadsEveryFileAsTheWindowDoes) {
    const QByteArray golden = IgnOf(ChangedSet(4));
    const qsizetype tps = golden.indexOf("TPS") + 14;
    QByteArray nul = golden;
    nul[tps] = '\0';
    QByteArray vt = golden;
    vt[golden.indexOf("NAP_SERVO2") + 16] = '\v';
    QByteArray utf16("\xFF\xFE", 2);
    for (const char c : golden)
        utf16.append(c).append('\0');
    QByteArray huge = golden;
    huge.append(QByteArray(16 * 1024 * 1024 + 1 - golden.size(), ' '));
    const std::pair<const char*, QByteArray> rows[] = {
        {"whole", golden},
        {"NUL in a number", nul},
        {"vertical tab in a map", vt},
        {"UTF-16", utf16},
        {"UTF-8 byte order mark", QByteArray("\xEF\xBB\xBF") + golden},
        {"DOS end mark", golden + "\x1A"},
        {"DOS end mark inside", golden.left(100) + "\x1A" + golden.mid(100)},
        {"16 MiB and a byte", huge},
        {"another version", QByteArray("VORTALEX_KEY 55\r\n") + golden.mid(20)},
    };
    for (const auto& [name, bytes] : rows) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(WriteBytes(Path("row.ign"), bytes));
        DeviceImage window;
        SetDefaults(window);
        const IgnLoad load = LoadIgnFile(Path("row.ign"), window, 1);
        const CliRun cli = RunCli({QStringLiteral("ign-normalize"), Path("row.ign")});
        switch (load.Result) {
        case IgnReadResult::Ok: {
            PortChoice ports;
            ValidateBlock(window, ports);
            EXPECT_EQ(cli.Exit, 0) << Describe(cli);
            EXPECT_EQ(cli.Out.toLatin1(), IgnOf(window));
            break;
        }
        case IgnReadResult::UnmatchedVersion:
            EXPECT_EQ(cli.Exit, 3) << Describe(cli);
            break;
        default:
            EXPECT_EQ(cli.Exit, 2) << Describe(cli);
            EXPECT_TRUE(cli.Err.contains(load.Reason)) << Describe(cli) << "\n" << load.Reason.toStdString();
            EXPECT_TRUE(cli.Out.isEmpty());
        }
    }
}

// On a terminal (a pseudo-terminal from script(1)) the bar of a Program ends on a line that stays,
// and the automatic search names each port as it tries it.
TEST_F(CliOnLine, OnATerminalTheLastLineStaysAndTheSearchNamesEachPort) {
    if (QStandardPaths::findExecutable(QStringLiteral("script")).isEmpty())
        GTEST_SKIP() << "script(1) is not installed";
    ASSERT_TRUE(Sim.Start()) << Sim.Diagnostics().toStdString();
    ASSERT_TRUE(WriteBytes(Path("set.ign"), IgnOf(ChangedSet(6))));
    ASSERT_TRUE(WriteBytes(Path("ZEVO_v56.ini"), ("[PORTS]\nCOM7=" + Sim.LinkPath() + "\n").toUtf8()));
    const auto onTerminal = [&](const QString& arguments) {
        QProcess script;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZEVO_CONFIG_DIR"), Dir.path());
        script.setProcessEnvironment(env);
        script.start(QStringLiteral("script"), {QStringLiteral("-qec"),
                                                QStringLiteral(ZEVO_CLI_PATH) + QLatin1Char(' ') + arguments,
                                                QStringLiteral("/dev/null")});
        EXPECT_TRUE(script.waitForFinished(60000));
        EXPECT_EQ(script.exitCode(), 0);
        return QString::fromUtf8(script.readAllStandardOutput());
    };
    const QString programmed = onTerminal(QStringLiteral("program --port 7 ") + Path("set.ign"));
    // What stays on the screen is what follows the last carriage return of each line.
    QStringList screen;
    for (const QString& line : programmed.split(QLatin1Char('\n')))
        screen << line.section(QLatin1Char('\r'), -2, -2).trimmed() + line.section(QLatin1Char('\r'), -1).trimmed();
    EXPECT_TRUE(screen.filter(QStringLiteral("Program device:")).filter(QStringLiteral("OK")).size() == 1)
        << programmed.toStdString();

    const QString searched = onTerminal(QStringLiteral("status --count 1"));
    EXPECT_TRUE(searched.contains(QStringLiteral("trying COM7 (") + Sim.LinkPath() + QLatin1Char(')')))
        << searched.toStdString();
}

} // namespace
} // namespace zevo
