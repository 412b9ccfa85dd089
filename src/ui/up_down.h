#pragma once
#include <QLineEdit>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

class QLocale;
class QToolButton;

namespace zevo {

class TUpDown;

// Gives a control the name a screen reader says, only when it changes: a refresh renames every
// field of the map, and most names stay as they were.
void SetAccessibleName(QWidget* widget, const QString& name);

// An edit field that reports a mouse click into it (the editor takes the whole page on such a click)
// and the loss of the focus (leaving it by Tab or a click elsewhere confirms what was typed). A
// double-click selects the whole number, separators included, so typing replaces it.
class TEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdit(QWidget* parent = nullptr);
    // The spinner attached to this field, if any (set by TUpDown::SetAssociate).
    TUpDown* Spinner() const { return AttachedSpinner; }
    // The text is something typed and not yet taken: it differs from what the spinner holds.
    bool HoldsProposal() const;
signals:
    void Click();
    void Left(Qt::FocusReason reason);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class TUpDown;
    QPointer<TUpDown> AttachedSpinner;
    // Where the left button went down in this field, while it is down; none when the press went
    // elsewhere (a Shift+click the map's selection took).
    std::optional<QPoint> PressedAt;
};

// The up-down spinner attached to an edit, with the rules the editor relies on:
// - an arrow click, or Up/Down in the attached edit, moves Position by Increment within Min..Max
//   (no wrap-around), writes the value into the edit and then emits Click; at the end of the range
//   nothing changes and Click is not emitted;
// - the value is written as a decimal number with the locale's thousands separator from 1000 up;
// - Position() reads the edit's text at that moment: with the locale's group separators removed, a
//   whole decimal number within Min..Max (an empty text counts as 0) becomes the position, anything
//   else is ignored and the previous position stands;
// - SetPosition() clamps to Min..Max and writes the text;
// - MouseUp is emitted when a mouse button is released over the spinner (after any step it made).
class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget* parent = nullptr);

    void SetAssociate(QLineEdit* edit);
    // The names a screen reader gives the two arrows.
    void NameArrows(const QString& higher, const QString& lower);
    QLineEdit* Associate() const { return Edit; }

    // Keeps the stored position inside the new range; the edit's text is left alone.
    void SetRange(int min, int max);
    int Min() const { return MinValue; }
    int Max() const { return MaxValue; }
    void SetIncrement(int step) { Step = step; }
    int Increment() const { return Step; }

    int Position();
    // Writes the text only when it changes, so a refresh never disturbs the selection or the cursor
    // of a field whose value stayed the same (the one the focus just moved to, say).
    void SetPosition(int value);
    // The value as the field shows it when nothing has been typed into it.
    QString PositionText() const;

    // Moves by one step up (+1) or down (-1), as an arrow click does. Returns true if the value moved.
    bool StepBy(int direction);

    static QString FormatValue(int value, const QLocale& locale);
    static std::optional<int> ParseText(const QString& text, const QLocale& locale);

signals:
    void Click();
    void MouseUp();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointer<QLineEdit> Edit; // the field may be destroyed before its spinner
    QToolButton* UpButton = nullptr;
    QToolButton* DownButton = nullptr;
    int MinValue = 0;
    int MaxValue = 100;
    int Step = 1;
    int Value = 0;
};

} // namespace zevo
