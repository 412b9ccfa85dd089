#pragma once
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "log/log_reader.h"
#include "log/replay.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace zevo {

// The controls of a replay, in a small window of its own: a time slider, play and pause at four
// speeds, a frame back and forward, the markers before and after. It owns the log being replayed
// and says whenever another row is on show.
class ReplayWindow : public QWidget {
    Q_OBJECT
public:
    // `steadyMs`: the clock the play follows (milliseconds that never jump).
    ReplayWindow(QWidget* owner, std::uint8_t language, std::function<std::int64_t()> steadyMs);

    // The log to replay (at least one row), from its first row, paused.
    void Load(std::shared_ptr<const LogData> log, const QString& name, const QString& summary);
    // The replay is over: the play stops and the log is let go.
    void Unload();
    bool Loaded() const { return Replay.has_value(); }
    void ApplyLanguage(std::uint8_t language);

    const LogData& Log() const { return *Data; }
    const ReplayPosition& Position() const { return *Replay; }
    const QString& Name() const { return LogName; }

    // Real time between the play's steps; the position follows the clock, not the count of steps.
    static constexpr int StepMs = 40;

    QSlider* Slider() const { return TimeSlider; }
    QPushButton* PlayButton() const { return Play; }
    QPushButton* StepBackButton() const { return StepBack; }
    QPushButton* StepForwardButton() const { return StepForward; }
    QPushButton* PreviousMarkerButton() const { return PreviousMarker; }
    QPushButton* NextMarkerButton() const { return NextMarker; }
    QComboBox* SpeedBox() const { return Speed; }
    QLabel* TimeLabel() const { return Time; }

signals:
    // The position moved; `rowChanged`: another row is on show.
    void Moved(bool rowChanged);
    // The user closed the window: the replay is over.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void PlayOrPause();
    void Advance();
    void Show(bool rowChanged = true);
    double ChosenSpeed() const;

    std::uint8_t Language = 0;
    std::function<std::int64_t()> SteadyMs;
    std::int64_t PlayedUntil = 0; // the clock at the last step of the play
    std::shared_ptr<const LogData> Data;
    std::optional<ReplayPosition> Replay;
    QString LogName;
    QTimer Timer;
    QSlider* TimeSlider = nullptr;
    QPushButton* Play = nullptr;
    QPushButton* StepBack = nullptr;
    QPushButton* StepForward = nullptr;
    QPushButton* PreviousMarker = nullptr;
    QPushButton* NextMarker = nullptr;
    QComboBox* Speed = nullptr;
    QLabel* SpeedLabel = nullptr;
    QLabel* Time = nullptr;
    QLabel* Summary = nullptr;
};

// "01:02:03.4": a time on the log's clock for a person.
QString ReplayTimeText(std::int64_t ms);

} // namespace zevo
