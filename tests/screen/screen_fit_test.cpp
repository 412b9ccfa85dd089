// The window on a real, small screen with a window manager's frame: it opens wholly on the screen
// with its title bar reachable, can be made as small as 640 x 480, and every control of the design
// can be scrolled to.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QAbstractButton>
#include <QDockWidget>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "find_control.h"
#include "form_fixture.h"

namespace zevo {
namespace {

using testing::Control;

QRect Available() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

std::string Describe(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

class ScreenFit : public FormFixture {
protected:
    void WriteFile(const QString& name, const QByteArray& bytes) const {
        QFile file(QDir(Dir.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Shown, framed by the window manager, and settled: the window is fitted once more when its frame
    // becomes known, within the first three seconds.
    std::unique_ptr<TFormHlav> StartFramed() {
        auto form = StartShown();
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 3000 && form->frameGeometry() == form->geometry())
            QTest::qWait(20);
        QTest::qWait(600);
        return form;
    }

    // Scrolls as a person drags the scroll bars: just far enough to show `control` (its top-left part
    // when it is larger than the visible part).
    void ScrollTo(TFormHlav& form, QWidget* control) {
        const QRect inClient(control->mapTo(Control<QWidget>(form, "ClientArea"), QPoint(0, 0)), control->size());
        const QSize room = Control<QScrollArea>(form, "ClientScroll")->viewport()->size();
        auto show = [](QScrollBar* bar, int start, int length, int visible) {
            if (start < bar->value())
                bar->setValue(start);
            else if (start + std::min(length, visible) > bar->value() + visible)
                bar->setValue(start + std::min(length, visible) - visible);
        };
        show(Control<QScrollArea>(form, "ClientScroll")->horizontalScrollBar(), inClient.left(), inClient.width(), room.width());
        show(Control<QScrollArea>(form, "ClientScroll")->verticalScrollBar(), inClient.top(), inClient.height(), room.height());
    }

    // Each control of the design's client area can be scrolled into view and then lies wholly inside
    // the visible part (controls larger than that part: as much of them as fits).
    void ExpectEveryControlReachable(TFormHlav& form) {
        QWidget* viewport = Control<QScrollArea>(form, "ClientScroll")->viewport();
        for (int tab = 0; tab < Control<QTabWidget>(form, "PageControl1")->count(); ++tab) {
            QTabBar* bar = Control<QTabWidget>(form, "PageControl1")->tabBar();
            ScrollTo(form, bar);
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
            ASSERT_EQ(Control<QTabWidget>(form, "PageControl1")->currentIndex(), tab);
            int checked = 0;
            for (QWidget* control : Control<QWidget>(form, "ClientArea")->findChildren<QWidget*>()) {
                if (!control->isVisibleTo(Control<QWidget>(form, "ClientArea")) || control->objectName().isEmpty())
                    continue;
                ScrollTo(form, control);
                const QRect shown(control->mapTo(viewport, QPoint(0, 0)), control->size());
                const QSize room = viewport->size();
                const QRect needed(shown.topLeft(), QSize(std::min(shown.width(), room.width()),
                                                          std::min(shown.height(), room.height())));
                EXPECT_TRUE(viewport->rect().contains(needed))
                    << control->objectName().toStdString() << " on tab " << tab << " at " << Describe(shown)
                    << " in " << Describe(viewport->rect());
                ++checked;
            }
            EXPECT_GT(checked, 20) << "tab " << tab;
        }
    }

    void ExpectFrameOnScreen(const TFormHlav& form) {
        const QRect frame = form.frameGeometry();
        EXPECT_NE(frame, form.geometry()) << "the window manager framed no window";
        EXPECT_TRUE(Available().contains(frame))
            << "frame " << Describe(frame) << " on " << Describe(Available());
        // The title bar and the menus are where a mouse reaches them.
        EXPECT_GE(frame.top(), Available().top());
        EXPECT_GE(form.menuBar()->mapToGlobal(QPoint(0, 0)).y(), Available().top());
        EXPECT_LE(form.statusBar()->mapToGlobal(QPoint(0, form.statusBar()->height())).y(),
                  Available().bottom() + 1);
    }
};

TEST_F(ScreenFit, FirstStartOpensWhollyOnTheScreenAndScrollsToEveryControl) {
    auto form = StartFramed();
    ExpectFrameOnScreen(*form);
    ExpectEveryControlReachable(*form);
}

TEST_F(ScreenFit, AStoredPlaceLargerThanTheScreenIsBroughtOntoIt) {
    // A place and size left by a large desktop monitor, then the laptop alone.
    WriteFile(QStringLiteral("ZEVO_v56.ini"), "[FORM_HLAV]\nLeft=300\nTop=-40\nHeight=1100\nWidth=1500\n");
    auto form = StartFramed();
    ExpectFrameOnScreen(*form);
}

TEST_F(ScreenFit, AStoredPlaceThatFitsIsKeptToThePixel) {
    const QRect area = Available();
    const int left = area.left() + 20, top = area.top() + 10;
    WriteFile(QStringLiteral("ZEVO_v56.ini"),
              QStringLiteral("[FORM_HLAV]\nLeft=%1\nTop=%2\nHeight=%3\nWidth=%4\n")
                  .arg(left)
                  .arg(top)
                  .arg(area.height() - 120)
                  .arg(area.width() - 100)
                  .toUtf8());
    auto form = StartFramed();
    EXPECT_EQ(form->pos(), QPoint(left, top));
    EXPECT_EQ(form->size(), QSize(area.width() - 100, area.height() - 120));
}

TEST_F(ScreenFit, ResizedDownTo640x480EverythingStaysReachable) {
    auto form = StartFramed();
    form->resize(640, 480);
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 3000 && form->size() != QSize(640, 480))
        QTest::qWait(20);
    EXPECT_EQ(form->size(), QSize(640, 480));
    EXPECT_TRUE(Control<QScrollArea>(*form, "ClientScroll")->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(Control<QScrollArea>(*form, "ClientScroll")->verticalScrollBar()->isVisible());
    ExpectEveryControlReachable(*form);
}

// The curves and the live chart open at the last close come back as docks: the window and every
// dock wholly on the screen, torn off or not; on a 1366-pixel laptop the map's whole row shows
// beside them, so the live cell is never under a dock.
TEST_F(ScreenFit, DocksOpenAtStartStayOnTheScreenBesideTheWholeMap) {
    WriteFile(QStringLiteral("ZEVO_v56.ini"),
              "[IGNITION]\nPageControl1->ActivePageIndex=1\n\n[VIEW]\nServoCurves=1\n\n[LOG]\nLiveChart=1\n");
    auto form = StartFramed();
    QList<QDockWidget*> docks;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 3000 && (docks = form->findChildren<QDockWidget*>()).size() < 2)
        QTest::qWait(20);
    ASSERT_EQ(docks.size(), 2);
    QTest::qWait(300);
    ExpectFrameOnScreen(*form);
    for (QDockWidget* dock : docks) {
        if (!dock->isVisible() || (!dock->isFloating() && dock->visibleRegion().isEmpty()))
            continue; // a tab behind the one shown (kept out of sight, not hidden)
        if (dock->isFloating()) {
            EXPECT_TRUE(Available().contains(dock->frameGeometry())) << dock->objectName().toStdString();
        } else {
            EXPECT_TRUE(form->frameGeometry().contains(QRect(dock->mapToGlobal(QPoint(0, 0)), dock->size())))
                << dock->objectName().toStdString() << " at " << Describe(QRect(dock->mapToGlobal(QPoint(0, 0)), dock->size()))
                << " outside the window " << Describe(form->frameGeometry());
        }
    }
    if (Available().width() < 1366)
        return; // a smaller screen scrolls the map beside the docks
    QWidget* viewport = Control<QScrollArea>(*form, "ClientScroll")->viewport();
    const QRect shown(viewport->mapToGlobal(QPoint(0, 0)), viewport->size());
    for (int c = 0; c < 15; ++c) {
        QWidget* cell = Control<QWidget>(*form, QStringLiteral("EditMap0_%1").arg(c));
        const QRect at(cell->mapToGlobal(QPoint(0, 0)), cell->size());
        EXPECT_TRUE(shown.contains(at)) << "cell " << c << " at " << Describe(at) << " outside " << Describe(shown);
    }
}

// Every caption of the design's area, on every page, in the three languages: each control is at
// least as wide as its text needs (a group box: its title), so no word is cut off.
TEST_F(ScreenFit, EveryCaptionIsReadableInEachLanguage) {
    for (const char* language : {"CESKY", "ENGLISH", "DEUTSCH"}) {
        auto form = StartShown({QString::fromLatin1(language)});
        QStringList cut;
        for (int tab = 0; tab < 3; ++tab) {
            testing::ClickTab(*form, tab);
            for (QWidget* w : Control<QWidget>(*form, "ClientArea")->findChildren<QWidget*>()) {
                if (!w->isVisible())
                    continue;
                int needed = 0;
                QString text;
                if (auto* push = qobject_cast<QPushButton*>(w); push && !push->text().isEmpty()) {
                    // The text and two pixels of frame on each side (a style's own size wish for a
                    // button is at least 80 pixels, more than the text needs).
                    text = push->text();
                    needed = push->fontMetrics().horizontalAdvance(QString(text).remove(QLatin1Char('&'))) + 4;
                } else if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->text().isEmpty()) {
                    needed = button->sizeHint().width();
                    text = button->text();
                } else if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap() && !label->text().isEmpty()) {
                    needed = label->sizeHint().width();
                    text = label->text();
                } else if (auto* group = qobject_cast<QGroupBox*>(w); group && !group->title().isEmpty()) {
                    needed = group->fontMetrics().horizontalAdvance(group->title()) + 16;
                    text = group->title();
                }
                if (needed > w->width())
                    cut << QStringLiteral("%1 \"%2\": %3 of %4 px").arg(w->objectName(), text).arg(w->width()).arg(needed);
            }
        }
        EXPECT_TRUE(cut.isEmpty()) << language << ":\n" << cut.join(QLatin1Char('\n')).toStdString();
    }
}

} // namespace
} // namespace zevo

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
