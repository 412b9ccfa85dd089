// Captions that fit in every language. The design sized its controls for its own texts; German
// "Vergleichen", "Programmieren" and "Programmierung nach Änderung" are longer than the room left
// for them. Such a control grows to its caption, from its design size, each time a language is
// applied (and back to the design size where the caption fits): the tool bar's buttons push the ones
// to their right along and the tool bar grows, with the connection warning beside it; a box or button
// elsewhere grows to the right, where the design leaves room.
#include <QAbstractButton>
#include <QGroupBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>

#include "ui/controls.h"
#include "ui/form_hlav.h"

namespace zevo {

namespace {

// The design's gaps: between the tool bar's buttons, after the last one, and between the tool bar and
// the connection warning.
constexpr int ToolBarGap = 9;
constexpr int ToolBarRightMargin = 11;
constexpr int WarningGap = 7;
// Room between a button's frame and its caption, on each side.
constexpr int TextPadding = 2;

// The width a push button needs for its caption: the text, a little room and the frame the style
// draws (not the style's wish for buttons of at least 80 pixels, which the design's 57-pixel Read
// button never had).
int PushButtonNeeds(const QPushButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    const QString text = QString(button.text()).remove(QLatin1Char('&'));
    return button.fontMetrics().horizontalAdvance(text) +
           2 * (button.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &button) + TextPadding);
}

int Needs(const QAbstractButton& button) {
    if (const auto* push = qobject_cast<const QPushButton*>(&button))
        return PushButtonNeeds(*push);
    return button.sizeHint().width();
}

} // namespace

void TFormHlav::FitCaptions() {
    struct Design {
        QAbstractButton* Button;
        QRect Rect;
    };
    // The tool bar, left to right.
    const Design toolBar[] = {{ButtonRead, {230, 12, 57, 23}},
                              {ButtonVerify, {296, 12, 65, 23}},
                              {ButtonProgram, {370, 12, 81, 23}}};
    int right = 0;
    for (const Design& d : toolBar) {
        const int left = std::max(d.Rect.left(), right == 0 ? d.Rect.left() : right + ToolBarGap);
        const int width = std::max(d.Rect.width(), Needs(*d.Button));
        d.Button->setGeometry(left, d.Rect.top(), width, d.Rect.height());
        right = left + width;
    }
    const int barWidth = std::max(462, right + ToolBarRightMargin);
    GroupBoxToolBar->resize(barWidth, GroupBoxToolBar->height());
    LabelSpojeni->move(std::max(472, GroupBoxToolBar->x() + barWidth + WarningGap), LabelSpojeni->y());

    // Elsewhere each grows to the right from its design width.
    const Design others[] = {{ButtonTps0, {192, 24, 75, 25}},
                             {ButtonTps100, {192, 64, 75, 25}},
                             {CheckBoxProgHned, {706, 600, 177, 16}}};
    for (const Design& d : others)
        d.Button->resize(std::max(d.Rect.width(), Needs(*d.Button)), d.Rect.height());
    // The servo page's boxes keep the size of their caption.
    for (QAbstractButton* box : {static_cast<QAbstractButton*>(CheckBoxServoEnable), static_cast<QAbstractButton*>(CheckBoxTpEnable),
                                 static_cast<QAbstractButton*>(CheckBoxProcenta), static_cast<QAbstractButton*>(CheckBoxAll)})
        box->resize(std::max(box->width(), box->sizeHint().width()), box->height());
}

} // namespace zevo
