#pragma once
#include "app/app_settings.h"

namespace zevo {

// A rectangle of the desktop in the window system's logical pixels (a screen's area less its
// panels and task bars).
struct ScreenArea {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// The window manager's frame around the client area: title bar on top, borders at the sides.
struct FrameMargins {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const FrameMargins&, const FrameMargins&) = default;
};

// The smallest client area the window can be given; below the design's size the client area scrolls.
inline constexpr int SmallestClientWidth = 640;
inline constexpr int SmallestClientHeight = 480;

// Where a window with the place and size `wanted` (the frame's top-left corner, the client area's
// size, as the settings file keeps them) is put on `area`: a window that fits stays exactly as
// wanted; a larger one is made as large as the area allows, but not below the smallest size, and
// one that sticks out is moved in, so the title bar is always on the area (its left end too when
// the window is wider than the area).
WindowRect FitWindowRect(const WindowRect& wanted, const FrameMargins& frame, const ScreenArea& area);

} // namespace zevo
