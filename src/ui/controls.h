#pragma once
#include <QCheckBox>
#include <QWidget>

class QToolButton;

namespace zevo {

// A check box that reports a mouse button released over it, after it has taken its new state.
// One rule for every box of the window: a toggle by the keyboard (Space on the focused box) reports
// too, so its handler runs as for the mouse. A box never shows a state its handler has not taken:
// an unreported toggle of "per cent" would make the next transfer read every map cell in the other
// unit.
class TCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TCheckBox(const QString& text, QWidget* parent = nullptr) : QCheckBox(text, parent) {}
signals:
    void MouseUp();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};

// A small pair of arrow buttons, one above the other, each with its own click (with auto-repeat
// while held). It steps a whole map column.
class TCSpinButton : public QWidget {
    Q_OBJECT
public:
    explicit TCSpinButton(QWidget* parent = nullptr);
    QToolButton* UpButton() const { return Up; }
    QToolButton* DownButton() const { return Down; }
signals:
    void UpClick();
    void DownClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* Up = nullptr;
    QToolButton* Down = nullptr;
};

} // namespace zevo
