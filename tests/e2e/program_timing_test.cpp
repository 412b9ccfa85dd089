// How long a Program takes over the line, from the click to the verify pass accepting page 7, in
// timer ticks and in milliseconds. scripts/measure-program runs this test alone and prints its
// figures.
//
// The ticks are fixed by the link's rules as long as every reply is back before the next tick: the
// first frame goes out once the tick counter, which carries on from the idle status cycle, reaches
// four (after one to four ticks), and then each of the fifteen frames (pages 0..7, then 1..7 again)
// is answered and followed by the next on the tick after it went out. A tick is the only time the
// tool looks at the line, so a reply that is back within a millisecond still waits for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "link_rig.h"

namespace zevo {
namespace {

using test::LinkRig;
using test::SimProcess;

constexpr int FramesInAProgram = 15; // pages 0..7 written, pages 1..7 read back

struct ProgramRun {
    int IdleCount = 0;                     // the tick counter when Program was chosen
    int FirstFrame = 0;                    // ticks until the first frame went out
    int Ticks = 0;                         // ticks until page 7 was verified
    qint64 Ms = 0;                         // the same in milliseconds
    bool AllInTime = true;                 // every reply was back before the tick after its frame
    qint64 ReplyMinMs = 0, ReplyMaxMs = 0; // from a frame leaving to its reply waiting
    qint64 WaitMinMs = 0, WaitMaxMs = 0;   // from a reply waiting to the tick that takes it
};

TEST(ProgramTiming, FromStartToTheVerifiedLastPage) {
    SimProcess sim;
    ASSERT_TRUE(sim.Start()) << sim.Diagnostics().toStdString();
    LinkRig rig(sim);
    rig.WatchArrivals = true;
    ASSERT_GT(rig.TickUntil([&] { return rig.Connected(); }, 20), 0);
    rig.Image = test::ChangedSet(3);

    std::vector<ProgramRun> runs;
    for (int attempt = 0; attempt < 4; ++attempt) {
        rig.TickFor(1 + attempt); // a different place in the six-tick status cycle each time
        ProgramRun run;
        run.IdleCount = rig.Engine.State().TickCount;
        const std::size_t written = rig.Line.Written.size();
        const int startTick = rig.TickNumber;
        const qint64 startMs = rig.Clock.elapsed();
        rig.Engine.StartProgram();
        ASSERT_GT(rig.TickUntil([&] { return rig.Idle(); }, 200), 0);
        const qint64 doneMs = rig.Clock.elapsed();
        ASSERT_EQ(rig.View.LastStatus(),
                  (testing::StatusLineShown{MsgId::MsgVerify, ": OK", LabelColour::Normal}));
        // A frame sent twice means a reply was later than four ticks: a stalled machine, reported below.
        run.AllInTime = rig.Line.Written.size() - written == static_cast<std::size_t>(FramesInAProgram);

        run.FirstFrame = rig.Line.Written[written].Tick - startTick;
        run.Ticks = rig.TickNumber - startTick;
        run.Ms = doneMs - startMs;
        std::vector<qint64> replies;
        std::vector<qint64> waits;
        for (std::size_t i = written; i < rig.Line.Written.size(); ++i) {
            const test::TappedLine::Sent& sent = rig.Line.Written[i];
            const auto next = static_cast<std::size_t>(sent.Tick); // TickTimes[n - 1] is tick n
            const qint64 nextTickAt = next < rig.TickTimes.size() ? rig.TickTimes[next] : doneMs;
            if (sent.ArrivedMs < 0 || sent.ArrivedMs >= nextTickAt) {
                run.AllInTime = false;
                continue;
            }
            replies.push_back(sent.ArrivedMs - sent.Ms);
            waits.push_back(nextTickAt - sent.ArrivedMs);
        }
        if (!replies.empty()) {
            run.ReplyMinMs = *std::min_element(replies.begin(), replies.end());
            run.ReplyMaxMs = *std::max_element(replies.begin(), replies.end());
            run.WaitMinMs = *std::min_element(waits.begin(), waits.end());
            run.WaitMaxMs = *std::max_element(waits.begin(), waits.end());
        }
        runs.push_back(run);

        std::printf("program run %d: tick counter %d at the start, first frame after %d tick(s), "
                    "%d ticks = %lld ms to page 7 verified; replies waiting %lld..%lld ms after their "
                    "frame, then %lld..%lld ms until the tick%s\n",
                    attempt + 1, run.IdleCount, run.FirstFrame, run.Ticks, static_cast<long long>(run.Ms),
                    static_cast<long long>(run.ReplyMinMs), static_cast<long long>(run.ReplyMaxMs),
                    static_cast<long long>(run.WaitMinMs), static_cast<long long>(run.WaitMaxMs),
                    run.AllInTime ? "" : " (a reply came late)");
    }

    int fewest = runs.front().Ticks, most = runs.front().Ticks;
    qint64 fastest = runs.front().Ms, slowest = runs.front().Ms;
    for (const ProgramRun& run : runs) {
        fewest = std::min(fewest, run.Ticks);
        most = std::max(most, run.Ticks);
        fastest = std::min(fastest, run.Ms);
        slowest = std::max(slowest, run.Ms);
        // The tool's own part is exact in ticks.
        EXPECT_EQ(run.FirstFrame, std::max(1, 4 - run.IdleCount)) << "tick counter " << run.IdleCount;
        if (run.AllInTime) {
            EXPECT_EQ(run.Ticks, run.FirstFrame + FramesInAProgram) << "every reply was in time";
        }
    }
    std::printf("program: %d..%d ticks, %lld..%lld ms from the start to page 7 verified "
                "(at best 1 + 15 ticks, at most 4 + 15 = 19 ticks = 1045 ms)\n",
                fewest, most, static_cast<long long>(fastest), static_cast<long long>(slowest));
    std::fflush(stdout);
    RecordProperty("fewest_ticks", fewest);
    RecordProperty("most_ticks", most);
    RecordProperty("fastest_ms", static_cast<int>(fastest));
    RecordProperty("slowest_ms", static_cast<int>(slowest));
}

} // namespace
} // namespace zevo
