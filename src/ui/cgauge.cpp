#include "ui/cgauge.h"

#include <QPainter>

#include <algorithm>

namespace zevo {

TCGauge::TCGauge(QWidget* parent) : QWidget(parent), Fore(Qt::black) {
    // The gauge paints every pixel it owns, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TCGauge::SetForeColor(const QColor& color) {
    if (color == Fore)
        return;
    Fore = color;
    update();
}

void TCGauge::SetStale(bool stale) {
    if (stale == Stale)
        return;
    Stale = stale;
    update();
}

void TCGauge::SetShowText(bool show) {
    if (show == Text)
        return;
    Text = show;
    update();
}

// The progress always stays inside the range, also when the range is moved under it: the status line
// switches one gauge between a 7-step transfer and a 100-step storing countdown.
void TCGauge::SetMinValue(int value) {
    if (value == Min)
        return;
    Min = value;
    Value = std::max(Min, std::min(Value, Max));
    update();
}

void TCGauge::SetMaxValue(int value) {
    if (value == Max)
        return;
    Max = value;
    Value = std::max(Min, std::min(Value, Max));
    update();
}

void TCGauge::SetProgress(int value) {
    const int clamped = std::max(Min, std::min(value, Max));
    if (clamped == Value)
        return;
    Value = clamped;
    update();
}

int TCGauge::PercentDone() const {
    if (Max <= Min)
        return 0;
    const long long done = static_cast<long long>(Value) - Min;
    const long long span = static_cast<long long>(Max) - Min;
    return static_cast<int>(std::clamp(done * 100 / span, 0LL, 100LL));
}

void TCGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect all = rect();

    // A one-pixel sunken frame: shadow on the top and left edges, light on the bottom and right.
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(all.topLeft(), all.topRight());
    painter.drawLine(all.topLeft(), all.bottomLeft());
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(all.bottomLeft(), all.bottomRight());
    painter.drawLine(all.topRight(), all.bottomRight());

    const QRect inside = all.adjusted(1, 1, -1, -1);
    if (inside.isEmpty())
        return;
    painter.fillRect(inside, Qt::white);

    int filled = 0;
    if (Max > Min) {
        const long long done = static_cast<long long>(Value) - Min;
        const long long span = static_cast<long long>(Max) - Min;
        filled = static_cast<int>(done * inside.width() / span);
    }
    if (filled > 0)
        painter.fillRect(QRect(inside.left(), inside.top(), filled, inside.height()),
                         Stale ? QColor((Fore.red() + 3 * 255) / 4, (Fore.green() + 3 * 255) / 4,
                                        (Fore.blue() + 3 * 255) / 4)
                               : Fore);

    if (Text) {
        painter.setPen(Qt::black);
        painter.drawText(inside, Qt::AlignCenter, QStringLiteral("%1%").arg(PercentDone()));
    }
}

} // namespace zevo
