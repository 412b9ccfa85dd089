#include "app/window_fit.h"

#include <algorithm>

namespace zevo {

namespace {

// One axis: the client length and the frame's start, for a frame of `before` + length + `after`.
struct Span {
    int Start;
    int Length;
};

Span FitSpan(int start, int length, int before, int after, int areaStart, int areaLength, int smallest) {
    const int room = areaLength - before - after;
    // The window never goes below its smallest size, which it keeps even on a smaller area.
    length = std::max(std::min(length, room), smallest);
    const int outer = before + length + after;
    const int areaEnd = areaStart + areaLength;
    if (start + outer > areaEnd)
        start = areaEnd - outer;
    // Last, so a window larger than the area keeps its start (its title bar, its left end) on it.
    if (start < areaStart)
        start = areaStart;
    return {start, length};
}

} // namespace

WindowRect FitWindowRect(const WindowRect& wanted, const FrameMargins& frame, const ScreenArea& area) {
    if (area.Width <= 0 || area.Height <= 0)
        return wanted;
    const Span x = FitSpan(wanted.Left, wanted.Width, frame.Left, frame.Right, area.Left, area.Width,
                           SmallestClientWidth);
    const Span y = FitSpan(wanted.Top, wanted.Height, frame.Top, frame.Bottom, area.Top, area.Height,
                           SmallestClientHeight);
    return WindowRect{x.Start, y.Start, y.Length, x.Length};
}

} // namespace zevo
