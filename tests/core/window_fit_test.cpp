// Where the window opens: a stored place that fits is kept to the pixel; anything else is brought
// onto the screen with its title bar reachable.
#include <gtest/gtest.h>

#include "app/window_fit.h"

namespace zevo {
namespace {

// Client area of the design with its menu bar: 978 wide, about 840 high.
constexpr FrameMargins Openbox{1, 24, 1, 5};
constexpr FrameMargins NoFrame{};

TEST(WindowFit, PlacesEveryWindowOnTheArea) {
    struct Case {
        const char* Name;
        WindowRect Wanted;
        FrameMargins Frame;
        ScreenArea Area;
        WindowRect Expected;
    };
    const Case cases[] = {
        {"fits: applied as stored", {100, 50, 700, 900}, Openbox, {0, 0, 1920, 1080}, {100, 50, 700, 900}},
        {"fits exactly to the last pixel",
         {0, 0, 1080 - 29, 1918},
         Openbox,
         {0, 0, 1920, 1080},
         {0, 0, 1080 - 29, 1918}},
        {"centred design on 1366 x 768: title bar above the top edge",
         {194, -36, 840, 978},
         Openbox,
         {0, 0, 1366, 768},
         {194, 0, 768 - 29, 978}},
        {"1280 x 720 with a panel of 32 at the top",
         {151, -60, 840, 978},
         Openbox,
         {0, 32, 1280, 688},
         {151, 32, 688 - 29, 978}},
        {"200 % on 2560 x 1440 is 1280 x 720 logical",
         {151, -60, 840, 978},
         Openbox,
         {0, 0, 1280, 720},
         {151, 0, 720 - 29, 978}},
        {"off the right and bottom edges: moved in",
         {1200, 700, 600, 800},
         Openbox,
         {0, 0, 1920, 1080},
         {1920 - 802, 1080 - 629, 600, 800}},
        {"off the left edge: moved in",
         {-300, 100, 600, 800},
         Openbox,
         {0, 0, 1920, 1080},
         {0, 100, 600, 800}},
        {"second monitor to the left",
         {-1500, 100, 600, 800},
         Openbox,
         {-1920, 0, 1920, 1080},
         {-1500, 100, 600, 800}},
        {"wider and higher than the area",
         {-50, -50, 2000, 3000},
         Openbox,
         {0, 0, 1366, 768},
         {0, 0, 768 - 29, 1366 - 2}},
        {"area below the smallest size: smallest size, title bar on the area",
         {10, 10, 840, 978},
         Openbox,
         {0, 0, 600, 400},
         {0, 0, SmallestClientHeight, SmallestClientWidth}},
        {"stored smaller than the smallest size grows to it",
         {0, 0, 100, 100},
         NoFrame,
         {0, 0, 1920, 1080},
         {0, 0, SmallestClientHeight, SmallestClientWidth}},
        {"frame not known yet (before the window manager framed it)",
         {194, -36, 840, 978},
         NoFrame,
         {0, 0, 1366, 768},
         {194, 0, 768, 978}},
        {"no area known: left as wanted", {194, -36, 840, 978}, Openbox, {0, 0, 0, 0}, {194, -36, 840, 978}},
    };
    for (const Case& c : cases) {
        const WindowRect got = FitWindowRect(c.Wanted, c.Frame, c.Area);
        EXPECT_EQ(got, c.Expected) << c.Name << ": got " << got.Left << "," << got.Top << " " << got.Width
                                   << "x" << got.Height;
        // Fitting a fitted window changes nothing, so a re-check after the frame appears is harmless.
        EXPECT_EQ(FitWindowRect(got, c.Frame, c.Area), got) << c.Name;
    }
}

} // namespace
} // namespace zevo
