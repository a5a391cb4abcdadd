// The world window's projection set-up and its drawing of things in the headless
// context.

#include "game/CMission.h"
#include "tests/view3d/DrawTestSupport.h"
#include "view3d/CWorldRenderer.h"

#include <memory>

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
    CWorldRenderer::ToggleCulling();
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    CWorldRenderer::ToggleCulling();
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
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

// A mission's things seen by the new camera, which looks along (0, −1, −5).
class RenderedThings : public Renderer {
protected:
    void SetUp() override
    {
        Renderer::SetUp();
        if (IsSkipped())
            return;
        renderer_.InitGl();
        glLoadIdentity();
        renderer_.SetupProjection(kSize, kSize);
        renderer_.SetCurrentObject(&mission_);
    }

    void TearDown() override
    {
        if (texture_ != 0)
            glDeleteTextures(1, &texture_);
        renderer_.ReleaseGl();
        Renderer::TearDown();
    }

    // A thing without a model two lengths of d in front of the eye: in the middle.
    CSceneObjectThing* AddMarkedThing()
    {
        auto thing = std::make_unique<CSceneObjectThing>();
        thing->SetTranslation({0, -2, -10});
        CSceneObjectThing* added = thing.get();
        mission_.AddThing(std::move(thing));
        return added;
    }

    // What was drawn before leaves a blue texture bound.
    void BindBlueTexture()
    {
        const GLubyte blue[3] = {0, 0, 255};
        glGenTextures(1, &texture_);
        glBindTexture(GL_TEXTURE_2D, texture_);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, blue);
    }

    // Lit, so only which colour stands out is sure.
    static bool Shows(drawtest::Rgb pixel, std::size_t channel)
    {
        for (std::size_t other = 0; other < 3; ++other) {
            if (other != channel && pixel[channel] < pixel[other] * 2 + 60)
                return false;
        }
        return true;
    }

    CMission mission_{"drawn", CMission::ExplicitFolder{"/nowhere/"}};
    CWorldRenderer renderer_;
    GLuint texture_ = 0;
};

// Markers are untextured: a green or red sphere, whatever texture was bound before.
TEST_F(RenderedThings, AThingWithoutAModelIsAGreenMarkerAndRedWhenSelected)
{
    CSceneObjectThing* thing = AddMarkedThing();
    renderer_.Settings().markerMode = 1;
    BindBlueTexture();
    renderer_.Render();
    EXPECT_TRUE(Shows(Pixel(kSize / 2, kSize / 2), 1)) << int(Pixel(kSize / 2, kSize / 2)[1]);
    EXPECT_EQ(Pixel(2, 2), (drawtest::Rgb{128, 128, 128}));

    renderer_.SetSelected(thing);
    renderer_.Render();
    EXPECT_TRUE(Shows(Pixel(kSize / 2, kSize / 2), 0)) << int(Pixel(kSize / 2, kSize / 2)[0]);

    renderer_.Settings().markerMode = 0;  // not drawn at all
    renderer_.Render();
    EXPECT_EQ(Pixel(kSize / 2, kSize / 2), (drawtest::Rgb{128, 128, 128}));
}

}  // namespace
