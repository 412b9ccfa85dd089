#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "app/log_settings.h"
#include "log/cell_times.h"
#include "log/log_format.h"
#include "ui/window_capability.h"

class QAction;
class QLabel;
class QMenu;

namespace zevo {

class CellTimesOverlay;
class LiveChartWindow;
class LogRecorder;
class ReplayWindow;
struct StatusFrame;

// The ride log: recording the status frames into a file, the live chart, the replay of a log against
// the map, and the time the ride spent in each cell.
class RideLog : public QObject, public WindowCapability {
    Q_OBJECT
public:
    // `steadyMs`: a clock in milliseconds that never jumps (the rows' times, the write once a
    // second, the replay's pace); none: the system's monotonic clock.
    RideLog(WindowServices& window, std::function<std::int64_t()> steadyMs);
    ~RideLog() override;

    void ApplyLanguage() override;
    void Tick() override;
    void SetChanged() override;
    void LoadSettings(const IniFile& ini) override;
    void SaveSettings(IniFile& ini) override;
    void Shown() override;
    // The rows still in memory go to the file; nothing asks or tells any more.
    void Close() override;

    // Every status frame the link decodes, whatever the transfer: the recording and the chart.
    void StatusDecoded(const StatusFrame& status);
    // Loads a ride log and replays it; false (having said why) when it holds no row.
    bool OpenLog(const QString& path);
    // A log is loaded: the monitoring labels and the live cell show its rows, not the unit's.
    bool Replaying() const { return ReplayOn; }

private:
    void MenuStartRecordingClick();
    void MenuMarkClick();
    void MenuOpenLogClick();
    void MenuCopyCellTimesClick();
    void ShowRecordingSign();
    void EndRecording();
    void ShowReplayRow(bool rowChanged);
    void EndReplay();
    void ShowLiveChart(bool activate);
    void UpdateLogMenu();
    std::int64_t SteadyMs() const;
    // The time per cell for the shown servo, counted again only when its axes change.
    const CellTimes* CurrentCellTimes();

    QMenu* MenuLog = nullptr;
    QAction* MenuStartRecording = nullptr;
    QAction* MenuStopRecording = nullptr;
    QAction* MenuMark = nullptr;
    QAction* MenuOpenLog = nullptr;
    QAction* MenuCloseLog = nullptr;
    QAction* MenuReplayControls = nullptr;
    QAction* MenuCellTimes = nullptr;
    QAction* MenuCopyCellTimes = nullptr;
    QAction* MenuLiveChart = nullptr;
    QLabel* LabelRecording = nullptr;     // "REC 00:01:23 · 250 rows", red, while recording
    QLabel* LabelReplay = nullptr;        // "REPLAY 00:00:10.3 / 00:05:00.0" while a log is replayed
    LiveChartWindow* LiveChart = nullptr; // built on first use
    ReplayWindow* Replay = nullptr;       // built on first use
    CellTimesOverlay* CellTimesView = nullptr;
    LogSettings LogChoice;
    std::unique_ptr<LogRecorder> Recorder; // the recording, while there is one
    QElapsedTimer SessionClock;
    std::function<std::int64_t()> SteadyClock;
    bool ReplayOn = false;
    bool Closing = false;
    // The last frames of the session, for the live chart (at most its ten minutes).
    std::deque<LogRow> RecentRows;
    int PendingMarker = 0;
    QString RecordingSign;
    struct CountedTimes {
        int Servo = -1;
        std::array<std::uint8_t, RpmPoints> Axis{};
        bool TpEnabled = false;
        CellTimes Times;
    };
    std::optional<CountedTimes> Counted;
};

} // namespace zevo
