#pragma once
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <vector>

#include "log/log_format.h"

class QComboBox;
class QCPAbstractItem;
class QCPAxisRect;
class QCPGraph;
class QCPLegend;
class QCPItemStraightLine;
class QCustomPlot;
class QPushButton;

namespace zevo {

class Prompter;

// Telemetry over time, in a window of its own: engine speed and throttle above, both servos' desired
// and measured positions and the supply below. Live it shows the last span of the frames as they
// come; for a replay it shows the whole log with a cursor at the replay's position. Markers are
// vertical lines.
class LiveChartWindow : public QWidget {
    Q_OBJECT
public:
    LiveChartWindow(QWidget* owner, Prompter* prompts, std::function<void(const QString&)> say, int spanSeconds);

    void ApplyLanguage(std::uint8_t language);

    // Live: the frames so far (at most the last KeptSeconds), then each new one.
    void ShowLive(const std::deque<LogRow>& recent);
    void AddLive(const LogRow& row);
    // A replay: the whole log, the cursor at its start.
    void ShowLog(std::span<const LogRow> rows, const QString& name);
    void SetCursor(std::int64_t elapsedMs);
    bool ShowsLog() const { return LogShown; }

    int SpanSeconds() const { return Span; }
    bool Paused() const;
    void SaveAsPng();

    // The frames kept for the live view, and the longest span it offers.
    static constexpr int KeptSeconds = 600;

    QCustomPlot* Plot() const { return Chart; }
    QComboBox* SpanBox() const { return SpanChoice; }
    QPushButton* PauseButton() const { return Pause; }
    QPushButton* SaveButton() const { return Save; }
    int MarkerCount() const { return static_cast<int>(Markers.size()); }
    // The graphs in the order RPM, throttle, supply, servo 1 desired, measured, servo 2 desired, measured.
    QCPGraph* Graph(int index) const { return Graphs[static_cast<std::size_t>(index)]; }
    double CursorSeconds() const;
    QString LastOutcome() const { return Outcome; }

signals:
    void SpanChanged(int seconds);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Legends and time labels as many to a row as the width holds: docked beside the map the chart
    // is a third as wide as in a window of its own.
    void FitToWidth();
    void Clear();
    void Append(const LogRow& row);
    void AddMarker(double seconds, int number);
    void FollowLive();
    void ApplySpanCaptions();

    Prompter* Prompts = nullptr;
    std::function<void(const QString&)> Say;
    std::uint8_t Language = 0;
    int Span = 60;
    QCustomPlot* Chart = nullptr;
    QCPAxisRect* Engine = nullptr; // RPM and throttle
    QCPAxisRect* Servos = nullptr; // the servos and the supply
    std::array<QCPGraph*, 7> Graphs{};
    std::array<QCPLegend*, 2> Legends{};
    struct Marker {
        double Seconds;
        std::vector<QCPAbstractItem*> Items;
    };
    std::deque<Marker> Markers;
    std::array<QCPItemStraightLine*, 2> Cursor{};
    QComboBox* SpanChoice = nullptr;
    QPushButton* Pause = nullptr;
    QPushButton* Save = nullptr;
    bool LogShown = false;
    QString LogName;
    double Latest = 0;     // the newest frame's time, seconds
    double FastestRpm = 0; // the RPM axis reaches past it
    QString Outcome;
};

} // namespace zevo
