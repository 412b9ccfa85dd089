#include "ui/up_down.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QToolButton>

#include <algorithm>
#include <limits>
#include <utility>

namespace zevo {

namespace {

// The spinner's size when the page does not give one: as tall as an edit, narrow enough to sit
// at the edit's right without covering the next column.
constexpr int DefaultWidth = 16;
constexpr int DefaultHeight = 21;

// Locales that group with a space (cs, fr, ru, ...) use U+00A0 or U+202F in their own formatting,
// while a user types an ordinary space. Any of them is read as a group separator there.
bool IsSpaceLike(QChar c) {
    return c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F) || c == QChar(0x2009);
}

bool IsSeparator(QChar c, const QString& group, bool groupIsSpace) {
    if (groupIsSpace)
        return IsSpaceLike(c);
    return group.contains(c);
}

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

void SetAccessibleName(QWidget* widget, const QString& name) {
    if (widget->accessibleName() != name)
        widget->setAccessibleName(name);
}

TEdit::TEdit(QWidget* parent) : QLineEdit(parent) {}

bool TEdit::HoldsProposal() const {
    return AttachedSpinner && text() != AttachedSpinner->PositionText();
}

void TEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    QLineEdit::mouseDoubleClickEvent(event);
    // A word of "2 600" or "2,600" is only part of the number.
    if (event->button() == Qt::LeftButton)
        selectAll();
}

void TEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit Left(event->reason());
}

void TEdit::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        PressedAt = event->position().toPoint();
}

void TEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const std::optional<QPoint> pressedAt = std::exchange(PressedAt, std::nullopt);
    // Only a left click that ends inside the field counts; dragging out of it to select is not a click.
    if (!rect().contains(event->position().toPoint()))
        return;
    emit Click();
    // A click picks the whole number, as in a spreadsheet: what is typed next replaces it, where a
    // caret left inside "2,400" would turn 2600 into 24,260,000. A drag within the field still
    // selects what it covered, and the arrow keys still move the caret.
    const bool dragged = pressedAt && (event->position().toPoint() - *pressedAt).manhattanLength() >=
                                          QApplication::startDragDistance();
    if (pressedAt && !dragged && hasFocus())
        selectAll();
}

TUpDown::TUpDown(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    UpButton = MakeArrow(this, Qt::UpArrow);
    DownButton = MakeArrow(this, Qt::DownArrow);
    // A step happens when the arrow goes down and again on every auto-repeat while it is held, as on
    // the spinners users know; the button's `pressed` is raised for both. The release only ends it.
    connect(UpButton, &QToolButton::pressed, this, [this] { StepBy(+1); });
    connect(DownButton, &QToolButton::pressed, this, [this] { StepBy(-1); });
    UpButton->installEventFilter(this);
    DownButton->installEventFilter(this);
    resize(DefaultWidth, DefaultHeight);
}

void TUpDown::SetAssociate(QLineEdit* edit) {
    if (Edit == edit)
        return;
    if (Edit)
        Edit->removeEventFilter(this);
    Edit = edit;
    if (auto* field = qobject_cast<TEdit*>(edit))
        field->AttachedSpinner = this;
    if (Edit) {
        Edit->installEventFilter(this);
        // Like any spinner bound to a field, the field shows the spinner's value from the start.
        Edit->setText(FormatValue(Value, QLocale()));
    }
}

void TUpDown::NameArrows(const QString& higher, const QString& lower) {
    SetAccessibleName(UpButton, higher);
    SetAccessibleName(DownButton, lower);
}

void TUpDown::SetRange(int min, int max) {
    if (max < min)
        std::swap(min, max);
    MinValue = min;
    MaxValue = max;
    Value = std::clamp(Value, MinValue, MaxValue);
}

int TUpDown::Position() {
    if (Edit) {
        const std::optional<int> typed = ParseText(Edit->text(), QLocale());
        if (typed && *typed >= MinValue && *typed <= MaxValue)
            Value = *typed;
    }
    return Value;
}

void TUpDown::SetPosition(int value) {
    Value = std::clamp(value, MinValue, MaxValue);
    if (!Edit)
        return;
    const QString text = PositionText();
    if (Edit->text() != text)
        Edit->setText(text);
}

QString TUpDown::PositionText() const {
    return FormatValue(Value, QLocale());
}

bool TUpDown::StepBy(int direction) {
    if (direction == 0)
        return false;
    // The step starts from what the field shows now, so a number typed and not yet confirmed is the
    // base of the step (when it is a valid one).
    const long long from = Position();
    const long long delta = static_cast<long long>(Step) * (direction > 0 ? 1 : -1);
    const int to = static_cast<int>(
        std::clamp(from + delta, static_cast<long long>(MinValue), static_cast<long long>(MaxValue)));
    if (to == Value)
        return false;
    Value = to;
    if (Edit)
        Edit->setText(FormatValue(Value, QLocale()));
    emit Click();
    return true;
}

QString TUpDown::FormatValue(int value, const QLocale& locale) {
    if (value > -1000 && value < 1000) {
        QLocale plain(locale);
        plain.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
        return plain.toString(value);
    }
    // From 1000 up the locale groups the digits, unless it is set to leave the separator out.
    return locale.toString(value);
}

std::optional<int> TUpDown::ParseText(const QString& text, const QLocale& locale) {
    const QString group = locale.groupSeparator();
    const bool groupIsSpace = !group.isEmpty() && std::all_of(group.begin(), group.end(), IsSpaceLike);
    const QString negative = locale.negativeSign();
    const QString positive = locale.positiveSign();

    // Blanks around the number never mean anything; in a space-grouping locale they are separators anyway.
    const QString trimmed = text.trimmed();
    QString rest;
    rest.reserve(trimmed.size());
    for (QChar c : trimmed) {
        if (!IsSeparator(c, group, groupIsSpace))
            rest.append(c);
    }
    if (rest.isEmpty())
        return 0;

    qsizetype at = 0;
    bool minus = false;
    if (rest.startsWith(QLatin1Char('-')) || (!negative.isEmpty() && rest.startsWith(negative))) {
        minus = true;
        at = rest.startsWith(QLatin1Char('-')) ? 1 : negative.size();
    } else if (rest.startsWith(QLatin1Char('+')) || (!positive.isEmpty() && rest.startsWith(positive))) {
        at = rest.startsWith(QLatin1Char('+')) ? 1 : positive.size();
    }
    if (at >= rest.size())
        return std::nullopt;

    long long magnitude = 0;
    constexpr long long limit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    for (; at < rest.size(); ++at) {
        const QChar c = rest.at(at);
        // Decimal digits of any script, so a locale that writes its own digits reads them back.
        if (!c.isDigit())
            return std::nullopt;
        magnitude = magnitude * 10 + c.digitValue();
        if (magnitude > limit)
            return std::nullopt;
    }
    const long long value = minus ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return std::nullopt;
    return static_cast<int>(value);
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
    // The event type is tested first: a field being destroyed still sends its last events here, when
    // it is a QLineEdit no more, and a key press is never one of them.
    if (event->type() == QEvent::KeyPress && Edit && watched == Edit) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            // The arrow keys belong to the spinner; the field itself would only move its cursor.
            if (isEnabled())
                StepBy(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    if ((watched == UpButton || watched == DownButton) && event->type() == QEvent::MouseButtonRelease) {
        // Each physical release reaches the one arrow that took the press, exactly once, whereas the
        // button's own `released` is also raised on every auto-repeat. The step of the press has
        // already been made by then.
        const QPointer<QWidget> arrow = static_cast<QWidget*>(watched);
        const QPoint at = arrow->mapTo(this, static_cast<QMouseEvent*>(event)->position().toPoint());
        if (rect().contains(at)) {
            emit MouseUp();
            if (!arrow) // a handler took the spinner away; nothing is left to finish the release
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TUpDown::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int upHeight = height() / 2;
    UpButton->setGeometry(0, 0, width(), upHeight);
    DownButton->setGeometry(0, upHeight, width(), height() - upHeight);
}

} // namespace zevo
