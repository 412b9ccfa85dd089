#pragma once
#include <QAbstractButton>
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

} // namespace zevo::testing
