#include "ui/servo_curves_window.h"

#include <QHBoxLayout>
#include <algorithm>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include "lang/editing_texts.h"
#include "params/map_look.h"
#include "ui/chart_png.h"
#include "ui/map_painter.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"

namespace zevo {

namespace {


QString Filled(EditingTextId id, std::uint8_t language, const QString& argument) {
    const std::string a = argument.toStdString();
    return Text(FillPlaceholders(EditingText(id, language), {a}));
}

// The rows in the order of the value scale, from 0 % throttle in dark blue to full throttle in
// yellow-brown; the palest part of the scale is left out, it would not read on the white chart.
QColor RowColour(int row, int rows) {
    const double position = rows > 1 ? 0.82 * row / (rows - 1) : 0.0;
    return ToQColor(ValueScale(position));
}

} // namespace

ServoCurvesWindow::ServoCurvesWindow(QWidget* owner, Prompter* prompts, std::function<void(const QString&)> say)
    : QWidget(owner, Qt::Window), Prompts(prompts), Say(std::move(say)) {
    setObjectName(QStringLiteral("ServoCurvesWindow"));
    resize(720, 460);
    Chart = new QCustomPlot(this);
    Chart->setObjectName(QStringLiteral("ServoCurvesPlot"));
    Chart->setMinimumSize(320, 240); // fits the room a laptop leaves beside the map
    Chart->legend->setVisible(true);
    // The legend beside the plot, not over the curves, at the top with the room below it empty.
    Chart->axisRect()->insetLayout()->take(Chart->legend);
    auto* side = new QCPLayoutGrid;
    Side = side;
    Chart->plotLayout()->addElement(0, 1, side);
    Chart->plotLayout()->setColumnStretchFactor(1, 0.001);
    side->addElement(0, 0, Chart->legend);
    side->addElement(1, 0, new QCPLayoutElement(Chart));
    side->setRowStretchFactor(0, 0.001);
    side->setMargins(QMargins(0, 6, 6, 6));
    Chart->legend->setFillOrder(QCPLegend::foRowsFirst);

    // The marks on a layer above the curves, which are added after them.
    Chart->addLayer(QStringLiteral("marks"), Chart->layer(QStringLiteral("main")), QCustomPlot::limAbove);
    // A buffer of its own: the live point moves with every status frame, and only its layer is drawn
    // again then, not the curves, grid and legend.
    Chart->layer(QStringLiteral("marks"))->setMode(QCPLayer::lmBuffered);
    SelectedGraph = Chart->addGraph();
    SelectedGraph->setLayer(QStringLiteral("marks"));
    SelectedGraph->setLineStyle(QCPGraph::lsNone);
    SelectedGraph->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(Qt::black, 2), QBrush(ToQColor(SelectedBlue)), 11));
    LiveGraph = Chart->addGraph();
    LiveGraph->setLayer(QStringLiteral("marks"));
    LiveGraph->setLineStyle(QCPGraph::lsNone);
    LiveGraph->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssDiamond, QPen(Qt::black, 1.5), QBrush(ToQColor(LiveLime)), 15));

    Save = new QPushButton(this);
    Save->setObjectName(QStringLiteral("ServoCurvesSave"));
    connect(Save, &QPushButton::clicked, this, &ServoCurvesWindow::SaveAsPng);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Save);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Chart, 1);
    layout->addLayout(buttons);
    ApplyLanguage(Language);
}

void ServoCurvesWindow::ApplyLanguage(std::uint8_t language) {
    Language = language;
    Save->setText(Text(EditingText(EditingTextId::CurvesSave, language)));
    SelectedGraph->setName(Text(EditingText(EditingTextId::CurvesSelected, language)));
    LiveGraph->setName(Text(EditingText(EditingTextId::CurvesLive, language)));
    ApplyAxisCaptions();
    if (HasCurves) {
        const ServoCurves shown = Curves;
        HasCurves = false;
        Show(shown);
    }
}

void ServoCurvesWindow::ApplyAxisCaptions() {
    setWindowTitle(Filled(EditingTextId::CurvesTitle, Language, QString::number(Curves.Servo + 1)));
    Chart->xAxis->setLabel(Text(EditingText(EditingTextId::CurvesRpm, Language)));
    Chart->yAxis->setLabel(Filled(EditingTextId::CurvesTarget, Language,
                                  Curves.PerCent ? QStringLiteral("%") : QStringLiteral("mV")));
}

void ServoCurvesWindow::Show(const ServoCurves& curves) {
    if (HasCurves && curves == Curves)
        return; // most ticks change nothing the chart shows
    // An engine beyond the axis's last point widens the speed axis, so the point stays in sight.
    const bool outside = curves.Live && curves.Live->Rpm > Chart->xAxis->range().upper;
    const bool rowsChanged = !HasCurves || curves.Rows != Curves.Rows || curves.Servo != Curves.Servo ||
                             curves.PerCent != Curves.PerCent || outside;
    const bool marksChanged = !HasCurves || curves.Selected != Curves.Selected || curves.Live != Curves.Live;
    Curves = curves;
    HasCurves = true;
    if (rowsChanged)
        SetRows(curves);
    if (marksChanged || rowsChanged)
        SetMarks(curves);
    if (rowsChanged)
        Chart->replot(QCustomPlot::rpQueuedReplot);
    else
        Chart->layer(QStringLiteral("marks"))->replot();
}

void ServoCurvesWindow::SetRows(const ServoCurves& curves) {
    ApplyAxisCaptions();
    // The first two graphs are the marks; the row curves follow them, drawn under them.
    while (Chart->graphCount() > 2 + static_cast<int>(curves.Rows.size()))
        Chart->removeGraph(Chart->graphCount() - 1);
    while (Chart->graphCount() < 2 + static_cast<int>(curves.Rows.size())) {
        QCPGraph* graph = Chart->addGraph();
        graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, 4));
    }
    const int rows = static_cast<int>(curves.Rows.size());
    double high = 0;
    for (int i = 0; i < rows; ++i) {
        const CurveRow& row = curves.Rows[static_cast<std::size_t>(i)];
        QVector<double> keys, values;
        for (const CurvePoint& p : row.Points) {
            keys.push_back(p.Rpm);
            values.push_back(p.Target);
            high = std::max(high, static_cast<double>(p.Target));
        }
        QCPGraph* graph = Chart->graph(2 + i);
        graph->setData(keys, values);
        graph->setPen(QPen(RowColour(i, rows), 2));
        graph->setName(Filled(EditingTextId::CurvesRow, Language, QString::number(row.TpPercent)));
    }
    // The legend lists the throttle rows first, then the marks.
    Chart->legend->clearItems();
    for (int i = 0; i < rows; ++i)
        Chart->graph(2 + i)->addToLegend();
    SelectedGraph->addToLegend();
    LiveGraph->addToLegend();
    // Both axes from zero, the speed axis to the highest axis point, the target axis with room above
    // the map's highest value.
    double fastest = 0;
    for (const CurveRow& row : curves.Rows)
        for (const CurvePoint& p : row.Points)
            fastest = std::max(fastest, static_cast<double>(p.Rpm));
    if (curves.Live)
        fastest = std::max(fastest, static_cast<double>(curves.Live->Rpm));
    Chart->xAxis->setRange(0, std::max(fastest * 1.04, 1000.0));
    Chart->yAxis->setRange(0, std::max(high * 1.08, curves.PerCent ? 10.0 : 200.0));
}

void ServoCurvesWindow::SetMarks(const ServoCurves& curves) {
    QVector<double> keys, values;
    for (const CurvePoint& p : curves.Selected) {
        keys.push_back(p.Rpm);
        values.push_back(p.Target);
    }
    SelectedGraph->setData(keys, values);
    keys.clear();
    values.clear();
    if (curves.Live) {
        keys.push_back(curves.Live->Rpm);
        values.push_back(curves.Live->Target);
    }
    LiveGraph->setData(keys, values);
}

void ServoCurvesWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitToWidth();
}

void ServoCurvesWindow::FitToWidth() {
    const bool narrow = Chart->width() < 560;
    if (narrow != LegendBelow) {
        LegendBelow = narrow;
        if (narrow) {
            Side->take(Chart->legend);
            Chart->plotLayout()->addElement(1, 0, Chart->legend);
            Chart->plotLayout()->setRowStretchFactor(1, 0.001);
            Chart->legend->setFillOrder(QCPLegend::foColumnsFirst);
        } else {
            Chart->plotLayout()->take(Chart->legend);
            Chart->plotLayout()->simplify();
            Side->addElement(0, 0, Chart->legend);
            Chart->legend->setFillOrder(QCPLegend::foRowsFirst);
        }
    }
    // A new wrap takes effect when the items are laid out again.
    Chart->legend->setWrap(narrow ? std::max(1, Chart->width() / 180) : 0);
    Chart->legend->setFillOrder(Chart->legend->fillOrder(), true);
    Chart->xAxis->ticker()->setTickCount(std::clamp(Chart->width() / 110, 2, 8));
    Chart->replot(QCustomPlot::rpQueuedReplot);
}

void ServoCurvesWindow::SaveAsPng() {
    const QString outcome = SaveChartAsPng(this, Chart, Prompts, QStringLiteral("servo%1.png").arg(Curves.Servo + 1),
                                           Language, Say);
    if (!outcome.isEmpty())
        Outcome = outcome;
}

} // namespace zevo
