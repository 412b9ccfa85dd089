#include "link/qt_serial_line.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <termios.h>
#endif

#include <memory>
#include <string>
#include <vector>

#include "frame_check.h"
#include "params/device_image.h"
#include "sim_process.h"

namespace zevo {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::PollUntil;
using test::SimProcess;

constexpr int Com = 3; // the number the simulated unit is pinned to

using test::ValidFrame;

Bytes PagePayload(std::uint8_t seed) {
    Bytes p(FramePayloadSize);
    for (std::size_t i = 0; i < p.size(); ++i)
        p[i] = static_cast<std::uint8_t>(seed ^ (7 * i));
    return p;
}

class SerialLineTest : public testing::Test {
protected:
    void StartUnit(const QStringList& options = {}) {
        ASSERT_TRUE(Sim.Start(options)) << Sim.Diagnostics().toStdString();
        Line = std::make_unique<QtSerialLine>(PortPins{{Com, Sim.LinkPath().toStdString()}});
    }

    void OpenLine() {
        std::string error;
        ASSERT_TRUE(Line->Open(Com, &error)) << error;
        ASSERT_TRUE(Line->IsOpen());
    }

    // Sends a frame and takes the 52-byte answer, or what arrived by the deadline.
    Bytes Exchange(const Frame& frame, int timeoutMs = 1000) {
        Line->WriteFrame(frame);
        PollUntil([&] { return Line->BytesWaiting() >= FrameSize; }, timeoutMs);
        Bytes reply(FrameSize);
        reply.resize(static_cast<std::size_t>(Line->Read(reply)));
        return reply;
    }

    SimProcess Sim;
    std::unique_ptr<QtSerialLine> Line;
};

TEST_F(SerialLineTest, StatusAnsweredWithoutAnEventLoop) {
    StartUnit();
    EXPECT_EQ(Line->PortName(Com), "unit");
    EXPECT_EQ(Line->DevicePath(Com), Sim.LinkPath().toStdString());
    OpenLine();
    // Nothing here runs Qt's event loop: the bytes must come through BytesWaiting() alone.
    const Bytes reply = Exchange(MakeFrame(StatusRequestCode));
    ASSERT_TRUE(ValidFrame(reply));
    EXPECT_EQ(reply[0], StatusFrameCode);
    EXPECT_EQ(reply[50], PcProgramVersion);
}

TEST_F(SerialLineTest, ReadTakesOnlyWhatIsWaitingAndNeverWaits) {
    StartUnit();
    OpenLine();
    for (std::uint8_t code : {StatusRequestCode, std::uint8_t{0x41}, std::uint8_t{0x47}})
        Line->WriteFrame(MakeFrame(code));
    ASSERT_TRUE(PollUntil([&] { return Line->BytesWaiting() >= 3 * FrameSize; }, 2000));
    EXPECT_EQ(Line->BytesWaiting(), 3 * FrameSize);

    Bytes first(100);
    Bytes rest(100);
    ASSERT_EQ(Line->Read(first), 100);
    ASSERT_EQ(Line->Read(rest), 3 * FrameSize - 100);
    first.insert(first.end(), rest.begin(), rest.begin() + (3 * FrameSize - 100));
    EXPECT_EQ(first[0], 0xB0);
    EXPECT_EQ(first[FrameSize], 0xC1);
    EXPECT_EQ(first[2 * FrameSize], 0xC7);

    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(Line->BytesWaiting(), 0);
    EXPECT_EQ(Line->Read(rest), 0);
    EXPECT_LT(timer.elapsed(), 50) << "an empty line answers at once";
}

TEST_F(SerialLineTest, PageWrittenThenReadBack) {
    StartUnit();
    OpenLine();
    const Bytes payload = PagePayload(0x5A);
    const Bytes echo = Exchange(MakeFrame(0x03, payload));
    ASSERT_TRUE(ValidFrame(echo));
    EXPECT_EQ(echo[0], 0x83);
    EXPECT_EQ(Bytes(echo.begin() + 1, echo.end() - 1), payload);
    const Bytes read = Exchange(MakeFrame(0x43));
    ASSERT_TRUE(ValidFrame(read));
    EXPECT_EQ(Bytes(read.begin() + 1, read.end() - 1), payload);
}

TEST_F(SerialLineTest, ClosingAndReopeningKeepsTheUnitServing) {
    StartUnit();
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        OpenLine();
        EXPECT_TRUE(ValidFrame(Exchange(MakeFrame(StatusRequestCode))));
        Line->Close();
        Line->Close(); // twice does no harm
        EXPECT_FALSE(Line->IsOpen());
        EXPECT_EQ(Line->BytesWaiting(), -1);
    }
    EXPECT_TRUE(Sim.IsRunning()) << Sim.Diagnostics().toStdString();
}

TEST_F(SerialLineTest, UnpluggedUnitIsReportedAndComesBack) {
    StartUnit({"--unplug-after", "500", "--replug-after", "300"});
    OpenLine();
    EXPECT_TRUE(ValidFrame(Exchange(MakeFrame(StatusRequestCode))));
    ASSERT_TRUE(PollUntil([&] { return Line->BytesWaiting() == -1; }, 3000)) << "the line never went away";
    EXPECT_FALSE(Line->IsOpen());
    Line->WriteFrame(MakeFrame(StatusRequestCode)); // on a line that is gone: nothing happens
    EXPECT_EQ(Line->Read(std::span<std::uint8_t>()), 0);

    std::string error;
    ASSERT_TRUE(PollUntil([&] { return Line->Open(Com, &error); }, 3000)) << error;
    EXPECT_TRUE(ValidFrame(Exchange(MakeFrame(StatusRequestCode))));
    EXPECT_FALSE(Sim.NextLine(1000).isEmpty()) << "the new device is announced";
}

TEST(SerialLineOpen, FailuresLeaveTheLineClosedWithAReason) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString plainFile = dir.filePath("not-a-terminal");
    {
        QFile f(plainFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const struct {
        const char* what;
        PortPins pins;
        int number;
    } cases[] = {
        {"a pinned device that does not exist", {{Com, dir.filePath("missing").toStdString()}}, Com},
        {"a pinned file that is no terminal", {{Com, plainFile.toStdString()}}, Com},
        {"no number 0", {}, 0},
        {"no number 22", {}, 22},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QtSerialLine line(c.pins);
        std::string error;
        EXPECT_FALSE(line.Open(c.number, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(line.IsOpen());
        EXPECT_EQ(line.BytesWaiting(), -1);
        Bytes buffer(FrameSize);
        EXPECT_EQ(line.Read(buffer), 0);
        line.WriteFrame(MakeFrame(StatusRequestCode));
        line.Close();
    }
}

TEST(SerialLineOpen, NumbersWithoutADeviceKeepTheirComName) {
    QtSerialLine line;
    for (int n : {0, 21, 22}) {
        if (line.DevicePath(n).empty()) {
            EXPECT_EQ(line.PortName(n), "COM" + std::to_string(n));
        }
    }
}

TEST(SerialLineOpen, PermissionDeniedNamesTheDialoutGroup) {
#ifndef Q_OS_LINUX
    GTEST_SKIP() << "the hint is for Linux";
#else
    // A pseudo-terminal the user may not open stands in for a port of the group dialout.
    SimProcess sim;
    ASSERT_TRUE(sim.Start()) << sim.Diagnostics().toStdString();
    QFile device(sim.DevicePath());
    const QFileDevice::Permissions before = device.permissions();
    ASSERT_TRUE(device.setPermissions(QFileDevice::Permissions()));
    const bool accessible = QFileInfo(sim.DevicePath()).isReadable();
    QtSerialLine line({{Com, sim.DevicePath().toStdString()}});
    std::string error;
    const bool opened = line.Open(Com, &error);
    device.setPermissions(before);
    if (accessible)
        GTEST_SKIP() << "running with rights that open any device";
    EXPECT_FALSE(opened);
    EXPECT_NE(error.find("dialout"), std::string::npos) << error;
#endif
}

// The line settings as the terminal holds them after the tool opened it: 57600 baud, 8 data bits, no
// parity, 1 stop bit, no flow control, raw (no line editing, echo, signals or output processing).
TEST(SerialLineOpen, SetsTheUnitsLineSettingsOnTheDevice) {
#ifndef Q_OS_UNIX
    GTEST_SKIP() << "read back through termios";
#else
    SimProcess sim;
    ASSERT_TRUE(sim.Start()) << sim.Diagnostics().toStdString();
    QtSerialLine line({{Com, sim.DevicePath().toStdString()}});
    std::string error;
    ASSERT_TRUE(line.Open(Com, &error)) << error;
    termios t{};
    ASSERT_EQ(::tcgetattr(static_cast<int>(line.NativeHandle()), &t), 0);
    EXPECT_EQ(::cfgetispeed(&t), static_cast<speed_t>(B57600));
    EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B57600));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & PARENB, 0u) << "no parity";
    EXPECT_EQ(t.c_cflag & CSTOPB, 0u) << "one stop bit";
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u) << "no hardware flow control";
    EXPECT_NE(t.c_cflag & CREAD, 0u) << "the receiver on";
    EXPECT_NE(t.c_cflag & CLOCAL, 0u) << "modem lines ignored";
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY), 0u) << "no software flow control";
    EXPECT_EQ(t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP), 0u) << "bytes taken as they come";
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u) << "raw mode";
    EXPECT_EQ(t.c_oflag & OPOST, 0u) << "no output processing";
#endif
}

// The simulator refuses nonsense in its line and engine options with a word and exit code 2.
TEST(SimulatorOptions, NonsenseIsRefusedWithAMessage) {
    const struct {
        QStringList Args;
        const char* Said;
    } cases[] = {
        {{QStringLiteral("--baud"), QStringLiteral("0")}, "--baud"},
        {{QStringLiteral("--baud"), QStringLiteral("fast")}, "--baud"},
        {{QStringLiteral("--latency-ms"), QStringLiteral("-1")}, "--latency-ms"},
        {{QStringLiteral("--latency-ms"), QStringLiteral("16")}, "needs --baud"},
        {{QStringLiteral("--rpm"), QStringLiteral("99999")}, "--rpm"},
        {{QStringLiteral("--tp"), QStringLiteral("101")}, "--tp"},
    };
    for (const auto& c : cases) {
        QProcess sim;
        sim.start(QStringLiteral(ZEVO_UNIT_SIM_PATH), c.Args);
        ASSERT_TRUE(sim.waitForFinished(5000)) << c.Args.join(' ').toStdString();
        EXPECT_EQ(sim.exitCode(), 2) << c.Args.join(' ').toStdString();
        const QString said = QString::fromLocal8Bit(sim.readAllStandardError());
        EXPECT_TRUE(said.contains(QString::fromLatin1(c.Said))) << said.toStdString();
    }
}

// A port another program holds is said to be in use; no word about dialout, which would not help.
TEST(SerialLineOpen, APortInUseIsToldFromAPortNotPermitted) {
#ifndef Q_OS_UNIX
    GTEST_SKIP() << "lock files are a Unix matter";
#else
    SimProcess sim;
    ASSERT_TRUE(sim.Start()) << sim.Diagnostics().toStdString();
    QtSerialLine holder({{Com, sim.DevicePath().toStdString()}});
    std::string error;
    ASSERT_TRUE(holder.Open(Com, &error)) << error;
    QtSerialLine second({{Com, sim.DevicePath().toStdString()}});
    EXPECT_FALSE(second.Open(Com, &error));
    EXPECT_NE(error.find("in use by another program"), std::string::npos) << error;
    EXPECT_EQ(error.find("dialout"), std::string::npos) << error;
    EXPECT_EQ(error.find("ermission"), std::string::npos) << "no word that sends the user to the rights" << error;
    holder.Close();
    EXPECT_TRUE(second.Open(Com, &error)) << "free again: " << error;
#endif
}

} // namespace
} // namespace zevo
