#pragma once
#include <QColor>
#include <QWidget>

namespace zevo {

// A flat horizontal progress bar: a sunken frame, the filled part in ForeColor and, optionally, the
// percentage centred over it. Cheap to repaint, and it repaints only when a value actually changes.
class TCGauge : public QWidget {
    Q_OBJECT
public:
    explicit TCGauge(QWidget* parent = nullptr);

    void SetForeColor(const QColor& color);
    // Drawn faded: the value it shows is no longer current.
    void SetStale(bool stale);
    bool IsStale() const { return Stale; }
    QColor ForeColor() const { return Fore; }
    void SetShowText(bool show);
    bool ShowText() const { return Text; }
    void SetMinValue(int value);
    int MinValue() const { return Min; }
    void SetMaxValue(int value);
    int MaxValue() const { return Max; }
    // Clamped to MinValue..MaxValue.
    void SetProgress(int value);
    int Progress() const { return Value; }
    // Whole per cent of the range done, 0..100 (0 for an empty range).
    int PercentDone() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor Fore;
    bool Text = true;
    bool Stale = false;
    int Min = 0;
    int Max = 100;
    int Value = 0;
};

} // namespace zevo
