#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/qt_serial_line.h"
#include "sim_process.h"
#include "frame_check.h"

namespace zevo {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::PollUntil;
using test::SimProcess;

constexpr int Com = 3;

using test::ValidFrame;

int Word(const Bytes& f, int offset) {
    return f[static_cast<std::size_t>(offset)] | (f[static_cast<std::size_t>(offset) + 1] << 8);
}

Bytes PagePayload(std::uint8_t seed) {
    Bytes p(FramePayloadSize);
    for (std::size_t i = 0; i < p.size(); ++i)
        p[i] = static_cast<std::uint8_t>(seed + i);
    return p;
}

// Sends a frame, then collects what arrives until a whole frame is there or timeoutMs passes.
Bytes Exchange(QtSerialLine& line, const Frame& frame, int timeoutMs = 1000) {
    line.WriteFrame(frame);
    PollUntil([&] { return line.BytesWaiting() >= FrameSize; }, timeoutMs);
    Bytes reply(FrameSize);
    reply.resize(static_cast<std::size_t>(std::max(0, line.Read(reply))));
    return reply;
}

QtSerialLine LineTo(const SimProcess& sim) { return QtSerialLine({{Com, sim.LinkPath().toStdString()}}); }

TEST(UnitOnLine, StatusThenUnpluggedThenBackOnTheSameLink) {
    SimProcess sim;
    ASSERT_TRUE(sim.Start()) << sim.Diagnostics().toStdString();
    QtSerialLine line = LineTo(sim);
    std::string error;
    ASSERT_TRUE(line.Open(Com, &error)) << error;

    const Bytes status = Exchange(line, MakeFrame(StatusRequestCode));
    ASSERT_TRUE(ValidFrame(status));
    EXPECT_EQ(status[0], StatusFrameCode);

    // The cable is pulled: the line reports itself gone instead of hanging or crashing.
    sim.Kill();
    line.WriteFrame(MakeFrame(StatusRequestCode));
    EXPECT_TRUE(PollUntil([&] { return line.BytesWaiting() == -1; }, 2000));
    EXPECT_FALSE(line.IsOpen());
    line.Open(Com, &error); // the link is stale now; whatever the answer, nothing breaks

    // A unit again on the same link path: the same COM number opens and answers.
    ASSERT_TRUE(sim.Start()) << sim.Diagnostics().toStdString();
    ASSERT_TRUE(PollUntil([&] { return line.Open(Com, &error); }, 2000)) << error;
    EXPECT_TRUE(ValidFrame(Exchange(line, MakeFrame(StatusRequestCode))));
}

TEST(UnitOnLine, SimulatorOptionsReachTheWire) {
    const Frame request = MakeFrame(StatusRequestCode);
    const struct Case {
        const char* what;
        QStringList options;
        std::function<void(QtSerialLine&)> check;
    } cases[] = {
        {"unit of another version",
         {"--version", "55"},
         [&](QtSerialLine& line) {
             EXPECT_EQ(Exchange(line, request)[50], 55);
             EXPECT_EQ(Exchange(line, MakeFrame(0x40))[1 + 10], 55);
         }},
        {"silent unit", {"--silent"}, [&](QtSerialLine& line) { EXPECT_TRUE(Exchange(line, request, 300).empty()); }},
        {"every reply dropped",
         {"--drop", "100"},
         [&](QtSerialLine& line) { EXPECT_TRUE(Exchange(line, request, 300).empty()); }},
        {"every reply corrupted",
         {"--corrupt", "100"},
         [&](QtSerialLine& line) {
             const Bytes reply = Exchange(line, request);
             EXPECT_EQ(reply.size(), static_cast<std::size_t>(FrameSize));
             EXPECT_FALSE(ValidFrame(reply));
         }},
        {"every reply cut short",
         {"--truncate", "100"},
         [&](QtSerialLine& line) {
             line.WriteFrame(request);
             EXPECT_TRUE(PollUntil([&] { return line.BytesWaiting() > 0; }, 1000));
             EXPECT_FALSE(PollUntil([&] { return line.BytesWaiting() >= FrameSize; }, 200));
         }},
        {"every reply late",
         {"--delay", "100", "--delay-ms", "400"},
         [&](QtSerialLine& line) {
             line.WriteFrame(request);
             EXPECT_FALSE(PollUntil([&] { return line.BytesWaiting() > 0; }, 250));
             EXPECT_TRUE(PollUntil([&] { return line.BytesWaiting() >= FrameSize; }, 2000));
         }},
        {"page 2 refuses writes",
         {"--refuse-page", "2"},
         [&](QtSerialLine& line) {
             const Bytes payload = PagePayload(90);
             const Bytes echo2 = Exchange(line, MakeFrame(0x02, payload));
             ASSERT_TRUE(ValidFrame(echo2));
             EXPECT_NE(Bytes(echo2.begin() + 1, echo2.end() - 1), payload);
             const Bytes echo3 = Exchange(line, MakeFrame(0x03, payload));
             ASSERT_TRUE(ValidFrame(echo3));
             EXPECT_EQ(Bytes(echo3.begin() + 1, echo3.end() - 1), payload);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimProcess sim;
        ASSERT_TRUE(sim.Start(c.options)) << sim.Diagnostics().toStdString();
        QtSerialLine line = LineTo(sim);
        std::string error;
        ASSERT_TRUE(line.Open(Com, &error)) << error;
        c.check(line);
    }
}

TEST(UnitOnLine, ProgrammingIsStoredInRealTimeAndCounted) {
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--counter", "12"})) << sim.Diagnostics().toStdString();
    QtSerialLine line = LineTo(sim);
    std::string error;
    ASSERT_TRUE(line.Open(Com, &error)) << error;

    for (std::uint8_t k = 1; k <= 7; ++k)
        ASSERT_TRUE(ValidFrame(Exchange(line, MakeFrame(k, PagePayload(k)))));
    const Bytes storing = Exchange(line, MakeFrame(StatusRequestCode));
    ASSERT_TRUE(ValidFrame(storing));
    EXPECT_GT(Word(storing, 47), 600);
    EXPECT_LE(Word(storing, 47), 800);
    EXPECT_EQ(Word(storing, 15), 12);

    Bytes done;
    EXPECT_TRUE(PollUntil(
        [&] {
            done = Exchange(line, MakeFrame(StatusRequestCode));
            return ValidFrame(done) && Word(done, 47) == 0;
        },
        6000));
    EXPECT_EQ(Word(done, 15), 13);
}

TEST(UnitOnLine, TermEndsTheSimulatorAndRemovesItsLink) {
    SimProcess sim;
    ASSERT_TRUE(sim.Start()) << sim.Diagnostics().toStdString();
    EXPECT_EQ(QFileInfo(sim.LinkPath()).symLinkTarget(), sim.DevicePath());
    sim.Stop();
    EXPECT_EQ(sim.ExitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.ExitCode(), 0);
    EXPECT_FALSE(QFileInfo(sim.LinkPath()).isSymLink());
}

TEST(UnitOnLine, SimulatorCommandLine) {
    auto run = [](const QStringList& args, QByteArray* out = nullptr) {
        QProcess p;
        p.start(QStringLiteral(ZEVO_UNIT_SIM_PATH), args);
        p.waitForFinished(5000);
        if (out != nullptr)
            *out = p.readAllStandardOutput();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };
    QByteArray help;
    EXPECT_EQ(run({"--help"}, &help), 0);
    for (const char* option : {"--link", "--version", "--counter", "--seed", "--drop", "--corrupt", "--truncate",
                               "--delay", "--delay-ms", "--refuse-page", "--silent", "--unplug-after",
                               "--replug-after", "--help"})
        EXPECT_TRUE(help.contains(option)) << option;

    const QStringList refused[] = {
        {"--frobnicate"},     {"--drop", "101"},        {"--drop", "-1"},         {"--drop", "ten"},
        {"--refuse-page", "0"}, {"--refuse-page", "8"}, {"--version", "256"},     {"--seed", "-1"},
        {"--link"},           {"--unplug-after", "x"},  {"--drop", "60", "--corrupt", "50"},
    };
    for (const QStringList& args : refused)
        EXPECT_EQ(run(args), 2) << args.join(' ').toStdString();
}

} // namespace
} // namespace zevo
