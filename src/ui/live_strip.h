#pragma once
#include <QFrame>
#include <QPointer>

#include <vector>

class QLabel;
class QScrollArea;

namespace zevo {

// The engine's values in one line under the design's area, shown only while the window is too small
// for the monitoring area (the 640 x 480 smallest window, a low laptop screen at 200 %): a tuner
// scrolled up to the map still sees the RPM, the throttle and where the servos stand. The line repeats
// the monitoring labels as they are (text and colour), so the unit, a replay and a silent line read
// there exactly as in the monitoring area.
class LiveStrip : public QFrame {
    Q_OBJECT
public:
    // `watched` is the design's scrolled area; `sources` are its labels that the line repeats, in
    // pairs one over the other (RPM and throttle, then each servo's desired and measured).
    LiveStrip(QScrollArea& watched, std::vector<QLabel*> sources, QWidget* parent);

    // Shows or hides the line by what the scrolled area shows now, and repeats the labels.
    void Refresh();

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    bool SourcesInView() const;

    QScrollArea& Watched;
    QPointer<QWidget> Viewport;
    std::vector<QLabel*> Sources;
    std::vector<QLabel*> Copies;
};

} // namespace zevo
