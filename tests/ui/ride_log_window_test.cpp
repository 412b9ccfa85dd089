// The ride log on the shown window with the unit model on its line: recording with markers and the
// REC sign, a write that fails half-way, the replay driving the labels and the live cell, the time
// per cell, the live chart, and logs that are not logs.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QScreen>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QWheelEvent>
#include <csignal>
#include <memory>
#include <qcustomplot.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <gtest/gtest.h>

#include "app/ini_file.h"

#include "find_control.h"
#include "form_fixture.h"
#include "link/link_engine.h"
#include "log/log_reader.h"
#include "log/log_writer.h"
#include "model_line.h"
#include "ui/cell_times_overlay.h"
#include "ui/live_chart_window.h"
#include "ui/log_loading.h"
#include "ui/log_recorder.h"
#include "ui/replay_window.h"
#include "ui/controls.h"
#include "ui/up_down.h"

namespace zevo {
namespace {

using testing::Control;
using testing::Find;

class StringSink final : public LogSink {
public:
    bool Append(std::string_view bytes, std::string&) override {
        Bytes.append(bytes);
        return true;
    }
    std::string Bytes;
};

StatusFrame Status(int rpm, int tp) {
    StatusFrame s;
    s.Rpm = static_cast<std::uint16_t>(rpm);
    s.TpPercent = static_cast<std::uint8_t>(tp);
    s.TpCount = 500;
    s.SupplyCount = 257;
    s.ServoDesired = {2600, 1500};
    s.ServoMeasured = {2500, 1500};
    s.ServoState = {1, 1};
    s.Version = 56;
    return s;
}

class RideLogWindowTest : public FormFixture {
protected:
    ModelLine Model;
    std::unique_ptr<TFormHlav> Form;
    QLocale SavedLocale;
    // The window's clock for the ride log, moved on with the unit's.
    std::int64_t Now = 0;

    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        Line = &Model;
        SteadyMs = [this] { return Now; };
        QFile settings(QDir(Dir.path()).filePath(QStringLiteral("ZEVO_v56.ini")));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[FORM_HLAV]\nComPort=1\n");
        settings.close();
        Form = StartShown({QStringLiteral("ENGLISH")});
    }
    void TearDown() override {
        Form.reset();
        QLocale::setDefault(SavedLocale);
    }
    QString Path(const char* name) const { return QDir(Dir.path()).filePath(QString::fromLatin1(name)); }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i) {
            Model.Advance(55);
            Now += 55;
            Form->Timer1Timer();
        }
    }
    // A second later, when the recording writes its rows.
    void TicksPastAFlush() {
        Now += 1000;
        Ticks(1);
    }
    void ClickTab(int index) {
        QTabBar* bar = Control<QTabWidget>(*Form, "PageControl1")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        ASSERT_EQ(Control<QTabWidget>(*Form, "PageControl1")->currentIndex(), index);
    }
    void ServoOneWithAllRows() {
        ClickTab(1);
        if (!Control<TCheckBox>(*Form, "CheckBoxTpEnable")->isChecked()) {
            QStyleOptionButton option;
            option.initFrom(Control<TCheckBox>(*Form, "CheckBoxTpEnable"));
            QTest::mouseClick(Control<TCheckBox>(*Form, "CheckBoxTpEnable"), Qt::LeftButton, {},
                              Control<TCheckBox>(*Form, "CheckBoxTpEnable")->style()
                                  ->subElementRect(QStyle::SE_CheckBoxIndicator, &option, Control<TCheckBox>(*Form, "CheckBoxTpEnable"))
                                  .center());
        }
        ASSERT_TRUE(Control<TCheckBox>(*Form, "CheckBoxTpEnable")->isChecked());
    }
    std::string ReadBytes(const QString& path) const {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll().toStdString();
    }
    // A hand-made ride: (rpm, throttle, milliseconds until the next row, marker).
    QString WriteRide(const char* name, const std::vector<std::tuple<int, int, int, int>>& rows) {
        StringSink sink;
        LogWriter writer(sink);
        std::int64_t at = 0;
        for (const auto& [rpm, tp, lasts, marker] : rows) {
            if (marker > 0)
                writer.Mark();
            writer.Add(Status(rpm, tp), 1'796'801'758'123LL + at, at);
            at += lasts;
        }
        writer.Flush();
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(sink.Bytes.data(), static_cast<qint64>(sink.Bytes.size()));
        return file.fileName();
    }
    void OpenLog(const QString& path) {
        Prompts.Paths.push_back(path);
        Control<QAction>(*Form, "MenuOpenLog")->trigger();
    }
    QString Caption(const TLabel* label) const { return label->Caption(); }
};

TEST_F(RideLogWindowTest, RecordingKeepsEveryFrameWithItsMarkersAndShowsTheSign) {
    ServoOneWithAllRows();
    Model.Unit.HoldEngine(4000, 30);
    Ticks(40); // the unit answers, and the window's look at its set is over
    EXPECT_FALSE(Control<QAction>(*Form, "MenuStopRecording")->isEnabled());
    const QString path = Path("ride.csv");
    Prompts.Paths.push_back(path);
    Control<QAction>(*Form, "MenuStartRecording")->trigger();
    ASSERT_TRUE(Control<QLabel>(*Form, "LabelRecording")->isVisible());
    EXPECT_TRUE(Control<QLabel>(*Form, "LabelRecording")->text().startsWith(QStringLiteral("REC 00:00:0"))) << Control<QLabel>(*Form, "LabelRecording")->text().toStdString();
    EXPECT_FALSE(Control<QAction>(*Form, "MenuStartRecording")->isEnabled());
    EXPECT_EQ(ReadBytes(path), LogHeader() + "\n") << "the header is on disk at once";

    Ticks(18);
    QTest::keyClick(Form.get(), Qt::Key_F11);
    EXPECT_EQ(Control<QStatusBar>(*Form, "StatusBar1")->currentMessage(), QStringLiteral("Marker 1 set"));
    Model.Unit.HoldEngine(8000, 60);
    Ticks(18);
    QTest::keyClick(Form.get(), Qt::Key_F11);
    TicksPastAFlush();
    EXPECT_TRUE(Control<QLabel>(*Form, "LabelRecording")->text().contains(QStringLiteral(" · rows: "))) << Control<QLabel>(*Form, "LabelRecording")->text().toStdString();
    // A second has passed: the rows so far are in the file while the recording goes on.
    const LogData early = ReadLog(ReadBytes(path));
    EXPECT_EQ(early.BadRows, 0);
    EXPECT_GE(early.Rows.size(), 5u);

    // A silent unit pauses the rows; the recording goes on when it answers again.
    Model.Unit.SetSilent(true);
    Ticks(30);
    Model.Unit.SetSilent(false);
    Ticks(40); // the window's look at the unit that answered (about a second), then frames again
    Control<QAction>(*Form, "MenuStopRecording")->trigger();
    EXPECT_FALSE(Control<QLabel>(*Form, "LabelRecording")->isVisible());
    EXPECT_TRUE(Control<QStatusBar>(*Form, "StatusBar1")->currentMessage().startsWith(QStringLiteral("Recording saved: ")))
        << Control<QStatusBar>(*Form, "StatusBar1")->currentMessage().toStdString();

    const LogData log = ReadLog(ReadBytes(path));
    EXPECT_TRUE(log.HeaderFound);
    EXPECT_EQ(log.BadRows, 0);
    // About one frame in six ticks, none while the unit was silent.
    ASSERT_GE(log.Rows.size(), 8u);
    std::vector<int> markers;
    bool slowFirst = true;
    for (const LogRow& row : log.Rows) {
        if (row.Marker > 0)
            markers.push_back(row.Marker);
        // Every row before the first marker is the engine at 4000, and markers come in order.
        if (markers.empty())
            slowFirst = slowFirst && row.Rpm == 4000 && row.TpPercent == 30;
    }
    EXPECT_TRUE(slowFirst);
    EXPECT_EQ(markers, (std::vector<int>{1, 2}));
    EXPECT_EQ(log.Rows.back().Rpm, 8000);
    EXPECT_EQ(log.Rows.back().Version, 56);
    EXPECT_TRUE(Prompts.Messages.isEmpty()) << Prompts.Messages.join(QLatin1Char('|')).toStdString();

    // Marks outside a recording only say how to set one.
    QTest::keyClick(Form.get(), Qt::Key_F11);
    EXPECT_EQ(Control<QStatusBar>(*Form, "StatusBar1")->currentMessage(),
              QStringLiteral("Markers are set while recording (View > Ride log > Start recording…)"));
}

// A disk that fills up: the file may not grow past what it holds after the first second.
// The file size limit is POSIX: on Windows this case is left to the Linux run.
#ifndef _WIN32
TEST_F(RideLogWindowTest, AWriteThatFailsStopsTheRecordingAndKeepsTheWholeRowsBefore) {
    Model.Unit.HoldEngine(3000, 20);
    const QString path = Path("full.csv");
    Prompts.Paths.push_back(path);
    Control<QAction>(*Form, "MenuStartRecording")->trigger();
    ASSERT_TRUE(Control<QLabel>(*Form, "LabelRecording")->isVisible());
    Ticks(18);
    TicksPastAFlush();
    const std::string before = ReadBytes(path);
    const std::size_t rowsBefore = ReadLog(before).Rows.size();
    ASSERT_GT(rowsBefore, 0u);

    // A file size limit makes the next write fail part-way, as a full disk does.
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = saved;
    tight.rlim_cur = static_cast<rlim_t>(before.size() + 40);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    Ticks(18);
    TicksPastAFlush();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_EQ(Prompts.Messages.size(), 1);
    EXPECT_TRUE(Prompts.Messages[0].startsWith(QStringLiteral("Recording stopped: ") + QDir::toNativeSeparators(path) +
                                               QStringLiteral(" could not be written. The rows written before are kept: %1.")
                                                   .arg(rowsBefore)))
        << Prompts.Messages[0].toStdString();
    EXPECT_TRUE(Prompts.Messages[0].endsWith(QStringLiteral("\nFile too large"))) << "the system's reason under it: "
                                                                                  << Prompts.Messages[0].toStdString();
    EXPECT_FALSE(Control<QLabel>(*Form, "LabelRecording")->isVisible());
    EXPECT_TRUE(Control<QAction>(*Form, "MenuStartRecording")->isEnabled());
    EXPECT_EQ(ReadBytes(path), before) << "cut back to the last whole row";
    Ticks(12); // the tool goes on

    // A file that cannot take even the header: the recording does not start.
    Prompts.Messages.clear();
    Prompts.Paths.push_back(QStringLiteral("/dev/full"));
    Control<QAction>(*Form, "MenuStartRecording")->trigger();
    ASSERT_EQ(Prompts.Messages.size(), 1);
    EXPECT_TRUE(Prompts.Messages[0].startsWith(QStringLiteral("Recording to /dev/full could not be started\n")))
        << Prompts.Messages[0].toStdString();
    EXPECT_FALSE(Control<QLabel>(*Form, "LabelRecording")->isVisible());
}
#endif

TEST_F(RideLogWindowTest, TheReplayDrivesTheLabelsAndTheLiveCellNotTheUnit) {
    ServoOneWithAllRows();
    Model.Unit.HoldEngine(2000, 10);
    Ticks(12);
    const QString path = WriteRide("ride.csv", {{1000, 0, 330, 0}, {4000, 30, 330, 1}, {4000, 30, 330, 0},
                                                {8000, 60, 330, 2}, {8000, 60, 330, 0}});
    OpenLog(path);
    ASSERT_TRUE(Form->Replaying());
    ASSERT_TRUE(Find<ReplayWindow>(*Form, "ReplayWindow")->isVisible());
    EXPECT_TRUE(Control<QLabel>(*Form, "LabelReplay")->isVisible());
    EXPECT_EQ(Control<QLabel>(*Form, "LabelReplay")->text(), QStringLiteral("REPLAY 00:00:00.0 / 00:00:01.3"));
    EXPECT_EQ(Caption(Control<TLabel>(*Form, "LabelRpm")), QStringLiteral("RPM = 1000 "));
    EXPECT_EQ(Form->LiveCell(), std::make_optional(std::make_pair(0, 1)));

    QTest::mouseClick(Find<ReplayWindow>(*Form, "ReplayWindow")->NextMarkerButton(), Qt::LeftButton);
    EXPECT_EQ(Caption(Control<TLabel>(*Form, "LabelRpm")), QStringLiteral("RPM = 4000 "));
    EXPECT_EQ(Caption(Control<TLabel>(*Form, "LabelTpsMon")).left(8), QStringLiteral("TP= 30 %"));
    EXPECT_EQ(Form->LiveCell(), std::make_optional(std::make_pair(5, 4)));
    EXPECT_TRUE(Find<ReplayWindow>(*Form, "ReplayWindow")->TimeLabel()->text().endsWith(QStringLiteral("marker 1"))) << Find<ReplayWindow>(*Form, "ReplayWindow")->TimeLabel()->text().toStdString();
    // The unit's frames are decoded but not shown.
    Ticks(18);
    EXPECT_EQ(Caption(Control<TLabel>(*Form, "LabelRpm")), QStringLiteral("RPM = 4000 "));
    EXPECT_EQ(Form->LiveCell(), std::make_optional(std::make_pair(5, 4)));

    QTest::mouseClick(Find<ReplayWindow>(*Form, "ReplayWindow")->NextMarkerButton(), Qt::LeftButton);
    EXPECT_EQ(Form->LiveCell(), std::make_optional(std::make_pair(7, 9))) << "8000 RPM is axis point 9";
    QTest::mouseClick(Find<ReplayWindow>(*Form, "ReplayWindow")->StepBackButton(), Qt::LeftButton);
    EXPECT_EQ(Caption(Control<TLabel>(*Form, "LabelRpm")), QStringLiteral("RPM = 4000 "));

    // Play at 2x from the start: the position runs at twice the wall clock, and stops at the end.
    QTest::mouseClick(Find<ReplayWindow>(*Form, "ReplayWindow")->PreviousMarkerButton(), Qt::LeftButton);
    QTest::mouseClick(Find<ReplayWindow>(*Form, "ReplayWindow")->PreviousMarkerButton(), Qt::LeftButton);
    QComboBox* speed = Find<ReplayWindow>(*Form, "ReplayWindow")->SpeedBox();
    speed->setFocus();
    QTest::keyClick(speed, Qt::Key_Down);
    ASSERT_EQ(speed->currentText(), QStringLiteral("2×"));
    QTest::mouseClick(Find<ReplayWindow>(*Form, "ReplayWindow")->PlayButton(), Qt::LeftButton);
    EXPECT_EQ(Find<ReplayWindow>(*Form, "ReplayWindow")->PlayButton()->text(), QStringLiteral("Pause"));
    // A third of a second of the clock plays two thirds of the ride, from the first marker.
    Ticks(6);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Find<ReplayWindow>(*Form, "ReplayWindow")->Position().PositionMs() == 330 + 660; }, 5000))
        << Find<ReplayWindow>(*Form, "ReplayWindow")->Position().PositionMs();
    EXPECT_EQ(Caption(Control<TLabel>(*Form, "LabelRpm")), QStringLiteral("RPM = 8000 "));
    Ticks(12);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Find<ReplayWindow>(*Form, "ReplayWindow")->Position().Playing(); }, 5000)) << "stops at the end";
    EXPECT_EQ(Find<ReplayWindow>(*Form, "ReplayWindow")->Position().Index(), 4u);
    EXPECT_EQ(Find<ReplayWindow>(*Form, "ReplayWindow")->PlayButton()->text(), QStringLiteral("Play"));

    // Closing the log shows the unit's last values again at once, greyed once it is silent.
    Control<QAction>(*Form, "MenuCloseLog")->trigger();
    EXPECT_FALSE(Form->Replaying());
    EXPECT_FALSE(Control<QLabel>(*Form, "LabelReplay")->isVisible());
    EXPECT_FALSE(Find<ReplayWindow>(*Form, "ReplayWindow")->isVisible());
    EXPECT_EQ(Caption(Control<TLabel>(*Form, "LabelRpm")), QStringLiteral("RPM = 2000 "));
    EXPECT_EQ(Caption(Control<TLabel>(*Form, "LabelTpsMon")).left(8), QStringLiteral("TP= 10 %"));
    EXPECT_EQ(Form->LiveCell(), std::make_optional(std::make_pair(3, 2))) << "the unit's last cell at once: 10 % is row 3";
}

// During a replay the marked cell is the log's, and so is the throttle voltage the label shows: the
// tools act on what the user sees, never on the unit's cell or voltage behind the replay.
TEST_F(RideLogWindowTest, DuringAReplayTheToolsActOnTheReplayedCellAndVoltage) {
    ServoOneWithAllRows();
    Model.Unit.HoldEngine(2000, 10);
    Ticks(12);
    ASSERT_EQ(Form->LiveCell(), std::make_optional(std::make_pair(3, 2)));
    const std::uint16_t unitMv = Form->Link().State().TpMillivolts;
    OpenLog(WriteRide("ride.csv", {{1000, 0, 330, 0}, {1000, 0, 330, 0}}));
    ASSERT_EQ(Form->LiveCell(), std::make_optional(std::make_pair(0, 1)));
    Ticks(6);

    const std::uint8_t replayed = Form->Parameters().Image.MapCell(0, 0, 1);
    const std::uint8_t unitCell = Form->Parameters().Image.MapCell(0, 3, 2);
    Form->activateWindow();
    QTest::keyClick(Form.get(), Qt::Key_F4);
    EXPECT_EQ(Form->Parameters().Image.MapCell(0, 0, 1), replayed - 1) << "the lime cell";
    EXPECT_EQ(Form->Parameters().Image.MapCell(0, 3, 2), unitCell) << "not the unit's cell behind the replay";

    ClickTab(0);
    const QString shown = Caption(Control<TLabel>(*Form, "LabelTpsMon"));
    QTest::mouseClick(Control<QPushButton>(*Form, "ButtonTps0"), Qt::LeftButton);
    const int logMv = 500 * 5000 / 1023;
    ASSERT_NE(logMv / 10, unitMv / 10);
    EXPECT_EQ(Form->Parameters().Image.Tps0(), logMv / 10) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QString::number(logMv) + QStringLiteral(" mV"))) << shown.toStdString();
}

// A replay with no frame from the unit before or during it leaves the labels as they were: no
// recorded value stays behind looking like the unit's.
TEST_F(RideLogWindowTest, AReplayWithoutTheUnitLeavesNoRecordedValueBehind) {
    Model.Unit.SetSilent(true);
    Ticks(30);
    ASSERT_TRUE(Control<TLabel>(*Form, "LabelSpojeni")->isVisible());
    const QString rpm = Caption(Control<TLabel>(*Form, "LabelRpm"));
    const QString supply = Caption(Control<TLabel>(*Form, "LabelNapeti"));
    OpenLog(WriteRide("ride.csv", {{8000, 60, 330, 0}, {8000, 60, 0, 0}}));
    EXPECT_EQ(Caption(Control<TLabel>(*Form, "LabelRpm")), QStringLiteral("RPM = 8000 "));
    // Recorded values are as current as the replay: not greyed while it shows them, greyed again
    // (the unit's old values) after it.
    const QColor text = Form->palette().color(QPalette::WindowText);
    EXPECT_EQ(Control<TLabel>(*Form, "LabelRpm")->palette().color(QPalette::WindowText), text);
    Ticks(12);
    QTest::mouseClick(Find<ReplayWindow>(*Form, "ReplayWindow")->StepForwardButton(), Qt::LeftButton);
    Control<QAction>(*Form, "MenuCloseLog")->trigger();
    EXPECT_EQ(Caption(Control<TLabel>(*Form, "LabelRpm")), rpm);
    EXPECT_EQ(Caption(Control<TLabel>(*Form, "LabelNapeti")), supply);
    EXPECT_NE(Control<TLabel>(*Form, "LabelRpm")->palette().color(QPalette::WindowText), text);
}

// A language chosen during a replay with the unit silent shows the replayed values in it, never the
// placeholders of a unit that sent nothing; after the replay the unit's last values, in it too.
TEST_F(RideLogWindowTest, ALanguageChosenDuringAReplayKeepsTheValuesShown) {
    Model.Unit.HoldEngine(2000, 10);
    Ticks(12);
    OpenLog(WriteRide("ride.csv", {{8000, 60, 330, 0}, {8000, 60, 0, 0}}));
    Model.Unit.SetSilent(true);
    Ticks(30);
    ASSERT_TRUE(Control<TLabel>(*Form, "LabelSpojeni")->isVisible());
    const QString desired = QString::fromStdString(MessageText(MsgId::MsgServoDesired, LanguageGerman));
    Control<QAction>(*Form, "MenuGerman")->trigger();
    EXPECT_EQ(Caption(Control<TLabel>(*Form, "LabelServoPoz1")), desired + QStringLiteral(" 1 = 2600 mV"));
    EXPECT_EQ(Caption(Control<TLabel>(*Form, "LabelRpm")), QStringLiteral("RPM = 8000 "));

    Control<QAction>(*Form, "MenuCloseLog")->trigger();
    EXPECT_TRUE(Caption(Control<TLabel>(*Form, "LabelServoPoz1")).startsWith(desired + QStringLiteral(" 1 = "))) << Caption(Control<TLabel>(*Form, "LabelServoPoz1")).toStdString();
    EXPECT_FALSE(Caption(Control<TLabel>(*Form, "LabelServoPoz1")).contains(QStringLiteral("---")));
    EXPECT_EQ(Caption(Control<TLabel>(*Form, "LabelRpm")), QStringLiteral("RPM = 2000 "));
}

// F11 with the live chart in front sets every marker, as it does with the map in front.
TEST_F(RideLogWindowTest, MarkersAreSetWithTheLiveChartInFront) {
    Model.Unit.HoldEngine(4000, 30);
    Ticks(40);
    Prompts.Paths.push_back(Path("chart.csv"));
    Control<QAction>(*Form, "MenuStartRecording")->trigger();
    Control<QAction>(*Form, "MenuLiveChart")->trigger();
    LiveChartWindow* chart = Find<LiveChartWindow>(*Form, "LiveChartWindow");
    ASSERT_TRUE(chart);
    testing::FloatInFront(chart);
    for (int marker = 1; marker <= 3; ++marker) {
        Ticks(6);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : chart, Qt::Key_F11);
        EXPECT_EQ(Control<QStatusBar>(*Form, "StatusBar1")->currentMessage(), QStringLiteral("Marker %1 set").arg(marker));
    }
    Ticks(12); // the next frame carries the last marker
    TicksPastAFlush();
    Control<QAction>(*Form, "MenuStopRecording")->trigger();
    const LogData log = ReadLog(ReadBytes(Path("chart.csv")));
    int markers = 0;
    for (const LogRow& row : log.Rows)
        markers += row.Marker > 0 ? 1 : 0;
    EXPECT_EQ(markers, 3);
}

TEST_F(RideLogWindowTest, ClosingTheWindowWritesTheRowsOfTheLastSecond) {
    Model.Unit.HoldEngine(3000, 20);
    Ticks(40); // the unit answers, and the window's look at its set is over
    const QString path = Path("closed.csv");
    Prompts.Paths.push_back(path);
    Control<QAction>(*Form, "MenuStartRecording")->trigger();
    Ticks(17);
    ASSERT_EQ(ReadBytes(path), LogHeader() + "\n") << "less than a second: nothing written yet";
    // The sign in the status bar counts the rows taken.
    const QString sign = Control<QLabel>(*Form, "LabelRecording")->text();
    const std::int64_t rows = sign.mid(sign.lastIndexOf(QLatin1Char(' ')) + 1).toLongLong();
    ASSERT_GE(rows, 2);
    Form->close();
    const LogData log = ReadLog(ReadBytes(path));
    EXPECT_EQ(log.BadRows, 0);
    EXPECT_EQ(static_cast<std::int64_t>(log.Rows.size()), rows);
    EXPECT_TRUE(Prompts.Messages.isEmpty());
}

TEST_F(RideLogWindowTest, TheTimePerCellIsShownOverTheMapAndCopiedWithItsAxes) {
    ServoOneWithAllRows();
    const QString path = WriteRide("ride.csv", {{4000, 30, 300, 0}, {4000, 30, 400, 0}, {8000, 60, 2500, 0},
                                                {1000, 0, 0, 0}});
    EXPECT_FALSE(Control<QAction>(*Form, "MenuCellTimes")->isEnabled()) << "no log yet";
    OpenLog(path);
    ASSERT_TRUE(Control<QAction>(*Form, "MenuCellTimes")->isEnabled());
    Control<QAction>(*Form, "MenuCellTimes")->trigger();
    ASSERT_TRUE(Find<CellTimesOverlay>(*Form, "CellTimesOverlay")->isVisible());
    // Over the map's fields, letting clicks through to them.
    EXPECT_TRUE(Find<CellTimesOverlay>(*Form, "CellTimesOverlay")->geometry().contains(Control<TEdit>(*Form, "EditMap5_4")->geometry()));
    QTest::mouseClick(Control<TEdit>(*Form, "EditMap2_2"), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), Control<TEdit>(*Form, "EditMap2_2"));

    Control<QAction>(*Form, "MenuCopyCellTimes")->trigger();
    const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 12) << "the axis, ten rows, the last line end";
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("TP \\ RPM\t"))) << lines[0].toStdString();
    const QStringList row30 = lines[6].split(QLatin1Char('\t'));
    ASSERT_EQ(row30.size(), 16);
    EXPECT_EQ(row30[0], QStringLiteral("30%"));
    EXPECT_EQ(row30[5], QStringLiteral("0.7")) << lines[6].toStdString();
    EXPECT_EQ(row30[6], QString()) << "never visited: empty";
    // A gap of 2.5 s counts as one second.
    EXPECT_EQ(lines[8].split(QLatin1Char('\t')).value(10), QStringLiteral("1.0")) << lines[8].toStdString();
    // The last row is visited, with no time.
    EXPECT_EQ(lines[1].split(QLatin1Char('\t')).value(2), QStringLiteral("0.0")) << lines[1].toStdString();
    EXPECT_EQ(Control<QStatusBar>(*Form, "StatusBar1")->currentMessage(), QStringLiteral("Log time per cell of servo 1 copied"));

    // Off the servo pages the overlay goes; back on them it returns.
    ClickTab(0);
    EXPECT_FALSE(Find<CellTimesOverlay>(*Form, "CellTimesOverlay")->isVisible());
    ClickTab(2);
    EXPECT_TRUE(Find<CellTimesOverlay>(*Form, "CellTimesOverlay")->isVisible());
    Control<QAction>(*Form, "MenuCloseLog")->trigger();
    EXPECT_FALSE(Find<CellTimesOverlay>(*Form, "CellTimesOverlay")->isVisible());
    EXPECT_FALSE(Control<QAction>(*Form, "MenuCellTimes")->isChecked());
}

TEST_F(RideLogWindowTest, LogsThatAreNotLogsAreToldApart) {
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* says;
    };
    const QByteArray header = QByteArray::fromStdString(LogHeader()) + '\n';
    const std::vector<Case> cases = {
        {"garbage.csv", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "holds no usable row of a ride log."},
        {"empty.csv", QByteArray(), "holds no usable row of a ride log."},
        {"header.csv", header, "holds no usable row of a ride log."},
        {"norpm.csv", "time,tp_percent\n2026-12-09T07:35:58.123Z,20\n", "holds no usable row of a ride log.\nThe header has no column rpm."},
    };
    for (const Case& c : cases) {
        QFile file(Path(c.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes);
        file.close();
        Prompts.Messages.clear();
        OpenLog(file.fileName());
        ASSERT_EQ(Prompts.Messages.size(), 1) << c.name;
        EXPECT_TRUE(Prompts.Messages[0].contains(QString::fromUtf8(c.says))) << Prompts.Messages[0].toStdString();
        EXPECT_FALSE(Form->Replaying()) << c.name;
    }
    Prompts.Messages.clear();
    OpenLog(Path("missing.csv"));
    ASSERT_EQ(Prompts.Messages.size(), 1);
    EXPECT_TRUE(Prompts.Messages[0].startsWith(QDir::toNativeSeparators(Path("missing.csv")) +
                                               QStringLiteral(" could not be opened\n")));

    // Bad lines among good rows: the replay starts and says how many it skipped.
    const QString path = WriteRide("some.csv", {{1000, 0, 330, 0}, {2000, 10, 330, 0}});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("not a row\n1,2,3\n");
    file.close();
    Prompts.Messages.clear();
    OpenLog(path);
    EXPECT_TRUE(Prompts.Messages.isEmpty());
    ASSERT_TRUE(Form->Replaying());
    const auto* summary = Find<ReplayWindow>(*Form, "ReplayWindow")->findChild<QLabel*>(QStringLiteral("ReplaySummary"));
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->text(), QStringLiteral("Lines skipped, not rows of a ride log: 2 (the first is line 4)."));
}

TEST_F(RideLogWindowTest, ReadingALargeLogCanBeCancelled) {
    const QString path = Path("big.csv");
    {
        StringSink sink;
        LogWriter writer(sink);
        for (int i = 0; i < 30000; ++i)
            writer.Add(Status(1000 + i % 5000, i % 100), 1'796'801'758'123LL + 330LL * i, 330LL * i);
        writer.Flush();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(sink.Bytes.data(), static_cast<qint64>(sink.Bytes.size()));
    }
    int pieces = 0;
    const LoadedLog cancelled = LoadLogFile(path, [&](std::int64_t done, std::int64_t size) {
        EXPECT_LE(done, size);
        return ++pieces < 2;
    });
    EXPECT_EQ(cancelled.Outcome, LogLoad::Cancelled);
    EXPECT_EQ(pieces, 2);
    const LoadedLog whole = LoadLogFile(path);
    EXPECT_EQ(whole.Outcome, LogLoad::Loaded);
    EXPECT_EQ(whole.Data.Rows.size(), 30000u);
}

TEST_F(RideLogWindowTest, TheLiveChartFollowsTheFramesPausesAndShowsTheReplay) {
    Model.Unit.HoldEngine(5000, 40);
    Ticks(60); // the window's look at the unit's set first, then frames
    Control<QAction>(*Form, "MenuLiveChart")->trigger();
    LiveChartWindow* chart = Find<LiveChartWindow>(*Form, "LiveChartWindow");
    ASSERT_TRUE(chart && chart->isVisible());
    EXPECT_EQ(chart->SpanSeconds(), 60);
    const int before = chart->Graph(0)->dataCount();
    EXPECT_GE(before, 4) << "the frames before it opened are there";
    EXPECT_EQ(chart->Graph(0)->data()->at(before - 1)->value, 5000.0);
    EXPECT_EQ(chart->Graph(4)->data()->at(before - 1)->value, Form->Link().LastStatusFrame()->ServoMeasured[0])
        << "servo 1 measured";
    Ticks(12);
    EXPECT_GT(chart->Graph(0)->dataCount(), before);

    // Paused, the view stays where the user zooms it while frames keep coming; unpaused it follows
    // the frames again over the span.
    QTest::mouseClick(chart->PauseButton(), Qt::LeftButton);
    ASSERT_TRUE(chart->Paused());
    const QPointF middle = chart->Plot()->axisRect()->rect().center();
    QWheelEvent wheel(middle, chart->Plot()->mapToGlobal(middle), QPoint(), QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart->Plot(), &wheel);
    const QCPRange zoomed = chart->Plot()->xAxis->range();
    ASSERT_LT(zoomed.size(), 59.0) << "the wheel zooms the time axis";
    const int count = chart->Graph(0)->dataCount();
    Ticks(12);
    EXPECT_EQ(chart->Plot()->xAxis->range(), zoomed);
    EXPECT_GT(chart->Graph(0)->dataCount(), count);
    QTest::mouseClick(chart->PauseButton(), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(chart->Plot()->xAxis->range().size(), 60.0);

    // A span of ten seconds from the list.
    QComboBox* span = chart->SpanBox();
    span->setFocus();
    QTest::keyClick(span, Qt::Key_Home);
    EXPECT_EQ(chart->SpanSeconds(), 10);
    EXPECT_DOUBLE_EQ(chart->Plot()->xAxis->range().size(), 10.0);

    // A replay shows the whole log with its markers and the cursor at the replay's row.
    OpenLog(WriteRide("ride.csv", {{1000, 0, 330, 0}, {4000, 30, 330, 1}, {8000, 60, 330, 2}, {8000, 60, 0, 0}}));
    EXPECT_TRUE(chart->ShowsLog());
    EXPECT_EQ(chart->Graph(0)->dataCount(), 4);
    EXPECT_EQ(chart->MarkerCount(), 2);
    QTest::mouseClick(Find<ReplayWindow>(*Form, "ReplayWindow")->NextMarkerButton(), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(chart->CursorSeconds(), 0.33);
    Control<QAction>(*Form, "MenuCloseLog")->trigger();
    EXPECT_FALSE(chart->ShowsLog());
    EXPECT_GT(chart->Graph(0)->dataCount(), 4);
}

} // namespace
} // namespace zevo

namespace zevo {
namespace {

using testing::Control;
using testing::Find;

QDockWidget* DockOf(QWidget* window) {
    return window ? qobject_cast<QDockWidget*>(window->parentWidget()) : nullptr;
}

// The tool windows sit in docks to the right of the design's area and never cover it; closing the
// replay's dock hides only its controls: the replay goes on, and Replay controls shows them again.
TEST_F(RideLogWindowTest, ToolWindowsAreDocksBesideTheMapAndTheReplayOutlivesItsDock) {
    const QString path = WriteRide("docked.csv", {{1000, 0, 330, 0}, {4000, 30, 330, 0}, {8000, 60, 330, 0}});
    OpenLog(path);
    Control<QAction>(*Form, "MenuLiveChart")->trigger();
    Control<QAction>(*Form, "MenuServoCurves")->trigger();
    Control<QAction>(*Form, "MenuRestorePoints")->trigger();
    const QRect design = Control<QWidget>(*Form, "ClientScroll")->geometry();
    for (const char* name : {"ReplayWindow", "LiveChartWindow", "ServoCurvesWindow", "RestoreWindow"}) {
        QDockWidget* dock = DockOf(Find<QWidget>(*Form, name));
        ASSERT_NE(dock, nullptr) << name;
        EXPECT_EQ(Form->dockWidgetArea(dock), Qt::RightDockWidgetArea) << name;
        EXPECT_FALSE(dock->isFloating()) << name;
        EXPECT_FALSE(dock->geometry().intersects(design)) << name << " covers the design's area";
    }
    // The chart's dock closed while recording: the recording goes on.
    Prompts.Paths.push_back(Path("kept.csv"));
    Control<QAction>(*Form, "MenuStartRecording")->trigger();
    DockOf(Find<QWidget>(*Form, "LiveChartWindow"))->close();
    EXPECT_TRUE(Control<QLabel>(*Form, "LabelRecording")->isVisible());
    EXPECT_TRUE(Control<QAction>(*Form, "MenuStopRecording")->isEnabled());
    Control<QAction>(*Form, "MenuLiveChart")->trigger();
    EXPECT_TRUE(Find<QWidget>(*Form, "LiveChartWindow")->isVisible()) << "the chart comes back in its dock";

    QDockWidget* replay = DockOf(Find<QWidget>(*Form, "ReplayWindow"));
    replay->close();
    EXPECT_TRUE(replay->isHidden());
    EXPECT_TRUE(Form->Replaying()) << "the replay goes on without its controls";
    EXPECT_TRUE(Control<QLabel>(*Form, "LabelReplay")->isVisible());
    Control<QAction>(*Form, "MenuReplayControls")->trigger();
    EXPECT_FALSE(replay->isHidden());
    EXPECT_TRUE(Find<QWidget>(*Form, "ReplayWindow")->isVisible());
    // Closing the log takes its controls away with it.
    Control<QAction>(*Form, "MenuCloseLog")->trigger();
    EXPECT_TRUE(replay->isHidden());
    EXPECT_FALSE(Control<QAction>(*Form, "MenuReplayControls")->isEnabled());
}

TEST_F(RideLogWindowTest, DockPlacesComeBackAtTheNextStartAndGarbageGivesTheDefaults) {
    Control<QAction>(*Form, "MenuLiveChart")->trigger();
    testing::FloatInFront(Find<QWidget>(*Form, "LiveChartWindow"));
    ASSERT_TRUE(Form->close());
    Form.reset();
    {
        SCOPED_TRACE("the start after the chart was torn off");
        Form = StartShown({QStringLiteral("ENGLISH")});
    }
    // The chart was open at the close: it comes back after the first paint, where it was.
    ASSERT_TRUE(QTest::qWaitFor([this] { return Find<QWidget>(*Form, "LiveChartWindow") != nullptr; }));
    QDockWidget* chart = DockOf(Find<QWidget>(*Form, "LiveChartWindow"));
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([chart] { return chart->isVisible(); }));
    EXPECT_TRUE(chart->isFloating()) << "torn off last time, torn off again";
    // Left on a monitor that is gone by the next start: it comes back wholly on the screen there is.
    chart->move(-5000, -4000);
    ASSERT_TRUE(Form->close());
    Form.reset();
    Form = StartShown({QStringLiteral("ENGLISH")});
    ASSERT_TRUE(QTest::qWaitFor([this] { return Find<QWidget>(*Form, "LiveChartWindow") != nullptr; }));
    chart = DockOf(Find<QWidget>(*Form, "LiveChartWindow"));
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([chart] { return chart->isVisible(); }));
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(chart->frameGeometry()))
        << chart->frameGeometry().x() << "," << chart->frameGeometry().y();
    ASSERT_TRUE(Form->close());

    for (const char* garbage : {"%%%not base64", "AAAA", "////////////////////////////////////////"}) {
        QFile file(Path("ZEVO_v56.ini"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        IniFile ini = IniFile::Parse(file.readAll().toStdString());
        file.close();
        ini.WriteString("VIEW", "Docks", garbage);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray::fromStdString(ini.Serialize()));
        file.close();
        SCOPED_TRACE(garbage);
        Form.reset();
        Form = StartShown({QStringLiteral("ENGLISH")});
        ASSERT_TRUE(QTest::qWaitFor([this] { return Find<QWidget>(*Form, "LiveChartWindow") != nullptr; })) << garbage;
        chart = DockOf(Find<QWidget>(*Form, "LiveChartWindow"));
        ASSERT_NE(chart, nullptr);
        EXPECT_FALSE(chart->isFloating()) << garbage;
        EXPECT_EQ(Form->dockWidgetArea(chart), Qt::RightDockWidgetArea) << garbage;
        ASSERT_TRUE(Form->close());
    }
}

} // namespace
} // namespace zevo
