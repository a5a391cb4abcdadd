// The processor's matrices and the clip volume test that decide what the world
// window leaves out: they must agree with GL, or a visible frame would vanish.

#include "model/ClipSpace.h"
#include "tests/model/GlTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(ClipSpace, ABoxIsOutsideOnlyWhenAllItsCornersAreBeyondOnePlane)
{
    const auto outside = [](ModelBox box) { return OutsideClipVolume(kIdentity4, box); };
    EXPECT_TRUE(outside({{2, 0, 0}, {3, 0.5f, 0.5f}}));     // beyond x = 1
    EXPECT_TRUE(outside({{-1, -1, -3}, {1, 1, -2}}));       // beyond z = -1
    EXPECT_FALSE(outside({{0.5f, 0, 0}, {3, 0.5f, 0.5f}}));  // reaching in
    // Corners beyond different planes: the box spans the whole volume.
    EXPECT_FALSE(outside({{-5, -5, -5}, {5, 5, 5}}));
    EXPECT_TRUE(outside({{2, -5, 0}, {3, -2, 0}}));  // beyond x = 1 and y = -1 at once
    // Within the rounding margin of a plane counts as touching it.
    EXPECT_FALSE(outside({{1.00001f, 0, 0}, {2, 0, 0}}));
    EXPECT_TRUE(outside({{1.01f, 0, 0}, {2, 0, 0}}));
}

// A perspective (near 1, far 10, looking along -z): what lies behind the eye has a
// negative w and is still outside.
TEST(ClipSpace, BehindTheEyeIsOutsideAndInFrontIsIn)
{
    const double n = 1, f = 10;
    const Matrix4 perspective = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -(f + n) / (f - n), -1, 0, 0, -2 * f * n / (f - n), 0};
    EXPECT_TRUE(OutsideClipVolume(perspective, {{-1, -1, 2}, {1, 1, 3}}));
    EXPECT_FALSE(OutsideClipVolume(perspective, {{-1, -1, -5}, {1, 1, -4}}));
    EXPECT_TRUE(OutsideClipVolume(perspective, {{-1, -1, -30}, {1, 1, -20}}));  // beyond the far plane
    EXPECT_FALSE(OutsideClipVolume(perspective, {{-1, -1, -5}, {1, 1, 5}}));    // through the eye
}

TEST(ClipSpace, PlacementsThatCannotBeFollowedAreNone)
{
    EXPECT_FALSE(PlacementMatrix({}, {30, 0, 0, 0}, {1, 1, 1}).has_value());
    EXPECT_TRUE(PlacementMatrix({}, {0, 0, 0, 0}, {1, 1, 1}).has_value());
    const float infinite = std::numeric_limits<float>::infinity();
    EXPECT_FALSE(PlacementMatrix({infinite, 0, 0}, {0, 1, 0, 0}, {1, 1, 1}).has_value());
}

class ClipSpaceGl : public GlTextureTest {};

// The same matrix as glTranslatef, glRotatef and glScalef make, axes of any length and
// either sense of turning.
TEST_F(ClipSpaceGl, PlacementMatchesGlsOwnMatrix)
{
    struct Placement {
        Vector3 t;
        AxisAngle r;
        Vector3 s;
    };
    for (const Placement& p : {Placement{{1, 2, 3}, {90, 0, 1, 0}, {1, 1, 1}},
                               Placement{{-4, 0.5f, 7}, {-37, 2, -1, 0.5f}, {2, 0.5f, -1}},
                               Placement{{0, 0, 0}, {250, 0, 0, 3}, {1, 3, 1}}}) {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(p.t.x, p.t.y, p.t.z);
        glRotatef(p.r.angle, p.r.x, p.r.y, p.r.z);
        glScalef(p.s.x, p.s.y, p.s.z);
        GLdouble gl[16] = {};
        glGetDoublev(GL_MODELVIEW_MATRIX, gl);
        const auto ours = PlacementMatrix(p.t, p.r, p.s);
        ASSERT_TRUE(ours.has_value());
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR((*ours)[static_cast<std::size_t>(i)], gl[i], 1e-5) << i;
    }
}

}  // namespace
