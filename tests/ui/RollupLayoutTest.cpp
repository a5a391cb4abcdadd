#include "ui/CRollupLayout.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {

using L = CRollupLayout;

std::vector<RollupPageState> ThreeClosed()
{
    return {{50, false, true}, {60, false, true}, {70, false, true}};
}

}  // namespace

TEST(RollupLayout, ClosedPagesStandAt21PixelStepsInSixteenPixelFrames)
{
    const auto places = L::Place(ThreeClosed(), 0, 166);
    ASSERT_EQ(places.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const RollupPlacement& p = places[static_cast<std::size_t>(i)];
        EXPECT_EQ(p.title, (RollupRect{6, 21 * i, 148, 18}));
        EXPECT_EQ(p.frame, (RollupRect{2, 21 * i, 157, 16}));
        EXPECT_FALSE(p.pageShown);
    }
    EXPECT_EQ(L::ContentHeight(ThreeClosed()), 63);
}

TEST(RollupLayout, AnOpenPageTakesItsHeightAndAGreyedOneDoesNot)
{
    std::vector<RollupPageState> pages = ThreeClosed();
    pages[0].expanded = true;
    pages[1].expanded = true;
    pages[1].enabled = false;  // open, but greyed: shown closed
    const auto places = L::Place(pages, -10, 166);
    EXPECT_EQ(places[0].frame, (RollupRect{2, -10, 157, 70}));
    EXPECT_EQ(places[0].page, (RollupRect{6, 8, 148, 50}));
    EXPECT_TRUE(places[0].pageShown);
    EXPECT_EQ(places[1].title.top, -10 + 18 + 50 + 3);
    EXPECT_FALSE(places[1].pageShown);
    EXPECT_EQ(places[1].frame.height, 16);
    EXPECT_EQ(places[2].title.top, places[1].title.top + 21);
    EXPECT_EQ(L::ContentHeight(pages), 63 + 50);
    EXPECT_EQ(L::TitleTop(pages, 2), 21 + 50 + 21);
    EXPECT_EQ(L::TitleTop(pages, 99), L::ContentHeight(pages));
}

TEST(RollupLayout, TheOffsetLeavesNoSpaceBelowTheLastPageAndNeverGoesAboveZero)
{
    EXPECT_EQ(L::ClampOffset(-100, 63, 200), 0);   // content shorter than the window
    EXPECT_EQ(L::ClampOffset(25, 600, 200), 0);
    EXPECT_EQ(L::ClampOffset(-100, 600, 200), -100);
    // A page closed at the bottom: the stack is pulled back down to the window's bottom.
    EXPECT_EQ(L::ClampOffset(-400, 500, 200), -300);
    EXPECT_EQ(L::ClampOffset(-400, 600, 200), -400);
}

TEST(RollupLayout, TheThumbShowsTheVisiblePartOfTheTrack)
{
    // Everything visible: the whole track (the height less the 2-pixel margins).
    EXPECT_EQ(L::Thumb(63, 200, 0).top, 0);
    EXPECT_EQ(L::Thumb(63, 200, 0).height, 196);
    EXPECT_EQ(L::Thumb(200, 200, 0).height, 196);
    // 700 of content in 500: T = 496, height 496 - 200 x 496 / 700 = 355 (truncated),
    // top at offset -200 = 200 x 496 / 700 = 141.
    const RollupThumb thumb = L::Thumb(700, 500, -200);
    EXPECT_EQ(thumb.height, 355);
    EXPECT_EQ(thumb.top, 141);
    EXPECT_EQ(L::Thumb(700, 500, 0).top, 0);
    // At the bottom the thumb's end meets the track's end, within truncation.
    const RollupThumb bottom = L::Thumb(700, 500, -200);
    EXPECT_LE(bottom.top + bottom.height, 496);
    EXPECT_GE(bottom.top + bottom.height, 495);
}

TEST(RollupLayout, APressOnTheStripKeepsOrJumpsTheThumb)
{
    const RollupThumb thumb{141, 355};
    EXPECT_EQ(L::GrabOffset(thumb, 200), -58);   // inside: 141 - 200 + 1, the thumb stays
    EXPECT_EQ(L::GrabOffset(thumb, 141), 0);     // on its top edge: the top jumps there
    EXPECT_EQ(L::GrabOffset(thumb, 20), 0);      // above: the top jumps to the point
    EXPECT_EQ(L::GrabOffset(thumb, 499), -355);  // below: the bottom jumps to the point
    EXPECT_EQ(L::GrabOffset({0, 100}, 100), -100);

    EXPECT_EQ(L::OffsetForStripPoint(100, 0, 700, 500), -141);  // -(100 x 700 / 496)
    EXPECT_EQ(L::OffsetForStripPoint(200, -58, 700, 500), -200);
    // A press inside the thumb does not move the stack (within a pixel of truncation).
    const int y = 300;
    const int offset = L::OffsetForStripPoint(y, L::GrabOffset(thumb, y), 700, 500);
    EXPECT_NEAR(offset, -200, 2);
    // A window too low for a track never divides by zero.
    EXPECT_EQ(L::OffsetForStripPoint(10, 0, 700, 4), 0);
}

TEST(RollupLayout, AWheelNotchIsThirtyPixelsEitherWay)
{
    EXPECT_EQ(L::OffsetForWheel(-50, 120), -20);
    EXPECT_EQ(L::OffsetForWheel(-50, -120), -80);
    EXPECT_EQ(L::OffsetForWheel(-50, -121), -80);  // a quarter, truncated toward zero
    EXPECT_EQ(L::OffsetForWheel(0, 3), 0);
}
