// COffscreenFrame's read-backs, from a headless frame: the row order a window shows,
// and opaque pixels whatever alpha the drawing left.

#include "tests/view3d/DrawTestSupport.h"

#include <cstdint>
#include <vector>

using namespace drawtest;

namespace {

class OffscreenFrame : public FlatDrawTest {};

TEST_F(OffscreenFrame, TheArgbReadIsTopRowFirstOpaqueAndAgreesWithTheRgbRead)
{
    // Transparent black, and the top left quarter red with alpha 0 as well.
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 0, 0, 0);
    glRectf(0, kSize / 2.0f, kSize / 2.0f, kSize);

    std::vector<std::uint32_t> argb(static_cast<std::size_t>(kSize) * kSize, 0);
    frame_->ReadOpaqueArgb(argb);
    EXPECT_EQ(argb.front(), 0xffff0000u);  // top left
    EXPECT_EQ(argb.back(), 0xff000000u);   // bottom right
    const auto rgb = frame_->ReadRgb();
    for (std::size_t i = 0; i < argb.size(); ++i) {
        const std::uint32_t expected =
            0xff000000u | (std::uint32_t{rgb[i * 3]} << 16) | (std::uint32_t{rgb[i * 3 + 1]} << 8) | rgb[i * 3 + 2];
        ASSERT_EQ(argb[i], expected) << "pixel " << i;
    }

    std::vector<std::uint32_t> wrongSize(argb.size() - 1, 7);
    frame_->ReadOpaqueArgb(wrongSize);
    EXPECT_EQ(wrongSize.front(), 7u);
}

}  // namespace
