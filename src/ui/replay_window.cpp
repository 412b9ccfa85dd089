#include "ui/replay_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "ui/log_qt_text.h"
#include "lang/editing_texts.h"
#include "ui/qt_text.h"

namespace zevo {

namespace {

constexpr double Speeds[] = {0.5, 1, 2, 4};

} // namespace

QString ReplayTimeText(std::int64_t ms) {
    const std::int64_t tenths = std::max<std::int64_t>(0, ms) / 100;
    return QStringLiteral("%1:%2:%3.%4")
        .arg(tenths / 36000, 2, 10, QLatin1Char('0'))
        .arg(tenths / 600 % 60, 2, 10, QLatin1Char('0'))
        .arg(tenths / 10 % 60, 2, 10, QLatin1Char('0'))
        .arg(tenths % 10);
}

ReplayWindow::ReplayWindow(QWidget* owner, std::uint8_t language, std::function<std::int64_t()> steadyMs)
    : QWidget(owner, Qt::Window), Language(language), SteadyMs(std::move(steadyMs)) {
    setObjectName(QStringLiteral("ReplayWindow"));
    auto button = [this](const char* name, QStyle::StandardPixmap icon) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setIcon(style()->standardIcon(icon));
        return b;
    };
    PreviousMarker = button("ReplayPreviousMarker", QStyle::SP_MediaSkipBackward);
    StepBack = button("ReplayStepBack", QStyle::SP_MediaSeekBackward);
    Play = button("ReplayPlay", QStyle::SP_MediaPlay);
    StepForward = button("ReplayStepForward", QStyle::SP_MediaSeekForward);
    NextMarker = button("ReplayNextMarker", QStyle::SP_MediaSkipForward);
    Play->setMinimumWidth(110);
    Speed = new QComboBox(this);
    Speed->setObjectName(QStringLiteral("ReplaySpeed"));
    for (double speed : Speeds)
        Speed->addItem(QStringLiteral("%1×").arg(QLocale().toString(speed)), speed);
    Speed->setCurrentIndex(1);
    SpeedLabel = new QLabel(this);
    SpeedLabel->setBuddy(Speed);
    TimeSlider = new QSlider(Qt::Horizontal, this);
    TimeSlider->setObjectName(QStringLiteral("ReplaySlider"));
    TimeSlider->setMinimumWidth(420);
    Time = new QLabel(this);
    Time->setObjectName(QStringLiteral("ReplayTime"));
    Time->setFont([this] {
        QFont f = font();
        f.setStyleHint(QFont::Monospace);
        f.setFamily(QStringLiteral("monospace"));
        return f;
    }());
    Summary = new QLabel(this);
    Summary->setObjectName(QStringLiteral("ReplaySummary"));
    Summary->setWordWrap(true);

    connect(Play, &QPushButton::clicked, this, &ReplayWindow::PlayOrPause);
    // Each of these stops the play where it is.
    auto move = [this](auto how) {
        return [this, how] {
            if (!Replay)
                return;
            Timer.stop();
            how(*Replay);
            Show();
        };
    };
    connect(StepBack, &QPushButton::clicked, this, move([](ReplayPosition& r) { r.Step(-1); }));
    connect(StepForward, &QPushButton::clicked, this, move([](ReplayPosition& r) { r.Step(1); }));
    connect(PreviousMarker, &QPushButton::clicked, this, move([](ReplayPosition& r) { r.PreviousMarker(); }));
    connect(NextMarker, &QPushButton::clicked, this, move([](ReplayPosition& r) { r.NextMarker(); }));
    connect(Speed, qOverload<int>(&QComboBox::activated), this, [this] {
        if (Replay && Replay->Playing())
            Replay->Play(ChosenSpeed());
    });
    connect(TimeSlider, &QSlider::valueChanged, this, [this](int ms) {
        if (!Replay)
            return;
        Timer.stop();
        Replay->Seek(ms);
        Show();
    });
    Timer.setInterval(StepMs);
    connect(&Timer, &QTimer::timeout, this, &ReplayWindow::Advance);

    auto* buttons = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(PreviousMarker), static_cast<QWidget*>(StepBack),
                       static_cast<QWidget*>(Play), static_cast<QWidget*>(StepForward),
                       static_cast<QWidget*>(NextMarker)})
        buttons->addWidget(w);
    buttons->addSpacing(16);
    buttons->addWidget(SpeedLabel);
    buttons->addWidget(Speed);
    buttons->addStretch(1);
    buttons->addWidget(Time);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TimeSlider);
    layout->addLayout(buttons);
    layout->addWidget(Summary);
    ApplyLanguage(language);
}

void ReplayWindow::Load(std::shared_ptr<const LogData> log, const QString& name, const QString& summary) {
    Timer.stop();
    Data = std::move(log);
    LogName = name;
    Replay.emplace(Data->Rows);
    Summary->setText(summary);
    Summary->setVisible(!summary.isEmpty());
    {
        const QSignalBlocker quiet(TimeSlider);
        const auto duration = static_cast<int>(std::min<std::int64_t>(Replay->DurationMs(), std::numeric_limits<int>::max()));
        TimeSlider->setRange(0, duration);
        // A page of the slider is a tenth of the ride; a step of the keys a second.
        TimeSlider->setPageStep(std::max(1, duration / 10));
        TimeSlider->setSingleStep(1000);
        TimeSlider->setValue(0);
    }
    ApplyLanguage(Language);
    Show();
}

void ReplayWindow::Unload() {
    Timer.stop();
    // The position holds a view of the rows: it goes first.
    Replay.reset();
    Data.reset();
}

void ReplayWindow::ApplyLanguage(std::uint8_t language) {
    Language = language;
    setWindowTitle(LogFilled(LogTextId::ReplayTitle, language, LogName));
    SpeedLabel->setText(LogString(LogTextId::ReplaySpeed, language));
    StepBack->setToolTip(LogString(LogTextId::ReplayStepBack, language));
    StepForward->setToolTip(LogString(LogTextId::ReplayStepForward, language));
    PreviousMarker->setToolTip(LogString(LogTextId::ReplayPreviousMarker, language));
    NextMarker->setToolTip(LogString(LogTextId::ReplayNextMarker, language));
    const bool playing = Replay && Replay->Playing();
    Play->setText(LogString(playing ? LogTextId::ReplayPause : LogTextId::ReplayPlay, language));
    if (Replay)
        Show();
}

double ReplayWindow::ChosenSpeed() const {
    return Speed->currentData().toDouble();
}

void ReplayWindow::PlayOrPause() {
    if (!Replay)
        return;
    if (Replay->Playing()) {
        Replay->Pause();
        Timer.stop();
    } else {
        Replay->Play(ChosenSpeed());
        PlayedUntil = SteadyMs();
        Timer.start();
    }
    Show();
}

void ReplayWindow::Advance() {
    if (!Replay || !Replay->Playing()) {
        Timer.stop();
        return;
    }
    // The time that has passed, not the count of steps: a busy machine that runs the timer late
    // still plays the ride at its speed.
    const std::int64_t now = SteadyMs();
    const std::int64_t before = Replay->PositionMs();
    const bool rowChanged = Replay->Advance(now - PlayedUntil);
    PlayedUntil = now;
    if (!Replay->Playing())
        Timer.stop();
    // Only what shows: another row, a tenth of a second further, or the end.
    if (rowChanged || Replay->PositionMs() / 100 != before / 100 || !Replay->Playing())
        Show(rowChanged);
}

void ReplayWindow::Show(bool rowChanged) {
    if (!Replay)
        return;
    {
        const QSignalBlocker quiet(TimeSlider);
        TimeSlider->setValue(static_cast<int>(std::min<std::int64_t>(Replay->PositionMs(), TimeSlider->maximum())));
    }
    QString time = ReplayTimeText(Replay->PositionMs()) + QStringLiteral(" / ") + ReplayTimeText(Replay->DurationMs());
    if (Replay->Row().Marker > 0)
        time += QStringLiteral(" · ") + LogFilled(LogTextId::ReplayMarker, Language, QString::number(Replay->Row().Marker));
    if (Time->text() != time)
        Time->setText(time);
    const bool playing = Replay->Playing();
    Play->setText(LogString(playing ? LogTextId::ReplayPause : LogTextId::ReplayPlay, Language));
    Play->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    emit Moved(rowChanged);
}

void ReplayWindow::closeEvent(QCloseEvent* event) {
    Timer.stop();
    if (Replay)
        Replay->Pause();
    emit Closed();
    event->accept();
}

} // namespace zevo
