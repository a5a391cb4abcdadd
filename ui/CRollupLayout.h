#pragma once
// The numbers of the roll-up control, without widgets: where each page's frame box,
// title button and page window go for a scroll offset, how the offset is kept in
// range, and the thumb of the 6-pixel scroll strip on the right edge. The widget
// (CRollupCtrl) turns its events into these calls and moves its windows to the
// results.
//
// Pixels throughout. The scroll offset is the position of the first title button
// relative to the control's top: zero or negative after a layout. The content
// height is 21 per page (an 18-pixel title button and a gap of 3) plus the height of
// every page that is open and enabled.

#include <vector>

namespace ui {

struct RollupRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const RollupRect&) const = default;
};

// What the layout needs of one page.
struct RollupPageState {
    int height = 0;  // the page window's own height
    bool expanded = false;
    bool enabled = true;

    bool Shown() const { return expanded && enabled; }
};

// Where one page's three windows go; the page window is hidden unless `pageShown`.
struct RollupPlacement {
    RollupRect frame;
    RollupRect title;
    RollupRect page;
    bool pageShown = false;
};

// The thumb of the scroll strip, measured from the top of its track (the strip's
// inner area starts 2 pixels below the control's top).
struct RollupThumb {
    int top = 0;
    int height = 0;
};

class CRollupLayout {
public:
    static constexpr int kTitleHeight = 18;
    static constexpr int kGap = 3;
    static constexpr int kPageStep = kTitleHeight + kGap;  // a closed page
    static constexpr int kClosedFrameHeight = 16;
    static constexpr int kStripWidth = 6;

    // The whole stack's height.
    static int ContentHeight(const std::vector<RollupPageState>& pages);

    // The offset after a layout: no empty space below the last page while the
    // content fills the window, and never above zero.
    static int ClampOffset(int offset, int contentHeight, int clientHeight);

    // The three windows of every page, in order, for a clamped offset and the
    // control's client width.
    static std::vector<RollupPlacement> Place(const std::vector<RollupPageState>& pages, int offset,
                                              int clientWidth);

    // The top of page `index`'s title button at offset 0.
    static int TitleTop(const std::vector<RollupPageState>& pages, int index);

    // Whether the stack is taller than the window, the condition for every kind of
    // scrolling (strip, page drag; the wheel is kept in range by the layout).
    static bool Scrolls(int contentHeight, int clientHeight) { return contentHeight > clientHeight; }

    // The thumb for the content and offset: the whole track while nothing scrolls.
    static RollupThumb Thumb(int contentHeight, int clientHeight, int offset);

    // A press at `y` on the strip: the distance kept between the point and the
    // thumb's top while dragging. Inside the thumb the thumb stays where it is;
    // outside it, its nearer end jumps to the point.
    static int GrabOffset(const RollupThumb& thumb, int y);

    // The offset that puts the thumb under the point `y` of the strip, for the grab
    // offset of the press (not yet clamped).
    static int OffsetForStripPoint(int y, int grabOffset, int contentHeight, int clientHeight);

    // The offset after a wheel turn: a quarter of the delta (120 a notch), not yet
    // clamped.
    static int OffsetForWheel(int offset, int delta) { return offset + delta / 4; }
};

}  // namespace ui
