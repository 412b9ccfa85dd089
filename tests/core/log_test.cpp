#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/log_settings.h"
#include "log/cell_times.h"
#include "log/log_reader.h"
#include "log/log_writer.h"
#include "log/replay.h"

namespace zevo {
namespace {

// 2026-12-09 07:35:58.123 UTC
constexpr std::int64_t Noon = 1'796'801'758'123LL;

StatusFrame StatusOf(int rpm, int tp) {
    StatusFrame s;
    s.Rpm = static_cast<std::uint16_t>(rpm);
    s.TpPercent = static_cast<std::uint8_t>(tp);
    s.TpCount = 512;
    s.SupplyCount = 257;
    s.ServoDesired = {2600, 1200};
    s.ServoMeasured = {2590, 1210};
    s.ServoState = {1, 0};
    s.ProgrammingCount = 17;
    s.SaveCountdown = 3;
    s.EeDataError = 7;
    s.Version = 56;
    s.TestValues = {1, 2, 3, 4, 5, 6, 7, 65535};
    return s;
}

// Keeps what it is given, or fails from the n-th write on, as a full disk does.
class MemorySink final : public LogSink {
public:
    bool Append(std::string_view bytes, std::string& reason) override {
        ++Writes;
        if (FailFrom > 0 && Writes >= FailFrom) {
            reason = "No space left on device";
            return false;
        }
        Bytes.append(bytes);
        return true;
    }
    std::string Bytes;
    int Writes = 0;
    int FailFrom = 0;
};

TEST(LogTime, IsoTimesRoundTripAndBadOnesAreRefused) {
    EXPECT_EQ(IsoUtcMs(Noon), "2026-12-09T07:35:58.123Z");
    EXPECT_EQ(IsoUtcMs(0), "1970-01-01T00:00:00.000Z");
    EXPECT_EQ(IsoUtcMs(-1), "1969-12-31T23:59:59.999Z");
    EXPECT_EQ(IsoUtcMs(951'782'400'000LL), "2000-02-29T00:00:00.000Z");
    for (const std::int64_t ms : std::vector<std::int64_t>{0, Noon, -1, 951'782'400'000LL, 253'402'300'799'999LL}) {
        std::int64_t back = 42;
        ASSERT_TRUE(ParseIsoUtcMs(IsoUtcMs(ms), back)) << IsoUtcMs(ms);
        EXPECT_EQ(back, ms);
    }
    std::int64_t ms = 0;
    EXPECT_TRUE(ParseIsoUtcMs("2026-12-09T07:35:58Z", ms));
    EXPECT_EQ(ms, Noon - 123);
    EXPECT_TRUE(ParseIsoUtcMs("2026-12-09 07:35:58.123+00:00", ms));
    EXPECT_EQ(ms, Noon);
    for (const char* bad : {"", "2026-12-09", "2026-12-09T07:35:58.123", "2026-12-09T07:35:58.123+01:00",
                            "2026-02-30T00:00:00Z", "2026-13-01T00:00:00Z", "2026-12-09T24:00:00Z",
                            "2026-12-09T07:35:58.1Z", "2026-12-09T07:35:58.123ZZ", "+026-12-09T07:35:58Z"})
        EXPECT_FALSE(ParseIsoUtcMs(bad, ms)) << bad;
}

TEST(LogWriter, RowsRoundTripThroughTheReader) {
    MemorySink sink;
    LogWriter writer(sink);
    EXPECT_EQ(sink.Bytes, LogHeader() + "\n") << "the header goes out before the first frame";
    writer.Add(StatusOf(6500, 40), Noon, 5000);
    EXPECT_EQ(writer.Mark(), 1);
    writer.Add(StatusOf(7000, 101), Noon + 330, 5330);
    writer.Add(StatusOf(0, 0), Noon + 660, 5660);
    EXPECT_EQ(writer.Mark(), 2);
    EXPECT_EQ(writer.Mark(), 2) << "a second mark before the next frame is the same moment";
    writer.Add(StatusOf(500, 100), Noon + 990, 5990);
    ASSERT_TRUE(writer.Flush());
    EXPECT_EQ(writer.Rows(), 4);
    EXPECT_EQ(writer.ElapsedMs(), 990);

    const std::string firstRow = sink.Bytes.substr(sink.Bytes.find('\n') + 1);
    EXPECT_EQ(firstRow.substr(0, firstRow.find('\n')),
              "2026-12-09T07:35:58.123Z,0,6500,40,2502,13816,2600,2590,1200,1210,1,0,17,3,1,56,"
              "1,2,3,4,5,6,7,65535,");
    const LogData log = ReadLog(sink.Bytes);
    EXPECT_TRUE(log.HeaderFound);
    EXPECT_EQ(log.BadRows, 0);
    ASSERT_EQ(log.Rows.size(), 4u);
    EXPECT_EQ(log.Rows[0], LogRowFrom(StatusOf(6500, 40), Noon, 0, 0));
    EXPECT_FALSE(log.Rows[1].TpValid) << "a sensor error reads back as one";
    EXPECT_EQ(log.Rows[1].Marker, 1);
    EXPECT_EQ(log.Rows[2].Marker, 0);
    EXPECT_EQ(log.Rows[3].Marker, 2) << "no number is skipped";
    EXPECT_EQ(log.Rows[3].ElapsedMs, 990);

    // The replayed labels read as the live ones did.
    const TelemetryCaptions live = ComposeTelemetry(StatusOf(7000, 101), {true, true}, 1);
    const TelemetryCaptions replayed = ComposeTelemetryOf(log.Rows[1], {true, true}, 1);
    EXPECT_EQ(replayed.Tps, live.Tps);
    EXPECT_EQ(replayed.Supply, live.Supply);
    EXPECT_EQ(replayed.ServoColour, live.ServoColour);
    EXPECT_EQ(replayed.Test, live.Test);
    EXPECT_EQ(replayed.NumberOfProgramming, live.NumberOfProgramming);
}

TEST(LogWriter, FlushesOnceASecondAndStopsForGoodAtAFailedWrite) {
    MemorySink sink;
    LogWriter writer(sink);
    EXPECT_EQ(sink.Writes, 1);
    writer.Add(StatusOf(1000, 0), Noon, 0);
    EXPECT_TRUE(writer.FlushIfDue(500));
    EXPECT_EQ(sink.Writes, 1) << "the row waits for the second to pass";
    writer.Add(StatusOf(1000, 0), Noon + 330, 1000);
    EXPECT_TRUE(writer.FlushIfDue(1000));
    EXPECT_EQ(sink.Writes, 2);
    const std::string written = sink.Bytes;

    sink.FailFrom = 3;
    writer.Add(StatusOf(2000, 0), Noon + 1330, 1330);
    EXPECT_FALSE(writer.FlushIfDue(2000));
    EXPECT_TRUE(writer.Failed());
    EXPECT_EQ(writer.FailureReason(), "No space left on device");
    sink.FailFrom = 0;
    writer.Add(StatusOf(3000, 0), Noon + 2330, 2330);
    EXPECT_FALSE(writer.Flush());
    EXPECT_EQ(sink.Bytes, written) << "nothing is written after the failure, nothing before it is lost";
    EXPECT_EQ(ReadLog(sink.Bytes).Rows.size(), 2u);
}

TEST(LogReader, ColumnsAreFoundByNameInAnyOrder) {
    const LogData log = ReadLog("Marker,RPM,extra,elapsed_ms,tp_percent\r\n"
                                "2,4500,x,100,30\r\n"
                                ",4600,y,430,\r\n");
    EXPECT_TRUE(log.HeaderFound);
    EXPECT_EQ(log.BadRows, 0);
    ASSERT_EQ(log.Rows.size(), 2u);
    EXPECT_EQ(log.Rows[0].Rpm, 4500);
    EXPECT_EQ(log.Rows[0].Marker, 2);
    EXPECT_EQ(log.Rows[0].TpPercent, 30);
    EXPECT_EQ(log.Rows[0].ElapsedMs, 0) << "elapsed counts from the first row";
    EXPECT_EQ(log.Rows[1].ElapsedMs, 330);
    EXPECT_FALSE(log.Rows[1].TpValid);
    EXPECT_EQ(log.Rows[1].TimeMs, 0) << "no time column";

    // Only the time: elapsed follows it.
    const LogData timed = ReadLog("rpm,time\n1000,2026-12-09T07:35:58.123Z\n1100,2026-12-09T07:35:59.000Z\n");
    ASSERT_EQ(timed.Rows.size(), 2u);
    EXPECT_EQ(timed.Rows[1].ElapsedMs, 877);
    EXPECT_EQ(timed.Rows[1].TimeMs, Noon + 877);

    // Times centuries apart: no ride, and beyond what elapsed_ms can hold.
    const LogData centuries = ReadLog("rpm,time\n1000,0367-12-09T07:35:58.123Z\n1100,2036-12-09T07:35:58.453Z\n");
    EXPECT_EQ(centuries.Rows.size(), 1u);
    EXPECT_EQ(centuries.BadRows, 1);

    // A spreadsheet's rewrite of the time beside elapsed_ms: the rows stay, the time is not known.
    const LogData resaved = ReadLog("time,elapsed_ms,rpm\n09.12.2026 07:35:58,0,1000\n09.12.2026 07:35:59,330,1100\n");
    EXPECT_EQ(resaved.BadRows, 0);
    ASSERT_EQ(resaved.Rows.size(), 2u);
    EXPECT_EQ(resaved.Rows[1].ElapsedMs, 330);
    EXPECT_EQ(resaved.Rows[1].TimeMs, 0);
    EXPECT_EQ(ReadLog("time,rpm\n09.12.2026 07:35:58,1000\n").BadRows, 1) << "the time is the only clock";

    // The rows of an earlier zevo-cli: the supply in volts, "error" for a throttle sensor fault.
    const LogData old = ReadLog("time,rpm,tp_percent,tp_mv,supply_v,servo1_desired_mv,servo1_measured_mv,"
                                "servo2_desired_mv,servo2_measured_mv,programming_count,storing_countdown,"
                                "data_error,version\n"
                                "2026-12-09T07:35:58.123Z,6500,error,2502,13.8,2600,2590,1200,1210,17,0,0,56\n"
                                "2026-12-09T07:35:58.453Z,6600,40,2502,12,2600,2590,1200,1210,17,0,0,56\n");
    EXPECT_EQ(old.BadRows, 0);
    ASSERT_EQ(old.Rows.size(), 2u);
    EXPECT_FALSE(old.Rows[0].TpValid);
    EXPECT_EQ(old.Rows[0].SupplyMv, 13800);
    EXPECT_EQ(old.Rows[1].SupplyMv, 12000);
    EXPECT_EQ(old.Rows[1].ElapsedMs, 330);
    EXPECT_EQ(old.Rows[1].ServoMeasuredMv[1], 1210);

    // No header at all: the writer's order.
    MemorySink sink;
    LogWriter writer(sink);
    writer.Add(StatusOf(6500, 40), Noon, 0);
    writer.Flush();
    const LogData headless = ReadLog(sink.Bytes.substr(sink.Bytes.find('\n') + 1));
    EXPECT_FALSE(headless.HeaderFound);
    ASSERT_EQ(headless.Rows.size(), 1u);
    EXPECT_EQ(headless.Rows[0].Rpm, 6500);
}

TEST(LogReader, BadRowsAreSkippedAndCounted) {
    const std::string header = LogHeader() + "\n";
    std::string good;
    AppendLogRow(good, LogRowFrom(StatusOf(3000, 20), Noon, 0, 0));
    good.pop_back();
    const std::string later = good.substr(0, 24) + ",500" + good.substr(good.find(',', 25));
    struct Case {
        const char* name;
        std::string line;
    };
    const std::vector<Case> cases = {
        {"a field missing", good.substr(0, good.rfind(','))},
        {"a field too many", good + ",9"},
        {"a word for a number", good.substr(0, 27) + "3k" + good.substr(good.find(',', 28))},
        {"rpm above 16 bits", good.substr(0, 27) + "65536" + good.substr(good.find(',', 28))},
        {"a negative number", good.substr(0, 27) + "-1" + good.substr(good.find(',', 28))},
        {"throttle above 100", good.substr(0, good.find(",20,") + 1) + "101" + good.substr(good.find(",20,") + 3)},
        {"a NUL byte", good.substr(0, 30) + std::string(1, '\0') + good.substr(31)},
        {"a line of 2000 bytes", std::string(2000, '1')},
    };
    for (const Case& c : cases) {
        const LogData log = ReadLog(header + good + "\n" + c.line + "\n" + good + "\n");
        EXPECT_EQ(log.BadRows, 1) << c.name;
        EXPECT_EQ(log.FirstBadLine, 3) << c.name;
        EXPECT_GE(log.Rows.size(), 1u) << c.name;
    }
    // A row that goes back in time belongs to no replay.
    const LogData back = ReadLog(header + later + "\n" + good + "\n" + later + "\n");
    EXPECT_EQ(back.BadRows, 1);
    EXPECT_EQ(back.FirstBadLine, 3);
    EXPECT_EQ(back.Rows.size(), 2u);

    // Blank lines are no rows and no faults; a last line without its line end still counts.
    const LogData blank = ReadLog(header + "\n  \n" + good + "\n\r\n" + good);
    EXPECT_EQ(blank.BadRows, 0);
    EXPECT_EQ(blank.Rows.size(), 2u);

    // A header without the speed: nothing is usable, and the window can say why.
    const LogData noRpm = ReadLog("time,elapsed_ms,tp_percent\n2026-12-09T07:35:58.123Z,0,20\n");
    EXPECT_TRUE(noRpm.Rows.empty());
    EXPECT_EQ(noRpm.BadRows, 1);
    EXPECT_EQ(noRpm.MissingColumns, std::vector<std::string>{"rpm"});

    // Garbage gives no rows and no crash.
    const LogData garbage = ReadLog(std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    EXPECT_TRUE(garbage.Rows.empty());
    EXPECT_FALSE(garbage.HeaderFound);
}

TEST(LogReader, PiecesSplitAnywhereReadAsTheWhole) {
    MemorySink sink;
    LogWriter writer(sink);
    for (int i = 0; i < 20; ++i)
        writer.Add(StatusOf(1000 + 100 * i, i * 5), Noon + 330 * i, 330 * i);
    writer.Flush();
    const std::string bytes = sink.Bytes + "bad line\n" + std::string(3000, 'z') + "\n";
    const LogData whole = ReadLog(bytes);
    ASSERT_EQ(whole.Rows.size(), 20u);
    EXPECT_EQ(whole.BadRows, 2);
    for (std::size_t piece : {1u, 7u, 100u, 1023u, 1025u}) {
        LogReader reader;
        for (std::size_t at = 0; at < bytes.size(); at += piece)
            reader.Feed(std::string_view(bytes).substr(at, piece));
        const LogData read = reader.Finish();
        EXPECT_EQ(read.Rows, whole.Rows) << piece;
        EXPECT_EQ(read.BadRows, whole.BadRows) << piece;
    }
}

std::vector<LogRow> Ride(const std::vector<std::pair<int, int>>& marks) {
    // One row every 330 ms; marks: (row index, marker number).
    std::vector<LogRow> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back(LogRowFrom(StatusOf(1000 * i, 10 * i), Noon + 330 * i, 330 * i, 0));
    for (const auto& [at, number] : marks)
        rows[static_cast<std::size_t>(at)].Marker = number;
    return rows;
}

TEST(Replay, PlaysAtItsSpeedStepsAndFindsMarkers) {
    const std::vector<LogRow> rows = Ride({{3, 1}, {7, 2}});
    ReplayPosition replay(rows);
    EXPECT_EQ(replay.Index(), 0u);
    EXPECT_EQ(replay.DurationMs(), 2970);
    EXPECT_FALSE(replay.Advance(1000)) << "paused: nothing moves";

    replay.Play(2);
    EXPECT_TRUE(replay.Advance(165)); // 330 ms of the log
    EXPECT_EQ(replay.Index(), 1u);
    EXPECT_FALSE(replay.Advance(100));
    EXPECT_EQ(replay.PositionMs(), 530);
    replay.Play(0.5);
    EXPECT_TRUE(replay.Advance(300)); // 150 ms of the log: 680
    EXPECT_EQ(replay.Index(), 2u);
    EXPECT_TRUE(replay.Advance(100'000));
    EXPECT_EQ(replay.Index(), 9u);
    EXPECT_FALSE(replay.Playing()) << "stops at the end";
    replay.Play(1);
    EXPECT_EQ(replay.Index(), 0u) << "play at the end starts again";

    EXPECT_TRUE(replay.NextMarker());
    EXPECT_FALSE(replay.Playing());
    EXPECT_EQ(replay.Index(), 3u);
    EXPECT_TRUE(replay.NextMarker());
    EXPECT_EQ(replay.Index(), 7u);
    EXPECT_FALSE(replay.NextMarker());
    EXPECT_TRUE(replay.PreviousMarker());
    EXPECT_EQ(replay.Index(), 3u);
    EXPECT_FALSE(replay.PreviousMarker());

    EXPECT_TRUE(replay.Step(-1));
    EXPECT_EQ(replay.Index(), 2u);
    EXPECT_EQ(replay.PositionMs(), 660);
    EXPECT_TRUE(replay.Step(-5));
    EXPECT_EQ(replay.Index(), 0u);
    EXPECT_FALSE(replay.Step(-1));
    EXPECT_TRUE(replay.Seek(1000));
    EXPECT_EQ(replay.Index(), 3u);
    EXPECT_TRUE(replay.Seek(1'000'000));
    EXPECT_EQ(replay.Index(), 9u);
}

TEST(CellTimes, TimeGoesToTheCellTheHighlightWouldShow) {
    DeviceImage image;
    SetDefaults(image);
    for (int c = 0; c < MapColumns; ++c)
        image.RpmAxis(0, c) = static_cast<std::uint8_t>(10 + 10 * c); // 1000, 2000, ... 15000 RPM
    image.TpEnable(0) = 1;
    auto row = [](std::int64_t at, int rpm, int tp) {
        return LogRowFrom(StatusOf(rpm, tp), Noon + at, at, 0);
    };
    const std::vector<LogRow> rows = {
        row(0, 1000, 0),     row(300, 1000, 0), // 600 ms in (0 %, 1000)
        row(600, 2600, 41),  // 400 ms in (40 %, 3000): 2600 is nearer 3000 than 2000
        row(1000, 2500, 50), // half-way: the higher RPM point and the higher throttle row, 3000 ms of
                             // silence count as one second
        row(4000, 3000, 101), // a sensor error: in no row
        row(4330, 1000, 0),   // the last row: visited, no time
    };
    const CellTimes times = CountCellTimes(rows, image, 0);
    EXPECT_EQ(times.MsIn(0, 0), 600);
    EXPECT_EQ(times.MsIn(6, 2), 400);
    EXPECT_EQ(times.MsIn(7, 2), 1000);
    EXPECT_EQ(times.UnknownThrottleMs, 330);
    EXPECT_EQ(times.TotalMs, 2330);
    EXPECT_EQ(times.LongestMs, 1000);
    EXPECT_TRUE(times.Visited(0, 0));
    EXPECT_FALSE(times.Visited(1, 0));
    const std::string table = CellTimesTable(times, image, 0);
    EXPECT_EQ(table.substr(0, table.find('\n')),
              "TP \\ RPM\t1000\t2000\t3000\t4000\t5000\t6000\t7000\t8000\t9000\t10000\t11000\t12000\t13000\t"
              "14000\t15000");
    EXPECT_NE(table.find("\n0%\t0.6\t\t\t"), std::string::npos) << table;
    EXPECT_NE(table.find("\n40%\t\t\t0.4\t"), std::string::npos) << table;

    // Without TP Enable every row counts in the one row the page shows, the sensor error too.
    image.TpEnable(0) = 0;
    const CellTimes flat = CountCellTimes(rows, image, 0);
    EXPECT_EQ(flat.MsIn(0, 2), 400 + 1000 + 330);
    EXPECT_EQ(flat.UnknownThrottleMs, 0);
    const std::string flatTable = CellTimesTable(flat, image, 0);
    EXPECT_EQ(std::count(flatTable.begin(), flatTable.end(), '\n'), 2);
    EXPECT_EQ(SecondsText(0), "0.0");
    EXPECT_EQ(SecondsText(1949), "1.9");
    EXPECT_EQ(SecondsText(1950), "2.0");
}

TEST(LogSettings, KeptInASectionOfTheirOwnBesideEveryOtherKey) {
    EXPECT_EQ(ReadLogSettings(IniFile()), LogSettings{});
    IniFile ini = IniFile::Parse("[FORM_HLAV]\nComPort=3\n[LOG]\nOther=kept\n");
    LogSettings log;
    log.Folder = "/home/jiří/jízdy";
    log.ChartSeconds = 300;
    log.LiveChart = true;
    WriteLogSettings(ini, log);
    const IniFile again = IniFile::Parse(ini.Serialize());
    EXPECT_EQ(ReadLogSettings(again), log);
    EXPECT_EQ(again.ReadString("LOG", "Other", ""), "kept");
    EXPECT_EQ(again.ReadInteger("FORM_HLAV", "ComPort", 0), 3);
    // A span the chart does not offer reads as the default.
    for (const char* span : {"0", "45", "-60", "x", "99999999999"})
        EXPECT_EQ(ReadLogSettings(IniFile::Parse(std::string("[LOG]\nChartSeconds=") + span + "\n")).ChartSeconds, 60)
            << span;
}

} // namespace
} // namespace zevo
