// The world window's projection set-up in the headless context.

#include "tests/view3d/DrawTestSupport.h"
#include "view3d/CWorldRenderer.h"

namespace {

using drawtest::FlatDrawTest;

class Renderer : public FlatDrawTest {};

TEST_F(Renderer, AHeightOfZeroCountsAsOne)
{
    CWorldRenderer renderer;
    renderer.SetupProjection(200, 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 200);
    EXPECT_EQ(viewport[3], 1);
    GLfloat projection[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    // gluPerspective: m[0] = f / aspect, m[5] = f.
    EXPECT_NEAR(projection[5] / projection[0], 200.0f, 1e-3f);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(Renderer, SetupTurnsOnTheFixedFunctionStateAndCTogglesCulling)
{
    CWorldRenderer renderer;
    renderer.SetupProjection(64, 64);
    for (GLenum capability : {GL_DEPTH_TEST, GL_CULL_FACE, GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL, GL_TEXTURE_2D})
        EXPECT_TRUE(glIsEnabled(capability)) << capability;
    GLint front = 0;
    glGetIntegerv(GL_FRONT_FACE, &front);
    EXPECT_EQ(front, GL_CW);
    renderer.ToggleCulling();
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    renderer.ToggleCulling();
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
}

// Culling turned off stays off through a new size and a frame; a setting made
// before the context is set up holds from the first frame.
TEST_F(Renderer, CullingFollowsItsSettingThroughResizesAndFrames)
{
    CWorldRenderer renderer;
    renderer.SetupProjection(64, 64);
    renderer.ToggleCulling();
    EXPECT_FALSE(renderer.Settings().culling);
    renderer.SetupProjection(32, 48);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));

    CWorldRenderer restored;
    restored.Settings().culling = false;
    glEnable(GL_CULL_FACE);
    restored.Render();
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
}

TEST_F(Renderer, AFrameWithoutAMissionShowsTheAxesOnGrey)
{
    CWorldRenderer renderer;
    renderer.InitGl();
    glLoadIdentity();
    renderer.SetupProjection(kSize, kSize);
    // Looking down at the origin from above: the red x axis crosses the frame.
    renderer.GetCamera().eye = {0, 10, 0};
    renderer.GetCamera().centre = {0, 11, 0.001f};
    const GLint depth = StackDepth();
    renderer.Render();
    EXPECT_EQ(StackDepth(), depth);
    EXPECT_EQ(Pixel(2, 2), (drawtest::Rgb{128, 128, 128}));
    EXPECT_EQ(Pixel(5, kSize / 2), drawtest::kRed);
    renderer.ReleaseGl();
}

}  // namespace
