#pragma once
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

namespace zevo::testing {

// A control of a window found by its object name (the design's control name where it has one), as a
// test should reach the window: through what a person sees on it, not through the window class's
// members. A missing control fails the test where it is asked for.
template <class T>
T* Control(const QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << "no control named " << name;
    return found;
}

} // namespace zevo::testing
