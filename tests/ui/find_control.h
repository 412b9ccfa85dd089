#pragma once
#include <QAbstractButton>
#include <QApplication>
#include <QDockWidget>
#include <QString>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace zevo::testing {

// A control of a window found by its object name (the design's control name where it has one), as a
// test should reach the window: through what a person sees on it, not through the window class's
// members. A missing control fails the test where it is asked for.
template <class T>
T* Control(const QWidget& window, const QString& name) {
    T* found = window.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << "no control named " << name.toStdString();
    return found;
}
template <class T>
T* Control(const QWidget& window, const char* name) {
    return Control<T>(window, QString::fromLatin1(name));
}

// A control that may not be there yet (a tool window is built the first time it is asked for).
template <class T>
T* Find(const QWidget& window, const char* name) {
    return window.findChild<T*>(QString::fromLatin1(name));
}

// A page of the window chosen as a person chooses it: a click on its tab.
inline void ClickTab(const QWidget& window, int index) {
    auto* pages = Control<QTabWidget>(window, "PageControl1");
    QTabBar* bar = pages->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    EXPECT_EQ(pages->currentIndex(), index) << "the click on tab " << index << " did not choose it";
}

// A check box ticked or cleared as a person does it: clicked when it is not as wanted.
inline void SetTicked(const QWidget& window, const char* name, bool ticked) {
    auto* box = Control<QAbstractButton>(window, name);
    if (box->isChecked() != ticked)
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    EXPECT_EQ(box->isChecked(), ticked) << name;
}

// A tool window's dock torn off the main window as a person does it, by its float button, and
// brought to the front by a click: the dock is then a window of its own.
inline QWidget* FloatInFront(QWidget* content) {
    auto* dock = qobject_cast<QDockWidget*>(content->parentWidget());
    EXPECT_NE(dock, nullptr) << content->objectName().toStdString() << " is not in a dock";
    if (!dock)
        return content;
    if (!dock->isFloating()) {
        auto* button = dock->findChild<QAbstractButton*>(QStringLiteral("qt_dockwidget_floatbutton"));
        EXPECT_NE(button, nullptr);
        if (button)
            QTest::mouseClick(button, Qt::LeftButton);
    }
    EXPECT_TRUE(dock->isFloating());
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dock));
    QTest::mouseClick(content, Qt::LeftButton);
    dock->activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([dock] { return QApplication::activeWindow() == dock; }));
    return dock;
}

} // namespace zevo::testing
