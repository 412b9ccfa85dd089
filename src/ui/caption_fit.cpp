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

#include <initializer_list>

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
    // The design's places, as the window was built, before any language made a control grow.
    if (DesignPlaces.empty())
        for (QWidget* w : std::initializer_list<QWidget*>{GroupBoxToolBar, ButtonRead, ButtonVerify, ButtonProgram,
                                                          LabelSpojeni, ButtonTps0, ButtonTps100, CheckBoxProgHned})
            DesignPlaces.emplace(w, w->geometry());
    const auto design = [this](QWidget* w) { return DesignPlaces.at(w); };

    // The tool bar, left to right.
    int right = 0;
    for (QAbstractButton* button : {ButtonRead, ButtonVerify, ButtonProgram}) {
        const QRect rect = design(button);
        const int left = right == 0 ? rect.left() : std::max(rect.left(), right + ToolBarGap);
        const int width = std::max(rect.width(), Needs(*button));
        button->setGeometry(left, rect.top(), width, rect.height());
        right = left + width;
    }
    const QRect bar = design(GroupBoxToolBar);
    const int barWidth = std::max(bar.width(), right + ToolBarRightMargin);
    GroupBoxToolBar->resize(barWidth, bar.height());
    LabelSpojeni->move(std::max(design(LabelSpojeni).left(), bar.left() + barWidth + WarningGap), design(LabelSpojeni).top());

    // Elsewhere each grows to the right from its design width.
    for (QAbstractButton* button : {static_cast<QAbstractButton*>(ButtonTps0), static_cast<QAbstractButton*>(ButtonTps100),
                                    static_cast<QAbstractButton*>(CheckBoxProgHned)})
        button->resize(std::max(design(button).width(), Needs(*button)), design(button).height());
    // The servo page's boxes keep the size of their caption.
    for (QAbstractButton* box : {static_cast<QAbstractButton*>(CheckBoxServoEnable), static_cast<QAbstractButton*>(CheckBoxTpEnable),
                                 static_cast<QAbstractButton*>(CheckBoxProcenta), static_cast<QAbstractButton*>(CheckBoxAll)})
        box->resize(std::max(box->width(), box->sizeHint().width()), box->height());
}

} // namespace zevo
