// The ride log: recording the status frames into a file, the live chart, the replay of a log against
// the map, and the time the ride spent in each cell.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QProgressDialog>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include "ui/log_qt_text.h"
#include "link/link_engine.h"
#include "log/cell_times.h"
#include "ui/cell_times_overlay.h"
#include "ui/controls.h"
#include "ui/log_commands.h"
#include "params/parameter_session.h"
#include "link/status_frame.h"
#include "ui/live_chart_window.h"
#include "ui/log_loading.h"
#include "ui/log_recorder.h"
#include "ui/qt_text.h"
#include "ui/replay_window.h"
#include "ui/up_down.h"

namespace zevo {

namespace {

QString Clock(std::int64_t ms) {
    const std::int64_t seconds = std::max<std::int64_t>(0, ms) / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// Logs bigger than this get a progress bar while they load (about two hours of a ride).
constexpr std::int64_t ProgressFromBytes = 8 * LogPieceBytes;

void SignStyle(QLabel* label, const QColor& background) {
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setContentsMargins(6, 0, 6, 0);
    label->hide();
}

} // namespace

std::int64_t RideLog::SteadyMs() const {
    return SteadyClock ? SteadyClock() : SessionClock.elapsed();
}

RideLog::RideLog(WindowServices& window, std::function<std::int64_t()> steadyMs)
    : WindowCapability(window), SteadyClock(std::move(steadyMs)) {
    SessionClock.start();
    QMenu* view = Window.MenuOf(WindowMenu::View);
    MenuLiveChart = view->addAction(QString());
    MenuLiveChart->setObjectName(QStringLiteral("MenuLiveChart"));
    connect(MenuLiveChart, &QAction::triggered, this, [this] { ShowLiveChart(true); });

    MenuLog = view->addMenu(QString());
    MenuLog->setObjectName(QStringLiteral("MenuLog"));
    auto item = [this](const char* name, void (RideLog::*handler)()) {
        QAction* action = MenuLog->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    MenuStartRecording = item("MenuStartRecording", &RideLog::MenuStartRecordingClick);
    MenuStopRecording = item("MenuStopRecording", &RideLog::EndRecording);
    // F11 is free among the design's keys and ours (F6, F12).
    MenuMark = item("MenuMark", &RideLog::MenuMarkClick);
    MenuMark->setShortcut(QKeySequence(Qt::Key_F11));
    MenuLog->addSeparator();
    MenuOpenLog = item("MenuOpenLog", &RideLog::MenuOpenLogClick);
    MenuCloseLog = item("MenuCloseLog", &RideLog::EndReplay);
    MenuReplayControls = MenuLog->addAction(QString());
    MenuReplayControls->setObjectName(QStringLiteral("MenuReplayControls"));
    connect(MenuReplayControls, &QAction::triggered, this, [this] {
        if (ReplayOn)
            Replay->show();
    });
    MenuCellTimes = MenuLog->addAction(QString());
    MenuCellTimes->setObjectName(QStringLiteral("MenuCellTimes"));
    MenuCellTimes->setCheckable(true);
    connect(MenuCellTimes, &QAction::toggled, this, [this](bool on) {
        if (!on)
            return Window.PaintMap();
        QString legend = LogString(LogTextId::CellTimesLegend, Window.Language());
        if (const CellTimes* times = CurrentCellTimes(); times && times->UnknownThrottleMs > 0)
            legend += QStringLiteral("; ") + LogString(LogTextId::CellTimesSensorError, Window.Language()) +
                      QLatin1Char(' ') + Text(SecondsText(times->UnknownThrottleMs)) + QStringLiteral(" s");
        Window.Say(legend);
        Window.PaintMap();
    });
    MenuCopyCellTimes = item("MenuCopyCellTimes", &RideLog::MenuCopyCellTimesClick);

    QStatusBar* bar = Window.MainWindow().statusBar();
    LabelRecording = new QLabel(bar);
    LabelRecording->setObjectName(QStringLiteral("LabelRecording"));
    SignStyle(LabelRecording, QColor(200, 0, 0));
    bar->insertPermanentWidget(0, LabelRecording);
    LabelReplay = new QLabel(bar);
    LabelReplay->setObjectName(QStringLiteral("LabelReplay"));
    SignStyle(LabelReplay, QColor(0, 80, 180));
    bar->insertPermanentWidget(0, LabelReplay);

    CellTimesOverlay::Cells cells{};
    for (int r = 0; r < MapRows; ++r)
        for (int c = 0; c < MapColumns; ++c)
            cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = Window.MapField(r, c);
    CellTimesView = new CellTimesOverlay(Window.MapField(0, 0)->parentWidget(), cells);
    UpdateLogMenu();
}

RideLog::~RideLog() = default;

void RideLog::ApplyLanguage() {
        MenuLiveChart->setText(LogString(LogTextId::MenuLiveChart, Window.Language()));
    MenuLog->setTitle(LogString(LogTextId::MenuLog, Window.Language()));
    MenuStartRecording->setText(LogString(LogTextId::MenuStartRecording, Window.Language()));
    MenuStopRecording->setText(LogString(LogTextId::MenuStopRecording, Window.Language()));
    MenuMark->setText(LogString(LogTextId::MenuMark, Window.Language()));
    MenuOpenLog->setText(LogString(LogTextId::MenuOpenLog, Window.Language()));
    MenuCloseLog->setText(LogString(LogTextId::MenuCloseLog, Window.Language()));
    MenuReplayControls->setText(LogString(LogTextId::MenuReplayControls, Window.Language()));
    MenuCellTimes->setText(LogString(LogTextId::MenuCellTimes, Window.Language()));
    MenuCopyCellTimes->setText(LogString(LogTextId::MenuCopyCellTimes, Window.Language()));
    LabelReplay->setToolTip(LogString(LogTextId::ReplaySignTip, Window.Language()));
    if (LiveChart)
        LiveChart->ApplyLanguage(Window.Language());
    if (Replay)
        Replay->ApplyLanguage(Window.Language());
    RecordingSign.clear();
    ShowRecordingSign();
    if (ReplayOn)
        ShowReplayRow(true);
}

void RideLog::UpdateLogMenu() {
    const bool recording = Recorder != nullptr;
    MenuStartRecording->setEnabled(!recording);
    MenuStopRecording->setEnabled(recording);
    MenuCloseLog->setEnabled(ReplayOn);
    MenuReplayControls->setEnabled(ReplayOn);
    MenuCellTimes->setEnabled(ReplayOn);
    MenuCopyCellTimes->setEnabled(ReplayOn);
}

// ---- every frame -------------------------------------------------------------------------------

void RideLog::StatusDecoded(const StatusFrame& status) {
    const std::int64_t steady = SteadyMs();
    const std::int64_t wall = QDateTime::currentMSecsSinceEpoch();
    if (Recorder)
        Recorder->Add(status, wall, steady);
    RecentRows.push_back(LogRowFrom(status, wall, steady, PendingMarker));
    PendingMarker = 0;
    while (RecentRows.front().ElapsedMs < steady - LiveChartWindow::KeptSeconds * 1000LL)
        RecentRows.pop_front();
    if (LiveChart)
        LiveChart->AddLive(RecentRows.back());
}

void RideLog::Tick() {
    if (Recorder && !Recorder->Tick(SteadyMs())) {
        EndRecording();
        return;
    }
    ShowRecordingSign();
}

// ---- recording ---------------------------------------------------------------------------------

void RideLog::MenuStartRecordingClick() {
    if (Recorder)
        return;
    FileDialogSettings settings;
    settings.DefaultExtension = QStringLiteral("csv");
    settings.Filters = {LogString(LogTextId::LogFilter, Window.Language())};
    settings.PromptOverwrite = true;
    const QString folder = LogChoice.Folder.empty() ? QDir::homePath() : Text(LogChoice.Folder);
    settings.InitialFileName =
        QDir(folder).filePath(QDateTime::currentDateTime().toString(QStringLiteral("'ride-'yyyyMMdd-HHmmss'.csv'")));
    const QString path = Window.Questions()->SaveFileName(&Window.MainWindow(), settings);
    if (path.isEmpty())
        return;
    auto recorder = std::make_unique<LogRecorder>();
    QString reason;
    if (!recorder->Start(path, SteadyMs(), reason)) {
        Window.Questions()->ShowMessage(&Window.MainWindow(), LogFilled(LogTextId::RecordingNotStarted, Window.Language(), {QDir::toNativeSeparators(path)}),
                             reason);
        return;
    }
    Recorder = std::move(recorder);
    PendingMarker = 0;
    LogChoice.Folder = QFileInfo(path).absolutePath().toUtf8().toStdString();
    Window.Say(LogFilled(LogTextId::RecordingStarted, Window.Language(), {QDir::toNativeSeparators(path)}));
    UpdateLogMenu();
    ShowRecordingSign();
}

void RideLog::EndRecording() {
    if (!Recorder)
        return;
    // The recorder is gone before any box opens: the box lets ticks run, which must find no recording.
    std::unique_ptr<LogRecorder> ended = std::move(Recorder);
    PendingMarker = 0; // a mark no frame has carried belongs to no file
    const bool failedBefore = !ended->Recording();
    const bool saved = !failedBefore && ended->Stop();
    UpdateLogMenu();
    ShowRecordingSign();
    const QString path = QDir::toNativeSeparators(ended->Path());
    const QString rows = QLocale().toString(static_cast<qlonglong>(ended->Rows()));
    if (saved) {
        Window.Say(LogFilled(LogTextId::RecordingSaved, Window.Language(), {path, rows}));
        return;
    }
    if (Closing)
        return; // at close nothing asks or tells; what was written is in the file
    Window.Questions()->ShowMessage(&Window.MainWindow(), LogFilled(LogTextId::RecordingFailed, Window.Language(), {path, rows}),
                         ended->FailureReason());
}

void RideLog::ShowRecordingSign() {
    if (!LabelRecording)
        return;
    if (!Recorder) {
        if (!LabelRecording->isHidden())
            LabelRecording->hide();
        RecordingSign.clear();
        return;
    }
    const QString sign =
        LogFilled(LogTextId::RecordingSign, Window.Language(),
                  {Clock(Recorder->ElapsedMs(SteadyMs())), QLocale().toString(static_cast<qlonglong>(Recorder->Rows()))});
    if (sign != RecordingSign) {
        RecordingSign = sign;
        LabelRecording->setText(sign);
        LabelRecording->setToolTip(QDir::toNativeSeparators(Recorder->Path()));
    }
    if (LabelRecording->isHidden())
        LabelRecording->show();
}

void RideLog::MenuMarkClick() {
    if (!Recorder) {
        Window.Say(LogString(LogTextId::MarkerNeedsRecording, Window.Language()));
        return;
    }
    // A second mark before the next frame is the same moment: it keeps the number already given.
    PendingMarker = Recorder->Mark();
    Window.Say(LogFilled(LogTextId::MarkerSet, Window.Language(), {QString::number(PendingMarker)}));
}

// ---- the live chart ----------------------------------------------------------------------------

void RideLog::ShowLiveChart(bool activate) {
    if (!LiveChart) {
        LiveChart = new LiveChartWindow(&Window.MainWindow(), Window.Questions(), [this](const QString& text) { Window.Say(text); }, LogChoice.ChartSeconds);
        LiveChart->ApplyLanguage(Window.Language());
        Window.Dock(LiveChart, QStringLiteral("LiveChartDock"), true);
        connect(LiveChart, &LiveChartWindow::SpanChanged, this, [this](int seconds) { LogChoice.ChartSeconds = seconds; });
    }
    if (ReplayOn) {
        LiveChart->ShowLog(Replay->Log().Rows, Replay->Name());
        LiveChart->SetCursor(Replay->Position().PositionMs());
    } else {
        LiveChart->ShowLive(RecentRows);
    }
    LiveChart->show();
    if (activate) {
        LiveChart->raise();
        LiveChart->activateWindow();
    }
}

// ---- replay ------------------------------------------------------------------------------------

void RideLog::MenuOpenLogClick() {
    FileDialogSettings settings;
    settings.DefaultExtension = QStringLiteral("csv");
    settings.Filters = {LogString(LogTextId::LogFilter, Window.Language()), QStringLiteral("*")};
    if (!LogChoice.Folder.empty())
        settings.InitialFileName = Text(LogChoice.Folder) + QLatin1Char('/');
    const QString path = Window.Questions()->OpenFileName(&Window.MainWindow(), settings);
    if (!path.isEmpty())
        OpenLog(path);
}

bool RideLog::OpenLog(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    std::unique_ptr<QProgressDialog> progress;
    LoadedLog loaded = LoadLogFile(path, [&](std::int64_t done, std::int64_t size) {
        if (size < ProgressFromBytes)
            return true;
        if (!progress) {
            progress = std::make_unique<QProgressDialog>(LogFilled(LogTextId::LogReading, Window.Language(), {shown}),
                                                         LogString(LogTextId::LogCancel, Window.Language()), 0, 1000, &Window.MainWindow());
            progress->setObjectName(QStringLiteral("LogProgress"));
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(300);
        }
        // Setting the value lets the window (and the link's timer) run while the file is read; a
        // close of the session meanwhile ends the reading.
        progress->setValue(static_cast<int>(std::min<std::int64_t>(1000, done * 1000 / std::max<std::int64_t>(1, size))));
        return !progress->wasCanceled() && !Closing;
    });
    progress.reset();
    if (loaded.Outcome == LogLoad::Cancelled || Closing)
        return false;
    if (loaded.Outcome == LogLoad::NotOpened) {
        Window.Questions()->ShowMessage(&Window.MainWindow(), LogFilled(LogTextId::LogNotOpened, Window.Language(), {shown}), loaded.Reason);
        return false;
    }
    LogData& data = loaded.Data;
    QStringList notes;
    for (const std::string& column : data.MissingColumns)
        notes << LogFilled(LogTextId::LogMissingColumns, Window.Language(), {Text(column)});
    if (data.BadRows > 0)
        notes << LogFilled(LogTextId::LogBadRows, Window.Language(),
                           {QLocale().toString(static_cast<qlonglong>(data.BadRows)), QString::number(data.FirstBadLine)});
    if (data.RowLimitReached)
        notes << LogFilled(LogTextId::LogRowLimit, Window.Language(),
                           {QLocale().toString(static_cast<qlonglong>(LogReader::MaxRows))});
    if (data.Rows.empty()) {
        Window.Questions()->ShowMessage(&Window.MainWindow(), LogFilled(LogTextId::LogNoRows, Window.Language(), {shown}), notes.join(QLatin1Char(' ')));
        return false;
    }
    LogChoice.Folder = QFileInfo(path).absolutePath().toUtf8().toStdString();
    const QString name = QFileInfo(path).fileName();
    const auto log = std::make_shared<const LogData>(std::move(data));
    if (!Replay) {
        Replay = new ReplayWindow(&Window.MainWindow(), Window.Language(), [this] { return SteadyMs(); });
        // Its dock's close only hides the controls: the replay goes on, and Log > Close log ends it.
        Window.Dock(Replay, QStringLiteral("ReplayDock"), false);
        connect(Replay, &ReplayWindow::Moved, this, [this](bool rowChanged) {
            if (ReplayOn)
                ShowReplayRow(rowChanged);
        });
        // The window's own close ends the replay once the close has been handled.
        connect(Replay, &ReplayWindow::Closed, this, [this] { QMetaObject::invokeMethod(this, [this] { EndReplay(); }, Qt::QueuedConnection); });
    }
    // The labels as they are are kept before the first recorded row replaces them.
    ReplayOn = true;
    Window.ReplayChanged();
    Counted.reset();
    Replay->Load(log, name, notes.join(QLatin1Char(' ')));
    Replay->show();
    Replay->raise();
    if (LiveChart && LiveChart->isVisible())
        LiveChart->ShowLog(log->Rows, name);
    UpdateLogMenu();
    ShowReplayRow(true);
    Window.Say(LogFilled(LogTextId::LogLoaded, Window.Language(),
                  {name, QLocale().toString(static_cast<qlonglong>(log->Rows.size())), Clock(log->Rows.back().ElapsedMs)}));
    return true;
}

void RideLog::ShowReplayRow(bool rowChanged) {
    const LogRow& row = Replay->Position().Row();
    const QString sign = LogFilled(LogTextId::ReplaySign, Window.Language(),
                                   {ReplayTimeText(Replay->Position().PositionMs()), ReplayTimeText(Replay->Position().DurationMs())});
    if (LabelReplay->text() != sign)
        LabelReplay->setText(sign);
    if (LabelReplay->isHidden())
        LabelReplay->show();
    if (LiveChart && LiveChart->ShowsLog())
        LiveChart->SetCursor(Replay->Position().PositionMs());
    Window.ShowReplayed(row, rowChanged);
}

void RideLog::EndReplay() {
    if (!ReplayOn)
        return;
    ReplayOn = false;
    Counted.reset();
    Replay->Unload();
    if (!Replay->isHidden())
        Replay->hide();
    LabelReplay->hide();
    {
        const QSignalBlocker quiet(MenuCellTimes);
        MenuCellTimes->setChecked(false);
    }
    // The unit's values again as it last sent them, greyed if it has gone silent meanwhile; or the
    // labels as they were before the replay when it has sent none.
    Window.ReplayChanged();
    if (LiveChart)
        LiveChart->ShowLive(RecentRows);
    UpdateLogMenu();
}

// ---- time per cell -----------------------------------------------------------------------------

const CellTimes* RideLog::CurrentCellTimes() {
    const int servo = Window.ShownServo();
    if (!ReplayOn || servo < 0)
        return nullptr;
    std::array<std::uint8_t, RpmPoints> axis{};
    for (int c = 0; c < RpmPoints; ++c)
        axis[static_cast<std::size_t>(c)] = Window.SetOnScreen().Image.RpmAxis(servo, c);
    const bool tpEnabled = Window.SetOnScreen().Image.TpEnable(servo) != 0;
    // Counted again only when the servo or its axes change, not with every tick.
    if (!Counted || Counted->Servo != servo || Counted->Axis != axis || Counted->TpEnabled != tpEnabled)
        Counted = CountedTimes{servo, axis, tpEnabled, CountCellTimes(Replay->Log().Rows, Window.SetOnScreen().Image, servo)};
    return &Counted->Times;
}

void RideLog::SetChanged() {
    const CellTimes* times = MenuCellTimes->isChecked() ? CurrentCellTimes() : nullptr;
    if (!times) {
        if (!CellTimesView->isHidden())
            CellTimesView->hide();
        return;
    }
    CellTimesView->Show(*times, Window.LiveCell());
}

void RideLog::MenuCopyCellTimesClick() {
    if (!ReplayOn) {
        Window.Say(LogString(LogTextId::CellTimesNeedLog, Window.Language()));
        return;
    }
    const CellTimes* times = CurrentCellTimes();
    if (!times) {
        Window.Say(LogString(LogTextId::CellTimesOnServoPages, Window.Language()));
        return;
    }
    const int servo = Window.ShownServo();
    QString table = Text(CellTimesTable(*times, Window.SetOnScreen().Image, servo));
    // Time in no row: the throttle sensor in error while the map follows the throttle.
    if (times->UnknownThrottleMs > 0)
        table += LogString(LogTextId::CellTimesSensorError, Window.Language()) + QLatin1Char('\t') +
                 Text(SecondsText(times->UnknownThrottleMs)) + QLatin1Char('\n');
    QGuiApplication::clipboard()->setText(table);
    Window.Say(LogFilled(LogTextId::CellTimesCopied, Window.Language(), {QString::number(servo + 1)}));
}

// ---- the life cycle ----------------------------------------------------------------------------

void RideLog::LoadSettings(const IniFile& ini) {
    LogChoice = ReadLogSettings(ini);
}

void RideLog::SaveSettings(IniFile& ini) {
    // Open, if perhaps on a tab behind another dock.
    LogChoice.LiveChart = LiveChart && !LiveChart->isHidden();
    WriteLogSettings(ini, LogChoice);
}

void RideLog::Shown() {
    // The chart left open last time comes back once the main window has painted.
    if (LogChoice.LiveChart)
        QTimer::singleShot(0, this, [this] { ShowLiveChart(false); });
}

void RideLog::Close() {
    Closing = true;
    EndRecording();
}

} // namespace zevo
