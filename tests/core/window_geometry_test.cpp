#include "core/window_geometry.h"

#include <gtest/gtest.h>

#include <climits>

using core::Point;
using core::Rect;

TEST(FitWindow, ClientAreaBecomesTheContentAndTheCornerStays)
{
    // Frame of 8 px at the sides, 31 px caption + 4 px bottom.
    const Rect window{100, 50, 100 + 216, 50 + 235};
    const Rect client{0, 0, 200, 200};
    const Rect content{0, 0, 640, 480};
    const Rect fitted = core::FitWindowToContent(content, window, client);
    EXPECT_EQ(fitted, (Rect{100, 50, 100 + 656, 50 + 515}));
    // Fitting again gives the same rectangle: nothing drifts.
    const Rect again = core::FitWindowToContent(content, fitted, Rect{0, 0, 640, 480});
    EXPECT_EQ(again, fitted);
}

TEST(FitWindow, SaturatesOnAbsurdSizes)
{
    const Rect r = core::FitWindowToContent(Rect{0, 0, INT_MAX, INT_MAX}, Rect{INT_MAX - 10, 0, INT_MAX, 10},
                                            Rect{0, 0, 0, 0});
    EXPECT_EQ(r.right, INT_MAX);
    EXPECT_EQ(r.bottom, INT_MAX);
}

TEST(CenterWindow, CentresInTheWorkArea)
{
    EXPECT_EQ(core::CenterOver(200, 100, Rect{0, 0, 1280, 1024}, Rect{0, 0, 1280, 1024}), (Point{540, 462}));
    // A work area that does not start at the origin (taskbar at the top).
    EXPECT_EQ(core::CenterOver(200, 100, Rect{0, 40, 1280, 1024}, Rect{0, 40, 1280, 1024}),
              (Point{540, 482}));
}

TEST(CenterWindow, AnOversizedWindowKeepsItsCaptionOnScreen)
{
    const Point p = core::CenterOver(2000, 1500, Rect{0, 40, 1280, 1024}, Rect{0, 40, 1280, 1024});
    EXPECT_EQ(p, (Point{0, 40}));
    // Only one axis too large: the other is still centred.
    EXPECT_EQ(core::CenterOver(300, 1500, Rect{0, 0, 1280, 1024}, Rect{0, 0, 1280, 1024}), (Point{490, 0}));
}

TEST(CenterWindow, OverAnOwnerButInsideTheArea)
{
    const Rect area{0, 0, 1280, 1024};
    EXPECT_EQ(core::CenterOver(100, 100, Rect{200, 200, 400, 400}, area), (Point{250, 250}));
    // Owner near the right edge: pulled back inside.
    EXPECT_EQ(core::CenterOver(400, 100, Rect{1200, 0, 1280, 100}, area), (Point{880, 0}));
}
