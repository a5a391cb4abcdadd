// Where the main window opens: a new window's place, and a saved place checked
// against the screens there are now.

#include "app/WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

const QRect kLeft(0, 0, 1920, 1050);      // the primary screen, less a panel below
const QRect kRight(1920, 0, 1280, 1024);  // a second screen to its right

TEST(WindowPlacement, ANewWindowTakesThreeQuartersInTheMiddle)
{
    EXPECT_EQ(DefaultWindowPlace(kLeft), QRect(240, 131, 1440, 788));
    EXPECT_EQ(DefaultWindowPlace(kRight), QRect(2080, 128, 960, 768));
}

// The title band must show enough to be grabbed: 64 of its pixels across and 8 down.
TEST(WindowPlacement, APlaceCountsAsOnAScreenWhenItsTitleBandCanBeGrabbed)
{
    const QList<QRect> screens{kLeft, kRight};
    EXPECT_TRUE(LiesOnAScreen(QRect(100, 100, 800, 600), screens));
    EXPECT_TRUE(LiesOnAScreen(QRect(2500, 500, 800, 600), screens));      // on the second screen only
    EXPECT_TRUE(LiesOnAScreen(QRect(-736, 10, 800, 600), screens));       // 64 pixels of it on the left
    EXPECT_FALSE(LiesOnAScreen(QRect(-737, 10, 800, 600), screens));      // 63
    EXPECT_TRUE(LiesOnAScreen(QRect(100, 1042, 800, 600), screens));      // 8 rows of its band above the panel
    EXPECT_FALSE(LiesOnAScreen(QRect(100, 1043, 800, 600), screens));
    EXPECT_FALSE(LiesOnAScreen(QRect(100, -200, 800, 600), screens));     // the band above every screen
    EXPECT_FALSE(LiesOnAScreen(QRect(3300, 100, 800, 600), screens));     // right of the second screen
    EXPECT_FALSE(LiesOnAScreen(QRect(2500, 500, 800, 600), {kLeft}));     // that screen is gone
}

TEST(WindowPlacement, ASavedPlaceOnAScreenIsKeptAndOneOffEveryScreenIsNot)
{
    const QList<QRect> screens{kLeft};
    EXPECT_EQ(PlaceSavedWindow(QRect(100, 80, 900, 700), screens, kLeft), QRect(100, 80, 900, 700));
    // Its size stays, in the middle of the primary screen, cut to it when larger.
    EXPECT_EQ(PlaceSavedWindow(QRect(2500, 500, 800, 600), screens, kLeft), QRect(560, 225, 800, 600));
    EXPECT_EQ(PlaceSavedWindow(QRect(-5000, 0, 2500, 1200), screens, kLeft), kLeft);
    // Nothing that could be a window: the new window's place.
    EXPECT_EQ(PlaceSavedWindow(QRect(100, 80, 99, 700), screens, kLeft), DefaultWindowPlace(kLeft));
    EXPECT_EQ(PlaceSavedWindow(QRect(), screens, kLeft), DefaultWindowPlace(kLeft));
}

}  // namespace
