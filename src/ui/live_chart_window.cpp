#include "ui/live_chart_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <qcustomplot.h>

#include "app/log_settings.h"
#include "lang/editing_texts.h"
#include "ui/log_qt_text.h"
#include "params/map_look.h"
#include "ui/chart_png.h"
#include "ui/map_painter.h"
#include "ui/qt_text.h"

namespace zevo {

namespace {

enum GraphIndex { GraphRpm, GraphThrottle, GraphSupply, GraphDesired1, GraphMeasured1, GraphDesired2, GraphMeasured2 };

double Seconds(std::int64_t ms) {
    return static_cast<double>(ms) / 1000.0;
}

// The values of one row, in the order of the graphs. A throttle the unit could not read is a gap.
std::array<double, 7> ValuesOf(const LogRow& row) {
    return {static_cast<double>(row.Rpm),
            row.TpValid ? static_cast<double>(row.TpPercent) : std::numeric_limits<double>::quiet_NaN(),
            static_cast<double>(row.SupplyMv) / 1000.0,
            static_cast<double>(row.ServoDesiredMv[0]),
            static_cast<double>(row.ServoMeasuredMv[0]),
            static_cast<double>(row.ServoDesiredMv[1]),
            static_cast<double>(row.ServoMeasuredMv[1])};
}

void TimeAxis(QCPAxis* axis) {
    QSharedPointer<QCPAxisTickerTime> ticker(new QCPAxisTickerTime);
    ticker->setTimeFormat(QStringLiteral("%h:%m:%s"));
    axis->setTicker(ticker);
}

} // namespace

LiveChartWindow::LiveChartWindow(QWidget* owner, Prompter* prompts, std::function<void(const QString&)> say,
                                 int spanSeconds)
    : QWidget(owner, Qt::Window), Prompts(prompts), Say(std::move(say)), Span(spanSeconds) {
    setObjectName(QStringLiteral("LiveChartWindow"));
    resize(820, 560);
    Chart = new QCustomPlot(this);
    Chart->setObjectName(QStringLiteral("LiveChartPlot"));
    Chart->setMinimumSize(320, 300); // fits the room a laptop leaves beside the map
    Chart->setAutoAddPlottableToLegend(false);
    Chart->setNoAntialiasingOnDrag(true);

    Engine = Chart->axisRect();
    Servos = new QCPAxisRect(Chart);
    Chart->plotLayout()->addElement(1, 0, Servos);
    // The same time axis below and above, with the same left margin so the times line up.
    auto* margins = new QCPMarginGroup(Chart);
    Engine->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
    Servos->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
    for (QCPAxisRect* rect : {Engine, Servos}) {
        TimeAxis(rect->axis(QCPAxis::atBottom));
        rect->axis(QCPAxis::atRight)->setVisible(true);
        rect->axis(QCPAxis::atRight)->setTickLabels(true);
        rect->setRangeDrag(Qt::Horizontal);
        rect->setRangeZoom(Qt::Horizontal);
    }
    connect(Engine->axis(QCPAxis::atBottom), qOverload<const QCPRange&>(&QCPAxis::rangeChanged),
            Servos->axis(QCPAxis::atBottom), qOverload<const QCPRange&>(&QCPAxis::setRange));
    connect(Servos->axis(QCPAxis::atBottom), qOverload<const QCPRange&>(&QCPAxis::rangeChanged),
            Engine->axis(QCPAxis::atBottom), qOverload<const QCPRange&>(&QCPAxis::setRange));
    Chart->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);

    Engine->axis(QCPAxis::atLeft)->setRange(0, 10000);
    Engine->axis(QCPAxis::atRight)->setRange(0, 105);
    Servos->axis(QCPAxis::atLeft)->setRange(0, 5200);
    Servos->axis(QCPAxis::atRight)->setRange(0, 20);

    // Colours of the value scale for the engine, blue and brown for the two servos: desired dashed,
    // measured solid, so the gap between them reads at a glance. One pixel wide: the chart is drawn
    // again with every frame for hours, and a line wider than a pixel costs four times as much to
    // draw (it is outlined and filled, where a thin line is drawn straight), most of the window's
    // share of a workshop laptop's processor.
    auto graph = [this](QCPAxisRect* rect, QCPAxis::AxisType valueAxis, const QPen& pen) {
        QCPGraph* g = Chart->addGraph(rect->axis(QCPAxis::atBottom), rect->axis(valueAxis));
        g->setPen(pen);
        g->setAdaptiveSampling(true);
        return g;
    };
    const QColor servo1(31, 119, 180);
    const QColor servo2(166, 86, 40);
    Graphs[GraphRpm] = graph(Engine, QCPAxis::atLeft, QPen(QColor(20, 20, 20), 1));
    Graphs[GraphThrottle] = graph(Engine, QCPAxis::atRight, QPen(QColor(34, 139, 34), 1));
    Graphs[GraphSupply] = graph(Servos, QCPAxis::atRight, QPen(QColor(128, 83, 179), 1));
    Graphs[GraphDesired1] = graph(Servos, QCPAxis::atLeft, QPen(servo1, 1, Qt::DashLine));
    Graphs[GraphMeasured1] = graph(Servos, QCPAxis::atLeft, QPen(servo1, 1));
    Graphs[GraphDesired2] = graph(Servos, QCPAxis::atLeft, QPen(servo2, 1, Qt::DashLine));
    Graphs[GraphMeasured2] = graph(Servos, QCPAxis::atLeft, QPen(servo2, 1));

    // Each legend in a row of its own above its plot, so it never covers a curve: live, the newest
    // values are at the right end, at the start of a ride the oldest at the left.
    Chart->legend->setVisible(true);
    Engine->insetLayout()->take(Chart->legend);
    auto* servoLegend = new QCPLegend;
    Chart->plotLayout()->insertRow(0);
    Chart->plotLayout()->addElement(0, 0, Chart->legend);
    Chart->plotLayout()->insertRow(2);
    Chart->plotLayout()->addElement(2, 0, servoLegend);
    servoLegend->setLayer(QStringLiteral("legend"));
    Legends = {Chart->legend, servoLegend};
    for (QCPLegend* legend : Legends) {
        legend->setFont(font());
        legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
        legend->setWrap(8);
        legend->setBorderPen(Qt::NoPen);
        legend->setMargins(QMargins(4, 2, 4, 0));
    }
    Chart->plotLayout()->setRowStretchFactor(0, 0.001);
    Chart->plotLayout()->setRowStretchFactor(2, 0.001);
    for (int i : {GraphRpm, GraphThrottle})
        Graphs[static_cast<std::size_t>(i)]->addToLegend(Chart->legend);
    for (int i : {GraphDesired1, GraphMeasured1, GraphDesired2, GraphMeasured2, GraphSupply})
        Graphs[static_cast<std::size_t>(i)]->addToLegend(servoLegend);

    // The replay's cursor on a layer of its own, buffered while a log is shown: it moves with every
    // row, and only it is drawn again then. Live, everything moves with every frame, and each
    // buffered layer would only add a full-size clear and copy to each frame; the overlay layer
    // (a selection rectangle, which this chart never draws) is not buffered for the same reason.
    Chart->addLayer(QStringLiteral("cursor"), Chart->layer(QStringLiteral("main")), QCustomPlot::limAbove);
    Chart->layer(QStringLiteral("overlay"))->setMode(QCPLayer::lmLogical);
    std::size_t c = 0;
    for (QCPAxisRect* rect : {Engine, Servos}) {
        auto* line = new QCPItemStraightLine(Chart);
        line->setLayer(QStringLiteral("cursor"));
        line->setClipAxisRect(rect);
        line->point1->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
        line->point2->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
        line->setPen(QPen(QColor(220, 0, 0), 2));
        line->setVisible(false);
        Cursor[c++] = line;
    }

    SpanChoice = new QComboBox(this);
    SpanChoice->setObjectName(QStringLiteral("LiveChartSpan"));
    auto* spanLabel = new QLabel(this);
    spanLabel->setObjectName(QStringLiteral("LiveChartSpanLabel"));
    spanLabel->setBuddy(SpanChoice);
    Pause = new QPushButton(this);
    Pause->setObjectName(QStringLiteral("LiveChartPause"));
    Pause->setCheckable(true);
    Save = new QPushButton(this);
    Save->setObjectName(QStringLiteral("LiveChartSave"));
    connect(Save, &QPushButton::clicked, this, &LiveChartWindow::SaveAsPng);
    connect(Pause, &QPushButton::toggled, this, [this](bool paused) {
        if (!paused && !LogShown)
            FollowLive();
    });
    connect(SpanChoice, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        Span = SpanChoice->itemData(index).toInt();
        if (LogShown) {
            const double at = CursorSeconds();
            Engine->axis(QCPAxis::atBottom)->setRange(std::max(0.0, at - Span / 2.0), std::max(0.0, at - Span / 2.0) + Span);
            Chart->replot(QCustomPlot::rpQueuedReplot);
        } else {
            FollowLive();
        }
        emit SpanChanged(Span);
    });
    auto* controls = new QHBoxLayout;
    controls->addWidget(spanLabel);
    controls->addWidget(SpanChoice);
    controls->addWidget(Pause);
    controls->addStretch(1);
    controls->addWidget(Save);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Chart, 1);
    layout->addLayout(controls);
    ApplyLanguage(Language);
    FollowLive();
}

void LiveChartWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitToWidth();
}

void LiveChartWindow::FitToWidth() {
    // About 190 pixels a legend entry ("Servo 1 measured" and its line), 150 a time label.
    const int width = Chart->width();
    for (QCPLegend* legend : Legends) {
        // A new wrap takes effect when the items are laid out again.
        legend->setWrap(std::clamp(width / 190, 1, 8));
        legend->setFillOrder(legend->fillOrder(), true);
    }
    for (QCPAxisRect* rect : {Engine, Servos})
        rect->axis(QCPAxis::atBottom)->ticker()->setTickCount(std::clamp(width / 150, 2, 6));
    Chart->replot(QCustomPlot::rpQueuedReplot);
}

void LiveChartWindow::ApplyLanguage(std::uint8_t language) {
    Language = language;
    setWindowTitle(LogShown ? LogFilled(LogTextId::ChartLogTitle, language, LogName)
                            : LogString(LogTextId::ChartTitle, language));
    findChild<QLabel*>(QStringLiteral("LiveChartSpanLabel"))->setText(LogString(LogTextId::ChartSpan, language));
    Pause->setText(LogString(LogTextId::ChartPause, language));
    Save->setText(Text(EditingText(EditingTextId::CurvesSave, language)));
    for (QCPAxisRect* rect : {Engine, Servos})
        rect->axis(QCPAxis::atBottom)->setLabel(LogString(LogTextId::ChartTime, language));
    Engine->axis(QCPAxis::atLeft)->setLabel(LogString(LogTextId::ChartRpm, language));
    Engine->axis(QCPAxis::atRight)->setLabel(LogString(LogTextId::ChartThrottle, language));
    Servos->axis(QCPAxis::atLeft)->setLabel(LogString(LogTextId::ChartServoAxis, language));
    Servos->axis(QCPAxis::atRight)->setLabel(LogString(LogTextId::ChartSupply, language));
    Graphs[GraphRpm]->setName(LogString(LogTextId::ChartRpm, language));
    Graphs[GraphThrottle]->setName(LogString(LogTextId::ChartThrottle, language));
    Graphs[GraphSupply]->setName(LogString(LogTextId::ChartSupply, language));
    for (int servo = 0; servo < ServoCount; ++servo) {
        const QString number = QString::number(servo + 1);
        Graphs[static_cast<std::size_t>(GraphDesired1 + 2 * servo)]->setName(
            LogFilled(LogTextId::ChartDesired, language, number));
        Graphs[static_cast<std::size_t>(GraphMeasured1 + 2 * servo)]->setName(
            LogFilled(LogTextId::ChartMeasured, language, number));
    }
    ApplySpanCaptions();
    Chart->replot(QCustomPlot::rpQueuedReplot);
}

void LiveChartWindow::ApplySpanCaptions() {
    const QSignalBlocker quiet(SpanChoice);
    SpanChoice->clear();
    for (int seconds : ChartSpans) {
        const QString caption = seconds < 60
                                    ? LogFilled(LogTextId::ChartSeconds, Language, QString::number(seconds))
                                    : LogFilled(LogTextId::ChartMinutes, Language, QString::number(seconds / 60));
        SpanChoice->addItem(caption, seconds);
    }
    const int index = SpanChoice->findData(Span);
    SpanChoice->setCurrentIndex(index >= 0 ? index : SpanChoice->findData(60));
}

bool LiveChartWindow::Paused() const {
    return Pause->isChecked();
}

void LiveChartWindow::Clear() {
    for (QCPGraph* g : Graphs)
        g->data()->clear();
    for (const Marker& marker : Markers)
        for (QCPAbstractItem* item : marker.Items)
            Chart->removeItem(item);
    Markers.clear();
    Latest = 0;
    FastestRpm = 0;
}

void LiveChartWindow::Append(const LogRow& row) {
    const double at = Seconds(row.ElapsedMs);
    const std::array<double, 7> values = ValuesOf(row);
    for (std::size_t i = 0; i < Graphs.size(); ++i)
        Graphs[i]->addData(at, values[i]);
    Latest = std::max(Latest, at);
    if (row.Rpm > FastestRpm) {
        FastestRpm = row.Rpm;
        // Whole thousands above the fastest frame, never below the gauge's full 10 000.
        const double top = std::max(10000.0, std::ceil((FastestRpm + 1) / 1000.0) * 1000.0);
        Engine->axis(QCPAxis::atLeft)->setRange(0, top);
    }
    if (row.Marker > 0)
        AddMarker(at, row.Marker);
}

void LiveChartWindow::AddMarker(double seconds, int number) {
    Marker marker{seconds, {}};
    for (QCPAxisRect* rect : {Engine, Servos}) {
        auto* line = new QCPItemStraightLine(Chart);
        line->setClipAxisRect(rect);
        line->point1->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
        line->point2->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
        line->point1->setCoords(seconds, 0);
        line->point2->setCoords(seconds, 1);
        line->setPen(QPen(QColor(230, 120, 0), 1.5, Qt::DashDotLine));
        marker.Items.push_back(line);
    }
    auto* label = new QCPItemText(Chart);
    label->setClipAxisRect(Engine);
    label->position->setAxes(Engine->axis(QCPAxis::atBottom), Engine->axis(QCPAxis::atLeft));
    label->position->setAxisRect(Engine);
    label->position->setTypeX(QCPItemPosition::ptPlotCoords);
    label->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
    label->position->setCoords(seconds, 0.0);
    label->setPositionAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setText(QString::number(number));
    label->setColor(Qt::white);
    label->setBrush(QColor(230, 120, 0));
    label->setPadding(QMargins(3, 1, 3, 1));
    marker.Items.push_back(label);
    Markers.push_back(std::move(marker));
}

void LiveChartWindow::ShowLive(const std::deque<LogRow>& recent) {
    LogShown = false;
    Chart->layer(QStringLiteral("cursor"))->setMode(QCPLayer::lmLogical);
    for (QCPItemStraightLine* line : Cursor)
        line->setVisible(false);
    Clear();
    for (const LogRow& row : recent)
        Append(row);
    ApplyLanguage(Language);
    FollowLive();
}

void LiveChartWindow::AddLive(const LogRow& row) {
    if (LogShown)
        return;
    Append(row);
    // Ten minutes are kept, whatever the span: a pause can look back that far.
    const double oldest = Latest - KeptSeconds;
    for (QCPGraph* g : Graphs)
        g->data()->removeBefore(oldest);
    while (!Markers.empty() && Markers.front().Seconds < oldest) {
        for (QCPAbstractItem* item : Markers.front().Items)
            Chart->removeItem(item);
        Markers.pop_front();
    }
    if (!Paused())
        FollowLive();
}

void LiveChartWindow::FollowLive() {
    const double end = std::max(Latest, static_cast<double>(Span));
    Engine->axis(QCPAxis::atBottom)->setRange(end - Span, end);
    if (isVisible())
        Chart->replot(QCustomPlot::rpQueuedReplot);
}

void LiveChartWindow::ShowLog(std::span<const LogRow> rows, const QString& name) {
    Clear();
    LogShown = true;
    Chart->layer(QStringLiteral("cursor"))->setMode(QCPLayer::lmBuffered);
    LogName = name;
    const auto count = static_cast<qsizetype>(rows.size());
    QVector<double> keys(count);
    std::array<QVector<double>, 7> values;
    for (QVector<double>& v : values)
        v.resize(count);
    for (qsizetype i = 0; i < count; ++i) {
        const LogRow& row = rows[static_cast<std::size_t>(i)];
        keys[i] = Seconds(row.ElapsedMs);
        const std::array<double, 7> v = ValuesOf(row);
        for (std::size_t g = 0; g < v.size(); ++g)
            values[g][i] = v[g];
        FastestRpm = std::max(FastestRpm, static_cast<double>(row.Rpm));
        if (row.Marker > 0)
            AddMarker(keys[i], row.Marker);
    }
    for (std::size_t g = 0; g < Graphs.size(); ++g)
        Graphs[g]->setData(keys, values[g], true);
    Latest = rows.empty() ? 0 : Seconds(rows.back().ElapsedMs);
    Engine->axis(QCPAxis::atLeft)->setRange(0, std::max(10000.0, std::ceil((FastestRpm + 1) / 1000.0) * 1000.0));
    Engine->axis(QCPAxis::atBottom)->setRange(0, std::max(Latest, 1.0));
    for (QCPItemStraightLine* line : Cursor)
        line->setVisible(true);
    ApplyLanguage(Language);
    SetCursor(0);
    Chart->replot(QCustomPlot::rpQueuedReplot);
}

void LiveChartWindow::SetCursor(std::int64_t elapsedMs) {
    const double at = Seconds(elapsedMs);
    for (QCPItemStraightLine* line : Cursor) {
        line->point1->setCoords(at, 0);
        line->point2->setCoords(at, 1);
    }
    // A cursor that leaves the shown stretch takes the stretch along.
    QCPAxis* time = Engine->axis(QCPAxis::atBottom);
    const QCPRange range = time->range();
    if (at < range.lower || at > range.upper) {
        time->setRange(at - range.size() * 0.1, at + range.size() * 0.9);
        Chart->replot(QCustomPlot::rpQueuedReplot);
    } else if (isVisible()) {
        Chart->layer(QStringLiteral("cursor"))->replot();
    }
}

double LiveChartWindow::CursorSeconds() const {
    return Cursor[0]->point1->coords().x();
}

void LiveChartWindow::SaveAsPng() {
    const QString outcome = SaveChartAsPng(this, Chart, Prompts, QStringLiteral("ride.png"), Language, Say);
    if (!outcome.isEmpty())
        Outcome = outcome;
}

} // namespace zevo
