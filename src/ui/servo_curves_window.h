#pragma once
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

#include "params/servo_curves.h"

class QCustomPlot;
class QCPGraph;
class QCPLayoutGrid;
class QPushButton;

namespace zevo {

class Prompter;

// The active servo's map as a chart of its own, beside the main window: one curve per throttle row,
// the selected cells marked, and the point the engine runs at. The window is given the whole picture
// each time; it redraws only what changed, because it follows every tick of the live display.
class ServoCurvesWindow : public QWidget {
    Q_OBJECT
public:
    // `say` puts a short message where the user looks (the main window's status bar).
    ServoCurvesWindow(QWidget* owner, Prompter* prompts, std::function<void(const QString&)> say = {});

    void ApplyLanguage(std::uint8_t language);
    void Show(const ServoCurves& curves);
    // Asks for a file name and writes the chart there as PNG; says where it went, or shows why not.
    void SaveAsPng();

    const ServoCurves& Shown() const { return Curves; }
    QCustomPlot* Plot() const { return Chart; }
    QPushButton* SaveButton() const { return Save; }
    // What the last save said ("Chart saved: …" or why not).
    QString LastOutcome() const { return Outcome; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Docked beside the map the chart is narrow: the legend goes under the plot, fewer RPM labels.
    void FitToWidth();
    void SetRows(const ServoCurves& curves);
    void SetMarks(const ServoCurves& curves);
    void ApplyAxisCaptions();

    Prompter* Prompts = nullptr;
    std::function<void(const QString&)> Say;
    std::uint8_t Language = 0;
    QCustomPlot* Chart = nullptr;
    QCPLayoutGrid* Side = nullptr; // the column beside the plot that holds the legend when wide
    bool LegendBelow = false;
    QCPGraph* SelectedGraph = nullptr;
    QCPGraph* LiveGraph = nullptr;
    QPushButton* Save = nullptr;
    ServoCurves Curves;
    bool HasCurves = false;
    QString Outcome;
};

} // namespace zevo
