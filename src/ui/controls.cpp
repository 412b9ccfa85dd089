#include "ui/controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>

namespace zevo {

void TCheckBox::mouseReleaseEvent(QMouseEvent* event) {
    QCheckBox::mouseReleaseEvent(event); // toggles first, so the handler reads the new state
    if (rect().contains(event->position().toPoint()))
        emit MouseUp();
}

void TCheckBox::keyReleaseEvent(QKeyEvent* event) {
    const bool before = isChecked();
    QCheckBox::keyReleaseEvent(event); // Space toggles on its release
    if (isChecked() != before)
        emit MouseUp();
}

TCSpinButton::TCSpinButton(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    auto make = [this](Qt::ArrowType arrow) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    Up = make(Qt::UpArrow);
    Down = make(Qt::DownArrow);
    connect(Up, &QToolButton::clicked, this, &TCSpinButton::UpClick);
    connect(Down, &QToolButton::clicked, this, &TCSpinButton::DownClick);
    resize(17, 23);
}

void TCSpinButton::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int upper = height() / 2;
    Up->setGeometry(0, 0, width(), upper);
    Down->setGeometry(0, upper, width(), height() - upper);
}

} // namespace zevo
