#pragma once
#include <QString>
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

} // namespace zevo::testing
