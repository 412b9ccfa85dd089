// The ride log: recording the status frames into a file, the live chart, the replay of a log against
// the map, and the time the ride spent in each cell.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMenu>
#include <QProgressDialog>
#include <QScreen>
#include <QStatusBar>

#include "ui/log_qt_text.h"
#include "link/link_engine.h"
#include "log/cell_times.h"
#include "ui/cell_times_overlay.h"
#include "ui/controls.h"
#include "ui/form_hlav.h"
#include "ui/live_chart_window.h"
#include "ui/log_loading.h"
#include "ui/log_recorder.h"
#include "ui/qt_text.h"
#include "ui/replay_window.h"
#include "ui/window_link_view.h"

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

std::int64_t TFormHlav::SteadyMs() const {
    return SteadyClock ? SteadyClock() : SessionClock.elapsed();
}

void TFormHlav::BuildLogCommands() {
    SessionClock.start();
    QMenu* view = MenuOf(WindowMenu::View);
    MenuLiveChart = view->addAction(QString());
    MenuLiveChart->setObjectName(QStringLiteral("MenuLiveChart"));
    connect(MenuLiveChart, &QAction::triggered, this, &TFormHlav::MenuLiveChartClick);

    MenuLog = view->addMenu(QString());
    MenuLog->setObjectName(QStringLiteral("MenuLog"));
    auto item = [this](const char* name, void (TFormHlav::*handler)()) {
        QAction* action = MenuLog->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    MenuStartRecording = item("MenuStartRecording", &TFormHlav::MenuStartRecordingClick);
    MenuStopRecording = item("MenuStopRecording", &TFormHlav::MenuStopRecordingClick);
    // F11 is free among the design's keys and ours (F6, F12).
    MenuMark = item("MenuMark", &TFormHlav::MenuMarkClick);
    MenuMark->setShortcut(QKeySequence(Qt::Key_F11));
    MenuLog->addSeparator();
    MenuOpenLog = item("MenuOpenLog", &TFormHlav::MenuOpenLogClick);
    MenuCloseLog = item("MenuCloseLog", &TFormHlav::MenuCloseLogClick);
    MenuCellTimes = MenuLog->addAction(QString());
    MenuCellTimes->setObjectName(QStringLiteral("MenuCellTimes"));
    MenuCellTimes->setCheckable(true);
    connect(MenuCellTimes, &QAction::toggled, this, [this](bool on) {
        if (!on)
            return PaintMap();
        QString legend = LogString(LogTextId::CellTimesLegend, LanguageIndex);
        if (const CellTimes* times = CurrentCellTimes(); times && times->UnknownThrottleMs > 0)
            legend += QStringLiteral("; ") + LogString(LogTextId::CellTimesSensorError, LanguageIndex) +
                      QLatin1Char(' ') + Text(SecondsText(times->UnknownThrottleMs)) + QStringLiteral(" s");
        Say(legend);
        PaintMap();
    });
    MenuCopyCellTimes = item("MenuCopyCellTimes", &TFormHlav::MenuCopyCellTimesClick);

    LabelRecording = new QLabel(StatusBar1);
    LabelRecording->setObjectName(QStringLiteral("LabelRecording"));
    SignStyle(LabelRecording, QColor(200, 0, 0));
    StatusBar1->insertPermanentWidget(0, LabelRecording);
    LabelReplay = new QLabel(StatusBar1);
    LabelReplay->setObjectName(QStringLiteral("LabelReplay"));
    SignStyle(LabelReplay, QColor(0, 80, 180));
    StatusBar1->insertPermanentWidget(0, LabelReplay);

    CellTimesOverlay::Cells cells{};
    for (int r = 0; r < MapRows; ++r)
        for (int c = 0; c < MapColumns; ++c)
            cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
                EditMap[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
    CellTimesView = new CellTimesOverlay(GroupBoxServo, cells);
    UpdateLogMenu();
}

void TFormHlav::ApplyLogCaptions() {
    if (!MenuLog)
        return;
    MenuLiveChart->setText(LogString(LogTextId::MenuLiveChart, LanguageIndex));
    MenuLog->setTitle(LogString(LogTextId::MenuLog, LanguageIndex));
    MenuStartRecording->setText(LogString(LogTextId::MenuStartRecording, LanguageIndex));
    MenuStopRecording->setText(LogString(LogTextId::MenuStopRecording, LanguageIndex));
    MenuMark->setText(LogString(LogTextId::MenuMark, LanguageIndex));
    MenuOpenLog->setText(LogString(LogTextId::MenuOpenLog, LanguageIndex));
    MenuCloseLog->setText(LogString(LogTextId::MenuCloseLog, LanguageIndex));
    MenuCellTimes->setText(LogString(LogTextId::MenuCellTimes, LanguageIndex));
    MenuCopyCellTimes->setText(LogString(LogTextId::MenuCopyCellTimes, LanguageIndex));
    LabelReplay->setToolTip(LogString(LogTextId::ReplaySignTip, LanguageIndex));
    if (LiveChart)
        LiveChart->ApplyLanguage(LanguageIndex);
    if (Replay)
        Replay->ApplyLanguage(LanguageIndex);
    RecordingSign.clear();
    ShowRecordingSign();
    if (ReplayOn)
        ShowReplayRow(true);
}

void TFormHlav::UpdateLogMenu() {
    const bool recording = Recorder != nullptr;
    MenuStartRecording->setEnabled(!recording);
    MenuStopRecording->setEnabled(recording);
    MenuCloseLog->setEnabled(ReplayOn);
    MenuCellTimes->setEnabled(ReplayOn);
    MenuCopyCellTimes->setEnabled(ReplayOn);
}

// ---- every frame -------------------------------------------------------------------------------

void TFormHlav::StatusDecoded(const StatusFrame& status) {
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

void TFormHlav::LogTick() {
    if (Recorder && !Recorder->Tick(SteadyMs())) {
        EndRecording();
        return;
    }
    ShowRecordingSign();
}

// ---- recording ---------------------------------------------------------------------------------

void TFormHlav::MenuStartRecordingClick() {
    if (Recorder)
        return;
    FileDialogSettings settings;
    settings.DefaultExtension = QStringLiteral("csv");
    settings.Filters = {LogString(LogTextId::LogFilter, LanguageIndex)};
    settings.PromptOverwrite = true;
    const QString folder = LogChoice.Folder.empty() ? QDir::homePath() : Text(LogChoice.Folder);
    settings.InitialFileName =
        QDir(folder).filePath(QDateTime::currentDateTime().toString(QStringLiteral("'ride-'yyyyMMdd-HHmmss'.csv'")));
    const QString path = Prompts->SaveFileName(this, settings);
    if (path.isEmpty())
        return;
    auto recorder = std::make_unique<LogRecorder>();
    QString reason;
    if (!recorder->Start(path, SteadyMs(), reason)) {
        Prompts->ShowMessage(this, LogFilled(LogTextId::RecordingNotStarted, LanguageIndex, {QDir::toNativeSeparators(path)}),
                             reason);
        return;
    }
    Recorder = std::move(recorder);
    PendingMarker = 0;
    LogChoice.Folder = QFileInfo(path).absolutePath().toUtf8().toStdString();
    Say(LogFilled(LogTextId::RecordingStarted, LanguageIndex, {QDir::toNativeSeparators(path)}));
    UpdateLogMenu();
    ShowRecordingSign();
}

void TFormHlav::MenuStopRecordingClick() {
    EndRecording();
}

void TFormHlav::EndRecording() {
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
        Say(LogFilled(LogTextId::RecordingSaved, LanguageIndex, {path, rows}));
        return;
    }
    if (Closed)
        return; // at close nothing asks or tells; what was written is in the file
    Prompts->ShowMessage(this, LogFilled(LogTextId::RecordingFailed, LanguageIndex, {path, rows}),
                         ended->FailureReason());
}

void TFormHlav::ShowRecordingSign() {
    if (!LabelRecording)
        return;
    if (!Recorder) {
        if (!LabelRecording->isHidden())
            LabelRecording->hide();
        RecordingSign.clear();
        return;
    }
    const QString sign =
        LogFilled(LogTextId::RecordingSign, LanguageIndex,
                  {Clock(Recorder->ElapsedMs(SteadyMs())), QLocale().toString(static_cast<qlonglong>(Recorder->Rows()))});
    if (sign != RecordingSign) {
        RecordingSign = sign;
        LabelRecording->setText(sign);
        LabelRecording->setToolTip(QDir::toNativeSeparators(Recorder->Path()));
    }
    if (LabelRecording->isHidden())
        LabelRecording->show();
}

void TFormHlav::MenuMarkClick() {
    if (!Recorder) {
        Say(LogString(LogTextId::MarkerNeedsRecording, LanguageIndex));
        return;
    }
    // A second mark before the next frame is the same moment: it keeps the number already given.
    PendingMarker = Recorder->Mark();
    Say(LogFilled(LogTextId::MarkerSet, LanguageIndex, {QString::number(PendingMarker)}));
}

// ---- the live chart ----------------------------------------------------------------------------

void TFormHlav::MenuLiveChartClick() {
    ShowLiveChart(true);
}

void TFormHlav::ShowLiveChart(bool activate) {
    if (!LiveChart) {
        LiveChart = new LiveChartWindow(this, Prompts, [this](const QString& text) { Say(text); }, LogChoice.ChartSeconds);
        LiveChart->ApplyLanguage(LanguageIndex);
        connect(LiveChart, &LiveChartWindow::SpanChanged, this, [this](int seconds) { LogChoice.ChartSeconds = seconds; });
    }
    if (ReplayOn) {
        LiveChart->ShowLog(Replay->Log().Rows, Replay->Name());
        LiveChart->SetCursor(Replay->Position().PositionMs());
    } else {
        LiveChart->ShowLive(RecentRows);
    }
    const bool first = LiveChart->isHidden() && !LiveChartPlaced;
    LiveChart->show();
    // Placed once shown: a window manager places a new window by its own rules when it maps it.
    if (first) {
        // Below the main window's title bar: the window manager frames the chart only after this
        // move, and a frame added above the top of the screen would hide the chart's own title.
        const QPoint place = PlaceBeside(*this, *LiveChart);
        LiveChart->move(place.x(), std::max(place.y(), frameGeometry().top() + 40));
        LiveChartPlaced = true;
    }
    if (activate) {
        LiveChart->raise();
        LiveChart->activateWindow();
    }
}

// ---- replay ------------------------------------------------------------------------------------

void TFormHlav::MenuOpenLogClick() {
    FileDialogSettings settings;
    settings.DefaultExtension = QStringLiteral("csv");
    settings.Filters = {LogString(LogTextId::LogFilter, LanguageIndex), QStringLiteral("*")};
    if (!LogChoice.Folder.empty())
        settings.InitialFileName = Text(LogChoice.Folder) + QLatin1Char('/');
    const QString path = Prompts->OpenFileName(this, settings);
    if (!path.isEmpty())
        OpenLog(path);
}

bool TFormHlav::OpenLog(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    std::unique_ptr<QProgressDialog> progress;
    LoadedLog loaded = LoadLogFile(path, [&](std::int64_t done, std::int64_t size) {
        if (size < ProgressFromBytes)
            return true;
        if (!progress) {
            progress = std::make_unique<QProgressDialog>(LogFilled(LogTextId::LogReading, LanguageIndex, {shown}),
                                                         LogString(LogTextId::LogCancel, LanguageIndex), 0, 1000, this);
            progress->setObjectName(QStringLiteral("LogProgress"));
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(300);
        }
        // Setting the value lets the window (and the link's timer) run while the file is read; a
        // close of the session meanwhile ends the reading.
        progress->setValue(static_cast<int>(std::min<std::int64_t>(1000, done * 1000 / std::max<std::int64_t>(1, size))));
        return !progress->wasCanceled() && !Closed;
    });
    progress.reset();
    if (loaded.Outcome == LogLoad::Cancelled || Closed)
        return false;
    if (loaded.Outcome == LogLoad::NotOpened) {
        Prompts->ShowMessage(this, LogFilled(LogTextId::LogNotOpened, LanguageIndex, {shown}), loaded.Reason);
        return false;
    }
    LogData& data = loaded.Data;
    QStringList notes;
    for (const std::string& column : data.MissingColumns)
        notes << LogFilled(LogTextId::LogMissingColumns, LanguageIndex, {Text(column)});
    if (data.BadRows > 0)
        notes << LogFilled(LogTextId::LogBadRows, LanguageIndex,
                           {QLocale().toString(static_cast<qlonglong>(data.BadRows)), QString::number(data.FirstBadLine)});
    if (data.RowLimitReached)
        notes << LogFilled(LogTextId::LogRowLimit, LanguageIndex,
                           {QLocale().toString(static_cast<qlonglong>(LogReader::MaxRows))});
    if (data.Rows.empty()) {
        Prompts->ShowMessage(this, LogFilled(LogTextId::LogNoRows, LanguageIndex, {shown}), notes.join(QLatin1Char(' ')));
        return false;
    }
    LogChoice.Folder = QFileInfo(path).absolutePath().toUtf8().toStdString();
    const QString name = QFileInfo(path).fileName();
    const auto log = std::make_shared<const LogData>(std::move(data));
    if (!Replay) {
        Replay = new ReplayWindow(this, LanguageIndex, [this] { return SteadyMs(); });
        connect(Replay, &ReplayWindow::Moved, this, [this](bool rowChanged) {
            if (ReplayOn)
                ShowReplayRow(rowChanged);
        });
        // The window's own close ends the replay once the close has been handled.
        connect(Replay, &ReplayWindow::Closed, this, [this] { QMetaObject::invokeMethod(this, [this] { EndReplay(); }, Qt::QueuedConnection); });
    }
    // The labels as they are are kept before the first recorded row replaces them.
    ReplayOn = true;
    View->ReplayChanged();
    Counted.reset();
    Replay->Load(log, name, notes.join(QLatin1Char(' ')));
    if (Replay->isHidden()) {
        Replay->adjustSize();
        // Under the main window where the screen has room, else over its lower part.
        const QRect main = frameGeometry();
        const QScreen* screen = this->screen();
        const QRect room = screen ? screen->availableGeometry() : main;
        QPoint place(main.left(), main.bottom() + 1);
        if (place.y() + Replay->height() > room.bottom())
            place.setY(std::max(room.top(), room.bottom() - Replay->height() - 40));
        Replay->move(place);
    }
    Replay->show();
    Replay->raise();
    if (LiveChart && LiveChart->isVisible())
        LiveChart->ShowLog(log->Rows, name);
    UpdateLogMenu();
    ShowReplayRow(true);
    Say(LogFilled(LogTextId::LogLoaded, LanguageIndex,
                  {name, QLocale().toString(static_cast<qlonglong>(log->Rows.size())), Clock(log->Rows.back().ElapsedMs)}));
    return true;
}

bool TFormHlav::Replaying() const {
    return ReplayOn;
}

void TFormHlav::ShowReplayRow(bool rowChanged) {
    const LogRow& row = Replay->Position().Row();
    if (rowChanged)
        View->ShowCaptions(ComposeTelemetryOf(row, {Image.ServoEnable(0) != 0, Image.ServoEnable(1) != 0}, LanguageIndex));
    const QString sign = LogFilled(LogTextId::ReplaySign, LanguageIndex,
                                   {ReplayTimeText(Replay->Position().PositionMs()), ReplayTimeText(Replay->Position().DurationMs())});
    if (LabelReplay->text() != sign)
        LabelReplay->setText(sign);
    if (LabelReplay->isHidden())
        LabelReplay->show();
    if (LiveChart && LiveChart->ShowsLog())
        LiveChart->SetCursor(Replay->Position().PositionMs());
    Position.ReplayReading(ReadingOf(row));
    // The live cell follows at once, not only with the link's next tick.
    if (rowChanged && ShownServo() >= 0)
        ShowLive();
}

void TFormHlav::MenuCloseLogClick() {
    EndReplay();
}

void TFormHlav::EndReplay() {
    if (!ReplayOn)
        return;
    ReplayOn = false;
    Counted.reset();
    Replay->Unload();
    if (Replay->isVisible())
        Replay->hide();
    LabelReplay->hide();
    {
        const QSignalBlocker quiet(MenuCellTimes);
        MenuCellTimes->setChecked(false);
    }
    // The unit's values again as it last sent them, greyed if it has gone silent meanwhile; or the
    // labels as they were before the replay when it has sent none.
    View->ReplayChanged();
    if (LiveChart)
        LiveChart->ShowLive(RecentRows);
    UpdateLogMenu();
    Position.EndReplay();
    PaintMap();
}

// ---- time per cell -----------------------------------------------------------------------------

const CellTimes* TFormHlav::CurrentCellTimes() {
    const int servo = ShownServo();
    if (!ReplayOn || servo < 0)
        return nullptr;
    std::array<std::uint8_t, RpmPoints> axis{};
    for (int c = 0; c < RpmPoints; ++c)
        axis[static_cast<std::size_t>(c)] = Image.RpmAxis(servo, c);
    const bool tpEnabled = Image.TpEnable(servo) != 0;
    // Counted again only when the servo or its axes change, not with every tick.
    if (!Counted || Counted->Servo != servo || Counted->Axis != axis || Counted->TpEnabled != tpEnabled)
        Counted = CountedTimes{servo, axis, tpEnabled, CountCellTimes(Replay->Log().Rows, Image, servo)};
    return &Counted->Times;
}

void TFormHlav::PaintCellTimes() {
    if (!CellTimesView)
        return;
    const CellTimes* times = MenuCellTimes->isChecked() ? CurrentCellTimes() : nullptr;
    if (!times) {
        if (!CellTimesView->isHidden())
            CellTimesView->hide();
        return;
    }
    CellTimesView->Show(*times, LiveCell());
}

void TFormHlav::MenuCopyCellTimesClick() {
    if (!ReplayOn) {
        Say(LogString(LogTextId::CellTimesNeedLog, LanguageIndex));
        return;
    }
    const CellTimes* times = CurrentCellTimes();
    if (!times) {
        Say(LogString(LogTextId::CellTimesOnServoPages, LanguageIndex));
        return;
    }
    const int servo = ShownServo();
    QString table = Text(CellTimesTable(*times, Image, servo));
    // Time in no row: the throttle sensor in error while the map follows the throttle.
    if (times->UnknownThrottleMs > 0)
        table += LogString(LogTextId::CellTimesSensorError, LanguageIndex) + QLatin1Char('\t') +
                 Text(SecondsText(times->UnknownThrottleMs)) + QLatin1Char('\n');
    QGuiApplication::clipboard()->setText(table);
    Say(LogFilled(LogTextId::CellTimesCopied, LanguageIndex, {QString::number(servo + 1)}));
}

} // namespace zevo
