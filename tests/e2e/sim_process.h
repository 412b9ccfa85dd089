#pragma once
// A simulated unit in a child process for tests that need a real serial device: zevo-unit-sim
// serves the unit on a pseudo-terminal and names the device on its first line of output.
//
//   SimProcess sim;
//   ASSERT_TRUE(sim.Start({"--version", "55"})) << sim.Diagnostics();
//   QtSerialLine line({{3, sim.LinkPath().toStdString()}}); // COM3 is the simulated unit
//   ...
//   sim.Kill();   // the cable is pulled
//   sim.Start();  // a unit again, on the same link path
//
// The link path lives in a private temporary directory and stays the same across restarts, so a
// pin in the tool's settings keeps working. The destructor stops the simulator.
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <signal.h> // the simulator is POSIX, and so are the tests that drive it

#include <algorithm>
#include <functional>

#ifndef ZEVO_UNIT_SIM_PATH
#error "ZEVO_UNIT_SIM_PATH must name the zevo-unit-sim executable"
#endif

namespace zevo::test {

// Polls condition every couple of milliseconds until it holds or timeoutMs has passed; returns
// whether it held. Tests wait with this instead of sleeping for a fixed time.
inline bool PollUntil(const std::function<bool()>& condition, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (condition())
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(2);
    }
}

class SimProcess {
public:
    SimProcess() : LinkName(LinkDir.filePath(QStringLiteral("unit"))) {}
    ~SimProcess() { Stop(); }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts the simulator with the given options (plus --link) and waits for the device path.
    // A running simulator is stopped first.
    bool Start(const QStringList& options = {}, int timeoutMs = 5000) {
        Stop();
        Device.clear();
        Errors.clear();
        Process.setProgram(QStringLiteral(ZEVO_UNIT_SIM_PATH));
        Process.setArguments(QStringList(options) << QStringLiteral("--link") << LinkName);
        Process.start();
        if (!Process.waitForStarted(timeoutMs)) {
            Errors = Process.errorString();
            return false;
        }
        Device = NextLine(timeoutMs);
        return !Device.isEmpty();
    }

    // The next device path the simulator prints (after a replug), or empty after timeoutMs.
    QString NextLine(int timeoutMs) {
        const QDeadlineTimer deadline(timeoutMs);
        while (!Process.canReadLine()) {
            if (Process.state() == QProcess::NotRunning || deadline.hasExpired())
                return {};
            Process.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
        }
        return QString::fromLocal8Bit(Process.readLine()).trimmed();
    }

    // Asks the simulator to end (SIGTERM), as a tidy shutdown; it removes its link.
    void Stop() {
        if (Process.state() == QProcess::NotRunning)
            return;
        Process.terminate();
        if (!Process.waitForFinished(3000)) {
            Process.kill();
            Process.waitForFinished(3000);
        }
        Collect();
    }

    // Ends the simulator at once (SIGKILL): the unit vanishes with no chance to tidy up, as when
    // the adapter is pulled out. The stale link stays until the next Start replaces it.
    // The cable is pulled: the simulator dies without tidying up. Its link is removed as the device
    // node of a pulled adapter disappears; left behind, it would point at a terminal number that the
    // next terminal opened on this machine (another test's simulator) may take over.
    void Kill() {
        if (Process.state() == QProcess::NotRunning)
            return;
        Process.kill();
        Process.waitForFinished(3000);
        Collect();
        if (!LinkName.isEmpty())
            QFile::remove(LinkName);
    }

    // The cable is pulled while the unit stays alive (SIGUSR1): the simulator closes its terminal
    // and removes the link, keeping the unit's memory. Returns once the link is gone.
    bool PullCable(int timeoutMs = 3000) {
        if (!IsRunning() || ::kill(static_cast<pid_t>(Process.processId()), SIGUSR1) != 0)
            return false;
        return PollUntil([&] { return !QFileInfo::exists(LinkName); }, timeoutMs);
    }
    // The cable goes back in (SIGUSR2): a new terminal, linked again at LinkPath(). Returns once the
    // simulator has named the new device.
    bool PlugBackIn(int timeoutMs = 3000) {
        if (!IsRunning() || ::kill(static_cast<pid_t>(Process.processId()), SIGUSR2) != 0)
            return false;
        Device = NextLine(timeoutMs);
        return !Device.isEmpty() && QFileInfo::exists(LinkName);
    }

    bool IsRunning() const { return Process.state() != QProcess::NotRunning; }
    int ExitCode() const { return Process.exitCode(); }
    QProcess::ExitStatus ExitStatus() const { return Process.exitStatus(); }
    // The pseudo-terminal device (/dev/pts/N) named on the first line.
    QString DevicePath() const { return Device; }
    // The stable path that links to the device.
    QString LinkPath() const { return LinkName; }
    // Keys for the simulator's standard input (they move a held engine).
    void Type(const QByteArray& keys) {
        Process.write(keys);
        Process.waitForBytesWritten(1000);
    }
    // What the simulator wrote to standard error, for failure messages.
    QString Diagnostics() {
        Collect();
        return Errors;
    }

private:
    void Collect() { Errors += QString::fromLocal8Bit(Process.readAllStandardError()); }

    QTemporaryDir LinkDir;
    QString LinkName;
    QProcess Process;
    QString Device;
    QString Errors;
};

} // namespace zevo::test
