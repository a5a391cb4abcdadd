#include "ui/CRollupLayout.h"

#include <cstdint>

namespace ui {

namespace {

// The strip's track leaves 2 pixels at the top and the bottom.
int TrackLength(int clientHeight)
{
    return clientHeight - 4;
}

}  // namespace

int CRollupLayout::ContentHeight(const std::vector<RollupPageState>& pages)
{
    int height = 0;
    for (const RollupPageState& page : pages)
        height += kPageStep + (page.Shown() ? page.height : 0);
    return height;
}

int CRollupLayout::ClampOffset(int offset, int contentHeight, int clientHeight)
{
    if (offset + contentHeight < clientHeight)
        offset = clientHeight - contentHeight;
    return offset > 0 ? 0 : offset;
}

std::vector<RollupPlacement> CRollupLayout::Place(const std::vector<RollupPageState>& pages, int offset,
                                                  int clientWidth)
{
    std::vector<RollupPlacement> placements;
    placements.reserve(pages.size());
    int y = offset;
    for (const RollupPageState& page : pages) {
        RollupPlacement place;
        place.title = {6, y, clientWidth - 18, kTitleHeight};
        if (page.Shown()) {
            place.frame = {2, y, clientWidth - 9, page.height + 20};
            place.page = {6, y + kTitleHeight, clientWidth - 18, page.height};
            place.pageShown = true;
            y += kTitleHeight + page.height;
        } else {
            place.frame = {2, y, clientWidth - 9, kClosedFrameHeight};
            y += kTitleHeight;
        }
        y += kGap;
        placements.push_back(place);
    }
    return placements;
}

int CRollupLayout::TitleTop(const std::vector<RollupPageState>& pages, int index)
{
    int y = 0;
    for (int i = 0; i < index && i < static_cast<int>(pages.size()); ++i)
        y += kPageStep + (pages[static_cast<std::size_t>(i)].Shown() ? pages[static_cast<std::size_t>(i)].height : 0);
    return y;
}

RollupThumb CRollupLayout::Thumb(int contentHeight, int clientHeight, int offset)
{
    const int track = TrackLength(clientHeight);
    if (contentHeight <= clientHeight || contentHeight <= 0)
        return {0, track};
    // 64 bits: the products of two heights need not fit in an int for a very tall stack.
    const std::int64_t c = contentHeight;
    const std::int64_t t = track;
    const auto height = static_cast<int>(t - (c - clientHeight) * t / c);
    const auto top = static_cast<int>(-(offset * t / c));
    return {top, height};
}

int CRollupLayout::GrabOffset(const RollupThumb& thumb, int y)
{
    if (y > thumb.top && y < thumb.top + thumb.height)
        return thumb.top - y + 1;
    if (y - thumb.top < thumb.top + thumb.height - y)
        return 0;
    return -thumb.height;
}

int CRollupLayout::OffsetForStripPoint(int y, int grabOffset, int contentHeight, int clientHeight)
{
    const int track = TrackLength(clientHeight);
    if (track <= 0)
        return 0;
    return static_cast<int>(-((static_cast<std::int64_t>(y) + grabOffset) * contentHeight / track));
}

}  // namespace ui
